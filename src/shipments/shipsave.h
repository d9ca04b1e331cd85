#pragma once
// Saving a shipment: its sales and fee vouchers, the D_SHIP row, the diary day and the diary's
// shipment line, all in one transaction of the data database.

#include "core/loadedrows.h"
#include "core/value.h"
#include "shipments/shiprec.h"

namespace hb {

class DbObject;

// The grower of the shipment saved last (gLastShipID is its number); shipments are numbered
// per grower, so the list reselects by both.
extern Value gLastShipFmrID;

// Writes the record in edit mode 1 (add or copy), 2 (modify) or 4 (delete); mode 3 writes
// nothing. A new shipment takes the grower's highest SHIP_ID plus one inside the transaction.
// Returns 1 when written; 0 when the row to modify or delete no longer exists (reported as
// "該当データが存在しません。", nothing written). A failing statement rolls everything back and
// raises. The record (its SHIP_ID and voucher numbers) is updated only after the commit.
// Modes 2 and 4 first compare what is stored with `loaded` (LoadedShip, as the window loaded it)
// and raise ChangedElsewhere, writing nothing, when another computer changed it.
int SaveShipment(DbObject &db, ShipRec &rec, int mode, const std::vector<LoadedRows> &loaded = {});

// What a save of the shipment overwrites: its row as the list read it; its sales and fee
// vouchers and its line in the diary, read now.
std::vector<LoadedRows> LoadedShip(DbObject &db, const ShipRec &row);

}  // namespace hb
