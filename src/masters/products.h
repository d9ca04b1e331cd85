#pragma once
// The products of the master database (M_PRD): read whole and replaced whole.

#include "core/loadedrows.h"
#include "core/rowrecord.h"

#include <vector>

namespace hb {

class DbObject;

// One M_PRD row.
struct PrdRec : RowRecord<PrdRec> {
    Value SHOP_ID, PRD_ID, PRD_NM, PRD_OMT, PRD_YM, M_CD, S_CD, PRD_CD, PRD_KBN, REP_KBN, NOTES, I_NM, I_MTLS,
        I_WEIGHT, I_UNIT, I_PSRV, I_TERM, I_DEF_DAYS, CHK_FLG, IDATE, UDATE, LAST_TM, HOLD_TM;
    static const std::vector<Column> &columns();
};

// Every product in ID order into the array (never empty); the number of rows read. With
// `loaded`, the rows a save replaces are read into it first (the window never shows older ones).
long LoadProducts(DbObject &db, std::vector<PrdRec> &products, LoadedRows *loaded = nullptr);

// Replaces M_PRD with the products whose ID is a number above 0, in one transaction on the
// database (a failure rolls back and raises); the number of rows written. A product stored for
// the first time is inserted now; one stored before keeps its insertion time and is updated now.
// With `loaded` (as LoadProducts read it), the stored rows are first compared with it: when another
// computer changed, added or removed one, nothing is written and ChangedElsewhere is raised;
// after the save `loaded` holds the rows as written, for a second save of the same window.
long SaveProducts(DbObject &db, const std::vector<PrdRec> &products, LoadedRows *loaded = nullptr);

}  // namespace hb
