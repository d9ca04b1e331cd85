#pragma once
// Years of a grower's records for the benchmarks, made by a seeded generator, on a SQLite file
// or on the MariaDB server (data source HB_TEST_DSN), for 1 to 40 years and 1 and 5 growers. Each grower has, every day: a diary row; three work lines (a pesticide use naming one
// of three purchases bought before the first day, an ordinary work, the shipment's line); a
// shipment with its sales and fee vouchers; the use's voucher. Plantings start every quarter,
// a purchase with its voucher is made every month. So the pesticides of any day have been used
// all through the history: the worst case of the stock recomputation.

#include "core/db.h"

#include <QDate>
#include <benchmark/benchmark.h>

namespace hbbench {

enum class Backend { Sqlite = 0, MariaDb = 1 };

// Every history ends on kLastDay. The benchmarks open and save kDay of kGrower and draw kMonth.
inline const QDate kLastDay(2024, 6, 30);
inline const QDate kDay(2024, 6, 12);
inline const QDate kMonth(2024, 6, 1);
constexpr long kGrower = 1;
constexpr unsigned kSeed = 22;

// Fills an empty data database (schema loaded) with `years` years up to kLastDay for growers
// 1..growers. The same seed gives the same rows.
void fillHistory(hb::DbObject &db, int years, int growers, unsigned seed = kSeed);

class History {
public:
    // The history of that shape, made on first use and kept for the process; nullptr for the
    // server when HB_TEST_DSN is not set.
    static History *get(Backend backend, int years, int growers);
    // Makes it the program's data database (gDb), opened as the program opens it.
    void activate();
    Backend backend() const { return backend_; }
    QString filePath() const { return path_; }
    hb::ServerParams serverParams() const { return params_; }
    ~History();

private:
    History() = default;
    Backend backend_ = Backend::Sqlite;
    QString path_;
    hb::ServerParams params_;
};

// Drops the server's databases; called before the application goes.
void dropHistories();

// The arguments every history benchmark runs with (server 0/1, years 1/10/20, growers 1/5),
// measured in real time, 11 repetitions.
void historyArgs(benchmark::internal::Benchmark *b);
// The same on both backends for the years and growers given (up to 40 years); a benchmark
// that times its iterations by hand says so.
void historyArgs(benchmark::internal::Benchmark *b, std::initializer_list<int> years,
                 std::initializer_list<int> growers, bool timedByHand = false);
// The same settings for a benchmark without a history.
void plainArgs(benchmark::internal::Benchmark *b);
// Only the repetitions, the unit and the statistics of those settings.
void repeatedArgs(benchmark::internal::Benchmark *b);
// The history a benchmark's arguments name, made the program's data database; nullptr (and the
// benchmark skipped with the reason) when it cannot be had.
History *historyFor(benchmark::State &state);

// Measures the first opening of the diary-day window and registers it as a benchmark of its own.
void registerFirstOpenings();

}  // namespace hbbench
