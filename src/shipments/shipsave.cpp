#include "shipments/shipsave.h"

#include "bookkeeping/ledger.h"
#include "core/db.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/recordhold.h"
#include "shipments/shipcalc.h"

#include <QDateTime>

namespace hb {

Value gLastShipFmrID;

namespace {


// A text that is empty or missing is written as NULL.
Value textOrNull(const Value &v)
{
    if (isBlank(v) || v.toString().isEmpty())
        return Value::null();
    return v;
}

bool rowExists(DbObject &db, long fmr, long shipId)
{
    auto rs = db.GetFwdOnlyRst(QStringLiteral("SELECT COUNT(*) FROM D_SHIP WHERE FMR_ID=? AND SHIP_ID=?"),
                                 {Value(fmr), Value(shipId)});
    return !rs->eof() && rs->Fields(0).toLong() > 0;
}

// The sales voucher (amount SALES_AMT) or the fee voucher (FEE_AMT) of the shipment; returns
// the number to keep.
long postVoucher(DbObject &db, const ShipRec &r, bool sales, int mode, const QDateTime &now)
{
    GeneratedLedge v;
    v.fmrId = IdOf(r.FMR_ID);
    v.ledgeDate = valueDate(r.SHIP_DATE);
    const LedgeSide plain{r.ACC_ID, Value(0), Value(0), Value::null()};
    const LedgeSide planting{Value(sales ? kAccSales : kAccShopFee), Value(static_cast<long>(kOptPlant)),
                             Value(IdOf(r.PLANT_ID)), textOrNull(r.PRD_NM)};
    v.debit = sales ? plain : planting;
    v.credit = sales ? planting : plain;
    // A failing look-up fails the save: the voucher is never written without its shop.
    v.ctrNm = textOrNull(NullToVal(ReadShopNm(masterDb(), r.SHOP_ID), Value("")));
    v.notes = sales ? (isBlank(r.NOTES) ? Value("") : r.NOTES) : Value::null();
    if (mode == kEditModify) {
        v.idate = r.IDATE;
        v.udate = Value(now);
    }
    const Value &amount = sales ? r.SALES_AMT : r.FEE_AMT;
    const double deciding = isBlank(amount) ? 0.0 : amount.toDouble();
    const Currency amt = isBlank(amount) ? Currency{} : amount.toCurrency();
    return WriteGeneratedLedge(db, v, deciding, amt, IdOf(sales ? r.LEDGE_ID_S : r.LEDGE_ID_F));
}

const char *const kRowColumns[] = {"SHIP_DATE", "PLANT_ID", "DTL_NO",    "SHOP_ID",    "PRD_ID",    "PRD_NM",
                                   "LOCATE",    "PLAS",     "ACC_ID",    "SHOP_PRC",   "SHIP_QTY",  "RTN_QTY",
                                   "SALES_QTY", "DSC_AMT",  "SALES_AMT", "FEE_RT",     "FEE_AMT",   "NOTES",
                                   "PRINT_DATE", "EXP_DATE", "LEDGE_ID_S", "LEDGE_ID_F"};

std::vector<Value> rowValues(const ShipRec &r)
{
    std::vector<Value> values;
    for (const char *name : kRowColumns) {
        const int i = static_cast<int>(ShipRec::columnNames().indexOf(QLatin1String(name)));
        const Value &v = r.field(i);
        values.push_back(v.isEmpty() ? Value::null() : v);
    }
    // The day is stored without its time.
    values[0] = Value(valueDate(r.SHIP_DATE));
    return values;
}

void writeRow(DbObject &db, const ShipRec &r, int mode)
{
    QStringList names;
    for (const char *name : kRowColumns)
        names << QLatin1String(name);
    std::vector<Value> values = rowValues(r);
    if (mode == kEditAdd) {
        const HoldColumns h = HoldColumns::forInsert();
        names = QStringList{QStringLiteral("FMR_ID"), QStringLiteral("SHIP_ID")} + names + h.insertColumns();
        values.insert(values.begin(), {r.FMR_ID, r.SHIP_ID});
        for (const Value &v : h.insertValues())
            values.push_back(v);
        db.EXEC(insertStatement(QStringLiteral("D_SHIP"), names), values);
        return;
    }
    const HoldColumns h = HoldColumns::forUpdate();
    QStringList sets;
    for (const QString &n : names)
        sets << n + QStringLiteral("=?");
    sets << QStringLiteral("UDATE=?") << QStringLiteral("LAST_TM=?") << QStringLiteral("HOLD_TM=?");
    values.push_back(h.udate);
    values.push_back(h.lastTm);
    values.push_back(h.holdTm);
    values.push_back(r.FMR_ID);
    values.push_back(r.SHIP_ID);
    db.EXEC(QStringLiteral("UPDATE D_SHIP SET %1 WHERE FMR_ID=? AND SHIP_ID=?").arg(sets.join(QStringLiteral(", "))),
              values);
}

// The day row when the day has none, then the shipment line at the end of the day.
void writeDiary(DbObject &db, const ShipRec &r, const QDateTime &now)
{
    const Value fmr(IdOf(r.FMR_ID));
    const Value day(valueDate(r.SHIP_DATE));
    auto count = db.GetFwdOnlyRst(QStringLiteral("SELECT COUNT(*) FROM D_DIARY WHERE FMR_ID=? AND WORK_DATE=?"),
                                    {fmr, day});
    if (count->eof() || count->Fields(0).toLong() == 0) {
        db.EXEC(QStringLiteral("INSERT INTO D_DIARY (FMR_ID, WORK_DATE, IDATE, LAST_TM) VALUES (?, ?, ?, ?)"),
                  {fmr, day, Value(now), Value(GetCompName())});
    }
    count->Close();
    auto max = db.GetFwdOnlyRst(QStringLiteral("SELECT MAX(DTL_NO) FROM D_DIARY_DTL WHERE FMR_ID=? AND WORK_DATE=?"),
                                  {fmr, day});
    const long dtlNo = (max->eof() ? 0 : IdOf(max->Fields(0))) + 1;
    max->Close();
    db.EXEC(QStringLiteral("INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO, PLANT_ID, WORK_KBN, WORK_NM, NOTES, "
                             "SHIP_ID) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
              {fmr, day, Value(dtlNo), Value(IdOf(r.PLANT_ID)), Value(static_cast<long>(kWorkShip)), Value("出荷"),
               isBlank(r.NOTES) ? Value::null() : r.NOTES, Value(IdOf(r.SHIP_ID))});
}

void deleteDiaryLine(DbObject &db, const ShipRec &r)
{
    db.EXEC(QStringLiteral("DELETE D_DIARY_DTL.* FROM D_DIARY_DTL WHERE D_DIARY_DTL.FMR_ID=? AND "
                             "D_DIARY_DTL.WORK_KBN=? AND D_DIARY_DTL.SHIP_ID=?"),
              {Value(IdOf(r.FMR_ID)), Value(static_cast<long>(kWorkShip)), Value(IdOf(r.SHIP_ID))});
}

}  // namespace

std::vector<LoadedRows> LoadedShip(DbObject &db, const ShipRec &row)
{
    const Value fmr(IdOrZero(row.FMR_ID));
    const Value ship(IdOrZero(row.SHIP_ID));
    return {LoadedRows::record(QStringLiteral("D_SHIP"), QStringLiteral("FMR_ID=? AND SHIP_ID=?"), {fmr, ship}, row),
            LoadedVouchers(db, fmr, {row.LEDGE_ID_S, row.LEDGE_ID_F}),
            LoadedRows::read(db, QStringLiteral("D_DIARY_DTL"), QStringLiteral("FMR_ID=? AND WORK_KBN=? AND SHIP_ID=?"),
                             {fmr, Value(static_cast<long>(kWorkShip)), ship})};
}

int SaveShipment(DbObject &db, ShipRec &rec, int mode, const std::vector<LoadedRows> &loaded)
{
    if (mode != kEditAdd && mode != kEditModify && mode != kEditDelete) {
        gLastShipID = rec.SHIP_ID;
        gLastShipFmrID = rec.FMR_ID;
        return 1;
    }
    ShipRec r = rec;
    const QDateTime now = QDateTime::currentDateTime();
    bool missing = false;
    {
        TransactionScope tx(db);
        const long fmr = IdOf(r.FMR_ID);
        if (mode == kEditAdd) {
            const Value max = db.DMax(QStringLiteral("SHIP_ID"), QStringLiteral("D_SHIP"),
                                        QStringLiteral("FMR_ID=") + QString::number(fmr));
            r.SHIP_ID = Value(IdOf(max) + 1);
            r.LEDGE_ID_S = r.LEDGE_ID_F = Value::null();
        } else if (!rowExists(db, fmr, IdOf(r.SHIP_ID))) {
            missing = true;
        } else {
            CheckLoaded(db, loaded);
        }
        if (!missing) {
            if (mode == kEditDelete) {
                for (const Value &id : {r.LEDGE_ID_S, r.LEDGE_ID_F}) {
                    if (IdOf(id) > 0)
                        db.EXEC(QStringLiteral("DELETE D_LEDGE.* FROM D_LEDGE WHERE FMR_ID=? AND LEDGE_ID=?"),
                                  {Value(fmr), Value(IdOf(id))});
                }
                db.EXEC(QStringLiteral("DELETE FROM D_SHIP WHERE FMR_ID=? AND SHIP_ID=?"),
                          {Value(fmr), Value(IdOf(r.SHIP_ID))});
                deleteDiaryLine(db, r);
            } else {
                r.LEDGE_ID_S = Value(postVoucher(db, r, true, mode, now));
                r.LEDGE_ID_F = Value(postVoucher(db, r, false, mode, now));
                writeRow(db, r, mode);
                if (mode == kEditModify)
                    deleteDiaryLine(db, r);
                writeDiary(db, r, now);
            }
            tx.commit();
        }
    }
    gLastShipID = r.SHIP_ID;
    gLastShipFmrID = r.FMR_ID;
    if (missing) {
        ShowMsg(QStringLiteral("該当データが存在しません。"), kMsgCritical);
        return 0;
    }
    rec = r;
    return 1;
}

}  // namespace hb
