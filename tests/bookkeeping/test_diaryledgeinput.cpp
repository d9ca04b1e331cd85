// The diary's voucher dialog, driven as a person would from the diary's voucher book: the
// books' captions, the increase/decrease to debit/credit rule, the option boxes, new numbers,
// modify and delete in gLedge, and what it refuses.

#include "bookkeeping/frmdiaryledgeinput.h"
#include "ledgefixture.h"
#include "common/globaldbs.h"
#include "common/failingstatement.h"
#include "common/harness.h"
#include "core/forms.h"
#include "core/globals.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QTest>
#include <functional>

using hb::Currency;
using hb::LedgeRec;
using hb::Value;
using hbtest::settle;
using Dlg = hb::frmDiaryLedgeInput;

namespace {

const QDate kDay(2014, 10, 24);

long num(const Value &v)
{
    return v.isNull() || v.isEmpty() ? 0 : static_cast<long>(v.toLong());
}

class DiaryLedgeDialog : public ledgetest::LedgeDb {
protected:
    void SetUp() override
    {
        LedgeDb::SetUp();
        if (IsSkipped())
            return;
        hb::gWorkDate = Value(kDay);
        hb::gDiaryLedgeAcc = Value(1000);
        hb::gEditMode = hb::kEditAdd;
        // Stored vouchers: grower 1 up to 7; grower 2 has higher numbers.
        putStored(1, 3);
        putStored(1, 7);
        putStored(2, 50);
        for (auto [fmr, id, name] : {std::tuple{1, 1, "トマト 2013"}, {1, 2, "トマト"}, {1, 4, "トマト"},
                                     {2, 3, "キュウリ"}})
            hb::gDb->EXEC("INSERT INTO D_PLANT (FMR_ID, PLANT_ID, PLANT_NM) VALUES (?, ?, ?)",
                          {Value(fmr), Value(id), Value(name)});
        for (auto [fmr, id, name, chk] : {std::tuple{1, 1, "殺虫剤A", -1}, {1, 2, "使い切った薬", 0},
                                          {1, 5, "殺菌剤B", -1}, {2, 3, "他の人の薬", -1}})
            hb::gDb->EXEC("INSERT INTO D_CHEMI (FMR_ID, CHEMI_ID, CHEMI_NM, CHK_FLG) VALUES (?, ?, ?, ?)",
                          {Value(fmr), Value(id), Value(name), Value(chk)});
    }

    static void putStored(long fmr, long id)
    {
        hb::gDb->EXEC("INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, C_ACC_ID, AMT) "
                      "VALUES (?, ?, #2014-10-01#, 1000, 4000, 100)",
                      {Value(fmr), Value(id)});
    }

    // A voucher of the day as the diary holds it after loading.
    static LedgeRec voucher(long id, long debit, long credit, double amt)
    {
        LedgeRec r;
        for (int i = 0; i < LedgeRec::fieldCount(); ++i)
            r.field(i) = Value::null();
        r.FMR_ID = Value(1);
        r.LEDGE_ID = Value(id);
        r.LEDGE_DATE = Value(kDay);
        r.D_ACC_ID = Value(debit);
        r.C_ACC_ID = Value(credit);
        r.AMT = Value(Currency::fromDouble(amt));
        r.IDATE = Value(QDateTime(kDay, QTime(9, 0)));
        r.LAST_TM = Value("OLD-PC");
        return r;
    }

    // Opens the dialog as the diary's voucher book does, lets `drive` act on it, and closes it
    // as the window system would when it is still open. Records the book rebuilds it asks for.
    void openDialog(const std::function<void(hb::frmDiaryLedgeInput &)> &drive)
    {
        hbtest::onModal(ui.get(), QStringLiteral("frmDiaryLedgeInput"),
                        [&drive](QDialog *d) { drive(static_cast<hb::frmDiaryLedgeInput &>(*d)); });
        auto &dlg = hb::form<hb::frmDiaryLedgeInput>();
        dlg.ledgeChanged = [this](const Value &acc) { rebuilt.push_back(num(acc)); };
        dlg.showModal(nullptr);
        settle();
    }

    // Replaces a box's text as a person does: click into it, select all, type.
    static void retype(QWidget *box, const QString &text)
    {
        hbtest::focusByClick(box);
        QWidget *target = QApplication::focusWidget();
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(target, Qt::Key_Delete);
        if (!text.isEmpty())
            hbtest::typeText(target, text);
        settle();
    }
    // Types into a box and leaves it with Tab.
    static void enter(QWidget *box, const QString &text)
    {
        retype(box, text);
        tab();
    }
    // Leaves a control with Tab; a list that opens in the next box is closed again.
    static void tab()
    {
        hbtest::pressKey(Qt::Key_Tab);
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        settle();
    }
    // Picks an entry from a combo box's list with the mouse (the list opens on focus).
    static void pick(QComboBox *box, const QString &text, int nth = 0)
    {
        if (!box->view()->isVisible()) {
            if (box->hasFocus())
                box->showPopup();
            else
                hbtest::focusByClick(box);
            settle();
        }
        ASSERT_TRUE(box->view()->isVisible());
        int row = -1;
        for (int i = 0, seen = 0; i < box->count(); ++i) {
            if (box->itemText(i) == text && seen++ == nth) {
                row = i;
                break;
            }
        }
        ASSERT_GE(row, 0) << text.toStdString();
        QAbstractItemView *view = box->view();
        const QModelIndex index = view->model()->index(row, box->modelColumn(), view->rootIndex());
        view->scrollTo(index);
        const QRect r = view->visualRect(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
        settle();
    }
    static QStringList items(const QComboBox *box)
    {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }
    static QString captions(const hb::frmDiaryLedgeInput &f)
    {
        return QStringList{f.windowTitle(),
                           f.lblTITLE->text(),
                           f.lblAMT_CAP[Dlg::kCapIncrease]->text(),
                           f.lblAMT_CAP[Dlg::kCapDecrease]->text(),
                           f.lblOPT_NM_CAP[Dlg::kCapFixedText]->text(),
                           f.cmdMENU[Dlg::kMenuClose]->text(),
                           f.cmdMENU[Dlg::kMenuRegister]->text()}
            .join(QLatin1Char('|'));
    }

    std::vector<long> rebuilt;
};

// ---- new vouchers --------------------------------------------------------------------------

TEST_P(DiaryLedgeDialog, NewVouchersTakeTheDayTheGrowerAndConsecutiveNumbersAboveTheStoredOnes)
{
    openDialog([&](hb::frmDiaryLedgeInput &f) {
        EXPECT_EQ(num(f.workingVoucher().LEDGE_ID), 8);
        EXPECT_EQ(f.txtDATA[Dlg::kBoxIncrease]->text(), "0");
        EXPECT_EQ(f.txtDATA[Dlg::kBoxDecrease]->text(), "0");
        hbtest::focusByClick(f.cmbDATA[Dlg::kCmbAccount]);
        EXPECT_TRUE(f.cmbDATA[Dlg::kCmbAccount]->view()->isVisible()) << "the list opens on focus";
        hbtest::typeText(QApplication::focusWidget(), QStringLiteral("売上高"));  // typed into the box
        tab();
        enter(f.txtDATA[Dlg::kBoxCounterparty], QStringLiteral("山田's \"直売所\""));
        enter(f.txtDATA[Dlg::kBoxIncrease], QStringLiteral("500"));
        hbtest::click(f.cmdMENU[Dlg::kMenuRegister]);
        EXPECT_FALSE(f.isVisible());
    });
    // The day had no voucher: its empty element is replaced.
    ASSERT_EQ(hb::gLedge.size(), 1u);
    const LedgeRec &first = hb::gLedge[0];
    EXPECT_EQ(num(first.FMR_ID), 1);
    EXPECT_EQ(num(first.LEDGE_ID), 8);
    EXPECT_EQ(first.LEDGE_DATE.toDate().date(), kDay);
    EXPECT_EQ(num(first.D_ACC_ID), 1000);
    EXPECT_EQ(num(first.C_ACC_ID), 4000);
    EXPECT_EQ(first.AMT.toCurrency(), Currency::fromDouble(500));
    EXPECT_EQ(first.CTR_NM.displayText(), QStringLiteral("山田's \"直売所\""));
    EXPECT_TRUE(first.NOTES.isNull());
    EXPECT_TRUE(first.IDATE.isEmpty());
    // Each side's option kind is its account's: cash none, sales plantings.
    EXPECT_EQ(first.D_OPT_KBN, Value(0));
    EXPECT_EQ(first.C_OPT_KBN, Value(2));
    EXPECT_EQ(rebuilt, std::vector<long>{1000});

    // The second, before the day is registered, goes above the first.
    openDialog([&](hb::frmDiaryLedgeInput &f) {
        EXPECT_EQ(num(f.workingVoucher().LEDGE_ID), 9);
        enter(f.txtDATA[Dlg::kBoxDecrease], QStringLiteral("1,000"));
        hbtest::click(f.cmdMENU[Dlg::kMenuRegister]);
    });
    ASSERT_EQ(hb::gLedge.size(), 2u);
    EXPECT_EQ(num(hb::gLedge[0].LEDGE_ID), 8);
    EXPECT_EQ(num(hb::gLedge[1].LEDGE_ID), 9);
    EXPECT_EQ(hb::gLedge[1].AMT.type(), Value::Type::Currency);
    EXPECT_EQ(hb::gLedge[1].AMT.toCurrency(), Currency::fromDouble(1000));
    EXPECT_EQ(num(hb::gLedge[1].C_ACC_ID), 1000);
    EXPECT_EQ(num(hb::gLedge[1].D_ACC_ID), 0);  // no account chosen: account 0
    EXPECT_FALSE(hb::gLedge[1].D_ACC_ID.isNull());
    EXPECT_EQ(rebuilt, (std::vector<long>{1000, 1000}));
}

TEST_P(DiaryLedgeDialog, NewNumberIsAboveTheGrowersStoredNumbersAndEveryNumberInTheDay)
{
    struct Case {
        long fmr;
        std::vector<Value> inDay;
        long expected;
    };
    const Case cases[] = {
        {1, {Value()}, 8},                          // a day without vouchers
        {1, {Value(3), Value(12), Value(5)}, 13},   // an unsaved voucher above the stored ones
        {1, {Value(2), Value::null(), Value()}, 8},
        {2, {Value(4)}, 51},
        {9, {Value()}, 1},                          // a grower without vouchers
        {9, {Value(1), Value(2)}, 3},
    };
    for (const Case &c : cases) {
        hb::gLedge.clear();
        for (const Value &id : c.inDay) {
            LedgeRec r;
            r.LEDGE_ID = id;
            hb::gLedge.push_back(r);
        }
        EXPECT_EQ(hb::frmDiaryLedgeInput::GetNewLedgeID(c.fmr), c.expected) << "grower " << c.fmr;
    }
}

// ---- the books -----------------------------------------------------------------------------

TEST_P(DiaryLedgeDialog, EachBookHasItsTitleCaptionsAndButtons)
{
    struct Case {
        long acc;
        int mode;
        const char *expected;
    };
    hb::gLedge = {voucher(3, 1000, 2000, 10)};
    const Case cases[] = {
        {1000, hb::kEditAdd, "現金出納帳入力|現金出納帳入力|入金|出金|現金適用|ｷｬﾝｾﾙ|設定"},
        {1010, hb::kEditAdd, "預金帳入力|預金帳入力|預入|払出|預金適用|ｷｬﾝｾﾙ|設定"},
        {1040, hb::kEditModify, "売掛帳入力|売掛帳入力|発生|回収|売掛金適用|ｷｬﾝｾﾙ|設定"},
        {2000, hb::kEditDelete, "買掛帳入力|買掛帳入力|発生|支払|買掛金適用|ｷｬﾝｾﾙ|削除"},
        {4000, hb::kEditAdd, "||金額|金額|摘要|ｷｬﾝｾﾙ|設定"},
    };
    for (const Case &c : cases) {
        hb::gDiaryLedgeAcc = Value(c.acc);
        hb::gEditMode = c.mode;
        hb::gEditRow = c.mode == hb::kEditAdd ? -1 : 0;
        openDialog([&](hb::frmDiaryLedgeInput &f) { EXPECT_EQ(captions(f), QString::fromUtf8(c.expected)); });
    }
}

// The increase and decrease boxes put the fixed account and the other account on their sides;
// the fixed account's text and the other account's text and option follow them.
TEST_P(DiaryLedgeDialog, IncreaseAndDecreaseDecideDebitAndCredit)
{
    struct Case {
        long book;
        int box;  // 5 increase, 6 decrease
        long debit, credit;
    };
    const Case cases[] = {
        {1000, 5, 1000, 4000}, {1000, 6, 4000, 1000}, {1010, 5, 1010, 4000}, {1010, 6, 4000, 1010},
        {1040, 5, 1040, 4000}, {1040, 6, 4000, 1040}, {2000, 5, 4000, 2000}, {2000, 6, 2000, 4000},
    };
    for (const Case &c : cases) {
        hb::gLedge.assign(1, LedgeRec());
        hb::gDiaryLedgeAcc = Value(c.book);
        openDialog([&](hb::frmDiaryLedgeInput &f) {
            enter(f.txtDATA[Dlg::kBoxFixedText], QStringLiteral("固定側"));
            pick(f.cmbDATA[Dlg::kCmbAccount], QStringLiteral("売上高"));
            tab();
            pick(f.cmbDATA[Dlg::kCmbOption], QStringLiteral("トマト"));
            tab();
            enter(f.txtDATA[Dlg::kBoxOtherText], QStringLiteral("相手側"));
            enter(f.txtDATA[c.box], QStringLiteral("500"));
            hbtest::click(f.cmdMENU[Dlg::kMenuRegister]);
        });
        const std::string what = std::to_string(c.book) + (c.box == 5 ? " increase" : " decrease");
        ASSERT_EQ(hb::gLedge.size(), 1u) << what;
        const LedgeRec &l = hb::gLedge[0];
        EXPECT_EQ(num(l.D_ACC_ID), c.debit) << what;
        EXPECT_EQ(num(l.C_ACC_ID), c.credit) << what;
        EXPECT_EQ(l.AMT.toCurrency(), Currency::fromDouble(500)) << what;
        const bool fixedDebit = c.debit == c.book;
        EXPECT_EQ((fixedDebit ? l.D_OPT_NM : l.C_OPT_NM).displayText(), QStringLiteral("固定側")) << what;
        EXPECT_EQ((fixedDebit ? l.C_OPT_NM : l.D_OPT_NM).displayText(), QStringLiteral("相手側")) << what;
        EXPECT_EQ(num(fixedDebit ? l.C_OPT_ID : l.D_OPT_ID), 2) << what;
        EXPECT_TRUE((fixedDebit ? l.D_OPT_ID : l.C_OPT_ID).isNull()) << what;
        EXPECT_EQ(num(l.LEDGE_ID), 8) << what;
    }
}

TEST_P(DiaryLedgeDialog, OneAmountPerVoucherAndTheIncreaseWinsAtRegister)
{
    openDialog([&](hb::frmDiaryLedgeInput &f) {
        enter(f.txtDATA[Dlg::kBoxIncrease], QStringLiteral("300"));
        enter(f.txtDATA[Dlg::kBoxDecrease], QStringLiteral("200"));
        EXPECT_EQ(f.txtDATA[Dlg::kBoxIncrease]->text(), "0");  // leaving one positive amount empties the other
        enter(f.txtDATA[Dlg::kBoxIncrease], QStringLiteral("300"));
        EXPECT_EQ(f.txtDATA[Dlg::kBoxDecrease]->text(), "0");
        // Both above 0 when neither box is left: the increase wins.
        hbtest::focusByClick(f.txtDATA[Dlg::kBoxCounterparty]);
        f.txtDATA[Dlg::kBoxDecrease]->setText(QStringLiteral("200"));
        hbtest::click(f.cmdMENU[Dlg::kMenuRegister]);
    });
    EXPECT_EQ(num(hb::gLedge[0].D_ACC_ID), 1000);
    EXPECT_EQ(hb::gLedge[0].AMT.toCurrency(), Currency::fromDouble(300));
}

// ---- what is refused -----------------------------------------------------------------------

TEST_P(DiaryLedgeDialog, AnAmountThatIsNoNumberOrNoAmountIsRefusedAndNothingIsWritten)
{
    struct Case {
        const char *increase;
        const char *decrease;
        const char *message;
        int focusBox;
    };
    const Case cases[] = {
        {"500円", "0", "数値を指定してください。", 5},
        {"0", "abc", "数値を指定してください。", 6},
        {"0", "0", "金額を入力してください。", 5},
        {"", "", "金額を入力してください。", 5},
        {"-500", "0", "金額を入力してください。", 5},
    };
    for (const Case &c : cases) {
        ui->prompts.clear();
        rebuilt.clear();
        openDialog([&](hb::frmDiaryLedgeInput &f) {
            pick(f.cmbDATA[Dlg::kCmbAccount], QStringLiteral("雑収入"));
            tab();
            // The box the refusal is about is typed last.
            const int first = c.focusBox == 5 ? 6 : 5;
            retype(f.txtDATA[first], QString::fromUtf8(first == 5 ? c.increase : c.decrease));
            retype(f.txtDATA[c.focusBox], QString::fromUtf8(c.focusBox == 5 ? c.increase : c.decrease));
            hbtest::click(f.cmdMENU[Dlg::kMenuRegister]);
            EXPECT_TRUE(f.isVisible()) << c.increase << "/" << c.decrease;
            EXPECT_EQ(QApplication::focusWidget(), f.txtDATA[c.focusBox]) << c.increase << "/" << c.decrease;
        });
        ASSERT_EQ(ui->prompts.size(), 1u) << c.increase << "/" << c.decrease;
        EXPECT_EQ(ui->prompts[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(ui->prompts[0].style, hb::kMsgExclamation);
        EXPECT_EQ(ui->prompts[0].title, hb::kProgramTitle);
        ASSERT_EQ(hb::gLedge.size(), 1u);
        EXPECT_TRUE(hb::gLedge[0].LEDGE_ID.isEmpty());
        EXPECT_TRUE(rebuilt.empty());
    }
}

TEST_P(DiaryLedgeDialog, AccountTextThatNamesNoAccountKeepsTheFocusAndAClearedOneIsAccountZero)
{
    openDialog([&](hb::frmDiaryLedgeInput &f) {
        pick(f.cmbDATA[Dlg::kCmbAccount], QStringLiteral("売上高"));
        f.cmbDATA[Dlg::kCmbAccount]->hidePopup();
        retype(f.cmbDATA[Dlg::kCmbAccount], QStringLiteral("売上"));
        f.cmbDATA[Dlg::kCmbAccount]->hidePopup();
        tab();
        EXPECT_EQ(f.focusWidget(), f.cmbDATA[Dlg::kCmbAccount]);
        EXPECT_TRUE(ui->prompts.empty());  // no message
        retype(f.cmbDATA[Dlg::kCmbAccount], QString());
        f.cmbDATA[Dlg::kCmbAccount]->hidePopup();
        tab();
        EXPECT_NE(f.focusWidget(), f.cmbDATA[Dlg::kCmbAccount]);
        EXPECT_TRUE(f.cmbDATA[Dlg::kCmbOption]->isHidden());
        enter(f.txtDATA[Dlg::kBoxIncrease], QStringLiteral("700"));
        hbtest::click(f.cmdMENU[Dlg::kMenuRegister]);
    });
    EXPECT_EQ(num(hb::gLedge[0].D_ACC_ID), 1000);
    EXPECT_EQ(num(hb::gLedge[0].C_ACC_ID), 0);
    EXPECT_FALSE(hb::gLedge[0].C_ACC_ID.isNull());
}

// ---- the option box ------------------------------------------------------------------------

TEST_P(DiaryLedgeDialog, TheOptionBoxFollowsTheOtherAccountsOptionKind)
{
    openDialog([&](hb::frmDiaryLedgeInput &f) {
        EXPECT_TRUE(f.cmbDATA[Dlg::kCmbOption]->isHidden());
        EXPECT_TRUE(f.lblOPT_CAP->isHidden());

        pick(f.cmbDATA[Dlg::kCmbAccount], QStringLiteral("売上高"));  // plantings
        tab();
        EXPECT_EQ(f.optionKind(), hb::kOptPlant);
        EXPECT_TRUE(f.cmbDATA[Dlg::kCmbOption]->isVisible());
        EXPECT_EQ(f.lblOPT_CAP->text(), QStringLiteral("補助"));
        EXPECT_TRUE(f.lblOPT_CAP->isVisible());
        EXPECT_EQ(items(f.cmbDATA[Dlg::kCmbOption]), (QStringList{"", "トマト 2013", "トマト", "トマト"}));
        EXPECT_EQ(f.cmbDATA[Dlg::kCmbOption]->currentIndex(), -1);

        // Purchases that cannot be read: no option is shown, and leaving the account again reads them.
        ui->prompts.clear();
        hbtest::withFailingStatements(*hb::gDb, QStringLiteral("DATA.MDB を読めません。"), [&] {
            pick(f.cmbDATA[Dlg::kCmbAccount], QStringLiteral("農薬"));
            tab();
        });
        EXPECT_EQ(ui->promptTexts(), QStringList{QStringLiteral("DATA.MDB を読めません。")});
        EXPECT_TRUE(f.cmbDATA[Dlg::kCmbOption]->isHidden());
        EXPECT_TRUE(f.lblOPT_CAP->isHidden());
        ui->prompts.clear();

        pick(f.cmbDATA[Dlg::kCmbAccount], QStringLiteral("農薬"));  // the grower's purchases in use
        tab();
        EXPECT_EQ(f.optionKind(), hb::kOptChemi);
        EXPECT_EQ(items(f.cmbDATA[Dlg::kCmbOption]), (QStringList{"", "殺虫剤A", "殺菌剤B"}));
        pick(f.cmbDATA[Dlg::kCmbOption], QStringLiteral("殺菌剤B"));
        tab();

        pick(f.cmbDATA[Dlg::kCmbAccount], QStringLiteral("雑収入"));  // no options: hidden, no option written
        tab();
        EXPECT_EQ(f.optionKind(), 0);
        EXPECT_TRUE(f.cmbDATA[Dlg::kCmbOption]->isHidden());
        EXPECT_TRUE(f.lblOPT_CAP->isHidden());
        enter(f.txtDATA[Dlg::kBoxIncrease], QStringLiteral("100"));
        hbtest::click(f.cmdMENU[Dlg::kMenuRegister]);
    });
    EXPECT_EQ(num(hb::gLedge[0].C_ACC_ID), 4020);
    EXPECT_TRUE(hb::gLedge[0].C_OPT_ID.isNull());
}

TEST_P(DiaryLedgeDialog, ThePickedOneOfTwoPlantingsOfTheSameNameStaysPicked)
{
    openDialog([&](hb::frmDiaryLedgeInput &f) {
        pick(f.cmbDATA[Dlg::kCmbAccount], QStringLiteral("売上高"));
        tab();
        pick(f.cmbDATA[Dlg::kCmbOption], QStringLiteral("トマト"), 1);
        tab();
        enter(f.txtDATA[Dlg::kBoxIncrease], QStringLiteral("100"));
        hbtest::click(f.cmdMENU[Dlg::kMenuRegister]);
    });
    EXPECT_EQ(num(hb::gLedge[0].C_OPT_ID), 4);
}

// ---- modify and delete ---------------------------------------------------------------------

TEST_P(DiaryLedgeDialog, ModifyShowsTheVoucherFromTheBooksSideAndReplacesOnlyItsElement)
{
    // A sale of planting 2 received in cash (debit 1000, credit 4000), after a voucher of another
    // book: the element's index is not its row in the cash book.
    LedgeRec sale = voucher(5, 1000, 4000, 1200);
    sale.C_OPT_ID = Value(2);
    sale.C_OPT_NM = Value("トマト直売");
    sale.D_OPT_NM = Value("レジ");
    sale.CTR_NM = Value("道の駅");
    const QString longNote = QString(60, QChar(u'備'));
    sale.NOTES = Value(longNote);
    const LedgeRec other = voucher(4, 1010, 2000, 80);
    hb::gLedge = {other, sale};
    hb::gEditMode = hb::kEditModify;
    hb::gEditRow = 1;
    openDialog([&](hb::frmDiaryLedgeInput &f) {
        EXPECT_EQ(f.cmbDATA[Dlg::kCmbAccount]->currentText(), QStringLiteral("売上高"));
        EXPECT_TRUE(f.cmbDATA[Dlg::kCmbOption]->isVisible());
        EXPECT_EQ(f.cmbDATA[Dlg::kCmbOption]->currentIndex(), 2);
        EXPECT_EQ(f.txtDATA[Dlg::kBoxCounterparty]->text(), QStringLiteral("道の駅"));
        EXPECT_EQ(f.txtDATA[Dlg::kBoxFixedText]->text(), QStringLiteral("レジ"));
        EXPECT_EQ(f.txtDATA[Dlg::kBoxOtherText]->text(), QStringLiteral("トマト直売"));
        EXPECT_EQ(f.txtDATA[Dlg::kBoxNotes]->text(), longNote);  // a stored text is shown whole
        EXPECT_EQ(f.txtDATA[Dlg::kBoxIncrease]->text(), "1200");
        EXPECT_EQ(f.txtDATA[Dlg::kBoxDecrease]->text(), "0");
        // Turned into a payment back to the shop.
        enter(f.txtDATA[Dlg::kBoxDecrease], QStringLiteral("1500"));
        EXPECT_EQ(f.txtDATA[Dlg::kBoxIncrease]->text(), "0");
        hbtest::click(f.cmdMENU[Dlg::kMenuRegister]);
    });
    ASSERT_EQ(hb::gLedge.size(), 2u);
    const LedgeRec &l = hb::gLedge[1];
    EXPECT_EQ(num(l.LEDGE_ID), 5);
    EXPECT_EQ(num(l.D_ACC_ID), 4000);
    EXPECT_EQ(num(l.C_ACC_ID), 1000);
    EXPECT_EQ(num(l.D_OPT_ID), 2);     // the planting stays with the sales account
    EXPECT_TRUE(l.C_OPT_ID.isNull());  // and does not stay behind on the cash side
    EXPECT_EQ(l.D_OPT_NM.displayText(), QStringLiteral("トマト直売"));
    EXPECT_EQ(l.C_OPT_NM.displayText(), QStringLiteral("レジ"));
    EXPECT_EQ(l.NOTES.displayText(), longNote);
    EXPECT_EQ(l.AMT.toCurrency(), Currency::fromDouble(1500));
    EXPECT_EQ(l.IDATE, sale.IDATE);
    EXPECT_EQ(l.LEDGE_DATE, sale.LEDGE_DATE);
    EXPECT_EQ(l.LAST_TM, sale.LAST_TM);
    for (int i = 0; i < LedgeRec::fieldCount(); ++i)
        EXPECT_EQ(hb::gLedge[0].field(i), other.field(i)) << LedgeRec::columnNames().at(i).toStdString();
    EXPECT_EQ(rebuilt, std::vector<long>{1000});
}

// The day's vouchers as the database gives them back: the payable book shows a credit of 2000 as
// 発生 and a debit as 支払, and a voucher written back keeps its own values, its option kinds
// those of its accounts.
TEST_P(DiaryLedgeDialog, PayableBookShowsStoredCreditsAsIncreaseAndDebitsAsPayment)
{
    hb::gDb->EXEC("INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, C_ACC_ID, NOTES, AMT, IDATE) VALUES "
                  "(1, 11, #2014-10-24#, 4110, 2000, '種''苗', 300.5, #2014-10-24 09:30:00#), "
                  "(1, 12, #2014-10-24#, 2000, 1000, NULL, 120, NULL)");
    auto rs = hb::gDb->GetFwdOnlyRst(
        "SELECT * FROM D_LEDGE WHERE FMR_ID=1 AND LEDGE_DATE=#2014-10-24# ORDER BY LEDGE_DATE, LEDGE_ID");
    ASSERT_EQ(LedgeRec::loadArray(*rs, hb::gLedge), 2);
    const std::vector<LedgeRec> loaded = hb::gLedge;
    hb::gDiaryLedgeAcc = Value(2000);
    hb::gEditMode = hb::kEditModify;
    for (long row : {0L, 1L}) {
        hb::gEditRow = row;
        openDialog([&](hb::frmDiaryLedgeInput &f) {
            EXPECT_EQ(f.txtDATA[Dlg::kBoxIncrease]->text(), row == 0 ? "300.5" : "0");
            EXPECT_EQ(f.txtDATA[Dlg::kBoxDecrease]->text(), row == 0 ? "0" : "120");
            EXPECT_EQ(f.cmbDATA[Dlg::kCmbAccount]->currentText(), row == 0 ? QStringLiteral("種苗費") : QStringLiteral("現金"));
            EXPECT_EQ(f.txtDATA[Dlg::kBoxNotes]->text(), row == 0 ? QStringLiteral("種'苗") : QString());
            hbtest::click(f.cmdMENU[Dlg::kMenuRegister]);
        });
    }
    ASSERT_EQ(hb::gLedge.size(), 2u);
    for (std::size_t row = 0; row < 2; ++row) {
        for (int i = 0; i < LedgeRec::fieldCount(); ++i) {
            const QString column = LedgeRec::columnNames().at(i);
            const Value expected = column.endsWith(QLatin1String("OPT_KBN")) ? Value(0) : loaded[row].field(i);
            EXPECT_EQ(hb::gLedge[row].field(i), expected) << row << " " << column.toStdString();
        }
    }
}

TEST_P(DiaryLedgeDialog, DeleteLocksEveryBoxAndRemovesTheVoucher)
{
    hb::gLedge = {voucher(4, 1000, 4020, 10), voucher(5, 4110, 1000, 20), voucher(6, 1000, 4020, 30)};
    hb::gEditMode = hb::kEditDelete;
    hb::gEditRow = 1;
    openDialog([&](hb::frmDiaryLedgeInput &f) {
        const QColor window = f.palette().color(QPalette::Window);
        for (int i = 1; i <= 6; ++i) {
            EXPECT_TRUE(f.txtDATA[i]->isReadOnly()) << i;
            EXPECT_EQ(f.txtDATA[i]->focusPolicy(), Qt::NoFocus) << i;
            EXPECT_EQ(f.txtDATA[i]->palette().color(QPalette::Base), window) << i;
        }
        for (int i = 1; i <= 2; ++i) {
            EXPECT_EQ(f.cmbDATA[i]->focusPolicy(), Qt::NoFocus) << i;
            EXPECT_TRUE(f.cmbDATA[i]->lineEdit()->isReadOnly()) << i;
        }
        QTest::mouseClick(f.cmbDATA[Dlg::kCmbAccount], Qt::LeftButton, Qt::NoModifier,
                          QPoint(f.cmbDATA[Dlg::kCmbAccount]->width() - 6, f.cmbDATA[Dlg::kCmbAccount]->height() / 2));
        settle();
        EXPECT_FALSE(f.cmbDATA[Dlg::kCmbAccount]->view()->isVisible());
        EXPECT_EQ(f.txtDATA[Dlg::kBoxDecrease]->text(), "20");
        hbtest::savePicture(&f, QStringLiteral("/tmp/frmDiaryLedgeInput_delete.png"));
        hbtest::click(f.cmdMENU[Dlg::kMenuRegister]);
    });
    EXPECT_EQ(num(hb::gLedge[0].LEDGE_ID), 4);
    ASSERT_EQ(hb::gLedge.size(), 2u);
    EXPECT_EQ(num(hb::gLedge[1].LEDGE_ID), 6);
    EXPECT_EQ(rebuilt, std::vector<long>{1000});

    // The only voucher of the day: the day is left with its empty element.
    hb::gLedge = {voucher(4, 1000, 4020, 10)};
    hb::gEditRow = 0;
    openDialog([&](hb::frmDiaryLedgeInput &f) { hbtest::click(f.cmdMENU[Dlg::kMenuRegister]); });
    ASSERT_EQ(hb::gLedge.size(), 1u);
    for (int i = 0; i < LedgeRec::fieldCount(); ++i)
        EXPECT_TRUE(hb::gLedge[0].field(i).isEmpty()) << LedgeRec::columnNames().at(i).toStdString();
}

TEST_P(DiaryLedgeDialog, CancelAndTheCloseBoxLeaveTheDayAsItWas)
{
    hb::gLedge = {voucher(4, 1000, 4020, 10)};
    for (int mode : {hb::kEditAdd, hb::kEditModify, hb::kEditDelete}) {
        for (bool closeBox : {false, true}) {
            hb::gEditMode = mode;
            hb::gEditRow = mode == hb::kEditAdd ? -1 : 0;
            openDialog([&](hb::frmDiaryLedgeInput &f) {
                if (mode != hb::kEditDelete)
                    enter(f.txtDATA[Dlg::kBoxIncrease], QStringLiteral("999"));
                if (closeBox)
                    f.close();
                else
                    hbtest::click(f.cmdMENU[Dlg::kMenuClose]);
                EXPECT_FALSE(f.isVisible());
            });
        }
    }
    ASSERT_EQ(hb::gLedge.size(), 1u);
    EXPECT_EQ(hb::gLedge[0].AMT.toCurrency(), Currency::fromDouble(10));
    EXPECT_TRUE(rebuilt.empty());
}

TEST_P(DiaryLedgeDialog, AVoucherThatCannotBePreparedIsReportedAndRegisterChangesNothing)
{
    hb::gLedge = {voucher(4, 1000, 4020, 10)};
    hb::gEditMode = hb::kEditModify;
    hb::gEditRow = 3;  // no such element
    openDialog([&](hb::frmDiaryLedgeInput &f) {
        enter(f.txtDATA[Dlg::kBoxIncrease], QStringLiteral("999"));
        hbtest::click(f.cmdMENU[Dlg::kMenuRegister]);
    });
    ASSERT_EQ(ui->prompts.size(), 1u);
    EXPECT_EQ(ui->prompts[0].text, QStringLiteral("インデックスが有効範囲にありません。"));
    EXPECT_EQ(ui->prompts[0].style, hb::kMsgOk);
    EXPECT_EQ(ui->prompts[0].title, hb::kAppName);
    ASSERT_EQ(hb::gLedge.size(), 1u);
    EXPECT_EQ(hb::gLedge[0].AMT.toCurrency(), Currency::fromDouble(10));
    EXPECT_TRUE(rebuilt.empty());
}

// ---- resizing ------------------------------------------------------------------------------

TEST_P(DiaryLedgeDialog, ResizingOrMaximisingKeepsWhatWasTyped)
{
    openDialog([&](hb::frmDiaryLedgeInput &f) {
        pick(f.cmbDATA[Dlg::kCmbAccount], QStringLiteral("売上高"));
        tab();
        pick(f.cmbDATA[Dlg::kCmbOption], QStringLiteral("トマト 2013"));
        tab();
        enter(f.txtDATA[Dlg::kBoxIncrease], QStringLiteral("500"));
        const int width = f.txtDATA[Dlg::kBoxIncrease]->width();
        hbtest::resizeOuter(&f, QSize(1240, 720));
        EXPECT_GT(f.txtDATA[Dlg::kBoxIncrease]->width(), width);
        f.showMaximized();
        settle();
        hbtest::savePicture(&f, QStringLiteral("/tmp/frmDiaryLedgeInput_large.png"));
        EXPECT_EQ(f.txtDATA[Dlg::kBoxIncrease]->text(), "500");
        EXPECT_EQ(f.cmbDATA[Dlg::kCmbOption]->currentText(), QStringLiteral("トマト 2013"));
        EXPECT_EQ(num(f.workingVoucher().LEDGE_ID), 8);
        hbtest::click(f.cmdMENU[Dlg::kMenuRegister]);
    });
    ASSERT_EQ(hb::gLedge.size(), 1u);
    EXPECT_EQ(hb::gLedge[0].AMT.toCurrency(), Currency::fromDouble(500));
    EXPECT_EQ(num(hb::gLedge[0].C_OPT_ID), 1);
}

TEST_P(DiaryLedgeDialog, DesignPicture)
{
    hb::gLedge = {voucher(4, 1000, 4020, 10)};
    openDialog([&](hb::frmDiaryLedgeInput &f) {
        EXPECT_EQ(f.focusWidget(), f.txtDATA[Dlg::kBoxCounterparty]);
        pick(f.cmbDATA[Dlg::kCmbAccount], QStringLiteral("売上高"));
        tab();
        f.cmbDATA[Dlg::kCmbOption]->hidePopup();
        settle();
        enter(f.txtDATA[Dlg::kBoxCounterparty], QStringLiteral("道の駅みどり"));
        enter(f.txtDATA[Dlg::kBoxIncrease], QStringLiteral("12,500"));
        EXPECT_TRUE(hbtest::savePicture(&f, QStringLiteral("/tmp/frmDiaryLedgeInput_add.png")));
    });
}

HB_INSTANTIATE_BOTH_BACKENDS(DiaryLedgeDialog);

}  // namespace
