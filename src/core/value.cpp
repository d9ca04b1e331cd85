#include "core/value.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace hb {

namespace {

HbError typeMismatch()
{
    return HbError(kErrTypeMismatch, QStringLiteral("型が一致しません。"));
}

HbError overflow()
{
    return HbError(kErrOverflow, QStringLiteral("オーバーフローしました。"));
}

// Day 0 of the date serial numbers: 1899-12-30 00:00.
const QDateTime &serialEpoch()
{
    static const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0), DateSpec);
    return epoch;
}

}  // namespace

std::int64_t roundHalfEven(double v)
{
    if (!std::isfinite(v) || std::fabs(v) > 9.2e18)
        throw overflow();
    return static_cast<std::int64_t>(std::nearbyint(v));
}

Currency Currency::fromDouble(double v)
{
    if (!std::isfinite(v) || std::fabs(v) > 922337203685477.0)
        throw overflow();
    return Currency{roundHalfEven(v * 10000.0)};
}

Currency Currency::operator+(Currency o) const
{
    std::int64_t r = 0;
    if (__builtin_add_overflow(scaled, o.scaled, &r))
        throw overflow();
    return Currency{r};
}

Currency Currency::operator-(Currency o) const
{
    std::int64_t r = 0;
    if (__builtin_sub_overflow(scaled, o.scaled, &r))
        throw overflow();
    return Currency{r};
}

Currency Currency::operator-() const
{
    return Currency{} - *this;
}

Currency Currency::operator*(Currency o) const
{
    const __int128 p = static_cast<__int128>(scaled) * o.scaled;
    __int128 q = p / 10000;
    const __int128 r = p % 10000;
    const __int128 twice = (r < 0 ? -r : r) * 2;
    if (twice > 10000 || (twice == 10000 && q % 2 != 0))
        q += p < 0 ? -1 : 1;
    if (q > std::numeric_limits<std::int64_t>::max() || q < std::numeric_limits<std::int64_t>::min())
        throw overflow();
    return Currency{static_cast<std::int64_t>(q)};
}

QString Currency::toString() const
{
    std::int64_t whole = scaled / 10000;
    std::int64_t frac = std::llabs(scaled % 10000);
    QString s = QString::number(whole);
    if (scaled < 0 && whole == 0)
        s = QStringLiteral("-0");
    if (frac != 0) {
        QString f = QString::number(frac).rightJustified(4, QLatin1Char('0'));
        while (f.endsWith(QLatin1Char('0')))
            f.chop(1);
        s += QLatin1Char('.') + f;
    }
    return s;
}

bool parseNumber(const QString &text, double *out)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*([+-]?)\\s*((?:\\d{1,3}(?:,\\d{3})+|\\d+)(?:\\.\\d*)?|\\.\\d+)(?:[eE]([+-]?\\d+))?\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return false;
    QString digits = m.captured(2);
    digits.remove(QLatin1Char(','));
    QString full = m.captured(1) + digits;
    if (m.capturedLength(3) > 0)
        full += QLatin1Char('e') + m.captured(3);
    bool ok = false;
    const double v = full.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    if (out)
        *out = v;
    return true;
}

// The databases hand back every date in the stored form.
bool parseCanonicalDate(const QString &text, QDateTime *out)
{
    if (text.size() != 19 || text.at(4) != QLatin1Char('-') || text.at(7) != QLatin1Char('-')
        || text.at(10) != QLatin1Char(' ') || text.at(13) != QLatin1Char(':') || text.at(16) != QLatin1Char(':'))
        return false;
    int n[6] = {};
    const int starts[6] = {0, 5, 8, 11, 14, 17};
    const int lengths[6] = {4, 2, 2, 2, 2, 2};
    for (int f = 0; f < 6; ++f) {
        for (int i = starts[f]; i < starts[f] + lengths[f]; ++i) {
            const char16_t c = text.at(i).unicode();
            if (c < u'0' || c > u'9')
                return false;
            n[f] = n[f] * 10 + (c - u'0');
        }
    }
    const QDate d(n[0], n[1], n[2]);
    const QTime t(n[3], n[4], n[5]);
    if (!d.isValid() || !t.isValid())
        return false;
    if (out)
        *out = QDateTime(d, t, DateSpec);
    return true;
}

bool parseDateText(const QString &text, QDateTime *out)
{
    if (parseCanonicalDate(text, out))
        return true;
    static const QRegularExpression re(QStringLiteral(
        "^\\s*(\\d{4})[/-](\\d{1,2})[/-](\\d{1,2})(?:[ T](\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?(?:\\.\\d+)?)?\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return false;
    const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!d.isValid())
        return false;
    QTime t(0, 0, 0);
    if (m.capturedLength(4) > 0) {
        t = QTime(m.captured(4).toInt(), m.captured(5).toInt(), m.capturedLength(6) > 0 ? m.captured(6).toInt() : 0);
        if (!t.isValid())
            return false;
    }
    if (out)
        *out = QDateTime(d, t, DateSpec);
    return true;
}

QString canonicalDateText(const QDateTime &dt)
{
    return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

Value Value::fromVariant(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return Value::null();
    switch (v.typeId()) {
    case QMetaType::Bool:
        return Value(v.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return Value(static_cast<long long>(v.toLongLong()));
    case QMetaType::Double:
    case QMetaType::Float:
        return Value(v.toDouble());
    case QMetaType::QDateTime:
        return Value(v.toDateTime());
    case QMetaType::QDate:
        return Value(v.toDate());
    case QMetaType::QByteArray:
        return Value(QString::fromUtf8(v.toByteArray()));
    case QMetaType::QString:
        return Value(*static_cast<const QString *>(v.constData()));
    default:
        return Value(v.toString());
    }
}

bool Value::isNumber() const
{
    switch (type_) {
    case Type::Boolean:
    case Type::Byte:
    case Type::Integer:
    case Type::Long:
    case Type::Currency:
    case Type::Single:
    case Type::Double:
        return true;
    default:
        return false;
    }
}

double Value::toDouble() const
{
    switch (type_) {
    case Type::Empty:
        return 0.0;
    case Type::Boolean:
    case Type::Byte:
    case Type::Integer:
    case Type::Long:
        return static_cast<double>(i_);
    case Type::Currency:
        return Currency{i_}.toDouble();
    case Type::Single:
    case Type::Double:
        return d_;
    case Type::Date:
        // Days since 1899-12-30, with the time as a fraction.
        return static_cast<double>(serialEpoch().msecsTo(dt_)) / 86400000.0;
    case Type::String: {
        double v = 0;
        if (parseNumber(s_, &v))
            return v;
        throw typeMismatch();
    }
    case Type::Null:
        break;
    }
    throw typeMismatch();
}

std::int64_t Value::toLong() const
{
    switch (type_) {
    case Type::Boolean:
    case Type::Byte:
    case Type::Integer:
    case Type::Long:
        return i_;
    case Type::Empty:
        return 0;
    default:
        return roundHalfEven(toDouble());
    }
}

bool Value::toBool() const
{
    if (type_ == Type::String) {
        const QString t = s_.trimmed();
        if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
    }
    if (type_ == Type::Currency)
        return i_ != 0;
    return toDouble() != 0.0;
}

Currency Value::toCurrency() const
{
    if (type_ == Type::Currency)
        return Currency{i_};
    if (type_ == Type::Boolean || type_ == Type::Byte || type_ == Type::Integer || type_ == Type::Long)
        return Currency{i_ * 10000};
    return Currency::fromDouble(toDouble());
}

QDateTime Value::dateFields(const QDateTime &dt)
{
    if (dt.timeSpec() == DateSpec || !dt.isValid())
        return dt;
    return QDateTime(dt.date(), dt.time(), DateSpec);
}

QDateTime Value::toDateFields() const
{
    if (type_ == Type::Date)
        return dt_;
    if (type_ == Type::String) {
        QDateTime dt;
        if (parseDateText(s_, &dt))
            return dt;
    }
    if (isNumber())
        return serialEpoch().addMSecs(static_cast<qint64>(std::llround(toDouble() * 86400000.0)));
    throw typeMismatch();
}

QDateTime Value::toDate() const
{
    const QDateTime f = toDateFields();
    return QDateTime(f.date(), f.time());
}

QString Value::displayText() const
{
    switch (type_) {
    case Type::Empty:
    case Type::Null:
        return QString();
    case Type::Boolean:
        return i_ ? QStringLiteral("True") : QStringLiteral("False");
    case Type::Byte:
    case Type::Integer:
    case Type::Long:
        return QString::number(i_);
    case Type::Currency:
        return Currency{i_}.toString();
    case Type::Single:
        return QString::number(d_, 'g', 7);
    case Type::Double:
        return QString::number(d_, 'g', 15);
    case Type::Date:
        if (dt_.time() == QTime(0, 0))
            return dt_.toString(QStringLiteral("yyyy/MM/dd"));
        return dt_.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    case Type::String:
        return s_;
    }
    return QString();
}

QString Value::toString() const
{
    if (type_ == Type::Null)
        throw HbError(kErrInvalidNull, QStringLiteral("Null の使い方が不正です。"));
    return displayText();
}

QVariant Value::toVariant() const
{
    switch (type_) {
    case Type::Empty:
    case Type::Null:
        return QVariant();
    case Type::Boolean:
    case Type::Byte:
    case Type::Integer:
    case Type::Long:
        return QVariant(static_cast<qlonglong>(i_));
    case Type::Currency:
        return QVariant(Currency{i_}.toDouble());
    case Type::Single:
    case Type::Double:
        return QVariant(d_);
    case Type::Date:
        return QVariant(canonicalDateText(dt_));
    case Type::String:
        return QVariant(s_);
    }
    return QVariant();
}

bool Value::operator==(const Value &o) const
{
    if (type_ == Type::Empty || o.type_ == Type::Empty || type_ == Type::Null || o.type_ == Type::Null)
        return type_ == o.type_;
    if (type_ == Type::String && o.type_ == Type::String)
        return s_ == o.s_;
    if (type_ == Type::Date && o.type_ == Type::Date)
        return dt_ == o.dt_;
    if (type_ == Type::Currency && o.type_ == Type::Currency)
        return i_ == o.i_;
    if (isNumber() && o.isNumber())
        return toDouble() == o.toDouble();
    return false;
}

long IdOf(const Value &v)
{
    return isBlank(v) ? 0 : static_cast<long>(v.toLong());
}

long IdOrZero(const Value &v)
{
    return isBlank(v) || !IsNumeric(v) ? 0 : static_cast<long>(v.toLong());
}

bool IsNumeric(const Value &v)
{
    if (v.isNumber() || v.isEmpty())
        return true;
    if (v.isString())
        return parseNumber(v.displayText(), nullptr);
    return false;
}

bool IsDate(const Value &v)
{
    if (v.isDate())
        return true;
    return v.isString() && parseDateText(v.displayText(), nullptr);
}

Value NullToVal(const Value &v, const Value &def)
{
    return v.isNull() ? def : v;
}

}  // namespace hb
