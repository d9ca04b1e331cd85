#pragma once
// The pesticide purchase record (one row of D_CHEMI), the shared array of the pesticide list,
// the list's query and the checks and writes of the purchase input. Purchases are numbered over
// the whole table (CHEMI_ID, unique across growers); each may post one voucher, whose number
// (per grower) the row keeps in LEDGE_ID.

#include "core/loadedrows.h"
#include "core/rowrecord.h"
#include "core/value.h"

#include <QDate>
#include <QString>
#include <map>
#include <vector>

namespace hb {

class DbObject;

// One row of D_CHEMI, field by field in column order. A fresh record holds Empty everywhere.
struct ChemiRec : RowRecord<ChemiRec> {
    Value FMR_ID;
    Value CHEMI_ID;
    Value CHEMI_NM;
    Value REG_NO;
    Value USES;
    Value MAKER_NM;
    Value CHEMI_TYPE;
    Value CHEMI_KIND;
    Value PUR_DATE;
    Value PUR_SHOP;
    Value PUR_QTY;
    Value PUR_UNIT;
    Value ACC_ID;
    Value PUR_AMT;
    Value USED_QTY;
    Value REST_QTY;
    Value NOTES;
    Value LEDGE_ID;
    Value CHK_FLG;
    Value IDATE;
    Value UDATE;
    Value LAST_TM;
    Value HOLD_TM;

    static const std::vector<Column> &columns();
};

// The purchases the pesticide list shows, element i = list row i. Never empty: before the first
// query that finds rows it holds one all-Empty element; a query without rows leaves it as it was.
extern std::vector<ChemiRec> gChemi;

// The leading whole number of a text (blanks before it skipped, a sign allowed): "123ab" -> 123.
// False when the text starts with no number or the number is beyond the range of a stored one.
bool leadingWholeNumber(const QString &text, long *out);

// Which purchases the list shows by their remaining quantity; also the slots of the list's
// options ("あり", "なし", "全て").
enum class ChemiStock { Left = 0, None = 1, All = 2, Count = 3 };

// The filters of the pesticide list, parsed: no typed text reaches a statement.
struct ChemiFilter {
    long fmrId = 0;
    long uses = 0;       // 0: any use
    QString name;        // part of the name ("" none); "%" and "_" act as wildcards
    QDate from;          // first and last purchase day, inclusive; invalid: no bound
    QDate to;
    bool byRegNo = false;
    long regNo = 0;      // the registration number when byRegNo
    ChemiStock stock = ChemiStock::Left;
};

// The grower's purchases the filter selects, ordered by purchase date and name, every column.
std::vector<ChemiRec> queryChemi(const ChemiFilter &filter);

// The names of the pesticide uses (L_KBN kind 15) by ID.
std::map<long, QString> chemiUseNames();

// Why a purchase may not be deleted: "この農薬はm/dに使用されています。削除できません。" with the
// earliest day of the grower's diary lines that use it; "" when none does.
QString chemiDeleteRefusal(const Value &fmrId, const Value &chemiId);

// The remaining quantity the input shows and saves: PUR_QTY - USED_QTY (no use counts 0); Null
// when there is no purchased quantity.
Value chemiRestQty(const ChemiRec &rec);

// The quantity text of the purchase voucher: the quantity with one decimal and the unit's name
// ("12.0L", "12.0" without unit); Null when that gives no text.
Value chemiQtyText(const Value &qty, const Value &unit);

enum class ChemiSaveResult { Saved, Missing };

// Writes the record on `db` in one transaction: mode 1 inserts it under the highest CHEMI_ID of
// the table plus one (taken inside the transaction; a number taken meanwhile elsewhere fails on
// the key), 2 updates the row of its CHEMI_ID, 4 deletes it. Modes 1 and 2 post the purchase
// voucher first: with a date and an amount other than 0 it is written under the number the row
// keeps (or the grower's next one; a negative amount swaps the sides), otherwise the old voucher
// goes and LEDGE_ID is 0; mode 4 removes the voucher with the row. Quantities and the amount are
// stored as numbers (none as 0), the valid flag as a truth value, and the audit columns as a save
// writes them. Missing: modes 2 and 4 found no row; nothing written. On any failure nothing is
// written and the error is raised. Only after the commit does rec take what was written (its
// numbers, the audit columns).
// Modes 2 and 4 first compare what is stored with `loaded` (LoadedChemi, as the window loaded it)
// and raise ChangedElsewhere, writing nothing, when another computer changed it.
ChemiSaveResult SaveChemi(DbObject &db, int mode, ChemiRec &rec, const std::vector<LoadedRows> &loaded = {});

// What a save of the purchase overwrites: its row as the list read it, and its voucher read now.
std::vector<LoadedRows> LoadedChemi(DbObject &db, const ChemiRec &row);

}  // namespace hb
