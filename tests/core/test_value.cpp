// The runtime value and its conversions.

#include "common/printers.h"
#include "core/value.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(Value(hb::Currency::fromDouble(-1234.5)).displayText(), "-1234.5");
    EXPECT_EQ(Value(hb::Currency::fromDouble(-0.25)).displayText(), "-0.25");
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

}  // namespace
