// Baseline of the data-access layer on a SQLite file: one domain count and one 30-row read.

#include "core/db.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<hb::DirectDb> db;
    Fixture()
    {
        db = hb::DirectDb::file(dir.filePath("bench.db"), true);
        db->EXEC("CREATE TABLE D_DIARY (FMR_ID INTEGER NOT NULL, WORK_DATE DATETIME NOT NULL, NOTES VARCHAR(200), "
                 "PRIMARY KEY (FMR_ID, WORK_DATE))");
        db->Begintrans();
        QDate d(2020, 1, 1);
        for (int i = 0; i < 2000; ++i, d = d.addDays(1))
            db->EXEC("INSERT INTO D_DIARY (FMR_ID, WORK_DATE, NOTES) VALUES (?, ?, ?)",
                     {hb::Value(1 + i % 3), hb::Value(d), hb::Value(QStringLiteral("作業メモ %1").arg(i))});
        db->CommitTrans();
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

void BM_DCount(benchmark::State &state)
{
    auto &db = *fixture().db;
    for (auto _ : state)
        benchmark::DoNotOptimize(db.DCount("*", "D_DIARY", "FMR_ID=1 AND WORK_DATE=#2021-03-04 00:00:00#"));
}
BENCHMARK(BM_DCount)->Unit(benchmark::kMicrosecond);

void BM_ForwardOnly30Rows(benchmark::State &state)
{
    auto &db = *fixture().db;
    for (auto _ : state) {
        auto rs = db.GetFwdOnlyRst("SELECT D_DIARY.* FROM D_DIARY WHERE FMR_ID=1 AND WORK_DATE>=#2021/01/01# "
                                   "AND WORK_DATE<#2021/03/31# ORDER BY WORK_DATE");
        int n = 0;
        while (!rs->eof()) {
            benchmark::DoNotOptimize(rs->Fields("NOTES"));
            ++n;
            rs->MoveNext();
        }
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_ForwardOnly30Rows)->Unit(benchmark::kMicrosecond);

}  // namespace
