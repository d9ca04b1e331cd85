#pragma once
// What the shipment list reads: the plantings by year and shipping state, and the shipments of
// one planting or of every listed planting over a period, with their totals. Each raises on a
// database error.

#include "core/value.h"

#include <QDate>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace hb {

class DbObject;

// The shipping state of a planting the list offers; also the slots of the list's state options.
enum ShipState : int {
    kShipStateNone = 0,     // never shipped
    kShipStateShipping = 1, // shipped, not ended
    kShipStateEnded = 2,    // shipped and ended
    kShipStateAny = 3,
    kShipStateCount = 4,
};

// The totals of the listed shipments, in the order ShipListTotals gives them; also the slots of
// the list's total boxes.
enum ShipSum : int {
    kShipSumShipQty = 0,
    kShipSumSalesQty = 1,
    kShipSumDscAmt = 2,
    kShipSumSalesAmt = 3,
    kShipSumFeeAmt = 4,
    kShipSumCount = 5,
};

struct ShipPlanting {
    long fmrId = 0;
    long plantId = 0;
    QString name;
};

// The grower's plantings that live on the day (started, not ended before it), by planting date
// and number.
std::vector<ShipPlanting> PlantingsOfDay(DbObject &db, const Value &fmrId, const QDate &day);

// Where the grower is (M_FMR.LOCATE; "" when none) and the account a shop's sales are paid to
// (M_SHOP.ACC_ID; 0 when none).
Value GrowerLocation(DbObject &master, const Value &fmrId);
Value ShopAccount(DbObject &master, const Value &shopId);

// The plantings of the year (any year when none) in that state, by number and grower.
std::vector<ShipPlanting> QueryShipPlantings(DbObject &db, std::optional<long> year, int state);

struct ShipListFilter {
    std::optional<long> year;
    // One planting (grower, number); when none, every planting the list was filled by: of
    // listedYear in listedState (no shipment at all for the never-shipped state).
    std::optional<std::pair<long, long>> planting;
    std::optional<long> listedYear;
    int listedState = kShipStateAny;
    std::optional<QDate> from;
    std::optional<QDate> to;
};

// The shipments the filter selects into gShip, by day, planting and number; the number read.
long LoadShipList(DbObject &db, const ShipListFilter &filter);

// Their sums of SHIP_QTY, SALES_QTY, DSC_AMT, SALES_AMT and FEE_AMT; none when the statement
// gives no row.
std::optional<std::array<Value, kShipSumCount>> ShipListTotals(DbObject &db, const ShipListFilter &filter);

}  // namespace hb
