// Vouchers: the origin rule with its refusals, and the writer of generated vouchers.

#include "common/globaldbs.h"
#include "bookkeeping/ledger.h"
#include "core/helpers.h"

using hb::Currency;
using hb::Value;

namespace {

class Vouchers : public hbtest::GlobalDbs {
protected:
    static void putLedge(long fmr, long id, double amt, const char *notes = "old")
    {
        hb::gDb->EXEC("INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, C_ACC_ID, NOTES, AMT) "
                      "VALUES (?, ?, #2024-04-01#, 1000, 4000, ?, ?)",
                      {Value(fmr), Value(id), Value(notes), Value(Currency::fromDouble(amt))});
    }
    static long count(long fmr)
    {
        return static_cast<long>(hb::gDb->DCount("*", "D_LEDGE", QStringLiteral("FMR_ID=%1").arg(fmr)).toLong());
    }
    // The stored voucher; every field Empty when there is none.
    static hb::LedgeRec stored(long fmr, long id)
    {
        auto rs = hb::gDb->GetFwdOnlyRst("SELECT * FROM D_LEDGE WHERE FMR_ID=? AND LEDGE_ID=?", {Value(fmr), Value(id)});
        return rs->eof() ? hb::LedgeRec() : hb::LedgeRec::fromRow(*rs);
    }
    // A purchase voucher as designed: stock bought on credit.
    static hb::GeneratedLedge purchase(long fmr)
    {
        hb::GeneratedLedge g;
        g.fmrId = fmr;
        g.ledgeDate = QDate(2024, 5, 1);
        g.debit = {Value(hb::kAccChemiStock), Value(hb::kOptChemi), Value(12), Value("12.0L")};
        g.credit = {Value(hb::kAccPayable), Value(hb::kOptNone), Value(0), Value::null()};
        g.ctrNm = Value("農協");
        g.notes = Value("");
        return g;
    }
};

TEST_P(Vouchers, OriginFollowsTheBackLinksOfTheSameGrower)
{
    hb::gDb->EXEC("INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO, LEDGE_ID) VALUES "
                  "(1, #2024-05-01#, 1, 10), (2, #2024-05-01#, 1, 30)");
    hb::gDb->EXEC("INSERT INTO D_CHEMI (FMR_ID, CHEMI_ID, LEDGE_ID) VALUES (1, 1, 15), (2, 2, 31)");
    hb::gDb->EXEC("INSERT INTO D_SHIP (FMR_ID, SHIP_ID, LEDGE_ID_S, LEDGE_ID_F) VALUES "
                  "(1, 1, 10, 20), (1, 2, 25, 0), (2, 1, 32, 33)");
    struct { long fmr, ledge, src; } cases[] = {
        {1, 10, hb::kSrcDiary},  // a shipment holds it too: the diary line wins
        {1, 15, hb::kSrcChemi},
        {1, 25, hb::kSrcShip},   // sales voucher
        {1, 20, hb::kSrcShip},   // held only as a fee voucher
        {1, 30, hb::kSrcFree},   // only another grower's diary line holds the number
        {1, 31, hb::kSrcFree},
        {1, 33, hb::kSrcFree},
        {2, 30, hb::kSrcDiary},
        {2, 33, hb::kSrcShip},
        {1, 99, hb::kSrcFree},
    };
    for (const auto &c : cases)
        EXPECT_EQ(hb::GetLedgeSrcKbn(c.fmr, c.ledge), c.src) << c.fmr << "/" << c.ledge;

    // The windows refuse modify and delete of generated vouchers, each with its message.
    struct { long ledge; int mode; const char *msg; } refusals[] = {
        {10, 2, "この伝票は修正できません。日誌詳細から修正してください。"},
        {10, 4, "この伝票は削除できません。日誌詳細から削除してください。"},
        {15, 2, "この伝票は修正できません。農薬入力から修正してください。"},
        {15, 4, "この伝票は削除できません。農薬入力から削除してください。"},
        {20, 2, "この伝票は修正できません。出荷入力から修正してください。"},
        {20, 4, "この伝票は削除できません。出荷入力から削除してください。"},
    };
    for (const auto &r : refusals) {
        ui->prompts.clear();
        EXPECT_TRUE(hb::RefuseGeneratedLedge(1, r.ledge, r.mode));
        ASSERT_EQ(ui->prompts.size(), 1u);
        EXPECT_EQ(ui->prompts[0].text, QString::fromUtf8(r.msg));
        EXPECT_EQ(ui->prompts[0].style, 48);
        EXPECT_EQ(ui->prompts[0].title, hb::kProgramTitle);
    }
    ui->prompts.clear();
    for (int mode : {1, 3})  // copy and view are allowed for every voucher
        EXPECT_FALSE(hb::RefuseGeneratedLedge(1, 15, mode));
    EXPECT_FALSE(hb::RefuseGeneratedLedge(1, 30, 2));
    EXPECT_FALSE(hb::RefuseGeneratedLedge(1, 30, 4));
    EXPECT_TRUE(ui->prompts.empty());
}

TEST_P(Vouchers, TheSignOfTheDecidingValueChoosesTheSides)
{
    struct { double deciding; double amount; bool swapped; double amt; } cases[] = {
        {5000, 5000, false, 5000},
        {-1200, -1200, true, 1200},
        {3, 0, false, 0},       // a quantity that costs nothing still posts
        {-1.5, -2, true, 2},    // a returned quantity: the cost carries the minus sign
        {2.5, 10.25, false, 10.25},
    };
    long expectedId = 0;
    for (const auto &c : cases) {
        const hb::GeneratedLedge g = purchase(1);
        const long id = hb::WriteGeneratedLedge(*hb::gDb, g, c.deciding, Currency::fromDouble(c.amount), 0);
        EXPECT_EQ(id, ++expectedId);
        const hb::LedgeRec r = stored(1, id);
        const hb::LedgeSide &d = c.swapped ? g.credit : g.debit;
        const hb::LedgeSide &k = c.swapped ? g.debit : g.credit;
        const Value want[] = {d.accId, d.optKbn, d.optId, d.optNm, k.accId, k.optKbn, k.optId, k.optNm};
        const Value got[] = {r.D_ACC_ID, r.D_OPT_KBN, r.D_OPT_ID, r.D_OPT_NM,
                             r.C_ACC_ID, r.C_OPT_KBN, r.C_OPT_ID, r.C_OPT_NM};
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(got[i], want[i]) << c.deciding << " side field " << i;
        EXPECT_EQ(r.AMT, Value(Currency::fromDouble(c.amt))) << c.deciding;
        EXPECT_EQ(r.LEDGE_DATE, Value(QDate(2024, 5, 1)));
        EXPECT_EQ(r.CTR_NM, Value("農協"));
        EXPECT_EQ(r.NOTES, Value(""));
        EXPECT_TRUE(r.IDATE.isDate());
        EXPECT_TRUE(r.UDATE.isNull());
        EXPECT_EQ(r.LAST_TM, Value("PC-TEST"));
        EXPECT_TRUE(r.HOLD_TM.isNull());
    }

    // The audit columns a caller hands over are kept.
    hb::GeneratedLedge g = purchase(1);
    const QDateTime idate(QDate(2024, 4, 2), QTime(9, 30, 0)), udate(QDate(2024, 5, 3), QTime(10, 0, 0));
    g.idate = Value(idate);
    g.udate = Value(udate);
    const hb::LedgeRec r = stored(1, hb::WriteGeneratedLedge(*hb::gDb, g, 1, Currency::fromDouble(1), 0));
    EXPECT_EQ(r.IDATE, Value(idate));
    EXPECT_EQ(r.UDATE, Value(udate));
}

TEST_P(Vouchers, TheOldVoucherGoesFirstAndItsNumberIsKept)
{
    for (long id = 1; id <= 3; ++id)
        putLedge(1, id, 100 * id);
    putLedge(2, 2, 999);
    putLedge(2, 7, 999);

    // Rewritten under its own number, even below the grower's highest.
    EXPECT_EQ(hb::WriteGeneratedLedge(*hb::gDb, purchase(1), 800, Currency::fromDouble(800), 2), 2);
    EXPECT_EQ(stored(1, 2).AMT, Value(Currency::fromDouble(800)));
    EXPECT_EQ(stored(1, 2).NOTES, Value(""));
    EXPECT_EQ(count(1), 3);
    EXPECT_EQ(stored(2, 2).AMT, Value(Currency::fromDouble(999)));  // another grower's same number

    // Zero removes the voucher, posts nothing and gives the back-link 0.
    EXPECT_EQ(hb::WriteGeneratedLedge(*hb::gDb, purchase(1), 0, Currency::fromDouble(0), 3), 0);
    EXPECT_TRUE(stored(1, 3).LEDGE_ID.isEmpty());
    EXPECT_EQ(count(1), 2);
    EXPECT_EQ(hb::WriteGeneratedLedge(*hb::gDb, purchase(1), 0, Currency::fromDouble(0), 0), 0);
    EXPECT_EQ(count(1), 2);

    // New numbers are the grower's highest plus one; a grower's first voucher is 1.
    EXPECT_EQ(hb::WriteGeneratedLedge(*hb::gDb, purchase(1), 1, Currency::fromDouble(1), 0), 3);
    EXPECT_EQ(hb::WriteGeneratedLedge(*hb::gDb, purchase(3), 1, Currency::fromDouble(1), 0), 1);
    EXPECT_EQ(count(2), 2);
    EXPECT_FALSE(hb::gDb->inTransaction());
}

TEST_P(Vouchers, TextsAreStoredAsTheyStand)
{
    hb::GeneratedLedge g = purchase(1);
    const QString awkward = QStringLiteral("O'Neil's #1 50% \\ \"x\" --");
    g.debit.optNm = Value(awkward + "L");
    g.ctrNm = Value(awkward);
    g.notes = Value(QStringLiteral("'") + awkward);
    const hb::LedgeRec r = stored(1, hb::WriteGeneratedLedge(*hb::gDb, g, 10, Currency::fromDouble(10), 0));
    EXPECT_EQ(r.D_OPT_NM, g.debit.optNm);
    EXPECT_EQ(r.CTR_NM, g.ctrNm);
    EXPECT_EQ(r.NOTES, g.notes);
}

TEST_P(Vouchers, AFailedCallerTransactionLeavesTheOldVouchers)
{
    putLedge(1, 5, 500, "before");
    const hb::LedgeRec before = stored(1, 5);
    const bool failed = !hb::trapped(hb::Trap::Silent, [&] {
        hb::TransactionScope save(*hb::gDb);
        EXPECT_EQ(hb::WriteGeneratedLedge(*hb::gDb, purchase(1), 100, Currency::fromDouble(100), 5), 5);
        EXPECT_EQ(hb::WriteGeneratedLedge(*hb::gDb, purchase(1), 200, Currency::fromDouble(200), 0), 6);
        EXPECT_TRUE(hb::gDb->inTransaction());
        // Nothing is committed yet: another computer sees the old state.
        EXPECT_EQ(fresh().connect()->DCount("*", "D_LEDGE", "FMR_ID=1").toLong(), 1);
        throw hb::HbError(1, "the save failed later");
    });
    EXPECT_TRUE(failed);
    EXPECT_FALSE(hb::gDb->inTransaction());
    EXPECT_EQ(count(1), 1);
    const hb::LedgeRec after = stored(1, 5);
    for (int i = 0; i < hb::LedgeRec::fieldCount(); ++i)
        EXPECT_EQ(after.field(i), before.field(i)) << hb::LedgeRec::columnNames().at(i).toStdString();
}

TEST_P(Vouchers, AFailedInsertLeavesTheOldVoucher)
{
    putLedge(1, 5, 500, "before");
    hb::gDb->EXEC(GetParam() == hbtest::Backend::Sqlite
                      ? "CREATE TRIGGER refuse_ledge BEFORE INSERT ON D_LEDGE BEGIN SELECT RAISE(ABORT, 'refused'); END"
                      : "CREATE TRIGGER refuse_ledge BEFORE INSERT ON D_LEDGE FOR EACH ROW "
                        "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'refused'");
    EXPECT_THROW(hb::WriteGeneratedLedge(*hb::gDb, purchase(1), 100, Currency::fromDouble(100), 5), hb::HbError);
    EXPECT_FALSE(hb::gDb->inTransaction());
    EXPECT_EQ(count(1), 1);
    EXPECT_EQ(stored(1, 5).NOTES, Value("before"));
    EXPECT_EQ(stored(1, 5).AMT, Value(Currency::fromDouble(500)));
}

HB_INSTANTIATE_BOTH_BACKENDS(Vouchers);

}  // namespace
