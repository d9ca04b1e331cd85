#pragma once
// The stock of the pesticide purchases, kept in step with the diary's pesticide use, and the
// fixed unit factors of the diary's pesticide cost.

#include "core/value.h"

#include <QDateTime>
#include <vector>

namespace hb {

class DbObject;

// The number of `first` units in one `second` unit: 1 when the codes are equal or either is 0;
// g 1, kg 2, mg 3 and mL 4, L 5 convert within their family; any other pair gives 0.
double GetUnitRate(long first, long second);

// Resets the stock of the grower's purchases that no diary line (of any grower) names:
// USED_QTY 0 and REST_QTY = PUR_QTY, in one statement, which runs only when some purchase
// needs it (nothing is written when none does).
void ClearChemiUse(DbObject &db, const Value &fmrId);

// The reset of the current grower's unused purchases (ClearChemiUse). Where it must write and
// cannot (a data file read-only or full), the failure is shown once (critical, its description)
// and the caller goes on with the purchases as stored; the next reset that can write resets.
// Any other failure is raised. The start and the list's 検索 run it.
void resetChemiUse();

// Recomputes USED_QTY of the purchases the grower's lines of the day name, and of those in
// `loadedChemiIds` (the purchases the day's lines named when the day was loaded, so a purchase
// whose line was removed is recomputed too): each gets the sum of all the grower's lines
// naming it, on any day, converted into the purchase's unit by L_CHEMI_UNIT; 0 when none does.
// Then REST_QTY = PUR_QTY - USED_QTY on every purchase. Nothing happens when neither the day's
// lines nor the loaded list name anything.
// The data database's writes run in its open transaction, or in one of their own.
void CalChemiStock(DbObject &db, DbObject &work, const QDateTime &workDate, long fmrId,
                   const std::vector<long> &loadedChemiIds = {});

}  // namespace hb
