#include "shipments/shiprec.h"

#include "core/db.h"

#include <iterator>

namespace hb {

std::vector<ShipRec> gShip(1);

const std::vector<ShipRec::Column> &ShipRec::columns()
{
    static const std::vector<Column> c = {
        {"FMR_ID", &ShipRec::FMR_ID},
        {"SHIP_ID", &ShipRec::SHIP_ID},
        {"SHIP_DATE", &ShipRec::SHIP_DATE},
        {"PLANT_ID", &ShipRec::PLANT_ID},
        {"DTL_NO", &ShipRec::DTL_NO},
        {"SHOP_ID", &ShipRec::SHOP_ID},
        {"PRD_ID", &ShipRec::PRD_ID},
        {"PRD_NM", &ShipRec::PRD_NM},
        {"LOCATE", &ShipRec::LOCATE},
        {"PLAS", &ShipRec::PLAS},
        {"ACC_ID", &ShipRec::ACC_ID},
        {"SHOP_PRC", &ShipRec::SHOP_PRC},
        {"SHIP_QTY", &ShipRec::SHIP_QTY},
        {"RTN_QTY", &ShipRec::RTN_QTY},
        {"SALES_QTY", &ShipRec::SALES_QTY},
        {"DSC_AMT", &ShipRec::DSC_AMT},
        {"SALES_AMT", &ShipRec::SALES_AMT},
        {"FEE_RT", &ShipRec::FEE_RT},
        {"FEE_AMT", &ShipRec::FEE_AMT},
        {"NOTES", &ShipRec::NOTES},
        {"PRINT_DATE", &ShipRec::PRINT_DATE},
        {"EXP_DATE", &ShipRec::EXP_DATE},
        {"LEDGE_ID_S", &ShipRec::LEDGE_ID_S},
        {"LEDGE_ID_F", &ShipRec::LEDGE_ID_F},
        {"IDATE", &ShipRec::IDATE},
        {"UDATE", &ShipRec::UDATE},
        {"LAST_TM", &ShipRec::LAST_TM},
        {"HOLD_TM", &ShipRec::HOLD_TM},
    };
    return c;
}

long SetShipAry(Recordset &rs)
{
    return ShipRec::loadArray(rs, gShip);
}

long LoadShipment(DbObject &db, long fmrId, long shipId)
{
    auto rs = db.GetFwdOnlyRst(
        QStringLiteral("SELECT  D_SHIP.*  FROM D_SHIP INNER JOIN D_PLANT ON D_SHIP.PLANT_ID=D_PLANT.PLANT_ID"
                       " AND D_SHIP.FMR_ID=D_PLANT.FMR_ID WHERE D_SHIP.FMR_ID=? AND SHIP_ID=?"
                       " ORDER BY D_SHIP.SHIP_DATE,D_SHIP.PLANT_ID,D_SHIP.SHIP_ID"),
        {Value(static_cast<long long>(fmrId)), Value(static_cast<long long>(shipId))});
    const long n = SetShipAry(*rs);
    rs->Close();
    return n;
}

}  // namespace hb
