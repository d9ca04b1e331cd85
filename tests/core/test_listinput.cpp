// The list and input protocol: the list's buttons, the input window's modes and look, the
// register sequence and its failures, resizes that keep input, and the release of holds.

#include "common/globaldbs.h"
#include "common/harness.h"
#include "core/datachanged.h"
#include "core/forms.h"
#include "listinput_windows.h"

#include <QApplication>
#include <QTest>

using hbtest::settle;
using lt::gLog;

namespace {

class ListInput : public hbtest::GlobalDbs {
protected:
    void SetUp() override
    {
        GlobalDbs::SetUp();
        if (IsSkipped())
            return;
        hb::gFmrID = hb::Value(1);
        hb::gLastPlantID = hb::Value();
        lt::gRows.assign(1, lt::PlantRow());
        gLog.clear();
    }
    void TearDown() override
    {
        hb::destroyForms();
        settle();
        GlobalDbs::TearDown();
    }
    static void addPlant(long id, const QString &name, const hb::Value &hold = hb::Value::null(), long fmr = 1)
    {
        hb::gDb->EXEC(QStringLiteral("INSERT INTO D_PLANT (FMR_ID, PLANT_ID, PLANT_NM, PLANT_DATE, HOLD_TM) "
                                     "VALUES (?, ?, ?, #2024-04-01 00:00:00#, ?)"),
                      {hb::Value(fmr), hb::Value(id), hb::Value(name), hold});
    }
    lt::frmTestList &openList()
    {
        auto &list = hb::form<lt::frmTestList>();
        list.showModeless();
        hbtest::activate(&list);
        settle();
        return list;
    }
    // Drives the input window when the list opens it.
    void onInput(std::function<void(lt::frmTestInput &)> drive)
    {
        hbtest::onModal(ui.get(), QStringLiteral("frmTestInput"),
                        [drive](QDialog *d) { drive(*static_cast<lt::frmTestInput *>(d)); });
    }
    static long plantCount()
    {
        return static_cast<long>(one(QStringLiteral("SELECT COUNT(*) FROM D_PLANT")).toLong());
    }
};

using ListInputBoth = ListInput;
using ListInputWindows = ListInput;

HB_INSTANTIATE_BOTH_BACKENDS(ListInputBoth);
INSTANTIATE_TEST_SUITE_P(Sqlite, ListInputWindows, ::testing::Values(hbtest::Backend::Sqlite), hbtest::backendName);

// ---- list buttons ------------------------------------------------------------------------------

TEST_P(ListInputWindows, ButtonsSetModeAndRowAndOpenTheInputOverTheList)
{
    addPlant(1, QStringLiteral("春トマト"));
    addPlant(2, QStringLiteral("夏なす"));
    struct Case { int button; int mode; long row; QString cmd0; bool cmd1; QString cmd1Text; bool cmd2; QString name; };
    const Case cases[] = {
        {1, 1, -1, "ｷｬﾝｾﾙ", true, "登録", true, ""},
        {2, 2, 1, "ｷｬﾝｾﾙ", true, "登録", true, "夏なす"},
        {3, 3, 1, "閉じる", false, "", false, "夏なす"},
        {4, 4, 1, "ｷｬﾝｾﾙ", true, "削除", false, "夏なす"},
        {5, 1, 1, "ｷｬﾝｾﾙ", true, "登録", true, "夏なす"},  // copy: the row with the new-row defaults
    };
    for (const Case &c : cases) {
        auto &list = openList();
        ASSERT_EQ(list.rowCount(), 2);
        list.selectRow(1);
        bool opened = false;
        onInput([&](lt::frmTestInput &in) {
            opened = true;
            EXPECT_EQ(hb::gEditMode, c.mode);
            EXPECT_EQ(hb::gEditRow, c.row);
            EXPECT_EQ(in.parentWidget(), &list) << "the list owns the input window";
            EXPECT_EQ(in.cmdMENU[hb::InputFormBase::kMenuClose]->text(), c.cmd0);
            EXPECT_EQ(in.cmdMENU[hb::InputFormBase::kMenuRegister]->isVisible(), c.cmd1);
            if (c.cmd1) {
                EXPECT_EQ(in.cmdMENU[hb::InputFormBase::kMenuRegister]->text(), c.cmd1Text);
            }
            EXPECT_EQ(in.cmdMENU[hb::InputFormBase::kMenuComplete]->isVisible(), c.cmd2);
            if (c.cmd2) {
                EXPECT_EQ(in.cmdMENU[hb::InputFormBase::kMenuComplete]->text(), QStringLiteral("完了"));
            }
            EXPECT_EQ(in.txtDATA[0]->text(), c.name);
            if (c.button == 2) {
                in.txtDATA[1]->setFocus();
                settle();
                EXPECT_TRUE(in.picker->isShown());
                hbtest::savePicture(&in, QStringLiteral("/tmp/listinput_input_modify.png"));
                hbtest::savePicture(&list, QStringLiteral("/tmp/listinput_list.png"));
            }
            if (c.button == 3)
                hbtest::savePicture(&in, QStringLiteral("/tmp/listinput_input_view.png"));
            if (c.mode == 1) {
                EXPECT_EQ(in.work.FMR_ID, hb::Value(1));
                EXPECT_TRUE(in.work.PLANT_ID.isNull()) << "a new row or copy gets no number before its save";
            } else {
                EXPECT_EQ(in.work.PLANT_ID.toLong(), 2);
            }
        });
        hbtest::click(list.cmdMENU[static_cast<std::size_t>(c.button)]);
        settle();
        EXPECT_TRUE(opened) << "button " << c.button;
        list.Unload();
        settle();
    }
}

TEST_P(ListInputWindows, RowButtonsDoNothingWithoutARowAndCloseAndPrintBehave)
{
    auto &list = openList();
    ASSERT_EQ(list.rowCount(), 0);
    for (int b = 2; b <= 6; ++b)
        hbtest::click(list.cmdMENU[static_cast<std::size_t>(b)]);
    settle();
    EXPECT_TRUE(ui->modalShown.isEmpty()) << "modify, view, delete, copy on an empty list do nothing";
    EXPECT_FALSE(list.cmdMENU[hb::ListForm::kMenuPrint]->isEnabled());
    EXPECT_EQ(list.cmdMENU[hb::ListForm::kMenuPrint]->text(), QStringLiteral("印刷"));

    hbtest::click(list.cmdMENU[hb::ListForm::kMenuAdd]);  // add works on an empty list
    settle();
    EXPECT_EQ(ui->modalShown.size(), 1);

    // A list that had rows, queried again to none, keeps its array; the buttons stay inert.
    addPlant(1, QStringLiteral("春トマト"));
    list.refresh();
    ASSERT_EQ(list.rowCount(), 1);
    list.nameFilter = QStringLiteral("該当なし%");
    list.refresh();
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(lt::gRows.at(0).PLANT_NM, hb::Value("春トマト"));
    hbtest::click(list.cmdMENU[hb::ListForm::kMenuModify]);
    settle();
    EXPECT_EQ(ui->modalShown.size(), 1);

    hbtest::click(list.cmdMENU[hb::ListForm::kMenuClose]);
    settle();
    EXPECT_FALSE(list.isLoaded());
}

TEST_P(ListInputWindows, RowRulesAndRefusals)
{
    addPlant(1, QStringLiteral("春トマト"));
    addPlant(2, QStringLiteral("夏なす"));
    auto &list = openList();
    list.ListView1->clearSelection();

    // A non-empty list without a selected row acts on its first row.
    long row = -9;
    onInput([&](lt::frmTestInput &) { row = hb::gEditRow; });
    hbtest::click(list.cmdMENU[hb::ListForm::kMenuView]);
    settle();
    EXPECT_EQ(row, 0);

    // The shipment list's rule: without a selected row nothing happens.
    list.setRowRule(hb::ListForm::RowRule::SelectedItem);
    list.ListView1->clearSelection();
    hbtest::click(list.cmdMENU[hb::ListForm::kMenuView]);
    settle();
    EXPECT_EQ(ui->modalShown.size(), 1);

    // A refused row (the voucher origin rule) opens nothing and leaves the globals.
    list.selectRow(1);
    hb::gEditMode = 3;
    hb::gEditRow = 0;
    list.allow = [](int mode, long r) { return !(mode == 2 && r == 1); };
    hbtest::click(list.cmdMENU[hb::ListForm::kMenuModify]);
    settle();
    EXPECT_EQ(ui->modalShown.size(), 1);
    EXPECT_EQ(hb::gEditRow, 0);
    hbtest::click(list.cmdMENU[hb::ListForm::kMenuCopy]);  // copying the same row is allowed
    settle();
    EXPECT_EQ(ui->modalShown.size(), 2);
    EXPECT_EQ(hb::gEditMode, 1);
    EXPECT_EQ(hb::gEditRow, 1);
}

// ---- resizes keep what was typed ---------------------------------------------------------------------

TEST_P(ListInputWindows, ResizesRescaleOnlyAndKeepFiltersAndInput)
{
    addPlant(1, QStringLiteral("春トマト"));
    auto &list = openList();
    EXPECT_EQ(list.refreshes, 1);
    EXPECT_EQ(list.txtCOND->text(), QStringLiteral("全件"));
    const int nameWidth = list.ListView1->columnWidth(1);
    EXPECT_TRUE(list.ListView1->isColumnHidden(0)) << "the ID column has width 0";
    list.txtCOND->setText(QStringLiteral("トマト"));
    list.selectRow(0);
    hbtest::resizeOuter(&list, list.frameGeometry().size() * 1.25);
    EXPECT_EQ(list.refreshes, 1) << "a resize does not query again";
    EXPECT_EQ(list.txtCOND->text(), QStringLiteral("トマト"));
    EXPECT_EQ(list.selectedRow(), 0);
    EXPECT_NEAR(list.ListView1->columnWidth(1), nameWidth * list.scaleX(), 2.0) << "columns follow the width";

    onInput([&](lt::frmTestInput &in) {
        hbtest::typeText(in.txtDATA[0], QStringLiteral("書きかけ"));
        hbtest::resizeOuter(&in, in.frameGeometry().size() * 1.3);
        in.showMaximized();
        settle();
        in.showNormal();
        settle();
        EXPECT_EQ(in.txtDATA[0]->text(), QStringLiteral("書きかけ"));
    });
    gLog.clear();
    hbtest::click(list.cmdMENU[hb::ListForm::kMenuModify]);
    settle();
    EXPECT_EQ(gLog.count(QStringLiteral("input SetMode")), 1);
    EXPECT_EQ(gLog.count(QStringLiteral("input InitForm")), 1);
}

// ---- the read-only look --------------------------------------------------------------------------------

TEST_P(ListInputWindows, ViewAndDeleteLockFieldsByNameAndSpareTheExemptOnes)
{
    addPlant(1, QStringLiteral("春トマト"));
    auto &list = openList();
    for (int button : {2, 3, 4}) {
        const bool locked = button != 2;
        onInput([&](lt::frmTestInput &in) {
            const QColor window = in.palette().color(QPalette::Window);
            for (QLineEdit *e : in.txtDATA) {
                EXPECT_EQ(e->isReadOnly(), locked) << e->objectName().toStdString();
                EXPECT_EQ(e->focusPolicy() == Qt::NoFocus, locked);
                EXPECT_EQ(e->palette().color(QPalette::Base) == window, locked);
            }
            QComboBox *cmb = in.cmbDATA[0];
            EXPECT_EQ(cmb->focusPolicy() == Qt::NoFocus, locked);
            QTest::mouseClick(cmb, Qt::LeftButton);
            settle();
            EXPECT_EQ(cmb->view()->isVisible(), !locked) << "a locked combo box offers no list";
            cmb->hidePopup();
            EXPECT_EQ(in.Check1->isEnabled(), !locked);
            EXPECT_TRUE(in.cmbINFO->isEnabled());
            EXPECT_NE(in.cmbINFO->focusPolicy(), Qt::NoFocus) << "the exempt combo box stays usable";
            EXPECT_TRUE(in.lblDATA->isEnabled());
            if (locked) {
                // Nothing can be typed, and the date boxes open no picker.
                hbtest::typeText(in.txtDATA[0], QStringLiteral("x"));
                EXPECT_EQ(in.txtDATA[0]->text(), QStringLiteral("春トマト"));
                EXPECT_NO_THROW(in.picker->gotFocus(in.txtDATA[1]));
                EXPECT_FALSE(in.picker->isShown());
            }
            if (button == 3) {
                hbtest::click(in.cmdMENU[hb::InputFormBase::kMenuClose]);  // "閉じる" closes
                settle();
                EXPECT_FALSE(in.isVisible());
            }
        });
        hbtest::click(list.cmdMENU[static_cast<std::size_t>(button)]);
        settle();
    }
    EXPECT_EQ(plantCount(), 1);
}

// ---- register: save, list, calendar, close ----------------------------------------------------------

TEST_P(ListInputBoth, RegisterSavesThenRefreshesTheListThenTheCalendarThenCloses)
{
    addPlant(1, QStringLiteral("春トマト"));
    auto &list = openList();
    struct Case { int button; QString typed; long rows; QString name1; };
    const Case cases[] = {
        {1, QStringLiteral("秋だいこん'#%"), 2, QStringLiteral("秋だいこん'#%")},  // add: number 2
        {2, QStringLiteral("改"), 2, QStringLiteral("改")},                        // modify row 1 (number 2)
        {4, QString(), 1, QString()},                                             // delete it
    };
    for (const Case &c : cases) {
        list.selectRow(1);
        onInput([&](lt::frmTestInput &in) {
            if (!c.typed.isEmpty()) {
                in.txtDATA[0]->clear();
                hbtest::typeText(in.txtDATA[0], c.typed);
            }
            gLog.clear();
            hbtest::click(in.cmdMENU[hb::InputFormBase::kMenuRegister]);
            settle();
            EXPECT_FALSE(in.isLoaded()) << "closed after the save";
        });
        hbtest::click(list.cmdMENU[static_cast<std::size_t>(c.button)]);
        settle();
        EXPECT_EQ(gLog, QStringList({"input ChkData", "input SaveData", "list refresh", "calendar redraw",
                                     "input Unload"}))
            << "button " << c.button;
        EXPECT_EQ(plantCount(), c.rows);
        EXPECT_EQ(list.rowCount(), c.rows);
        if (c.rows == 2) {
            EXPECT_EQ(one(QStringLiteral("SELECT PLANT_NM FROM D_PLANT WHERE PLANT_ID=2")), hb::Value(c.name1));
            EXPECT_EQ(one(QStringLiteral("SELECT LAST_TM FROM D_PLANT WHERE PLANT_ID=2")), hb::Value("PC-TEST"));
            EXPECT_EQ(list.selectedRow(), 1) << "the saved row is selected again";
            EXPECT_EQ(list.ListView1->topLevelItem(1)->text(1), c.name1);
        }
    }
}

TEST_P(ListInputBoth, AFailingRedrawAfterASaveIsReportedInTheButtonsFormAndTheWindowStillCloses)
{
    addPlant(1, QStringLiteral("春トマト"));
    auto &list = openList();
    hb::DataChangedListener failing([] { throw hb::HbError(3021, QStringLiteral("再描画できません。")); });
    onInput([&](lt::frmTestInput &in) {
        hbtest::typeText(in.txtDATA[0], QStringLiteral("夏なす"));
        hbtest::click(in.cmdMENU[hb::InputFormBase::kMenuRegister]);
        settle();
        EXPECT_FALSE(in.isLoaded()) << "a second register would write the row again";
    });
    hbtest::click(list.cmdMENU[hb::ListForm::kMenuAdd]);
    settle();
    EXPECT_EQ(plantCount(), 2);
    EXPECT_EQ(list.rowCount(), 2) << "the list followed before the redraw";
    ASSERT_EQ(ui->prompts.size(), 1u);
    EXPECT_EQ(ui->prompts[0].text, QStringLiteral("再描画できません。"));
    EXPECT_EQ(ui->prompts[0].style, hb::kMsgExclamation);
}

TEST_P(ListInputBoth, AFailedSaveOrARefusedCheckKeepsTheWindowOpenWithItsInput)
{
    addPlant(1, QStringLiteral("春トマト"));
    auto &list = openList();
    onInput([&](lt::frmTestInput &in) {
        // Refused check: the message, the window stays.
        in.txtDATA[0]->clear();
        hbtest::click(in.cmdMENU[hb::InputFormBase::kMenuRegister]);
        settle();
        EXPECT_TRUE(in.isVisible());
        EXPECT_EQ(ui->promptTexts().value(0), QStringLiteral("名称を入力してください。"));

        // The save fails (the number is taken): reported, nothing written, nothing refreshed,
        // the window open with what was typed; a corrected save then goes through.
        hbtest::typeText(in.txtDATA[0], QStringLiteral("夏なす"));
        in.failWith = 1;
        gLog.clear();
        hbtest::click(in.cmdMENU[hb::InputFormBase::kMenuRegister]);
        settle();
        EXPECT_TRUE(in.isVisible());
        EXPECT_EQ(in.txtDATA[0]->text(), QStringLiteral("夏なす"));
        EXPECT_TRUE(in.work.PLANT_ID.isNull()) << "the working record is as before the click";
        EXPECT_EQ(gLog, QStringList({"input ChkData", "input SaveData"}));
        EXPECT_EQ(ui->prompts.size(), 2u);
        EXPECT_EQ(plantCount(), 1);

        in.failWith = 0;
        hbtest::click(in.cmdMENU[hb::InputFormBase::kMenuRegister]);
        settle();
        EXPECT_FALSE(in.isLoaded());
    });
    hbtest::click(list.cmdMENU[hb::ListForm::kMenuAdd]);
    settle();
    EXPECT_EQ(plantCount(), 2);
    EXPECT_EQ(list.rowCount(), 2);
}

TEST_P(ListInputBoth, ClosingTheInputReleasesThisComputersHoldsOnly)
{
    addPlant(1, QStringLiteral("春トマト"), hb::Value("PC-TEST"));
    addPlant(2, QStringLiteral("夏なす"), hb::Value("PC-OTHER"));
    // Another grower's rows: this computer's hold goes too, another computer's stays, and a
    // row nobody holds keeps its last computer. The same with the hold index as before it.
    addPlant(3, QStringLiteral("秋だいこん"), hb::Value("PC-TEST"), 2);
    addPlant(4, QStringLiteral("冬キャベツ"), hb::Value("PC-OTHER"), 2);
    addPlant(5, QStringLiteral("白菜"), hb::Value::null(), 2);
    auto &list = openList();
    onInput([&](lt::frmTestInput &in) { hbtest::click(in.cmdMENU[hb::InputFormBase::kMenuClose]); });
    list.selectRow(0);
    hbtest::click(list.cmdMENU[hb::ListForm::kMenuView]);
    settle();
    struct Row {
        long id;
        const char *lastTm, *holdTm;  // nullptr: NULL
    } rows[] = {
        {1, "PC-TEST", nullptr}, {2, nullptr, "PC-OTHER"}, {3, "PC-TEST", nullptr},
        {4, nullptr, "PC-OTHER"}, {5, nullptr, nullptr},
    };
    const auto text = [](const char *s) { return s ? hb::Value(s) : hb::Value::null(); };
    for (const Row &r : rows) {
        EXPECT_EQ(one(QStringLiteral("SELECT LAST_TM FROM D_PLANT WHERE PLANT_ID=?"), {hb::Value(r.id)}), text(r.lastTm))
            << r.id;
        EXPECT_EQ(one(QStringLiteral("SELECT HOLD_TM FROM D_PLANT WHERE PLANT_ID=?"), {hb::Value(r.id)}), text(r.holdTm))
            << r.id;
    }
    EXPECT_EQ(plantCount(), 5) << "cancel saves nothing";
}

}  // namespace
