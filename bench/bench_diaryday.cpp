// The diary day 2024-06-12 of grower 1 on each history (three work lines, one a pesticide use
// of a purchase used all through the history, and the day's three vouchers):
//  BM_OpenDay        the diary-day window opened on the day, the window already created: Load
//                    and the first Resize (the pick lists, the day's plantings, the caption, the
//                    day row with its hold, the lines and the vouchers) and its first painting;
//                    on 1, 10, 20 and 40 years, as BM_SaveDay;
//  BM_PickList       the day's pesticide pick list as the window reads it (the grower's valid
//                    purchases by name, each with its purchase date); on 10 and 40 years, 5
//                    growers;
//  BM_PickListRaw    the same statement hand-written through the raw driver;
//  BM_OpenDayFirst   the first opening of the process (window created and opened), measured
//                    once before the other benchmarks on the 20-year history of each backend;
//  BM_SaveDay        the day saved again as loaded ("登録"): one transaction comparing the day's
//                    rows with those loaded, rewriting its vouchers, the use's voucher, the day
//                    row, the lines and the stock;
//  BM_CloseDay       the window closed ("閉じる" as the close button does): this computer's
//                    holds released and the window unloaded; on 20 and 40 years;
//  BM_CloseDayRaw    its baseline: the day's own row and vouchers released by their keys,
//                    hand-written through the raw driver;
//  BM_LunisolarDate  the day's lunisolar date (the caption's old date).

#include "history.h"
#include "rawdriver.h"

#include "core/forms.h"
#include "core/globals.h"
#include "diary/diaryday.h"
#include "diary/diarysave.h"
#include "diary/frmdairyinput.h"
#include "diary/lunisolar.h"

#include <QApplication>
#include <QElapsedTimer>

namespace {

const QDateTime kWorkDate = hbbench::kDay.startOfDay();

// Opens the day in the window and reports whether it came as built.
bool openDay(hb::frmDairyInput &f)
{
    f.showModeless();
    QCoreApplication::processEvents();
    return f.lines().size() == 3;
}

void closeDay(hb::frmDairyInput &f)
{
    f.Unload();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the unloaded window goes
}

// Opens the day in the window and closes it again, once per iteration, timing one of the two.
void openAndClose(benchmark::State &state, bool timeTheOpening)
{
    if (!hbbench::historyFor(state))
        return;
    hb::gWorkDate = hb::Value(hbbench::kDay);
    for (auto _ : state) {
        state.PauseTiming();
        hb::frmDairyInput &f = hb::form<hb::frmDairyInput>();
        if (timeTheOpening)
            state.ResumeTiming();
        const bool ok = openDay(f);
        if (timeTheOpening)
            state.PauseTiming();
        else
            state.ResumeTiming();
        closeDay(f);
        if (!ok) {
            state.SkipWithError("the day did not load as built");
            break;
        }
        if (timeTheOpening)
            state.ResumeTiming();
    }
}

void BM_OpenDay(benchmark::State &state)
{
    openAndClose(state, true);
}
// The histories of every benchmark, and the 40-year ones.
void dayArgs(benchmark::internal::Benchmark *b)
{
    hbbench::historyArgs(b, {1, 10, 20, 40}, {1, 5});
}

BENCHMARK(BM_OpenDay)->Apply(dayArgs);

void pickArgs(benchmark::internal::Benchmark *b)
{
    hbbench::historyArgs(b, {10, 40}, {5});
}

const char *const kRawPickChemi = "SELECT D_CHEMI.CHEMI_ID, D_CHEMI.CHEMI_NM, CAST(D_CHEMI.PUR_DATE AS CHAR) FROM D_CHEMI"
                                  " WHERE CHK_FLG<>0 AND FMR_ID=1 ORDER BY CHEMI_NM, CHEMI_ID";

void BM_PickList(benchmark::State &state)
{
    hbbench::History *h = hbbench::historyFor(state);
    if (!h)
        return;
    if (!hbbench::sameRows(state, *h, static_cast<long>(hb::PickRows(hb::kPickChemi, hbbench::kGrower).size()),
                           kRawPickChemi))
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(hb::PickRows(hb::kPickChemi, hbbench::kGrower));
}
BENCHMARK(BM_PickList)->Apply(pickArgs);

void BM_PickListRaw(benchmark::State &state)
{
    hbbench::rawBaseline(state, {kRawPickChemi});
}
BENCHMARK(BM_PickListRaw)->Apply(pickArgs);

// The time the statements whose text holds a mark take, summed per mark while it lives.
class StatementTimes {
public:
    explicit StatementTimes(std::vector<const char *> marks) : marks_(std::move(marks)), nanos_(marks_.size())
    {
        hb::DbObject::statementStartHook = [this](const hb::DbObject &, const QString &sql) {
            current_ = -1;
            for (size_t i = 0; i < marks_.size(); ++i) {
                if (sql.contains(QLatin1String(marks_[i])))
                    current_ = static_cast<int>(i);
            }
            clock_.start();
        };
        hb::DbObject::statementDoneHook = [this](const QString &) {
            if (current_ >= 0)
                nanos_[current_] += clock_.nsecsElapsed();
            current_ = -1;
        };
    }
    ~StatementTimes()
    {
        hb::DbObject::statementStartHook = nullptr;
        hb::DbObject::statementDoneHook = nullptr;
    }
    double ms(size_t mark) const { return nanos_[mark] / 1e6; }

private:
    std::vector<const char *> marks_;
    std::vector<qint64> nanos_;
    QElapsedTimer clock_;
    int current_ = -1;
};

void BM_SaveDay(benchmark::State &state)
{
    if (!hbbench::historyFor(state))
        return;
    // Two statements of the stock within the save, reported per save: the sum of the day's
    // purchases' uses over every day of the history, which grows with the history itself, and
    // the fix-up of the rests that are off.
    StatementTimes stock({"SUM(D_DIARY_DTL.QTY)", "SET REST_QTY=PUR_QTY-USED_QTY"});
    hb::DiarySave day = hb::DiarySave::asLoaded(hb::LoadDiaryDay(hbbench::kGrower, kWorkDate));
    day.day.NOTES1 = hb::Value(QStringLiteral("散布後 雨なし"));
    if (day.lines.size() != 3 || day.ledge.size() != 3 || day.loadedChemiIds.size() != 1) {
        state.SkipWithError("the day did not load as built");
        return;
    }
    for (auto _ : state) {
        // The same day saved again and again: the same numbers, the same rows; each save compares
        // with the rows the one before stored, as the window's next save would.
        day = hb::SaveDiaryDay(*hb::gDb, day);
        benchmark::DoNotOptimize(day);
    }
    state.counters["use_sum_ms"] = benchmark::Counter(stock.ms(0), benchmark::Counter::kAvgIterations);
    state.counters["rest_fix_ms"] = benchmark::Counter(stock.ms(1), benchmark::Counter::kAvgIterations);
    if (hb::IdOf(hb::gDb->DCount("*", "D_LEDGE", "FMR_ID=1 AND LEDGE_DATE=#2024-06-12 00:00:00#")) != 3)
        state.SkipWithError("the day's vouchers were not written back as they were");
}
BENCHMARK(BM_SaveDay)->Apply(dayArgs);

void BM_CloseDay(benchmark::State &state)
{
    openAndClose(state, false);
    if (hb::gDb && hb::gDb->DCount("*", "D_DIARY", "HOLD_TM IS NOT NULL").toLong() != 0)
        state.SkipWithError("a hold was left");
}
BENCHMARK(BM_CloseDay)->Apply([](benchmark::internal::Benchmark *b) { hbbench::historyArgs(b, {20, 40}, {1, 5}); });

void BM_CloseDayRaw(benchmark::State &state)
{
    hbbench::History *h = hbbench::historyFor(state);
    if (!h)
        return;
    const char *const hold =
        "UPDATE D_DIARY SET HOLD_TM='PC-BENCH' WHERE FMR_ID=1 AND WORK_DATE='2024-06-12 00:00:00'";
    const char *const release[] = {
        "UPDATE D_DIARY SET LAST_TM=HOLD_TM, HOLD_TM=NULL WHERE FMR_ID=1 AND WORK_DATE='2024-06-12 00:00:00'"
        " AND HOLD_TM='PC-BENCH'",
        "UPDATE D_LEDGE SET LAST_TM=HOLD_TM, HOLD_TM=NULL WHERE FMR_ID=1 AND LEDGE_DATE='2024-06-12 00:00:00'"
        " AND HOLD_TM='PC-BENCH'",
    };
    for (auto _ : state) {
        state.PauseTiming();
        const bool ok = hbbench::rawRun(*h, hold) >= 0;
        state.ResumeTiming();
        for (const char *sql : release) {
            if (!ok || hbbench::rawRun(*h, sql) < 0) {
                state.SkipWithError("the hand-written release failed");
                return;
            }
        }
    }
}
BENCHMARK(BM_CloseDayRaw)->Apply([](benchmark::internal::Benchmark *b) { hbbench::historyArgs(b, {20, 40}, {1, 5}); });

void BM_LunisolarDate(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(hb::GetOldDateStr(kWorkDate));
}
BENCHMARK(BM_LunisolarDate)->Apply(hbbench::plainArgs);

}  // namespace

namespace hbbench {

// The first opening of the diary-day window in this process, on the 20-year history of each
// backend (the file first: the process's very first), reported as benchmarks of one iteration.
void registerFirstOpenings()
{
    for (int server : {0, 1}) {
        History *h = History::get(server ? Backend::MariaDb : Backend::Sqlite, 20, 1);
        if (!h)
            continue;
        h->activate();
        hb::gWorkDate = hb::Value(kDay);
        QElapsedTimer t;
        t.start();
        hb::frmDairyInput &f = hb::form<hb::frmDairyInput>();
        const bool ok = openDay(f);
        const double seconds = t.nsecsElapsed() / 1e9;
        closeDay(f);
        benchmark::RegisterBenchmark(QStringLiteral("BM_OpenDayFirst/server:%1/years:20/growers:1").arg(server).toUtf8().constData(),
                                     [seconds, ok](benchmark::State &state) {
                                         for (auto _ : state)
                                             state.SetIterationTime(seconds);
                                         if (!ok)
                                             state.SkipWithError("the day did not load as built");
                                     })
            ->UseManualTime()
            ->Iterations(1)
            ->Repetitions(1)
            ->Unit(benchmark::kMillisecond);
    }
}

}  // namespace hbbench
