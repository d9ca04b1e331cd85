#pragma once
// Rows of the diary, voucher, shipment and planting tables for the month-calendar tests.

#include "common/globaldbs.h"
#include "core/db.h"
#include "core/globals.h"

#include <QDate>
#include <QDateTime>

namespace hbtest {

class CalendarDb : public GlobalDbs {
protected:
    using V = hb::Value;
    static V day(int y, int m, int d) { return V(QDate(y, m, d)); }

    // A diary row of day d, or of the moment `when` when given.
    static void diary(long fmr, const QDate &d, const V &wth, const V &lo, const V &hi, const V &msg,
                      const QDateTime &when = QDateTime())
    {
        hb::gDb->EXEC("INSERT INTO D_DIARY (FMR_ID, WORK_DATE, WTH_ID, LO_TMP, HI_TMP, ONE_MSG) VALUES (?, ?, ?, ?, ?, ?)",
                      {V(fmr), when.isValid() ? V(when) : V(d), wth, lo, hi, msg});
    }
    static void voucher(long fmr, long id, const QDateTime &when, long debit, long credit)
    {
        hb::gDb->EXEC("INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, C_ACC_ID, AMT) VALUES (?, ?, ?, ?, ?, ?)",
                      {V(fmr), V(id), V(when), V(debit), V(credit), V(1000)});
    }
    static void line(long fmr, const QDateTime &when, long no, const V &plant, const V &chemi)
    {
        hb::gDb->EXEC("INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO, PLANT_ID, WORK_KBN, CHEMI_ID) "
                      "VALUES (?, ?, ?, ?, 5, ?)",
                      {V(fmr), V(when), V(no), plant, chemi});
    }
    static void shipment(long fmr, long id, const QDateTime &when, const V &plant)
    {
        hb::gDb->EXEC("INSERT INTO D_SHIP (FMR_ID, SHIP_ID, SHIP_DATE, PLANT_ID) VALUES (?, ?, ?, ?)",
                      {V(fmr), V(id), V(when), plant});
    }
    static void planting(long fmr, long id, const V &name, const V &planted, const V &start, const V &end)
    {
        hb::gDb->EXEC("INSERT INTO D_PLANT (PLANT_ID, PLANT_NM, FMR_ID, PLANT_DATE, START_DATE, END_DATE) "
                      "VALUES (?, ?, ?, ?, ?, ?)",
                      {V(id), name, V(fmr), planted, start, end});
    }
    static QDateTime at(int y, int m, int d, int h = 0, int mi = 0) { return QDateTime(QDate(y, m, d), QTime(h, mi)); }
};

}  // namespace hbtest
