// Saving a diary day ("登録"): 10 work lines, 3 of them pesticide uses that post their vouchers,
// and 5 vouchers of the day, among a year of earlier use of the same purchases, on a SQLite file
// and (with HB_TEST_DSN set) on the MariaDB server. Each save is one transaction: the vouchers
// rewritten, the use vouchers posted, the day row, the lines and the stock of the purchases.
// Target: under 100 ms a save.

#include "benchfolder.h"
#include "core/db.h"
#include "core/globals.h"
#include "core/recordhold.h"
#include "core/schema.h"
#include "diary/diarysave.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using hb::Value;

const QDate kSaveDay(2015, 6, 12);

// A program folder whose data database is a file or a database of its own on the server.
class SaveBench {
public:
    explicit SaveBench(bool server) : folder_(server, QStringLiteral("hbsave"))
    {
        fill(*hb::gDb);
        hb::gFmrID = Value(1);
        hb::gWorkDate = Value(kSaveDay);
    }

    // The day as the window holds it after loading, with a changed note.
    static hb::DiarySave loadedDay()
    {
        const hb::DiaryDay d = hb::LoadDiaryDay(1, kSaveDay.startOfDay());
        hb::DiarySave s;
        s.day = d.day;
        s.day.NOTES1 = Value(QStringLiteral("散布後 雨なし"));
        s.lines = d.lines;
        s.ledge = d.ledge;
        s.loadedLedge = d.ledge;
        s.loadedChemiIds = d.loadedChemiIds;
        return s;
    }

private:
    static void fill(hb::DbObject &db)
    {
        db.Begintrans();
        for (long c = 1; c <= 3; ++c)
            db.EXEC("INSERT INTO D_CHEMI (FMR_ID, CHEMI_ID, CHEMI_NM, PUR_DATE, PUR_QTY, PUR_UNIT, PUR_AMT, CHK_FLG) "
                    "VALUES (1, ?, ?, #2015-01-10#, 1000, 4, 5000, -1)",
                    {Value(c), Value(QStringLiteral("薬剤%1").arg(c))});
        // A year of earlier use of the three purchases, each with its voucher.
        QDate d = kSaveDay.addDays(-365);
        for (long i = 1; i <= 365; ++i, d = d.addDays(1)) {
            db.EXEC("INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO, PLANT_ID, WORK_KBN, WORK_NM, CHEMI_ID, QTY, "
                    "UNIT_ID, LEDGE_ID) VALUES (1, ?, 1, 1, 5, '防除', ?, 1.5, 4, ?)",
                    {Value(d), Value(1 + i % 3), Value(100 + i)});
            db.EXEC("INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, D_OPT_KBN, D_OPT_ID, C_ACC_ID, C_OPT_KBN, "
                    "C_OPT_ID, C_OPT_NM, AMT) VALUES (1, ?, ?, 4160, 2, 1, 1130, 3, ?, '1.5mL', 8)",
                    {Value(100 + i), Value(d), Value(1 + i % 3)});
        }
        // The day: its row, 10 lines of which 3 use a purchase, 5 vouchers of which 3 are theirs.
        db.EXEC("INSERT INTO D_DIARY (FMR_ID, WORK_DATE, WTH_ID, LO_TMP, HI_TMP, ONE_MSG, IDATE, LAST_TM) "
                "VALUES (1, ?, 2, 14.5, 24, '晴れ', #2015-06-12 19:00:00#, 'PC-BENCH')",
                {Value(kSaveDay)});
        for (long n = 1; n <= 10; ++n) {
            const bool chemi = n <= 3;
            db.EXEC("INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO, PLANT_ID, WORK_KBN, WORK_NM, NOTES, CHEMI_ID, QTY, "
                    "UNIT_ID, LEDGE_ID) VALUES (1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                    {Value(kSaveDay), Value(n), Value(1 + n % 2), Value(chemi ? 5 : 11),
                     Value(QStringLiteral("作業%1").arg(n)), Value(QStringLiteral("畝%1").arg(n)),
                     chemi ? Value(n) : Value::null(), chemi ? Value(2.5 * n) : Value::null(),
                     chemi ? Value(4) : Value::null(), Value(chemi ? 1000 + n : 0)});
        }
        for (long v = 1; v <= 5; ++v) {
            const bool use = v <= 3;
            db.EXEC("INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, C_ACC_ID, CTR_NM, AMT, IDATE) "
                    "VALUES (1, ?, ?, ?, ?, ?, ?, #2015-06-12 19:00:00#)",
                    {Value(1000 + v), Value(kSaveDay), Value(use ? 4160 : 1000), Value(use ? 1130 : 4000),
                     use ? Value::null() : Value("直売所"), Value(150 * v)});
        }
        db.CommitTrans();
    }

    hbbench::BenchFolder folder_;
};

void BM_SaveDiaryDay(benchmark::State &state)
{
    const bool server = state.range(0) == 1;
    if (hbbench::skipWithoutServer(state, server))
        return;
    SaveBench bench(server);
    const hb::DiarySave day = SaveBench::loadedDay();
    if (day.lines.size() != 10 || day.ledge.size() != 5) {
        state.SkipWithError("the day did not load as built");
        return;
    }
    for (auto _ : state) {
        // The same day saved again and again: the same numbers, the same rows.
        const hb::DiarySave saved = hb::SaveDiaryDay(*hb::gDb, day);
        benchmark::DoNotOptimize(saved);
    }
    if (hb::IdOf(hb::gDb->DCount("*", "D_LEDGE", "FMR_ID=1 AND LEDGE_DATE=#2015-06-12 00:00:00#")) != 5)
        state.SkipWithError("the day's vouchers were not written back as they were");
}
BENCHMARK(BM_SaveDiaryDay)->Arg(0)->Arg(1)->ArgName("server")->Unit(benchmark::kMillisecond);

}  // namespace
