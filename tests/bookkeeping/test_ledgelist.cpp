// The voucher list and the account ledger: the opening filters, the two views with their
// counts, sums and balances, the filters (bound, wildcards kept), refused dates, resizes that
// keep the filters, the buttons with the origin rule, and reselection after a save.

#include "bookkeeping/frmledgeinput.h"
#include "bookkeeping/frmledgelist.h"
#include "ledgefixture.h"
#include "common/globaldbs.h"
#include "common/harness.h"
#include "core/datepicker.h"
#include "core/forms.h"
#include "core/globals.h"
#include "core/picklist.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QHeaderView>
#include <QTreeWidget>
#include <algorithm>

using hb::LedgeRec;
using hb::Value;
using hbtest::settle;

namespace {

class LedgeListTest : public ledgetest::LedgeDb {
protected:
    void SetUp() override
    {
        LedgeDb::SetUp();
        if (IsSkipped())
            return;
        openMaster();
        hb::gMst->EXEC("INSERT INTO M_FMR (FMR_ID, FMR_NM, CHK_FLG) VALUES (1, '緑丘 太郎', -1)");
        hb::gCalMonth = QDate(2008, 2, 1);
        // Grower 1: two vouchers before the year, January, February, March and one undated.
        put(1, 1, "2007-12-15", 1000, 4000, 1000, "道の駅");
        put(1, 2, "2008-01-10", 1000, 4000, 500);
        put(1, 3, "2008-01-20", 4160, 1000, 200);
        put(1, 4, "2008-02-10", 1000, 4000, 3000, "道の駅みどり");
        put(1, 5, "2008-02-05", 4160, 1000, 700, "O'Brien商店");
        put(1, 6, "2008-02-10", 1000, 1000, 100);
        put(1, 7, "2008-03-01", 1000, 4000, 9999);
        put(1, 8, nullptr, 1000, 4000, 50);
        put(2, 4, "2008-02-15", 1000, 4000, 77777, "道の駅");  // another grower's
    }

    static void put(long fmr, long id, const char *date, long d, long c, long amt, const char *ctr = nullptr)
    {
        hb::gDb->EXEC("INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, C_ACC_ID, AMT, CTR_NM, NOTES) "
                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                      {Value(fmr), Value(id),
                       date ? Value(QDateTime(QDate::fromString(date, "yyyy-MM-dd"), QTime(0, 0))) : Value::null(),
                       Value(d), Value(c), Value(hb::Currency::fromDouble(amt)), ctr ? Value(ctr) : Value::null(),
                       Value::null()});
    }

    hb::frmLedgeList &openList()
    {
        auto &list = hb::form<hb::frmLedgeList>();
        list.showModeless();
        hbtest::activate(&list);
        settle();
        return list;
    }
    static QStringList column(const hb::frmLedgeList &list, int col)
    {
        QStringList out;
        for (int i = 0; i < list.ListView1->topLevelItemCount(); ++i)
            out << list.ListView1->topLevelItem(i)->text(col);
        return out;
    }
    static QStringList sums(const hb::frmLedgeList &list)
    {
        QStringList out;
        for (QLabel *l : list.lblSUM)
            out << l->text();
        return out;
    }
    static void chooseAccount(hb::frmLedgeList &list, long acc)
    {
        list.cmbCOND[0]->setCurrentIndex(acc ? hb::findItemId(list.cmbCOND[0], acc) : 0);
    }
    static void find(hb::frmLedgeList &list)
    {
        hbtest::click(list.cmdFIND);
        settle();
    }
    static void ledgerView(hb::frmLedgeList &list)
    {
        hbtest::click(list.Option1[1]);
        settle();
    }
};

using LedgeListBoth = LedgeListTest;
using LedgeListWindow = LedgeListTest;
HB_INSTANTIATE_BOTH_BACKENDS(LedgeListBoth);
INSTANTIATE_TEST_SUITE_P(Sqlite, LedgeListWindow, ::testing::Values(hbtest::Backend::Sqlite), hbtest::backendName);

TEST_P(LedgeListBoth, OpensOnTheCalendarMonthWithTheGrowersVouchersCountAndSum)
{
    auto &list = openList();
    EXPECT_EQ(list.windowTitle(), QStringLiteral("伝票一覧"));
    EXPECT_EQ(list.lblTITLE->text(), QStringLiteral("伝票一覧"));
    EXPECT_EQ(list.txtCOND[1]->text(), QStringLiteral("2008/02/01"));
    EXPECT_EQ(list.txtCOND[2]->text(), QStringLiteral("2008/02/29"));
    EXPECT_EQ(list.txtCOND[3]->text(), QStringLiteral("2008"));
    EXPECT_EQ(list.cmbCOND[0]->currentIndex(), 0);
    EXPECT_EQ(list.cmbCOND[0]->itemText(1), QStringLiteral("現金")) << "accounts by ACC_ID after the empty entry";

    EXPECT_EQ(column(list, 0), QStringList({"5", "4", "6"})) << "by date, then number";
    EXPECT_EQ(column(list, 1), QStringList({"2008/02/05", "2008/02/10", "2008/02/10"}));
    EXPECT_EQ(column(list, 2), QStringList({"農薬費", "現金", "現金"}));
    EXPECT_EQ(column(list, 3), QStringList({"現金", "売上高", "現金"}));
    EXPECT_EQ(column(list, 4), QStringList({"O'Brien商店", "道の駅みどり", ""}));
    EXPECT_EQ(column(list, 6), QStringList({"700", "3,000", "100"}));
    EXPECT_TRUE(list.ListView1->isColumnHidden(0));
    EXPECT_EQ(list.lblSUM[0]->text(), QStringLiteral("3"));
    EXPECT_EQ(list.lblSUM[4]->text(), QStringLiteral("3,800"));
    EXPECT_FALSE(list.lblSUM[1]->isVisible());
    EXPECT_TRUE(list.lblSUM_CAP[2]->isVisible());
    EXPECT_EQ(list.selectedRow(), 0) << "line 1 is selected when no voucher was saved";

    ASSERT_EQ(hb::gLedge.size(), 3u);
    EXPECT_EQ(hb::gLedge[1].LEDGE_ID.toLong(), 4);
    EXPECT_EQ(hb::gLedge[1].CTR_NM, Value("道の駅みどり"));
    EXPECT_TRUE(hb::gLedge[2].NOTES.isNull()) << "Null stays Null in the shared array";
    hbtest::savePicture(&list, QStringLiteral("/tmp/ledgelist_vouchers.png"));

    // A month without vouchers: no lines, count 0, no sum, one empty element.
    list.txtCOND[1]->setText(QStringLiteral("2008/04/01"));
    list.txtCOND[2]->setText(QStringLiteral("2008/04/30"));
    find(list);
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.lblSUM[0]->text(), QStringLiteral("0"));
    EXPECT_EQ(list.lblSUM[4]->text(), QString());
    ASSERT_EQ(hb::gLedge.size(), 1u);
    EXPECT_TRUE(hb::gLedge[0].LEDGE_ID.isEmpty());
}

TEST_P(LedgeListBoth, LedgerOpeningRunningAndClosingBalanceByTheAccountsKind)
{
    struct Line { QString id, other, inc, dec, blc; };
    struct Case {
        const char *what;
        long acc;
        QString from, to;
        QString opening;
        std::vector<Line> lines;
        QString inc, dec, closing;
    };
    const Case cases[] = {
        // Debit-normal, carried over the years: everything before the period; a voucher naming
        // the account on both sides is a decrease and shows the account itself.
        {"cash", 1000, "2008/02/01", "2008/02/29", "1,300",
         {{"5", "農薬費", "0", "700", "600"}, {"4", "売上高", "3,000", "0", "3,600"}, {"6", "現金", "0", "100", "3,500"}},
         "3,000", "800", "3,500"},
        // Credit-normal, anew each year: only 2008's vouchers before the period; a credit is an
        // increase and stands under the first amount column.
        {"sales", 4000, "2008/02/01", "2008/02/29", "500", {{"4", "現金", "3,000", "0", "3,500"}}, "3,000", "0", "3,500"},
        {"pesticide used", 4160, "2008/02/01", "2008/02/29", "200", {{"5", "現金", "700", "0", "900"}}, "700", "0", "900"},
        // No from-date: the list starts on 1 January, and the opening counts what came before.
        {"cash, no from-date", 1000, "", "2008/01/31", "1,000",
         {{"2", "売上高", "500", "0", "1,500"}, {"3", "農薬費", "0", "200", "1,300"}}, "500", "200", "1,300"},
        // A from-date in the year before: the list still starts with the year, and so does the
        // opening's end: December's voucher is in the opening, not lost between the two.
        {"cash from December", 1000, "2007/12/01", "2008/01/31", "1,000",
         {{"2", "売上高", "500", "0", "1,500"}, {"3", "農薬費", "0", "200", "1,300"}}, "500", "200", "1,300"},
        // An account not carried over the years starts each year at 0 without a from-date.
        {"sales, no from-date", 4000, "", "2008/01/31", "0", {{"2", "現金", "500", "0", "500"}}, "500", "0", "500"},
    };
    auto &list = openList();
    ledgerView(list);
    EXPECT_EQ(list.windowTitle(), QStringLiteral("元帳一覧"));
    EXPECT_EQ(list.rowCount(), 0) << "no account, no lines";
    EXPECT_EQ(sums(list), QStringList({"", "", "", "", ""}));
    EXPECT_EQ(list.ListView1->headerItem()->text(5), QStringLiteral("借方"));
    EXPECT_EQ(list.ListView1->headerItem()->text(7), QStringLiteral("残高"));

    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        chooseAccount(list, c.acc);
        list.txtCOND[1]->setText(c.from);
        list.txtCOND[2]->setText(c.to);
        find(list);
        ASSERT_EQ(list.rowCount(), static_cast<long>(c.lines.size()));
        for (std::size_t i = 0; i < c.lines.size(); ++i) {
            QTreeWidgetItem *it = list.ListView1->topLevelItem(static_cast<int>(i));
            const Line &l = c.lines[i];
            EXPECT_EQ(QStringList({it->text(0), it->text(2), it->text(5), it->text(6), it->text(7)}),
                      QStringList({l.id, l.other, l.inc, l.dec, l.blc}));
        }
        EXPECT_EQ(sums(list), QStringList({QString::number(c.lines.size()), c.opening, c.inc, c.dec, c.closing}));
        EXPECT_EQ(hb::gLedge.size(), c.lines.size());
    }
    hbtest::savePicture(&list, QStringLiteral("/tmp/ledgelist_ledger.png"));

    // Without an account again: no lines, empty totals, gLedge as it was.
    const std::size_t held = hb::gLedge.size();
    chooseAccount(list, 0);
    find(list);
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(sums(list), QStringList({"", "", "", "", ""}));
    EXPECT_EQ(hb::gLedge.size(), held);
}

// A voucher without amount is listed with empty amount cells, counts in the count and adds
// nothing to the sums and balances.
TEST_P(LedgeListBoth, AVoucherWithoutAmountIsListedAndCountedAndAddsNothing)
{
    put(1, 9, "2008-02-20", 1000, 4000, 0);
    hb::gDb->EXEC("UPDATE D_LEDGE SET AMT=NULL WHERE FMR_ID=1 AND LEDGE_ID=9");
    auto &list = openList();
    EXPECT_EQ(column(list, 0), QStringList({"5", "4", "6", "9"}));
    EXPECT_EQ(column(list, 6), QStringList({"700", "3,000", "100", ""}));
    EXPECT_EQ(list.lblSUM[0]->text(), QStringLiteral("4"));
    EXPECT_EQ(list.lblSUM[4]->text(), QStringLiteral("3,800"));

    ledgerView(list);
    chooseAccount(list, 1000);
    find(list);
    ASSERT_EQ(list.rowCount(), 4);
    QTreeWidgetItem *line = list.ListView1->topLevelItem(3);
    EXPECT_EQ(QStringList({line->text(0), line->text(5), line->text(6), line->text(7)}),
              QStringList({"9", "", "", "3,500"}));
    EXPECT_EQ(sums(list), QStringList({"4", "1,300", "3,000", "800", "3,500"}));
    EXPECT_TRUE(ui->prompts.empty());
}

// Cash is carried over the years: with the year 2008, the opening counts every voucher before
// the list's first day, whether the from-date is in the year before or empty.
TEST_P(LedgeListBoth, TheOpeningCountsEverythingBeforeTheListsFirstDay)
{
    hb::gFmrID = Value(3);
    put(3, 1, "2007-06-01", 1000, 4000, 200);
    put(3, 2, "2007-12-10", 1000, 4000, 500);
    put(3, 3, "2008-01-15", 4160, 1000, 100);
    auto &list = openList();
    ledgerView(list);
    chooseAccount(list, 1000);
    struct Case { const char *from; QStringList sums; };
    const Case cases[] = {
        {"2007/12/01", {"1", "700", "0", "100", "600"}},
        {"", {"1", "700", "0", "100", "600"}},
        {"2008/01/16", {"0", "600", "0", "0", "600"}},
    };
    for (const Case &c : cases) {
        list.txtCOND[1]->setText(QString::fromUtf8(c.from));
        list.txtCOND[2]->setText(QStringLiteral("2008/01/31"));
        find(list);
        EXPECT_EQ(sums(list), c.sums) << c.from;
    }
}

TEST_P(LedgeListBoth, CounterpartyMatchesAnywhereWithWildcardsAndQuotesAreSafe)
{
    struct Case { QString text; QStringList ids; };
    const Case cases[] = {
        {"道の駅", {"4"}},               // anywhere in the name; the other grower's is not listed
        {"%", {"5", "4", "9"}},          // a wildcard, as typed
        {"O_Brien", {"5"}},
        {"O'Brien", {"5"}},              // a quote is a character, not a failure
        {"A\\B", {"9"}},                 // so is a backslash
    };
    put(1, 9, "2008-02-20", 1000, 4000, 10, "A\\B商店");
    auto &list = openList();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        list.txtCOND[0]->setText(c.text);
        find(list);
        EXPECT_EQ(column(list, 0), c.ids);
        EXPECT_TRUE(ui->prompts.empty());
    }
}

// A period box that holds no date runs no statement (a query would fail on the renamed table
// and report it): one message, the focus in the box with its picker shut, and the lines, the
// totals and gLedge empty, in both views; a later valid search fills them again.
TEST_P(LedgeListBoth, APeriodThatIsNoDateRunsNoStatementAndLeavesTheListEmpty)
{
    auto &list = openList();
    struct Case {
        int view;
        int box;
        const char *text;
    };
    const Case cases[] = {{0, 1, "2008/02/30"}, {0, 2, "2008/02/3x"}, {1, 1, "2008/02/30"}, {1, 2, "2008/13/01"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        if (c.view == 1 && list.viewKbn() == 0) {
            ledgerView(list);
            chooseAccount(list, 1000);
        }
        list.txtCOND[1]->setText(QStringLiteral("2008/02/01"));
        list.txtCOND[2]->setText(QStringLiteral("2008/02/29"));
        find(list);
        ASSERT_EQ(list.rowCount(), 3);
        hb::gDb->EXEC("ALTER TABLE D_LEDGE RENAME TO D_LEDGE_AWAY");
        ui->prompts.clear();
        QLineEdit *box = list.txtCOND[static_cast<std::size_t>(c.box)];
        box->setText(QString::fromUtf8(c.text));
        hbtest::click(list.cmdFIND);
        settle();
        EXPECT_EQ(ui->promptTexts(), QStringList({"日付を指定してください。"}));
        EXPECT_EQ(ui->prompts[0].style, hb::kMsgExclamation);
        EXPECT_EQ(QApplication::focusWidget(), box);
        EXPECT_FALSE(list.picker()->isShown());
        EXPECT_EQ(list.rowCount(), 0);
        EXPECT_EQ(sums(list), QStringList({"", "", "", "", ""}));
        ASSERT_EQ(hb::gLedge.size(), 1u);
        EXPECT_TRUE(hb::gLedge[0].LEDGE_ID.isEmpty());
        hb::gDb->EXEC("ALTER TABLE D_LEDGE_AWAY RENAME TO D_LEDGE");
    }
    list.txtCOND[2]->setText(QStringLiteral("2008/02/29"));
    find(list);
    EXPECT_EQ(list.rowCount(), 3);
    EXPECT_EQ(hb::gLedge.size(), 3u);
}

TEST_P(LedgeListWindow, AResizeRescalesOnlyAndKeepsViewFiltersAndLines)
{
    auto &list = openList();
    ledgerView(list);
    chooseAccount(list, 1000);
    list.txtCOND[0]->setText(QStringLiteral("道"));
    find(list);
    ASSERT_EQ(list.rowCount(), 1);
    const int width = list.ListView1->columnWidth(1);
    hbtest::resizeOuter(&list, list.frameGeometry().size() * 1.25);
    settle();
    EXPECT_EQ(list.viewKbn(), 1);
    EXPECT_EQ(list.cmbCOND[0]->currentText(), QStringLiteral("現金"));
    EXPECT_EQ(list.txtCOND[0]->text(), QStringLiteral("道"));
    EXPECT_EQ(list.txtCOND[1]->text(), QStringLiteral("2008/02/01"));
    EXPECT_EQ(list.rowCount(), 1);
    EXPECT_NEAR(list.ListView1->columnWidth(1), width * list.scaleX(), 2.0);

    // The year box takes no typing.
    EXPECT_EQ(list.txtCOND[3]->focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(list.txtCOND[3]->isReadOnly());
    EXPECT_FALSE(list.cmdMENU[6]->isEnabled());

    // A typed account that is no item keeps the focus without a message.
    hbtest::focusByClick(list.cmbCOND[0]);
    list.cmbCOND[0]->setEditText(QStringLiteral("現"));
    hbtest::focusByClick(list.txtCOND[0]);
    settle();
    EXPECT_TRUE(list.cmbCOND[0]->hasFocus());
    EXPECT_TRUE(ui->prompts.empty());
}

TEST_P(LedgeListWindow, DatePickerServesTheTwoPeriodBoxes)
{
    auto &list = openList();
    hbtest::focusByClick(list.txtCOND[1]);
    settle();
    ASSERT_TRUE(list.picker()->isShown());
    EXPECT_EQ(list.picker()->MonthView1()->selectedDate(), QDate(2008, 2, 1));
    // Under the box, moved right just enough to stay whole at the window's left edge.
    const QRect box = list.txtCOND[1]->geometry();
    EXPECT_EQ(list.picker()->MonthView1()->geometry().x(),
              std::max(0, box.right() + 1 - list.picker()->MonthView1()->width()));
    EXPECT_EQ(list.picker()->MonthView1()->geometry().top(), box.bottom() + 1);
    hbtest::savePicture(&list, QStringLiteral("/tmp/ledgelist_picker.png"));
    list.picker()->DateClick(QDate(2008, 2, 3));
    settle();
    EXPECT_EQ(list.txtCOND[1]->text(), QStringLiteral("2008/02/03"));
    EXPECT_TRUE(list.txtCOND[2]->hasFocus());
    EXPECT_TRUE(list.picker()->isShown()) << "the next box is a date box too";
    EXPECT_EQ(list.picker()->tag(), QStringLiteral("2"));
    hbtest::focusByClick(list.txtCOND[0]);
    settle();
    EXPECT_FALSE(list.picker()->isShown());
}

TEST_P(LedgeListBoth, ButtonsKeepGeneratedVouchersFromModifyAndDelete)
{
    // Voucher 4 is a shipment's sales voucher, 5 a purchase's; grower 2's diary line with
    // number 6 does not make grower 1's voucher 6 generated.
    hb::gDb->EXEC("INSERT INTO D_SHIP (FMR_ID, SHIP_ID, LEDGE_ID_S, LEDGE_ID_F) VALUES (1, 1, 4, 0)");
    hb::gDb->EXEC("INSERT INTO D_CHEMI (FMR_ID, CHEMI_ID, LEDGE_ID) VALUES (1, 1, 5)");
    hb::gDb->EXEC("INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO, LEDGE_ID) VALUES (2, #2008-02-10#, 1, 6)");
    struct Case { int button; int row; QString refusal; int mode; };
    const Case cases[] = {
        {2, 1, "この伝票は修正できません。出荷入力から修正してください。", 0},
        {4, 0, "この伝票は削除できません。農薬入力から削除してください。", 0},
        {5, 1, "", 1},  // a copy of any voucher
        {3, 0, "", 3},  // a view of any voucher
        {2, 2, "", 2},
        {4, 2, "", 4},
        {1, 2, "", 1},
    };
    auto &list = openList();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.button);
        ui->prompts.clear();
        list.selectRow(c.row);
        int opened = 0;
        long row = -2;
        hbtest::onModal(ui.get(), QStringLiteral("frmLedgeInput"), [&](QDialog *d) {
            opened = hb::gEditMode;
            row = hb::gEditRow;
            static_cast<hb::frmLedgeInput *>(d)->cmdMENU[0]->click();
        });
        hbtest::click(list.cmdMENU[static_cast<std::size_t>(c.button)]);
        settle();
        EXPECT_EQ(opened, c.mode);
        if (c.refusal.isEmpty()) {
            EXPECT_TRUE(ui->prompts.empty());
            EXPECT_EQ(row, c.button == 1 ? -1 : c.row);
        } else {
            ASSERT_EQ(ui->promptTexts(), QStringList({c.refusal}));
            EXPECT_EQ(ui->prompts[0].style, hb::kMsgExclamation);
            EXPECT_EQ(ui->prompts[0].title, hb::kProgramTitle);
        }
        EXPECT_TRUE(list.ListView1->hasFocus()) << "the list takes the focus again";
    }

    // On an empty list the row buttons do nothing.
    list.txtCOND[1]->setText(QStringLiteral("2009/01/01"));
    list.txtCOND[2]->setText(QStringLiteral("2009/01/31"));
    find(list);
    ASSERT_EQ(list.rowCount(), 0);
    ui->modalShown.clear();
    for (int b : {2, 3, 4, 5})
        hbtest::click(list.cmdMENU[static_cast<std::size_t>(b)]);
    settle();
    EXPECT_TRUE(ui->modalShown.isEmpty());
}

TEST_P(LedgeListBoth, ASavedVoucherIsSelectedAgainAndAnUnknownOneSelectsLineOne)
{
    auto &list = openList();
    hb::gLastLedgeID = Value(6);
    find(list);
    EXPECT_EQ(list.selectedRow(), 2);
    hb::gLastLedgeID = Value(7);  // not in the period
    find(list);
    EXPECT_EQ(list.selectedRow(), 0);
}

}  // namespace
