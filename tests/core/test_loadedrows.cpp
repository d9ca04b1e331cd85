// A save compares the rows it will overwrite with what its window loaded: another computer's
// change, addition or removal is found; opening and closing elsewhere are not changes.

#include "common/backends.h"
#include "common/scriptedui.h"
#include "core/helpers.h"
#include "core/loadedrows.h"

#include <QDateTime>
#include <atomic>
#include <thread>

using hb::Value;

namespace {

const char *kTable =
    "CREATE TABLE T (G INTEGER NOT NULL, K INTEGER NOT NULL, TXT VARCHAR(20), D DATETIME, AMT DECIMAL(19,4), "
    "IDATE DATETIME, UDATE DATETIME, LAST_TM VARCHAR(15), HOLD_TM VARCHAR(15), PRIMARY KEY (G, K))";

// A list's record of T, as a list window reads it with "T.*".
struct TRec : hb::RowRecord<TRec> {
    Value G, K, TXT, D, AMT, IDATE, UDATE, LAST_TM, HOLD_TM;
    static const std::vector<Column> &columns()
    {
        static const std::vector<Column> c = {{"G", &TRec::G},         {"K", &TRec::K},         {"TXT", &TRec::TXT},
                                              {"D", &TRec::D},         {"AMT", &TRec::AMT},     {"IDATE", &TRec::IDATE},
                                              {"UDATE", &TRec::UDATE}, {"LAST_TM", &TRec::LAST_TM}, {"HOLD_TM", &TRec::HOLD_TM}};
        return c;
    }
};

class LoadedRowsTest : public hbtest::BothBackends {
protected:
    void SetUp() override
    {
        BothBackends::SetUp();
        if (IsSkipped())
            return;
        db().EXEC(kTable);
        fill();
        other = fresh().connect();  // another computer
    }
    // Grower 1's three rows and one row of grower 2, as every case starts.
    void fill()
    {
        db().EXEC("DELETE FROM T");
        for (int k = 1; k <= 3; ++k)
            db().EXEC("INSERT INTO T (G, K, TXT, D, AMT, IDATE, LAST_TM) VALUES (1, ?, ?, #2026-12-08#, 1200.5, "
                      "#2026-12-01 09:00:00#, 'pc1')",
                      {Value(k), Value(QStringLiteral("行%1").arg(k))});
        db().EXEC("INSERT INTO T (G, K, TXT) VALUES (2, 1, 'other grower')");
    }
    void TearDown() override
    {
        other.reset();
        BothBackends::TearDown();
    }
    // Checks inside a transaction, as a save does; true when the save may write.
    bool saveMayWrite(const hb::LoadedRows &loaded)
    {
        hb::TransactionScope scope(db());
        try {
            loaded.check(db());
        } catch (const hb::ChangedElsewhere &) {
            return false;
        }
        scope.commit();
        return true;
    }

    std::unique_ptr<hb::DirectDb> other;
};

TEST_P(LoadedRowsTest, AnotherComputersChangeIsFoundOpeningAndClosingAreNot)
{
    struct Case {
        const char *what;
        const char *otherComputer;  // what the other computer runs after the window loaded
        bool mayWrite;
    } cases[] = {
        {"nothing", "", true},
        {"opened there (HOLD_TM)", "UPDATE T SET HOLD_TM='pc2' WHERE G=1 AND K=2", true},
        {"closed there (HOLD_TM into LAST_TM)", "UPDATE T SET LAST_TM='pc2', HOLD_TM=NULL WHERE G=1", true},
        {"a row of another grower", "UPDATE T SET TXT='changed' WHERE G=2", true},
        {"a row outside the condition added", "INSERT INTO T (G, K) VALUES (3, 1)", true},
        {"a text", "UPDATE T SET TXT='雨' WHERE G=1 AND K=2", false},
        {"a text emptied to Null", "UPDATE T SET TXT=NULL WHERE G=1 AND K=3", false},
        {"a Null given a value", "UPDATE T SET UDATE=#2026-12-08 10:00:00# WHERE G=1 AND K=1", false},
        {"an amount", "UPDATE T SET AMT=1200.4 WHERE G=1 AND K=1", false},
        {"a date by a second", "UPDATE T SET D=#2026-12-08 00:00:01# WHERE G=1 AND K=1", false},
        {"a row added", "INSERT INTO T (G, K) VALUES (1, 4)", false},
        {"a row removed", "DELETE FROM T WHERE G=1 AND K=3", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const hb::LoadedRows loaded = hb::LoadedRows::read(db(), "T", "G=?", {Value(1)});
        other->Begintrans();
        if (*c.otherComputer)
            other->EXEC(c.otherComputer);
        other->CommitTrans();
        EXPECT_EQ(saveMayWrite(loaded), c.mayWrite);
        fill();
    }
}

TEST_P(LoadedRowsTest, ARecordAsAListReadItStandsForItsRow)
{
    auto rs = db().GetFwdOnlyRst("SELECT T.* FROM T WHERE G=1 ORDER BY K");
    std::vector<TRec> list;
    TRec::loadArray(*rs, list);
    const auto loaded = [&](int k) {
        return hb::LoadedRows::record("T", "G=? AND K=?", {Value(1), Value(k)}, list.at(k - 1));
    };
    EXPECT_TRUE(saveMayWrite(loaded(1)));
    other->EXEC("UPDATE T SET HOLD_TM='pc2', LAST_TM='pc2' WHERE G=1");
    EXPECT_TRUE(saveMayWrite(loaded(1)));
    other->EXEC("UPDATE T SET AMT=99 WHERE G=1 AND K=2");
    EXPECT_FALSE(saveMayWrite(loaded(2)));
    EXPECT_TRUE(saveMayWrite(loaded(3)));
    EXPECT_TRUE(saveMayWrite(hb::LoadedRows::none())) << "a row added: nothing to compare";
    EXPECT_FALSE(saveMayWrite(hb::LoadedRows())) << "a read that failed: refused, never skipped";
}

TEST_P(LoadedRowsTest, ASaveComparesWithWhatItWroteItself)
{
    hb::LoadedRows loaded = hb::LoadedRows::read(db(), "T", "G=?", {Value(1)});
    {
        hb::TransactionScope scope(db());
        loaded.check(db());
        db().EXEC("UPDATE T SET TXT='雨', UDATE=? WHERE G=1 AND K=1", {Value(QDateTime::currentDateTime())});
        loaded = loaded.reread(db());
        scope.commit();
    }
    EXPECT_TRUE(saveMayWrite(loaded)) << "the same computer saving again";
    other->EXEC("UPDATE T SET TXT='晴' WHERE G=1 AND K=1");
    EXPECT_FALSE(saveMayWrite(loaded));
}

TEST_P(LoadedRowsTest, TwoSavesAtOnceAreNeverBothWritten)
{
    if (GetParam() == hbtest::Backend::Sqlite) {
        // A file lets one writer in at a time: the second save, its rows compared while the first
        // is writing, fails as locked when it writes, and nothing of it is stored.
        const hb::LoadedRows mine = hb::LoadedRows::read(db(), "T", "G=?", {Value(1)});
        const hb::LoadedRows theirs = hb::LoadedRows::read(*other, "T", "G=?", {Value(1)});
        db().Begintrans();
        mine.check(db());
        db().EXEC("UPDATE T SET TXT='雨' WHERE G=1 AND K=1");
        other->Begintrans();
        theirs.check(*other);
        try {
            other->EXEC("UPDATE T SET TXT='晴' WHERE G=1 AND K=1");
            ADD_FAILURE() << "the second writer got in";
        } catch (const hb::HbError &e) {
            EXPECT_EQ(e.description(), hb::DbObject::lockedText());
        }
        other->RollbackTrans();
        db().CommitTrans();
        EXPECT_EQ(db().GetFwdOnlyRst("SELECT TXT FROM T WHERE G=1 AND K=1")->Fields(0), Value("雨"));
        return;
    }
    // A server holds the rows the first save compared until it ends: the second waits, then
    // finds the first one's change.
    const hb::LoadedRows mine = hb::LoadedRows::read(db(), "T", "G=?", {Value(1)});
    const hb::ServerParams params = fresh().serverParams();
    db().Begintrans();
    mine.check(db());  // holds the rows
    std::atomic<int> secondResult{-1};
    std::thread second([&] {
        auto pc2 = hb::DirectDb::server(params);
        const hb::LoadedRows theirs = hb::LoadedRows::read(*pc2, "T", "G=?", {Value(1)});
        pc2->Begintrans();
        try {
            theirs.check(*pc2);  // waits for the first save
            secondResult = 1;
        } catch (const hb::ChangedElsewhere &) {
            secondResult = 0;
        }
        pc2->RollbackTrans();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(secondResult.load(), -1) << "the second save waits";
    db().EXEC("UPDATE T SET TXT='雨' WHERE G=1 AND K=1");
    db().CommitTrans();
    second.join();
    EXPECT_EQ(secondResult.load(), 0) << "and then finds the first one's change";
}

TEST(ChangedElsewhereTrap, ARefusalIsAnExclamationWhateverTheTrap)
{
    hbtest::ScopedScriptedUi ui;
    for (hb::Trap form : {hb::Trap::Standard, hb::Trap::Critical, hb::Trap::Numbered, hb::Trap::Plain}) {
        ui->prompts.clear();
        EXPECT_FALSE(hb::trapped(form, [] { throw hb::ChangedElsewhere(); }));
        ASSERT_EQ(ui->prompts.size(), 1u);
        EXPECT_EQ(ui->prompts[0].text, "ほかのコンピュータで変更されたため登録できません。開き直してください。");
        EXPECT_EQ(ui->prompts[0].style, hb::kMsgExclamation);
        EXPECT_EQ(ui->prompts[0].title, "緑丘作業手帳");
    }
}

HB_INSTANTIATE_BOTH_BACKENDS(LoadedRowsTest);

}  // namespace
