#pragma once
// One diary day of a grower as the diary-day window holds it: the day record, the work lines
// and the day's vouchers; how a day is read; the line operations that keep the arrays "never
// empty"; the pick lists and look-ups of the window; the voucher books of the day; and the
// window's caption.

#include "bookkeeping/ledger.h"
#include "core/globals.h"
#include "core/loadedrows.h"
#include "core/picklist.h"
#include "core/rowrecord.h"
#include "core/value.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

namespace hb {

// One row of D_DIARY, field by field in column order.
struct DiaryRec : RowRecord<DiaryRec> {
    Value FMR_ID;
    Value WORK_DATE;
    Value WTH_ID;
    Value LO_TMP;
    Value HI_TMP;
    Value ONE_MSG;
    Value NOTES1;
    Value NOTES2;
    Value IDATE;
    Value UDATE;
    Value LAST_TM;
    Value HOLD_TM;

    static const std::vector<Column> &columns();
};

// One row of D_DIARY_DTL, field by field in column order.
struct DiaryDtlRec : RowRecord<DiaryDtlRec> {
    Value FMR_ID;
    Value WORK_DATE;
    Value DTL_NO;
    Value PLANT_ID;
    Value WORK_KBN;
    Value WORK_NM;
    Value NOTES;
    Value CHEMI_ID;
    Value CHEMI_NM;
    Value REG_NO;
    Value PURPOSE;
    Value QTY;
    Value UNIT_ID;
    Value SHIP_ID;
    Value SCHD_ID;
    Value LEDGE_ID;

    static const std::vector<Column> &columns();
};

// A day as read. Plain values: a save can work on a copy and take it over after its commit.
struct DiaryDay {
    DiaryRec day;                           // FMR_ID, WORK_DATE, IDATE = load time when no row
    std::vector<DiaryDtlRec> lines{1};      // DTL_NO order; never empty (one all-Empty element)
    std::vector<LedgeRec> ledge{1};         // LEDGE_DATE, LEDGE_ID order; never empty
    std::vector<long> loadedChemiIds;       // the purchases the lines named, for the stock update
    bool hasRow = false;                    // the day had a D_DIARY row (now held by this computer)
    std::vector<LoadedRows> loadedRows;     // what the day's save overwrites, as read (DayRows)
    QString holdFailure;                    // why the hold could not be written ("" when it was)
};

// Reads the grower's day: the D_DIARY row, which is then held by this computer (whoever held it
// before); the work lines, also when the day has no D_DIARY row; and the vouchers dated exactly
// that day. Raises on a failed read; a hold that cannot be written (a read-only file, a full
// disk) does not stop the reading: the day is returned with the failure in holdFailure. Nothing
// but the hold is written.
DiaryDay LoadDiaryDay(long fmrId, const QDateTime &workDate);

// The rows a save of the grower's day overwrites or deletes, read now: the D_DIARY row (or its
// absence), the work lines and the vouchers dated that day.
std::vector<LoadedRows> DayRows(DbObject &db, long fmrId, const QDateTime &workDate);

// Adds a line for the planting (Empty for none) and returns its index: the empty element of a
// day without lines is used, otherwise the line is appended. Its number is the highest of the
// day plus one, so it is unique however the numbers run; WORK_KBN 0, the rest Empty.
int AddLine(std::vector<DiaryDtlRec> &lines, const DiaryRec &day, const Value &plantId);

// Removes element i; the later ones move down; a single element becomes one all-Empty element.
template <class T>
void RemoveKeepingOne(std::vector<T> &array, std::size_t i)
{
    if (i >= array.size())
        return;
    if (array.size() == 1)
        array.assign(1, T());
    else
        array.erase(array.begin() + static_cast<std::ptrdiff_t>(i));
}

// Removes the first voucher of that number; false when there is none.
bool RemoveLedge(std::vector<LedgeRec> &ledge, long ledgeId);

// True when the line holds anything of a pesticide use.
bool HasPesticide(const DiaryDtlRec &line);
// Clears what a pesticide use holds (CHEMI_ID 0, CHEMI_NM, PURPOSE, QTY Null, UNIT_ID 0); the
// voucher number stays, so the save removes the voucher.
void ClearPesticide(DiaryDtlRec &line);

// The pick lists of the diary-day window: the slots of its cmbDATA.
enum DiaryPick : int {
    kPickWeather = 0,
    kPickWorkKbn = 1,  // kinds of work
    kPickChemi = 2,    // the grower's valid pesticide purchases
    kPickPurpose = 3,  // the purposes registered for a purchase
    kPickUnit = 4,
    kPickCount = 5,
};

// The rows offered by the pick list cmbDATA(k), without the empty first entry: the weather, the
// kinds of work, the grower's valid pesticide purchases ("m/d" and the name, by name), the
// purposes registered for the purchase chemiId, the units. Other k give nothing.
std::vector<PickEntry> PickRows(int k, long fmrId, long chemiId = 0);

// The grower's plantings in progress on the day, by planting date.
std::vector<PickEntry> PlantingsOfDay(long fmrId, const QDateTime &workDate);

// What the window shows of a planting of the grower.
struct PlantFacts {
    bool found = false;
    QString crop;       // CROP_NM1
    QString harvest;    // HARVEST_SCHD_YM as "yyyy/mm"
    QString plantDate;  // PLANT_DATE as "yyyy/mm/dd"
    QString area;       // AREA, 0 when Null
};
PlantFacts GetPlantFacts(long fmrId, long plantId);

// Work names written before for a kind of work on the grower's plantings: names from plantings
// without a crop name, then those of the crop of `plantId`, then the others, each group in name
// order (exact comparison, the same on every backend); a name may appear in several groups.
QStringList WorkNameHistory(long fmrId, long plantId, long workKbn);

// ---- the voucher books of the day (cash, bank deposit, receivable, payable) ----

// The pages of the diary-day window: the slots of its page options (Option1).
enum DiaryPage : int {
    kPageWork = 0,  // the work lines
    kPageCash = 1,  // the voucher books
    kPageBank = 2,
    kPageReceivable = 3,
    kPagePayable = 4,
    kPageCount = 5,
};

// The account of a page option: cash 1000, bank deposit 1010, receivable 1040, payable 2000; 0
// for any other option (the work-line page).
long BookAccount(int option);

// A column of a voucher book: its key, caption, design width in twips and alignment.
struct LedgeBookColumn {
    QString key;
    QString caption;
    int twips = 0;
    bool right = false;
};
// The columns of the book of an account: ID (width 0), №, 科目, 相手, 備考, then the increase and
// decrease columns and 残高 for the four book accounts; only the first five for any other.
std::vector<LedgeBookColumn> LedgeBookColumns(long accId);

// One voucher as its book lists it.
struct LedgeBookRow {
    QString ledgeId;   // the row's own text: the voucher's number
    long number = 0;   // 1, 2, 3 ... of the rows listed
    QString accNm;     // the other side's account name
    QString ctrNm;
    QString notes;
    Currency increase;
    Currency decrease;
    Currency balance;  // after the row
};
struct LedgeBook {
    Currency opening;  // the saved vouchers of the grower before the day
    Currency increaseTotal;
    Currency decreaseTotal;
    Currency balance;  // the balance after the last row
    std::vector<LedgeBookRow> rows;
};
// The book of an account over the day's vouchers in `ledge` (in array order, those with the
// account on either side) and the grower's saved vouchers before the day for the opening
// balance (debits minus credits; credits minus debits for the payable account 2000). A voucher
// is a decrease when the account is its credit side, an increase otherwise (for 2000 the other
// way round). Raises on a database error.
LedgeBook BuildLedgeBook(long accId, long fmrId, const QDateTime &workDate, const std::vector<LedgeRec> &ledge);


// The sexagenary label of a day from L_ETO; "" when it cannot be found.
QString GetEtoNm(const QDateTime &d);
// The rokuyo name of GetRokuyo's value.
QString RokuyoName(int rokuyo);
// "日誌入力（yyyy/mm/dd） " + old date + " " + sexagenary label + " " + rokuyo name.
QString DiaryCaption(const QDateTime &d);

}  // namespace hb
