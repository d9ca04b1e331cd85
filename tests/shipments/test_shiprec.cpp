// The shipment loader and the shared array of shipments.

#include "common/backends.h"
#include "core/schema.h"
#include "shipments/shiprec.h"

using hb::Value;

namespace {

class ShipLoader : public hbtest::BothBackends {
protected:
    void SetUp() override
    {
        BothBackends::SetUp();
        if (!IsSkipped())
            hb::loadSchema(db(), hb::Schema::Data);
    }
    void ship(long fmr, long id, const Value &name)
    {
        db().EXEC("INSERT INTO D_SHIP (FMR_ID, SHIP_ID, SHIP_DATE, PRD_NM, PLAS, SHOP_PRC, SHIP_QTY, LEDGE_ID_S) "
                  "VALUES (?, ?, #2024-06-03#, ?, -1, 198, 12, ?)",
                  {Value(fmr), Value(id), name, Value(id * 10)});
    }
    hb::RecordsetPtr query(const QString &where = QString())
    {
        return db().GetFwdOnlyRst("SELECT D_SHIP.* FROM D_SHIP " + where + " ORDER BY FMR_ID, SHIP_ID DESC");
    }
    static bool allEmpty(const hb::ShipRec &r)
    {
        for (int i = 0; i < hb::ShipRec::fieldCount(); ++i)
            if (!r.field(i).isEmpty())
                return false;
        return true;
    }
};

TEST_P(ShipLoader, LoadsTheRowsInQueryOrderAndReplacesTheLastLoad)
{
    ship(1, 1, Value("大根"));
    ship(1, 2, Value("O'Neil's #2 100%"));
    ship(1, 3, Value("白菜"));
    ship(2, 1, Value("人参"));

    auto rs = query("WHERE FMR_ID=1");
    EXPECT_EQ(hb::SetShipAry(*rs), 3);
    EXPECT_TRUE(rs->eof());
    ASSERT_EQ(hb::gShip.size(), 3u);
    const long order[] = {3, 2, 1};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(hb::gShip[i].SHIP_ID, Value(order[i])) << i;
    const hb::ShipRec &r = hb::gShip[1];
    EXPECT_EQ(r.FMR_ID, Value(1));
    EXPECT_EQ(r.SHIP_DATE, Value(QDate(2024, 6, 3)));
    EXPECT_EQ(r.PRD_NM, Value("O'Neil's #2 100%"));
    EXPECT_EQ(r.PLAS.toBool(), true);
    EXPECT_EQ(r.SHOP_PRC, Value(hb::Currency::fromDouble(198)));
    EXPECT_EQ(r.SHIP_QTY, Value(12));
    EXPECT_EQ(r.LEDGE_ID_S, Value(20));
    // Columns without a value are Null, not Empty.
    for (const hb::Value *v : {&r.PLANT_ID, &r.DTL_NO, &r.NOTES, &r.PRINT_DATE, &r.LEDGE_ID_F, &r.HOLD_TM})
        EXPECT_TRUE(v->isNull());

    // A recordset already moved on loads from where it stands.
    rs = query();
    rs->MoveNext();
    rs->MoveNext();
    EXPECT_EQ(hb::SetShipAry(*rs), 2);
    ASSERT_EQ(hb::gShip.size(), 2u);
    EXPECT_EQ(hb::gShip[0].SHIP_ID, Value(1));
    EXPECT_EQ(hb::gShip[0].FMR_ID, Value(1));
    EXPECT_EQ(hb::gShip[1].FMR_ID, Value(2));

    // No rows: one element, every field Empty.
    rs = query("WHERE FMR_ID=9");
    EXPECT_EQ(hb::SetShipAry(*rs), 0);
    ASSERT_EQ(hb::gShip.size(), 1u);
    EXPECT_TRUE(allEmpty(hb::gShip[0]));
}

TEST_P(ShipLoader, ARowWithoutTheShipmentColumnsFailsTheLoad)
{
    ship(1, 1, Value("大根"));
    auto rs = db().GetFwdOnlyRst("SELECT FMR_ID, SHIP_ID FROM D_SHIP");
    try {
        hb::SetShipAry(*rs);
        ADD_FAILURE() << "no error";
    } catch (const hb::HbError &e) {
        EXPECT_EQ(e.number(), 3265);
    }
    // At its end, the same recordset loads nothing and fails nothing.
    rs->MoveNext();
    EXPECT_EQ(hb::SetShipAry(*rs), 0);
}

TEST_P(ShipLoader, FortyThousandRowsLoad)
{
    db().EXEC("CREATE TABLE DIGITS (D INT)");
    db().EXEC("INSERT INTO DIGITS (D) VALUES (0), (1), (2), (3), (4), (5), (6), (7), (8), (9)");
    db().EXEC("INSERT INTO D_SHIP (FMR_ID, SHIP_ID, PRD_NM) "
              "SELECT 1, a.D + 10 * b.D + 100 * c.D + 1000 * e.D + 10000 * f.D + 1, 'x' "
              "FROM DIGITS a, DIGITS b, DIGITS c, DIGITS e, DIGITS f WHERE f.D < 4");
    auto rs = query();
    EXPECT_EQ(hb::SetShipAry(*rs), 40000);
    ASSERT_EQ(hb::gShip.size(), 40000u);
    EXPECT_EQ(hb::gShip.front().SHIP_ID, Value(40000));
    EXPECT_EQ(hb::gShip.back().SHIP_ID, Value(1));
}

HB_INSTANTIATE_BOTH_BACKENDS(ShipLoader);

}  // namespace
