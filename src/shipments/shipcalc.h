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


// The number a box's text stands for: Null for an empty text; false when the text is no number
// (or, where whole is asked, no whole number).
bool parseShipNumber(const QString &text, bool whole, Value *out);

// What a box's text gives its column: Null for an empty text and, silently, for a text that is
// no number; the day for a date, the text itself for a day that is no date (kept, and refused
// on the save); the text of the product code (ApplyShipEntry takes its leading whole number).
// False for a shipped quantity that is a number but no whole one of the column's range: it is
// refused with "数値を指定してください。".
bool ShipEntry(int box, const QString &text, Value *entry);

// Stores an entry (as ShipEntry gives it) into the column of the box and recomputes what
// depends on it: sales quantity, sales amount, fee rate default and fee. A product code is
// stored as its leading whole number (Null when it has none) and takes the name the record's
// shop gives that number; an empty code leaves the name. The fee rate's default is the record's
// shop's rate (1 when it has none); a rate already set is never replaced.
void ApplyShipEntry(ShipRec &r, int box, const Value &entry);

// The sales amount the window shows: price x sales quantity - discount (Null as 0); Null when
// price or sales quantity is missing.
Value ShipSalesAmount(const ShipRec &r);

// "#,##0": whole, half away from zero, thousands separated; "" for Null and Empty.
QString fmtAmount(const Value &v);
// A date column's day (an invalid date when the value holds none).
QDate valueDate(const Value &v);
// The day as the windows show it ("yyyy/MM/dd"); a text that is no date as it stands.
QString shipDayText(const Value &v);

}  // namespace hb
