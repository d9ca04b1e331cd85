// The month calendar window: the month shown and its stepping, the layer boxes and their
// settings, the planting filter, the day click, the menu buttons in single- and multi-grower
// use, the report of a failing redraw, and the picture itself.

#include "test_calendar_data.h"

#include "app/mainproc.h"
#include "common/failingstatement.h"
#include "common/harness.h"
#include "core/appinit.h"
#include "core/forms.h"
#include "core/startup.h"
#include "diary/calendarpicture.h"
#include "diary/frmdairycal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <set>
#include <gtest/gtest.h>

using hb::Value;
using hbtest::child;

namespace {

QDate thisMonth()
{
    const QDate t = QDate::currentDate();
    return QDate(t.year(), t.month(), 1);
}

class CalendarWindow : public hbtest::CalendarDb {
protected:
    void SetUp() override
    {
        CalendarDb::SetUp();
        if (IsSkipped())
            return;
        hb::installAppHooks();  // the menu button opens the shell's main menu
        hb::gUseType = hb::kUseSingle;
        hb::gFmrID = Value(1);
        hb::gWorkDate = Value();
    }
    void TearDown() override
    {
        hb::destroyForms();
        hbtest::settle();
        hb::gUseType = 0;
        CalendarDb::TearDown();
    }

    hb::frmDairyCal &open()
    {
        auto &cal = hb::form<hb::frmDairyCal>();
        cal.showModeless();
        EXPECT_TRUE(hbtest::activate(&cal));
        return cal;
    }
    // Shows a month as the window's own steps do.
    static void showMonth(hb::frmDairyCal &cal, const QDate &month)
    {
        hb::gCalMonth = month;
        cal.DispData();
    }
    template <class T>
    static T *ctl(hb::frmDairyCal &cal, const QString &name)
    {
        T *c = child<T>(&cal, name);
        EXPECT_NE(c, nullptr) << name.toStdString();
        return c;
    }
    static void clickButton(hb::frmDairyCal &cal, const QString &name) { hbtest::click(ctl<QPushButton>(cal, name)); }
    static Value setting(const QString &key)
    {
        return hb::gINI->DLookup("CTRL_VALUE", "S_CTRL", "CTRL_CD='" + key + "'");
    }
    // A left click on the picture at a point given in twips of its inner area.
    static void clickPicture(hb::frmDairyCal &cal, double X, double Y)
    {
        auto *pic = ctl<hb::CalendarPicture>(cal, "Picture1");
        const QPoint at = pic->contentsRect().topLeft() + QPoint(qRound(X / 15), qRound(Y / 15));
        QTest::mouseClick(pic, Qt::LeftButton, Qt::NoModifier, at);
        hbtest::settle();
    }
    // A click on the cell of the 2nd of the month drawn: the day it opens, if any.
    static Value clickTheSecond(hb::frmDairyCal &cal)
    {
        const hb::CalGeometry g = cal.calGeometry();
        const int cell = g.F + 1;
        hb::gWorkDate = Value();
        clickPicture(cal, g.cellX(cell) + g.Cw / 2.0, g.cellY(cell) + g.Ch / 2.0);
        return hb::gWorkDate;
    }
    // The label, the cells, the day a click opens and gCalMonth (the lists' period) name one month.
    static void expectOneMonth(hb::frmDairyCal &cal)
    {
        const QDate m = hb::gCalMonth;
        EXPECT_EQ(ctl<QLabel>(cal, "lblYM")->text(), m.toString("yyyy年M月"));
        EXPECT_EQ(cal.calGeometry().F, m.dayOfWeek() % 7);
        const bool drawn = !cal.calView().cells.empty();
        EXPECT_EQ(clickTheSecond(cal), drawn ? Value(m.addDays(1)) : Value()) << "a day of no month drawn opens nothing";
    }
    // Runs a move of the month with each of its reads failing in turn. Each failure is shown once
    // and leaves one month named; one that came before the drawing leaves the month it started on.
    void failEachReadOf(hb::frmDairyCal &cal, const std::function<void()> &move)
    {
        const QDate from = hb::gCalMonth;
        hbtest::failEachRead(
            [&](const std::function<void(bool)> &load) {
                showMonth(cal, from);
                ui->prompts.clear();
                load(true);
                move();
                load(false);
            },
            [&](long k, const QString &sql) {
                SCOPED_TRACE(sql.toStdString());
                ASSERT_EQ(ui->prompts.size(), 1u) << ui->promptTexts().join('|').toStdString();
                EXPECT_TRUE(ui->prompts[0].text.endsWith(hbtest::failedStatementText(k))) << ui->prompts[0].text.toStdString();
                expectOneMonth(cal);
                EXPECT_TRUE(k > 1 || hb::gCalMonth == from) << "the plantings are read before anything is drawn";
            });
        showMonth(cal, from);
        ui->prompts.clear();
    }
    static std::set<int> marked(const hb::CalView &v, bool hb::CalCell::*mark)
    {
        std::set<int> out;
        for (const auto &c : v.cells) {
            if (c.*mark)
                out.insert(c.day);
        }
        return out;
    }
};

TEST_P(CalendarWindow, OpensOnTheCurrentMonthWithTodaysCard)
{
    hb::gCalMonth = QDate(2001, 3, 1);  // the window starts on the current month whatever was shown
    auto &cal = open();
    EXPECT_EQ(cal.windowTitle(), "日誌一覧");
    EXPECT_EQ(hb::gCalMonth, thisMonth());
    EXPECT_EQ(ctl<QLabel>(cal, "lblYM")->text(), QDate::currentDate().toString("yyyy年M月"));
    EXPECT_TRUE(cal.displayReady());
    EXPECT_EQ(cal.calView().today, QDate::currentDate().day());
    int cards = 0;
    for (const auto &c : cal.calView().cells)
        cards += c.today ? 1 : 0;
    EXPECT_EQ(cards, 1);
    EXPECT_EQ(QFontInfo(ctl<QWidget>(cal, "Picture1")->font()).family(), hb::kUiFontFamily);

    // Another month: no card, the caption stays.
    clickButton(cal, "cmdPOST_0");
    EXPECT_EQ(cal.calView().today, 0);
    for (const auto &c : cal.calView().cells)
        EXPECT_FALSE(c.today) << c.day;
    EXPECT_EQ(cal.windowTitle(), "日誌一覧");
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
}

TEST_P(CalendarWindow, StepsMonthsAndYearsAndReturnsToThisMonth)
{
    auto &cal = open();
    showMonth(cal, QDate(2024, 1, 1));
    struct Step {
        const char *button;
        QDate expected;
        const char *label;
    } steps[] = {
        {"cmdPREV_0", QDate(2023, 12, 1), "2023年12月"}, {"cmdPOST_0", QDate(2024, 1, 1), "2024年1月"},
        {"cmdPOST_0", QDate(2024, 2, 1), "2024年2月"},   {"cmdPREV_1", QDate(2023, 2, 1), "2023年2月"},
        {"cmdPOST_1", QDate(2024, 2, 1), "2024年2月"},   {"cmdPOST_1", QDate(2025, 2, 1), "2025年2月"},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.button);
        failEachReadOf(cal, [&] { clickButton(cal, s.button); });
        clickButton(cal, s.button);
        EXPECT_EQ(hb::gCalMonth, s.expected) << s.button;
        EXPECT_EQ(hb::gCalMonth.day(), 1);
        EXPECT_EQ(ctl<QLabel>(cal, "lblYM")->text(), s.label);
        EXPECT_EQ(cal.calGeometry().N, s.expected.daysInMonth()) << s.button;
    }
    // Rows of the month drawn.
    showMonth(cal, QDate(2009, 8, 1));
    EXPECT_EQ(cal.calGeometry().R, 6);
    EXPECT_EQ(ctl<QLabel>(cal, "lblYM")->text(), "2009年8月");
    showMonth(cal, QDate(2015, 2, 1));
    EXPECT_EQ(cal.calGeometry().R, 4);
    hbtest::savePicture(&cal, "/tmp/hb9_cal_feb2015.png");

    const auto toThisMonth = [&] {
        QTest::mouseDClick(ctl<QLabel>(cal, "lblYM"), Qt::LeftButton);
        hbtest::settle();
    };
    failEachReadOf(cal, toThisMonth);
    toThisMonth();
    EXPECT_EQ(hb::gCalMonth, thisMonth());
    EXPECT_EQ(cal.calView().today, QDate::currentDate().day());
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
}

TEST_P(CalendarWindow, LayerBoxesAreSavedOnClickAndRestoredFromTheSettings)
{
    voucher(1, 1, at(2024, 5, 6), 1000, 4000);
    diary(1, QDate(2024, 5, 7), V(3), V(5.0), V(15.0), V("曇り"));
    hb::gINI->SaveCtrl("CAL_OPT1", Value(1));
    auto &cal = open();
    showMonth(cal, QDate(2024, 5, 1));
    // The boxes follow the settings; a missing one reads 0; nothing is written back.
    const bool expectedOn[5] = {false, true, false, false, false};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(ctl<QCheckBox>(cal, QString("chkCOND_%1").arg(i))->isChecked(), expectedOn[i]) << i;
    EXPECT_EQ(hb::gINI->DCount("*", "S_CTRL", "CTRL_CD LIKE 'CAL_OPT*'").toLong(), 1);
    EXPECT_EQ(cal.calView().cellOfDay(7)->weather, 3);
    EXPECT_FALSE(cal.calView().cellOfDay(7)->tempBar);
    EXPECT_FALSE(cal.calView().cellOfDay(6)->money);

    // A click stores 0/1 under CAL_OPTi and redraws.
    const QStringList captions{"温度", "天候", "金銭", "農薬", "出荷"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(ctl<QCheckBox>(cal, QString("chkCOND_%1").arg(i))->text(), captions[i]);
    hbtest::click(ctl<QCheckBox>(cal, "chkCOND_2"));
    EXPECT_EQ(setting("CAL_OPT2"), Value("1"));
    EXPECT_TRUE(cal.calView().cellOfDay(6)->money);
    hbtest::click(ctl<QCheckBox>(cal, "chkCOND_0"));
    EXPECT_EQ(setting("CAL_OPT0"), Value("1"));
    EXPECT_TRUE(cal.calView().cellOfDay(7)->tempBar);
    hbtest::click(ctl<QCheckBox>(cal, "chkCOND_1"));
    EXPECT_EQ(setting("CAL_OPT1"), Value("0"));
    EXPECT_EQ(cal.calView().cellOfDay(7)->weather, 0);

    // A redraw that cannot read the month: one message, empty cells, and a click opens no day.
    hbtest::withFailingStatements(*hb::gDb, "DATA.MDB を読めません。",
                                  [&] { hbtest::click(ctl<QCheckBox>(cal, "chkCOND_1")); });
    EXPECT_EQ(ui->prompts.size(), 1u);
    EXPECT_TRUE(cal.calView().cells.empty());
    EXPECT_EQ(clickTheSecond(cal), Value());
    hbtest::click(ctl<QCheckBox>(cal, "chkCOND_1"));
    EXPECT_EQ(clickTheSecond(cal), Value(QDate(2024, 5, 2)));
    ui->prompts.clear();

    // A restart restores the choice.
    ASSERT_TRUE(cal.Unload());
    hb::destroyForms();
    hbtest::settle();
    auto &again = open();
    const bool restored[5] = {true, false, true, false, false};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(ctl<QCheckBox>(again, QString("chkCOND_%1").arg(i))->isChecked(), restored[i]) << i;
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
}

TEST_P(CalendarWindow, PlantingFilterLimitsTwoMarksAndEmptiesOnEveryRedraw)
{
    for (int i = 0; i < 5; ++i)
        hb::gINI->SaveCtrl(QString("CAL_OPT%1").arg(i), Value(1));
    planting(1, 10, V("トマト"), day(2024, 3, 1), day(2024, 4, 1), V::null());
    planting(1, 11, V("きゅうり"), day(2024, 3, 15), day(2024, 4, 15), V::null());
    planting(1, 12, V("去年の白菜"), day(2023, 8, 1), day(2023, 9, 1), day(2023, 12, 31));
    voucher(1, 1, at(2024, 5, 8), 1000, 4000);
    line(1, at(2024, 5, 8), 1, V(10), V(3));
    line(1, at(2024, 5, 9), 1, V(11), V(4));
    shipment(1, 1, at(2024, 5, 10), V(10));
    shipment(1, 2, at(2024, 5, 11), V(11));
    auto &cal = open();
    showMonth(cal, QDate(2024, 5, 1));
    auto *cmb = ctl<QComboBox>(cal, "cmbCOND_0");
    ASSERT_EQ(cmb->count(), 3);
    EXPECT_EQ(cmb->itemText(0), "");
    EXPECT_EQ(cmb->itemText(1), "トマト");
    EXPECT_EQ(cmb->itemText(2), "きゅうり");
    EXPECT_EQ(cmb->currentIndex(), -1);
    EXPECT_EQ(ctl<QLabel>(cal, "Label1_1")->text(), "作付");
    EXPECT_EQ(marked(cal.calView(), &hb::CalCell::pesticide), (std::set<int>{8, 9}));
    EXPECT_EQ(marked(cal.calView(), &hb::CalCell::shipment), (std::set<int>{10, 11}));

    // Choosing トマト limits the pesticide and shipment marks; the money mark stays.
    cmb->setFocus();
    hbtest::pressKey(Qt::Key_Down, cmb);
    hbtest::pressKey(Qt::Key_Down, cmb);
    ASSERT_EQ(cmb->currentIndex(), 1);
    EXPECT_EQ(marked(cal.calView(), &hb::CalCell::pesticide), std::set<int>{8});
    EXPECT_EQ(marked(cal.calView(), &hb::CalCell::shipment), std::set<int>{10});
    EXPECT_EQ(marked(cal.calView(), &hb::CalCell::money), std::set<int>{8});
    hbtest::savePicture(&cal, "/tmp/hb9_cal_filter.png");

    // Switching a layer keeps the planting chosen.
    hbtest::click(ctl<QCheckBox>(cal, "chkCOND_1"));
    EXPECT_EQ(cmb->currentIndex(), 1);
    EXPECT_EQ(marked(cal.calView(), &hb::CalCell::shipment), std::set<int>{10});

    // A step that cannot read the plantings changes nothing: the filter keeps its choice.
    hbtest::withFailingStatements(*hb::gDb, "DATA.MDB を読めません。", [&] { clickButton(cal, "cmdPOST_0"); });
    EXPECT_EQ(ui->prompts.size(), 1u);
    EXPECT_EQ(cmb->count(), 3);
    EXPECT_EQ(cmb->currentIndex(), 1);
    ui->prompts.clear();

    // Every redraw empties it: a month step, a resize, a save elsewhere (DispData).
    clickButton(cal, "cmdPOST_0");
    EXPECT_EQ(cmb->currentIndex(), -1);
    EXPECT_EQ(cmb->count(), 3);
    clickButton(cal, "cmdPREV_0");
    cmb->setCurrentIndex(2);
    emit cmb->activated(2);
    EXPECT_EQ(marked(cal.calView(), &hb::CalCell::shipment), std::set<int>{11});
    hbtest::resizeOuter(&cal, QSize(1000, 700));
    EXPECT_EQ(cmb->currentIndex(), -1);
    EXPECT_EQ(marked(cal.calView(), &hb::CalCell::shipment), (std::set<int>{10, 11}));
    cmb->setCurrentIndex(1);
    cal.DispData();
    EXPECT_EQ(cmb->currentIndex(), -1);
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
}

TEST_P(CalendarWindow, ClickOnADayPicksItAndNothingElseDoes)
{
    auto &cal = open();
    showMonth(cal, QDate(2009, 8, 1));  // Saturday the 1st
    const hb::CalGeometry g = cal.calGeometry();
    const auto cellCentre = [&](int cell) {
        return std::pair<double, double>{g.cellX(cell) + g.Cw / 2.0, g.cellY(cell) + g.Ch / 2.0};
    };
    struct Case {
        const char *what;
        std::pair<double, double> at;
        Value expected;
    } cases[] = {
        {"weekday header", {g.Cw * 3.5, g.Hh / 2.0}, Value()},
        {"empty cell before the 1st", cellCentre(2), Value()},
        {"empty cell after the 31st", cellCentre(40), Value()},
        {"the 1st", cellCentre(6), Value(QDateTime(QDate(2009, 8, 1), QTime(0, 0)))},
        {"the 31st", cellCentre(36), Value(QDateTime(QDate(2009, 8, 31), QTime(0, 0)))},
        {"the 12th, top-left corner", {g.cellX(17) + 20.0, g.cellY(17) + 20.0}, Value(QDate(2009, 8, 12))},
    };
    for (const Case &c : cases) {
        hb::gWorkDate = Value();
        clickPicture(cal, c.at.first, c.at.second);
        EXPECT_EQ(hb::gWorkDate, c.expected) << c.what;
        EXPECT_EQ(hb::gWorkDate.type(), c.expected.type()) << c.what;
    }
    // A month other than the current one opens its day just the same; the month stays.
    EXPECT_EQ(hb::gCalMonth, QDate(2009, 8, 1));
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();

    // A step while another program holds the file: one message, and the month shown stays the one
    // a click opens.
    if (GetParam() == hbtest::Backend::Sqlite) {
        auto other = fresh().connect();
        other->EXEC("BEGIN EXCLUSIVE");
        clickButton(cal, "cmdPOST_0");
        EXPECT_EQ(ui->promptTexts(), QStringList{hb::DbObject::lockedText()});
        other->EXEC("ROLLBACK");
        EXPECT_EQ(ctl<QLabel>(cal, "lblYM")->text(), "2009年8月");
        EXPECT_EQ(hb::gCalMonth, QDate(2009, 8, 1));
        EXPECT_EQ(clickTheSecond(cal), Value(QDate(2009, 8, 2)));
    }
}

TEST_P(CalendarWindow, SingleGrowerUseCloseEndsTheProgram)
{
    auto &cal = open();
    EXPECT_EQ(ctl<QPushButton>(cal, "cmdMENU_0")->text(), "終了");
    EXPECT_TRUE(ctl<QPushButton>(cal, "cmdMENU_5")->isVisible());
    const QStringList captions{"終了", "作付", "農薬", "出荷", "勘定", "ﾒﾆｭｰ", "印刷"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(ctl<QPushButton>(cal, QString("cmdMENU_%1").arg(i))->text(), captions[i]);
    hbtest::savePicture(&cal, "/tmp/hb9_cal_single.png");

    // The planting, pesticide, shipment and voucher lists open modally; print does nothing.
    ui->modalShown.clear();
    for (int i : {1, 2, 3, 4, 6})
        clickButton(cal, QString("cmdMENU_%1").arg(i));
    EXPECT_EQ(ui->modalShown, (QStringList{"frmPlantList", "frmChemiList", "frmShipList", "frmLedgeList"}));
    EXPECT_TRUE(cal.isLoaded());
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();

    EXPECT_THROW(clickButton(cal, "cmdMENU_0"), hb::ProgramEnded);
    EXPECT_EQ(ui->endCodes, std::vector<int>{0});
    EXPECT_FALSE(hb::IsFormLoaded("frmDairyCal"));
}

TEST_P(CalendarWindow, SingleGrowerUseMenuButtonOpensTheMainMenu)
{
    auto &cal = open();
    ui->modalShown.clear();
    clickButton(cal, "cmdMENU_5");
    EXPECT_EQ(ui->modalShown, QStringList{"fmnMain"});
    EXPECT_TRUE(cal.isLoaded());
    EXPECT_TRUE(ui->endCodes.empty());
}

TEST_P(CalendarWindow, MultiGrowerUseOnlyClosesTheCalendar)
{
    hb::gUseType = hb::kUseMulti;
    auto &cal = open();
    EXPECT_EQ(ctl<QPushButton>(cal, "cmdMENU_0")->text(), "閉じる");
    EXPECT_FALSE(ctl<QPushButton>(cal, "cmdMENU_5")->isVisible());
    clickButton(cal, "cmdMENU_0");
    EXPECT_FALSE(cal.isLoaded());
    EXPECT_TRUE(ui->endCodes.empty());
    EXPECT_TRUE(hb::gDb != nullptr);
}

TEST_P(CalendarWindow, AFailingRedrawIsReportedAndLeavesTheBoxesInert)
{
    auto &cal = open();
    ASSERT_TRUE(cal.displayReady());
    hb::gDb->EXEC("DROP TABLE D_DIARY");
    clickButton(cal, "cmdPOST_0");
    ASSERT_EQ(ui->prompts.size(), 1u);
    EXPECT_EQ(ui->prompts[0].style, 48);
    EXPECT_EQ(ui->prompts[0].title, hb::kProgramTitle);
    EXPECT_FALSE(ui->prompts[0].text.startsWith("("));
    EXPECT_TRUE(ui->prompts[0].text.contains("D_DIARY")) << ui->prompts[0].text.toStdString();
    EXPECT_FALSE(cal.displayReady());
    // The month label shows the month asked for; the picture holds no stale month.
    EXPECT_EQ(ctl<QLabel>(cal, "lblYM")->text(), hb::gCalMonth.toString("yyyy年M月"));

    // Until a redraw completes, the layer boxes save nothing.
    hbtest::click(ctl<QCheckBox>(cal, "chkCOND_3"));
    EXPECT_TRUE(setting("CAL_OPT3").isNull());
    EXPECT_EQ(ui->prompts.size(), 1u);
}

TEST_P(CalendarWindow, TheDrawingStaysAndFollowsTheSize)
{
    for (int i = 0; i < 5; ++i)
        hb::gINI->SaveCtrl(QString("CAL_OPT%1").arg(i), Value(1));
    const QDate month = thisMonth();
    const auto d = [&](int n) { return month.addDays(n - 1); };
    diary(1, d(2), V(1), V(8.0), V(22.0), V("トマト定植。畝間の草取りと灌水、支柱の準備まで済ませた"));
    diary(1, d(3), V(5), V(12.0), V(16.0), V("雨のため作業休み"));
    diary(1, d(4), V(7), V::null(), V::null(), V("雷雨"));
    diary(1, d(9), V(8), V(-4.0), V(3.0), V("雪"));
    diary(1, d(10), V(2), V(10.0), V(25.0), V("出荷"));
    diary(1, d(16), V(1), V(40.0), V(40.0), V("🌱芽"));
    voucher(1, 1, d(10).startOfDay(), 1040, 4000);
    voucher(1, 2, d(11).startOfDay(), 1000, 4000);
    line(1, d(12).startOfDay(), 1, V(1), V(3));
    shipment(1, 1, d(10).startOfDay(), V(1));
    shipment(1, 2, d(12).startOfDay(), V(1));
    auto &cal = open();
    auto *pic = ctl<hb::CalendarPicture>(cal, "Picture1");
    EXPECT_TRUE(hbtest::savePicture(&cal, "/tmp/hb9_cal_design.png"));
    const QImage before = pic->grab().toImage();
    // The note's emoji shows as itself, in colour.
    const hb::CalCell *sprout = cal.calView().cellOfDay(16);
    ASSERT_TRUE(sprout && !sprout->note.empty());
    const double s = cal.calGeometry().S;
    const QRect emoji = QRectF(sprout->note.front().x / 15, sprout->note.front().y / 15, s / 15, s / 15)
                            .toAlignedRect()
                            .translated(pic->contentsRect().topLeft());
    EXPECT_GT(hbtest::colourfulPixels(before, emoji), 20);

    // Covered by another window and uncovered: the same picture.
    QWidget cover;
    cover.setGeometry(cal.geometry());
    cover.show();
    hbtest::activate(&cover);
    cover.close();
    hbtest::activate(&cal);
    pic->repaint();
    EXPECT_EQ(pic->grab().toImage(), before);

    // A larger window redraws to the picture's new size.
    const int oldWidth = cal.calGeometry().W;
    hbtest::resizeOuter(&cal, QSize(1200, 880));
    EXPECT_GT(cal.calGeometry().W, oldWidth);
    EXPECT_EQ(cal.calGeometry().W, qRound(pic->innerWidthTwips()));
    EXPECT_EQ(pic->image().width(), pic->contentsRect().width());
    EXPECT_TRUE(hbtest::savePicture(&cal, "/tmp/hb9_cal_large.png"));
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
}

HB_INSTANTIATE_BOTH_BACKENDS(CalendarWindow);

}  // namespace
