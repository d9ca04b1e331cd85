#include "core/globals.h"

namespace hb {

int gUseType = 0;
Value gFmrID;
Value gShopID;
int gEditMode = 0;
long gEditRow = -1;
QDate gCalMonth;
Value gWorkDate;
Value gLastPlantID;
Value gLastChemiID;
Value gLastLedgeID;
Value gLastShipID;
Value gDiaryLedgeAcc;
int gRepId = 0;
int gPageCount = 0;

long currentFmrId()
{
    return static_cast<long>(NullToVal(gFmrID, Value(0)).toLong());
}

}  // namespace hb
