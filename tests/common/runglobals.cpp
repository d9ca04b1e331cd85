#include "common/runglobals.h"

#include "core/globals.h"

namespace hbtest {

void resetRunGlobals()
{
    hb::gUseType = 0;
    hb::gFmrID = hb::Value();
    hb::gShopID = hb::Value();
    hb::gEditMode = 0;
    hb::gEditRow = -1;
    hb::gCalMonth = QDate();
    hb::gWorkDate = hb::Value();
    hb::gLastPlantID = hb::Value();
    hb::gLastChemiID = hb::Value();
    hb::gLastLedgeID = hb::Value();
    hb::gLastShipID = hb::Value();
    hb::gDiaryLedgeAcc = hb::Value();
    hb::gRepId = 0;
    hb::gPageCount = 0;
}

}  // namespace hbtest
