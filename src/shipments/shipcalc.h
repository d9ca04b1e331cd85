#pragma once
// The shipment's amounts: what a typed entry changes in the record, the sales amount shown, and
// the texts of the shipment windows' numbers.

#include "core/value.h"
#include "shipments/shiprec.h"

#include <QDate>
#include <QString>

namespace hb {

// The boxes of the shipment input (txtDATA index) whose entry sets a column.
enum ShipBox : int {
    kBoxShipDate = 0,
    kBoxLocate = 1,
    kBoxPrdId = 2,
    kBoxPrdNm = 3,
    kBoxShopPrc = 4,
    kBoxShipQty = 5,
    kBoxRtnQty = 6,
    kBoxSalesQty = 7,
    kBoxDscAmt = 8,
    kBoxFeeRt = 9,
    kBoxFeeAmt = 10,
    kBoxNotes = 11,
    kShipBoxCount = 12,
};

// True for Empty and Null.
inline bool isBlank(const Value &v) { return v.isEmpty() || v.isNull(); }

// The number a box's text stands for: Null for an empty text; false when the text is no number
// (or, where whole is asked, no whole number).
bool parseShipNumber(const QString &text, bool whole, Value *out);

// Stores an entry (already parsed: Null for an empty box) into the column of the box and
// recomputes what depends on it: sales quantity, sales amount, fee rate default and fee.
// A product code takes the product's name of the shop in use.
void ApplyShipEntry(ShipRec &r, int box, const Value &entry);

// The sales amount the window shows: price x sales quantity - discount (Null as 0); Null when
// price or sales quantity is missing.
Value ShipSalesAmount(const ShipRec &r);

// "#,##0": whole, half away from zero, thousands separated; "" for Null and Empty.
QString fmtAmount(const Value &v);
// A date column's day (an invalid date when the value holds none).
QDate valueDate(const Value &v);

}  // namespace hb
