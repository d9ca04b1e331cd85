// The voucher input, driven from the voucher list as a person would: new vouchers and copies,
// the option boxes that follow the accounts, modify and delete by the grower's key, the look of
// view and delete, checks of the date and the amount, failed saves, and released holds.

#include "bookkeeping/frmledgeinput.h"
#include "bookkeeping/frmledgelist.h"
#include "common/failingstatement.h"
#include "ledgefixture.h"
#include "common/globaldbs.h"
#include "common/harness.h"
#include "core/datepicker.h"
#include "core/forms.h"
#include "core/globals.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QTest>
#include <QTreeWidget>

using hb::LedgeRec;
using hb::Value;
using hbtest::settle;

namespace {

class LedgeInputTest : public ledgetest::LedgeDb {
protected:
    void SetUp() override
    {
        LedgeDb::SetUp();
        if (IsSkipped())
            return;
        openMaster();
        hb::gMst->EXEC("INSERT INTO M_FMR (FMR_ID, FMR_NM, CHK_FLG) VALUES (1, '緑丘 太郎', -1), (2, '山田 花子', -1)");
        hb::gCalMonth = QDate(2008, 2, 1);
        put(1, 4, "2008-02-10", 1000, 4000, 3000, "道の駅みどり");
        put(1, 5, "2008-02-05", 4160, 1000, 700, "農協");
        put(2, 4, "2008-02-10", 1000, 4000, 3000, "道の駅みどり");  // the same number, another grower
        put(2, 30, "2008-02-11", 1000, 4000, 1, nullptr);
        for (auto [fmr, id, name] : {std::tuple{1, 1, "春トマト"}, {1, 2, "夏なす"}, {2, 3, "他の人の作付"}})
            hb::gDb->EXEC("INSERT INTO D_PLANT (FMR_ID, PLANT_ID, PLANT_NM) VALUES (?, ?, ?)",
                          {Value(fmr), Value(id), Value(name)});
        for (auto [fmr, id, name, chk] : {std::tuple{1, 1, "殺虫剤A", -1}, {1, 2, "使い切った薬", 0}, {2, 3, "他の人の薬", -1}})
            hb::gDb->EXEC("INSERT INTO D_CHEMI (FMR_ID, CHEMI_ID, CHEMI_NM, CHK_FLG) VALUES (?, ?, ?, ?)",
                          {Value(fmr), Value(id), Value(name), Value(chk)});
    }

    static void put(long fmr, long id, const char *date, long d, long c, long amt, const char *ctr)
    {
        hb::gDb->EXEC("INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, C_ACC_ID, AMT, CTR_NM) "
                      "VALUES (?, ?, ?, ?, ?, ?, ?)",
                      {Value(fmr), Value(id), Value(QDateTime(QDate::fromString(date, "yyyy-MM-dd"), QTime(0, 0))),
                       Value(d), Value(c), Value(hb::Currency::fromDouble(amt)), ctr ? Value(ctr) : Value::null()});
    }
    static Value cell(const char *column, long fmr, long id)
    {
        return one(QStringLiteral("SELECT %1 FROM D_LEDGE WHERE FMR_ID=? AND LEDGE_ID=?").arg(column),
                   {Value(fmr), Value(id)});
    }
    static long count(const QString &where = QStringLiteral("1=1"))
    {
        return static_cast<long>(one(QStringLiteral("SELECT COUNT(*) FROM D_LEDGE WHERE ") + where).toLong());
    }

    hb::frmLedgeList &openList()
    {
        auto &list = hb::form<hb::frmLedgeList>();
        list.showModeless();
        hbtest::activate(&list);
        settle();
        return list;
    }
    // Presses a list button on the line of a voucher number (or none) and drives the input.
    void press(hb::frmLedgeList &list, int button, long ledgeId, std::function<void(hb::frmLedgeInput &)> drive)
    {
        bool opened = false;
        hbtest::onModal(ui.get(), QStringLiteral("frmLedgeInput"), [&](QDialog *d) {
            opened = true;
            drive(static_cast<hb::frmLedgeInput &>(*d));
        });
        for (long i = 0; i < list.rowCount(); ++i) {
            if (list.ListView1->topLevelItem(static_cast<int>(i))->text(0).toLong() == ledgeId)
                list.selectRow(i);
        }
        hbtest::click(list.cmdMENU[static_cast<std::size_t>(button)]);
        settle();
        EXPECT_TRUE(opened) << "button " << button;
    }

    static void closePopup()
    {
        settle();  // a list that opens on focus opens once the focus event is over
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        settle();
    }
    // Types an entry into a combo box as a person does, its list open, and leaves it with Tab.
    static void choose(QComboBox *box, const QString &text) { hbtest::enterCombo(box, text); }
    // Replaces a box's text and leaves it with Tab.
    static void enter(QLineEdit *box, const QString &text, bool ascii = true)
    {
        hbtest::focusByClick(box);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        if (ascii)
            QTest::keyClicks(box, text);
        else
            hbtest::typeText(box, text);
        hbtest::pressKey(Qt::Key_Tab);
        closePopup();
    }
};

using LedgeInputBoth = LedgeInputTest;
using LedgeInputWindow = LedgeInputTest;
HB_INSTANTIATE_BOTH_BACKENDS(LedgeInputBoth);
INSTANTIATE_TEST_SUITE_P(Sqlite, LedgeInputWindow, ::testing::Values(hbtest::Backend::Sqlite), hbtest::backendName);

TEST_P(LedgeInputBoth, AddWithNothingTypedStoresAnEmptyVoucherOfTheGrowerWithTheNextNumber)
{
    auto &list = openList();
    press(list, 1, 0, [&](hb::frmLedgeInput &in) {
        EXPECT_EQ(in.windowTitle(), QStringLiteral("伝票入力"));
        EXPECT_EQ(in.lblDATA[0]->text(), QString());
        EXPECT_EQ(in.txtDATA[0]->text(), QDate::currentDate().toString("yyyy/MM/dd"));
        EXPECT_EQ(in.cmbDATA[1]->currentText(), QString());
        EXPECT_FALSE(in.cmbDATA[3]->isVisible());
        EXPECT_FALSE(in.cmbDATA[4]->isVisible());
        EXPECT_FALSE(in.cmbDATA[0]->isVisible()) << "the grower box is never shown";
        EXPECT_EQ(in.cmdMENU[0]->text(), QStringLiteral("ｷｬﾝｾﾙ"));
        EXPECT_EQ(in.cmdMENU[1]->text(), QStringLiteral("登録"));
        hbtest::savePicture(&in, QStringLiteral("/tmp/ledgeinput_add.png"));
        hbtest::click(in.cmdMENU[1]);
        settle();
        EXPECT_FALSE(in.isLoaded());
    });
    EXPECT_TRUE(ui->prompts.empty());
    EXPECT_EQ(hb::gLastLedgeID.toLong(), 6) << "grower 1's highest number plus one, not grower 2's";
    EXPECT_EQ(cell("LEDGE_DATE", 1, 6).toDate().date(), QDate::currentDate());
    EXPECT_FALSE(cell("IDATE", 1, 6).isNull());
    EXPECT_EQ(cell("LAST_TM", 1, 6), Value("PC-TEST"));
    for (const char *c : {"D_ACC_ID", "C_ACC_ID", "D_OPT_ID", "CTR_NM", "NOTES", "AMT", "UDATE", "HOLD_TM"})
        EXPECT_TRUE(cell(c, 1, 6).isNull()) << c;
}

TEST_P(LedgeInputBoth, ATypedVoucherIsSavedAsShownAndSelectedInTheList)
{
    auto &list = openList();
    press(list, 1, 0, [&](hb::frmLedgeInput &in) {
        enter(in.txtDATA[0], QStringLiteral("20080215"));  // the slashes come by themselves
        enter(in.txtDATA[1], QStringLiteral("道の駅 O'Brien"), false);
        choose(in.cmbDATA[1], QStringLiteral("販売手数料"));
        ASSERT_TRUE(in.cmbDATA[3]->isVisible()) << "an account of option kind 2 offers plantings";
        choose(in.cmbDATA[3], QStringLiteral("夏なす"));
        enter(in.txtDATA[2], QStringLiteral("手数料 10%"), false);
        choose(in.cmbDATA[2], QStringLiteral("現金"));
        EXPECT_FALSE(in.cmbDATA[4]->isVisible());
        enter(in.txtDATA[5], QStringLiteral("備考\\メモ"), false);
        enter(in.txtDATA[4], QStringLiteral("1,200"));
        // A wheel over the accounts, which do not have the focus, changes neither what they show
        // nor what is stored.
        hbtest::turnWheel(in.cmbDATA[1], 2);
        hbtest::turnWheel(in.cmbDATA[2], 1);
        EXPECT_EQ(in.cmbDATA[1]->currentText(), QStringLiteral("販売手数料"));
        EXPECT_EQ(in.cmbDATA[2]->currentText(), QStringLiteral("現金"));
        hbtest::savePicture(&in, QStringLiteral("/tmp/ledgeinput_typed.png"));
        hbtest::click(in.cmdMENU[1]);
        settle();
        EXPECT_FALSE(in.isLoaded());
    });
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join("|").toStdString();
    EXPECT_EQ(cell("LEDGE_DATE", 1, 6).toDate(), QDateTime(QDate(2008, 2, 15), QTime(0, 0)));
    EXPECT_EQ(cell("CTR_NM", 1, 6), Value("道の駅 O'Brien"));
    EXPECT_EQ(cell("D_ACC_ID", 1, 6).toLong(), 4520);
    EXPECT_EQ(cell("D_OPT_ID", 1, 6).toLong(), 2);
    EXPECT_EQ(cell("D_OPT_NM", 1, 6), Value("手数料 10%"));
    EXPECT_EQ(cell("C_ACC_ID", 1, 6).toLong(), 1000);
    EXPECT_EQ(cell("NOTES", 1, 6), Value("備考\\メモ"));
    EXPECT_EQ(cell("AMT", 1, 6).toCurrency(), hb::Currency::fromDouble(1200));
    EXPECT_EQ(cell("D_OPT_KBN", 1, 6), Value(2)) << "each side's option kind is its account's";
    EXPECT_EQ(cell("C_OPT_KBN", 1, 6), Value(0));
    ASSERT_EQ(list.rowCount(), 3);
    EXPECT_EQ(list.ListView1->topLevelItem(static_cast<int>(list.selectedRow()))->text(0), QStringLiteral("6"));
}

TEST_P(LedgeInputBoth, ModifyAndDeleteTouchOnlyTheCurrentGrowersVoucher)
{
    auto &list = openList();
    press(list, 2, 4, [&](hb::frmLedgeInput &in) {
        EXPECT_EQ(in.lblDATA[0]->text(), QStringLiteral("4"));
        EXPECT_EQ(in.txtDATA[0]->text(), QStringLiteral("2008/02/10"));
        EXPECT_EQ(in.cmbDATA[1]->currentText(), QStringLiteral("現金"));
        EXPECT_EQ(in.cmbDATA[2]->currentText(), QStringLiteral("売上高"));
        EXPECT_TRUE(in.cmbDATA[4]->isVisible()) << "sales offer plantings";
        EXPECT_EQ(in.cmbDATA[4]->currentIndex(), -1) << "no option chosen";
        EXPECT_EQ(in.txtDATA[4]->text(), QStringLiteral("3000"));
        enter(in.txtDATA[4], QStringLiteral("3500"));
        hbtest::click(in.cmdMENU[1]);
        settle();
    });
    EXPECT_EQ(cell("AMT", 1, 4).toCurrency(), hb::Currency::fromDouble(3500));
    EXPECT_FALSE(cell("UDATE", 1, 4).isNull());
    EXPECT_EQ(cell("AMT", 2, 4).toCurrency(), hb::Currency::fromDouble(3000)) << "grower 2's voucher 4";
    EXPECT_TRUE(cell("UDATE", 2, 4).isNull());

    press(list, 4, 4, [&](hb::frmLedgeInput &in) {
        EXPECT_EQ(in.cmdMENU[1]->text(), QStringLiteral("削除"));
        hbtest::click(in.cmdMENU[1]);
        settle();
    });
    EXPECT_EQ(count("FMR_ID=1 AND LEDGE_ID=4"), 0);
    EXPECT_EQ(count("FMR_ID=2 AND LEDGE_ID=4"), 1);
    EXPECT_EQ(list.rowCount(), 1);
}

TEST_P(LedgeInputWindow, ACopyStartsEmptyAndItsOptionKindsFollowItsAccounts)
{
    hb::gDb->EXEC("UPDATE D_LEDGE SET D_OPT_KBN=3, D_OPT_ID=1, C_OPT_KBN=2, NOTES='x' WHERE FMR_ID=1 AND LEDGE_ID=5");
    auto &list = openList();
    press(list, 5, 5, [&](hb::frmLedgeInput &in) {
        EXPECT_EQ(hb::gEditMode, hb::kEditAdd);
        EXPECT_EQ(in.lblDATA[0]->text(), QString());
        EXPECT_EQ(in.txtDATA[1]->text(), QString());
        EXPECT_EQ(in.txtDATA[4]->text(), QString());
        EXPECT_EQ(in.cmbDATA[1]->currentText(), QString());
        hbtest::click(in.cmdMENU[1]);
        settle();
    });
    // No account on either side: no option kind, whatever the copied voucher had.
    EXPECT_EQ(cell("D_OPT_KBN", 1, 6), Value(0));
    EXPECT_EQ(cell("C_OPT_KBN", 1, 6), Value(0));
    for (const char *c : {"D_ACC_ID", "D_OPT_ID", "NOTES", "AMT"})
        EXPECT_TRUE(cell(c, 1, 6).isNull()) << c;
}

TEST_P(LedgeInputWindow, OptionBoxesFollowTheAccountsKind)
{
    auto &list = openList();
    press(list, 1, 0, [&](hb::frmLedgeInput &in) {
        QComboBox *acc = in.cmbDATA[1];
        QComboBox *opt = in.cmbDATA[3];
        const auto items = [opt] {
            QStringList out;
            for (int i = 0; i < opt->count(); ++i)
                out << opt->itemText(i);
            return out;
        };
        // The picker open under the date box covers the counterparty box: Tab moves on to it.
        ASSERT_TRUE(in.picker()->isShown());
        hbtest::pressKey(Qt::Key_Tab);
        settle();
        EXPECT_TRUE(in.txtDATA[1]->hasFocus());
        EXPECT_FALSE(in.picker()->isShown());
        choose(acc, QStringLiteral("農薬費"));
        EXPECT_TRUE(opt->isVisible());
        EXPECT_EQ(items(), QStringList({"", "春トマト", "夏なす"})) << "the grower's plantings";
        choose(opt, QStringLiteral("春トマト"));
        EXPECT_EQ(in.work.D_OPT_ID.toLong(), 1);

        // An account whose options cannot be read: the side shows and holds none, and leaving the
        // account again reads them.
        ui->prompts.clear();
        hbtest::withFailingStatements(*hb::gDb, QStringLiteral("DATA.MDB を読めません。"),
                                      [&] { choose(acc, QStringLiteral("農薬")); });
        EXPECT_EQ(ui->promptTexts(), QStringList{QStringLiteral("DATA.MDB を読めません。")});
        EXPECT_FALSE(opt->isVisible());
        EXPECT_TRUE(in.work.D_OPT_ID.isNull()) << "no planting under a purchase account";
        ui->prompts.clear();

        choose(acc, QStringLiteral("農薬"));
        EXPECT_EQ(in.debitOptKind(), 3);
        EXPECT_EQ(items(), QStringList({"", "殺虫剤A"})) << "the grower's valid purchases";
        EXPECT_TRUE(in.work.D_OPT_ID.isNull()) << "a planting is no purchase: the option goes with the kind";

        choose(acc, QStringLiteral("現金"));
        EXPECT_FALSE(opt->isVisible());
        hbtest::focusByClick(in.txtDATA[1]);
        settle();
        EXPECT_FALSE(in.picker()->isShown());
        choose(acc, QStringLiteral("農薬費"));
        EXPECT_TRUE(opt->isVisible());
        EXPECT_EQ(opt->currentIndex(), -1);

        // A name that is no account keeps the focus without a message; an empty box stores 0.
        hbtest::focusByClick(acc);
        closePopup();
        acc->setEditText(QStringLiteral("農"));
        hbtest::pressKey(Qt::Key_Tab);
        closePopup();
        EXPECT_TRUE(acc->hasFocus());
        EXPECT_TRUE(ui->prompts.empty());
        acc->setEditText(QString());
        hbtest::pressKey(Qt::Key_Tab);
        closePopup();
        EXPECT_EQ(in.work.D_ACC_ID.toLong(), 0);
        EXPECT_FALSE(opt->isVisible());
        hbtest::click(in.cmdMENU[0]);
    });
}

TEST_P(LedgeInputWindow, ViewAndDeleteAreLockedAndAResizeKeepsWhatWasTyped)
{
    auto &list = openList();
    press(list, 3, 5, [&](hb::frmLedgeInput &in) {
        EXPECT_EQ(in.cmdMENU[0]->text(), QStringLiteral("閉じる"));
        EXPECT_FALSE(in.cmdMENU[1]->isVisible());
        for (QLineEdit *e : in.txtDATA) {
            EXPECT_TRUE(e->isReadOnly()) << e->objectName().toStdString();
            EXPECT_EQ(e->focusPolicy(), Qt::NoFocus);
        }
        EXPECT_EQ(in.cmbDATA[1]->focusPolicy(), Qt::NoFocus);
        in.picker()->gotFocus(in.txtDATA[0]);
        EXPECT_FALSE(in.picker()->isShown()) << "the date box opens no picker in view mode";
        hbtest::savePicture(&in, QStringLiteral("/tmp/ledgeinput_view.png"));
        hbtest::click(in.cmdMENU[0]);
    });
    press(list, 2, 5, [&](hb::frmLedgeInput &in) {
        EXPECT_FALSE(in.txtDATA[1]->isReadOnly()) << "modify undoes the locked look";
        hbtest::pressKey(Qt::Key_Escape);  // the picker that opened by itself covers the next box
        EXPECT_FALSE(in.picker()->isShown());
        enter(in.txtDATA[1], QStringLiteral("書きかけの相手"), false);
        hbtest::focusByClick(in.txtDATA[0]);
        settle();
        EXPECT_TRUE(in.picker()->isShown());
        hbtest::savePicture(&in, QStringLiteral("/tmp/ledgeinput_picker.png"));
        hbtest::resizeOuter(&in, in.frameGeometry().size() * 1.3);
        settle();
        EXPECT_EQ(in.txtDATA[1]->text(), QStringLiteral("書きかけの相手"));
        EXPECT_EQ(in.txtDATA[0]->text(), QStringLiteral("2008/02/05"));
        hbtest::savePicture(&in, QStringLiteral("/tmp/ledgeinput_resized.png"));
        hbtest::click(in.cmdMENU[0]);
    });
    EXPECT_EQ(cell("CTR_NM", 1, 5), Value("農協")) << "cancel saves nothing";
}

TEST_P(LedgeInputBoth, BadInputAndFailedSavesKeepTheWindowOpenWithItsInput)
{
    auto &list = openList();
    press(list, 1, 0, [&](hb::frmLedgeInput &in) {
        struct Case { QString date, amount, message; QLineEdit *focus; };
        const Case cases[] = {
            {"20081345", "100", "日付を指定してください。", in.txtDATA[0]},
            {"20080220", "12a", "数値を指定してください。", in.txtDATA[4]},
            {"20080220", "1e20", "数値を指定してください。", in.txtDATA[4]},
        };
        for (const Case &c : cases) {
            ui->prompts.clear();
            enter(in.txtDATA[0], c.date);
            enter(in.txtDATA[4], c.amount);
            hbtest::click(in.cmdMENU[1]);
            settle();
            EXPECT_EQ(ui->promptTexts(), QStringList({c.message}));
            EXPECT_TRUE(in.isVisible());
            EXPECT_TRUE(c.focus->hasFocus());
            EXPECT_EQ(count(), 4);
        }
        // The table is out of reach: the failure is reported, nothing is kept, the input stays.
        enter(in.txtDATA[4], QStringLiteral("250"));
        hb::gDb->EXEC("ALTER TABLE D_LEDGE RENAME TO D_LEDGE_AWAY");
        ui->prompts.clear();
        hbtest::click(in.cmdMENU[1]);
        settle();
        EXPECT_EQ(ui->prompts.size(), 1u);
        EXPECT_TRUE(in.isVisible());
        EXPECT_TRUE(hb::gLastLedgeID.isEmpty());
        EXPECT_TRUE(in.work.LEDGE_ID.isNull()) << "the voucher in the window is as before the click";
        EXPECT_EQ(in.txtDATA[4]->text(), QStringLiteral("250"));
        hb::gDb->EXEC("ALTER TABLE D_LEDGE_AWAY RENAME TO D_LEDGE");
        hbtest::click(in.cmdMENU[1]);
        settle();
        EXPECT_FALSE(in.isLoaded());
    });
    EXPECT_EQ(cell("AMT", 1, 6).toCurrency(), hb::Currency::fromDouble(250));
}

// Each statement of a save failing in turn (an add, then a modify): the failure is reported as
// the window reports a failed save, the vouchers and the window stay as they were, and the save
// after the last one goes through.
TEST_P(LedgeInputBoth, EachFailingStatementOfASaveLeavesTheVouchersAndTheWindowAsTheyWere)
{
    auto &list = openList();
    for (int button : {1, 2}) {
        long statements = 0;
        press(list, button, 4, [&](hb::frmLedgeInput &in) {
            enter(in.txtDATA[4], QStringLiteral("1200"));
            const QStringList rows = hbtest::dumpRows(*hb::gDb, "D_LEDGE", "FMR_ID, LEDGE_ID");
            QStringList texts;
            for (QLineEdit *box : in.txtDATA)
                texts << box->text();
            statements = hbtest::failEachClick(*hb::gDb, ui.get(), in.cmdMENU[1], [&](long k, const QString &) {
                    EXPECT_TRUE(in.isVisible()) << k;
                    QStringList now;
                    for (QLineEdit *box : in.txtDATA)
                        now << box->text();
                    EXPECT_EQ(now, texts) << k;
                    EXPECT_EQ(hbtest::dumpRows(*hb::gDb, "D_LEDGE", "FMR_ID, LEDGE_ID"), rows) << k;
                });
            EXPECT_FALSE(in.isLoaded());
        });
        EXPECT_GE(statements, 3) << "button " << button;
        EXPECT_TRUE(ui->prompts.empty());
    }
    EXPECT_EQ(cell("AMT", 1, 4).toCurrency(), hb::Currency::fromDouble(1200));
    EXPECT_EQ(cell("AMT", 1, 6).toCurrency(), hb::Currency::fromDouble(1200));
}

// A voucher deleted meanwhile on another computer: modify or delete writes nothing; the message,
// then the list follows (without it) and the window closes.
TEST_P(LedgeInputBoth, AVoucherGoneMeanwhileIsReportedTheListFollowsAndTheWindowCloses)
{
    for (const int button : {2, 4}) {
        SCOPED_TRACE(button);
        if (button == 4)
            put(1, 5, "2008-02-05", 4160, 1000, 700, "農協");
        auto &list = openList();
        ASSERT_EQ(list.rowCount(), 2);
        ui->prompts.clear();
        bool closed = false;
        press(list, button, 5, [&](hb::frmLedgeInput &in) {
            hb::gDb->EXEC("DELETE FROM D_LEDGE WHERE FMR_ID=1 AND LEDGE_ID=5");
            in.txtDATA[1]->setText(QStringLiteral("変更"));
            hbtest::click(in.cmdMENU[1]);
            settle();
            closed = !in.isLoaded();
        });
        ASSERT_EQ(ui->promptTexts(), QStringList({"該当データが存在しません。"}));
        EXPECT_EQ(ui->prompts[0].style, hb::kMsgCritical);
        EXPECT_TRUE(closed);
        EXPECT_EQ(count("FMR_ID=1 AND LEDGE_ID=5"), 0) << "nothing is written back";
        EXPECT_EQ(list.rowCount(), 1) << "the list follows";
        list.Unload();
        settle();
    }
}

// Each side's option kind is stored from its account; a side whose account changes to another
// kind drops its option, so no voucher reads a planting as a purchase or the reverse.
TEST_P(LedgeInputBoth, EachSidesOptionKindIsItsAccountsAndAChangedKindDropsTheOption)
{
    hb::gDb->EXEC("INSERT INTO D_PLANT (FMR_ID, PLANT_ID, PLANT_NM) VALUES (1, 3, '秋だいこん')");
    struct Case {
        const char *what;
        const char *debitAfter;  // the debit account chosen again before 登録 ("" none)
        Value dKind, dOpt, cKind;
    };
    const Case cases[] = {
        {"pesticide used with planting 3", "", Value(2), Value(3), Value(0)},
        {"then bank deposit", "普通預金", Value(0), Value::null(), Value(0)},
        {"then sales, of the same kind", "売上高", Value(2), Value(3), Value(0)},
        // The planting goes; the Tab then passes the purchase box, whose blank entry is 0.
        {"then pesticide stock", "農薬", Value(3), Value(0), Value(0)},
    };
    long id = 6;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        auto &list = openList();
        press(list, 1, 0, [&](hb::frmLedgeInput &in) {
            hbtest::pressKey(Qt::Key_Tab);  // away from the date box and its picker
            settle();
            choose(in.cmbDATA[1], QStringLiteral("農薬費"));
            choose(in.cmbDATA[3], QStringLiteral("秋だいこん"));
            choose(in.cmbDATA[2], QStringLiteral("現金"));
            if (*c.debitAfter)
                choose(in.cmbDATA[1], QString::fromUtf8(c.debitAfter));
            enter(in.txtDATA[4], QStringLiteral("100"));
            hbtest::click(in.cmdMENU[1]);
            settle();
            EXPECT_FALSE(in.isLoaded());
        });
        EXPECT_EQ(cell("D_OPT_KBN", 1, id), c.dKind);
        EXPECT_EQ(cell("D_OPT_ID", 1, id), c.dOpt);
        EXPECT_EQ(cell("C_OPT_KBN", 1, id), c.cKind);
        EXPECT_TRUE(cell("C_OPT_ID", 1, id).isNull());
        ++id;
        list.Unload();
        settle();
    }
}

TEST_P(LedgeInputBoth, ClosingReleasesThisComputersHolds)
{
    hb::gDb->EXEC("UPDATE D_LEDGE SET HOLD_TM='PC-TEST' WHERE FMR_ID=1 AND LEDGE_ID=4");
    hb::gDb->EXEC("UPDATE D_LEDGE SET HOLD_TM='PC-OTHER' WHERE FMR_ID=1 AND LEDGE_ID=5");
    auto &list = openList();
    press(list, 3, 4, [&](hb::frmLedgeInput &in) { hbtest::click(in.cmdMENU[0]); });
    EXPECT_TRUE(cell("HOLD_TM", 1, 4).isNull());
    EXPECT_EQ(cell("LAST_TM", 1, 4), Value("PC-TEST"));
    EXPECT_EQ(cell("HOLD_TM", 1, 5), Value("PC-OTHER"));
}

}  // namespace
