#include "shipments/shiplist.h"

#include "core/db.h"
#include "shipments/shiprec.h"

#include <QStringList>

namespace hb {

namespace {

const QString kShipFrom = QStringLiteral(" FROM D_SHIP INNER JOIN D_PLANT ON D_SHIP.PLANT_ID=D_PLANT.PLANT_ID AND "
                                         "D_SHIP.FMR_ID=D_PLANT.FMR_ID");

// The WHERE clause of the list's shipments with its bound values.
QString shipWhere(const ShipListFilter &f, std::vector<Value> &params)
{
    QStringList w;
    if (f.year) {
        w << QStringLiteral("D_PLANT.YYYY=?");
        params.push_back(Value(*f.year));
    }
    if (f.planting) {
        w << QStringLiteral("D_SHIP.FMR_ID=? AND D_SHIP.PLANT_ID=?");
        params.push_back(Value(f.planting->first));
        params.push_back(Value(f.planting->second));
    } else {
        if (f.listedYear) {
            w << QStringLiteral("D_PLANT.YYYY=?");
            params.push_back(Value(*f.listedYear));
        }
        if (f.listedState == kShipStateNone)
            w << QStringLiteral("1=0");
        else if (f.listedState == kShipStateShipping)
            w << QStringLiteral("D_PLANT.END_DATE IS NULL");
        else if (f.listedState == kShipStateEnded)
            w << QStringLiteral("D_PLANT.END_DATE IS NOT NULL");
    }
    if (f.from) {
        w << QStringLiteral("D_SHIP.SHIP_DATE>=?");
        params.push_back(Value(*f.from));
    }
    if (f.to) {
        w << QStringLiteral("D_SHIP.SHIP_DATE<=?");
        params.push_back(Value(*f.to));
    }
    return w.isEmpty() ? QString() : QStringLiteral(" WHERE ") + w.join(QStringLiteral(" AND "));
}

}  // namespace

std::vector<ShipPlanting> PlantingsOfDay(DbObject &db, const Value &fmrId, const QDate &day)
{
    std::vector<ShipPlanting> out;
    auto rs = db.GetFwdOnlyRst(QStringLiteral("SELECT D_PLANT.PLANT_ID, D_PLANT.PLANT_NM FROM D_PLANT WHERE FMR_ID=? "
                                              "AND START_DATE<=? AND ((END_DATE IS NULL) OR (END_DATE>=?)) "
                                              "ORDER BY PLANT_DATE, PLANT_ID"),
                               {fmrId, Value(day), Value(day)});
    for (; !rs->eof(); rs->MoveNext())
        out.push_back({0, static_cast<long>(rs->Fields(0).toLong()), NullToVal(rs->Fields(1), Value("")).toString()});
    rs->Close();
    return out;
}

Value GrowerLocation(DbObject &master, const Value &fmrId)
{
    return NullToVal(master.DLookup(QStringLiteral("LOCATE"), QStringLiteral("M_FMR"),
                                    QStringLiteral("FMR_ID=") + QString::number(NullToVal(fmrId, Value(0)).toLong())),
                     Value(""));
}

Value ShopAccount(DbObject &master, const Value &shopId)
{
    return NullToVal(master.DLookup(QStringLiteral("ACC_ID"), QStringLiteral("M_SHOP"),
                                    QStringLiteral("SHOP_ID=") + QString::number(NullToVal(shopId, Value(0)).toLong())),
                     Value(0));
}

std::vector<ShipPlanting> QueryShipPlantings(DbObject &db, std::optional<long> year, int state)
{
    QStringList w;
    std::vector<Value> params;
    if (year) {
        w << QStringLiteral("D_PLANT.YYYY=?");
        params.push_back(Value(*year));
    }
    if (state == kShipStateNone)
        w << QStringLiteral("D_SHIP.SHIP_ID IS NULL");
    else if (state == kShipStateShipping)
        w << QStringLiteral("D_SHIP.SHIP_ID IS NOT NULL AND D_PLANT.END_DATE IS NULL");
    else if (state == kShipStateEnded)
        w << QStringLiteral("D_SHIP.SHIP_ID IS NOT NULL AND D_PLANT.END_DATE IS NOT NULL");
    QString sql = QStringLiteral("SELECT DISTINCT D_PLANT.FMR_ID, D_PLANT.PLANT_ID, D_PLANT.PLANT_NM FROM D_PLANT "
                                 "LEFT JOIN D_SHIP ON (D_PLANT.PLANT_ID = D_SHIP.PLANT_ID) AND "
                                 "(D_PLANT.FMR_ID = D_SHIP.FMR_ID)");
    if (!w.isEmpty())
        sql += QStringLiteral(" WHERE ") + w.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY D_PLANT.PLANT_ID, D_PLANT.FMR_ID");
    std::vector<ShipPlanting> out;
    auto rs = db.GetFwdOnlyRst(sql, params);
    for (; !rs->eof(); rs->MoveNext()) {
        out.push_back({static_cast<long>(NullToVal(rs->Fields(0), Value(0)).toLong()),
                       static_cast<long>(NullToVal(rs->Fields(1), Value(0)).toLong()),
                       NullToVal(rs->Fields(2), Value("")).toString()});
    }
    rs->Close();
    return out;
}

long LoadShipList(DbObject &db, const ShipListFilter &f)
{
    std::vector<Value> params;
    const QString where = shipWhere(f, params);
    auto rs = db.GetFwdOnlyRst(QStringLiteral("SELECT D_SHIP.*") + kShipFrom + where +
                                   QStringLiteral(" ORDER BY D_SHIP.SHIP_DATE,D_SHIP.PLANT_ID,D_SHIP.SHIP_ID"),
                               params);
    const long n = SetShipAry(*rs);
    rs->Close();
    return n;
}

std::optional<std::array<Value, kShipSumCount>> ShipListTotals(DbObject &db, const ShipListFilter &f)
{
    std::vector<Value> params;
    const QString where = shipWhere(f, params);
    auto sums = db.GetFwdOnlyRst(QStringLiteral("SELECT SUM(D_SHIP.SHIP_QTY), SUM(D_SHIP.SALES_QTY), "
                                                "SUM(D_SHIP.DSC_AMT), SUM(D_SHIP.SALES_AMT), SUM(D_SHIP.FEE_AMT)") +
                                     kShipFrom + where,
                                 params);
    if (sums->eof())
        return std::nullopt;
    std::array<Value, kShipSumCount> out;
    for (int i = 0; i < kShipSumCount; ++i)
        out[static_cast<std::size_t>(i)] = sums->Fields(i);
    sums->Close();
    return out;
}

}  // namespace hb
