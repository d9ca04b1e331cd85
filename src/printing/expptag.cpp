#include "printing/expptag.h"

#include "core/db.h"
#include "core/value.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <iconv.h>

namespace hb {

namespace {

QString text(const QString &s)
{
    QString quoted = s;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString boolean(bool b)
{
    return b ? QStringLiteral("#TRUE#") : QStringLiteral("#FALSE#");
}

QString date(const QDateTime &d)
{
    return QLatin1Char('#') + d.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QLatin1Char('#');
}

// Converts with one iconv descriptor; false when a character has no code in the target.
class Cp932 {
public:
    Cp932() : cd_(iconv_open("CP932", "UTF-8")) {}
    ~Cp932()
    {
        if (valid())
            iconv_close(cd_);
    }
    Cp932(const Cp932 &) = delete;
    Cp932 &operator=(const Cp932 &) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    bool convert(const QByteArray &utf8, QByteArray *out)
    {
        out->resize(utf8.size() * 2 + 4);
        char *inp = const_cast<char *>(utf8.constData());
        std::size_t inLeft = static_cast<std::size_t>(utf8.size());
        char *outp = out->data();
        std::size_t outLeft = static_cast<std::size_t>(out->size());
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        const bool ok = iconv(cd_, &inp, &inLeft, &outp, &outLeft) != static_cast<std::size_t>(-1) && inLeft == 0;
        out->resize(out->size() - static_cast<qsizetype>(outLeft));
        return ok;
    }

private:
    iconv_t cd_;
};

}  // namespace

QString PtagCsvLine(const PtagRec &r)
{
    const PtagLabelRec &l = r.LABEL;
    const QStringList items = {
        boolean(r.RSV_FLG),                 // 1
        QStringLiteral("1"),                // 2
        QString::number(r.RSV_NO),          // 3
        text(l.JAN_CD),                     // 4
        text(l.QR_TEXT),                    // 5
        QString::number(r.FMR_ID),          // 6
        text(l.FMR_NM),                     // 7
        QString::number(r.PRD_ID),          // 8
        text(r.PRD_NM),                     // 9
        text(l.TEL_NO_S),                   // 10
        text(l.PRD_NM),                     // 11
        QString::number(r.RSV_INT),         // 12
        l.SHOP_PRC.toString(),              // 13
        text(l.RSV_STR1),                   // 14
        text(l.RSV_STR2),                   // 15
        l.RSV_CUR.toString(),               // 16
        QString::number(l.RSV_INT1),        // 17
        text(l.RSV_STR3),                   // 18
        QString::number(l.RSV_INT2),        // 19
        date(l.RSV_DATE),                   // 20
        text(l.RSV_STR4),                   // 21
        QString::number(r.LABEL_CNT),       // 22
        text(l.LOCATE),                     // 23
        boolean(l.PLAS),                    // 24
    };
    return items.join(QLatin1Char(','));
}

namespace {

// The text in code page 932 through one converter; only a character without a code there
// becomes "?".
QByteArray cp932With(Cp932 &conv, const QString &s)
{
    QByteArray out;
    if (conv.convert(s.toUtf8(), &out))
        return out;
    QByteArray all;
    for (const uint cp : s.toUcs4()) {
        QByteArray one;
        if (conv.convert(QString::fromUcs4(reinterpret_cast<const char32_t *>(&cp), 1).toUtf8(), &one))
            all += one;
        else
            all += '?';
    }
    return all;
}

void requireConverter(const Cp932 &conv)
{
    if (!conv.valid())
        throw HbError(kErrInvalidCall, QStringLiteral("文字コードを変換できません。"));
}

// An existing file that may not be written: not writable for this program, or read-only by its
// permission bits (which the administrator's account would otherwise pass over).
bool isReadOnlyFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    const QFile::Permissions writeBits = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return !info.isWritable() || !(info.permissions() & writeBits);
}

}  // namespace

QByteArray toCp932(const QString &s)
{
    Cp932 conv;
    requireConverter(conv);
    return cp932With(conv, s);
}

QString PtagCsvFileName(const QDate &from, const QDate &to, long fmrId, long shopId)
{
    return from.toString(QStringLiteral("yyMMdd")) + QLatin1Char('-') + to.toString(QStringLiteral("yyMMdd")) +
           QLatin1Char('-') + QString::number(fmrId) + QLatin1Char('-') + QString::number(shopId) +
           QStringLiteral(".csv");
}

QString PtagCsvPath(const QString &folder, const QString &fileName)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + fileName : folder + QLatin1Char('/') + fileName;
}

int WritePtagCsv(const QString &path, const std::vector<PtagRec> &rows)
{
    if (isReadOnlyFile(path))
        throw HbError(kErrPathAccess, QStringLiteral("ファイルに書き込めません（読み取り専用）：") + QDir::toNativeSeparators(path));
    Cp932 conv;
    requireConverter(conv);
    QByteArray content;
    for (const PtagRec &r : rows)
        content += cp932With(conv, PtagCsvLine(r)) + "\r\n";
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
        throw HbError(kErrPathAccess, QStringLiteral("パス/ファイル アクセス エラーです。"));
    return static_cast<int>(rows.size());
}

Value LastShipDay(DbObject &db, long fmrId, long shopId)
{
    return db.DMax(QStringLiteral("SHIP_DATE"), QStringLiteral("D_SHIP"),
                   QStringLiteral("SHOP_ID=%1 AND FMR_ID=%2").arg(shopId).arg(fmrId));
}

int LoadPriceTagData(DbObject &db, const QDate &from, const QDate &to, long fmrId, long shopId)
{
    const QString fmt = QStringLiteral("yyyy-MM-dd 00:00:00");
    const QString sql = QStringLiteral("SELECT D_SHIP.* FROM D_SHIP ") + QStringLiteral(" WHERE D_SHIP.SHIP_DATE>=#") +
                        from.toString(fmt) + QStringLiteral("#") + QStringLiteral(" AND D_SHIP.SHIP_DATE<=#") +
                        to.toString(fmt) + QStringLiteral("#") + QStringLiteral(" AND D_SHIP.FMR_ID=?") +
                        QStringLiteral(" AND D_SHIP.SHOP_ID=?");
    auto rs = db.GetFwdOnlyRst(sql, {Value(fmrId), Value(shopId)});
    int count = 0;
    if (!rs->eof()) {
        gPtagData.assign(1, PtagDataRec());
        count = SetPriceTagData(*rs);
    }
    rs->Close();
    return count;
}

}  // namespace hb
