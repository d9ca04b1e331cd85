// "登録" in the diary-day window as a person uses it: a new day saved with a note, a save that
// fails midway and the second one that completes it, and the way from the month calendar to a
// saved day whose marks the calendar then shows.

#include "diaryfixture.h"
#include "common/failingstatement.h"
#include "bookkeeping/frmdiaryledgeinput.h"
#include "core/datachanged.h"
#include "diary/frmdairycal.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QTreeWidget>

using diarytest::day;
using diarytest::kDay;
using hb::Value;
using hbtest::ctl;
using hbtest::settle;

namespace {

class DiarySaveWindow : public diarytest::DiaryDb {
protected:
    void TearDown() override
    {
        hb::gDiaryLedgeAcc = Value();
        DiaryDb::TearDown();
    }

    static void clickItem(QListWidget *list, int row)
    {
        const QRect r = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          list->viewport()->mapTo(list->window(), r.center()));
        settle();
    }
    // Chooses the entry of a box and leaves it, as a person does with the keyboard.
    static void choose(QComboBox *box, const QString &text)
    {
        box->setFocus(Qt::OtherFocusReason);
        settle();
        box->hidePopup();
        const int i = box->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        box->setCurrentIndex(i);
        hbtest::pressKey(Qt::Key_Tab);
        settle();
    }
    static void typeAndLeave(QWidget *box, const QString &text)
    {
        hbtest::focusByClick(box);
        if (auto *e = qobject_cast<QLineEdit *>(box))
            e->selectAll();
        if (auto *p = qobject_cast<QPlainTextEdit *>(box))
            p->selectAll();
        hbtest::typeText(box, text);
        hbtest::pressKey(Qt::Key_Tab);
        settle();
    }
    // Planting 1 in progress and purchase 7 (500 g for 2,000).
    static void putPlantingAndPurchase()
    {
        putPlant({.id = 1, .name = "トマト", .crop = Value("トマト"), .crop1 = Value("トマト")});
        putPurchase(1, 7, 500, 1, 2000);
    }
    // A pesticide line of planting 1: 2 g of purchase 7, with a note.
    static void addPesticideLine(hb::frmDairyInput &f, const QString &notes)
    {
        clickItem(ctl<QListWidget>(&f, "List1_0"), 0);
        hbtest::click(ctl(&f, "cmdSUB_1"));  // 追加
        settle();
        choose(ctl<QComboBox>(&f, "cmbDATA_1"), "農薬散布");
        typeAndLeave(ctl(&f, "txtDATA_3"), notes);
        choose(ctl<QComboBox>(&f, "cmbDATA_2"), "4/5薬剤7");
        typeAndLeave(ctl(&f, "txtDATA_4"), "2");
        choose(ctl<QComboBox>(&f, "cmbDATA_4"), "g");
    }
    // A cash voucher through the cash book and the voucher dialog: 入金 of `amount` from 雑収入.
    void addCashVoucher(hb::frmDairyInput &f, const char *amount, const QString &picture = QString())
    {
        hbtest::click(ctl(&f, "Option1_1"));  // 出納帳
        hbtest::onModal(ui.get(), "frmDiaryLedgeInput", [&](QDialog *dlg) {
            auto *account = ctl<QComboBox>(dlg, "cmbDATA_1");
            account->setCurrentIndex(account->findText("雑収入"));
            auto *increase = ctl<QLineEdit>(dlg, "txtDATA_5");
            increase->setFocus();
            increase->selectAll();
            QTest::keyClicks(increase, amount);
            if (!picture.isEmpty()) {
                EXPECT_TRUE(hbtest::savePicture(dlg, picture));
            }
            hbtest::click(ctl(dlg, "cmdMENU_1"));  // 設定
        });
        hbtest::click(ctl(&f, "cmdEDIT_0"));  // 追加
        settle();
    }
    static long count(const QString &table, const QString &where = "1=1")
    {
        return static_cast<long>(hb::gDb->DCount("*", table, where).toLong());
    }
    bool server() const { return GetParam() == hbtest::Backend::MariaDb; }
    // Makes every insert of a work line fail, as a locked table would.
    void blockLineInserts(bool on)
    {
        QSqlQuery q(hb::gDb->connection());
        QString sql;
        if (!on)
            sql = "DROP TRIGGER hb_block_lines";
        else if (server())
            sql = "CREATE TRIGGER hb_block_lines BEFORE INSERT ON D_DIARY_DTL FOR EACH ROW "
                  "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'D_DIARY_DTL is locked'";
        else
            sql = "CREATE TRIGGER hb_block_lines BEFORE INSERT ON D_DIARY_DTL "
                  "BEGIN SELECT RAISE(ABORT, 'D_DIARY_DTL is locked'); END";
        ASSERT_TRUE(q.exec(sql)) << q.lastError().text().toStdString();
    }
};

TEST_P(DiarySaveWindow, ANewDaySavedWithANoteGivesOneRowAndTheWindowCloses)
{
    putLedge(1, 3, day(2014, 10, 1), 1000, 4000, 10);
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    openDay(kDay, [&](hb::frmDairyInput &f) {
        typeAndLeave(ctl(&f, "txtDATA_2"), "初霜 'みぞれ'");
        hbtest::click(ctl(&f, "cmdMENU_1"));  // 登録
        EXPECT_FALSE(f.isVisible());
    });
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);
    EXPECT_FALSE(hb::IsFormLoaded("frmDairyInput"));
    EXPECT_EQ(count("D_DIARY"), 1);
    EXPECT_EQ(one("SELECT ONE_MSG FROM D_DIARY"), Value("初霜 'みぞれ'"));
    const QDateTime idate = one("SELECT IDATE FROM D_DIARY").toDate();
    EXPECT_GE(idate, before);
    EXPECT_LE(idate, after);
    EXPECT_TRUE(one("SELECT UDATE FROM D_DIARY").isNull());
    EXPECT_EQ(one("SELECT LAST_TM FROM D_DIARY"), Value("PC-TEST"));
    EXPECT_TRUE(one("SELECT HOLD_TM FROM D_DIARY").isNull());
    EXPECT_EQ(count("D_DIARY_DTL"), 0);
    EXPECT_EQ(count("D_LEDGE"), 1);

    // Saved again: UDATE is set, IDATE stays.
    openDay(kDay, [&](hb::frmDairyInput &f) { hbtest::click(ctl(&f, "cmdMENU_1")); });
    EXPECT_EQ(one("SELECT IDATE FROM D_DIARY").toDate(), idate);
    EXPECT_GE(one("SELECT UDATE FROM D_DIARY").toDate(), before);
    EXPECT_EQ(count("D_DIARY"), 1);
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
}

TEST_P(DiarySaveWindow, AFailedSaveChangesNothingAndTheNextKeepsBothVouchers)
{
    putPlantingAndPurchase();
    putLedge(1, 4, day(2014, 9, 30), 1000, 4000, 100);  // the grower's highest number
    putDay({.oneMsg = Value("前")});
    openDay(kDay, [&](hb::frmDairyInput &f) {
        addPesticideLine(f, "O'Neil式 散布");
        typeAndLeave(ctl(&f, "txtDATA_5"), "It's a \"memo\"");
        ASSERT_EQ(f.lines().size(), 1u);
        ASSERT_EQ(f.lines()[0].QTY, Value(2.0));

        blockLineInserts(true);
        const QStringList tables = dumpDataTables();
        const std::vector<hb::DiaryDtlRec> lines = f.lines();
        hbtest::click(ctl(&f, "cmdMENU_1"));  // 登録 fails while writing the lines
        ASSERT_EQ(ui->prompts.size(), 1u);
        EXPECT_TRUE(ui->prompts[0].text.contains("D_DIARY_DTL is locked")) << ui->prompts[0].text.toStdString();
        EXPECT_EQ(ui->prompts[0].style, hb::kMsgExclamation);
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(dumpDataTables(), tables);
        EXPECT_TRUE(f.lines()[0].LEDGE_ID.isEmpty());  // no number was taken over
        EXPECT_EQ(f.lines()[0].DTL_NO, lines[0].DTL_NO);
        EXPECT_EQ(ledgeIds(), (std::vector<long>{0}));
        blockLineInserts(false);

        // The number the failed save had used goes to the new cash voucher.
        addCashVoucher(f, "500");
        EXPECT_EQ(ledgeIds(), (std::vector<long>{5}));
        EXPECT_EQ(ctl<QTreeWidget>(&f, "ListView1")->topLevelItemCount(), 1);
        hbtest::click(ctl(&f, "cmdMENU_1"));  // 登録
        EXPECT_FALSE(f.isVisible());
    });
    ASSERT_EQ(ui->prompts.size(), 1u) << ui->promptTexts().join('|').toStdString();
    EXPECT_EQ(one("SELECT D_ACC_ID FROM D_LEDGE WHERE LEDGE_ID=5"), Value(1000));
    EXPECT_EQ(one("SELECT C_ACC_ID FROM D_LEDGE WHERE LEDGE_ID=5"), Value(4020));
    EXPECT_DOUBLE_EQ(one("SELECT AMT FROM D_LEDGE WHERE LEDGE_ID=5").toDouble(), 500);
    EXPECT_EQ(one("SELECT LEDGE_ID FROM D_DIARY_DTL WHERE FMR_ID=1"), Value(6));
    EXPECT_EQ(one("SELECT D_ACC_ID FROM D_LEDGE WHERE LEDGE_ID=6"), Value(4160));
    EXPECT_DOUBLE_EQ(one("SELECT AMT FROM D_LEDGE WHERE LEDGE_ID=6").toDouble(), 8);
    EXPECT_EQ(one("SELECT NOTES FROM D_LEDGE WHERE LEDGE_ID=6"), Value("O'Neil式 散布"));
    EXPECT_EQ(one("SELECT NOTES FROM D_DIARY_DTL WHERE FMR_ID=1"), Value("O'Neil式 散布"));
    EXPECT_EQ(one("SELECT NOTES1 FROM D_DIARY WHERE FMR_ID=1"), Value("It's a \"memo\""));
    EXPECT_DOUBLE_EQ(one("SELECT USED_QTY FROM D_DIARY_DTL INNER JOIN D_CHEMI ON D_DIARY_DTL.CHEMI_ID=D_CHEMI.CHEMI_ID")
                         .toDouble(),
                     2);
    EXPECT_EQ(count("D_LEDGE"), 3);
}

TEST_P(DiarySaveWindow, AFailingRedrawAfterTheSaveReachesTheButtonsTrapAndTheWindowStays)
{
    hb::DataChangedListener failing([] { throw hb::HbError(3021, "再描画できません。"); });
    openDay(kDay, [&](hb::frmDairyInput &f) {
        typeAndLeave(ctl(&f, "txtDATA_2"), "晴れ");
        hbtest::click(ctl(&f, "cmdMENU_1"));  // 登録
        EXPECT_TRUE(f.isVisible());
        ASSERT_EQ(ui->prompts.size(), 1u);
        EXPECT_EQ(ui->prompts[0].text, "再描画できません。");
        EXPECT_EQ(ui->prompts[0].style, hb::kMsgExclamation);
    });
    EXPECT_EQ(one("SELECT ONE_MSG FROM D_DIARY"), Value("晴れ")) << "saved before the redraw";
}

// Each statement of the day's save failing in turn (the day row, a pesticide line with its voucher
// and stock, a cash voucher): reported as a failed save, the tables and the window's lines and
// vouchers as they were; the save after the last one goes through.
TEST_P(DiarySaveWindow, EachFailingStatementOfTheSaveLeavesTheTablesAndTheWindowAsTheyWere)
{
    putPlantingAndPurchase();
    putLedge(1, 4, day(2014, 9, 30), 1000, 4000, 100);
    putDay({.oneMsg = Value("前")});
    long statements = 0;
    openDay(kDay, [&](hb::frmDairyInput &f) {
        addPesticideLine(f, "散布");
        addCashVoucher(f, "500");
        typeAndLeave(ctl(&f, "txtDATA_5"), "メモ");
        const QStringList tables = dumpDataTables();
        const auto lineKeys = [&f] {
            QStringList keys;
            for (const hb::DiaryDtlRec &l : f.lines())
                keys << QStringLiteral("%1/%2").arg(hb::IdOf(l.DTL_NO)).arg(hb::IdOf(l.LEDGE_ID));
            return keys;
        };
        const QStringList lines = lineKeys();
        const std::vector<long> vouchers = ledgeIds();
        statements = hbtest::failEachClick(*hb::gDb, ui.get(), ctl(&f, "cmdMENU_1"), [&](long k, const QString &) {
                EXPECT_TRUE(f.isVisible()) << k;
                EXPECT_EQ(dumpDataTables(), tables) << k;
                EXPECT_EQ(lineKeys(), lines) << k;
                EXPECT_EQ(ledgeIds(), vouchers) << k;
                EXPECT_FALSE(hb::gDb->inTransaction()) << k;
            });
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_GT(statements, 8);
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
    EXPECT_EQ(one("SELECT NOTES1 FROM D_DIARY WHERE FMR_ID=1"), Value("メモ"));
    EXPECT_EQ(count("D_LEDGE"), 3);
}

TEST_P(DiarySaveWindow, ADayThatFailedToLoadIsNotSaved)
{
    putDay({.oneMsg = Value("前")});
    hb::gDb->EXEC("DROP TABLE D_DIARY_DTL");
    openDay(kDay, [&](hb::frmDairyInput &f) {
        EXPECT_FALSE(f.dayLoaded());
        EXPECT_EQ(ui->prompts.size(), 1u) << "the failure, once";
        ui->prompts.clear();
        EXPECT_FALSE(ctl(&f, "cmdMENU_1")->isEnabled());
        hbtest::click(ctl(&f, "cmdMENU_1"));  // refused, without a second message
        EXPECT_TRUE(f.isVisible());
        EXPECT_TRUE(ui->prompts.empty());
    });
    EXPECT_EQ(one("SELECT ONE_MSG FROM D_DIARY"), Value("前"));
}

// A line clicked while the data cannot be read: one message, the boxes show the line the list
// marks, and 登録 stores each line as it was shown.
TEST_P(DiarySaveWindow, ALineClickedWhileTheDataCannotBeReadIsSavedAsShown)
{
    putPlantingAndPurchase();
    putLine({.dtl = 1, .kind = 6, .name = Value("草取り"), .notes = Value("線A")});
    putLine({.dtl = 2, .kind = 2, .name = Value("追肥"), .notes = Value("線B")});
    openDay(kDay, [&](hb::frmDairyInput &f) {
        auto *work = ctl<QListWidget>(&f, "List1_1");
        clickItem(ctl<QListWidget>(&f, "List1_0"), 0);
        clickItem(work, 0);
        {
            const auto unreadable = dataUnreadable();
            clickItem(work, 1);
        }
        EXPECT_EQ(ui->promptTexts(),
                  QStringList{server() ? hb::DbObject::lostServerText() : hb::DbObject::lockedText()});
        EXPECT_EQ(ctl<QComboBox>(&f, "cmbDATA_1")->currentText(), "施肥");
        EXPECT_EQ(ctl<QComboBox>(&f, "Combo1_0")->currentText(), "追肥");
        EXPECT_EQ(ctl<QLineEdit>(&f, "txtDATA_3")->text(), "線B");
        // Tab through 作業区分 and 作業名, 直した into 備考, 登録.
        hbtest::focusCombo(ctl<QComboBox>(&f, "cmbDATA_1"));
        hbtest::pressKey(Qt::Key_Tab);
        hbtest::pressKey(Qt::Key_Tab);
        typeAndLeave(ctl(&f, "txtDATA_3"), "直した");
        hbtest::click(ctl(&f, "cmdMENU_1"));
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_EQ(ui->prompts.size(), 1u) << ui->promptTexts().join('|').toStdString();
    EXPECT_EQ(one("SELECT WORK_KBN FROM D_DIARY_DTL WHERE DTL_NO=2"), Value(2));
    EXPECT_EQ(one("SELECT WORK_NM FROM D_DIARY_DTL WHERE DTL_NO=2"), Value("追肥"));
    EXPECT_EQ(one("SELECT NOTES FROM D_DIARY_DTL WHERE DTL_NO=2"), Value("直した"));
}

// From the month calendar with the money and pesticide layers on: a person opens a day, adds a
// pesticide line and a cash voucher, saves, and sees the two marks on that day.
TEST_P(DiarySaveWindow, FromTheCalendarToTheMarksOfTheSavedDay)
{
    putPlantingAndPurchase();
    for (int layer : {hb::kLayerMoney, hb::kLayerPesticide})
        hb::gINI->SaveCtrl(QStringLiteral("CAL_OPT%1").arg(layer), Value(1));
    hb::gUseType = hb::kUseMulti;
    auto &cal = hb::form<hb::frmDairyCal>();
    cal.showModeless();
    ASSERT_TRUE(hbtest::activate(&cal));
    hb::gCalMonth = QDate(2014, 10, 1);
    cal.DispData();
    const hb::CalCell *cell = cal.calView().cellOfDay(24);
    ASSERT_NE(cell, nullptr);
    EXPECT_FALSE(cell->money);
    EXPECT_FALSE(cell->pesticide);

    const bool pictures = GetParam() == hbtest::Backend::Sqlite;
    bool saved = false;
    hbtest::onModal(ui.get(), "frmDairyInput", [&](QDialog *dlg) {
        auto &f = static_cast<hb::frmDairyInput &>(*dlg);
        EXPECT_EQ(f.dayRecord().WORK_DATE.toDate(), kDay.startOfDay());
        addPesticideLine(f, "灰色かび病");
        addCashVoucher(f, "1200", pictures ? "/tmp/hb_diarysave_ledgedialog.png" : QString());
        if (pictures) {
            EXPECT_TRUE(hbtest::savePicture(&f, "/tmp/hb_diarysave_cashbook.png"));
        }
        hbtest::click(ctl(&f, "Option1_0"));
        if (pictures) {
            EXPECT_TRUE(hbtest::savePicture(&f, "/tmp/hb_diarysave_worklines.png"));
        }
        hbtest::click(ctl(&f, "cmdMENU_1"));  // 登録
        saved = !f.isVisible();
    });
    const hb::CalGeometry g = cal.calGeometry();
    const int c = cell->cell;
    auto *pic = ctl(&cal, "Picture1");
    const QPoint at = pic->contentsRect().topLeft()
                      + QPoint(qRound((g.cellX(c) + g.Cw / 2.0) / 15), qRound((g.cellY(c) + g.Ch / 2.0) / 15));
    QTest::mouseClick(pic, Qt::LeftButton, Qt::NoModifier, at);
    settle();
    EXPECT_TRUE(saved);
    EXPECT_TRUE(ui->modalShown.contains("frmDairyInput"));
    cell = cal.calView().cellOfDay(24);
    ASSERT_NE(cell, nullptr);
    EXPECT_TRUE(cell->money);
    EXPECT_TRUE(cell->pesticide);
    EXPECT_FALSE(cal.calView().cellOfDay(23)->money);
    if (pictures) {
        EXPECT_TRUE(hbtest::savePicture(&cal, "/tmp/hb_diarysave_calendar.png"));
    }
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
    hb::gUseType = 0;
}

HB_INSTANTIATE_BOTH_BACKENDS(DiarySaveWindow);

}  // namespace
