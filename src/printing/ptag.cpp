#include "printing/ptag.h"

#include "core/db.h"
#include "core/globals.h"
#include "core/helpers.h"

#include <array>
#include <cstdlib>
#include <map>
#include <optional>

namespace hb {

// From the start as after a build of no rows: element 0, skip 0, one empty row.
std::vector<PtagDataRec> gPtagData(1);

QDateTime zeroDateTime()
{
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0));
}

namespace {

HbError outOfRange()
{
    return HbError(kErrSubscript, QStringLiteral("インデックスが有効範囲にありません。"));
}

// A bar-code block that would start outside the 12 data digits.
HbError layoutOutOfRange()
{
    return HbError(kErrSubscript, QStringLiteral("販売店のバーコード設定が範囲外です。"));
}

HbError overflow()
{
    return HbError(kErrOverflow, QStringLiteral("オーバーフローしました。"));
}

// A column value converted to a 16- or 32-bit integer field, Null giving 0.
std::int16_t toInteger(const Value &v)
{
    const std::int64_t n = NullToVal(v, Value(0)).toLong();
    if (n < INT16_MIN || n > INT16_MAX)
        throw overflow();
    return static_cast<std::int16_t>(n);
}

std::int32_t toLong(const Value &v)
{
    const std::int64_t n = NullToVal(v, Value(0)).toLong();
    if (n < INT32_MIN || n > INT32_MAX)
        throw overflow();
    return static_cast<std::int32_t>(n);
}

QString toText(const Value &v)
{
    return NullToVal(v, Value(QString())).toString();
}

// The shop in use as GetBarcode and GetTraceURL take it: no shop (Null or unset) is shop 1.
Value shopInUse()
{
    if (isBlank(gShopID))
        return Value(1);
    return Value(static_cast<long long>(gShopID.toLong()));
}

// The M_SHOP row of the shop in use, as the bar code and the trace address read it.
struct ShopSettings {
    bool found = false;
    // Start and length of the option, product, price, price-in-tens and grower blocks.
    std::array<std::int16_t, 5> start{};
    std::array<std::int16_t, 5> length{};
    QString url;
    Value uploadType;
};

ShopSettings readShop()
{
    static const char *const kStart[5] = {"BCD_OPT_STA", "BCD_PRD_ID_STA", "BCD_AMT_01_STA", "BCD_AMT_10_STA",
                                          "BCD_FMR_ID_STA"};
    static const char *const kLength[5] = {"BCD_OPT_LEN", "BCD_PRD_ID_LEN", "BCD_AMT_01_LEN", "BCD_AMT_10_LEN",
                                           "BCD_FMR_ID_LEN"};
    ShopSettings shop;
    auto rs = masterDb().GetFwdOnlyRst(QStringLiteral("SELECT M_SHOP.* FROM M_SHOP WHERE SHOP_ID=?"), {shopInUse()});
    if (!rs->eof()) {
        shop.found = true;
        for (int b = 0; b < 5; ++b) {
            shop.start[b] = toInteger(rs->Fields(QLatin1String(kStart[b])));
            shop.length[b] = toInteger(rs->Fields(QLatin1String(kLength[b])));
        }
        shop.url = toText(rs->Fields(QStringLiteral("WWW_URL")));
        shop.uploadType = rs->Fields(QStringLiteral("UPLOAD_FILE_TYPE"));
    }
    rs->Close();
    return shop;
}

// The amount rounded to a whole number, halves to the even neighbour.
std::int64_t wholeAmount(const Currency &c)
{
    std::int64_t q = c.scaled / 10000;
    const std::int64_t r = std::llabs(c.scaled % 10000);
    if (r > 5000 || (r == 5000 && q % 2 != 0))
        q += c.scaled < 0 ? -1 : 1;
    return q;
}

QString barcodeFor(const ShopSettings &shop, std::int32_t prdId, std::int32_t fmrId, const Currency &price,
                   std::int32_t option)
{
    const QString values[5] = {
        QString::number(option),
        QString::number(prdId),
        price.toString(),
        QString::number(wholeAmount(price) / 10),
        QString::number(fmrId),
    };
    // Every block that writes must start within the 12 digits; a block of length 0 or less
    // writes nothing, wherever it starts.
    for (int b = 0; b < 5; ++b) {
        if (shop.length[b] > 0 && (shop.start[b] < 1 || shop.start[b] > 12))
            throw layoutOutOfRange();
    }
    std::array<int, 12> digits{};
    for (int b = 0; b < 5; ++b) {
        const int len = shop.length[b];
        if (len <= 0)
            continue;
        const QString s = (QString(len, QLatin1Char('0')) + values[b]).right(len);
        int p = shop.start[b] - 1;
        for (const QChar ch : s) {
            digits[p] = ch.isDigit() && ch.unicode() < 128 ? ch.unicode() - '0' : 0;
            if (++p > 11)
                break;
        }
    }
    QString code;
    for (const int d : digits)
        code += QLatin1Char(static_cast<char>('0' + d));
    return GetCheckDigit(code);
}

QString traceURLFor(const ShopSettings &shop, std::int32_t fmrId, std::int32_t plantId)
{
    if (!shop.found)
        return kDefaultTraceURL;
    QString base = shop.url;
    if (base.left(4) != QLatin1String("http"))
        base.prepend(QLatin1String("http://"));
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    const std::int64_t type = NullToVal(shop.uploadType, Value(0)).toLong();
    if (type == 2 || type == 3)
        return base + QStringLiteral("cropsight.php?fmr=%1?plant=%2").arg(fmrId).arg(plantId);
    return base + QStringLiteral("cropsight/%1/%2/").arg(fmrId).arg(plantId);
}

// The condition on the shop in use as the builder writes it (the shop taken unchanged).
QString shopCondition()
{
    if (!IsNumeric(gShopID))
        throw HbError(kErrTypeMismatch, QStringLiteral("型が一致しません。"));
    return QStringLiteral("SHOP_ID=") + gShopID.displayText();
}

}  // namespace

QString GetCheckDigit(const QString &code)
{
    if (code.size() != 12)
        return QString();
    int even = 0;
    int odd = 0;
    for (int i = 0; i < 12; ++i) {
        const QChar ch = code.at(i);
        if (ch.unicode() < '0' || ch.unicode() > '9')
            throw HbError(kErrTypeMismatch, QStringLiteral("型が一致しません。"));
        (i % 2 == 1 ? even : odd) += ch.unicode() - '0';
    }
    const int c = 10 - (3 * even + odd) % 10;
    return code + QString::number(c).right(1);
}

QString GetBarcode(std::int32_t prdId, std::int32_t fmrId, const Currency &price, std::int32_t option)
{
    return barcodeFor(readShop(), prdId, fmrId, price, option);
}

QString GetTraceURL(std::int32_t fmrId, std::int32_t plantId)
{
    return traceURLFor(readShop(), fmrId, plantId);
}

int SetPriceTagData(Recordset &rs)
{
    if (gPtagData.empty())
        throw outOfRange();
    std::vector<PtagRec> &tags = gPtagData[0].PTAG;
    tags.assign(1, PtagRec());

    // Nothing writes while the rows are built: the shop row and each grower are read once.
    std::optional<ShopSettings> shop;
    std::optional<QString> url;
    struct Grower {
        QString name;
        QString phone;
    };
    std::map<std::int32_t, Grower> growers;

    int n = 0;
    while (!rs.eof()) {
        if (n > 0)
            tags.emplace_back();
        PtagRec &row = tags[n];
        row.RSV_FLG = false;
        row.KIND = PtagRec::kShipmentKind;
        row.RSV_NO = 0;
        row.FMR_ID = toLong(rs.Fields(QStringLiteral("FMR_ID")));
        row.PRD_ID = toLong(rs.Fields(QStringLiteral("PRD_ID")));
        row.PRD_NM = toText(rs.Fields(QStringLiteral("PRD_NM")));
        row.RSV_INT = 0;
        row.LABEL_CNT = toLong(rs.Fields(QStringLiteral("SHIP_QTY")));

        PtagLabelRec &label = row.LABEL;
        auto g = growers.find(row.FMR_ID);
        if (g == growers.end()) {
            Grower grower;
            grower.name = toText(GetFmrNm(Value(row.FMR_ID)));
            grower.phone = toText(masterDb().DLookup(QStringLiteral("TEL_NO_S"), QStringLiteral("M_FMR"),
                                                   QStringLiteral("FMR_ID=%1").arg(row.FMR_ID)));
            g = growers.emplace(row.FMR_ID, grower).first;
        }
        label.FMR_NM = g->second.name;
        label.TEL_NO_S = g->second.phone;
        label.LOCATE = toText(rs.Fields(QStringLiteral("LOCATE")));
        label.PLAS = NullToVal(rs.Fields(QStringLiteral("PLAS")), Value(false)).toBool();
        label.PRD_NM = toText(rs.Fields(QStringLiteral("PRD_NM")));
        label.SHOP_PRC = NullToVal(rs.Fields(QStringLiteral("SHOP_PRC")), Value(Currency())).toCurrency();
        label.RSV_STR1.clear();
        label.RSV_STR2.clear();
        label.RSV_CUR = Currency();
        label.RSV_INT1 = 0;
        label.RSV_STR3.clear();
        label.RSV_INT2 = 0;
        label.RSV_DATE = zeroDateTime();
        label.RSV_STR4.clear();

        if (!shop)
            shop = readShop();
        label.JAN_CD = barcodeFor(*shop, row.PRD_ID, row.FMR_ID, label.SHOP_PRC, 0);

        if (!url)
            url = toText(masterDb().DLookup(QStringLiteral("WWW_URL"), QStringLiteral("M_SHOP"), shopCondition()));
        if (!url->isEmpty())
            label.QR_TEXT = traceURLFor(*shop, row.FMR_ID, toLong(rs.Fields(QStringLiteral("PLANT_ID"))));
        else
            label.QR_TEXT.clear();

        rs.MoveNext();
        ++n;
    }
    return n;
}

}  // namespace hb
