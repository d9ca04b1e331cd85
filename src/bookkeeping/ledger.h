#pragma once
// The voucher: its row record, the shared array of the windows, the accounts and option kinds
// the program itself posts to, the origin of a voucher, and the writer of generated vouchers.

#include "core/loadedrows.h"
#include "core/rowrecord.h"
#include "core/value.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

namespace hb {

class DbObject;
class Recordset;

// One row of D_LEDGE, field by field in column order. A fresh record holds Empty in every field.
struct LedgeRec : RowRecord<LedgeRec> {
    Value FMR_ID;
    Value LEDGE_ID;
    Value LEDGE_DATE;
    Value D_ACC_ID;
    Value D_OPT_KBN;
    Value D_OPT_ID;
    Value D_OPT_NM;
    Value C_ACC_ID;
    Value C_OPT_KBN;
    Value C_OPT_ID;
    Value C_OPT_NM;
    Value CTR_NM;
    Value NOTES;
    Value AMT;
    Value IDATE;
    Value UDATE;
    Value LAST_TM;
    Value HOLD_TM;

    static const std::vector<Column> &columns();
};

// The vouchers of the voucher list or of the diary day. Never empty: with no voucher it holds
// one element whose fields are all Empty.
extern std::vector<LedgeRec> gLedge;

// Accounts the program posts to itself.
enum AccId : long {
    kAccCash = 1000,
    kAccBank = 1010,
    kAccReceivable = 1040,
    kAccChemiStock = 1130,
    kAccPayable = 2000,
    kAccSales = 4000,
    kAccChemiUsed = 4160,
    kAccShopFee = 4520,
};

// What the option of a voucher side names.
enum OptKbn : long {
    kOptNone = 0,
    kOptPlant = 2,  // a planting (PLANT_ID)
    kOptChemi = 3,  // a pesticide purchase (CHEMI_ID)
    kOptUnread = -1,  // a window's option box whose account's kind could not be read: none shown
};

// The option kind of an account (L_ACC.OPT_KBN); 0 for no account and for an account without one.
long AccountOptKind(long accId);
// The option kinds a voucher saved by the voucher windows carries: each side's is its account's.
void SetLedgeOptKinds(LedgeRec &voucher);

// Where a voucher comes from.
enum LedgeSrc : long {
    kSrcFree = 0,
    kSrcDiary = 1,     // a pesticide-use line of the diary
    kSrcChemi = 2,     // a pesticide purchase
    kSrcShip = 3,      // a shipment's sales or fee
};

// The origin of a grower's voucher, from the back-links that the saved rows hold.
long GetLedgeSrcKbn(long fmrId, long ledgeId);

// The refusal shown when a generated voucher is to be modified (edit mode 2) or deleted (4)
// outside the window that made it; "" when the action is allowed.
QString LedgeRefusalMsg(long src, int editMode);

// The check the voucher windows make before they open a voucher for an action: a generated
// voucher is refused with its message (exclamation, program title) and true is returned.
bool RefuseGeneratedLedge(long fmrId, long ledgeId, int editMode);

// One side of a voucher.
struct LedgeSide {
    Value accId;
    Value optKbn;
    Value optId;
    Value optNm;
};

// A voucher that a saved row posts, its sides as they stand for a positive value.
// Texts are stored as given (Null and Empty as NULL).
struct GeneratedLedge {
    long fmrId = 0;
    QDate ledgeDate;
    LedgeSide debit;
    LedgeSide credit;
    Value ctrNm;
    Value notes;
    Value idate;  // Empty: the time of writing; Null: NULL (a source row that has none)
    Value udate;  // Empty: NULL
};

// Replaces the voucher that a source row links to (backLink, 0 when none) and returns the
// number to keep in the back-link. The old voucher is deleted; a deciding value of 0 posts
// nothing and gives 0; a negative one swaps the sides and stores the amount negated. The
// voucher keeps the old number, or takes the grower's highest number plus one.
// Runs in the database's open transaction, or in one of its own.
long WriteGeneratedLedge(DbObject &db, const GeneratedLedge &voucher, double decidingValue, Currency amount,
                         long backLink);

// A voucher date as the windows show it ("yyyy/MM/dd"); "" for none; text stays as it is.
QString ledgeDateText(const Value &v);
// An amount as the voucher windows show it ("#,##0"): whole, half away from zero, thousands
// separated, a leading "-" when negative.
QString FormatLedgeAmount(Currency amount);

// How a save of the voucher input ended.
enum class LedgeSaveResult {
    Saved,
    Missing,  // the voucher to modify or delete is gone (deleted meanwhile elsewhere): nothing written
};

// The voucher input's save of a free voucher (edit mode 1 add, 2 modify, 4 delete) in one
// transaction on the database: a new voucher belongs to the grower and takes the grower's next
// number inside the transaction; the record receives its number and hold columns. A failure
// rolls back and raises. Modes 2 and 4 first compare what is stored with `loaded` (LoadedLedge,
// as the window loaded it) and raise ChangedElsewhere, writing nothing, when another computer
// changed it.
LedgeSaveResult SaveLedge(DbObject &db, int mode, long fmrId, LedgeRec &voucher,
                          const std::vector<LoadedRows> &loaded = {});

// What a save of the voucher overwrites: its row, as the list read it.
std::vector<LoadedRows> LoadedLedge(const LedgeRec &row);

// The grower's vouchers that a source row links to (the numbers above 0), read now: what the
// save that rewrites them compares with. Nothing to compare when the row links to none.
LoadedRows LoadedVouchers(DbObject &db, const Value &fmrId, std::initializer_list<Value> links);

}  // namespace hb
