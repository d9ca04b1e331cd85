// Saving a diary day, on the records as the window holds them: the pricing of a pesticide use,
// the day's vouchers and their audit columns, the pesticide-use vouchers and their numbers, the
// renumbered lines and the stock of the purchases concerned.

#include "diaryfixture.h"
#include "diary/diarysave.h"

using diarytest::day;
using diarytest::kDay;
using hb::Value;

namespace {

class DiarySaving : public diarytest::DiaryDb {
protected:
    // The day as the window holds it after loading.
    static hb::DiarySave loaded(long fmr = 1)
    {
        return hb::DiarySave::asLoaded(hb::LoadDiaryDay(fmr, kDay.startOfDay()));
    }
    static hb::LedgeRec voucher(long id, long fmr = 1)
    {
        auto rs = hb::gDb->GetFwdOnlyRst("SELECT * FROM D_LEDGE WHERE FMR_ID=? AND LEDGE_ID=?", {Value(fmr), Value(id)});
        EXPECT_FALSE(rs->eof()) << "voucher " << id;
        return rs->eof() ? hb::LedgeRec() : hb::LedgeRec::fromRow(*rs);
    }
    static long count(const QString &table, const QString &where = "1=1")
    {
        return static_cast<long>(hb::gDb->DCount("*", table, where).toLong());
    }
    static double purchaseField(long chemi, const char *column)
    {
        return one(QStringLiteral("SELECT %1 FROM D_CHEMI WHERE CHEMI_ID=?").arg(column), {Value(chemi)}).toDouble();
    }
    // A pesticide line of planting 3 using purchase `chemi`.
    static hb::DiaryDtlRec pesticideLine(long dtl, long chemi, const Value &qty, long unit, long ledge = 0)
    {
        hb::DiaryDtlRec l;
        l.FMR_ID = Value(1);
        l.WORK_DATE = Value(kDay.startOfDay());
        l.DTL_NO = Value(dtl);
        l.PLANT_ID = Value(3);
        l.WORK_KBN = Value(5);
        l.WORK_NM = Value("防除");
        l.CHEMI_ID = Value(chemi);
        l.QTY = qty;
        l.UNIT_ID = Value(unit);
        l.LEDGE_ID = Value(ledge);
        return l;
    }
    static QDateTime secondsNow() { return QDateTime::currentDateTime().addMSecs(-QTime::currentTime().msec()); }
};

// ---- pricing ---------------------------------------------------------------------------------

TEST_P(DiarySaving, CalChemiAmtPricesTheUseFromThePurchase)
{
    putPurchase(1, 7, 500, 1, 2000);   // 500 g for 2,000: 4 a gram
    putPurchase(1, 8, 500, 2, 2000);   // 500 kg for 2,000: 4 a kilogram
    putPurchase(1, 9, 0, 1, 1000);     // no quantity
    putPurchase(2, 10, 500, 1, 2000);  // another grower's
    const struct {
        const char *what;
        long chemi;
        double qty;
        long unit;
        double cost;
    } cases[] = {
        {"12.5 of the same unit", 7, 12.5, 1, 50},
        {"0.3 rounds down", 7, 0.3, 1, 1},
        {"-0.375 rounds away from zero", 7, -0.375, 1, -2},
        {"0.125 rounds half up", 7, 0.125, 1, 1},
        {"a line without a unit counts in the purchase's", 7, 3, 0, 12},
        {"250 g of a purchase in kg", 8, 250, 1, 1},
        {"a purchase in kg used in mg", 8, 1000000, 3, 4},
        {"a unit of another family", 7, 3, 4, 0},
        {"a purchase without quantity", 9, 3, 1, 0},
        {"a purchase that is gone", 99, 3, 1, 0},
        {"another grower's purchase", 10, 3, 1, 0},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(hb::CalChemiAmt(*hb::gDb, 1, c.chemi, hb::Currency::fromDouble(c.qty), c.unit).toDouble(), c.cost) << c.what;

    EXPECT_EQ(hb::ChemiUseText(Value(2.5), Value(1)), "2.5g");
    EXPECT_EQ(hb::ChemiUseText(Value(-0.375), Value(4)), "-0.4mL");
    EXPECT_EQ(hb::ChemiUseText(Value(3), Value(0)), "3.0");
    EXPECT_EQ(hb::ChemiUseText(Value("12.25"), Value(5)), "12.3L");
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
}

// ---- the day row and the lines --------------------------------------------------------------

TEST_P(DiarySaving, LinesComeBackNumberedFromOneAndTheRowIsUpdated)
{
    putDay({.wth = Value(2), .holdTm = Value("PC-TEST")});
    for (long n : {1, 3, 4})
        putLine({.dtl = n, .name = Value(QStringLiteral("作業%1").arg(n))});
    putLine({.date = kDay.addDays(1), .dtl = 7});  // another day keeps its number
    hb::DiarySave s = loaded();
    s.day.ONE_MSG = Value("It's \"晴れ\" #1 100% \\");
    s.day.LO_TMP = Value("3.5");  // a number held as text is stored as the number
    const QDateTime before = secondsNow();
    const hb::DiarySave out = hb::SaveDiaryDay(*hb::gDb, s);

    auto rs = hb::gDb->GetFwdOnlyRst("SELECT DTL_NO, WORK_NM FROM D_DIARY_DTL WHERE FMR_ID=1 AND WORK_DATE=? ORDER BY DTL_NO",
                                     {day(2014, 10, 24)});
    QStringList stored;
    for (; !rs->eof(); rs->MoveNext())
        stored << rs->Fields(0).displayText() + "=" + rs->Fields(1).displayText();
    EXPECT_EQ(stored, QStringList({"1=作業1", "2=作業3", "3=作業4"}));
    EXPECT_EQ(count("D_DIARY_DTL", "DTL_NO=7"), 1);
    EXPECT_EQ(out.lines[2].DTL_NO, Value(3));

    EXPECT_EQ(one("SELECT ONE_MSG FROM D_DIARY WHERE FMR_ID=1"), Value("It's \"晴れ\" #1 100% \\"));
    EXPECT_DOUBLE_EQ(one("SELECT LO_TMP FROM D_DIARY WHERE FMR_ID=1").toDouble(), 3.5);
    EXPECT_EQ(one("SELECT WTH_ID FROM D_DIARY WHERE FMR_ID=1"), Value(2));
    EXPECT_EQ(one("SELECT IDATE FROM D_DIARY WHERE FMR_ID=1").toDate(), QDateTime(QDate(2014, 1, 2), QTime(3, 4, 5)));
    EXPECT_GE(one("SELECT UDATE FROM D_DIARY WHERE FMR_ID=1").toDate(), before);
    EXPECT_EQ(one("SELECT LAST_TM FROM D_DIARY WHERE FMR_ID=1"), Value("PC-TEST"));
    EXPECT_TRUE(one("SELECT HOLD_TM FROM D_DIARY WHERE FMR_ID=1").isNull());
    EXPECT_EQ(count("D_LEDGE"), 0);
}

// ---- pesticide-use vouchers ----------------------------------------------------------------

TEST_P(DiarySaving, PesticideLinesPostUseVouchersUnderTheGrowersNextNumbers)
{
    putPurchase(1, 7, 500, 1, 2000);
    putLedge(1, 6, day(2014, 3, 1), 1000, 4000, 100);
    putLedge(2, 40, day(2014, 3, 1), 1000, 4000, 100);  // another grower's numbers do not count
    putDay({});
    putLine({.dtl = 1, .kind = 11, .name = Value("誘引")});
    hb::DiarySave s = loaded();
    s.lines.push_back(pesticideLine(2, 7, Value(2.5), 1));
    s.lines.back().NOTES = Value("O'Neil 散布");
    s.lines.push_back(pesticideLine(3, 7, Value(-0.375), 1));
    const QDateTime before = secondsNow();
    const hb::DiarySave out = hb::SaveDiaryDay(*hb::gDb, s);

    ASSERT_EQ(out.lines.size(), 3u);
    EXPECT_EQ(out.lines[0].LEDGE_ID, Value(0));
    EXPECT_EQ(out.lines[1].LEDGE_ID, Value(7));
    EXPECT_EQ(out.lines[2].LEDGE_ID, Value(8));
    EXPECT_EQ(one("SELECT LEDGE_ID FROM D_DIARY_DTL WHERE FMR_ID=1 AND DTL_NO=2"), Value(7));
    EXPECT_EQ(one("SELECT LEDGE_ID FROM D_DIARY_DTL WHERE FMR_ID=1 AND DTL_NO=3"), Value(8));

    // 2.5 g: the use is debited, the purchase credited, at 4 a gram.
    const hb::LedgeRec use = voucher(7);
    EXPECT_EQ(use.LEDGE_DATE.toDate(), kDay.startOfDay());
    EXPECT_EQ(use.D_ACC_ID, Value(4160));
    EXPECT_EQ(use.D_OPT_KBN, Value(2));
    EXPECT_EQ(use.D_OPT_ID, Value(3));
    EXPECT_TRUE(use.D_OPT_NM.isNull());
    EXPECT_EQ(use.C_ACC_ID, Value(1130));
    EXPECT_EQ(use.C_OPT_KBN, Value(3));
    EXPECT_EQ(use.C_OPT_ID, Value(7));
    EXPECT_EQ(use.C_OPT_NM, Value("2.5g"));
    EXPECT_TRUE(use.CTR_NM.isNull());
    EXPECT_EQ(use.NOTES, Value("O'Neil 散布"));
    EXPECT_DOUBLE_EQ(use.AMT.toDouble(), 10);
    EXPECT_GE(use.UDATE.toDate(), before);
    EXPECT_EQ(use.LAST_TM, Value("PC-TEST"));
    EXPECT_TRUE(use.HOLD_TM.isNull());

    // -0.375 g: the sides swap and the amount is stored without its sign.
    const hb::LedgeRec back = voucher(8);
    EXPECT_EQ(back.D_ACC_ID, Value(1130));
    EXPECT_EQ(back.D_OPT_KBN, Value(3));
    EXPECT_EQ(back.D_OPT_ID, Value(7));
    EXPECT_EQ(back.D_OPT_NM, Value("-0.4g"));
    EXPECT_EQ(back.C_ACC_ID, Value(4160));
    EXPECT_EQ(back.C_OPT_ID, Value(3));
    EXPECT_TRUE(back.C_OPT_NM.isNull());
    EXPECT_DOUBLE_EQ(back.AMT.toDouble(), 2);

    // The stock follows the lines: 2.5 - 0.375 used.
    EXPECT_DOUBLE_EQ(purchaseField(7, "USED_QTY"), 2.125);
    EXPECT_DOUBLE_EQ(purchaseField(7, "REST_QTY"), 497.875);
}

TEST_P(DiarySaving, ALineKeepsItsNumberUntilItStopsPosting)
{
    putPurchase(1, 7, 500, 1, 2000);
    putDay({});
    putLine({.dtl = 1, .kind = 5, .chemi = Value(7), .qty = Value(5), .unit = Value(1), .ledge = Value(4)});
    putLedge(1, 4, day(2014, 10, 24), 4160, 1130, 20);
    putLedge(1, 9, day(2014, 5, 1), 1000, 4000, 1);

    // Saved again unchanged: the same number, the same contents.
    hb::SaveDiaryDay(*hb::gDb, loaded());
    EXPECT_EQ(one("SELECT LEDGE_ID FROM D_DIARY_DTL WHERE FMR_ID=1"), Value(4));
    EXPECT_DOUBLE_EQ(voucher(4).AMT.toDouble(), 20);
    EXPECT_EQ(voucher(4).C_OPT_NM, Value("5.0g"));

    // A quantity of 0, or none, removes the voucher and the number.
    for (const Value &qty : {Value(0), Value::null(), Value("")}) {
        hb::gDb->EXEC("UPDATE D_DIARY_DTL SET LEDGE_ID=4, QTY=5");
        hb::gDb->EXEC("DELETE FROM D_LEDGE WHERE LEDGE_ID=4");
        putLedge(1, 4, day(2014, 10, 24), 4160, 1130, 20);
        hb::DiarySave s = loaded();
        s.lines[0].QTY = qty;
        const hb::DiarySave out = hb::SaveDiaryDay(*hb::gDb, s);
        EXPECT_EQ(out.lines[0].LEDGE_ID, Value(0)) << qty.displayText().toStdString();
        EXPECT_EQ(one("SELECT LEDGE_ID FROM D_DIARY_DTL WHERE FMR_ID=1"), Value(0));
        EXPECT_EQ(count("D_LEDGE", "LEDGE_ID=4"), 0);
        EXPECT_EQ(count("D_LEDGE"), 1);  // the earlier day's voucher stays
    }
}

TEST_P(DiarySaving, AUseThatCannotBePricedPostsZeroAndKeepsItsNumber)
{
    putPurchase(1, 7, 500, 1, 2000);
    const struct {
        const char *what;
        long chemi;
        long unit;
    } cases[] = {
        {"purchase row gone", 99, 1},
        {"unit without a factor to the purchase unit", 7, 4},
    };
    for (const auto &c : cases) {
        hb::gDb->EXEC("DELETE FROM D_DIARY_DTL");
        hb::gDb->EXEC("DELETE FROM D_LEDGE");
        putLine({.dtl = 1, .kind = 5, .chemi = Value(c.chemi), .qty = Value(3), .unit = Value(c.unit), .ledge = Value(5)});
        putLedge(1, 5, day(2014, 10, 24), 4160, 1130, 99);
        const hb::DiarySave out = hb::SaveDiaryDay(*hb::gDb, loaded());
        EXPECT_EQ(out.lines[0].LEDGE_ID, Value(5)) << c.what;
        EXPECT_DOUBLE_EQ(voucher(5).AMT.toDouble(), 0) << c.what;
        EXPECT_EQ(voucher(5).C_OPT_ID, Value(c.chemi)) << c.what;
    }
}

// ---- the day's other vouchers ----------------------------------------------------------------

TEST_P(DiarySaving, TheDaysVouchersComeBackWithTheirNumbersContentsAndIdate)
{
    putPurchase(1, 7, 500, 1, 2000, 11);
    hb::gDb->EXEC("INSERT INTO D_SHIP (FMR_ID, SHIP_ID, SHIP_DATE, LEDGE_ID_S, LEDGE_ID_F) VALUES (1, 1, ?, 12, 13)",
                  {day(2014, 10, 24)});
    const auto put = [](long id, long debit, long credit, double amt, const char *notes) {
        hb::gDb->EXEC("INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, D_OPT_KBN, D_OPT_ID, C_ACC_ID, "
                      "C_OPT_KBN, C_OPT_ID, C_OPT_NM, CTR_NM, NOTES, AMT, IDATE, UDATE, LAST_TM) "
                      "VALUES (1, ?, ?, ?, 0, NULL, ?, 3, 7, 'x', '相手', ?, ?, #2014-10-20 08:00:00#, "
                      "#2014-10-21 09:00:00#, 'OLD-PC')",
                      {Value(id), day(2014, 10, 24), Value(debit), Value(credit), Value(notes),
                       Value(hb::Currency::fromDouble(amt))});
    };
    put(11, 1130, 1000, 2000, "農薬購入");
    put(12, 1000, 4000, 3000, "出荷売上");
    put(13, 4520, 1000, 300, "手数料");
    put(14, 1000, 4020, 50, "雑収入");
    putLedge(1, 15, day(2014, 10, 24), 1000, 4020, 70);  // no longer held by the window: deleted
    putLedge(2, 15, day(2014, 10, 24), 1000, 4020, 70);  // another grower's: untouched

    hb::DiarySave s = loaded();
    ASSERT_EQ(s.ledge.size(), 5u);
    s.ledge.pop_back();                                        // 15 removed in the window
    s.ledge[3].AMT = Value(hb::Currency::fromDouble(55));      // 14 changed in the dialog
    hb::LedgeRec added = s.ledge[3];                           // 16 added in the dialog
    added.LEDGE_ID = Value(16);
    added.IDATE = Value();
    added.UDATE = Value::null();
    s.ledge.push_back(added);
    const QDateTime before = secondsNow();
    hb::SaveDiaryDay(*hb::gDb, s);

    EXPECT_EQ(count("D_LEDGE", "FMR_ID=1"), 5);
    EXPECT_EQ(count("D_LEDGE", "FMR_ID=1 AND LEDGE_ID=15"), 0);
    EXPECT_EQ(count("D_LEDGE", "FMR_ID=2 AND LEDGE_ID=15"), 1);
    const QDateTime loadedIdate(QDate(2014, 10, 20), QTime(8, 0));
    const QDateTime loadedUdate(QDate(2014, 10, 21), QTime(9, 0));
    for (long id : {11, 12, 13}) {
        const hb::LedgeRec v = voucher(id);
        EXPECT_EQ(v.IDATE.toDate(), loadedIdate) << id;
        EXPECT_EQ(v.UDATE.toDate(), loadedUdate) << id;
        EXPECT_EQ(v.C_OPT_NM, Value("x")) << id;
        EXPECT_EQ(v.CTR_NM, Value("相手")) << id;
        EXPECT_EQ(v.C_OPT_ID, Value(7)) << id;
        EXPECT_TRUE(v.D_OPT_ID.isNull()) << id;
    }
    EXPECT_DOUBLE_EQ(voucher(11).AMT.toDouble(), 2000);
    EXPECT_EQ(voucher(12).NOTES, Value("出荷売上"));
    EXPECT_EQ(voucher(13).D_ACC_ID, Value(4520));
    // The changed voucher: its IDATE stays, UDATE is the save.
    EXPECT_EQ(voucher(14).IDATE.toDate(), loadedIdate);
    EXPECT_GE(voucher(14).UDATE.toDate(), before);
    EXPECT_DOUBLE_EQ(voucher(14).AMT.toDouble(), 55);
    // The new one: inserted now, never updated.
    EXPECT_GE(voucher(16).IDATE.toDate(), before);
    EXPECT_TRUE(voucher(16).UDATE.isNull());
    EXPECT_EQ(voucher(16).LAST_TM, Value("PC-TEST"));
    // The back-links still find their vouchers.
    EXPECT_EQ(hb::GetLedgeSrcKbn(1, 11), hb::kSrcChemi);
    EXPECT_EQ(hb::GetLedgeSrcKbn(1, 12), hb::kSrcShip);
    EXPECT_EQ(hb::GetLedgeSrcKbn(1, 13), hb::kSrcShip);
}

// ---- stock of the purchases ----------------------------------------------------------------

TEST_P(DiarySaving, AKindChangedAwayFromPesticideDropsTheVoucherAndTheUse)
{
    putPurchase(1, 7, 500, 1, 2000);
    putDay({});
    putLine({.dtl = 1, .kind = 5, .chemi = Value(7), .qty = Value(4), .unit = Value(1), .ledge = Value(3)});
    putLine({.date = kDay.addDays(-1), .dtl = 1, .kind = 5, .chemi = Value(7), .qty = Value(1), .unit = Value(1)});
    putLedge(1, 3, day(2014, 10, 24), 4160, 1130, 16);
    hb::DiarySave s = loaded();
    hb::SaveDiaryDay(*hb::gDb, s);
    EXPECT_DOUBLE_EQ(purchaseField(7, "USED_QTY"), 5);

    // The window clears the pesticide of a line whose kind changes away from 5.
    s = loaded();
    s.lines[0].WORK_KBN = Value(11);
    hb::ClearPesticide(s.lines[0]);
    const hb::DiarySave out = hb::SaveDiaryDay(*hb::gDb, s);
    EXPECT_EQ(out.lines[0].LEDGE_ID, Value(0));
    EXPECT_EQ(one("SELECT LEDGE_ID FROM D_DIARY_DTL WHERE FMR_ID=1 AND WORK_DATE=?", {day(2014, 10, 24)}), Value(0));
    EXPECT_EQ(count("D_LEDGE", "LEDGE_ID=3"), 0);
    EXPECT_DOUBLE_EQ(purchaseField(7, "USED_QTY"), 1);
    EXPECT_DOUBLE_EQ(purchaseField(7, "REST_QTY"), 499);
}

TEST_P(DiarySaving, ARemovedLineFreesItsPurchasesStock)
{
    putPurchase(1, 7, 500, 1, 2000);
    putPurchase(1, 8, 2, 2, 8000);
    // Each case: the day's lines as loaded, which of them the window removes, and the use left.
    const struct {
        const char *what;
        std::vector<long> remove;  // indexes, removed from the last
        double used7, used8;
    } cases[] = {
        {"one of two lines of 7", {1}, 4 + 1, 0.25},
        {"the only line of 8: nothing names it any more", {2}, 4 + 2 + 1, 0},
        {"every line: the day is saved without lines", {2, 1, 0}, 1, 0},
    };
    for (const auto &c : cases) {
        hb::gDb->EXEC("DELETE FROM D_DIARY_DTL");
        hb::gDb->EXEC("DELETE FROM D_LEDGE");
        hb::gDb->EXEC("DELETE FROM D_DIARY");
        putDay({});
        putLine({.dtl = 1, .kind = 5, .chemi = Value(7), .qty = Value(4), .unit = Value(1), .ledge = Value(1)});
        putLine({.dtl = 2, .kind = 5, .chemi = Value(7), .qty = Value(2), .unit = Value(1), .ledge = Value(2)});
        putLine({.dtl = 3, .kind = 5, .chemi = Value(8), .qty = Value(250), .unit = Value(1), .ledge = Value(3)});
        putLine({.date = kDay.addDays(3), .dtl = 1, .kind = 5, .chemi = Value(7), .qty = Value(1), .unit = Value(1)});
        for (long id : {1, 2, 3})
            putLedge(1, id, day(2014, 10, 24), 4160, 1130, 1);
        hb::SaveDiaryDay(*hb::gDb, loaded());  // the stock as the lines stand

        hb::DiarySave s = loaded();
        for (long i : c.remove) {
            const long voucherId = hb::IdOf(s.lines[static_cast<std::size_t>(i)].LEDGE_ID);
            hb::RemoveKeepingOne(s.lines, static_cast<std::size_t>(i));
            hb::RemoveLedge(s.ledge, voucherId);
        }
        hb::SaveDiaryDay(*hb::gDb, s);
        EXPECT_DOUBLE_EQ(purchaseField(7, "USED_QTY"), c.used7) << c.what;
        EXPECT_DOUBLE_EQ(purchaseField(7, "REST_QTY"), 500 - c.used7) << c.what;
        EXPECT_DOUBLE_EQ(purchaseField(8, "USED_QTY"), c.used8) << c.what;
        EXPECT_DOUBLE_EQ(purchaseField(8, "REST_QTY"), 2 - c.used8) << c.what;
        EXPECT_EQ(count("D_LEDGE"), 3 - static_cast<long>(c.remove.size())) << c.what;
        for (long i : c.remove)
            EXPECT_EQ(count("D_LEDGE", QStringLiteral("LEDGE_ID=%1").arg(i + 1)), 0) << c.what;
    }

    // A server user with the rights running installations gave (no ALTER), started on a database
    // made before the rests' own column: the column cannot be added, and a day saved with a
    // pesticide line still leaves every grower's rest right.
    if (GetParam() != hbtest::Backend::MariaDb)
        return;
    const hbtest::ServerUser old(fresh(), "hbt_old", "old", "SELECT, INSERT, UPDATE, DELETE, CREATE, INDEX, DROP");
    hb::gDb->EXEC("ALTER TABLE D_CHEMI DROP COLUMN REST_OFF");
    hb::gINI->SaveCtrl("DB_USER", Value(old.name));
    hb::gINI->SaveCtrl("DB_PSWD", Value(old.password));
    hb::InitDb();
    ASSERT_EQ(one("SELECT CURRENT_USER()").displayText(), old.name + "@%");
    EXPECT_FALSE(hb::gDb->indexNames().contains("IX_D_CHEMI_REST"));
    putPurchase(2, 9, 10, 2, 1000);
    hb::gDb->EXEC("UPDATE D_CHEMI SET USED_QTY=1, REST_QTY=99 WHERE CHEMI_ID=9");  // another grower's, stale
    putLine({.dtl = 1, .kind = 5, .chemi = Value(7), .qty = Value(4), .unit = Value(1)});
    hb::SaveDiaryDay(*hb::gDb, loaded());
    EXPECT_DOUBLE_EQ(purchaseField(7, "REST_QTY"), 500 - 4 - 1);
    EXPECT_DOUBLE_EQ(purchaseField(9, "REST_QTY"), 9);
}

TEST_P(DiarySaving, AFailureRollsBackEveryTableAndTheRecordsCanBeSavedAgain)
{
    putPurchase(1, 7, 500, 1, 2000);
    putDay({.oneMsg = Value("前")});
    putLine({.dtl = 1, .kind = 5, .chemi = Value(7), .qty = Value(4), .unit = Value(1), .ledge = Value(2)});
    putLine({.dtl = 3, .kind = 11});
    putLedge(1, 2, day(2014, 10, 24), 4160, 1130, 16);
    putLedge(1, 5, day(2014, 10, 24), 1000, 4000, 500);
    hb::SaveDiaryDay(*hb::gDb, loaded());

    hb::DiarySave s = loaded();
    const QStringList before = dumpDataTables();
    s.day.ONE_MSG = Value("後");
    s.lines[0].QTY = Value(6);
    s.lines.push_back(pesticideLine(9, 7, Value(1), 1));
    s.lines.push_back(s.lines[1]);
    s.lines.back().QTY = Value("たくさん");  // no number: the save stops at the last line
    const hb::DiarySave kept = s;
    EXPECT_THROW(hb::SaveDiaryDay(*hb::gDb, s), hb::HbError);
    EXPECT_EQ(dumpDataTables(), before);
    EXPECT_FALSE(hb::gDb->inTransaction());

    // The records handed in are still what the window holds, and save cleanly once mended.
    s.lines.pop_back();
    const hb::DiarySave out = hb::SaveDiaryDay(*hb::gDb, s);
    EXPECT_EQ(out.lines[2].LEDGE_ID, Value(6));
    EXPECT_EQ(kept.lines[2].LEDGE_ID, Value(0));
    EXPECT_EQ(one("SELECT ONE_MSG FROM D_DIARY WHERE FMR_ID=1"), Value("後"));
    EXPECT_DOUBLE_EQ(purchaseField(7, "USED_QTY"), 7);
}

// The records a save hands back are what a later save starts from (the window keeps them when
// it cannot close): a voucher the save removed must not come back, and the vouchers it posted
// are there with their stored contents.
TEST_P(DiarySaving, TheReturnedVouchersAreTheStoredOnesSoASecondSaveLeavesNoStrayVoucher)
{
    putPurchase(1, 7, 500, 1, 2000);
    putDay({});
    putLine({.dtl = 1, .kind = 5, .chemi = Value(7), .qty = Value(4), .unit = Value(1), .ledge = Value(3)});
    putLedge(1, 3, day(2014, 10, 24), 4160, 1130, 16);
    putLedge(1, 5, day(2014, 10, 24), 1000, 4000, 500);

    hb::DiarySave s = loaded();
    s.lines[0].WORK_KBN = Value(11);
    hb::ClearPesticide(s.lines[0]);                             // stops posting: voucher 3 goes
    s.lines.push_back(pesticideLine(2, 7, Value(2.5), 1));      // starts posting: voucher 6
    const hb::DiarySave out = hb::SaveDiaryDay(*hb::gDb, s);

    std::vector<long> ids;
    for (const hb::LedgeRec &l : out.ledge)
        ids.push_back(hb::IdOf(l.LEDGE_ID));
    EXPECT_EQ(ids, (std::vector<long>{5, 6}));
    ASSERT_EQ(out.ledge.size(), 2u);
    EXPECT_DOUBLE_EQ(out.ledge[1].AMT.toDouble(), 10);
    EXPECT_EQ(out.ledge[1].C_OPT_NM, Value("2.5g"));

    hb::SaveDiaryDay(*hb::gDb, out);
    EXPECT_EQ(count("D_LEDGE", "FMR_ID=1 AND LEDGE_ID=3"), 0);
    EXPECT_EQ(count("D_LEDGE", "FMR_ID=1"), 2);
    EXPECT_EQ(hb::GetLedgeSrcKbn(1, 6), hb::kSrcDiary);
    EXPECT_DOUBLE_EQ(purchaseField(7, "USED_QTY"), 2.5);
}

HB_INSTANTIATE_BOTH_BACKENDS(DiarySaving);

}  // namespace
