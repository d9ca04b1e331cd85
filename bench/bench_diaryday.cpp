// Opening a diary day: a day of 10 work lines (3 of them pesticide uses) and 5 vouchers, among
// a year of earlier lines, on a SQLite file and (with HB_TEST_DSN set) on the MariaDB server.
// BM_OpenDiaryDayData is every database step of the opening: the five pick lists, the plantings
// of the day, the caption's look-up, the day row with its hold, the lines and the vouchers.
// BM_OpenDiaryDayWindow opens and closes the window itself and needs a QApplication.

#include "benchfolder.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/globals.h"
#include "core/recordhold.h"
#include "core/schema.h"
#include "diary/diaryday.h"
#include "diary/frmdairyinput.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using hb::Value;

const QDate kDay(2014, 10, 24);

// A program folder with its databases and the day's rows; the data database on the server when
// asked. Everything is dropped again when the object goes.
class DiaryBench {
public:
    explicit DiaryBench(bool server) : folder_(server, QStringLiteral("hbbench"))
    {
        fill();
        hb::gFmrID = Value(1);
        hb::gWorkDate = Value(kDay);
    }

private:
    static void fill()
    {
        hb::DbObject &db = *hb::gDb;
        db.Begintrans();
        for (int p = 1; p <= 3; ++p)
            db.EXEC("INSERT INTO D_PLANT (FMR_ID, PLANT_ID, PLANT_NM, CROP_NM, CROP_NM1, START_DATE, PLANT_DATE, AREA) "
                    "VALUES (1, ?, ?, ?, ?, #2014-03-01#, #2014-03-01#, 10)",
                    {Value(p), Value(QStringLiteral("作付%1").arg(p)), Value(QStringLiteral("作物%1").arg(p)),
                     Value(QStringLiteral("作物%1").arg(p))});
        for (int c = 1; c <= 3; ++c)
            db.EXEC("INSERT INTO D_CHEMI (FMR_ID, CHEMI_ID, CHEMI_NM, PUR_DATE, REG_NO, PUR_QTY, PUR_UNIT, PUR_AMT, CHK_FLG) "
                    "VALUES (1, ?, ?, #2014-04-01#, ?, 500, 4, 2000, -1)",
                    {Value(c), Value(QStringLiteral("薬剤%1").arg(c)), Value(100 + c)});
        // A year of earlier work, then the day itself.
        QDate d = kDay.addDays(-365);
        for (int i = 0; i < 365; ++i, d = d.addDays(1))
            db.EXEC("INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO, PLANT_ID, WORK_KBN, WORK_NM) VALUES (1, ?, 1, ?, ?, ?)",
                    {Value(d), Value(1 + i % 3), Value(1 + i % 7), Value(QStringLiteral("作業%1").arg(i % 20))});
        db.EXEC("INSERT INTO D_DIARY (FMR_ID, WORK_DATE, WTH_ID, LO_TMP, HI_TMP, ONE_MSG, LAST_TM) "
                "VALUES (1, #2014-10-24#, 1, 8.5, 19, '朝露', 'PC-BENCH')");
        for (int n = 1; n <= 10; ++n) {
            const bool chemi = n <= 3;
            db.EXEC("INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO, PLANT_ID, WORK_KBN, WORK_NM, CHEMI_ID, QTY, UNIT_ID, "
                    "LEDGE_ID) VALUES (1, #2014-10-24#, ?, ?, ?, ?, ?, ?, ?, ?)",
                    {Value(n), Value(1 + n % 3), Value(chemi ? 5 : 1), Value(QStringLiteral("作業%1").arg(n)),
                     chemi ? Value(n) : Value::null(), chemi ? Value(2.5) : Value::null(), chemi ? Value(4) : Value::null(),
                     Value(chemi ? n : 0)});
        }
        for (int v = 1; v <= 5; ++v)
            db.EXEC("INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, C_ACC_ID, AMT) VALUES (1, ?, #2014-10-24#, ?, ?, ?)",
                    {Value(v), Value(v <= 3 ? 4160 : 1000), Value(v <= 3 ? 1130 : 4000), Value(100 * v)});
        db.CommitTrans();
    }

    hbbench::BenchFolder folder_;
};

using hbbench::skipWithoutServer;

void BM_OpenDiaryDayData(benchmark::State &state)
{
    const bool server = state.range(0) == 1;
    if (skipWithoutServer(state, server))
        return;
    DiaryBench bench(server);
    const QDateTime day = kDay.startOfDay();
    for (auto _ : state) {
        for (int k = 0; k <= 4; ++k)
            benchmark::DoNotOptimize(hb::PickRows(k, 1, 0));
        benchmark::DoNotOptimize(hb::PlantingsOfDay(1, day));
        benchmark::DoNotOptimize(hb::DiaryCaption(day));
        hb::DiaryDay d = hb::LoadDiaryDay(1, day);
        if (d.lines.size() != 10 || d.ledge.size() != 5)
            state.SkipWithError("the day did not load as built");
        benchmark::DoNotOptimize(d);
    }
}
BENCHMARK(BM_OpenDiaryDayData)->Arg(0)->Arg(1)->ArgName("server")->Unit(benchmark::kMillisecond);

void BM_OpenDiaryDayWindow(benchmark::State &state)
{
    const bool server = state.range(0) == 1;
    if (skipWithoutServer(state, server))
        return;
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        state.SkipWithError("windows need a QApplication; this program's main makes a QCoreApplication");
        return;
    }
    DiaryBench bench(server);
    for (auto _ : state) {
        hb::frmDairyInput &f = hb::form<hb::frmDairyInput>();
        f.showModeless();  // Load, the first Resize: the day is read and shown
        QCoreApplication::processEvents();
        if (f.lines().size() != 10)
            state.SkipWithError("the day did not load as built");
        f.Unload();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_OpenDiaryDayWindow)->Arg(0)->Arg(1)->ArgName("server")->Unit(benchmark::kMillisecond);

}  // namespace
