// Pesticide purchases as stored: their numbers over the whole table, the purchase voucher and
// its number, what a save stores, the delete refusal, and the list's query with its filters.
// (Copies, deletes, rows gone meanwhile and failed saves are driven through the windows.)

#include "chemifixture.h"
#include "core/db.h"
#include "bookkeeping/ledger.h"
#include "core/recordhold.h"

using chemitest::day;
using hb::Value;

namespace {

using ChemiSave = chemitest::ChemiDb;
HB_INSTANTIATE_BOTH_BACKENDS(ChemiSave);

// A new purchase as the input prepares it: the current grower, no number, cash, valid.
hb::ChemiRec newPurchase(long fmr = 1)
{
    hb::ChemiRec r;
    r.FMR_ID = Value(fmr);
    r.CHEMI_ID = r.PUR_DATE = r.USED_QTY = r.REST_QTY = r.UDATE = r.LEDGE_ID = Value::null();
    r.CHEMI_NM = Value("ガードＡ－１");
    r.ACC_ID = Value(1000);
    r.CHK_FLG = Value(1);
    return r;
}

hb::ChemiSaveResult save(int mode, hb::ChemiRec &r)
{
    return hb::SaveChemi(*hb::gDb, mode, r);
}

TEST(LeadingWholeNumber, DigitsBeforeAnythingElse)
{
    struct { const char *text; bool ok; long n; } cases[] = {
        {"123ab", true, 123}, {"a12", false, 0}, {"", false, 0}, {"  42", true, 42}, {"-7x", true, -7},
        {"12.9", true, 12},   {"+3", true, 3},    {"99999999999", false, 0}, {"2147483647", true, 2147483647},
    };
    for (const auto &c : cases) {
        long n = 0;
        EXPECT_EQ(hb::leadingWholeNumber(QString::fromUtf8(c.text), &n), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(n, c.n) << c.text;
        }
    }
}

TEST_P(ChemiSave, NumbersRunOverTheWholeTable)
{
    hb::ChemiRec first = newPurchase(1);
    ASSERT_EQ(save(hb::kEditAdd, first), hb::ChemiSaveResult::Saved);
    EXPECT_EQ(first.CHEMI_ID.toLong(), 1) << "the first purchase of an empty table";
    hb::ChemiRec second = newPurchase(1);
    save(hb::kEditAdd, second);
    hb::ChemiRec other = newPurchase(2);
    save(hb::kEditAdd, other);
    EXPECT_EQ(second.CHEMI_ID.toLong(), 2);
    EXPECT_EQ(other.CHEMI_ID.toLong(), 3) << "grower B's purchase after grower A's 1 and 2";
    EXPECT_EQ(col("FMR_ID", 3).toLong(), 2);
}

TEST_P(ChemiSave, APurchasePostsItsVoucher)
{
    struct Case {
        const char *what;
        Value date, qty, unit, acc, amt, shop, notes;
        bool posts;
        long dAcc, dKbn, cAcc, cKbn;
        Value qtyText;  // the option name on the 1130 side
        double voucherAmt;
        double storedAmt;
    };
    const Value null = Value::null();
    const Case cases[] = {
        {"5000 in cash", day(2024, 6, 1), Value(12.0), Value(5), Value(1000), Value(hb::Currency::fromDouble(5000)),
         Value("農協 \"南\""), null, true, 1130, 3, 1000, 0, Value("12.0L"), 5000, 5000},
        {"-300 swaps the sides", day(2024, 6, 1), Value(12.0), Value(5), Value(2000),
         Value(hb::Currency::fromDouble(-300)), null, Value("返品 'a'"), true, 2000, 0, 1130, 3, Value("12.0L"), 300,
         -300},
        {"no unit", day(2024, 6, 1), Value(12.0), null, Value(1000), Value(hb::Currency::fromDouble(80)), null, null,
         true, 1130, 3, 1000, 0, Value("12.0"), 80, 80},
        {"no quantity, no unit", day(2024, 6, 1), null, null, Value(1000), Value(hb::Currency::fromDouble(80)), null,
         null, true, 1130, 3, 1000, 0, null, 80, 80},
        {"amount 0", day(2024, 6, 1), Value(1.0), Value(5), Value(1000), Value(hb::Currency::fromDouble(0)), null, null,
         false, 0, 0, 0, 0, null, 0, 0},
        {"no amount", day(2024, 6, 1), Value(1.0), Value(5), Value(1000), null, null, null, false, 0, 0, 0, 0, null, 0,
         0},
        {"no date", null, Value(1.0), Value(5), Value(1000), Value(hb::Currency::fromDouble(900)), null, null, false, 0,
         0, 0, 0, null, 0, 900},
    };
    long next = 1;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        hb::ChemiRec r = newPurchase();
        r.PUR_DATE = c.date;
        r.PUR_QTY = c.qty;
        r.PUR_UNIT = c.unit;
        r.ACC_ID = c.acc;
        r.PUR_AMT = c.amt;
        r.PUR_SHOP = c.shop;
        r.NOTES = c.notes;
        ASSERT_EQ(save(hb::kEditAdd, r), hb::ChemiSaveResult::Saved);
        const long id = r.CHEMI_ID.toLong();
        EXPECT_DOUBLE_EQ(col("PUR_AMT", id).toDouble(), c.storedAmt);
        if (!c.posts) {
            EXPECT_EQ(r.LEDGE_ID.toLong(), 0);
            EXPECT_EQ(col("LEDGE_ID", id).toLong(), 0);
            continue;
        }
        const long ledge = r.LEDGE_ID.toLong();
        EXPECT_EQ(ledge, next++) << "the grower's next voucher number";
        EXPECT_EQ(col("LEDGE_ID", id).toLong(), ledge);
        auto rs = hb::gDb->GetFwdOnlyRst("SELECT * FROM D_LEDGE WHERE FMR_ID=1 AND LEDGE_ID=?", {Value(ledge)});
        ASSERT_FALSE(rs->eof());
        const hb::LedgeRec v = hb::LedgeRec::fromRow(*rs);
        EXPECT_EQ(v.LEDGE_DATE.toDate().date(), QDate(2024, 6, 1));
        EXPECT_EQ(v.D_ACC_ID.toLong(), c.dAcc);
        EXPECT_EQ(v.D_OPT_KBN.toLong(), c.dKbn);
        EXPECT_EQ(v.D_OPT_ID.toLong(), c.dKbn == 3 ? id : 0);
        EXPECT_EQ(v.D_OPT_NM, c.dKbn == 3 ? c.qtyText : null);
        EXPECT_EQ(v.C_ACC_ID.toLong(), c.cAcc);
        EXPECT_EQ(v.C_OPT_KBN.toLong(), c.cKbn);
        EXPECT_EQ(v.C_OPT_ID.toLong(), c.cKbn == 3 ? id : 0);
        EXPECT_EQ(v.C_OPT_NM, c.cKbn == 3 ? c.qtyText : null);
        EXPECT_EQ(v.CTR_NM, c.shop.isNull() ? null : c.shop);
        EXPECT_EQ(v.NOTES, c.notes.isNull() ? Value("") : c.notes) << "an empty note is ''";
        EXPECT_DOUBLE_EQ(v.AMT.toDouble(), c.voucherAmt);
        EXPECT_TRUE(v.UDATE.isNull());
        EXPECT_EQ(v.LAST_TM, Value("PC-TEST"));
    }
}

TEST_P(ChemiSave, AModifyRepostsUnderItsNumberAndADateClearedRemovesIt)
{
    put({.id = 5, .date = day(2024, 6, 1), .qty = Value(2.0), .unit = Value(5), .acc = Value(1000),
         .amt = Value(hb::Currency::fromDouble(3000)), .ledge = Value(17)});
    putVoucher(1, 17, day(2024, 6, 1), 1130, 1000, 3000);
    putVoucher(1, 30, day(2024, 6, 9), 1000, 4000, 10);
    hb::ChemiRec r = row(5);
    r.PUR_AMT = Value(hb::Currency::fromDouble(3500));
    ASSERT_EQ(save(hb::kEditModify, r), hb::ChemiSaveResult::Saved);
    EXPECT_EQ(r.LEDGE_ID.toLong(), 17);
    EXPECT_DOUBLE_EQ(one("SELECT AMT FROM D_LEDGE WHERE FMR_ID=1 AND LEDGE_ID=17").toDouble(), 3500);
    EXPECT_FALSE(one("SELECT UDATE FROM D_LEDGE WHERE FMR_ID=1 AND LEDGE_ID=17").isNull());
    EXPECT_EQ(count("D_LEDGE"), 2);
    EXPECT_FALSE(col("UDATE", 5).isNull());
    EXPECT_EQ(col("IDATE", 5).toDate(), QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5))) << "kept";
    EXPECT_EQ(one("SELECT IDATE FROM D_LEDGE WHERE FMR_ID=1 AND LEDGE_ID=17").toDate(),
              QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5))) << "the purchase's";
    // A purchase row without one leaves its voucher's Null.
    hb::gDb->EXEC("UPDATE D_CHEMI SET IDATE=NULL WHERE CHEMI_ID=5");
    r = row(5);
    ASSERT_EQ(save(hb::kEditModify, r), hb::ChemiSaveResult::Saved);
    EXPECT_TRUE(one("SELECT IDATE FROM D_LEDGE WHERE FMR_ID=1 AND LEDGE_ID=17").isNull());

    r.PUR_DATE = Value::null();
    ASSERT_EQ(save(hb::kEditModify, r), hb::ChemiSaveResult::Saved);
    EXPECT_EQ(col("LEDGE_ID", 5).toLong(), 0);
    EXPECT_EQ(count("D_LEDGE", "LEDGE_ID=17"), 0);
    EXPECT_EQ(count("D_LEDGE"), 1) << "other vouchers stay";
}

TEST_P(ChemiSave, StoredValuesAndTheirAuditColumns)
{
    struct Case { Value qty, used, amt, chk; double storedQty, storedUsed, storedRest, storedAmt; long storedChk; };
    const Value null = Value::null();
    const Case cases[] = {
        {Value(20.0), Value(5.0), Value(hb::Currency::fromDouble(1234.5)), Value(1), 20, 5, 15, 1234.5, -1},
        {null, null, null, Value(0), 0, 0, 0, 0, 0},
        {Value(3.0), null, null, null, 3, 0, 3, 0, -1},
    };
    for (const Case &c : cases) {
        hb::ChemiRec r = newPurchase();
        r.CHEMI_NM = Value("O'Neil #1 100% \\ *");
        r.PUR_QTY = c.qty;
        r.USED_QTY = c.used;
        r.PUR_AMT = c.amt;
        r.CHK_FLG = c.chk;
        r.REST_QTY = hb::chemiRestQty(r);
        ASSERT_EQ(save(hb::kEditAdd, r), hb::ChemiSaveResult::Saved);
        const hb::ChemiRec s = row(r.CHEMI_ID.toLong());
        EXPECT_EQ(s.CHEMI_NM, Value("O'Neil #1 100% \\ *"));
        EXPECT_DOUBLE_EQ(s.PUR_QTY.toDouble(), c.storedQty);
        EXPECT_DOUBLE_EQ(s.USED_QTY.toDouble(), c.storedUsed);
        EXPECT_DOUBLE_EQ(s.REST_QTY.toDouble(), c.storedRest);
        EXPECT_DOUBLE_EQ(s.PUR_AMT.toDouble(), c.storedAmt);
        EXPECT_EQ(s.CHK_FLG.toLong(), c.storedChk);
        EXPECT_FALSE(s.IDATE.isNull());
        EXPECT_TRUE(s.UDATE.isNull());
        EXPECT_EQ(s.LAST_TM, Value("PC-TEST"));
        EXPECT_TRUE(s.HOLD_TM.isNull());
        EXPECT_EQ(r.LAST_TM, Value("PC-TEST")) << "the record holds what was written";
    }
}

TEST_P(ChemiSave, ADeleteIsRefusedWhileADiaryLineUsesThePurchase)
{
    put({.id = 5});
    put({.id = 6});
    putUse(1, 5, day(2024, 7, 9), 1);
    putUse(1, 5, day(2024, 6, 3), 1);
    putUse(2, 6, day(2024, 6, 4), 1);  // another grower's line naming the number
    EXPECT_EQ(hb::chemiDeleteRefusal(Value(1), Value(5)), QStringLiteral("この農薬は6/3に使用されています。削除できません。"));
    EXPECT_EQ(hb::chemiDeleteRefusal(Value(1), Value(6)), QString());
}

// ---- the list's query ------------------------------------------------------------------------------

TEST_P(ChemiSave, TheListsFiltersSelectAndOrder)
{
    const Value null = Value::null();
    put({.id = 1, .name = Value("Bアタック"), .regNo = Value(123), .uses = Value(1), .date = day(2024, 6, 3),
         .rest = Value(2.0)});
    put({.id = 2, .name = Value("Aガード"), .regNo = Value(77), .uses = Value(2), .date = day(2024, 6, 3),
         .rest = Value(0.0)});
    put({.id = 3, .name = Value("O'Neil 50%液"), .date = day(2024, 5, 1), .rest = Value(-1.0)});
    put({.id = 4, .name = Value("x_y\\z#*"), .date = null, .rest = null});
    put({.fmr = 2, .id = 5, .name = Value("他の人の"), .date = day(2024, 6, 3), .rest = Value(5.0)});
    put({.id = 6, .name = Value("50液"), .date = day(2024, 6, 10), .rest = Value(1.0)});

    struct Case { const char *what; hb::ChemiFilter f; std::vector<long> ids; };
    const auto with = [](auto change) {
        hb::ChemiFilter f;
        f.fmrId = 1;
        f.stock = hb::ChemiStock::All;
        change(f);
        return f;
    };
    const Case cases[] = {
        {"all, by date then name", with([](hb::ChemiFilter &) {}), {4, 3, 2, 1, 6}},
        {"stock left", with([](hb::ChemiFilter &f) { f.stock = hb::ChemiStock::Left; }), {1, 6}},
        {"no stock: 0, negative, none", with([](hb::ChemiFilter &f) { f.stock = hb::ChemiStock::None; }), {4, 3, 2}},
        {"a quote matches itself", with([](hb::ChemiFilter &f) { f.name = "'"; }), {3}},
        {"% is a wildcard", with([](hb::ChemiFilter &f) { f.name = "l 5%液"; }), {3}},
        {"% alone matches all", with([](hb::ChemiFilter &f) { f.name = "%"; }), {4, 3, 2, 1, 6}},
        {"_ is a wildcard", with([](hb::ChemiFilter &f) { f.name = "x_y"; }), {4}},
        {"a backslash, # and * match themselves", with([](hb::ChemiFilter &f) { f.name = "\\z#*"; }), {4}},
        {"* is no wildcard", with([](hb::ChemiFilter &f) { f.name = "x*"; }), {}},
        {"the escape character is a character", with([](hb::ChemiFilter &f) { f.name = "!"; }), {}},
        {"one day in both bounds", with([](hb::ChemiFilter &f) { f.from = f.to = QDate(2024, 6, 3); }), {2, 1}},
        {"from a day on", with([](hb::ChemiFilter &f) { f.from = QDate(2024, 6, 4); }), {6}},
        {"registration number", with([](hb::ChemiFilter &f) { f.byRegNo = true; f.regNo = 123; }), {1}},
        {"registration number 0", with([](hb::ChemiFilter &f) { f.byRegNo = true; f.regNo = 0; }), {}},
        {"use", with([](hb::ChemiFilter &f) { f.uses = 2; }), {2}},
        {"other grower", with([](hb::ChemiFilter &f) { f.fmrId = 2; }), {5}},
    };
    for (const Case &c : cases) {
        std::vector<long> ids;
        for (const hb::ChemiRec &r : hb::queryChemi(c.f))
            ids.push_back(r.CHEMI_ID.toLong());
        EXPECT_EQ(ids, c.ids) << c.what;
    }
    const std::vector<hb::ChemiRec> all = hb::queryChemi(with([](hb::ChemiFilter &) {}));
    EXPECT_TRUE(all.front().PUR_DATE.isNull()) << "Null stays Null";
    EXPECT_EQ(all.back().LAST_TM, Value("OLD-PC")) << "every column is read";
}

TEST_P(ChemiSave, FortyThousandPurchasesLoad)
{
    hb::gDb->Begintrans();
    for (long i = 1; i <= 40000; ++i)
        hb::gDb->EXEC("INSERT INTO D_CHEMI (FMR_ID, CHEMI_ID, CHEMI_NM, PUR_QTY, REST_QTY, CHK_FLG) VALUES (1, ?, ?, 1, 1, -1)",
                      {Value(i), Value(QStringLiteral("薬剤%1").arg(i))});
    hb::gDb->CommitTrans();
    hb::ChemiFilter f;
    f.fmrId = 1;
    const std::vector<hb::ChemiRec> rows = hb::queryChemi(f);
    ASSERT_EQ(rows.size(), 40000u);
    EXPECT_EQ(rows.back().CHEMI_NM.toString().left(2), QStringLiteral("薬剤"));
}

}  // namespace
