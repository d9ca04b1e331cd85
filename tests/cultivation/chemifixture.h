#pragma once
// The data and work databases with pesticide purchases, registration rows that only the tests
// hold, and driving the pesticide list and input as the month calendar opens them.

#include "common/globaldbs.h"
#include "common/harness.h"
#include "core/forms.h"
#include "core/globals.h"
#include "cultivation/chemirec.h"
#include "cultivation/frmchemiinput.h"
#include "cultivation/frmchemilist.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTest>
#include <functional>

namespace chemitest {

using hb::Value;

inline Value day(int y, int m, int d) { return Value(QDate(y, m, d)); }

class ChemiDb : public hbtest::GlobalDbs {
protected:
    void SetUp() override
    {
        GlobalDbs::SetUp();
        if (IsSkipped())
            return;
        hb::gFmrID = Value(1);
        hb::gCalMonth = QDate(2024, 6, 1);
        hb::gChemi.assign(1, hb::ChemiRec());
    }
    void TearDown() override
    {
        hb::destroyForms();
        hbtest::settle();
        hb::gChemi.assign(1, hb::ChemiRec());
        GlobalDbs::TearDown();
    }
    bool server() const { return GetParam() == hbtest::Backend::MariaDb; }

    // A stored purchase; fields not named are Null.
    struct Purchase {
        long fmr = 1;
        long id = 1;
        Value name = Value("薬剤");
        Value regNo = Value::null();
        Value uses = Value::null();
        Value date = Value::null();
        Value shop = Value::null();
        Value qty = Value::null();
        Value unit = Value::null();
        Value acc = Value::null();
        Value amt = Value::null();
        Value used = Value::null();
        Value rest = Value::null();
        Value notes = Value::null();
        Value ledge = Value::null();
        Value chk = Value(-1);
    };
    static void put(const Purchase &p)
    {
        hb::gDb->EXEC("INSERT INTO D_CHEMI (FMR_ID, CHEMI_ID, CHEMI_NM, REG_NO, USES, PUR_DATE, PUR_SHOP, PUR_QTY, "
                      "PUR_UNIT, ACC_ID, PUR_AMT, USED_QTY, REST_QTY, NOTES, LEDGE_ID, CHK_FLG, IDATE, LAST_TM) VALUES "
                      "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, #2020-01-02 03:04:05#, 'OLD-PC')",
                      {Value(p.fmr), Value(p.id), p.name, p.regNo, p.uses, p.date, p.shop, p.qty, p.unit, p.acc, p.amt,
                       p.used, p.rest, p.notes, p.ledge, p.chk});
    }
    static void putVoucher(long fmr, long id, const Value &date, long debit, long credit, double amt)
    {
        hb::gDb->EXEC("INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, D_OPT_KBN, D_OPT_ID, C_ACC_ID, "
                      "C_OPT_KBN, C_OPT_ID, AMT, IDATE, LAST_TM) VALUES (?, ?, ?, ?, 3, 1, ?, 0, 0, ?, "
                      "#2020-01-02 03:04:05#, 'OLD-PC')",
                      {Value(fmr), Value(id), date, Value(debit), Value(credit), Value(hb::Currency::fromDouble(amt))});
    }
    static void putUse(long fmr, long chemiId, const Value &date, long dtl = 1)
    {
        hb::gDb->EXEC("INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO, PLANT_ID, WORK_KBN, CHEMI_ID, QTY, UNIT_ID) "
                      "VALUES (?, ?, ?, 1, 5, ?, 1, 5)",
                      {Value(fmr), date, Value(dtl), Value(chemiId)});
    }

    // Registration rows of the work database (the shipped file has none).
    static void putRegistration(long regNo, const QString &name, const QString &kind, const Value &makerOmt,
                                const Value &uses, const Value &type)
    {
        hb::gWork->EXEC("INSERT INTO L_CHEMI (REG_NO, CHEMI_NM, CHEMI_KIND, MAKER_OMT, USES, CHEMI_TYPE) "
                        "VALUES (?, ?, ?, ?, ?, ?)",
                        {Value(regNo), Value(name), Value(kind), makerOmt, uses, type});
    }
    static void putMaker(const QString &omt, const QString &name)
    {
        hb::gWork->EXEC("INSERT INTO L_MAKER (MAKER_OMT, MAKER_NM) VALUES (?, ?)", {Value(omt), Value(name)});
    }
    struct Rule {
        long regNo = 0;
        QString cropWording;
        QString target;
        Value purpose = Value::null();
        Value dilution = Value::null();
        Value useQty = Value::null();
        Value season = Value::null();
        Value times = Value::null();
        Value way = Value::null();
    };
    static void putRule(const Rule &r)
    {
        hb::gWork->EXEC("INSERT INTO L_CHEMI_APPL (REG_NO, CROP_NM, TARGET, PURPOSE, DILUTION, USE_QTY, SEASON, "
                        "USE_TIMES, USE_WAY) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                        {Value(r.regNo), Value(r.cropWording), Value(r.target), r.purpose, r.dilution, r.useQty,
                         r.season, r.times, r.way});
    }
    static void putMatch(const QString &wording, const Value &names, const Value &kinds, const Value &namesNg,
                         const Value &kindsNg)
    {
        hb::gWork->EXEC("INSERT INTO L_CHEMI_APPL_MATCH (CHEMI_CROP_NM, CROP_NM, CROP_KBN, CROP_NM_NG, CROP_KBN_NG) "
                        "VALUES (?, ?, ?, ?, ?)",
                        {Value(wording), names, kinds, namesNg, kindsNg});
    }
    static void putCrop(const QString &nm1, const Value &nm2, const Value &kind)
    {
        hb::gWork->EXEC("INSERT INTO L_CROP (CROP_NM1, CROP_NM2, CROP_KBN) VALUES (?, ?, ?)", {Value(nm1), nm2, kind});
    }

    // One column of a purchase; Empty when there is no such row.
    static Value col(const char *column, long chemiId)
    {
        return one(QStringLiteral("SELECT %1 FROM D_CHEMI WHERE CHEMI_ID=?").arg(column), {Value(chemiId)});
    }
    static hb::ChemiRec row(long chemiId)
    {
        auto rs = hb::gDb->GetFwdOnlyRst("SELECT * FROM D_CHEMI WHERE CHEMI_ID=?", {Value(chemiId)});
        return rs->eof() ? hb::ChemiRec() : hb::ChemiRec::fromRow(*rs);
    }
    static long count(const QString &table, const QString &where = QStringLiteral("1=1"))
    {
        return static_cast<long>(hb::gDb->DCount("*", table, where).toLong());
    }
    static QStringList dumpPurchasesAndVouchers()
    {
        return hbtest::dumpRows(*hb::gDb, "D_CHEMI", "CHEMI_ID") + hbtest::dumpRows(*hb::gDb, "D_LEDGE", "FMR_ID, LEDGE_ID");
    }
    // Makes every insert or update of a purchase row fail in the database.
    void failRowWrites()
    {
        for (const char *when : {"INSERT", "UPDATE"}) {
            QSqlQuery q(hb::gDb->connection());
            const QString sql =
                server() ? QStringLiteral("CREATE TRIGGER chemi_no_%1 BEFORE %1 ON D_CHEMI FOR EACH ROW "
                                          "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT='purchases refused'")
                               .arg(when)
                         : QStringLiteral("CREATE TRIGGER chemi_no_%1 BEFORE %1 ON D_CHEMI "
                                          "BEGIN SELECT RAISE(ABORT, 'purchases refused'); END")
                               .arg(when);
            ASSERT_TRUE(q.exec(sql)) << q.lastError().text().toStdString();
        }
    }

    hb::frmChemiList &openList()
    {
        auto &list = hb::form<hb::frmChemiList>();
        list.showModeless();
        hbtest::activate(&list);
        hbtest::settle();
        return list;
    }
    // Drives the purchase input when the list opens it.
    void onInput(std::function<void(hb::frmChemiInput &)> drive)
    {
        hbtest::onModal(ui.get(), QStringLiteral("frmChemiInput"),
                        [drive](QDialog *d) { drive(*static_cast<hb::frmChemiInput *>(d)); });
    }
    // Opens the input from the list's button (1 add, 2 modify, 3 view, 4 delete, 5 copy) on a row.
    void openInput(hb::frmChemiList &list, int button, long row, std::function<void(hb::frmChemiInput &)> drive)
    {
        bool driven = false;
        onInput([&](hb::frmChemiInput &in) {
            driven = true;
            drive(in);
        });
        if (row >= 0)
            list.selectRow(row);
        list.cmdMENU_Click(button);
        hbtest::settle();
        ui->modalHandlers.erase(QStringLiteral("frmChemiInput"));
        ASSERT_TRUE(driven) << "button " << button;
    }
    static void enter(QWidget *box, const QString &text) { hbtest::enter(box, text); }
    static void choose(QComboBox *box, const QString &text) { hbtest::choose(box, text); }
    static void enterCombo(QComboBox *box, const QString &text) { hbtest::enterCombo(box, text); }
    static void closePopups() { hbtest::closePopups(); }
};

}  // namespace chemitest
