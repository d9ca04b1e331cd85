// The month calendar of June 2024 for grower 1, every layer on, on each history:
//  BM_CalendarData   what one redraw reads: the planting filter's list and the month (diary
//                    rows and the three marks), as the calendar reads them;
//  BM_CalendarRaw    the same rows read by hand-written SQL through the raw driver (the sqlite3
//                    C API; on the server a QMYSQL connection, one statement per list and layer);
//  BM_CalendarRedraw the window's whole redraw, DispData, painted offscreen and shown.

#include "history.h"
#include "rawdriver.h"

#include "core/forms.h"
#include "core/globals.h"
#include "diary/calendargrid.h"
#include "diary/frmdairycal.h"

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <array>
#include <map>
#include <memory>
#include <sqlite3.h>

namespace {

using hbbench::History;
using hbbench::rawFile;
using hbbench::rawServer;

const hb::CalLayers kAllLayers{true, true, true, true, true};

void BM_CalendarData(benchmark::State &state)
{
    if (!hbbench::historyFor(state))
        return;
    for (auto _ : state) {
        benchmark::DoNotOptimize(hb::loadCalPlantings(*hb::gDb, hbbench::kMonth, hbbench::kGrower));
        benchmark::DoNotOptimize(hb::loadCalMonth(*hb::gDb, hbbench::kMonth, hbbench::kGrower, kAllLayers, 0));
    }
}
BENCHMARK(BM_CalendarData)->Apply(hbbench::historyArgs);

// ---- the raw driver ------------------------------------------------------------------------------

// What the calendar shows of a month, as the hand-written reads collect it.
struct RawMonth {
    std::vector<std::pair<long long, std::string>> plantings;
    std::array<bool, 32> diary{}, money{}, pesticide{}, shipment{};
    std::array<double, 32> lo{}, hi{};
    std::array<int, 32> weather{};
    std::array<std::string, 32> note;
};

const char *const kFirst = "2024-06-01 00:00:00";
const char *const kLast = "2024-06-30 00:00:00";

// The statements, with ?1 the grower, ?2 the month's first day and ?3 its last.
const char *const kRawPlantings =
    "SELECT PLANT_ID, PLANT_NM FROM D_PLANT WHERE FMR_ID = ?1 AND START_DATE <= ?3"
    " AND (END_DATE IS NULL OR END_DATE >= ?2) ORDER BY PLANT_DATE";
const char *const kRawDiary =
    "SELECT WORK_DATE, WTH_ID, LO_TMP, HI_TMP, ONE_MSG FROM D_DIARY WHERE FMR_ID = ?1 AND WORK_DATE BETWEEN ?2 AND ?3";
const char *const kRawMarks[3] = {
    "SELECT LEDGE_DATE FROM D_LEDGE WHERE FMR_ID = ?1 AND LEDGE_DATE BETWEEN ?2 AND ?3"
    " AND (D_ACC_ID IN (1000, 1010) OR C_ACC_ID IN (1000, 1010)) GROUP BY LEDGE_DATE",
    "SELECT WORK_DATE FROM D_DIARY_DTL WHERE FMR_ID = ?1 AND WORK_DATE BETWEEN ?2 AND ?3 AND CHEMI_ID > 0"
    " GROUP BY WORK_DATE",
    "SELECT SHIP_DATE FROM D_SHIP WHERE FMR_ID = ?1 AND SHIP_DATE BETWEEN ?2 AND ?3 GROUP BY SHIP_DATE",
};

// The day of "yyyy-mm-dd 00:00:00", 0 for any other time.
int midnightDay(const char *text)
{
    if (!text || std::strlen(text) < 19 || std::strcmp(text + 10, " 00:00:00") != 0)
        return 0;
    return (text[8] - '0') * 10 + (text[9] - '0');
}

void readSqlite(sqlite3 *db, RawMonth &m)
{
    const auto run = [db](const char *sql, const auto &row) {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
        sqlite3_bind_int64(st, 1, hbbench::kGrower);
        sqlite3_bind_text(st, 2, kFirst, -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 3, kLast, -1, SQLITE_STATIC);
        while (sqlite3_step(st) == SQLITE_ROW)
            row(st);
        sqlite3_finalize(st);
    };
    const auto text = [](sqlite3_stmt *st, int i) { return reinterpret_cast<const char *>(sqlite3_column_text(st, i)); };
    run(kRawPlantings, [&](sqlite3_stmt *st) {
        const char *name = text(st, 1);
        m.plantings.emplace_back(sqlite3_column_int64(st, 0), name ? name : "");
    });
    run(kRawDiary, [&](sqlite3_stmt *st) {
        if (const int d = midnightDay(text(st, 0))) {
            m.diary[d] = true;
            m.weather[d] = sqlite3_column_type(st, 1) == SQLITE_NULL ? 1 : sqlite3_column_int(st, 1);
            m.lo[d] = sqlite3_column_double(st, 2);
            m.hi[d] = sqlite3_column_double(st, 3);
            const char *note = text(st, 4);
            m.note[d] = note ? note : "";
        }
    });
    std::array<bool, 32> *marks[3] = {&m.money, &m.pesticide, &m.shipment};
    for (int layer = 0; layer < 3; ++layer) {
        run(kRawMarks[layer], [&](sqlite3_stmt *st) {
            if (const int d = midnightDay(text(st, 0)))
                (*marks[layer])[d] = true;
        });
    }
}

void readServer(QSqlDatabase &db, RawMonth &m)
{
    const auto run = [&db](const char *sql, const auto &row) {
        QString text = QString::fromLatin1(sql);
        text.replace(QLatin1String("?1"), QString::number(hbbench::kGrower))
            .replace(QLatin1String("?2"), QStringLiteral("'%1'").arg(QLatin1String(kFirst)))
            .replace(QLatin1String("?3"), QStringLiteral("'%1'").arg(QLatin1String(kLast)));
        QSqlQuery q(db);
        q.setForwardOnly(true);
        q.exec(text);
        while (q.next())
            row(q);
    };
    const auto day = [](const QSqlQuery &q) {
        const QDateTime dt = q.value(0).toDateTime();
        return dt.time() == QTime(0, 0) ? dt.date().day() : 0;
    };
    run(kRawPlantings, [&](QSqlQuery &q) { m.plantings.emplace_back(q.value(0).toLongLong(), q.value(1).toString().toStdString()); });
    run(kRawDiary, [&](QSqlQuery &q) {
        if (const int d = day(q)) {
            m.diary[d] = true;
            m.weather[d] = q.value(1).isNull() ? 1 : q.value(1).toInt();
            m.lo[d] = q.value(2).toDouble();
            m.hi[d] = q.value(3).toDouble();
            m.note[d] = q.value(4).toString().toStdString();
        }
    });
    std::array<bool, 32> *marks[3] = {&m.money, &m.pesticide, &m.shipment};
    for (int layer = 0; layer < 3; ++layer) {
        run(kRawMarks[layer], [&](QSqlQuery &q) {
            if (const int d = day(q))
                (*marks[layer])[d] = true;
        });
    }
}

void BM_CalendarRaw(benchmark::State &state)
{
    History *h = hbbench::historyFor(state);
    if (!h)
        return;
    // The hand-written reads must find what the calendar finds.
    RawMonth check;
    sqlite3 *file = nullptr;
    QSqlDatabase server;
    if (h->backend() == hbbench::Backend::Sqlite) {
        file = rawFile(h->filePath());
        readSqlite(file, check);
    } else {
        server = rawServer(h->serverParams());
        readServer(server, check);
    }
    const hb::CalMonthData data = hb::loadCalMonth(*hb::gDb, hbbench::kMonth, hbbench::kGrower, kAllLayers, 0);
    for (int d = 1; d <= 30; ++d) {
        if (check.diary[d] != data.diary[d].has_value() || check.money[d] != data.money[d]
            || check.pesticide[d] != data.pesticide[d] || check.shipment[d] != data.shipment[d]) {
            state.SkipWithError("the hand-written reads disagree with the calendar");
            return;
        }
    }
    for (auto _ : state) {
        RawMonth m;
        if (file)
            readSqlite(file, m);
        else
            readServer(server, m);
        benchmark::DoNotOptimize(m);
    }
}
BENCHMARK(BM_CalendarRaw)->Apply(hbbench::historyArgs);

// ---- the window ----------------------------------------------------------------------------------

void BM_CalendarRedraw(benchmark::State &state)
{
    if (!hbbench::historyFor(state))
        return;
    hb::frmDairyCal &cal = hb::form<hb::frmDairyCal>();
    if (!cal.isLoaded()) {
        cal.showModeless();
        QCoreApplication::processEvents();
    }
    hb::gCalMonth = hbbench::kMonth;
    cal.DispData();
    if (cal.calView().cells.size() != 30 || !cal.calView().cellOfDay(12)->hasDiary) {
        state.SkipWithError("the calendar did not draw the month as built");
        return;
    }
    for (auto _ : state) {
        cal.DispData();
        QCoreApplication::processEvents();  // the picture shown on the window
    }
}
BENCHMARK(BM_CalendarRedraw)->Apply(hbbench::historyArgs);

}  // namespace
