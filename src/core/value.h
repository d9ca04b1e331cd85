#pragma once
// The variant value that travels between windows, records and the databases.
// Empty (never assigned) and Null (the database's NULL) are kept apart from typed values.

#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <stdexcept>

namespace hb {

// A failure carrying a number and a description, as the error trap reports it.
class HbError : public std::runtime_error {
public:
    HbError(int number, const QString &description)
        : std::runtime_error(description.toStdString()), number_(number), description_(description) {}
    int number() const { return number_; }
    const QString &description() const { return description_; }

private:
    int number_;
    QString description_;
};

// Error numbers the program raises (the numbers a person may see in "(n)..." reports).
enum ErrNo : int {
    kErrInvalidCall = 5,          // a text that cannot be converted for the file
    kErrOverflow = 6,
    kErrSubscript = 9,            // an index outside its array or range
    kErrDivisionByZero = 11,
    kErrTypeMismatch = 13,
    kErrFileNotFound = 53,
    kErrPathAccess = 75,          // a file that cannot be written
    kErrNoObject = 91,            // a database object that was not created
    kErrInvalidNull = 94,
    kErrInvalidPicture = 481,
    kErrPrinter = 482,
    kErrServerGone = 2006,        // the server connection was lost
    kErrBadArguments = 3001,
    kErrNoCurrentRow = 3021,
    kErrNoTransaction = 3034,
    kErrInTransaction = 3246,
    kErrNotUpdatable = 3251,
    kErrItemNotFound = 3265,
    kErrNoConnection = 3704,
    kErrNoConnectionKind = 3706,
    kErrRowChanged = -2147217864, // the row to update is gone or changed
    kErrDatabase = -2147467259,
};

// Fixed-point money with four decimals, stored as ten-thousandths.
struct Currency {
    std::int64_t scaled = 0;
    static Currency fromDouble(double v);
    static Currency fromScaled(std::int64_t s) { return Currency{s}; }
    double toDouble() const { return static_cast<double>(scaled) / 10000.0; }
    QString toString() const;
    bool operator==(const Currency &o) const = default;
    auto operator<=>(const Currency &o) const = default;

    // Sums and differences are exact; the product is rounded to four decimals half to even.
    // A result outside the range raises an overflow (6).
    Currency operator+(Currency o) const;
    Currency operator-(Currency o) const;
    Currency operator*(Currency o) const;
    Currency operator-() const;
    Currency &operator+=(Currency o) { return *this = *this + o; }
    Currency &operator-=(Currency o) { return *this = *this - o; }
};

// Date values carry no time zone: their fields are the wall-clock date and time as stored and
// shown, held as UTC fields so that no value needs a local-time conversion (a
// conversion per value reads the zone data each time). Text, comparisons and day arithmetic
// therefore come out the same under every local time zone.
constexpr Qt::TimeSpec DateSpec = Qt::UTC;

class Value {
public:
    enum class Type { Empty, Null, Boolean, Byte, Integer, Long, Currency, Single, Double, Date, String };

    Value() = default;  // Empty
    Value(bool b) : type_(Type::Boolean), i_(b ? -1 : 0) {}
    Value(int v) : type_(Type::Long), i_(v) {}
    Value(long v) : type_(Type::Long), i_(v) {}
    Value(long long v) : type_(Type::Long), i_(v) {}
    Value(double v) : type_(Type::Double), d_(v) {}
    Value(Currency c) : type_(Type::Currency), i_(c.scaled) {}
    // A date value keeps the fields it is given (year to second) and no time zone: whatever
    // zone a date-time carries, its fields are taken as they read.
    Value(const QDateTime &dt) : type_(Type::Date), dt_(dateFields(dt)) {}
    Value(const QDate &d) : type_(Type::Date), dt_(d.startOfDay(DateSpec)) {}
    Value(const QString &s) : type_(Type::String), s_(s) {}
    Value(const char *s) : type_(Type::String), s_(QString::fromUtf8(s)) {}

    static Value null() { Value v; v.type_ = Type::Null; return v; }
    static Value empty() { return Value(); }
    static Value byte(int v) { Value r; r.type_ = Type::Byte; r.i_ = v & 0xFF; return r; }
    static Value integer(int v) { Value r; r.type_ = Type::Integer; r.i_ = static_cast<std::int16_t>(v); return r; }
    static Value single(float v) { Value r; r.type_ = Type::Single; r.d_ = v; return r; }
    // A value read from a database column (QVariant null -> Null).
    static Value fromVariant(const QVariant &v);

    Type type() const { return type_; }
    bool isEmpty() const { return type_ == Type::Empty; }
    bool isNull() const { return type_ == Type::Null; }
    bool isString() const { return type_ == Type::String; }
    bool isDate() const { return type_ == Type::Date; }
    bool isNumber() const;  // a numeric type (Boolean included)

    // Conversions; they raise HbError (type mismatch) where the value cannot be converted.
    double toDouble() const;           // Empty -> 0, numeric text accepted
    std::int64_t toLong() const;       // rounds half to even, as the original conversion did
    int toInt() const { return static_cast<int>(toLong()); }
    bool toBool() const;               // non-zero -> true; "True"/"False" text
    Currency toCurrency() const;
    QDateTime toDate() const;          // dates and date text, as a local date-time with the same fields
    // The same fields without any time-zone conversion (as UTC fields, like every date value): for
    // reading the day or the time of many values cheaply.
    QDateTime toDateFields() const;
    QString toString() const;          // Empty -> "", Null raises
    QVariant toVariant() const;        // for binding: Empty and Null bind as NULL

    // Text display as the runtime writes values: dates "yyyy/mm/dd[ hh:nn:ss]", booleans "True"/"False".
    QString displayText() const;

    bool operator==(const Value &o) const;
    bool operator!=(const Value &o) const { return !(*this == o); }

private:
    static QDateTime dateFields(const QDateTime &dt);

    Type type_ = Type::Empty;
    std::int64_t i_ = 0;
    double d_ = 0.0;
    QDateTime dt_;
    QString s_;
};

// The shared number parser: text typed by a person or stored as text, with an optional sign,
// decimal point, exponent and thousands separators. Returns false for anything else.
bool parseNumber(const QString &text, double *out);
bool IsNumeric(const Value &v);

// Dates typed or stored as text: "yyyy/mm/dd", "yyyy-mm-dd", either with " hh:nn[:ss]". The
// result carries the fields as written, as UTC fields like every date value (see DateSpec).
bool parseDateText(const QString &text, QDateTime *out);
bool IsDate(const Value &v);

// The one stored form of a date (and the literal the translator writes): "yyyy-mm-dd hh:nn:ss".
QString canonicalDateText(const QDateTime &dt);
// That form alone, read without a pattern; false for any other text.
bool parseCanonicalDate(const QString &text, QDateTime *out);

// No value: Empty or Null.
inline bool isBlank(const Value &v) { return v.isEmpty() || v.isNull(); }
// No value or the empty text.
inline bool isBlankText(const Value &v) { return isBlank(v) || (v.isString() && v.displayText().isEmpty()); }

// An ID, number or count held in a value: Empty and Null give 0, a number its whole value
// (half to even), a text its number ("1,000" is 1000, " 7 " is 7). IdOf raises a type mismatch
// (13) for a text that is no number ("" included) and gives a date's day number; IdOrZero gives 0
// for both.
long IdOf(const Value &v);
long IdOrZero(const Value &v);

// The Null-to-default conversion: Null gives the default, anything else (Empty included) itself.
Value NullToVal(const Value &v, const Value &def);

// Rounds half to even, as the runtime's integer conversion does.
std::int64_t roundHalfEven(double v);

}  // namespace hb

Q_DECLARE_METATYPE(hb::Value)
