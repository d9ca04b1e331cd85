// Pesticide stock: the fixed unit factors, the recomputation from the diary's use and the reset
// of unused purchases.

#include "common/globaldbs.h"
#include "cultivation/chemistock.h"

#include <QStringList>
#include <cmath>
#include <map>
#include <optional>
#include <random>

using hb::Value;

namespace {

const QDateTime kDay(QDate(2024, 6, 3), QTime(0, 0));
const QDateTime kOtherDay(QDate(2024, 6, 10), QTime(0, 0));

TEST(UnitRate, FixedFactorsWithinEachFamily)
{
    struct { long first, second; double factor; } cases[] = {
        {3, 2, 1000000}, {2, 3, 0.000001}, {1, 2, 1000}, {2, 1, 0.001}, {1, 3, 0.001}, {3, 1, 1000},
        {4, 5, 1000}, {5, 4, 0.001}, {1, 4, 0}, {5, 2, 0}, {0, 5, 1}, {5, 0, 1}, {4, 4, 1},
        {6, 1, 0}, {-1, 2, 0}, {9, 9, 1},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(hb::GetUnitRate(c.first, c.second), c.factor) << c.first << "," << c.second;
    EXPECT_EQ(hb::GetUnitRate(2, 3), 1.0 / 1000 / 1000);
    for (long a = 1; a <= 5; ++a) {
        for (long b = 1; b <= 5; ++b) {
            if (hb::GetUnitRate(a, b) != 0) {
                EXPECT_DOUBLE_EQ(hb::GetUnitRate(a, b) * hb::GetUnitRate(b, a), 1.0) << a << "," << b;
            }
        }
    }
}

class ChemiStock : public hbtest::GlobalDbs {
protected:
    static void purchase(long fmr, long chemiId, double purQty, long unit, const Value &usedQty = Value::null(),
                         const Value &restQty = Value::null())
    {
        hb::gDb->EXEC("INSERT INTO D_CHEMI (FMR_ID, CHEMI_ID, CHEMI_NM, PUR_QTY, PUR_UNIT, USED_QTY, REST_QTY) "
                      "VALUES (?, ?, 'x', ?, ?, ?, ?)",
                      {Value(fmr), Value(chemiId), Value(purQty), Value(unit), usedQty, restQty});
    }
    static void line(long fmr, const QDateTime &day, long dtlNo, long chemiId, const Value &qty, long unit)
    {
        hb::gDb->EXEC("INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO, WORK_KBN, CHEMI_ID, QTY, UNIT_ID) "
                      "VALUES (?, ?, ?, 5, ?, ?, ?)",
                      {Value(fmr), Value(day), Value(dtlNo), Value(chemiId), qty, Value(unit)});
    }
    static Value col(const char *column, long chemiId)
    {
        return one(QStringLiteral("SELECT %1 FROM D_CHEMI WHERE CHEMI_ID=?").arg(column), {Value(chemiId)});
    }
    static void units(std::initializer_list<std::tuple<long, long, double>> rows)
    {
        hb::gWork->EXEC("DELETE FROM L_CHEMI_UNIT");
        for (const auto &[id, chg, rt] : rows)
            hb::gWork->EXEC("INSERT INTO L_CHEMI_UNIT (ID, NM, CHG_ID, RT) VALUES (?, 'u', ?, ?)",
                            {Value(id), Value(chg), Value(rt)});
    }
    static void expectRestIsPurchaseLessUse()
    {
        auto rs = hb::gDb->GetFwdOnlyRst("SELECT CHEMI_ID, PUR_QTY, USED_QTY, REST_QTY FROM D_CHEMI");
        for (; !rs->eof(); rs->MoveNext()) {
            const Value pur = rs->Fields(1), used = rs->Fields(2), rest = rs->Fields(3);
            if (pur.isNull() || used.isNull())
                EXPECT_TRUE(rest.isNull()) << rs->Fields(0).toLong();
            else
                EXPECT_DOUBLE_EQ(rest.toDouble(), pur.toDouble() - used.toDouble()) << rs->Fields(0).toLong();
        }
    }
};

TEST_P(ChemiStock, EitherDirectionOfTheUnitTableConverts)
{
    struct { std::tuple<long, long, double> unitRow; long lineUnit; double used; } cases[] = {
        {{1, 2, 1000}, 2, 0.5},   // purchase unit -> line unit: the inverse rate
        {{2, 1, 0.001}, 2, 0.5},  // line unit -> purchase unit: the rate itself
        {{1, 1, 5}, 1, 500},      // the purchase's own unit counts unchanged
        {{3, 4, 2}, 2, 0},        // a pair the table does not list adds nothing
    };
    for (const auto &c : cases) {
        hb::gDb->EXEC("DELETE FROM D_DIARY_DTL");
        hb::gDb->EXEC("DELETE FROM D_CHEMI");
        units({c.unitRow});
        purchase(1, 7, 2, 1);
        line(1, kDay, 1, 7, Value(500), c.lineUnit);
        hb::CalChemiStock(*hb::gDb, *hb::gWork, kDay, 1);
        EXPECT_DOUBLE_EQ(col("USED_QTY", 7).toDouble(), c.used) << std::get<0>(c.unitRow) << "->" << std::get<1>(c.unitRow);
        EXPECT_DOUBLE_EQ(col("REST_QTY", 7).toDouble(), 2 - c.used);
    }
}

TEST_P(ChemiStock, APurchaseAndALineWithoutUnitCountUnchanged)
{
    // A unit box never visited leaves Null, its empty entry 0: both mean "no unit", and a line
    // without unit of a purchase without unit is in the purchase's own unit.
    struct { Value purUnit, lineUnit; double used; } cases[] = {
        {Value::null(), Value::null(), 2},
        {Value(0), Value::null(), 2},
        {Value::null(), Value(0), 2},
        {Value(0), Value(0), 2},
        {Value::null(), Value(4), 0},  // a unit against none: no factor, as before
        {Value(4), Value::null(), 0},
    };
    for (const auto &c : cases) {
        hb::gDb->EXEC("DELETE FROM D_DIARY_DTL");
        hb::gDb->EXEC("DELETE FROM D_CHEMI");
        hb::gDb->EXEC("INSERT INTO D_CHEMI (FMR_ID, CHEMI_ID, CHEMI_NM, PUR_QTY, PUR_UNIT) VALUES (1, 7, 'x', 10, ?)",
                      {c.purUnit});
        hb::gDb->EXEC("INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO, WORK_KBN, CHEMI_ID, QTY, UNIT_ID) "
                      "VALUES (1, ?, 1, 5, 7, 1.5, ?), (1, ?, 1, 5, 7, 0.5, ?)",
                      {Value(kDay), c.lineUnit, Value(kOtherDay), c.lineUnit});
        hb::CalChemiStock(*hb::gDb, *hb::gWork, kDay, 1);
        const QString which = c.purUnit.displayText() + "/" + c.lineUnit.displayText();
        EXPECT_DOUBLE_EQ(col("USED_QTY", 7).toDouble(), c.used) << which.toStdString();
        EXPECT_DOUBLE_EQ(col("REST_QTY", 7).toDouble(), 10 - c.used) << which.toStdString();
    }
}

TEST_P(ChemiStock, ShippedUnitTableAgreesWithTheFixedFactors)
{
    // One purchase per pair of units, each used once on the day.
    long id = 0;
    for (long pur = 1; pur <= 5; ++pur) {
        for (long use = 1; use <= 5; ++use) {
            ++id;
            purchase(1, id, 1000, pur);
            line(1, kDay, id, id, Value(500), use);
        }
    }
    hb::CalChemiStock(*hb::gDb, *hb::gWork, kDay, 1);
    id = 0;
    for (long pur = 1; pur <= 5; ++pur) {
        for (long use = 1; use <= 5; ++use) {
            ++id;
            EXPECT_DOUBLE_EQ(col("USED_QTY", id).toDouble(), 500 * hb::GetUnitRate(pur, use)) << pur << "<-" << use;
        }
    }
    EXPECT_DOUBLE_EQ(col("USED_QTY", 1 * 5 + 1).toDouble(), 0.5);  // 500 g of a purchase in kg
    expectRestIsPurchaseLessUse();
}

TEST_P(ChemiStock, SumsEveryDayOfTheGrowerOnly)
{
    const Value n = Value::null();
    purchase(1, 1, 10, 2);                    // kg
    purchase(1, 2, 5, 5, Value(1), Value(4));  // not used on the day: left as it is
    purchase(2, 3, 8, 2, Value(3), Value(99)); // another grower's, with a stale rest
    purchase(2, 4, 8, 2);                      // never recomputed: USED_QTY stays Null
    purchase(2, 5, 10, 2, n, Value(10));       // a rest without use: Null like the others
    purchase(2, 6, 0, 2, Value(3), Value(1));  // a rest without purchase (Null below)
    purchase(1, 7, 5, 2, Value(7.5), Value(0)); // used beyond the purchase
    hb::gDb->EXEC("UPDATE D_CHEMI SET PUR_QTY=NULL WHERE CHEMI_ID=6");
    line(1, kDay, 1, 1, Value(500), 1);        // 0.5 kg
    line(1, kDay, 2, 1, Value(2), 2);          // 2 kg
    line(1, kDay, 3, 1, Value(7), 4);          // mL of a purchase in kg: no factor
    line(1, kDay, 4, 0, Value::null(), 0);     // a line of another kind of work
    line(1, kOtherDay, 1, 1, Value(1.25), 2);  // the same purchase on another day
    line(2, kDay, 1, 1, Value(100), 2);        // another grower naming the number
    hb::CalChemiStock(*hb::gDb, *hb::gWork, kDay, 1);
    EXPECT_DOUBLE_EQ(col("USED_QTY", 1).toDouble(), 3.75);
    EXPECT_DOUBLE_EQ(col("REST_QTY", 1).toDouble(), 6.25);
    EXPECT_DOUBLE_EQ(col("USED_QTY", 2).toDouble(), 1);
    EXPECT_DOUBLE_EQ(col("REST_QTY", 3).toDouble(), 5);  // every row's rest is recomputed
    EXPECT_TRUE(col("REST_QTY", 4).isNull());
    expectRestIsPurchaseLessUse();
}

TEST_P(ChemiStock, APurchaseWhoseLineWasRemovedIsRecomputed)
{
    purchase(1, 1, 10, 2);
    purchase(1, 2, 10, 2);
    purchase(2, 3, 10, 2, Value(4), Value(6));
    line(1, kDay, 1, 1, Value(3), 2);
    line(1, kDay, 2, 2, Value(1), 2);
    line(1, kOtherDay, 1, 2, Value(2), 2);
    hb::CalChemiStock(*hb::gDb, *hb::gWork, kDay, 1);
    EXPECT_DOUBLE_EQ(col("USED_QTY", 1).toDouble(), 3);
    EXPECT_DOUBLE_EQ(col("USED_QTY", 2).toDouble(), 3);

    // The day is saved without its lines: without the loaded list nothing would be recomputed.
    hb::gDb->EXEC("DELETE FROM D_DIARY_DTL WHERE WORK_DATE=?", {Value(kDay)});
    hb::CalChemiStock(*hb::gDb, *hb::gWork, kDay, 1);
    EXPECT_DOUBLE_EQ(col("USED_QTY", 1).toDouble(), 3);

    hb::CalChemiStock(*hb::gDb, *hb::gWork, kDay, 1, {1, 2, 3});
    EXPECT_DOUBLE_EQ(col("USED_QTY", 1).toDouble(), 0);
    EXPECT_DOUBLE_EQ(col("REST_QTY", 1).toDouble(), 10);
    EXPECT_DOUBLE_EQ(col("USED_QTY", 2).toDouble(), 2);  // its line of the other day remains
    EXPECT_DOUBLE_EQ(col("USED_QTY", 3).toDouble(), 4);  // another grower's purchase is not touched

    // A line moved to another purchase: the old one drops to 0, the new one counts it.
    line(1, kDay, 1, 2, Value(4), 2);
    hb::CalChemiStock(*hb::gDb, *hb::gWork, kDay, 1, {1});
    EXPECT_DOUBLE_EQ(col("USED_QTY", 1).toDouble(), 0);
    EXPECT_DOUBLE_EQ(col("USED_QTY", 2).toDouble(), 6);
    expectRestIsPurchaseLessUse();
}

TEST_P(ChemiStock, ARunWithoutPurchasesWritesNothingOfTheLastRun)
{
    purchase(1, 1, 10, 2);
    line(1, kDay, 1, 1, Value(2), 2);
    hb::CalChemiStock(*hb::gDb, *hb::gWork, kDay, 1);
    EXPECT_DOUBLE_EQ(col("USED_QTY", 1).toDouble(), 2);

    hb::gDb->EXEC("UPDATE D_CHEMI SET USED_QTY=7, REST_QTY=0 WHERE CHEMI_ID=1");
    line(1, kOtherDay, 1, 0, Value::null(), 0);  // that day names no purchase
    line(1, kOtherDay, 2, 9, Value(1), 2);       // nor one of the grower's
    hb::CalChemiStock(*hb::gDb, *hb::gWork, kOtherDay, 1);
    EXPECT_DOUBLE_EQ(col("USED_QTY", 1).toDouble(), 7);
    EXPECT_DOUBLE_EQ(col("REST_QTY", 1).toDouble(), 3);
    EXPECT_EQ(hb::gWork->DCount("*", "W_CHEMI_USE", "").toLong(), 0);

    // A day with no lines and nothing loaded changes nothing at all.
    hb::gDb->EXEC("UPDATE D_CHEMI SET REST_QTY=0 WHERE CHEMI_ID=1");
    hb::CalChemiStock(*hb::gDb, *hb::gWork, QDateTime(QDate(2024, 7, 1), QTime(0, 0)), 1);
    EXPECT_DOUBLE_EQ(col("REST_QTY", 1).toDouble(), 0);
}

TEST_P(ChemiStock, RunsInsideTheCallersTransaction)
{
    purchase(1, 1, 10, 2, Value(0), Value(10));
    line(1, kDay, 1, 1, Value(2), 2);
    {
        hb::TransactionScope save(*hb::gDb);
        hb::CalChemiStock(*hb::gDb, *hb::gWork, kDay, 1);
        EXPECT_TRUE(hb::gDb->inTransaction());
        EXPECT_DOUBLE_EQ(col("USED_QTY", 1).toDouble(), 2);
    }  // not committed: rolled back
    EXPECT_DOUBLE_EQ(col("USED_QTY", 1).toDouble(), 0);
    EXPECT_DOUBLE_EQ(col("REST_QTY", 1).toDouble(), 10);
}

TEST_P(ChemiStock, ClearingResetsOnlyTheGrowersUnusedPurchases)
{
    struct Case {
        long fmr, id;
        Value pur, used, rest;  // as stored
        long usedBy;            // the grower of a line naming it, 0 for none
        Value wantUsed, wantRest;
    } cases[] = {
        {2, 1, Value(10.0), Value(5.0), Value(5.0), 0, Value(0.0), Value(10.0)},      // unused
        {2, 2, Value(10.0), Value(4.0), Value(6.0), 2, Value(4.0), Value(6.0)},       // used by the grower
        {2, 3, Value(10.0), Value(4.0), Value(6.0), 1, Value(4.0), Value(6.0)},       // by another grower only
        {1, 4, Value(10.0), Value(5.0), Value(5.0), 0, Value(5.0), Value(5.0)},       // another grower's
        {2, 5, Value(10.0), Value::null(), Value::null(), 0, Value(0.0), Value(10.0)}, // new: Null use
        {2, 6, Value::null(), Value(3.0), Value(1.0), 0, Value(0.0), Value::null()},   // no quantity bought
        {2, 7, Value(10.0), Value(0.0), Value(10.0), 0, Value(0.0), Value(10.0)},      // reset already
        {2, 8, Value(10.0), Value(0.0), Value::null(), 0, Value(0.0), Value(10.0)},    // rest lost
        {3, 9, Value(10.0), Value::null(), Value(10.0), 0, Value::null(), Value(10.0)}, // Null use, whole rest: reset below
    };
    long dtl = 0;
    for (const Case &c : cases) {
        hb::gDb->EXEC("INSERT INTO D_CHEMI (FMR_ID, CHEMI_ID, CHEMI_NM, PUR_QTY, PUR_UNIT, USED_QTY, REST_QTY) "
                      "VALUES (?, ?, 'x', ?, 1, ?, ?)",
                      {Value(c.fmr), Value(c.id), c.pur, c.used, c.rest});
        if (c.usedBy)
            line(c.usedBy, kDay, ++dtl, c.id, Value(1), 1);
    }
    // Lines naming no purchase (0, Null) use none.
    line(2, kOtherDay, 1, 0, Value(1), 1);
    hb::gDb->EXEC("INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO, WORK_KBN) VALUES (2, ?, 2, 1)", {Value(kOtherDay)});
    const auto expectCases = [&](const char *when) {
        for (const Case &c : cases) {
            EXPECT_EQ(col("USED_QTY", c.id), c.wantUsed) << when << " " << c.id;
            EXPECT_EQ(col("REST_QTY", c.id), c.wantRest) << when << " " << c.id;
        }
    };
    hb::ClearChemiUse(*hb::gDb, Value());  // no grower: nothing
    EXPECT_EQ(col("USED_QTY", 1), Value(5.0));
    hb::ClearChemiUse(*hb::gDb, Value(2));
    expectCases("first");
    hb::ClearChemiUse(*hb::gDb, Value(2));
    expectCases("again");
    hb::ClearChemiUse(*hb::gDb, Value("1"));  // a grower ID held as text
    EXPECT_EQ(col("USED_QTY", 4), Value(0.0));
    EXPECT_EQ(col("REST_QTY", 4), Value(10.0));
    hb::ClearChemiUse(*hb::gDb, Value(3));  // the grower's only purchase to reset
    EXPECT_EQ(col("USED_QTY", 9), Value(0.0));
}

TEST_P(ChemiStock, YearsOfLinesSumAsTheirLinesConvertedOneByOne)
{
    // The shipped unit table, with the opposite direction of g -> kg listed too.
    units({{1, 2, 0.001}, {2, 3, 1000000}, {3, 1, 0.001}, {4, 5, 0.001}, {5, 4, 1000}, {6, 1, 0.25}});
    const std::map<std::pair<long, long>, double> unitRows = {
        {{1, 2}, 0.001}, {{2, 3}, 1000000}, {{3, 1}, 0.001}, {{4, 5}, 0.001}, {{5, 4}, 1000}, {{6, 1}, 0.25}};
    // The factor that turns one line unit into purchase units, as the conversion steps give it.
    const auto rate = [&](long pur, long dtl) -> std::optional<double> {
        if (pur == dtl)
            return 1.0;
        std::optional<double> r;
        if (auto it = unitRows.find({pur, dtl}); it != unitRows.end())
            r = 1 / it->second;
        if (auto it = unitRows.find({dtl, pur}); it != unitRows.end())
            r = it->second;
        return r;
    };
    // Purchases of two growers in every unit; three years of lines of all sorts of units and
    // quantities (Null, negative, fractions), each day naming one or two purchases.
    const long purchaseUnits[] = {1, 2, 3, 4, 5, 6, 1, 4};
    for (long c = 1; c <= 8; ++c) {
        purchase(1, c, 1000, purchaseUnits[c - 1]);
        purchase(2, 100 + c, 1000, purchaseUnits[c - 1]);
    }
    std::mt19937 random(20240603);
    std::map<long, double> expected;
    std::vector<Value> values;
    int rows = 0;
    const auto flush = [&] {
        if (rows == 0)
            return;
        QStringList tuples;
        for (int i = 0; i < rows; ++i)
            tuples << "(?, ?, ?, 5, ?, ?, ?)";
        hb::gDb->EXEC("INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO, WORK_KBN, CHEMI_ID, QTY, UNIT_ID) VALUES "
                          + tuples.join(", "),
                      values);
        values.clear();
        rows = 0;
    };
    const QDate start = kDay.date().addYears(-3);
    for (QDate d = start; d <= kDay.date(); d = d.addDays(1)) {
        for (long no = 1; no <= 2; ++no) {
            const long fmr = 1 + static_cast<long>(random() % 2);
            const long chemi = (fmr == 1 ? 0 : 100) + 1 + static_cast<long>(random() % 8);
            const long unit = static_cast<long>(random() % 7);
            const int kind = static_cast<int>(random() % 10);
            const Value qty = kind == 0 ? Value::null() : Value((kind == 1 ? -1.0 : 1.0) * (random() % 100000) / 64.0);
            values.insert(values.end(), {Value(fmr), Value(d), Value(no), Value(chemi), qty, Value(unit)});
            if (++rows == 300)
                flush();
            const auto r = rate(purchaseUnits[(chemi - 1) % 100], unit);
            if (fmr == 1 && r && !qty.isNull())
                expected[chemi] += qty.toDouble() * *r;
        }
    }
    flush();
    line(1, kDay, 3, 1, Value(2.5), 2);
    line(1, kDay, 4, 2, Value(0.75), 3);
    expected[1] += 2.5 * 1000;
    expected[2] += 0.75 * 0.000001;

    hb::CalChemiStock(*hb::gDb, *hb::gWork, kDay, 1, {3, 4, 5, 6, 7, 8});
    for (long c = 1; c <= 8; ++c) {
        const double got = col("USED_QTY", c).toDouble();
        const double want = expected[c];
        EXPECT_NEAR(got, want, 1e-9 * std::max(1.0, std::fabs(want))) << "purchase " << c;
        EXPECT_TRUE(col("USED_QTY", 100 + c).isNull()) << "another grower's purchase " << 100 + c;
    }
    expectRestIsPurchaseLessUse();
    // The work table holds one row per purchase and pair of units, not one per line.
    auto rs = hb::gWork->GetFwdOnlyRst("SELECT COUNT(*), COUNT(DISTINCT CHEMI_ID * 100 + PUR_UNIT_ID * 10 + DTL_UNIT_ID) "
                                       "FROM W_CHEMI_USE");
    EXPECT_EQ(rs->Fields(0).toLong(), rs->Fields(1).toLong());
    EXPECT_LE(rs->Fields(0).toLong(), 8 * 7);
}

HB_INSTANTIATE_BOTH_BACKENDS(ChemiStock);

}  // namespace
