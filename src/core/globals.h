#pragma once
// The state of the run, shared by the windows.

#include "core/value.h"

#include <QDate>

namespace hb {

enum UseType : int { kUseSingle = 1, kUseMulti = 2 };
enum EditMode : int { kEditAdd = 1, kEditModify = 2, kEditView = 3, kEditDelete = 4 };

// Kinds of work (L_KBN 20, D_DIARY_DTL.WORK_KBN) that the program treats on their own.
enum WorkKbn : long {
    kWorkChemi = 5,  // pesticide application: the diary's pesticide frame
    kWorkShip = 8,   // a shipment's line, written by the shipment input
};

extern int gUseType;           // USE_TYPE as read at start-up
extern Value gFmrID;           // the current grower
extern Value gShopID;          // the shop in use: 1
extern int gEditMode;          // what the input window about to open is to do
extern long gEditRow;          // 0-based row of the list's shared array; -1 = none
extern QDate gCalMonth;        // first day of the month the calendar shows
extern Value gWorkDate;        // the diary day picked in the calendar
extern Value gLastPlantID;
extern Value gLastChemiID;
extern Value gLastLedgeID;
extern Value gLastShipID;
extern Value gDiaryLedgeAcc;   // the fixed account of the diary's voucher book
extern int gRepId;
extern int gPageCount;

// The current grower as a number (0 when unset).
long currentFmrId();

}  // namespace hb
