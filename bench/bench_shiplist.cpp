// The shipment list (出荷一覧) as it opens on June 2024, over the five growers' shipments of
// 10 and 40 years:
//  BM_ShipListMonth      the month's shipments of the year's plantings with their totals, as the
//                        list reads them;
//  BM_ShipListMonthRaw   the same statements hand-written through the raw driver;
//  BM_ShipPlantings      the year's plantings in any shipping state (the list's first filling);
//  BM_ShipPlantingsRaw   the same statement hand-written through the raw driver.

#include "history.h"
#include "rawdriver.h"

#include "core/db.h"
#include "shipments/shiplist.h"

namespace {

constexpr long kYear = 2024;

void shipArgs(benchmark::internal::Benchmark *b)
{
    hbbench::historyArgs(b, {10, 40}, {5});
}

hb::ShipListFilter monthFilter()
{
    hb::ShipListFilter f;
    f.year = kYear;
    f.listedYear = kYear;
    f.listedState = hb::kShipStateAny;
    f.from = hbbench::kMonth;
    f.to = hbbench::kMonth.addMonths(1).addDays(-1);
    return f;
}

const char *const kRawMonth[] = {
    "SELECT D_SHIP.* FROM D_SHIP INNER JOIN D_PLANT ON D_SHIP.PLANT_ID=D_PLANT.PLANT_ID AND D_SHIP.FMR_ID=D_PLANT.FMR_ID"
    " WHERE D_PLANT.YYYY=2024 AND D_SHIP.SHIP_DATE>='2024-06-01 00:00:00' AND D_SHIP.SHIP_DATE<='2024-06-30 00:00:00'"
    " ORDER BY D_SHIP.SHIP_DATE, D_SHIP.PLANT_ID, D_SHIP.SHIP_ID",
    "SELECT SUM(D_SHIP.SHIP_QTY), SUM(D_SHIP.SALES_QTY), SUM(D_SHIP.DSC_AMT), SUM(D_SHIP.SALES_AMT), SUM(D_SHIP.FEE_AMT)"
    " FROM D_SHIP INNER JOIN D_PLANT ON D_SHIP.PLANT_ID=D_PLANT.PLANT_ID AND D_SHIP.FMR_ID=D_PLANT.FMR_ID"
    " WHERE D_PLANT.YYYY=2024 AND D_SHIP.SHIP_DATE>='2024-06-01 00:00:00' AND D_SHIP.SHIP_DATE<='2024-06-30 00:00:00'",
};

const char *const kRawPlantings =
    "SELECT DISTINCT D_PLANT.FMR_ID, D_PLANT.PLANT_ID, D_PLANT.PLANT_NM FROM D_PLANT"
    " LEFT JOIN D_SHIP ON D_PLANT.PLANT_ID = D_SHIP.PLANT_ID AND D_PLANT.FMR_ID = D_SHIP.FMR_ID"
    " WHERE D_PLANT.YYYY=2024 ORDER BY D_PLANT.PLANT_ID, D_PLANT.FMR_ID";

void BM_ShipListMonth(benchmark::State &state)
{
    hbbench::History *h = hbbench::historyFor(state);
    if (!h)
        return;
    const hb::ShipListFilter f = monthFilter();
    if (!hbbench::sameRows(state, *h, hb::LoadShipList(*hb::gDb, f), kRawMonth[0], 30))
        return;
    for (auto _ : state) {
        benchmark::DoNotOptimize(hb::LoadShipList(*hb::gDb, f));
        benchmark::DoNotOptimize(hb::ShipListTotals(*hb::gDb, f));
    }
}
BENCHMARK(BM_ShipListMonth)->Apply(shipArgs);

void BM_ShipListMonthRaw(benchmark::State &state)
{
    hbbench::rawBaseline(state, {kRawMonth[0], kRawMonth[1]});
}
BENCHMARK(BM_ShipListMonthRaw)->Apply(shipArgs);

void BM_ShipPlantings(benchmark::State &state)
{
    hbbench::History *h = hbbench::historyFor(state);
    if (!h)
        return;
    if (!hbbench::sameRows(state, *h, static_cast<long>(hb::QueryShipPlantings(*hb::gDb, kYear, hb::kShipStateAny).size()),
                           kRawPlantings))
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(hb::QueryShipPlantings(*hb::gDb, kYear, hb::kShipStateAny));
}
BENCHMARK(BM_ShipPlantings)->Apply(shipArgs);

void BM_ShipPlantingsRaw(benchmark::State &state)
{
    hbbench::rawBaseline(state, {kRawPlantings});
}
BENCHMARK(BM_ShipPlantingsRaw)->Apply(shipArgs);

}  // namespace
