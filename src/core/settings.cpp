// The settings table and the connection-setting properties.

#include "core/settings.h"

#include "core/db.h"
#include "core/helpers.h"
#include "core/log.h"

#include <QDir>
#include <QFileInfo>
#include <limits>

namespace hb {

namespace {

Value convertSetting(const Value &raw, long type)
{
    switch (type) {
    case 1:
        return Value(raw.toBool());
    case 2: {
        const std::int64_t v = raw.toLong();
        if (v < 0 || v > 255)
            throw HbError(kErrOverflow, QStringLiteral("オーバーフローしました。"));
        return Value::byte(static_cast<int>(v));
    }
    case 3: {
        const std::int64_t v = raw.toLong();
        if (v < -32768 || v > 32767)
            throw HbError(kErrOverflow, QStringLiteral("オーバーフローしました。"));
        return Value::integer(static_cast<int>(v));
    }
    case 4: {
        const std::int64_t v = raw.toLong();
        if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
            throw HbError(kErrOverflow, QStringLiteral("オーバーフローしました。"));
        return Value(static_cast<long long>(v));
    }
    case 5:
        return Value(raw.toCurrency());
    case 6:
        return Value::single(static_cast<float>(raw.toDouble()));
    case 7:
        return Value(raw.toDouble());
    case 8:
        return Value(raw.toDate());
    default:
        return raw;
    }
}

}  // namespace

Value DbObject::GetCtrl(const QString &key)
{
    Value result;
    trapped(Trap::Numbered, [&] {
        auto rs = GetFwdOnlyRst(QStringLiteral("SELECT CTRL_VALUE ,CTRL_TYPE FROM S_CTRL WHERE CTRL_CD=?"), {Value(key)});
        if (rs->eof())
            return;
        const Value raw = rs->Fields(0);
        if (raw.isNull()) {
            result = Value::null();
            return;
        }
        const long type = static_cast<long>(NullToVal(rs->Fields(1), Value(0)).toLong());
        rs->Close();
        result = convertSetting(raw, type);
    });
    return result;
}

bool DbObject::SaveCtrl(const QString &key, const Value &value, long)
{
    return trapped(Trap::Numbered, [&] {
        auto rs = GetDynamicRst(QStringLiteral("SELECT * FROM S_CTRL WHERE CTRL_CD=?"), {Value(key)});
        if (!rs->eof()) {
            Value stored;
            if (isBlankText(value)) {
                stored = Value::null();
            } else {
                switch (NullToVal(rs->Fields(QStringLiteral("CTRL_TYPE")), Value(0)).toLong()) {
                case 1:
                    stored = Value(value.toBool() ? QStringLiteral("True") : QStringLiteral("False"));
                    break;
                case 8:
                    stored = Value(value.toDate().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")));
                    break;
                default:
                    stored = Value(value.toString());
                }
            }
            rs->setField(QStringLiteral("CTRL_VALUE"), stored);
        } else {
            rs->AddNew();
            rs->setField(QStringLiteral("CTRL_CD"), Value(key));
            rs->setField(QStringLiteral("CTRL_VALUE"), isBlankText(value) ? Value::null() : Value(value.toString()));
        }
        rs->Update();
        rs->Close();
    });
}

QString clsINI::text(const QString &key)
{
    const Value v = GetCtrl(key);
    return isBlank(v) ? QString() : v.displayText();
}

QString clsINI::fileName(const QString &typeKey, const QString &nameKey)
{
    const QString name = text(nameKey);
    if (text(typeKey) != QLatin1String("2"))
        return name;
    QString path = name;
    if (name.size() >= 2 && !name.startsWith(QLatin1Char('/')) && !name.startsWith(QLatin1String("\\\\")) &&
        !name.contains(QLatin1Char(':')))
        path = appPath() + QLatin1Char('/') + name;
    return QFileInfo(path).isFile() ? path : QString();
}

QString clsINI::DB_TYPE() { return text(QStringLiteral("DB_TYPE")); }
QString clsINI::DB_DSN() { return text(QStringLiteral("DB_DSN")); }
QString clsINI::DB_SERVER() { return text(QStringLiteral("DB_SERVER")); }
QString clsINI::DB_NAME() { return fileName(QStringLiteral("DB_TYPE"), QStringLiteral("DB_NAME")); }
QString clsINI::DB_USER() { return text(QStringLiteral("DB_USER")); }
QString clsINI::DB_PSWD() { return text(QStringLiteral("DB_PSWD")); }
QString clsINI::DB_DBPW() { return text(QStringLiteral("DB_DBPW")); }
QString clsINI::MST_TYPE() { return text(QStringLiteral("MST_TYPE")); }
QString clsINI::MST_DSN() { return text(QStringLiteral("MST_DSN")); }
QString clsINI::MST_SERVER() { return text(QStringLiteral("MST_SERVER")); }
QString clsINI::MST_NAME() { return fileName(QStringLiteral("MST_TYPE"), QStringLiteral("MST_NAME")); }
QString clsINI::MST_USER() { return text(QStringLiteral("MST_USER")); }
QString clsINI::MST_PSWD() { return text(QStringLiteral("MST_PSWD")); }
QString clsINI::MST_DBPW() { return text(QStringLiteral("MST_DBPW")); }

QHash<QString, Value> ReadSettings(DbObject &ini)
{
    QHash<QString, Value> out;
    auto rs = ini.GetFwdOnlyRst(QStringLiteral("SELECT S_CTRL.* FROM S_CTRL"));
    for (; !rs->eof(); rs->MoveNext())
        out.insert(rs->Fields(QStringLiteral("CTRL_CD")).displayText(), rs->Fields(QStringLiteral("CTRL_VALUE")));
    rs->Close();
    return out;
}

void WriteSettingRows(DbObject &ini, const std::vector<SettingRow> &rows)
{
    auto rs = ini.GetDynamicRst(QStringLiteral("SELECT S_CTRL.* FROM S_CTRL"));
    for (const SettingRow &r : rows) {
        if (rs->RecordCount() > 0) {
            rs->MoveFirst();
            rs->Find(QStringLiteral("CTRL_CD='%1'").arg(r.key));
        }
        const bool found = rs->RecordCount() > 0 && !rs->eof();
        if (!found) {
            rs->AddNew();
            rs->setField(QStringLiteral("CTRL_CD"), Value(r.key));
            rs->setField(QStringLiteral("CTRL_TYPE"), Value(r.type));
        }
        if (!r.keep)
            rs->setField(QStringLiteral("CTRL_VALUE"), r.value.isNull() ? r.value : Value(r.value.displayText()));
        if (!found || !r.keep)
            rs->Update();
    }
    rs->Close();
}

bool SaveSettingsTogether(DbObject &ini, const std::vector<std::pair<QString, QString>> &values)
{
    try {
        ini.Begintrans();
    } catch (const HbError &e) {
        WriteLog(QStringLiteral("(%1)").arg(e.number()) + e.description());
        return false;
    }
    return trapped(
        Trap::Rollback,
        [&] {
            for (const auto &[key, text] : values) {
                if (!ini.SaveCtrl(key, Value(text)))
                    throw HbError(kErrDatabase, QStringLiteral("設定 %1 を保存できません。").arg(key));
            }
            ini.CommitTrans();
        },
        &ini);
}

}  // namespace hb
