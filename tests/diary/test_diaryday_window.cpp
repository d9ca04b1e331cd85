// The diary-day window as a person uses it: opening a day, the header boxes, the plantings and
// their work lines, adding and deleting lines, the pesticide frame, the work-name box, resizing,
// closing and the holds.

#include "diaryfixture.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "shipments/shiprec.h"

using diarytest::day;
using diarytest::kDay;
using hb::Value;
using hbtest::child;
using hbtest::settle;

namespace {

class DiaryWindow : public diarytest::DiaryDb {
protected:
    // Two plantings in progress on the day, a valid pesticide purchase with purposes.
    void putPlantings()
    {
        putPlant({.id = 1, .name = "トマト", .crop = Value("トマト"), .crop1 = Value("トマト"),
                  .planted = day(2014, 4, 3), .harvest = Value("201410"), .area = Value(12.5)});
        putPlant({.id = 2, .name = "キュウリ", .crop = Value("キュウリ"), .planted = day(2014, 5, 1)});
        putChemi(1, 7, "薬剤A", day(2014, 4, 5), 101, Value(-1));
        putChemi(1, 8, "薬剤B", day(2014, 6, 1), 202, Value(-1));
        putChemi(1, 9, "薬剤C", day(2014, 6, 2), 202, Value(0));
        putChemi(2, 10, "薬剤D", day(2014, 6, 3), 202, Value(-1));
        putPurpose(101, "灰色かび病");
        putPurpose(101, "うどんこ病");
    }

    template <class T = QWidget>
    static T *ctl(hb::frmDairyInput &f, const char *name)
    {
        T *w = child<T>(&f, QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    // A click on an entry of a list, through the window as the mouse does.
    static void clickItem(QListWidget *list, int row)
    {
        ASSERT_LT(row, list->count());
        const QRect r = list->visualItemRect(list->item(row));
        const QPoint p = list->viewport()->mapTo(list->window(), r.center());
        QTest::mouseClick(list->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier, p);
        settle();
    }
    static int rowOf(QListWidget *list, const QString &text)
    {
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->text() == text)
                return i;
        }
        return -1;
    }
    // Replaces a box's text as a person types it, then leaves the box with Tab.
    static void typeAndLeave(QWidget *box, const QString &text)
    {
        hbtest::focusByClick(box);
        QWidget *target = box;
        if (auto *c = qobject_cast<QComboBox *>(box); c && c->lineEdit())
            target = c->lineEdit();
        if (auto *e = qobject_cast<QLineEdit *>(target))
            e->selectAll();
        if (auto *p = qobject_cast<QPlainTextEdit *>(target))
            p->selectAll();
        if (text.isEmpty())
            hbtest::pressKey(Qt::Key_Delete, target);
        else
            hbtest::typeText(target, text);
        hbtest::pressKey(Qt::Key_Tab);
    }
    // Chooses an entry of a list-only box and leaves it.
    static void choose(QComboBox *box, const QString &text)
    {
        box->setFocus(Qt::OtherFocusReason);
        settle();
        const int i = box->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        box->setCurrentIndex(i);
        hbtest::pressKey(Qt::Key_Tab);
    }
    // "追加"; the kind-of-work list it opens is closed again.
    static void addLine(hb::frmDairyInput &f)
    {
        hbtest::click(ctl(f, "cmdSUB_1"));
        child<QComboBox>(&f, "cmbDATA_1")->hidePopup();
        settle();
    }
};

std::vector<long> numbers(const std::vector<hb::DiaryDtlRec> &lines)
{
    std::vector<long> out;
    for (const auto &l : lines)
        out.push_back(hb::IdOf(l.DTL_NO));
    return out;
}

TEST_P(DiaryWindow, EachOpeningShowsItsOwnDay)
{
    putDay({.wth = Value(3), .lo = Value(2.5), .hi = Value(14), .oneMsg = Value("A日"), .notes1 = Value("メモA"),
            .notes2 = Value("備忘A")});
    putDay({.date = kDay.addDays(1), .oneMsg = Value("B日")});
    QString caption;
    openDay(kDay, [&](hb::frmDairyInput &f) {
        caption = f.windowTitle();
        EXPECT_EQ(ctl<QLabel>(f, "lblDATA_0")->text(), "2014/10/24");
        EXPECT_EQ(ctl<QLineEdit>(f, "txtDATA_0")->text(), "2.5");
        EXPECT_EQ(ctl<QLineEdit>(f, "txtDATA_1")->text(), "14");
        EXPECT_EQ(ctl<QLineEdit>(f, "txtDATA_2")->text(), "A日");
        EXPECT_EQ(ctl<QPlainTextEdit>(f, "txtDATA_5")->toPlainText(), "メモA");
        EXPECT_EQ(ctl<QPlainTextEdit>(f, "txtDATA_6")->toPlainText(), "備忘A");
        EXPECT_EQ(ctl<QComboBox>(f, "cmbDATA_0")->currentText(), "曇り");
        EXPECT_TRUE(ctl<QWidget>(f, "Frame1_0")->isVisible());
        EXPECT_FALSE(ctl<QWidget>(f, "Frame1_1")->isVisible());
        EXPECT_TRUE(ctl<QRadioButton>(f, "Option1_0")->isChecked());
    });
    EXPECT_EQ(caption, "日誌入力（2014/10/24） 旧閏9/1 戊辰 先負");
    openDay(kDay.addDays(1), [&](hb::frmDairyInput &f) {
        EXPECT_TRUE(f.windowTitle().startsWith("日誌入力（2014/10/25） "));
        EXPECT_EQ(ctl<QLabel>(f, "lblDATA_0")->text(), "2014/10/25");
        EXPECT_EQ(ctl<QLineEdit>(f, "txtDATA_2")->text(), "B日");
        EXPECT_EQ(ctl<QLineEdit>(f, "txtDATA_0")->text(), "0");  // a Null temperature shows 0
        EXPECT_EQ(ctl<QComboBox>(f, "cmbDATA_0")->currentIndex(), 0);
    });
    // Without sexagenary labels the window still opens, without a message.
    hb::gWork->EXEC("DELETE FROM L_ETO");
    openDay(kDay, [&](hb::frmDairyInput &f) { caption = f.windowTitle(); });
    EXPECT_EQ(caption, "日誌入力（2014/10/24） 旧閏9/1  先負");
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join("|").toStdString();
}

TEST_P(DiaryWindow, DayWithoutRowShowsEmptyHeaderAndItsLines)
{
    putPlantings();
    putLine({.dtl = 1, .plant = Value(1), .name = Value("誘引")});
    putLine({.dtl = 2, .plant = Value(2), .name = Value("収穫")});
    putLine({.dtl = 3, .plant = Value(1), .name = Value::null()});
    putDay({.date = kDay.addDays(1), .wth = Value(99)});  // a weather no entry carries
    openDay(kDay, [&](hb::frmDairyInput &f) {
        for (const char *box : {"txtDATA_0", "txtDATA_1", "txtDATA_2"})
            EXPECT_EQ(ctl<QLineEdit>(f, box)->text(), "") << box;
        EXPECT_EQ(ctl<QPlainTextEdit>(f, "txtDATA_5")->toPlainText(), "");
        EXPECT_EQ(ctl<QComboBox>(f, "cmbDATA_0")->currentIndex(), 0);
        EXPECT_EQ(ctl<QComboBox>(f, "cmbDATA_0")->currentText(), "");
        EXPECT_EQ(numbers(f.lines()), (std::vector<long>{1, 2, 3}));

        auto *plantings = ctl<QListWidget>(f, "List1_0");
        ASSERT_EQ(plantings->count(), 2);
        EXPECT_EQ(plantings->item(0)->text(), "トマト");
        auto *work = ctl<QListWidget>(f, "List1_1");
        EXPECT_EQ(work->count(), 0);
        clickItem(plantings, 0);
        ASSERT_EQ(work->count(), 2);  // the planting's lines in the day's order; a Null name is empty
        EXPECT_EQ(work->item(0)->text(), "誘引");
        EXPECT_EQ(work->item(1)->text(), "");
        EXPECT_EQ(ctl<QLabel>(f, "lblDATA_2")->text(), "トマト");
        EXPECT_EQ(ctl<QLabel>(f, "lblDATA_3")->text(), "2014/10");
        EXPECT_EQ(ctl<QLabel>(f, "lblDATA_4")->text(), "2014/04/03");
        EXPECT_EQ(ctl<QLabel>(f, "lblDATA_5")->text(), "12.5");
        EXPECT_FALSE(ctl<QWidget>(f, "cmbDATA_1")->isVisible());  // no line current yet
        // The other planting clicked while the data cannot be read: one message, its lines, and
        // none of the first planting's facts beside them.
        {
            const auto unreadable = dataUnreadable();
            clickItem(plantings, 1);
        }
        EXPECT_EQ(ui->prompts.size(), 1u) << ui->promptTexts().join("|").toStdString();
        for (const char *label : {"lblDATA_2", "lblDATA_3", "lblDATA_4", "lblDATA_5"})
            EXPECT_EQ(ctl<QLabel>(f, label)->text(), "") << label;
        ui->prompts.clear();
        ASSERT_EQ(work->count(), 1);
        EXPECT_EQ(work->item(0)->text(), "収穫");
    });
    EXPECT_EQ(one("SELECT COUNT(*) FROM D_DIARY WHERE WORK_DATE=?", {day(2014, 10, 24)}), Value(0));
    openDay(kDay.addDays(1), [&](hb::frmDairyInput &f) {
        EXPECT_EQ(ctl<QComboBox>(f, "cmbDATA_0")->currentIndex(), 0);
        EXPECT_EQ(ctl<QLineEdit>(f, "txtDATA_0")->text(), "0");
        EXPECT_EQ(ctl<QLineEdit>(f, "txtDATA_1")->text(), "0");
        EXPECT_EQ(ctl<QLineEdit>(f, "txtDATA_2")->text(), "");
    });
}

TEST_P(DiaryWindow, ClosingReleasesTheHoldsAndWritesNothingElse)
{
    putDay({.wth = Value(1), .oneMsg = Value("前"), .lastTm = Value("OLD-PC"), .holdTm = Value("OTHER-PC")});
    putDay({.date = kDay.addDays(-7), .lastTm = Value("OLD-PC"), .holdTm = Value("PC-TEST")});
    putLine({.dtl = 1, .name = Value("耕うん")});
    putLedge(1, 3, day(2014, 10, 24), 1000, 4000, 800);
    putLedge(1, 4, day(2014, 9, 1), 1000, 4000, 100, Value("PC-TEST"));
    // Held by this computer for another grower, or by another computer: all as before the index.
    putDay({.fmr = 2, .date = kDay.addDays(-400), .holdTm = Value("PC-TEST")});
    putDay({.fmr = 2, .date = kDay.addDays(-1), .holdTm = Value("OTHER-PC")});
    putLedge(2, 5, day(2013, 1, 1), 1000, 4000, 100, Value("PC-TEST"));
    putLedge(2, 6, day(2014, 10, 24), 1000, 4000, 100, Value("OTHER-PC"));
    const auto snapshot = [&] {
        QStringList rows;
        for (const char *sql : {"SELECT * FROM D_DIARY ORDER BY WORK_DATE", "SELECT * FROM D_DIARY_DTL",
                                "SELECT * FROM D_LEDGE ORDER BY LEDGE_ID"}) {
            auto rs = hb::gDb->GetFwdOnlyRst(sql);
            while (!rs->eof()) {
                QStringList cols;
                for (int i = 0; i < rs->FieldCount(); ++i) {
                    if (rs->FieldName(i) != "LAST_TM" && rs->FieldName(i) != "HOLD_TM")
                        cols << rs->Fields(i).displayText();
                }
                rows << cols.join(',');
                rs->MoveNext();
            }
        }
        return rows;
    };
    const QStringList before = snapshot();
    openDay(kDay, [&](hb::frmDairyInput &f) {
        EXPECT_EQ(one("SELECT HOLD_TM FROM D_DIARY WHERE WORK_DATE=?", {day(2014, 10, 24)}), Value("PC-TEST"));
        EXPECT_EQ(f.dayRecord().HOLD_TM, Value("OTHER-PC"));
        typeAndLeave(ctl(f, "txtDATA_2"), "変更した");
        EXPECT_EQ(f.dayRecord().ONE_MSG, Value("変更した"));
        hbtest::click(ctl(f, "cmdMENU_0"));  // 閉じる
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_EQ(snapshot(), before);
    // Every row this computer held is released into LAST_TM; the others keep theirs.
    EXPECT_EQ(one("SELECT COUNT(*) FROM D_DIARY WHERE HOLD_TM IS NOT NULL"), Value(1));
    EXPECT_EQ(one("SELECT COUNT(*) FROM D_LEDGE WHERE HOLD_TM IS NOT NULL"), Value(1));
    EXPECT_EQ(one("SELECT HOLD_TM FROM D_DIARY WHERE FMR_ID=2 AND WORK_DATE=?", {day(2014, 10, 23)}), Value("OTHER-PC"));
    EXPECT_EQ(one("SELECT HOLD_TM FROM D_LEDGE WHERE LEDGE_ID=6"), Value("OTHER-PC"));
    EXPECT_EQ(one("SELECT LAST_TM FROM D_DIARY WHERE FMR_ID=1 AND WORK_DATE=?", {day(2014, 10, 24)}), Value("PC-TEST"));
    EXPECT_EQ(one("SELECT LAST_TM FROM D_DIARY WHERE WORK_DATE=?", {day(2014, 10, 17)}), Value("PC-TEST"));
    EXPECT_EQ(one("SELECT LAST_TM FROM D_DIARY WHERE FMR_ID=2 AND HOLD_TM IS NULL"), Value("PC-TEST"));
    EXPECT_EQ(one("SELECT LAST_TM FROM D_LEDGE WHERE LEDGE_ID=4"), Value("PC-TEST"));
    EXPECT_EQ(one("SELECT LAST_TM FROM D_LEDGE WHERE LEDGE_ID=5"), Value("PC-TEST"));
    EXPECT_EQ(one("SELECT LAST_TM FROM D_LEDGE WHERE LEDGE_ID=3"), Value("OLD-PC"));
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join("|").toStdString();
}

// A day whose hold cannot be written (a read-only file, a full disk) opens to be read: the failure
// once, the day shown, 登録 refused, nothing written.
TEST_P(DiaryWindow, ADayWhoseHoldCannotBeWrittenOpensToBeRead)
{
    putDay({.oneMsg = Value("晴"), .lastTm = Value("OLD-PC")});
    putLine({.dtl = 1, .name = Value("耕うん")});
    const QString readOnly = hb::DbObject::readOnlyText(QStringLiteral("DATA.MDB"));
    hb::DbObject::statementStartHook = [&](const hb::DbObject &, const QString &sql) {
        if (sql.startsWith(QLatin1String("UPDATE D_DIARY ")))
            throw hb::HbError(hb::kErrDatabase, readOnly);
    };
    openDay(kDay, [&](hb::frmDairyInput &f) {
        EXPECT_EQ(ui->promptTexts(), QStringList{readOnly});
        EXPECT_EQ(ctl<QLineEdit>(f, "txtDATA_2")->text(), "晴");
        EXPECT_EQ(f.lines().size(), 1u);
        EXPECT_FALSE(ctl(f, "cmdMENU_1")->isEnabled());
        typeAndLeave(ctl(f, "txtDATA_2"), "雨");
        hbtest::click(ctl(f, "cmdMENU_1"));  // 登録: refused
        EXPECT_TRUE(f.isVisible());
        hbtest::click(ctl(f, "cmdMENU_0"));
    });
    hb::DbObject::statementStartHook = nullptr;
    EXPECT_EQ(ui->promptTexts(), QStringList{readOnly});
    EXPECT_EQ(one("SELECT ONE_MSG FROM D_DIARY"), Value("晴"));
    EXPECT_TRUE(one("SELECT HOLD_TM FROM D_DIARY").isNull());
}

TEST_P(DiaryWindow, ResizingAndMaximisingKeepTheEdits)
{
    putPlantings();
    putLine({.dtl = 1, .plant = Value(1), .name = Value("誘引")});
    openDay(kDay, [&](hb::frmDairyInput &f) {
        typeAndLeave(ctl(f, "txtDATA_2"), "晴天続き");
        typeAndLeave(ctl(f, "txtDATA_1"), "21.5");
        clickItem(ctl<QListWidget>(f, "List1_0"), 0);
        addLine(f);  // 追加
        ASSERT_EQ(f.lines().size(), 2u);
        auto *combo = ctl<QComboBox>(f, "Combo1_0");
        auto *kind = ctl<QComboBox>(f, "cmbDATA_1");
        auto *box = ctl<QLineEdit>(f, "txtDATA_0");
        const QRect comboDesign = combo->geometry(), kindDesign = kind->geometry(), boxDesign = box->geometry();

        hbtest::resizeOuter(&f, QSize(1240, 920));
        f.setWindowState(Qt::WindowMaximized);
        settle();
        hbtest::resizeOuter(&f, QSize(1240, 920));
        EXPECT_EQ(ctl<QLineEdit>(f, "txtDATA_2")->text(), "晴天続き");
        EXPECT_EQ(ctl<QLineEdit>(f, "txtDATA_1")->text(), "21.5");
        EXPECT_EQ(f.dayRecord().ONE_MSG, Value("晴天続き"));
        EXPECT_EQ(f.dayRecord().HI_TMP, Value(21.5));
        EXPECT_EQ(numbers(f.lines()), (std::vector<long>{1, 2}));
        EXPECT_EQ(ctl<QListWidget>(f, "List1_1")->count(), 2);
        // The combo boxes, the work-name box too, keep their height as far as their larger font
        // lets them (their text is never cut); the rest scales.
        EXPECT_NEAR(f.scaleX(), 1.5, 0.01);
        EXPECT_EQ(combo->height(), std::max(comboDesign.height(), combo->sizeHint().height()));
        EXPECT_EQ(kind->height(), std::max(kindDesign.height(), kind->sizeHint().height()));
        EXPECT_NEAR(combo->width(), comboDesign.width() * f.scaleX(), 2);
        EXPECT_NEAR(box->height(), boxDesign.height() * f.scaleY(), 2);
    });
}

TEST_P(DiaryWindow, AShipmentLineShowsItsShipmentInTheShipmentInput)
{
    putPlantings();
    for (long fmr : {2L, 1L}) {  // another grower's shipment with the same number comes first
        hb::gDb->EXEC("INSERT INTO D_SHIP (FMR_ID, SHIP_ID, SHIP_DATE, PLANT_ID, SHOP_ID, PRD_NM) VALUES (?, 5, ?, 1, 1, ?)",
                      {Value(fmr), day(2014, 10, 24), Value(QStringLiteral("商品%1").arg(fmr))});
    }
    putPlant({.fmr = 2, .id = 1, .name = QStringLiteral("他の作付")});
    hb::gDb->EXEC("INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO, PLANT_ID, WORK_KBN, WORK_NM, SHIP_ID) "
                  "VALUES (1, ?, 1, 1, 8, '出荷', 5)", {day(2014, 10, 24)});
    Value shownFmr, shownPrd;
    int shownMode = 0;
    // What the diary hands to the shipment input (the window itself is tested with the shipments).
    ui->modalHandlers["frmShipInput"] = [&](QDialog *d) {
        shownMode = hb::gEditMode;
        shownFmr = hb::gShip.at(0).FMR_ID;
        shownPrd = hb::gShip.at(0).PRD_NM;
        d->reject();
        return 0;
    };
    openDay(kDay, [&](hb::frmDairyInput &f) {
        clickItem(ctl<QListWidget>(f, "List1_0"), 0);
        auto *work = ctl<QListWidget>(f, "List1_1");
        clickItem(work, rowOf(work, "出荷"));
        ASSERT_EQ(ctl<QPushButton>(f, "cmdSUB_0")->text(), "参照");
        hbtest::click(ctl(f, "cmdSUB_0"));
        EXPECT_EQ(numbers(f.lines()), (std::vector<long>{1}));  // nothing deleted
    });
    EXPECT_EQ(ui->modalShown.count("frmShipInput"), 1);
    EXPECT_EQ(shownMode, hb::kEditView);
    EXPECT_EQ(hb::gEditRow, 0);
    EXPECT_EQ(shownFmr, Value(1));
    EXPECT_EQ(shownPrd, Value("商品1"));
}

TEST_P(DiaryWindow, AddingAndDeletingLinesAndTheirVouchers)
{
    putPlantings();
    putLine({.dtl = 1, .plant = Value(1), .name = Value("一")});
    putLine({.dtl = 2, .plant = Value(1), .name = Value("二"), .chemi = Value(7), .qty = Value(2), .ledge = Value(7)});
    putLine({.dtl = 3, .plant = Value(1), .name = Value("三")});
    putLedge(1, 7, day(2014, 10, 24), 4160, 1130, 16);
    putLedge(1, 8, day(2014, 10, 24), 1000, 4000, 500);
    openDay(kDay, [&](hb::frmDairyInput &f) {
        auto *plantings = ctl<QListWidget>(f, "List1_0");
        auto *work = ctl<QListWidget>(f, "List1_1");
        clickItem(plantings, 0);
        addLine(f);  // 追加 on lines 1-3
        EXPECT_EQ(numbers(f.lines()), (std::vector<long>{1, 2, 3, 4}));
        EXPECT_EQ(f.lines()[3].PLANT_ID, Value(1));
        EXPECT_EQ(f.currentLine(), 3);
        EXPECT_EQ(work->currentRow(), 3);
        EXPECT_TRUE(ctl(f, "cmbDATA_1")->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), ctl(f, "cmbDATA_1"));

        clickItem(work, rowOf(work, "二"));
        EXPECT_EQ(f.currentLine(), 1);
        hbtest::click(ctl(f, "cmdSUB_0"));  // 削除 of the line with voucher 7
        EXPECT_EQ(numbers(f.lines()), (std::vector<long>{1, 3, 4}));
        EXPECT_EQ(ledgeIds(), (std::vector<long>{8}));
        EXPECT_EQ(f.currentLine(), -1);
        EXPECT_FALSE(ctl(f, "cmbDATA_1")->isVisible());
        addLine(f);
        EXPECT_EQ(numbers(f.lines()), (std::vector<long>{1, 3, 4, 5}));  // no number taken twice

        clickItem(work, rowOf(work, "一"));
        hbtest::click(ctl(f, "cmdSUB_0"));  // no voucher: gLedge stays
        EXPECT_EQ(ledgeIds(), (std::vector<long>{8}));
        hbtest::click(ctl(f, "cmdSUB_0"));  // no line current: only the lists are refreshed
        EXPECT_EQ(numbers(f.lines()), (std::vector<long>{3, 4, 5}));

        // A line added with no planting chosen is kept, not listed, and shows no boxes.
        plantings->setCurrentRow(-1);
        plantings->clearSelection();
        addLine(f);
        EXPECT_EQ(numbers(f.lines()), (std::vector<long>{3, 4, 5, 6}));
        EXPECT_TRUE(f.lines()[3].PLANT_ID.isEmpty());
        EXPECT_FALSE(ctl(f, "cmbDATA_1")->isVisible());

        // A book chosen while the data cannot be read is shown empty: never the work page under
        // its option, nor the sums of the book shown before.
        ui->prompts.clear();
        {
            const auto unreadable = dataUnreadable();
            hbtest::click(ctl(f, "Option1_1"));
        }
        EXPECT_FALSE(ctl(f, "Frame1_0")->isVisible());
        hbtest::click(ctl(f, "Option1_0"));
        hbtest::click(ctl(f, "Option1_1"));
        EXPECT_NE(ctl<QLabel>(f, "lblSUM_3")->text(), "");
        {
            const auto unreadable = dataUnreadable();
            hbtest::click(ctl(f, "Option1_2"));
        }
        EXPECT_EQ(ui->prompts.size(), 2u) << ui->promptTexts().join("|").toStdString();
        for (const char *sum : {"lblSUM_0", "lblSUM_1", "lblSUM_2", "lblSUM_3"})
            EXPECT_EQ(ctl<QLabel>(f, sum)->text(), "") << sum;
    });
    EXPECT_EQ(one("SELECT COUNT(*) FROM D_DIARY_DTL"), Value(3));  // nothing is written before 登録
    EXPECT_EQ(one("SELECT COUNT(*) FROM D_LEDGE"), Value(2));
}

TEST_P(DiaryWindow, DeletingTheOnlyVoucherOrTheOnlyLineLeavesOneEmptyElement)
{
    putPlantings();
    putLine({.dtl = 1, .plant = Value(2), .name = Value("防除"), .chemi = Value(8), .ledge = Value(7)});
    putLedge(1, 7, day(2014, 10, 24), 4160, 1130, 16);
    openDay(kDay, [&](hb::frmDairyInput &f) {
        clickItem(ctl<QListWidget>(f, "List1_0"), 1);
        clickItem(ctl<QListWidget>(f, "List1_1"), 0);
        hbtest::click(ctl(f, "cmdSUB_0"));
        ASSERT_EQ(hb::gLedge.size(), 1u);
        EXPECT_TRUE(hb::gLedge[0].LEDGE_ID.isEmpty());
        ASSERT_EQ(f.lines().size(), 1u);
        EXPECT_TRUE(f.lines()[0].DTL_NO.isEmpty());
        EXPECT_EQ(ctl<QListWidget>(f, "List1_1")->count(), 0);
        addLine(f);  // the empty element takes the new line as number 1
        ASSERT_EQ(f.lines().size(), 1u);
        EXPECT_EQ(f.lines()[0].DTL_NO, Value(1));
    });
}

TEST_P(DiaryWindow, PesticideFrameAndWhatItsBoxesStore)
{
    putPlantings();
    putLine({.dtl = 1, .plant = Value(1), .kind = 5, .name = Value("防除"), .chemi = Value(7),
             .chemiNm = Value("4/5薬剤A"), .purpose = Value("灰色かび病"), .qty = Value(2.5), .unit = Value(4),
             .ledge = Value(12)});
    putLine({.dtl = 2, .plant = Value(1), .kind = 1, .name = Value("耕うん")});
    openDay(kDay, [&](hb::frmDairyInput &f) {
        auto *work = ctl<QListWidget>(f, "List1_1");
        auto *frame = ctl(f, "Frame2");
        auto *chemi = ctl<QComboBox>(f, "cmbDATA_2");
        auto *purpose = ctl<QComboBox>(f, "cmbDATA_3");
        auto *qty = ctl<QLineEdit>(f, "txtDATA_4");
        auto *unit = ctl<QComboBox>(f, "cmbDATA_4");
        auto *kind = ctl<QComboBox>(f, "cmbDATA_1");
        clickItem(ctl<QListWidget>(f, "List1_0"), 0);
        clickItem(work, 1);
        // The pesticide line clicked while the data cannot be read: one message, the boxes show
        // the line the list marks, and leaving its kind keeps its kind, its use and its voucher.
        {
            const auto unreadable = dataUnreadable();
            clickItem(work, 0);
        }
        EXPECT_EQ(ui->prompts.size(), 1u) << ui->promptTexts().join("|").toStdString();
        ui->prompts.clear();
        EXPECT_EQ(f.currentLine(), 0);
        EXPECT_EQ(kind->currentText(), "農薬散布");
        EXPECT_EQ(ctl<QComboBox>(f, "Combo1_0")->currentText(), "防除");
        EXPECT_EQ(ctl<QComboBox>(f, "Combo1_0")->count(), 0);  // the names of the other line are not offered
        EXPECT_TRUE(frame->isVisible());
        EXPECT_EQ(purpose->currentText(), "灰色かび病");
        EXPECT_EQ(purpose->count(), 0);
        hbtest::focusCombo(kind);
        hbtest::pressKey(Qt::Key_Tab);
        EXPECT_EQ(f.lines()[0].WORK_KBN, Value(5));
        EXPECT_EQ(f.lines()[0].CHEMI_ID, Value(7));
        EXPECT_EQ(f.lines()[0].LEDGE_ID, Value(12));
        clickItem(work, 1);
        clickItem(work, 0);
        ASSERT_TRUE(frame->isVisible());
        // This grower's valid purchases only, "m/d" and the name.
        QStringList offered;
        for (int i = 0; i < chemi->count(); ++i)
            offered << chemi->itemText(i);
        EXPECT_EQ(offered, (QStringList{"", "4/5薬剤A", "6/1薬剤B"}));
        EXPECT_EQ(chemi->currentText(), "4/5薬剤A");
        EXPECT_EQ(purpose->currentText(), "灰色かび病");
        EXPECT_EQ(purpose->count(), 3);  // the purposes of the purchase shown
        EXPECT_EQ(qty->text(), "2.5");
        EXPECT_EQ(unit->currentText(), "mL");

        // A purpose that is not in the list is kept as typed.
        typeAndLeave(purpose, "自家用の目的");
        EXPECT_EQ(f.lines()[0].PURPOSE, Value("自家用の目的"));
        // Letters in a quantity or a temperature are refused; the focus stays.
        ui->prompts.clear();
        typeAndLeave(qty, "abc");
        ASSERT_EQ(ui->prompts.size(), 1u);
        EXPECT_EQ(ui->prompts[0].text, "数値を入力してください。");
        EXPECT_EQ(ui->prompts[0].style, 48);
        EXPECT_EQ(ui->prompts[0].title, hb::kProgramTitle);
        EXPECT_EQ(QApplication::focusWidget(), qty);
        EXPECT_EQ(f.lines()[0].QTY, Value(2.5));
        typeAndLeave(qty, "1,000");
        EXPECT_EQ(f.lines()[0].QTY, Value(1000.0));
        EXPECT_EQ(qty->text(), "1000");
        typeAndLeave(ctl(f, "txtDATA_0"), "寒い");
        EXPECT_EQ(ui->prompts.size(), 2u);
        EXPECT_EQ(QApplication::focusWidget(), ctl(f, "txtDATA_0"));
        EXPECT_TRUE(f.dayRecord().LO_TMP.isEmpty());
        typeAndLeave(ctl(f, "txtDATA_0"), "-3.5");
        EXPECT_EQ(f.dayRecord().LO_TMP, Value(-3.5));

        // Choosing another purchase: the purposes follow it, the box still shows the line's purpose.
        clickItem(work, 0);
        choose(chemi, "6/1薬剤B");
        EXPECT_EQ(f.lines()[0].CHEMI_ID, Value(8));
        EXPECT_EQ(f.lines()[0].CHEMI_NM, Value("6/1薬剤B"));
        EXPECT_EQ(purpose->count(), 1);
        EXPECT_EQ(purpose->currentText(), "自家用の目的");

        // Another kind of work hides the frame and clears the use; the voucher number stays. So
        // it does while the data cannot be read: the frame shows no use that 登録 would delete.
        ui->prompts.clear();
        {
            const auto unreadable = dataUnreadable();
            choose(kind, "除草");
        }
        EXPECT_EQ(ui->prompts.size(), 1u) << ui->promptTexts().join("|").toStdString();
        EXPECT_FALSE(frame->isVisible());
        const hb::DiaryDtlRec &l = f.lines()[0];
        EXPECT_EQ(l.WORK_KBN, Value(6));
        EXPECT_EQ(l.CHEMI_ID, Value(0));
        EXPECT_TRUE(l.CHEMI_NM.isNull());
        EXPECT_TRUE(l.PURPOSE.isNull());
        EXPECT_TRUE(l.QTY.isNull());
        EXPECT_EQ(l.UNIT_ID, Value(0));
        EXPECT_EQ(l.LEDGE_ID, Value(12));
        // Back to pesticide application: an empty frame.
        choose(ctl<QComboBox>(f, "cmbDATA_1"), "農薬散布");
        EXPECT_TRUE(frame->isVisible());
        EXPECT_EQ(chemi->currentIndex(), 0);
        EXPECT_EQ(unit->currentIndex(), 0);
        EXPECT_EQ(qty->text(), "");
        EXPECT_EQ(purpose->currentText(), "");

        // The other line: a plain kind, no frame, its use untouched by leaving the box.
        clickItem(work, 1);
        EXPECT_FALSE(frame->isVisible());
        choose(ctl<QComboBox>(f, "cmbDATA_1"), "耕うん");
        EXPECT_TRUE(f.lines()[1].CHEMI_ID.isNull());
        EXPECT_EQ(f.lines()[1].LEDGE_ID, Value(0));
        // The weather stores its ID; the blank entry stores 0.
        choose(ctl<QComboBox>(f, "cmbDATA_0"), "雨");
        EXPECT_EQ(f.dayRecord().WTH_ID, Value(5));
        choose(ctl<QComboBox>(f, "cmbDATA_0"), "");
        EXPECT_EQ(f.dayRecord().WTH_ID, Value(0));
    });
}

TEST_P(DiaryWindow, WorkNameBoxOffersTheHistoryAndRenamesTheLine)
{
    putPlantings();
    putLine({.date = kDay.addDays(-1), .dtl = 1, .plant = Value(1), .kind = 2, .name = Value("追肥")});
    putLine({.date = kDay.addDays(-2), .dtl = 1, .plant = Value(2), .kind = 2, .name = Value("元肥")});
    putLine({.dtl = 1, .plant = Value(1), .kind = 2, .name = Value("液肥")});
    openDay(kDay, [&](hb::frmDairyInput &f) {
        auto *work = ctl<QListWidget>(f, "List1_1");
        auto *names = ctl<QComboBox>(f, "Combo1_0");
        clickItem(ctl<QListWidget>(f, "List1_0"), 0);
        clickItem(work, 0);
        QStringList offered;
        for (int i = 0; i < names->count(); ++i)
            offered << names->itemText(i);
        EXPECT_EQ(offered, (QStringList{"液肥", "追肥", "元肥"}));  // this crop's first
        EXPECT_EQ(names->currentText(), "液肥");
        typeAndLeave(names, "葉面散布");
        EXPECT_EQ(f.lines()[0].WORK_NM, Value("葉面散布"));
        EXPECT_EQ(work->item(0)->text(), "葉面散布");
        typeAndLeave(names, "");
        EXPECT_TRUE(f.lines()[0].WORK_NM.isNull());
        typeAndLeave(ctl(f, "txtDATA_3"), "下葉かき");
        EXPECT_EQ(f.lines()[0].NOTES, Value("下葉かき"));
    });
}

TEST_P(DiaryWindow, PicturesOfTheWorkPageAndTheVoucherPage)
{
    if (GetParam() != hbtest::Backend::Sqlite)
        GTEST_SKIP() << "one set of pictures is enough";
    putPlantings();
    putDay({.wth = Value(2), .lo = Value(8.5), .hi = Value(19), .oneMsg = Value("朝露多し"),
            .notes1 = Value("ハウスの換気扇を点検する。"), .notes2 = Value("来週 追肥")});
    putLine({.dtl = 1, .plant = Value(1), .kind = 5, .name = Value("防除"), .chemi = Value(7),
             .chemiNm = Value("4/5薬剤A"), .purpose = Value("灰色かび病"), .qty = Value(250), .unit = Value(4)});
    putLine({.dtl = 2, .plant = Value(1), .kind = 11, .name = Value("誘引")});
    openDay(kDay, [&](hb::frmDairyInput &f) {
        clickItem(ctl<QListWidget>(f, "List1_0"), 0);
        clickItem(ctl<QListWidget>(f, "List1_1"), 0);
        EXPECT_TRUE(hbtest::savePicture(&f, "/tmp/hb_diaryday_work.png"));
        hbtest::click(ctl(f, "Option1_1"));
        EXPECT_FALSE(ctl(f, "Frame1_0")->isVisible());
        EXPECT_TRUE(ctl(f, "Frame1_1")->isVisible());
        EXPECT_TRUE(hbtest::savePicture(&f, "/tmp/hb_diaryday_book.png"));
        hbtest::click(ctl(f, "Option1_0"));
        EXPECT_TRUE(ctl(f, "Frame1_0")->isVisible());
        hbtest::resizeOuter(&f, QSize(1240, 920));
        EXPECT_TRUE(hbtest::savePicture(&f, "/tmp/hb_diaryday_large.png"));
    });
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join("|").toStdString();
}

HB_INSTANTIATE_BOTH_BACKENDS(DiaryWindow);

}  // namespace
