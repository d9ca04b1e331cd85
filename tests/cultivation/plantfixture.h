#pragma once
// The four databases of either kind with two growers, a product and plantings, and driving
// the planting list and input as the month calendar opens them.

#include "common/backends.h"
#include "common/harness.h"
#include "common/programdir.h"
#include "common/runglobals.h"
#include "common/scriptedui.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/globals.h"
#include "core/recordhold.h"
#include "cultivation/frmplantinput.h"
#include "cultivation/frmplantlist.h"
#include "cultivation/plantrec.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QTest>
#include <QSqlQuery>
#include <QStringList>

namespace planttest {

using hb::Value;

inline Value day(int y, int m, int d) { return Value(QDate(y, m, d)); }

class PlantDb : public hbtest::BothBackends {
protected:
    void SetUp() override
    {
        BothBackends::SetUp();
        if (IsSkipped())
            return;
        hbtest::resetRunGlobals();
        hb::setCompNameSource([] { return QStringLiteral("PC-TEST"); });
        dir.createAndOpen();
        if (GetParam() == hbtest::Backend::MariaDb)
            dir.useServer(fresh().serverParams().dsn, fresh().serverParams().database);
        hb::gMst->EXEC("DELETE FROM M_FMR");
        hb::gMst->EXEC("INSERT INTO M_FMR (FMR_ID, FMR_NM, CHK_FLG) VALUES (1, '緑丘太郎', -1), (2, '青山花子', -1)");
        hb::gMst->EXEC("INSERT INTO M_PRD (SHOP_ID, PRD_ID, PRD_NM) VALUES (1, 501, '朝どれトマト')");
        hb::gFmrID = Value(1);
        hb::gCalMonth = QDate(2024, 5, 1);
        hb::gPlant.assign(1, hb::PlantRec());
        hb::gLastPlantFmrID = Value();
    }
    void TearDown() override
    {
        hb::destroyForms();
        hbtest::settle();
        hb::gPlant.assign(1, hb::PlantRec());
        hbtest::ProgramDir::releaseGlobals();
        hb::setCompNameSource(nullptr);
        hbtest::resetRunGlobals();
        BothBackends::TearDown();
    }

    struct Plant {
        long fmr = 1;
        long id = 1;
        Value name = Value::null();
        Value yyyy = Value(2024);
        Value ym = Value("202407");
        Value crop = Value::null();
        Value crop1 = Value::null();
        Value type = Value::null();
        Value planted = Value::null();
        Value area = Value::null();
        Value img = Value::null();
    };
    static void put(const Plant &p)
    {
        hb::gDb->EXEC("INSERT INTO D_PLANT (FMR_ID, PLANT_ID, PLANT_NM, YYYY, HARVEST_SCHD_YM, CROP_NM, CROP_NM1, "
                      "PLANT_TYPE, PLANT_DATE, AREA, IMG_PATH1, IMG_PATH2, IDATE, LAST_TM) VALUES "
                      "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, #2020-01-02 03:04:05#, 'OLD-PC')",
                      {Value(p.fmr), Value(p.id), p.name, p.yyyy, p.ym, p.crop, p.crop1, p.type, p.planted, p.area,
                       p.img, p.img});
    }
    static void putLine(long fmr, long plant, const Value &date, long dtl = 1)
    {
        hb::gDb->EXEC("INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO, PLANT_ID, WORK_KBN) VALUES (?, ?, ?, ?, 1)",
                      {Value(fmr), date, Value(dtl), Value(plant)});
    }
    static void putShip(long fmr, long ship, long plant, const Value &date)
    {
        hb::gDb->EXEC("INSERT INTO D_SHIP (FMR_ID, SHIP_ID, SHIP_DATE, PLANT_ID) VALUES (?, ?, ?, ?)",
                      {Value(fmr), Value(ship), date, Value(plant)});
    }
    // One row of D_PLANT by its key; an all-Empty record when there is none.
    static hb::PlantRec row(long fmr, long id)
    {
        auto rs = hb::gDb->GetFwdOnlyRst("SELECT * FROM D_PLANT WHERE FMR_ID=? AND PLANT_ID=?", {Value(fmr), Value(id)});
        return rs->eof() ? hb::PlantRec() : hb::PlantRec::fromRow(*rs);
    }
    static long count(const QString &where = QStringLiteral("1=1"))
    {
        return static_cast<long>(hb::gDb->DCount("*", "D_PLANT", where).toLong());
    }
    // Every row of D_PLANT as text, in key order.
    static QStringList dump()
    {
        QStringList rows;
        auto rs = hb::gDb->GetFwdOnlyRst("SELECT * FROM D_PLANT ORDER BY FMR_ID, PLANT_ID");
        for (; !rs->eof(); rs->MoveNext()) {
            QStringList f;
            for (int i = 0; i < rs->FieldCount(); ++i)
                f << (rs->Fields(i).isNull() ? QStringLiteral("<null>") : rs->Fields(i).displayText());
            rows << f.join('|');
        }
        return rows;
    }
    // Makes every change of a D_PLANT row fail in the database.
    void failUpdates()
    {
        QSqlQuery q(hb::gDb->connection());
        const bool server = GetParam() == hbtest::Backend::MariaDb;
        ASSERT_TRUE(q.exec(server ? "CREATE TRIGGER plant_nochange BEFORE UPDATE ON D_PLANT FOR EACH ROW "
                                    "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT='changes refused'"
                                  : "CREATE TRIGGER plant_nochange BEFORE UPDATE ON D_PLANT "
                                    "BEGIN SELECT RAISE(ABORT, 'changes refused'); END"));
    }

    hb::frmPlantList &openList()
    {
        auto &list = hb::form<hb::frmPlantList>();
        list.showModeless();
        hbtest::activate(&list);
        hbtest::settle();
        return list;
    }
    // Drives the planting input when the list opens it.
    void onInput(std::function<void(hb::frmPlantInput &)> drive)
    {
        hbtest::onModal(ui.get(), QStringLiteral("frmPlantInput"),
                        [drive](QDialog *d) { drive(*static_cast<hb::frmPlantInput *>(d)); });
    }
    static void enter(QWidget *box, const QString &text) { hbtest::enter(box, text); }
    static void enterCombo(QComboBox *box, const QString &text) { hbtest::enterCombo(box, text); }
    // Leaves a combo box with Tab, its list closed.
    static void leaveCombo(QComboBox *box)
    {
        hbtest::focusCombo(box);
        hbtest::pressKey(Qt::Key_Tab, box);
        hbtest::settle();
    }
    static void focusCombo(QComboBox *box) { hbtest::focusCombo(box); }
    static void closePopups() { hbtest::closePopups(); }

    hbtest::ProgramDir dir;
    hbtest::ScopedScriptedUi ui;
};

}  // namespace planttest
