#pragma once
// Saving a diary day: the day's vouchers rewritten, a pesticide-use voucher posted for every
// line that uses a purchase, the day row, the lines renumbered from 1 and the stock of the
// purchases concerned, all in one transaction of the data database.

#include "bookkeeping/ledger.h"
#include "diary/diaryday.h"

#include <vector>

namespace hb {

class DbObject;

// The cost of using `qty`, counted in unit `unitId`, of the grower's pesticide purchase
// `chemiId`: the purchase's unit price (amount / quantity, 4 decimals) times the quantity times
// the number of purchase units in one line unit, rounded half away from zero to a whole amount.
// A purchase that is gone or has no quantity, or a unit without a factor to the purchase's
// unit, costs 0; a line without a unit counts in the purchase's unit. Negative for a negative
// quantity.
Currency CalChemiAmt(DbObject &db, long fmrId, long chemiId, Currency qty, long unitId);

// The text a pesticide-use voucher names its purchase side with: the quantity as "0.0" directly
// followed by the unit's name ("" for a unit without a row).
QString ChemiUseText(const Value &qty, const Value &unitId);

// What a save works on: copies of the diary-day window's records.
struct DiarySave {
    DiaryRec day;                        // FMR_ID, WORK_DATE and the header fields
    std::vector<DiaryDtlRec> lines;      // never empty; an element with DTL_NO Empty or 0 is no line
    std::vector<LedgeRec> ledge;         // the day's vouchers as edited (gLedge)
    std::vector<LedgeRec> loadedLedge;   // the vouchers as the day was loaded: their IDATE and UDATE
    std::vector<long> loadedChemiIds;    // the purchases the lines named when the day was loaded
    std::vector<LoadedRows> loadedRows;  // the day's rows as loaded (DayRows)

    // The day as loaded, saved unchanged unless the caller edits the copy.
    static DiarySave asLoaded(const DiaryDay &d)
    {
        return DiarySave{d.day, d.lines, d.ledge, d.ledge, d.loadedChemiIds, d.loadedRows};
    }
};

// Writes the day and returns it as stored: the lines carry their voucher numbers (a new number
// for a line that starts posting, 0 for one that stops) and are numbered from 1 in array order;
// the vouchers are the day's vouchers as stored, pesticide-use vouchers included, in LEDGE_DATE
// and LEDGE_ID order. Every write runs in one transaction of the data database (joining one that
// is open); on any failure it is rolled back and the error raised, so the caller, holding its own
// records, has lost nothing.
//
// Before it writes, the save compares the day's rows with `loadedRows`: when another computer
// changed them meanwhile it writes nothing and raises ChangedElsewhere. The day returned carries
// the rows as stored, for a later save.
//
// Vouchers written back from `ledge` keep the IDATE they were loaded with and their UDATE when
// unchanged, and get UDATE = now when changed; vouchers not loaded get IDATE = now. Every
// voucher of the grower dated that day that `ledge` does not hold is deleted.
DiarySave SaveDiaryDay(DbObject &db, DiarySave s);

}  // namespace hb
