#pragma once
// The data and work databases of either kind with the rows a diary day reads, and driving the
// diary-day window as the month calendar opens it.

#include "bookkeeping/ledgefixture.h"
#include "common/harness.h"
#include "core/forms.h"
#include "core/globals.h"
#include "diary/diaryday.h"
#include "diary/frmdairyinput.h"

#include <QDate>
#include <QSqlQuery>
#include <QStringList>
#include <functional>
#include <memory>

namespace diarytest {

using hb::Value;

inline Value day(int y, int m, int d) { return Value(QDate(y, m, d)); }
inline const QDate kDay(2014, 10, 24);

// Grower 1 current, the voucher array empty before and after each test, the windows gone after it.
class DiaryDb : public ledgetest::LedgeDb {
protected:
    struct DayRow {
        long fmr = 1;
        QDate date = kDay;
        Value wth = Value::null(), lo = Value::null(), hi = Value::null();
        Value oneMsg = Value::null(), notes1 = Value::null(), notes2 = Value::null();
        Value lastTm = Value("OLD-PC"), holdTm = Value::null();
    };
    static void putDay(const DayRow &r)
    {
        hb::gDb->EXEC("INSERT INTO D_DIARY (FMR_ID, WORK_DATE, WTH_ID, LO_TMP, HI_TMP, ONE_MSG, NOTES1, NOTES2, "
                      "IDATE, UDATE, LAST_TM, HOLD_TM) VALUES (?, ?, ?, ?, ?, ?, ?, ?, #2014-01-02 03:04:05#, NULL, ?, ?)",
                      {Value(r.fmr), Value(r.date), r.wth, r.lo, r.hi, r.oneMsg, r.notes1, r.notes2, r.lastTm, r.holdTm});
    }

    struct LineRow {
        long fmr = 1;
        QDate date = kDay;
        long dtl = 1;
        Value plant = Value(1);
        long kind = 1;
        Value name = Value::null();
        Value chemi = Value::null(), chemiNm = Value::null(), purpose = Value::null(), qty = Value::null(),
              unit = Value::null(), ledge = Value(0);
        Value notes = Value::null();
    };
    static void putLine(const LineRow &r)
    {
        hb::gDb->EXEC("INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO, PLANT_ID, WORK_KBN, WORK_NM, CHEMI_ID, "
                      "CHEMI_NM, PURPOSE, QTY, UNIT_ID, LEDGE_ID, NOTES) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                      {Value(r.fmr), Value(r.date), Value(r.dtl), r.plant, Value(r.kind), r.name, r.chemi, r.chemiNm,
                       r.purpose, r.qty, r.unit, r.ledge, r.notes});
    }

    struct PlantRow {
        long fmr = 1;
        long id = 1;
        QString name;
        Value crop = Value::null();     // CROP_NM
        Value crop1 = Value::null();    // CROP_NM1
        Value start = day(2014, 4, 1), end = Value::null(), planted = day(2014, 4, 1);
        Value harvest = Value::null(), area = Value::null();
    };
    static void putPlant(const PlantRow &r)
    {
        hb::gDb->EXEC("INSERT INTO D_PLANT (FMR_ID, PLANT_ID, PLANT_NM, CROP_NM, CROP_NM1, START_DATE, END_DATE, "
                      "PLANT_DATE, HARVEST_SCHD_YM, AREA) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                      {Value(r.fmr), Value(r.id), Value(r.name), r.crop, r.crop1, r.start, r.end, r.planted, r.harvest,
                       r.area});
    }

    static void putChemi(long fmr, long id, const QString &name, const Value &bought, long regNo, const Value &chk)
    {
        hb::gDb->EXEC("INSERT INTO D_CHEMI (FMR_ID, CHEMI_ID, CHEMI_NM, PUR_DATE, REG_NO, CHK_FLG) VALUES (?, ?, ?, ?, ?, ?)",
                      {Value(fmr), Value(id), Value(name), bought, Value(regNo), chk});
    }

    static void putLedge(long fmr, long id, const Value &date, long debit, long credit, double amt,
                         const Value &hold = Value::null())
    {
        hb::gDb->EXEC("INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, C_ACC_ID, AMT, LAST_TM, HOLD_TM) "
                      "VALUES (?, ?, ?, ?, ?, ?, 'OLD-PC', ?)",
                      {Value(fmr), Value(id), date, Value(debit), Value(credit), Value(hb::Currency::fromDouble(amt)), hold});
    }

    // A valid purchase of `qty` units of `unit` for `amt`, not used yet.
    static void putPurchase(long fmr, long id, double qty, long unit, double amt, long ledge = 0)
    {
        hb::gDb->EXEC("INSERT INTO D_CHEMI (FMR_ID, CHEMI_ID, CHEMI_NM, PUR_DATE, PUR_QTY, PUR_UNIT, PUR_AMT, USED_QTY, "
                      "REST_QTY, LEDGE_ID, CHK_FLG) VALUES (?, ?, ?, ?, ?, ?, ?, 0, ?, ?, -1)",
                      {Value(fmr), Value(id), Value(QStringLiteral("薬剤%1").arg(id)), day(2014, 4, 5), Value(qty),
                       Value(unit), Value(hb::Currency::fromDouble(amt)), Value(qty), Value(ledge)});
    }

    // Every row of a data table as text, in key order: what a test compares before and after.
    static QStringList dump(const QString &table, const QString &order) { return hbtest::dumpRows(*hb::gDb, table, order); }
    static QStringList dumpDataTables()
    {
        return dump("D_DIARY", "FMR_ID, WORK_DATE") + dump("D_DIARY_DTL", "FMR_ID, WORK_DATE, DTL_NO")
               + dump("D_LEDGE", "FMR_ID, LEDGE_ID") + dump("D_CHEMI", "CHEMI_ID") + dump("D_SHIP", "FMR_ID, SHIP_ID")
               + dump("D_PLANT", "FMR_ID, PLANT_ID");
    }

    static void putPurpose(long regNo, const QString &purpose)
    {
        hb::gWork->EXEC("INSERT INTO L_CHEMI_PURPOSE (REG_NO, PURPOSE) VALUES (?, ?)", {Value(regNo), Value(purpose)});
    }

    static std::vector<long> ledgeIds()
    {
        std::vector<long> ids;
        for (const hb::LedgeRec &l : hb::gLedge)
            ids.push_back(hb::IdOf(l.LEDGE_ID));
        return ids;
    }

    // The day's data cannot be read until the returned guard goes, as a person meets it: the file
    // held by another program (BEGIN EXCLUSIVE; the window gives up after 0.1 s instead of its
    // 5 s), or the connection to the server lost (its next statement fails, the one after
    // connects anew).
    std::shared_ptr<void> dataUnreadable()
    {
        if (GetParam() == hbtest::Backend::MariaDb) {
            const Value id = one("SELECT CONNECTION_ID()");
            fresh().connect()->EXEC(QStringLiteral("KILL CONNECTION %1").arg(id.toLong()));
            return nullptr;
        }
        std::shared_ptr<hb::DirectDb> other = fresh().connect();
        const auto run = [](hb::DbObject &db, const char *sql) {
            QSqlQuery q(db.connection());
            EXPECT_TRUE(q.exec(QString::fromLatin1(sql))) << sql;
        };
        run(*other, "BEGIN EXCLUSIVE");
        run(*hb::gDb, "PRAGMA busy_timeout = 100");
        return std::shared_ptr<void>(nullptr, [other, run](void *) {
            run(*other, "ROLLBACK");
            run(*hb::gDb, "PRAGMA busy_timeout = 5000");
        });
    }

    // Opens the day as the month calendar does, lets `drive` act on the shown window, and
    // closes it as the window system would when it is still open.
    void openDay(const QDate &d, const std::function<void(hb::frmDairyInput &)> &drive)
    {
        hb::gWorkDate = Value(d);
        hbtest::onModal(ui.get(), QStringLiteral("frmDairyInput"),
                        [&drive](QDialog *dlg) { drive(static_cast<hb::frmDairyInput &>(*dlg)); });
        hb::form<hb::frmDairyInput>().showModal(nullptr);
        hbtest::settle();
    }
};

}  // namespace diarytest
