// The month calendar's redraw on ten years of a grower's daily diary (a diary row, a voucher, a
// pesticide line and a shipment on every day), all five layers on: what one redraw reads from the
// data database (the planting filter's list, the diary rows and the three marks), with the marks
// counted per month (as the calendar does) and per day, on a SQLite file and on the private
// MariaDB server (data source HB_TEST_DSN; skipped when it is not set).
//
// The window's painting needs a GUI application; this program runs a core application, so the
// figures are the database side of the redraw, which is where its time goes.

#include "../tests/diary/test_calendar_benchdata.h"

#include "core/db.h"
#include "core/schema.h"
#include "diary/calendargrid.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

namespace cb = hbtest::calbench;

struct CalendarFixture {
    QTemporaryDir dir;
    std::unique_ptr<hb::DirectDb> db;
    hb::ServerParams admin;
    QString serverDb;

    ~CalendarFixture()
    {
        db.reset();
        if (!serverDb.isEmpty()) {
            try {
                hb::DirectDb::server(admin)->EXEC(QStringLiteral("DROP DATABASE IF EXISTS ") + serverDb);
            } catch (...) {
            }
        }
    }
};

CalendarFixture *sqliteFixture()
{
    static std::unique_ptr<CalendarFixture> f = [] {
        auto fx = std::make_unique<CalendarFixture>();
        fx->db = hb::DirectDb::file(fx->dir.filePath(QStringLiteral("DATA.MDB")), true);
        hb::loadSchema(*fx->db, hb::Schema::Data);
        cb::fill(*fx->db);
        return fx;
    }();
    return f.get();
}

std::unique_ptr<CalendarFixture> &serverSlot()
{
    static std::unique_ptr<CalendarFixture> f;
    return f;
}

// The server database is dropped while the application still exists.
void dropServerFixture()
{
    serverSlot().reset();
}

CalendarFixture *serverFixture()
{
    static CalendarFixture *f = []() -> CalendarFixture * {
        if (qEnvironmentVariableIsEmpty("HB_TEST_DSN"))
            return nullptr;
        auto fx = std::make_unique<CalendarFixture>();
        fx->admin.dsn = qEnvironmentVariable("HB_TEST_DSN");
        fx->serverDb = QStringLiteral("hbbench_cal_%1").arg(QCoreApplication::applicationPid());
        {
            auto admin = hb::DirectDb::server(fx->admin);
            admin->EXEC(QStringLiteral("DROP DATABASE IF EXISTS ") + fx->serverDb);
            admin->EXEC(QStringLiteral("CREATE DATABASE ") + fx->serverDb
                        + QStringLiteral(" CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci"));
        }
        hb::ServerParams p = fx->admin;
        p.database = fx->serverDb;
        fx->db = hb::DirectDb::server(p);
        hb::loadSchema(*fx->db, hb::Schema::Data);
        cb::fill(*fx->db);
        serverSlot() = std::move(fx);
        qAddPostRoutine(dropServerFixture);
        return serverSlot().get();
    }();
    return f;
}

// One redraw's reads: the planting filter, then the month with every layer on.
void redraw(benchmark::State &state, CalendarFixture *fx, hb::CalMarkQuery how)
{
    if (!fx) {
        state.SkipWithError("HB_TEST_DSN is not set: no MariaDB server to measure on");
        return;
    }
    const hb::CalLayers all{true, true, true, true, true};
    // The last month of the ten years: its diary days lie at the end of the grower's rows.
    const QDate month = cb::kFirstDay.addYears(cb::kYears).addMonths(-1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(hb::loadCalPlantings(*fx->db, month, cb::kGrower));
        benchmark::DoNotOptimize(hb::loadCalMonth(*fx->db, month, cb::kGrower, all, 0, how));
    }
}

void BM_CalendarRedraw_Sqlite_PerMonth(benchmark::State &s) { redraw(s, sqliteFixture(), hb::CalMarkQuery::PerMonth); }
void BM_CalendarRedraw_Sqlite_PerDay(benchmark::State &s) { redraw(s, sqliteFixture(), hb::CalMarkQuery::PerDay); }
void BM_CalendarRedraw_MariaDb_PerMonth(benchmark::State &s) { redraw(s, serverFixture(), hb::CalMarkQuery::PerMonth); }
void BM_CalendarRedraw_MariaDb_PerDay(benchmark::State &s) { redraw(s, serverFixture(), hb::CalMarkQuery::PerDay); }

BENCHMARK(BM_CalendarRedraw_Sqlite_PerMonth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalendarRedraw_Sqlite_PerDay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalendarRedraw_MariaDb_PerMonth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalendarRedraw_MariaDb_PerDay)->Unit(benchmark::kMillisecond);

}  // namespace
