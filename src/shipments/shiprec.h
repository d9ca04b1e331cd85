#pragma once
// The shipment row record, the shared array of the loaded shipments and its loader.

#include "core/rowrecord.h"
#include "core/value.h"

#include <QStringList>
#include <vector>

namespace hb {

class DbObject;
class Recordset;

// One row of D_SHIP, field by field in column order. A fresh record holds Empty in every field.
struct ShipRec : RowRecord<ShipRec> {
    Value FMR_ID;
    Value SHIP_ID;
    Value SHIP_DATE;
    Value PLANT_ID;
    Value DTL_NO;
    Value SHOP_ID;
    Value PRD_ID;
    Value PRD_NM;
    Value LOCATE;
    Value PLAS;
    Value ACC_ID;
    Value SHOP_PRC;
    Value SHIP_QTY;
    Value RTN_QTY;
    Value SALES_QTY;
    Value DSC_AMT;
    Value SALES_AMT;
    Value FEE_RT;
    Value FEE_AMT;
    Value NOTES;
    Value PRINT_DATE;
    Value EXP_DATE;
    Value LEDGE_ID_S;
    Value LEDGE_ID_F;
    Value IDATE;
    Value UDATE;
    Value LAST_TM;
    Value HOLD_TM;

    static const std::vector<Column> &columns();
};

// The shipments loaded last. Never empty: after a load of no rows it holds one element whose
// fields are all Empty.
extern std::vector<ShipRec> gShip;

// Replaces gShip with the rows of the recordset from its current row to its end, each row's
// columns of D_SHIP taken by name; returns the number of rows loaded. The recordset is left
// open after its last row.
long SetShipAry(Recordset &rs);

// Reads the grower's shipment of that number (when its planting exists) into gShip; the number
// of rows read.
long LoadShipment(DbObject &db, long fmrId, long shipId);

}  // namespace hb
