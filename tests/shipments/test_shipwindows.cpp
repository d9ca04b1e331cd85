// The shipment list and input windows driven as a grower drives them: the list's conditions,
// totals and buttons; the input's defaults, amounts, refusals, modes and save.

#include "common/failingstatement.h"
#include "core/datepicker.h"
#include "cultivation/frmplantinput.h"
#include "cultivation/frmplantlist.h"
#include "cultivation/plantrec.h"
#include "shipments/frmshipinput.h"
#include "shipments/frmshiplist.h"
#include "test_shipfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

using hb::Value;
using hbtest::settle;
using shiptest::day;

namespace {

class ShipWindows : public shiptest::ShipDb {
protected:
    void SetUp() override
    {
        ShipDb::SetUp();
        if (IsSkipped())
            return;
        hb::gCalMonth = QDate(2024, 5, 1);
    }
    hb::frmShipList &openList()
    {
        auto &list = hb::form<hb::frmShipList>();
        list.showModeless();
        hbtest::activate(&list);
        settle();
        return list;
    }
    void onInput(std::function<void(hb::frmShipInput &)> drive)
    {
        hbtest::onModal(ui.get(), QStringLiteral("frmShipInput"),
                        [drive](QDialog *d) { drive(*static_cast<hb::frmShipInput *>(d)); });
    }
    // A new shipment of grower 1's tomato planting: 12 at 150 yen, 2 returned (sales 1,500).
    static void enterTomatoes(hb::frmShipInput &in, const char *notes)
    {
        settle();
        hbtest::focusByClick(in.txtDATA[hb::kBoxLocate]);  // the day's picker closes
        settle();
        hbtest::focusByClick(in.List1);
        in.List1->setCurrentRow(1);
        settle();
        type(in.txtDATA[hb::kBoxShopPrc], "150");
        type(in.txtDATA[hb::kBoxShipQty], "12");
        type(in.txtDATA[hb::kBoxRtnQty], "2");
        type(in.txtDATA[hb::kBoxNotes], notes);
        settle();
    }
    // What a shipment's save writes: the shipments, the vouchers and the diary.
    static QStringList shipmentTables()
    {
        return hbtest::dumpRows(*hb::gDb, "D_SHIP", "FMR_ID, SHIP_ID") + hbtest::dumpRows(*hb::gDb, "D_LEDGE", "FMR_ID, LEDGE_ID")
               + hbtest::dumpRows(*hb::gDb, "D_DIARY", "FMR_ID, WORK_DATE")
               + hbtest::dumpRows(*hb::gDb, "D_DIARY_DTL", "FMR_ID, WORK_DATE, DTL_NO");
    }
    static QStringList listEntries(const hb::frmShipList &l)
    {
        QStringList s;
        for (int i = 0; i < l.List1->count(); ++i)
            s << l.List1->item(i)->text();
        return s;
    }
    static QStringList rows(const hb::frmShipList &l)
    {
        QStringList s;
        for (int i = 0; i < l.ListView1->topLevelItemCount(); ++i) {
            QStringList cells;
            for (int c = 0; c < 8; ++c)
                cells << l.ListView1->topLevelItem(i)->text(c);
            s << cells.join(' ');
        }
        return s;
    }
    static QString sums(const hb::frmShipList &l)
    {
        QStringList s;
        for (QLabel *x : l.lblSUM)
            s << x->text();
        return s.join(' ');
    }
    static void type(QLineEdit *box, const QString &text)
    {
        hbtest::focusByClick(box);
        settle();
        box->selectAll();
        if (text.isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        else if (text.toLatin1() == text.toUtf8())
            QTest::keyClicks(box, text);
        else
            hbtest::typeText(box, text);
    }
    // Every column of one row, as text: two reads are equal when the row is byte for byte the same.
    static QStringList rowText(const QString &sql)
    {
        QStringList out;
        auto rs = hb::gDb->GetFwdOnlyRst(sql);
        if (rs->eof())
            return out;
        for (int i = 0; i < rs->FieldCount(); ++i) {
            const Value v = rs->Fields(i);
            out << (v.isNull() ? QStringLiteral("<NULL>") : v.displayText());
        }
        return out;
    }
    static void closePopups()
    {
        for (int i = 0; i < 10 && QApplication::activePopupWidget(); ++i) {
            QApplication::activePopupWidget()->close();
            settle();
        }
    }
    // Chooses the entry of that ID in a combo box and leaves the box with Tab, its list closed.
    static void chooseItem(QComboBox *box, long id)
    {
        box->setFocus();
        settle();
        closePopups();
        box->setCurrentIndex(box->findData(QVariant::fromValue<qlonglong>(id)));
        hbtest::pressKey(Qt::Key_Tab, box);
        settle();
        closePopups();
    }
    // The row of the list showing that grower's shipment.
    static long rowOf(long fmr, long ship)
    {
        for (std::size_t i = 0; i < hb::gShip.size(); ++i) {
            if (hb::gShip[i].FMR_ID == Value(fmr) && hb::gShip[i].SHIP_ID == Value(ship))
                return static_cast<long>(i);
        }
        return -1;
    }
    void putSeason()
    {
        putPlant(1, 1, "春トマト", 2024, Value::null(), Value(101), Value("トマト"));
        putPlant(2, 1, "夏なす", 2024, day(2024, 9, 30));
        putPlant(1, 2, "秋だいこん", 2024);
        putPlant(1, 3, "去年のかぶ", 2023);
        putShip(1, 1, 1, QDate(2024, 5, 3), 150, 10, 8, Value(50), 115);
        putShip(2, 1, 1, QDate(2024, 5, 5), 200, 5, 5, Value::null(), 100);
        putShip(1, 2, 1, QDate(2024, 6, 1), 150, 4, 4);
        putShip(1, 4, 3, QDate(2023, 5, 9), 90, 1, 1);
    }
};

HB_INSTANTIATE_BOTH_BACKENDS(ShipWindows);
using ShipWindowsSqlite = ShipWindows;
INSTANTIATE_TEST_SUITE_P(Sqlite, ShipWindowsSqlite, ::testing::Values(hbtest::Backend::Sqlite), hbtest::backendName);

TEST_P(ShipWindows, ListShowsEveryGrowersPlantingsAndShipmentsByItsConditions)
{
    putSeason();
    auto &list = openList();
    EXPECT_EQ(list.windowTitle(), "出荷一覧");
    EXPECT_EQ(list.txtCOND[0]->text(), "2024");
    EXPECT_EQ(list.txtCOND[1]->text(), "2024/05/01");
    EXPECT_EQ(list.txtCOND[2]->text(), "2024/05/31");
    EXPECT_EQ(listEntries(list), (QStringList{"", "春トマト", "夏なす", "秋だいこん"}));
    EXPECT_EQ(list.List1->currentRow(), 0) << "before any planting is saved the blank entry is current";
    EXPECT_EQ(rows(list), (QStringList{"1 05/03 150 10 8 50 1,150 115", "1 05/05 200 5 5  1,000 100"}));
    EXPECT_EQ(sums(list), "15 13 50 2,150 215");
    EXPECT_EQ(list.selectedRow(), -1);
    hbtest::savePicture(&list, "/tmp/ship_list.png");

    struct Case { const char *what; int state; QString year, from, to; int entry; QStringList entries; int rowCount; QString sums; };
    const Case cases[] = {
        // A total over no values (no rows, or only missing discounts) is empty.
        {"grower 2's planting 1 alone", 3, "2024", "2024/05/01", "2024/05/31", 2, {"", "春トマト", "夏なす", "秋だいこん"}, 1,
         "5 5  1,000 100"},
        {"before shipping", 0, "2024", "2024/05/01", "2024/05/31", 0, {"", "秋だいこん"}, 0, "    "},
        {"shipping", 1, "2024", "", "", 0, {"", "春トマト"}, 2, "14 12 50 1,750 115"},
        {"done", 2, "2024", "", "", 0, {"", "夏なす"}, 1, "5 5  1,000 100"},
        {"every year, any day", 3, "", "", "", 0, {"", "春トマト", "夏なす", "秋だいこん", "去年のかぶ"}, 4,
         "20 18 50 2,840 215"},
    };
    for (const Case &c : cases) {
        list.Option1[static_cast<std::size_t>(c.state)]->setChecked(true);
        list.txtCOND[0]->setText(c.year);
        list.txtCOND[1]->setText(c.from);
        list.txtCOND[2]->setText(c.to);
        hbtest::click(list.cmdFIND);
        settle();
        if (c.entry)
            list.List1->setCurrentRow(c.entry);
        settle();
        EXPECT_EQ(listEntries(list), c.entries) << c.what;
        EXPECT_EQ(list.rowCount(), c.rowCount) << c.what;
        EXPECT_EQ(sums(list), c.sums) << c.what;
    }
    EXPECT_TRUE(ui->prompts.empty());

    // A year that is no number is reported; the list stays usable.
    list.txtCOND[0]->setText("20x4");
    hbtest::click(list.cmdFIND);
    settle();
    ASSERT_EQ(ui->prompts.size(), 1U);
    EXPECT_EQ(ui->prompts[0].text, "数値を指定してください。");
    EXPECT_EQ(ui->prompts[0].style, hb::kMsgExclamation);

    // A resize rescales and keeps the conditions and rows.
    list.txtCOND[0]->setText("2023");
    const int before = list.rowCount();
    hbtest::resizeOuter(&list, QSize(900, 700));
    settle();
    EXPECT_EQ(list.txtCOND[0]->text(), "2023");
    EXPECT_EQ(list.rowCount(), before);
    list.Unload();
}

// A filter box that holds no year or no date runs no statement (a query would fail on the
// renamed tables and report it): one message, the focus in the box with its picker shut, and
// the plantings, the shipments, the totals and gShip empty; a later valid search fills them.
TEST_P(ShipWindows, ARefusedFilterRunsNoStatementAndLeavesEverythingEmpty)
{
    putSeason();
    auto &list = openList();
    const auto tablesAway = [](bool away) {
        for (const char *t : {"D_PLANT", "D_SHIP"}) {
            const QString name = QString::fromLatin1(t);
            hb::gDb->EXEC(away ? QStringLiteral("ALTER TABLE %1 RENAME TO %1_AWAY").arg(name)
                               : QStringLiteral("ALTER TABLE %1_AWAY RENAME TO %1").arg(name));
        }
    };
    const auto isEmptied = [&list](const char *what) {
        EXPECT_EQ(list.List1->count(), 0) << what;
        EXPECT_EQ(list.rowCount(), 0) << what;
        EXPECT_EQ(sums(list), "    ") << what;
        ASSERT_EQ(hb::gShip.size(), 1U) << what;
        EXPECT_TRUE(hb::gShip[0].SHIP_ID.isEmpty()) << what;
    };
    struct Case {
        int box;
        const char *text;
        const char *msg;
    };
    const Case cases[] = {
        {0, "20a1", "数値を指定してください。"},
        {1, "2008/02/30", "日付を指定してください。"},
        {2, "2008/02/30", "日付を指定してください。"},
    };
    for (const Case &c : cases) {
        list.txtCOND[0]->setText("2024");
        list.txtCOND[1]->setText("2024/05/01");
        list.txtCOND[2]->setText("2024/05/31");
        hbtest::click(list.cmdFIND);
        settle();
        ASSERT_EQ(list.rowCount(), 2) << c.text;
        tablesAway(true);
        ui->prompts.clear();
        QLineEdit *box = list.txtCOND[static_cast<std::size_t>(c.box)];
        box->setText(c.text);
        hbtest::click(list.cmdFIND);
        settle();
        EXPECT_EQ(ui->promptTexts(), QStringList{c.msg}) << c.box;
        EXPECT_EQ(QApplication::focusWidget(), box) << c.box;
        EXPECT_FALSE(list.picker->isShown()) << c.box;
        EXPECT_EQ(box->text(), c.text);
        isEmptied(c.text);
        tablesAway(false);
    }

    // Choosing a planting with a bad day in a box: refused the same way.
    list.txtCOND[2]->setText("2024/05/31");
    hbtest::click(list.cmdFIND);
    settle();
    ASSERT_EQ(list.List1->count(), 4);
    tablesAway(true);
    ui->prompts.clear();
    list.txtCOND[1]->setText("2024/13/01");
    hbtest::click(list.List1);
    list.List1->setCurrentRow(1);
    settle();
    EXPECT_EQ(ui->promptTexts(), QStringList{"日付を指定してください。"});
    isEmptied("choosing a planting");
    tablesAway(false);

    list.txtCOND[1]->setText("2024/05/01");
    hbtest::click(list.cmdFIND);
    settle();
    EXPECT_EQ(list.List1->count(), 4);
    EXPECT_EQ(list.rowCount(), 2);
    EXPECT_EQ(sums(list), "15 13 50 2,150 215");
    EXPECT_EQ(ui->prompts.size(), 1U);
    list.Unload();
}

// Plantings are numbered per grower: the planting saved last is current in the list by its
// own grower, not the current grower's planting of the same number.
TEST_P(ShipWindows, ThePlantingSavedLastIsCurrentByItsOwnGrower)
{
    putPlant(1, 3, "一の三", 2024);
    putPlant(2, 3, "二の三", 2024);
    hb::gDb->EXEC("UPDATE D_PLANT SET HARVEST_SCHD_YM='202409'");
    hb::gFmrID = Value(1);
    auto &plants = hb::form<hb::frmPlantList>();
    plants.showModeless();
    hbtest::activate(&plants);
    settle();
    long row = -1;
    for (std::size_t i = 0; i < hb::gPlant.size(); ++i) {
        if (hb::gPlant[i].FMR_ID == Value(2) && hb::gPlant[i].PLANT_ID == Value(3))
            row = static_cast<long>(i);
    }
    ASSERT_GE(row, 0);
    plants.selectRow(row);
    hbtest::onModal(ui.get(), QStringLiteral("frmPlantInput"), [](QDialog *d) {
        settle();
        hbtest::click(static_cast<hb::frmPlantInput *>(d)->cmdMENU[1]);
        settle();
    });
    hbtest::click(plants.cmdMENU[2]);
    settle();
    ASSERT_TRUE(ui->prompts.empty()) << ui->prompts.front().text.toStdString();
    plants.Unload();
    settle();

    auto &list = openList();
    ASSERT_GE(list.List1->currentRow(), 1);
    EXPECT_EQ(list.List1->currentItem()->text(), "二の三");
    EXPECT_EQ(list.rowCount(), 0) << "grower 2's planting 3 has no shipment";
    list.Unload();
}

TEST_P(ShipWindows, AddThroughTheInputWindowSavesAndTheListSelectsTheNewShipment)
{
    putSeason();
    hb::gDb->EXEC("INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, AMT) VALUES (1, 40, 1)");
    auto &list = openList();
    bool opened = false;
    onInput([&](hb::frmShipInput &in) {
        opened = true;
        settle();
        EXPECT_EQ(in.windowTitle(), "出荷入力");
        EXPECT_EQ(in.txtDATA[hb::kBoxShipDate]->text(), QDate::currentDate().toString("yyyy/MM/dd"));
        EXPECT_EQ(in.cmbDATA[0]->currentText(), "緑丘 太郎");
        EXPECT_EQ(in.cmbDATA[1]->currentText(), "道の駅みどり");
        EXPECT_EQ(in.txtDATA[hb::kBoxLocate]->text(), "緑丘");
        EXPECT_TRUE(in.Check1->isChecked());
        EXPECT_TRUE(in.Option1[1]->isChecked()) << "the shop pays into receivables";
        EXPECT_EQ(in.lblDATA[0]->text(), "");
        EXPECT_EQ(in.cmdMENU[1]->text(), "登録");
        // Grower 1's plantings live today (the one of 2023 has no end and counts too).
        QStringList plants;
        for (int i = 0; i < in.List1->count(); ++i)
            plants << in.List1->item(i)->text();
        EXPECT_EQ(plants, (QStringList{"去年のかぶ", "春トマト", "秋だいこん"}));

        EXPECT_TRUE(in.picker->isShown()) << "the day's picker drops down on the first focus";
        hbtest::focusByClick(in.txtDATA[hb::kBoxLocate]);  // moving on hides it
        settle();
        EXPECT_FALSE(in.picker->isShown());
        hbtest::focusByClick(in.List1);
        in.List1->setCurrentRow(1);
        settle();
        EXPECT_EQ(in.lblDATA[1]->text(), "トマト") << "the planting's facts";
        type(in.txtDATA[hb::kBoxShopPrc], "150");
        EXPECT_EQ(in.txtDATA[hb::kBoxPrdId]->text(), "101") << "leaving the planting list fills the product";
        EXPECT_EQ(in.txtDATA[hb::kBoxPrdNm]->text(), "トマト");
        type(in.txtDATA[hb::kBoxShipQty], "12");
        type(in.txtDATA[hb::kBoxRtnQty], "2");
        type(in.txtDATA[hb::kBoxNotes], "");
        settle();
        EXPECT_EQ(in.txtDATA[hb::kBoxSalesQty]->text(), "10");
        EXPECT_EQ(in.lblDATA[7]->text(), "1,500");
        EXPECT_EQ(in.txtDATA[hb::kBoxFeeRt]->text(), "1");
        EXPECT_EQ(in.txtDATA[hb::kBoxFeeAmt]->text(), "15");

        // A discount that is no number is stored as none, without a word: the fee goes until an
        // amount is entered again; the amount shown is the one without discount.
        type(in.txtDATA[hb::kBoxDscAmt], "50yen");
        hbtest::pressKey(Qt::Key_Tab);
        settle();
        EXPECT_TRUE(ui->prompts.empty());
        EXPECT_TRUE(in.work.DSC_AMT.isNull());
        EXPECT_TRUE(in.work.FEE_AMT.isNull());
        EXPECT_EQ(in.txtDATA[hb::kBoxDscAmt]->text(), "");
        EXPECT_EQ(in.lblDATA[7]->text(), "1,500");
        type(in.txtDATA[hb::kBoxDscAmt], "100");
        type(in.txtDATA[hb::kBoxNotes], "朝どれ");
        settle();
        EXPECT_EQ(in.lblDATA[7]->text(), "1,400");
        EXPECT_EQ(in.txtDATA[hb::kBoxFeeAmt]->text(), "14");
        hbtest::savePicture(&in, "/tmp/ship_input_add.png");

        // A resize keeps what was typed.
        hbtest::resizeOuter(&in, QSize(800, 700));
        settle();
        EXPECT_EQ(in.txtDATA[hb::kBoxNotes]->text(), "朝どれ");
        EXPECT_EQ(in.lblDATA[7]->text(), "1,400");
        hbtest::click(in.cmdMENU[1]);
        settle();
    });
    hbtest::click(list.cmdMENU[1]);
    settle();
    ASSERT_TRUE(opened);
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_SHIP WHERE FMR_ID=1 AND SHIP_ID=5 AND SALES_AMT=1400 AND FEE_AMT=14 AND "
                    "LEDGE_ID_S=41 AND LEDGE_ID_F=42 AND NOTES='朝どれ' AND PLANT_ID=1 AND PRD_ID=101"),
              1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_DIARY_DTL WHERE FMR_ID=1 AND WORK_KBN=8 AND SHIP_ID=5"), 1);
    EXPECT_FALSE(hb::IsFormLoaded("frmShipInput"));
    // The list was queried again; today's shipment is outside May 2024 until the days allow it.
    list.txtCOND[1]->clear();
    list.txtCOND[2]->clear();
    hbtest::click(list.cmdFIND);
    settle();
    ASSERT_GE(list.selectedRow(), 0);
    EXPECT_EQ(hb::gShip[static_cast<std::size_t>(list.selectedRow())].SHIP_ID, Value(5));
    list.Unload();
}

// Each statement of a new shipment's save failing in turn (the shipment, its two vouchers and its
// diary line): reported as a failed save, the tables and the window as they were; the save after
// the last one goes through.
TEST_P(ShipWindows, EachFailingStatementOfTheSaveLeavesTheTablesAndTheWindowAsTheyWere)
{
    putSeason();
    auto &list = openList();
    long statements = 0;
    onInput([&](hb::frmShipInput &in) {
        enterTomatoes(in, "朝どれ");
        const auto tables = shipmentTables;
        const auto boxes = [&in] {
            QStringList texts;
            for (QLineEdit *box : in.txtDATA)
                texts << box->text();
            return texts;
        };
        const QStringList before = tables();
        const QStringList typed = boxes();
        statements = hbtest::failEachClick(*hb::gDb, ui.get(), in.cmdMENU[1], [&](long k, const QString &) {
                EXPECT_TRUE(in.isVisible()) << k;
                EXPECT_TRUE(in.work.SHIP_ID.isNull()) << k;
                EXPECT_EQ(boxes(), typed) << k;
                EXPECT_EQ(tables(), before) << k;
            });
        EXPECT_FALSE(in.isVisible());
    });
    hbtest::click(list.cmdMENU[1]);
    settle();
    EXPECT_GT(statements, 6);
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_SHIP WHERE FMR_ID=1 AND SHIP_ID=5 AND NOTES='朝どれ'"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_DIARY_DTL WHERE FMR_ID=1 AND WORK_KBN=8 AND SHIP_ID=5"), 1);
    list.Unload();
}

// The shop's name for the sales voucher cannot be read (the master database fails): the save
// fails whole with one message, nothing is written and the window keeps its input; the voucher is
// never stored without its shop.
TEST_P(ShipWindows, AFailingShopNameLookUpFailsTheWholeSave)
{
    putSeason();
    auto &list = openList();
    bool driven = false;
    onInput([&](hb::frmShipInput &in) {
        driven = true;
        enterTomatoes(in, "");
        ASSERT_EQ(in.txtDATA[hb::kBoxSalesQty]->text(), "10");
        const QStringList before = shipmentTables();
        int lookUps = 0;
        hb::DbObject::statementStartHook = [&](const hb::DbObject &on, const QString &sql) {
            if (&on == hb::gMst.get() && sql.contains(QLatin1String("M_SHOP.SHOP_NM")) && hb::gDb->inTransaction()) {
                ++lookUps;
                throw hb::HbError(hb::kErrDatabase, QStringLiteral("マスタを読めません。"));
            }
        };
        ui->prompts.clear();
        hbtest::click(in.cmdMENU[1]);
        settle();
        hb::DbObject::statementStartHook = nullptr;
        EXPECT_EQ(lookUps, 1);
        EXPECT_EQ(ui->promptTexts(), QStringList({QStringLiteral("マスタを読めません。")}));
        EXPECT_TRUE(in.isVisible());
        EXPECT_FALSE(hb::gDb->inTransaction());
        EXPECT_EQ(shipmentTables(), before);
        EXPECT_EQ(in.txtDATA[hb::kBoxShipQty]->text(), QStringLiteral("12"));
        // With the master readable again the same input saves, the voucher naming its shop.
        hbtest::click(in.cmdMENU[1]);
        settle();
        EXPECT_FALSE(in.isVisible());
    });
    hbtest::click(list.cmdMENU[1]);
    settle();
    EXPECT_TRUE(driven);
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_LEDGE WHERE FMR_ID=1 AND CTR_NM IS NOT NULL AND CTR_NM<>'' "
                    "AND LEDGE_ID=(SELECT LEDGE_ID_S FROM D_SHIP WHERE FMR_ID=1 AND SHIP_ID=5)"),
              1);
    list.Unload();
}

// A stored shipment keeps its grower: the box shows it and cannot be changed, so saving grower
// 2's shipment 1 never touches grower 1's shipment 1 or grower 1's voucher of the same number.
TEST_P(ShipWindows, AStoredShipmentKeepsItsGrowerAndTouchesNoOtherGrowersRows)
{
    putSeason();
    hb::gDb->EXEC("UPDATE D_SHIP SET LEDGE_ID_S=41 WHERE FMR_ID=2 AND SHIP_ID=1");
    hb::gDb->EXEC("INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, C_ACC_ID, AMT) "
                  "VALUES (2, 41, #2024-05-05#, 1040, 4000, 1000)");
    hb::gDb->EXEC("INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, C_ACC_ID, CTR_NM, AMT) "
                  "VALUES (1, 41, #2024-01-09#, 1010, 1000, '銀行', 5555)");
    const QString ship1 = "SELECT * FROM D_SHIP WHERE FMR_ID=1 AND SHIP_ID=1";
    const QString voucher1 = "SELECT * FROM D_LEDGE WHERE FMR_ID=1 AND LEDGE_ID=41";
    const QStringList shipBefore = rowText(ship1);
    const QStringList voucherBefore = rowText(voucher1);
    ASSERT_FALSE(shipBefore.isEmpty());
    ASSERT_FALSE(voucherBefore.isEmpty());

    auto &list = openList();
    list.selectRow(rowOf(2, 1));
    bool driven = false;
    onInput([&](hb::frmShipInput &in) {
        driven = true;
        settle();
        EXPECT_EQ(in.cmbDATA[0]->currentText(), "山田 花子");
        EXPECT_FALSE(in.cmbDATA[0]->isEnabled()) << "shown, never changed";
        // Forced into the box and validated, grower 1 changes nothing.
        in.cmbDATA[0]->setEnabled(true);
        chooseItem(in.cmbDATA[0], 1);
        EXPECT_EQ(in.work.FMR_ID, Value(2));
        EXPECT_EQ(in.cmbDATA[0]->currentText(), "山田 花子");
        hbtest::click(in.cmdMENU[1]);
        settle();
    });
    hbtest::click(list.cmdMENU[2]);
    settle();
    ASSERT_TRUE(driven);
    EXPECT_TRUE(ui->prompts.empty());
    EXPECT_FALSE(hb::IsFormLoaded("frmShipInput"));
    EXPECT_EQ(rowText(ship1), shipBefore);
    EXPECT_EQ(rowText(voucher1), voucherBefore);
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_LEDGE WHERE FMR_ID=2 AND LEDGE_ID=41 AND AMT=1000"), 1)
        << "grower 2's own sales voucher is posted again";
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_SHIP WHERE FMR_ID=2 AND SHIP_ID=1 AND UDATE IS NOT NULL"), 1);

    // Add: the grower chosen after the planting takes the planting away.
    onInput([&](hb::frmShipInput &in) {
        settle();
        EXPECT_TRUE(in.cmbDATA[0]->isEnabled());
        in.work.SHIP_DATE = day(2024, 5, 20);
        in.DispData();
        in.List1->setCurrentRow(0);
        settle();
        ASSERT_FALSE(hb::isBlank(in.work.PLANT_ID));
        type(in.txtDATA[hb::kBoxShipQty], "3");
        chooseItem(in.cmbDATA[0], 2);
        EXPECT_EQ(in.work.FMR_ID, Value(2));
        EXPECT_TRUE(hb::isBlank(in.work.PLANT_ID));
        EXPECT_EQ(in.List1->currentRow(), -1);
        hbtest::click(in.cmdMENU[1]);
        settle();
        EXPECT_EQ(ui->promptTexts(), QStringList{"作付を指定してください。"});
        hbtest::click(in.cmdMENU[0]);
    });
    hbtest::click(list.cmdMENU[1]);
    settle();

    // A copy of grower 2's shipment made while grower 1 is current: grower 1's, no planting.
    ui->prompts.clear();
    list.selectRow(rowOf(2, 1));
    onInput([&](hb::frmShipInput &in) {
        settle();
        EXPECT_EQ(in.work.FMR_ID, Value(1));
        EXPECT_TRUE(hb::isBlank(in.work.PLANT_ID));
        EXPECT_EQ(in.cmbDATA[0]->currentText(), "緑丘 太郎");
        EXPECT_EQ(in.work.SHOP_PRC.toDouble(), 200) << "the rest is copied";
        hbtest::click(in.cmdMENU[0]);
    });
    hbtest::click(list.cmdMENU[5]);
    settle();
    list.Unload();
}

// The product name and the default fee rate come from the shipment's shop, not the shop in use.
TEST_P(ShipWindows, AShipmentToAnotherShopTakesThatShopsProductAndFeeRate)
{
    putSeason();
    auto &list = openList();
    onInput([&](hb::frmShipInput &in) {
        settle();
        const auto failing = [&](hb::DbObject &db, const std::function<void()> &act) {
            ui->prompts.clear();
            hbtest::withFailingStatements(db, QStringLiteral("読めません。"), act);
            ASSERT_EQ(ui->prompts.size(), 1u) << ui->promptTexts().join('|').toStdString();
            EXPECT_TRUE(ui->prompts[0].text.endsWith(QStringLiteral("読めません。")));
            ui->prompts.clear();
        };
        // A shop whose payment side cannot be read is not taken: the box goes back to the shop shown.
        failing(*hb::gMst, [&] { chooseItem(in.cmbDATA[1], 2); });
        EXPECT_EQ(in.cmbDATA[1]->currentText(), "道の駅みどり");
        EXPECT_EQ(in.work.SHOP_ID, Value(1));
        EXPECT_TRUE(in.Option1[1]->isChecked());
        chooseItem(in.cmbDATA[1], 2);
        EXPECT_EQ(in.work.SHOP_ID, Value(2));
        EXPECT_TRUE(in.Option1[0]->isChecked()) << "shop 2 pays in cash";
        type(in.txtDATA[hb::kBoxPrdId], "201");
        type(in.txtDATA[hb::kBoxShopPrc], "100");
        type(in.txtDATA[hb::kBoxShipQty], "10");
        type(in.txtDATA[hb::kBoxRtnQty], "0");
        type(in.txtDATA[hb::kBoxNotes], "");
        settle();
        EXPECT_EQ(in.txtDATA[hb::kBoxPrdNm]->text(), "きゅうり");
        EXPECT_EQ(in.txtDATA[hb::kBoxFeeRt]->text(), "12");
        EXPECT_EQ(in.txtDATA[hb::kBoxFeeAmt]->text(), "120");
        // A rate already set is never replaced.
        type(in.txtDATA[hb::kBoxFeeRt], "5");
        type(in.txtDATA[hb::kBoxShipQty], "20");
        type(in.txtDATA[hb::kBoxNotes], "");
        settle();
        EXPECT_EQ(in.txtDATA[hb::kBoxFeeRt]->text(), "5");
        EXPECT_EQ(in.txtDATA[hb::kBoxFeeAmt]->text(), "100");
        EXPECT_TRUE(ui->prompts.empty());

        // A code whose product cannot be read is not taken: the boxes show the product held.
        failing(*hb::gMst, [&] {
            type(in.txtDATA[hb::kBoxPrdId], "101");
            type(in.txtDATA[hb::kBoxNotes], "");
        });
        EXPECT_EQ(in.txtDATA[hb::kBoxPrdId]->text(), "201");
        EXPECT_EQ(in.txtDATA[hb::kBoxPrdNm]->text(), "きゅうり");
        EXPECT_EQ(in.work.PRD_ID, Value(201));

        // Plantings that cannot be read: the list is empty, and no planting is held.
        hbtest::focusByClick(in.List1);
        in.List1->setCurrentRow(1);
        settle();
        ASSERT_FALSE(hb::isBlank(in.work.PLANT_ID));
        type(in.txtDATA[hb::kBoxShipQty], "1");
        failing(*hb::gDb, [&] { type(in.txtDATA[hb::kBoxNotes], ""); });
        EXPECT_EQ(in.List1->count(), 0);
        EXPECT_TRUE(hb::isBlank(in.work.PLANT_ID));
        EXPECT_EQ(in.lblDATA[1]->text(), "");
        hbtest::click(in.cmdMENU[0]);
    });
    hbtest::click(list.cmdMENU[1]);
    settle();
    list.Unload();
}

// What is no number is stored as none without a word, and so are the amounts computed from it;
// only a shipped quantity that is no whole number is refused, the focus kept.
TEST_P(ShipWindows, NumbersThatAreNoNumbersAreNoneAndAFractionOfItemsIsRefused)
{
    putSeason();
    auto &list = openList();
    bool saved = false;
    onInput([&](hb::frmShipInput &in) {
        settle();
        in.work.SHIP_DATE = day(2024, 5, 20);
        in.DispData();
        in.List1->setCurrentRow(1);  // 春トマト
        settle();
        type(in.txtDATA[hb::kBoxShopPrc], "150");
        type(in.txtDATA[hb::kBoxShipQty], "10");
        type(in.txtDATA[hb::kBoxRtnQty], "0");
        type(in.txtDATA[hb::kBoxNotes], "");
        settle();
        ASSERT_EQ(in.lblDATA[7]->text(), "1,500");

        struct Case {
            int box;
            const char *typed;
            const char *message;
            const char *shown;
        };
        const Case cases[] = {
            {hb::kBoxShopPrc, "abc", "", ""},
            {hb::kBoxShipQty, "2.5", "数値を指定してください。", "2.5"},
            {hb::kBoxShipQty, "abc", "", ""},
            {hb::kBoxFeeRt, "x", "", ""},
            {hb::kBoxFeeAmt, "１０", "", ""},
            {hb::kBoxPrdId, "102号", "", "102"},
            {hb::kBoxPrdId, "abc", "", ""},
        };
        for (const Case &c : cases) {
            ui->prompts.clear();
            QLineEdit *box = in.txtDATA[static_cast<std::size_t>(c.box)];
            type(box, QString::fromUtf8(c.typed));
            hbtest::pressKey(Qt::Key_Tab, box);
            settle();
            closePopups();
            EXPECT_EQ(box->text(), QString::fromUtf8(c.shown)) << c.typed;
            if (*c.message) {
                EXPECT_EQ(ui->promptTexts(), QStringList{QString::fromUtf8(c.message)}) << c.typed;
                EXPECT_EQ(QApplication::focusWidget(), box) << c.typed;
                type(box, "4");  // corrected
                hbtest::pressKey(Qt::Key_Tab, box);
                settle();
            } else {
                EXPECT_TRUE(ui->prompts.empty()) << c.typed;
            }
            switch (c.box) {
            case hb::kBoxShopPrc:
                EXPECT_TRUE(in.work.SHOP_PRC.isNull());
                EXPECT_TRUE(in.work.SALES_AMT.isNull() && in.work.FEE_AMT.isNull());
                EXPECT_EQ(in.lblDATA[7]->text(), "");
                break;
            case hb::kBoxShipQty:
                if (!*c.message) {
                    EXPECT_TRUE(in.work.SHIP_QTY.isNull());
                    EXPECT_TRUE(in.work.SALES_QTY.isNull() && in.work.SALES_AMT.isNull() && in.work.FEE_AMT.isNull());
                } else {
                    EXPECT_EQ(in.work.SHIP_QTY, Value(4)) << "the corrected whole number";
                }
                break;
            case hb::kBoxFeeRt:
                EXPECT_TRUE(in.work.FEE_RT.isNull() && in.work.FEE_AMT.isNull());
                break;
            case hb::kBoxFeeAmt:
                EXPECT_TRUE(in.work.FEE_AMT.isNull());
                break;
            default:
                EXPECT_EQ(in.work.PRD_ID, std::string(c.shown).empty() ? Value::null() : Value(102)) << c.typed;
                EXPECT_EQ(in.work.PRD_NM, std::string(c.shown).empty() ? Value::null() : Value("なす")) << c.typed;
                break;
            }
        }
        // Saved as it stands: price 120, 7 shipped, the product code of its look-up.
        type(in.txtDATA[hb::kBoxPrdId], "101");
        type(in.txtDATA[hb::kBoxShopPrc], "120");
        type(in.txtDATA[hb::kBoxShipQty], "7");
        type(in.txtDATA[hb::kBoxNotes], "");
        settle();
        hbtest::click(in.cmdMENU[1]);
        settle();
        saved = !in.isLoaded();
    });
    hbtest::click(list.cmdMENU[1]);
    settle();
    ASSERT_TRUE(saved);
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_SHIP WHERE FMR_ID=1 AND SHIP_ID=5 AND SHIP_QTY=7 AND SHOP_PRC=120 AND "
                    "PRD_ID=101 AND SALES_AMT=840"),
              1);
    list.Unload();
}

// A shipment deleted meanwhile on another computer: the message, nothing written, the list and
// the calendar follow and the window closes.
TEST_P(ShipWindows, AShipmentGoneMeanwhileIsReportedTheListFollowsAndTheWindowCloses)
{
    putSeason();
    auto &list = openList();
    for (const int button : {2, 4}) {
        SCOPED_TRACE(button);
        list.txtCOND[0]->setText("2024");
        hbtest::click(list.cmdFIND);
        settle();
        const long row = rowOf(1, 1) >= 0 ? rowOf(1, 1) : rowOf(2, 1);
        ASSERT_GE(row, 0);
        const long fmr = hb::gShip[static_cast<std::size_t>(row)].FMR_ID.toLong();
        list.selectRow(row);
        ui->prompts.clear();
        const long lines = count("SELECT COUNT(*) FROM D_DIARY_DTL");
        bool closed = false;
        onInput([&](hb::frmShipInput &in) {
            settle();
            hb::gDb->EXEC("DELETE FROM D_SHIP WHERE FMR_ID=? AND SHIP_ID=1", {Value(fmr)});
            closePopups();
            hbtest::click(in.cmdMENU[1]);
            settle();
            closed = !in.isLoaded();
        });
        hbtest::click(list.cmdMENU[static_cast<std::size_t>(button)]);
        settle();
        ASSERT_EQ(ui->promptTexts(), QStringList{"該当データが存在しません。"}) << ui->modalShown.join(",").toStdString();
        EXPECT_EQ(ui->prompts[0].style, hb::kMsgCritical);
        EXPECT_TRUE(closed);
        EXPECT_EQ(count("SELECT COUNT(*) FROM D_SHIP WHERE FMR_ID=? AND SHIP_ID=1", {Value(fmr)}), 0);
        EXPECT_EQ(count("SELECT COUNT(*) FROM D_DIARY_DTL"), lines) << "nothing written";
        EXPECT_EQ(rowOf(fmr, 1), -1) << "the list was queried again";
    }
    list.Unload();
}

TEST_P(ShipWindowsSqlite, ButtonsNeedASelectedRowAndOpenViewCopyAndDelete)
{
    putSeason();
    hb::ShipRec r;
    auto &list = openList();
    // Nothing selected: modify, view, delete and copy do nothing.
    for (int b = 2; b <= 5; ++b)
        hbtest::click(list.cmdMENU[static_cast<std::size_t>(b)]);
    settle();
    EXPECT_TRUE(ui->modalShown.isEmpty());
    EXPECT_TRUE(ui->prompts.empty());

    // View: everything locked, only "閉じる".
    list.selectRow(0);
    onInput([&](hb::frmShipInput &in) {
        settle();
        EXPECT_EQ(in.lblDATA[0]->text(), "1");
        EXPECT_EQ(in.txtDATA[hb::kBoxShopPrc]->text(), "150");
        EXPECT_TRUE(in.txtDATA[hb::kBoxShopPrc]->isReadOnly());
        EXPECT_FALSE(in.List1->isEnabled());
        EXPECT_FALSE(in.Check1->isEnabled());
        EXPECT_FALSE(in.cmdMENU[1]->isVisible());
        EXPECT_EQ(in.cmdMENU[0]->text(), "閉じる");
        hbtest::savePicture(&in, "/tmp/ship_input_view.png");
        hbtest::click(in.cmdMENU[0]);
    });
    hbtest::click(list.cmdMENU[3]);
    settle();

    // Copy: today, no number or vouchers; the copy gets its own.
    hb::ShipRec first;
    ASSERT_TRUE(hb::SaveShipment(*hb::gDb, first = hb::gShip[0], hb::kEditModify) == 1);  // give shipment 1 its vouchers
    const long s1 = first.LEDGE_ID_S.toLong();
    hbtest::click(list.cmdFIND);
    settle();
    list.selectRow(0);
    onInput([&](hb::frmShipInput &in) {
        settle();
        EXPECT_TRUE(in.work.SHIP_ID.isNull());
        EXPECT_TRUE(in.work.LEDGE_ID_S.isNull());
        EXPECT_EQ(hb::valueDate(in.work.SHIP_DATE), QDate::currentDate());
        EXPECT_EQ(in.txtDATA[hb::kBoxShopPrc]->text(), "150");
        EXPECT_EQ(in.lblDATA[0]->text(), "");
        hbtest::click(in.cmdMENU[1]);
        settle();
    });
    hbtest::click(list.cmdMENU[5]);
    settle();
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_SHIP WHERE FMR_ID=1"), 4);
    EXPECT_EQ(count("SELECT LEDGE_ID_S FROM D_SHIP WHERE FMR_ID=1 AND SHIP_ID=1"), s1) << "the copied one is untouched";
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_LEDGE WHERE FMR_ID=1 AND LEDGE_ID=?", {Value(s1)}), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_LEDGE WHERE FMR_ID=1"), 4);

    // Delete the first row of May: its row, vouchers and line go.
    hbtest::click(list.cmdFIND);
    settle();
    list.selectRow(0);
    onInput([&](hb::frmShipInput &in) {
        settle();
        EXPECT_EQ(in.cmdMENU[1]->text(), "削除");
        EXPECT_TRUE(in.txtDATA[hb::kBoxNotes]->isReadOnly());
        hbtest::click(in.cmdMENU[1]);
        settle();
    });
    hbtest::click(list.cmdMENU[4]);
    settle();
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_SHIP WHERE FMR_ID=1 AND SHIP_ID=1"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_LEDGE WHERE FMR_ID=1 AND LEDGE_ID=?", {Value(s1)}), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_SHIP WHERE FMR_ID=2 AND SHIP_ID=1"), 1) << "grower 2's shipment 1 stays";
    list.Unload();
}

// The window is shown again for each action: each showing has its own mode's Tab order, whatever
// the window showed before.
TEST_P(ShipWindowsSqlite, EachShowingHasTheTabOrderOfItsMode)
{
    putSeason();
    auto &list = openList();
    struct Case { int button; Qt::FocusPolicy date, price, returns; bool grower; };
    const Case cases[] = {
        {2, Qt::ClickFocus, Qt::ClickFocus, Qt::StrongFocus, false},   // modify
        {1, Qt::StrongFocus, Qt::StrongFocus, Qt::ClickFocus, true},   // add
        {3, Qt::NoFocus, Qt::NoFocus, Qt::NoFocus, false},             // view
        {1, Qt::StrongFocus, Qt::StrongFocus, Qt::ClickFocus, true},
    };
    for (const Case &c : cases) {
        list.selectRow(0);
        bool driven = false;
        onInput([&](hb::frmShipInput &in) {
            driven = true;
            settle();
            EXPECT_EQ(in.txtDATA[hb::kBoxShipDate]->focusPolicy(), c.date) << c.button;
            EXPECT_EQ(in.txtDATA[hb::kBoxShopPrc]->focusPolicy(), c.price) << c.button;
            EXPECT_EQ(in.txtDATA[hb::kBoxRtnQty]->focusPolicy(), c.returns) << c.button;
            EXPECT_EQ(in.cmbDATA[0]->isEnabled(), c.grower) << c.button;
            closePopups();
            hbtest::click(in.cmdMENU[0]);
        });
        hbtest::click(list.cmdMENU[static_cast<std::size_t>(c.button)]);
        settle();
        EXPECT_TRUE(driven);
    }
    list.Unload();
}

TEST_P(ShipWindowsSqlite, ChecksRefuseWithTheirMessagesAndKeepTheWindowOpen)
{
    putSeason();
    auto &list = openList();
    onInput([&](hb::frmShipInput &in) {
        settle();
        struct Case { std::function<void()> change; QString msg; };
        const Case cases[] = {
            {[&] {}, "作付を指定してください。"},
            {[&] { in.work.PLANT_ID = Value(2); in.work.FMR_ID = Value(2); }, "作付を指定してください。"},  // grower 2 has no planting 2
            {[&] { in.work.PLANT_ID = Value(1); in.work.FMR_ID = Value(1); }, "出荷数を指定してください。"},
            {[&] { in.work.SHIP_DATE = Value::null(); }, "日付を指定してください。"},
            {[&] { in.work.SHIP_DATE = day(2024, 5, 20); in.work.FMR_ID = Value(0); }, "生産者をを指定してください。"},
        };
        for (const Case &c : cases) {
            ui->prompts.clear();
            c.change();
            hbtest::click(in.cmdMENU[1]);
            settle();
            ASSERT_EQ(ui->prompts.size(), 1U);
            EXPECT_EQ(ui->prompts[0].text, c.msg);
            EXPECT_TRUE(in.isVisible());
        }
        // A day that is no date: nothing said on leaving, the text stays in the box and the
        // record, no planting is listed, and the save refuses it.
        in.work.SHIP_DATE = day(2024, 5, 20);
        in.work.FMR_ID = Value(1);
        in.DispData();
        ASSERT_GT(in.List1->count(), 0);
        type(in.txtDATA[hb::kBoxShipDate], "20241340");  // the typing help adds the slashes
        ui->prompts.clear();
        hbtest::pressKey(Qt::Key_Tab);
        settle();
        EXPECT_TRUE(ui->prompts.empty());
        EXPECT_EQ(in.txtDATA[hb::kBoxShipDate]->text(), "2024/13/40");
        EXPECT_EQ(in.work.SHIP_DATE, Value("2024/13/40"));
        EXPECT_EQ(in.List1->count(), 0);
        while (QApplication::activePopupWidget()) {  // the grower's list opened on the Tab
            QApplication::activePopupWidget()->close();
            settle();
        }
        hbtest::click(in.cmdMENU[1]);
        settle();
        EXPECT_EQ(ui->promptTexts(), QStringList{"日付を指定してください。"});
        EXPECT_TRUE(in.isVisible());
        hbtest::click(in.cmdMENU[0]);
    });
    hbtest::click(list.cmdMENU[1]);
    settle();
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_SHIP"), 4);
    list.Unload();
}

}  // namespace
