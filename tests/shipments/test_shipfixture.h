#pragma once
// The data, master and work databases of either kind with growers, a shop, products and
// plantings, for the shipment tests.

#include "common/globaldbs.h"
#include "common/harness.h"
#include "core/forms.h"
#include "core/globals.h"
#include "cultivation/plantrec.h"
#include "shipments/shiprec.h"
#include "shipments/shipsave.h"

#include <QDate>

namespace shiptest {

using hb::Value;

inline Value day(int y, int m, int d) { return Value(QDate(y, m, d)); }

class ShipDb : public hbtest::GlobalDbs {
protected:
    void SetUp() override
    {
        GlobalDbs::SetUp();
        if (IsSkipped())
            return;
        openMaster();
        hb::gFmrID = Value(1);
        hb::gShopID = Value(1);
        hb::gLastShipFmrID = Value();
        hb::gLastPlantFmrID = Value();
        hb::gShip.assign(1, hb::ShipRec());
        putGrower(1, "緑丘 太郎", "緑丘");
        putGrower(2, "山田 花子", "山里");
        putGrower(3, "佐藤 次郎", Value::null());
        putShop(1, "道の駅みどり", Value(1040), Value::null());
        putShop(2, "朝市ひろば", Value(1000), Value(12));
        hb::gMst->EXEC("INSERT INTO M_PRD (SHOP_ID, PRD_ID, PRD_NM) VALUES (1, 101, 'トマト'), (1, 102, 'なす'), "
                       "(2, 201, 'きゅうり')");
    }
    void TearDown() override
    {
        hb::destroyForms();
        hbtest::settle();
        hb::gShip.assign(1, hb::ShipRec());
        GlobalDbs::TearDown();
    }

    static void putGrower(long id, const char *name, const Value &locate)
    {
        hb::gMst->EXEC("INSERT INTO M_FMR (FMR_ID, FMR_NM, LOCATE) VALUES (?, ?, ?)", {Value(id), Value(name), locate});
    }
    static void putShop(long id, const char *name, const Value &acc, const Value &feeRt)
    {
        hb::gMst->EXEC("INSERT INTO M_SHOP (SHOP_ID, SHOP_NM, ACC_ID, FEE_RT) VALUES (?, ?, ?, ?)",
                       {Value(id), Value(name), acc, feeRt});
    }
    static void putPlant(long fmr, long id, const char *name, int year = 2024, const Value &end = Value::null(),
                         const Value &prdId = Value::null(), const Value &prdNm = Value::null())
    {
        hb::gDb->EXEC("INSERT INTO D_PLANT (FMR_ID, PLANT_ID, PLANT_NM, YYYY, PLANT_DATE, START_DATE, END_DATE, PRD_ID, "
                      "PRD_NM, CROP_NM1, AREA) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                      {Value(fmr), Value(id), Value(name), Value(year), day(year, 3, 1), day(year, 3, 1), end, prdId,
                       prdNm, Value("トマト"), Value(2.5)});
    }
    // A stored shipment as the save writes it (no vouchers).
    static void putShip(long fmr, long id, long plant, const QDate &d, double prc, long qty, long sales,
                        const Value &dsc = Value::null(), double fee = 0)
    {
        hb::gDb->EXEC("INSERT INTO D_SHIP (FMR_ID, SHIP_ID, SHIP_DATE, PLANT_ID, SHOP_ID, PRD_ID, PRD_NM, PLAS, ACC_ID, "
                      "SHOP_PRC, SHIP_QTY, RTN_QTY, SALES_QTY, DSC_AMT, SALES_AMT, FEE_RT, FEE_AMT, LEDGE_ID_S, "
                      "LEDGE_ID_F) VALUES (?, ?, ?, ?, 1, 101, 'トマト', -1, 1040, ?, ?, ?, ?, ?, ?, 10, ?, 0, 0)",
                      {Value(fmr), Value(id), Value(d), Value(plant), Value(prc), Value(qty), Value(qty - sales),
                       Value(sales), dsc, Value(prc * static_cast<double>(sales) - (dsc.isNull() ? 0 : dsc.toDouble())),
                       Value(fee)});
    }
    static long count(const QString &sql, const std::vector<Value> &params = {})
    {
        return static_cast<long>(one(sql, params).toLong());
    }
};

}  // namespace shiptest
