// The runtime value and its conversions.

#include "common/printers.h"
#include "core/value.h"

#include <QDateTime>
#include <gtest/gtest.h>
#include <functional>
#include <limits>
#include <vector>

using hb::Value;

namespace {

TEST(Value, EmptyNullAndTypedValuesStayApart)
{
    EXPECT_TRUE(Value().isEmpty());
    EXPECT_TRUE(Value::null().isNull());
    EXPECT_NE(Value(), Value::null());
    EXPECT_TRUE(hb::NullToVal(Value(), Value(0)).isEmpty());
    EXPECT_EQ(hb::NullToVal(Value::null(), Value(0)), Value(0));
    EXPECT_EQ(hb::NullToVal(Value("x"), Value(0)), Value("x"));
    EXPECT_EQ(Value().toLong(), 0);  // Empty converts to 0
    EXPECT_THROW(Value::null().toLong(), hb::HbError);
    EXPECT_THROW(Value::null().toString(), hb::HbError);
    EXPECT_FALSE(Value::null().toVariant().isValid());
}

TEST(Value, NumbersParseOnceForCheckDisplayAndStore)
{
    struct { const char *text; bool ok; double v; } cases[] = {
        {"12", true, 12}, {" -3.5 ", true, -3.5}, {"1,000", true, 1000}, {"1,234,567.5", true, 1234567.5},
        {"1e3", true, 1000}, {".5", true, 0.5}, {"1,00", false, 0}, {"abc", false, 0}, {"", false, 0},
        {"12a", false, 0}, {"--1", false, 0},
    };
    for (const auto &c : cases) {
        double v = 0;
        EXPECT_EQ(hb::parseNumber(QString::fromUtf8(c.text), &v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(v, c.v) << c.text;
        }
    }
    EXPECT_EQ(Value(2.5).toLong(), 2);  // half to even
    EXPECT_EQ(Value(3.5).toLong(), 4);
    EXPECT_EQ(Value("-2.5").toLong(), -2);
    EXPECT_THROW(Value("x").toDouble(), hb::HbError);
    EXPECT_TRUE(hb::IsNumeric(Value("1,000")));
    EXPECT_FALSE(hb::IsNumeric(Value("1..0")));
}

TEST(Value, CurrencyKeepsFourDecimals)
{
    EXPECT_EQ(hb::Currency::fromDouble(0.1 + 0.2).scaled, 3000);
    // The one text of money that the windows, lists and codes show: a fraction keeps its zeros.
    const struct {
        double amount;
        const char *text;
    } texts[] = {{1.05, "1.05"}, {-1.05, "-1.05"}, {0.05, "0.05"}, {-0.25, "-0.25"},
                 {1.0005, "1.0005"}, {-1234.5, "-1234.5"}, {1200, "1200"}};
    for (const auto &t : texts)
        EXPECT_EQ(Value(hb::Currency::fromDouble(t.amount)).displayText(), t.text) << t.amount;
    EXPECT_EQ(Value(7).toCurrency().scaled, 70000);
    EXPECT_THROW(hb::Currency::fromDouble(1e300), hb::HbError);
}

TEST(Value, BooleansAndDates)
{
    struct { const char *text; bool v; } bools[] = {{"0", false}, {"1", true}, {"-1", true}, {"False", false},
                                                     {"true", true}, {"TRUE", true}};
    for (const auto &b : bools)
        EXPECT_EQ(Value(b.text).toBool(), b.v) << b.text;
    EXPECT_THROW(Value("yes").toBool(), hb::HbError);
    EXPECT_EQ(Value(true).displayText(), "True");

    const QDateTime dt(QDate(2008, 12, 3), QTime(4, 5, 6));
    EXPECT_EQ(Value("2008/12/03 04:05:06").toDate(), dt);
    EXPECT_EQ(Value("2008-12-03 04:05:06").toDate(), dt);
    EXPECT_EQ(Value("2008/12/3").toDate(), QDateTime(QDate(2008, 12, 3), QTime(0, 0)));
    EXPECT_FALSE(hb::IsDate(Value("2008/02/30")));
    EXPECT_FALSE(hb::IsDate(Value("2008/12")));
    EXPECT_EQ(hb::canonicalDateText(dt), "2008-12-03 04:05:06");
    EXPECT_EQ(Value(dt).displayText(), "2008/12/03 04:05:06");
    EXPECT_EQ(Value(QDate(2008, 12, 3)).displayText(), "2008/12/03");
    EXPECT_EQ(Value(QDate(1899, 12, 31)).toDouble(), 1.0);
}

// What the blank tests and the ID conversions give for the values the windows and saves meet:
// the figures every call site relied on before it used these helpers.
TEST(Value, BlankTestsAndIdConversionsByValue)
{
    constexpr long kRaises = -99999;
    struct Case {
        const char *name;
        Value v;
        bool blank;
        bool blankText;
        long id;       // IdOf
        long idOrZero;
    };
    const Case cases[] = {
        {"Null", Value::null(), true, true, 0, 0},
        {"Empty", Value(), true, true, 0, 0},
        {"\"\"", Value(""), false, true, kRaises, 0},
        {"abc", Value("abc"), false, false, kRaises, 0},
        {"\"2.5\"", Value("2.5"), false, false, 2, 2},
        {"\"1,000\"", Value("1,000"), false, false, 1000, 1000},
        {"\" 7 \"", Value(" 7 "), false, false, 7, 7},
        {"2.5", Value(2.5), false, false, 2, 2},
        {"3.5", Value(3.5), false, false, 4, 4},
        {"true", Value(true), false, false, -1, -1},
        {"2024-01-02", Value(QDateTime(QDate(2024, 1, 2), QTime(0, 0))), false, false, 45293, 0},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(hb::isBlank(c.v), c.blank) << c.name;
        EXPECT_EQ(hb::isBlankText(c.v), c.blankText) << c.name;
        long id = 0;
        try {
            id = hb::IdOf(c.v);
        } catch (const hb::HbError &e) {
            EXPECT_EQ(e.number(), hb::kErrTypeMismatch) << c.name;
            id = kRaises;
        }
        EXPECT_EQ(id, c.id) << c.name;
        EXPECT_EQ(hb::IdOrZero(c.v), c.idOrZero) << c.name;
    }
}

TEST(Value, CurrencyArithmeticRoundsHalfToEvenAndRaisesOnOverflow)
{
    using C = hb::Currency;
    const auto s = [](std::int64_t scaled) { return C::fromScaled(scaled); };
    struct Case {
        const char *what;
        C a, b;
        C sum, difference, product;
    };
    const Case cases[] = {
        {"whole", s(20000), s(30000), s(50000), s(-10000), s(60000)},
        {"half of an odd last place rounds up", s(3), s(5000), s(5003), s(-4997), s(2)},
        {"half of an even last place stays", s(1), s(5000), s(5001), s(-4999), s(0)},
        {"negative half rounds to even", s(-3), s(5000), s(4997), s(-5003), s(-2)},
        {"above half rounds away", s(7), s(7000), s(7007), s(-6993), s(5)},
        {"yen by a quantity", C::fromDouble(12.5), C::fromDouble(2.5), C::fromDouble(15), C::fromDouble(10),
         C::fromDouble(31.25)},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.a + c.b, c.sum) << c.what;
        EXPECT_EQ(c.a - c.b, c.difference) << c.what;
        EXPECT_EQ(c.a * c.b, c.product) << c.what;
    }
    EXPECT_EQ(-s(5), s(-5));
    EXPECT_LT(s(-1), s(0));
    EXPECT_GT(s(10001), s(10000));
    const C max = s(std::numeric_limits<std::int64_t>::max());
    const C min = s(std::numeric_limits<std::int64_t>::min());
    for (const auto &overflowing : std::vector<std::function<C()>>{
             [&] { return max + s(1); }, [&] { return min - s(1); }, [&] { return -min; },
             [&] { return max * C::fromDouble(2); }, [&] { return min * C::fromDouble(1.5); }}) {
        try {
            overflowing();
            ADD_FAILURE() << "no overflow";
        } catch (const hb::HbError &e) {
            EXPECT_EQ(e.number(), hb::kErrOverflow);
        }
    }
    C running = s(10);
    running += s(5);
    running -= s(20);
    EXPECT_EQ(running, s(-5));
}

// ---- dates: the same text, order and day numbers under every local time zone -----------------
// (tests/CMakeLists.txt runs these again under a zone with summer time and under Japan time)

// Days since 1899-12-30, counted on the calendar alone.
double serialOf(const QDate &d, const QTime &t)
{
    return static_cast<double>(d.toJulianDay() - QDate(1899, 12, 30).toJulianDay()) + t.msecsSinceStartOfDay() / 86400000.0;
}

TEST(Dates, TextComesBackAsWrittenWithItsDayNumber)
{
    struct Case {
        const char *text;
        QDate date;
        QTime time;
    } cases[] = {
        {"2008-12-03 04:05:06", {2008, 12, 3}, {4, 5, 6}},
        {"2021-03-14 02:30:00", {2021, 3, 14}, {2, 30}},     // an hour skipped by summer time in New York
        {"2021-11-07 01:30:00", {2021, 11, 7}, {1, 30}},     // an hour that New York lives twice
        {"2021-03-28 02:30:00", {2021, 3, 28}, {2, 30}},     // skipped in central Europe
        {"1948-05-02 00:30:00", {1948, 5, 2}, {0, 30}},      // Japan's post-war summer time
        {"2024-02-29 23:59:59", {2024, 2, 29}, {23, 59, 59}},
        {"1899-12-30 00:00:00", {1899, 12, 30}, {0, 0}},
        {"1899-12-29 18:00:00", {1899, 12, 29}, {18, 0}},
        {"9999-12-31 23:59:59", {9999, 12, 31}, {23, 59, 59}},
    };
    for (const Case &c : cases) {
        const Value v(QString::fromLatin1(c.text));
        ASSERT_TRUE(hb::IsDate(v)) << c.text;
        const QDateTime f = v.toDateFields();
        EXPECT_EQ(f.date(), c.date) << c.text;
        EXPECT_EQ(f.time(), c.time) << c.text;
        EXPECT_EQ(hb::canonicalDateText(f), c.text);
        const Value stored(f);
        EXPECT_EQ(hb::canonicalDateText(stored.toDateFields()), c.text);
        EXPECT_EQ(stored.toVariant().toString(), c.text) << "bound as its canonical text";
        EXPECT_DOUBLE_EQ(stored.toDouble(), serialOf(c.date, c.time)) << c.text;
        // The day number converts back to the same fields.
        EXPECT_EQ(hb::canonicalDateText(Value(stored.toDouble()).toDateFields()), c.text);
        if (c.time == QTime(0, 0)) {
            EXPECT_EQ(stored, Value(c.date)) << c.text;
        }
    }
}

TEST(Dates, TextThatIsNoDateIsRefusedInEveryForm)
{
    struct Case {
        const char *text;
        bool date;
    } cases[] = {
        {"2024-06-12 00:00:00", true},  {"2024-06-12 00:00", true},      {"2024/06/12", true},
        {"2023-02-29 00:00:00", false}, {"2024-01-01 24:00:00", false},  {"2024-01-01 23:60:00", false},
        {"2024-01-01 23:59:60", false}, {"2024-13-01 00:00:00", false},  {"2024-1a-01 00:00:00", false},
        {"2024-01-01T00:00:00", true},  {"2024-01-01 00:00:00 ", true},  {"+024-01-01 00:00:00", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(hb::IsDate(Value(QString::fromLatin1(c.text))), c.date) << c.text;
}

TEST(Dates, OrderAndDayArithmeticIgnoreSummerTime)
{
    // Midnights and noons across the summer-time changes of New York (2021-03-14, 2021-11-07),
    // central Europe (2021-03-28, 2021-10-31) and Japan (1948-05-02, 1948-09-11).
    const QDate starts[] = {{2021, 3, 12}, {2021, 11, 5}, {2021, 3, 26}, {2021, 10, 29}, {1948, 4, 30}, {1948, 9, 9}};
    for (const QDate &start : starts) {
        Value previous;
        for (int i = 0; i < 5; ++i) {
            for (const QTime &t : {QTime(0, 0), QTime(12, 0)}) {
                const QDate d = start.addDays(i);
                const Value v(QDateTime(d, t, hb::DateSpec));
                EXPECT_DOUBLE_EQ(v.toDouble(), serialOf(d, t)) << d.toString().toStdString();
                if (!previous.isEmpty()) {
                    EXPECT_DOUBLE_EQ(v.toDouble() - previous.toDouble(), 0.5) << d.toString().toStdString();
                    EXPECT_LT(previous.toDateFields(), v.toDateFields());
                    EXPECT_NE(previous, v);
                }
                previous = v;
            }
        }
    }
}

TEST(Dates, LocalDateTimesAndNowKeepTheirFields)
{
    // A date-time from elsewhere in the program (local time, "now") is stored with the fields it
    // shows; toDate() gives them back as a local date-time.
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime cases[] = {
        now,
        QDateTime(QDate(2014, 1, 2), QTime(3, 4, 5)),
        QDateTime(QDate(2021, 7, 1), QTime(23, 59, 59)),
        QDateTime(QDate(2021, 12, 31), QTime(0, 0)),
        QDateTime(QDate(2021, 6, 30), QTime(9, 0), Qt::OffsetFromUTC, -5 * 3600),
    };
    for (const QDateTime &dt : cases) {
        const Value v(dt);
        const QString text = dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        EXPECT_EQ(hb::canonicalDateText(v.toDateFields()), text);
        EXPECT_EQ(v.toDateFields(), Value(text).toDateFields().addMSecs(dt.time().msec())) << text.toStdString();
        EXPECT_EQ(v.toDate().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), text);
        if (dt.timeSpec() == Qt::LocalTime) {
            EXPECT_EQ(v.toDate(), dt) << text.toStdString();
        }
    }
    EXPECT_EQ(Value(QDate(2021, 3, 14)).displayText(), "2021/03/14");
    EXPECT_EQ(Value(QDate(2021, 3, 14)), Value(QDate(2021, 3, 14).startOfDay()));
}

}  // namespace
