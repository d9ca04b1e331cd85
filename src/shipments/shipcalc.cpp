#include "shipments/shipcalc.h"

#include "core/db.h"
#include "core/globals.h"
#include "core/helpers.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>
#include <optional>

namespace hb {

namespace {

// A whole result is kept as a whole number, anything else as a fraction.
Value numberValue(double d)
{
    if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15)
        return Value(static_cast<long long>(d));
    return Value(d);
}

// The record's shop (the shop in use for a record without one).
long shopOf(const ShipRec &r)
{
    return static_cast<long>(NullToVal(isBlank(r.SHOP_ID) ? gShopID : r.SHOP_ID, Value(0)).toLong());
}

// The shop's fee rate, 1 when it has none.
Value defaultFeeRate(const ShipRec &r)
{
    const Value rt = masterDb().DLookup(QStringLiteral("FEE_RT"), QStringLiteral("M_SHOP"),
                                   QStringLiteral("SHOP_ID=") + QString::number(shopOf(r)));
    return isBlank(rt) ? Value(1) : rt;
}

// The leading whole number of a text (sign and digits, blanks before it); none when the text
// starts with no digit or the number passes the column's range.
std::optional<long> leadingWhole(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*([+-]?\\d+)"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    bool ok = false;
    const long long n = m.captured(1).toLongLong(&ok);
    if (!ok || n > std::numeric_limits<int>::max() || n < std::numeric_limits<int>::min())
        return std::nullopt;
    return static_cast<long>(n);
}

void feeStep(ShipRec &r)
{
    if (isBlank(r.SALES_AMT)) {
        r.FEE_AMT = Value(Currency{});
        return;
    }
    r.FEE_AMT = Value(RoundEx(Value(r.SALES_AMT.toDouble() * r.FEE_RT.toDouble() / 100.0), 3, 0));
}

void feeRateDefaultAndFee(ShipRec &r)
{
    if (isBlank(r.FEE_RT))
        r.FEE_RT = defaultFeeRate(r);
    feeStep(r);
}

void salesStep(ShipRec &r)
{
    if (isBlank(r.SHOP_PRC) || isBlank(r.SALES_QTY)) {
        r.SALES_AMT = Value::null();
        return;
    }
    r.SALES_AMT = ShipSalesAmount(r);
    feeRateDefaultAndFee(r);
}

void salesQtyFromShipped(ShipRec &r)
{
    r.SALES_QTY = numberValue(r.SHIP_QTY.toDouble() - r.RTN_QTY.toDouble());
}

}  // namespace

bool parseShipNumber(const QString &text, bool whole, Value *out)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        *out = Value::null();
        return true;
    }
    double d = 0;
    if (!parseNumber(t, &d) || !std::isfinite(d) || std::fabs(d) >= 1e13)
        return false;
    if (whole && d != std::floor(d))
        return false;
    *out = numberValue(d);
    return true;
}

bool ShipEntry(int box, const QString &text, Value *entry)
{
    *entry = Value::null();
    if (text.trimmed().isEmpty())
        return true;
    switch (box) {
    case kBoxShipDate: {
        QDateTime dt;
        *entry = parseDateText(text.trimmed(), &dt) ? Value(dt.date()) : Value(text);
        return true;
    }
    case kBoxLocate:
    case kBoxPrdNm:
    case kBoxNotes:
    case kBoxPrdId:
        *entry = Value(text);
        return true;
    case kBoxShipQty: {
        // Also the number of price tags: a whole number.
        double d = 0;
        if (!parseNumber(text, &d))
            return true;
        if (d != std::floor(d) || std::fabs(d) > std::numeric_limits<int>::max())
            return false;
        *entry = numberValue(d);
        return true;
    }
    default:
        if (!parseShipNumber(text, false, entry))
            *entry = Value::null();
        return true;
    }
}

Value ShipSalesAmount(const ShipRec &r)
{
    if (isBlank(r.SHOP_PRC) || isBlank(r.SALES_QTY))
        return Value::null();
    const double dsc = isBlank(r.DSC_AMT) ? 0.0 : r.DSC_AMT.toDouble();
    return Value(Currency::fromDouble(r.SALES_QTY.toDouble() * r.SHOP_PRC.toDouble() - dsc));
}

void ApplyShipEntry(ShipRec &r, int box, const Value &entry)
{
    const Value v = entry.isEmpty() ? Value::null() : entry;
    const Value null = Value::null();
    switch (box) {
    case kBoxShipDate:
        r.SHIP_DATE = v;
        break;
    case kBoxLocate:
        r.LOCATE = v;
        break;
    case kBoxPrdId: {
        if (v.isNull()) {
            r.PRD_ID = null;
            break;
        }
        const std::optional<long> code = leadingWhole(v.displayText());
        r.PRD_ID = code ? Value(*code) : null;
        r.PRD_NM = masterDb().DLookup(QStringLiteral("PRD_NM"), QStringLiteral("M_PRD"),
                                 QStringLiteral("SHOP_ID=%1 AND PRD_ID=%2").arg(shopOf(r)).arg(code.value_or(0)));
        break;
    }
    case kBoxPrdNm:
        r.PRD_NM = v;
        break;
    case kBoxShopPrc:
        r.SHOP_PRC = v;
        if (v.isNull()) {
            r.SALES_AMT = null;
            r.FEE_AMT = null;
        } else {
            salesStep(r);
        }
        break;
    case kBoxShipQty:
        r.SHIP_QTY = v;
        if (v.isNull()) {
            r.SALES_QTY = r.SALES_AMT = r.FEE_AMT = null;
            break;
        }
        if (isBlank(r.RTN_QTY)) {
            r.SALES_QTY = r.SALES_AMT = null;
        } else {
            salesQtyFromShipped(r);
            r.SALES_AMT = ShipSalesAmount(r);
        }
        feeRateDefaultAndFee(r);
        break;
    case kBoxRtnQty:
        r.RTN_QTY = v;
        if (v.isNull()) {
            r.SALES_QTY = r.SALES_AMT = r.FEE_AMT = null;
        } else if (isBlank(r.SHIP_QTY)) {
            r.SALES_QTY = r.SALES_AMT = null;
        } else {
            salesQtyFromShipped(r);
            salesStep(r);
        }
        break;
    case kBoxSalesQty:
        r.SALES_QTY = v;
        if (v.isNull()) {
            r.SALES_AMT = r.FEE_AMT = null;
        } else {
            salesStep(r);
        }
        break;
    case kBoxDscAmt:
        r.DSC_AMT = v;
        if (v.isNull()) {
            r.SALES_AMT = r.FEE_AMT = null;
        } else {
            salesStep(r);
        }
        break;
    case kBoxFeeRt:
        r.FEE_RT = v;
        if (v.isNull() || isBlank(r.SALES_AMT))
            r.FEE_AMT = null;
        else
            feeStep(r);
        break;
    case kBoxFeeAmt:
        r.FEE_AMT = v;
        break;
    case kBoxNotes:
        r.NOTES = v;
        break;
    default:
        break;
    }
}

QString fmtAmount(const Value &v)
{
    if (isBlank(v))
        return QString();
    const double d = v.toDouble();
    const long long whole = static_cast<long long>(std::floor(std::fabs(d) + 0.5));
    QString digits = QString::number(whole);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    return (d < 0 && whole != 0) ? QLatin1Char('-') + digits : digits;
}

QString shipDayText(const Value &v)
{
    const QDate d = valueDate(v);
    if (d.isValid())
        return d.toString(QStringLiteral("yyyy/MM/dd"));
    return isBlank(v) ? QString() : v.displayText();
}

QDate valueDate(const Value &v)
{
    if (v.isDate())
        return v.toDate().date();
    if (v.isString()) {
        QDateTime dt;
        if (parseDateText(v.toString(), &dt))
            return dt.date();
    }
    return QDate();
}

}  // namespace hb
