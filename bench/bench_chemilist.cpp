// The pesticide purchase list "農薬一覧" with many purchases of the current grower, all with
// stock left, on a SQLite file and (with HB_TEST_DSN set) on the MariaDB server. Each run shows
// the list at its design size, which queries and fills it, paints it and closes it again.
// Targets for 10,000 purchases: medians under 200 ms on SQLite and 400 ms on MariaDB. 40,000
// purchases must load as well (no 16-bit row counts).

#include "benchfolder.h"
#include "core/globals.h"
#include "cultivation/chemirec.h"
#include "cultivation/frmchemilist.h"

#include <QApplication>
#include <QPixmap>

namespace {

using hb::Value;

void fill(long purchases)
{
    hb::DbObject &db = *hb::gDb;
    db.Begintrans();
    for (long i = 1; i <= purchases; ++i) {
        const QDate bought = QDate(2020, 1, 1).addDays(i % 1500);
        db.EXEC("INSERT INTO D_CHEMI (FMR_ID, CHEMI_ID, CHEMI_NM, REG_NO, USES, PUR_DATE, PUR_QTY, PUR_UNIT, ACC_ID, "
                "PUR_AMT, USED_QTY, REST_QTY, LEDGE_ID, CHK_FLG) VALUES (1, ?, ?, ?, ?, ?, 500, 4, 1000, 2500, 120.5, "
                "379.5, 0, -1)",
                {Value(i), Value(QStringLiteral("薬剤 %1 乳剤").arg(i)), Value(10000 + i % 5000), Value(1 + i % 10),
                 Value(bought)});
    }
    // Another grower's purchases, never listed.
    for (long i = 1; i <= purchases / 10; ++i)
        db.EXEC("INSERT INTO D_CHEMI (FMR_ID, CHEMI_ID, CHEMI_NM, REST_QTY, CHK_FLG) VALUES (2, ?, '他', 1, -1)",
                {Value(purchases + i)});
    db.CommitTrans();
}

void BM_ChemiListShowFillPaint(benchmark::State &state)
{
    const bool server = state.range(0) == 1;
    const long purchases = state.range(1);
    if (hbbench::skipWithoutServer(state, server))
        return;
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        state.SkipWithError("windows need a QApplication");
        return;
    }
    hbbench::BenchFolder folder(server, QStringLiteral("hbchemi"));
    fill(purchases);
    hb::gFmrID = Value(1);
    for (auto _ : state) {
        auto &list = hb::form<hb::frmChemiList>();
        list.showModeless();  // Load, the first Resize: the query fills the list
        QCoreApplication::processEvents();
        const QPixmap painted = list.grab();
        benchmark::DoNotOptimize(painted);
        if (list.rowCount() != purchases)
            state.SkipWithError("the list did not fill as built");
        state.PauseTiming();
        list.Unload();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    hb::gFmrID = Value();
    hb::gChemi.assign(1, hb::ChemiRec());
}
BENCHMARK(BM_ChemiListShowFillPaint)
    ->ArgsProduct({{0, 1}, {10000, 40000}})
    ->ArgNames({"server", "purchases"})
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

}  // namespace
