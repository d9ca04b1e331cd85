// The planting list and input windows driven as a person does: filters, the list's cells and
// reselection, the input's field checks and what they store, copy, delete, view, the complete
// action, failures that keep the input, and resizes that keep it.

#include "plantfixture.h"
#include "common/failingstatement.h"

#include "core/datepicker.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <functional>

using hb::Value;
using hbtest::settle;

namespace planttest {
namespace {

using PlantWindows = PlantDb;
using PlantWindowSaves = PlantDb;
INSTANTIATE_TEST_SUITE_P(Sqlite, PlantWindows, ::testing::Values(hbtest::Backend::Sqlite), hbtest::backendName);
HB_INSTANTIATE_BOTH_BACKENDS(PlantWindowSaves);

QStringList cells(const QTreeWidget *list, int row)
{
    QStringList out;
    for (int c = 0; c < list->columnCount(); ++c)
        out << list->topLevelItem(row)->text(c);
    return out;
}

// ---- the list ----------------------------------------------------------------------------------

TEST_P(PlantWindows, ListOpensOnTheCalendarsYearAndShowsTheCells)
{
    put({.fmr = 1, .id = 1, .name = Value("春トマト"), .yyyy = Value(2024), .ym = Value("202409"),
         .crop = Value("トマト"), .crop1 = Value("桃太郎"), .planted = day(2024, 4, 2), .area = Value(12.5)});
    put({.fmr = 2, .id = 4, .name = Value::null(), .yyyy = Value(2024), .ym = Value::null(), .crop = Value("なす")});
    put({.fmr = 1, .id = 2, .name = Value("去年"), .yyyy = Value(2023)});
    auto &list = openList();
    EXPECT_EQ(list.windowTitle(), QStringLiteral("作付一覧"));
    EXPECT_EQ(list.txtCOND[0]->text(), QStringLiteral("2024"));
    EXPECT_EQ(list.cmbCOND[0]->currentIndex(), 0);
    EXPECT_EQ(list.cmbCOND[1]->currentIndex(), 0);
    EXPECT_EQ(list.cmbCOND[1]->itemText(1), QStringLiteral("普通栽培"));
    ASSERT_EQ(list.rowCount(), 2) << "every grower's plantings of the year";
    EXPECT_TRUE(list.ListView1->isColumnHidden(0));
    // Ordered by year, then crop name ("なす" before "トマト").
    EXPECT_EQ(cells(list.ListView1, 0), QStringList({"4", "", "", "", "", "0"}));
    EXPECT_EQ(cells(list.ListView1, 1),
              QStringList({"1", "春トマト", "2024/04/02", "2024/09", "桃太郎", "12.5"}));
    EXPECT_EQ(hb::gPlant.size(), 2u);
    hbtest::savePicture(&list, QStringLiteral("/tmp/plant_list.png"));
}

TEST_P(PlantWindows, FiltersQueryAndANonNumberYearIsReported)
{
    put({.fmr = 1, .id = 1, .name = Value("a"), .crop = Value("トマト"), .type = Value(1)});
    put({.fmr = 1, .id = 2, .name = Value("b"), .crop = Value("なす"), .type = Value(2)});
    auto &list = openList();
    ASSERT_EQ(list.rowCount(), 2);

    enterCombo(list.cmbCOND[0], QStringLiteral("トマト"));
    EXPECT_EQ(list.cmbCOND[0]->currentText(), QStringLiteral("トマト"));
    hbtest::click(list.cmdFIND);
    settle();
    ASSERT_EQ(list.rowCount(), 1);
    EXPECT_EQ(list.ListView1->topLevelItem(0)->text(1), QStringLiteral("a"));

    enterCombo(list.cmbCOND[0], QStringLiteral("トマ"));  // not an entry: the focus stays
    EXPECT_TRUE(list.cmbCOND[0]->hasFocus());
    enterCombo(list.cmbCOND[0], QString());
    EXPECT_EQ(list.cmbCOND[0]->currentIndex(), -1);

    list.cmbCOND[1]->setCurrentIndex(2);  // 早熟栽培
    list.cmdFIND_Click();
    ASSERT_EQ(list.rowCount(), 1);
    EXPECT_EQ(list.ListView1->topLevelItem(0)->text(1), QStringLiteral("b"));

    // No rows: the list empties, gPlant keeps the last rows, the row buttons do nothing.
    list.txtCOND[0]->setText(QStringLiteral("1999"));
    list.cmdFIND_Click();
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(hb::gPlant.at(0).PLANT_NM, Value("b"));
    for (int b = 2; b <= 5; ++b)
        list.cmdMENU_Click(b);
    EXPECT_TRUE(ui->modalShown.isEmpty());

    // A year that is no whole number: one message, the focus in the box, the list empty.
    list.txtCOND[0]->setText(QStringLiteral("2O24"));
    hbtest::click(list.cmdFIND);
    settle();
    ASSERT_EQ(ui->prompts.size(), 1U);
    EXPECT_EQ(ui->prompts.back().text, QStringLiteral("数値を指定してください。"));
    EXPECT_EQ(ui->prompts.back().style, hb::kMsgExclamation);
    EXPECT_EQ(QApplication::focusWidget(), list.txtCOND[0]);
    EXPECT_EQ(list.rowCount(), 0);

    // A resize keeps the filters and rows (no new query).
    list.txtCOND[0]->setText(QString());
    list.cmdFIND_Click();
    ASSERT_EQ(list.rowCount(), 1);
    hbtest::resizeOuter(&list, list.frameGeometry().size() * 1.2);
    EXPECT_EQ(list.txtCOND[0]->text(), QString());
    EXPECT_EQ(list.cmbCOND[1]->currentIndex(), 2);
    EXPECT_EQ(list.rowCount(), 1);
}

// A year that is no whole number runs no statement (a query would fail on the renamed table
// and report it) and leaves the list empty; a later valid search fills it again.
TEST_P(PlantWindowSaves, ARefusedYearRunsNoStatementAndLeavesTheListEmpty)
{
    put({.fmr = 1, .id = 1, .name = Value("a"), .yyyy = Value(2024)});
    put({.fmr = 2, .id = 1, .name = Value("b"), .yyyy = Value(2024)});
    auto &list = openList();
    ASSERT_EQ(list.rowCount(), 2);
    hb::gDb->EXEC("ALTER TABLE D_PLANT RENAME TO D_PLANT_AWAY");
    list.txtCOND[0]->setText(QStringLiteral("20a1"));
    hbtest::click(list.cmdFIND);
    settle();
    ASSERT_EQ(ui->promptTexts(), QStringList{QStringLiteral("数値を指定してください。")});
    EXPECT_EQ(ui->prompts[0].title, hb::kProgramTitle);
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(QApplication::focusWidget(), list.txtCOND[0]);
    hb::gDb->EXEC("ALTER TABLE D_PLANT_AWAY RENAME TO D_PLANT");
    list.txtCOND[0]->setText(QStringLiteral("2024"));
    hbtest::click(list.cmdFIND);
    settle();
    EXPECT_EQ(list.rowCount(), 2);
    EXPECT_EQ(ui->prompts.size(), 1U);
}

// ---- the input: adding ---------------------------------------------------------------------------

TEST_P(PlantWindowSaves, AddingThroughTheWindowStoresWhatWasTypedAndReselectsIt)
{
    put({.fmr = 2, .id = 5, .name = Value("他の人"), .yyyy = Value(2009)});
    hb::gCalMonth = QDate(2009, 1, 1);
    auto &list = openList();
    ASSERT_EQ(list.rowCount(), 1);
    bool driven = false;
    onInput([&](hb::frmPlantInput &in) {
        driven = true;
        EXPECT_EQ(in.txtDATA[0]->text(), QStringLiteral("0000")) << "a new record shows zeros";
        EXPECT_EQ(in.cmbDATA[0]->currentText(), QStringLiteral("緑丘太郎"));
        EXPECT_FALSE(in.cmbDATA[0]->isEnabled());
        enter(in.txtDATA[0], QStringLiteral("2008"));
        enter(in.txtDATA[1], QStringLiteral("13"));
        EXPECT_EQ(in.txtDATA[0]->text(), QStringLiteral("2009"));
        EXPECT_EQ(in.txtDATA[1]->text(), QStringLiteral("01"));
        enterCombo(in.cmbDATA[2], QStringLiteral("ミニトマト"));
        EXPECT_EQ(in.txtDATA[2]->text(), QStringLiteral("ミニトマト")) << "the variety takes the crop's name";
        EXPECT_EQ(in.txtDATA[3]->text(), QStringLiteral("トマト")) << "the item its item name";
        EXPECT_EQ(in.cmbDATA[1]->currentText(), QStringLiteral("果菜類"));
        enter(in.txtDATA[4], QStringLiteral("501"));
        EXPECT_EQ(in.txtDATA[5]->text(), QStringLiteral("朝どれトマト"));
        enter(in.txtDATA[7], QStringLiteral("3.5"));
        enter(in.txtDATA[8], QStringLiteral("O'Neil の畑 #2"));
        in.picker->hide();  // the picker of the start date lies over the planting date box
        enter(in.txtDATA[11], QStringLiteral("2008113"));
        EXPECT_EQ(in.txtDATA[11]->text(), QStringLiteral("2008/11/03"));
        focusCombo(in.cmbDATA[3]);
        in.cmbDATA[3]->setCurrentIndex(3);
        leaveCombo(in.cmbDATA[3]);
        closePopups();
        hbtest::click(in.cmdMENU[1]);
        settle();
    });
    hbtest::click(list.cmdMENU[1]);
    settle();
    ASSERT_TRUE(driven);
    const hb::PlantRec s = row(1, 1);
    EXPECT_EQ(s.PLANT_NM, Value("O'Neil の畑 #2"));
    EXPECT_EQ(s.YYYY.toLong(), 2009);
    EXPECT_EQ(s.HARVEST_SCHD_YM, Value("200901"));
    EXPECT_EQ(s.CROP_NM, Value("ミニトマト"));
    EXPECT_EQ(s.CROP_NM2, Value("トマト"));
    EXPECT_EQ(s.PRD_ID.toLong(), 501);
    EXPECT_EQ(s.PRD_NM, Value("朝どれトマト"));
    EXPECT_DOUBLE_EQ(s.AREA.toDouble(), 3.5);
    EXPECT_EQ(s.PLANT_TYPE.toLong(), 3);
    EXPECT_EQ(s.PLANT_DATE.toDate().date(), QDate(2008, 11, 3));
    EXPECT_EQ(s.LAST_TM, Value("PC-TEST"));
    EXPECT_EQ(hb::gLastPlantID.toLong(), 1);
    EXPECT_FALSE(hb::IsFormLoaded(QStringLiteral("frmPlantInput")));
    ASSERT_EQ(list.rowCount(), 2);
    ASSERT_GE(list.selectedRow(), 0);
    EXPECT_EQ(hb::gPlant.at(static_cast<std::size_t>(list.selectedRow())).FMR_ID.toLong(), 1)
        << "the saved planting is selected, not the other grower's";
}

TEST_P(PlantWindows, FieldChecksRefuseAndStore)
{
    struct Case { int box; QString typed; QString message; QString shown; };
    const Case cases[] = {
        {7, "abc", "数値を指定してください。", ""},
        {12, "1x", "数値を指定してください。", ""},
        {4, "x", "数値を指定してください。", ""},
        {9, "20241340", "日付を指定してください。", ""},
        {7, "12", "", "12"},
        {9, "20240315", "", "2024/03/15"},
    };
    for (const Case &c : cases) {
        onInput([&](hb::frmPlantInput &in) {
            ui->prompts.clear();
            enter(in.txtDATA[static_cast<std::size_t>(c.box)], c.typed);
            if (c.message.isEmpty()) {
                EXPECT_TRUE(ui->prompts.empty()) << c.typed.toStdString();
                EXPECT_EQ(in.txtDATA[static_cast<std::size_t>(c.box)]->text(), c.shown);
            } else {
                ASSERT_EQ(ui->prompts.size(), 1u) << c.typed.toStdString();
                EXPECT_EQ(ui->prompts[0].text, c.message);
                EXPECT_EQ(ui->prompts[0].style, hb::kMsgExclamation);
                EXPECT_TRUE(in.txtDATA[static_cast<std::size_t>(c.box)]->hasFocus()) << "the focus stays";
                EXPECT_EQ(in.txtDATA[static_cast<std::size_t>(c.box)]->text().remove('/'), c.typed) << "the text is kept";
                EXPECT_FALSE(in.txtDATA[static_cast<std::size_t>(c.box)]->hasSelectedText()) << "and not selected";
            }
            in.Unload();
        });
        openList().cmdMENU_Click(1);
        settle();
        hb::form<hb::frmPlantList>().Unload();
        settle();
    }
}

TEST_P(PlantWindows, HarvestMonthRollsOverAndTakesTheCurrentYearOrMonthForZero)
{
    const QDate today = QDate::currentDate();
    struct Case { QString y, m; QString ym; long yyyy; };
    const Case cases[] = {
        {"2008", "13", "200901", 2009},
        {"2008", "-1", "200711", 2007},
        {"2024", "0", QStringLiteral("2024%1").arg(today.month(), 2, 10, QLatin1Char('0')), 2024},
        {"0", "5", QString::number(today.year()) + "05", today.year()},
        // A year of one or two digits is one of this century.
        {"24", "6", "202406", 2024},
        {"8", "1", "200801", 2008},
        {"99", "12", "209912", 2099},
        {"45", "3", "204503", 2045},
        {"100", "3", "010003", 100},
    };
    for (const Case &c : cases) {
        onInput([&](hb::frmPlantInput &in) {
            enter(in.txtDATA[0], c.y);
            enter(in.txtDATA[1], c.m);
            EXPECT_EQ(in.work.HARVEST_SCHD_YM, Value(c.ym)) << c.y.toStdString() << "/" << c.m.toStdString();
            EXPECT_EQ(in.work.YYYY.toLong(), c.yyyy);
            // Emptying a box drops the month and keeps the year.
            enter(in.txtDATA[1], QString());
            EXPECT_TRUE(in.work.HARVEST_SCHD_YM.isNull());
            EXPECT_EQ(in.work.YYYY.toLong(), c.yyyy);
            in.Unload();
        });
        openList().cmdMENU_Click(1);
        settle();
        hb::form<hb::frmPlantList>().Unload();
        settle();
    }
}

TEST_P(PlantWindows, ProductCodeLooksUpTheNameAndUnchangedBoxesStoreNothing)
{
    onInput([&](hb::frmPlantInput &in) {
        enter(in.txtDATA[4], QStringLiteral("777"));
        EXPECT_EQ(in.work.PRD_NM, Value("")) << "an unknown code gives an empty name, not Null";
        // A code whose product cannot be read is not taken: the box shows the code held.
        ui->prompts.clear();
        hbtest::withFailingStatements(*hb::gMst, QStringLiteral("MASTER.MDB を読めません。"),
                                      [&] { enter(in.txtDATA[4], QStringLiteral("778")); });
        EXPECT_EQ(ui->prompts.size(), 1u);
        EXPECT_EQ(in.txtDATA[4]->text(), QStringLiteral("777"));
        EXPECT_EQ(in.work.PRD_ID, Value(777));
        ui->prompts.clear();
        enter(in.txtDATA[4], QString());
        EXPECT_TRUE(in.work.PRD_ID.isNull());
        EXPECT_TRUE(in.work.PRD_NM.isNull());
        // Leaving a box that did not change stores nothing.
        in.work.FIELD_NM = Value("そのまま");
        in.txtDATA[6]->setFocus();
        settle();
        hbtest::pressKey(Qt::Key_Tab, in.txtDATA[6]);
        settle();
        EXPECT_EQ(in.work.FIELD_NM, Value("そのまま"));
        in.Unload();
    });
    openList().cmdMENU_Click(1);
    settle();
}

TEST_P(PlantWindows, RequiredNameThenYear)
{
    // An emptied year box is refused on the save, after the name.
    onInput([&](hb::frmPlantInput &in) {
        enter(in.txtDATA[0], QString());
        hbtest::click(in.cmdMENU[1]);
        settle();
        ASSERT_EQ(ui->prompts.size(), 1u);
        EXPECT_EQ(ui->prompts[0].text, QStringLiteral("名称は必須入力です。")) << "the name is checked first";
        EXPECT_TRUE(in.txtDATA[8]->hasFocus());
        enter(in.txtDATA[8], QStringLiteral("年なし"));
        hbtest::click(in.cmdMENU[1]);
        settle();
        ASSERT_EQ(ui->prompts.size(), 2u);
        EXPECT_EQ(ui->prompts[1].text, QStringLiteral("収穫年は必須入力です。"));
        EXPECT_EQ(ui->prompts[1].style, hb::kMsgExclamation);
        EXPECT_TRUE(in.txtDATA[0]->hasFocus());
        in.Unload();
    });
    openList().cmdMENU_Click(1);
    settle();
    EXPECT_EQ(count(), 0);
}

// A plain add whose year and month boxes still show the zeros has no harvest year: refused with
// the year message after the name check, the focus in the year box, nothing stored.
TEST_P(PlantWindowSaves, APlainAddStillShowingTheZerosIsRefusedForItsYear)
{
    auto &list = openList();
    onInput([&](hb::frmPlantInput &in) {
        enter(in.txtDATA[8], QStringLiteral("新しい作付"));
        EXPECT_EQ(in.txtDATA[0]->text(), QStringLiteral("0000"));
        EXPECT_EQ(in.txtDATA[1]->text(), QStringLiteral("00"));
        hbtest::click(in.cmdMENU[1]);
        settle();
        ASSERT_EQ(ui->promptTexts(), QStringList({"収穫年は必須入力です。"}));
        EXPECT_EQ(ui->prompts[0].style, hb::kMsgExclamation);
        EXPECT_TRUE(in.txtDATA[0]->hasFocus());
        EXPECT_TRUE(in.isVisible());
        // A year typed then: 8 is 2008.
        enter(in.txtDATA[0], QStringLiteral("8"));
        EXPECT_EQ(in.txtDATA[0]->text(), QStringLiteral("2008"));
        hbtest::click(in.cmdMENU[1]);
        settle();
    });
    list.cmdMENU_Click(1);
    settle();
    EXPECT_EQ(count(), 1);
    const hb::PlantRec s = row(1, 1);
    EXPECT_EQ(s.YYYY.toLong(), 2008);
    EXPECT_EQ(s.HARVEST_SCHD_YM, Value(QStringLiteral("2008%1").arg(QDate::currentDate().month(), 2, 10, QLatin1Char('0'))));
}

// ---- copy, complete, delete, view ----------------------------------------------------------------

TEST_P(PlantWindows, CopyTakesTheNextNumberTheCurrentGrowerAndNoDates)
{
    put({.fmr = 2, .id = 3, .name = Value("元"), .crop = Value("なす"), .crop1 = Value("千両"),
         .planted = day(2024, 4, 1), .area = Value(7)});
    put({.fmr = 1, .id = 4, .name = Value("mine")});
    auto &list = openList();
    const long source = hb::gPlant.at(0).FMR_ID.toLong() == 2 ? 0 : 1;
    list.selectRow(source);
    ASSERT_EQ(hb::gPlant.at(static_cast<std::size_t>(source)).FMR_ID.toLong(), 2);
    onInput([&](hb::frmPlantInput &in) {
        EXPECT_EQ(in.cmdMENU[1]->text(), QStringLiteral("登録"));
        EXPECT_EQ(in.txtDATA[11]->text(), QString());
        EXPECT_EQ(in.cmbDATA[2]->currentText(), QStringLiteral("なす"));
        hbtest::click(in.cmdMENU[1]);
        settle();
    });
    list.cmdMENU_Click(5);
    settle();
    const hb::PlantRec c = row(1, 5);
    EXPECT_EQ(c.PLANT_NM, Value("元"));
    EXPECT_EQ(c.CROP_NM1, Value("千両"));
    EXPECT_DOUBLE_EQ(c.AREA.toDouble(), 7.0);
    EXPECT_TRUE(c.PLANT_DATE.isNull());
    EXPECT_EQ(row(2, 3).PLANT_NM, Value("元")) << "the source stays";
}

TEST_P(PlantWindows, CompleteFillsTheEndDateButSavesNothing)
{
    put({.fmr = 1, .id = 1, .name = Value("a")});
    const QStringList before = dump();
    onInput([&](hb::frmPlantInput &in) {
        hbtest::click(in.cmdMENU[2]);
        settle();
        EXPECT_EQ(in.txtDATA[10]->text(), QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")));
        hbtest::click(in.cmdMENU[0]);
        settle();
    });
    openList().cmdMENU_Click(2);
    settle();
    EXPECT_EQ(dump(), before);
}

TEST_P(PlantWindows, DeleteIsRefusedWhileUsedAndOtherwiseDeletes)
{
    put({.fmr = 1, .id = 1, .name = Value("used")});
    put({.fmr = 1, .id = 2, .name = Value("free"), .yyyy = Value(2024)});
    putLine(1, 1, day(2024, 3, 3));
    auto &list = openList();
    for (long row0 : {0L, 1L}) {
        list.selectRow(row0);
        onInput([&](hb::frmPlantInput &in) {
            EXPECT_EQ(in.cmdMENU[1]->text(), QStringLiteral("削除"));
            EXPECT_FALSE(in.cmdMENU[2]->isVisible());
            EXPECT_TRUE(in.txtDATA[8]->isReadOnly());
            hbtest::click(in.cmdMENU[1]);
            settle();
            if (row0 == 0) {
                ASSERT_FALSE(ui->prompts.empty());
                EXPECT_EQ(ui->prompts.back().text, QStringLiteral("3月3日に作業登録されていますので、削除できません。"));
                EXPECT_TRUE(in.isVisible()) << "a refused deletion keeps the window open";
                in.Unload();
            }
        });
        list.cmdMENU_Click(4);
        settle();
    }
    EXPECT_EQ(count(), 1);
    EXPECT_EQ(row(1, 1).PLANT_NM, Value("used"));
}

TEST_P(PlantWindows, ViewLocksEveryFieldAndKeepsThePickerClosed)
{
    put({.fmr = 1, .id = 1, .name = Value("春"), .planted = day(2024, 4, 1)});
    onInput([&](hb::frmPlantInput &in) {
        EXPECT_EQ(in.cmdMENU[0]->text(), QStringLiteral("閉じる"));
        EXPECT_FALSE(in.cmdMENU[1]->isVisible());
        EXPECT_FALSE(in.cmdMENU[2]->isVisible());
        for (QLineEdit *e : in.txtDATA)
            EXPECT_TRUE(e->isReadOnly() && e->focusPolicy() == Qt::NoFocus) << e->objectName().toStdString();
        in.txtDATA[11]->setFocus();
        settle();
        EXPECT_FALSE(in.picker->isShown());
        hbtest::savePicture(&in, QStringLiteral("/tmp/plant_input_view.png"));
        hbtest::click(in.cmdMENU[0]);
        settle();
    });
    openList().cmdMENU_Click(3);
    settle();
    EXPECT_FALSE(hb::IsFormLoaded(QStringLiteral("frmPlantInput")));
}

// ---- failures and resizes ------------------------------------------------------------------------

TEST_P(PlantWindowSaves, AFailedSaveIsReportedAndKeepsTheWindowWithItsInput)
{
    put({.fmr = 1, .id = 1, .name = Value("春"), .crop = Value("トマト")});
    failUpdates();
    const QStringList before = dump();
    onInput([&](hb::frmPlantInput &in) {
        enter(in.txtDATA[8], QStringLiteral("春 改"));
        const hb::PlantRec work = in.work;
        hbtest::click(in.cmdMENU[1]);
        settle();
        ASSERT_FALSE(ui->prompts.empty());
        EXPECT_TRUE(ui->prompts.back().text.contains(QStringLiteral("changes refused")))
            << ui->prompts.back().text.toStdString();
        EXPECT_TRUE(in.isVisible());
        EXPECT_EQ(in.txtDATA[8]->text(), QStringLiteral("春 改"));
        EXPECT_EQ(in.work.UDATE, work.UDATE);
        EXPECT_EQ(in.work.LAST_TM, work.LAST_TM);
        EXPECT_FALSE(hb::gDb->inTransaction());
        in.Unload();
    });
    openList().cmdMENU_Click(2);
    settle();
    EXPECT_EQ(dump(), before);
}

// Each statement of a modify's save failing in turn: reported as a failed save, the plantings and
// the window as they were; the save after the last one goes through.
TEST_P(PlantWindowSaves, EachFailingStatementOfTheSaveLeavesThePlantingsAndTheWindowAsTheyWere)
{
    put({.fmr = 1, .id = 1, .name = Value("春"), .crop = Value("トマト")});
    const QStringList before = dump();
    long statements = 0;
    onInput([&](hb::frmPlantInput &in) {
        enter(in.txtDATA[8], QStringLiteral("春 改"));
        const hb::PlantRec work = in.work;
        statements = hbtest::failEachClick(*hb::gDb, ui.get(), in.cmdMENU[1], [&](long k, const QString &) {
                EXPECT_TRUE(in.isVisible()) << k;
                EXPECT_EQ(in.txtDATA[8]->text(), QStringLiteral("春 改")) << k;
                for (int f = 0; f < hb::PlantRec::fieldCount(); ++f)
                    EXPECT_EQ(in.work.field(f), work.field(f)) << k << " field " << f;
                EXPECT_EQ(dump(), before) << k;
            });
        EXPECT_FALSE(in.isVisible());
    });
    openList().cmdMENU_Click(2);
    settle();
    EXPECT_GE(statements, 3);
    EXPECT_TRUE(ui->prompts.empty());
    EXPECT_NE(dump(), before);
}

TEST_P(PlantWindows, AnUnusedRowDeletedElsewhereIsReportedAndTheListFollows)
{
    put({.fmr = 1, .id = 1, .name = Value("春")});
    auto &list = openList();
    onInput([&](hb::frmPlantInput &in) {
        hb::gDb->EXEC("DELETE FROM D_PLANT");
        enter(in.txtDATA[8], QStringLiteral("春 改"));
        hbtest::click(in.cmdMENU[1]);
        settle();
    });
    list.cmdMENU_Click(2);
    settle();
    ASSERT_FALSE(ui->prompts.empty());
    EXPECT_EQ(ui->prompts.back().text, QStringLiteral("該当データが存在しません。"));
    EXPECT_EQ(ui->prompts.back().style, hb::kMsgCritical);
    EXPECT_EQ(count(), 0) << "nothing is written";
    EXPECT_EQ(list.rowCount(), 0) << "the list was queried again";
}

TEST_P(PlantWindows, ResizingDuringAnEditKeepsTheInputAndThePickerServesDates)
{
    put({.fmr = 1, .id = 1, .name = Value("春"), .crop = Value("トマト")});
    onInput([&](hb::frmPlantInput &in) {
        enter(in.txtDATA[8], QStringLiteral("書きかけ"));
        hbtest::resizeOuter(&in, in.frameGeometry().size() * 1.25);
        EXPECT_EQ(in.txtDATA[8]->text(), QStringLiteral("書きかけ"));
        EXPECT_EQ(in.work.PLANT_NM, Value("書きかけ"));
        // The Tab after the name opened the picker under the first date box; after the resize
        // it hangs there again, over the boxes below, until the focus leaves the date boxes.
        ASSERT_TRUE(in.picker->isShown());
        EXPECT_EQ(in.picker->MonthView1()->geometry().top(),
                  in.txtDATA[9]->mapTo(&in, QPoint(0, in.txtDATA[9]->height())).y());
        hbtest::focusByClick(in.txtDATA[8]);
        settle();

        hbtest::focusByClick(in.txtDATA[13]);
        settle();
        EXPECT_TRUE(in.picker->isShown());
        hbtest::savePicture(&in, QStringLiteral("/tmp/plant_input_picker.png"));
        in.picker->DateClick(QDate(2024, 7, 10));
        settle();
        EXPECT_EQ(in.picker->tag(), QStringLiteral("14")) << "the Tab moved on to the next date box";
        EXPECT_EQ(in.txtDATA[13]->text(), QStringLiteral("2024/07/10"));
        EXPECT_EQ(in.work.SHIP_SCHD_DATE1.toDate().date(), QDate(2024, 7, 10)) << "moving on stores the date";
        in.Unload();
    });
    openList().cmdMENU_Click(2);
    settle();
}

TEST_P(PlantWindows, CategoryRebuildsTheCropListAndKeepsTheCropWhenListed)
{
    onInput([&](hb::frmPlantInput &in) {
        enterCombo(in.cmbDATA[2], QStringLiteral("トマト"));
        EXPECT_EQ(in.cmbDATA[1]->currentText(), QStringLiteral("果菜類"));
        const int all = in.cmbDATA[2]->count();
        leaveCombo(in.cmbDATA[1]);
        EXPECT_LT(in.cmbDATA[2]->count(), all) << "only the category's crops";
        EXPECT_EQ(in.cmbDATA[2]->currentText(), QStringLiteral("トマト"));

        // While the work database cannot be read, a category, a crop or a box left changes what
        // the boxes show of the crop no more than what the record holds: one message each.
        const auto withoutWorkDb = [&](const char *what, const std::function<void()> &act) {
            SCOPED_TRACE(what);
            ui->prompts.clear();
            hbtest::withFailingStatements(*hb::gWork, QStringLiteral("WORK.MDB を読めません。"), act);
            EXPECT_EQ(ui->promptTexts(), QStringList{QStringLiteral("WORK.MDB を読めません。")});
            EXPECT_EQ(in.cmbDATA[1]->currentText(), QStringLiteral("果菜類"));
            EXPECT_EQ(in.cmbDATA[2]->currentText(), QStringLiteral("トマト"));
            EXPECT_EQ(in.work.CROP_NM, Value("トマト"));
        };
        withoutWorkDb("category", [&] {
            focusCombo(in.cmbDATA[1]);
            in.cmbDATA[1]->setCurrentIndex(1);
            leaveCombo(in.cmbDATA[1]);
        });
        withoutWorkDb("crop", [&] { enterCombo(in.cmbDATA[2], QStringLiteral("きゅうり")); });
        withoutWorkDb("box", [&] { enter(in.txtDATA[3], QStringLiteral("大玉")); });
        EXPECT_EQ(in.work.CROP_NM2, Value("大玉"));
        ui->prompts.clear();

        focusCombo(in.cmbDATA[1]);
        in.cmbDATA[1]->setCurrentIndex(1);  // 葉茎菜類: no tomato
        leaveCombo(in.cmbDATA[1]);
        EXPECT_EQ(in.cmbDATA[2]->currentText(), QString());
        EXPECT_EQ(in.work.CROP_NM, Value("トマト")) << "the crop keeps its value";
        enterCombo(in.cmbDATA[2], QStringLiteral("存在しない"));
        EXPECT_TRUE(in.cmbDATA[2]->hasFocus()) << "a crop not listed is refused silently";
        EXPECT_TRUE(ui->prompts.empty());
        hbtest::savePicture(&in, QStringLiteral("/tmp/plant_input_add.png"));
        in.cmbDATA[2]->setEditText(QString());
        in.Unload();
    });
    openList().cmdMENU_Click(1);
    settle();
}

}  // namespace
}  // namespace planttest
