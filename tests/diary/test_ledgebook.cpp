// The voucher books of the diary-day window: their columns, rows, opening and running balances
// and totals; the add, modify and delete buttons with the refusal of generated vouchers; and the
// book rebuilt after the voucher dialog has changed gLedge.

#include "diaryfixture.h"
#include "bookkeeping/frmdiaryledgeinput.h"

#include <QHeaderView>
#include <QLabel>
#include <QTest>
#include <QTreeWidget>
#include <cmath>

using diarytest::day;
using diarytest::kDay;
using hb::Value;
using hbtest::child;
using hbtest::settle;

namespace {

TEST(LedgeBookFormat, AmountsAreWholeWithThousandsSeparators)
{
    const struct {
        double amount;
        const char *text;
    } cases[] = {
        {0, "0"},       {12, "12"},           {999.5, "1,000"},          {1234.5, "1,235"},
        {-1234.5, "-1,235"}, {-0.4, "0"},     {999999.4, "999,999"},     {1000000, "1,000,000"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(hb::FormatLedgeAmount(hb::Currency::fromDouble(c.amount)), c.text) << c.amount;
}

class LedgeBook : public diarytest::DiaryDb {
protected:
    void TearDown() override
    {
        hb::gDiaryLedgeAcc = Value();
        hb::gEditMode = 0;
        hb::gEditRow = -1;
        DiaryDb::TearDown();
    }

    static void putVoucher(long fmr, long id, const QDate &d, long debit, long credit, double amt,
                           const Value &ctr = Value::null(), const Value &notes = Value::null())
    {
        hb::gDb->EXEC("INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, C_ACC_ID, CTR_NM, NOTES, AMT) "
                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                      {Value(fmr), Value(id), Value(d), Value(debit), Value(credit), ctr, notes,
                       Value(hb::Currency::fromDouble(amt))});
    }
    template <class T = QWidget>
    static T *ctl(hb::frmDairyInput &f, const char *name)
    {
        T *w = child<T>(&f, QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // The rows of the list, each as its texts joined by "|".
    static QStringList rows(hb::frmDairyInput &f)
    {
        auto *list = ctl<QTreeWidget>(f, "ListView1");
        QStringList out;
        for (int r = 0; r < list->topLevelItemCount(); ++r) {
            QStringList texts;
            for (int c = 0; c < list->columnCount(); ++c)
                texts << list->topLevelItem(r)->text(c);
            out << texts.join('|');
        }
        return out;
    }
    static QStringList sums(hb::frmDairyInput &f)
    {
        QStringList out;
        for (const char *name : {"lblSUM_0", "lblSUM_1", "lblSUM_2", "lblSUM_3"})
            out << ctl<QLabel>(f, name)->text();
        return out;
    }
    static void clickRow(hb::frmDairyInput &f, int row)
    {
        auto *list = ctl<QTreeWidget>(f, "ListView1");
        const QRect r = list->visualItemRect(list->topLevelItem(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
        settle();
    }
    // The earlier saved vouchers of the cash and payable accounts, and another grower's.
    static void putEarlier()
    {
        putVoucher(1, 1, QDate(2013, 12, 31), 1000, 4000, 3000);
        putVoucher(1, 2, QDate(2014, 10, 23), 4280, 1000, 500);
        putVoucher(1, 3, QDate(2014, 10, 25), 1000, 4000, 7777);  // later: not in the opening
        putVoucher(1, 4, QDate(2014, 5, 1), 1130, 2000, 1000);
        putVoucher(1, 5, QDate(2014, 6, 1), 2000, 1010, 400);  // paid from the bank
        putVoucher(2, 1, QDate(2014, 1, 1), 1000, 4000, 99999);
    }
};

TEST_P(LedgeBook, ADayWithoutVouchersShowsOnlyTheOpeningBalance)
{
    putEarlier();
    openDay(kDay, [&](hb::frmDairyInput &f) {
        EXPECT_FALSE(ctl(f, "Frame1_1")->isVisible());
        hbtest::click(ctl(f, "Option1_1"));  // 出納帳
        EXPECT_TRUE(ctl(f, "Frame1_1")->isVisible());
        EXPECT_FALSE(ctl(f, "Frame1_0")->isVisible());
        auto *list = ctl<QTreeWidget>(f, "ListView1");
        QStringList captions;
        for (int c = 0; c < list->columnCount(); ++c)
            captions << list->headerItem()->text(c);
        EXPECT_EQ(captions, QStringList({"ID", "№", "科目", "相手", "備考", "入金", "出金", "残高"}));
        EXPECT_TRUE(list->isColumnHidden(0));
        // Design widths times the window's horizontal factor.
        EXPECT_EQ(list->columnWidth(2), std::lround(1800 * f.scaleX() / 15));
        EXPECT_EQ(list->columnWidth(7), std::lround(1600 * f.scaleX() / 15));
        hbtest::resizeOuter(&f, QSize(1240, 920));
        EXPECT_NEAR(list->columnWidth(2), 1800 * 1.5 / 15, 1);
        EXPECT_TRUE(list->isColumnHidden(0));
        EXPECT_TRUE(rows(f).isEmpty());
        EXPECT_EQ(sums(f), QStringList({"2,500", "0", "0", "2,500"}));

        hbtest::click(ctl(f, "Option1_4"));  // 買掛帳: credits minus debits
        EXPECT_EQ(list->headerItem()->text(5), "発生");
        EXPECT_EQ(list->headerItem()->text(6), "支払");
        EXPECT_EQ(sums(f), QStringList({"600", "0", "0", "600"}));
        hbtest::click(ctl(f, "Option1_2"));  // 預金帳
        EXPECT_EQ(sums(f), QStringList({"-400", "0", "0", "-400"}));
        hbtest::click(ctl(f, "Option1_3"));  // 売掛帳: nothing saved
        EXPECT_EQ(sums(f), QStringList({"0", "0", "0", "0"}));

        hbtest::click(ctl(f, "Option1_0"));  // back to the lines: the book stays as it was
        EXPECT_TRUE(ctl(f, "Frame1_0")->isVisible());
        EXPECT_FALSE(ctl(f, "Frame1_1")->isVisible());
        EXPECT_EQ(list->headerItem()->text(5), "発生");
        EXPECT_EQ(list->headerItem()->text(6), "回収");
    });
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
}

TEST_P(LedgeBook, RowsRunningBalanceAndTotals)
{
    putEarlier();
    putVoucher(1, 11, kDay, 1000, 4000, 1200, Value("道の駅"), Value("10/24 売上"));
    putVoucher(1, 12, kDay, 4160, 1130, 30);     // touches no book
    putVoucher(1, 13, kDay, 4280, 1000, 1234.5);
    putVoucher(1, 14, kDay, 1000, 1000, 100);    // the same account on both sides
    putVoucher(1, 15, kDay, 1130, 2000, 300);
    putVoucher(1, 16, kDay, 2000, 1000, 200);
    putVoucher(1, 17, kDay, 2000, 2000, 50);
    openDay(kDay, [&](hb::frmDairyInput &f) {
        hbtest::click(ctl(f, "Option1_1"));
        EXPECT_EQ(rows(f), QStringList({"11|1|売上高|道の駅|10/24 売上|1,200|0|3,700",
                                        "13|2|雑費|||0|1,235|2,466",
                                        "14|3|現金|||0|100|2,366",
                                        "16|4|買掛金|||0|200|2,166"}));
        EXPECT_EQ(sums(f), QStringList({"2,500", "1,200", "1,535", "2,166"}));

        hbtest::click(ctl(f, "Option1_4"));
        EXPECT_EQ(rows(f), QStringList({"15|1|農薬|||300|0|900", "16|2|現金|||0|200|700", "17|3|買掛金|||50|0|750"}));
        EXPECT_EQ(sums(f), QStringList({"600", "350", "200", "750"}));

        // A voucher added in the dialog but not saved is a row, not part of the opening.
        hb::LedgeRec added;
        added.FMR_ID = Value(1);
        added.LEDGE_ID = Value(18);
        added.D_ACC_ID = Value(1000);
        added.C_ACC_ID = Value(4020);
        added.AMT = Value(hb::Currency::fromDouble(5));
        hb::gLedge.push_back(added);
        hbtest::click(ctl(f, "Option1_1"));
        EXPECT_EQ(rows(f).last(), "18|5|雑収入|||5|0|2,171");
        EXPECT_EQ(sums(f).first(), "2,500");
    });
}

TEST_P(LedgeBook, GeneratedVouchersAreRefusedAndFreeOnesOpenTheDialog)
{
    putPurchase(1, 7, 500, 1, 2000, 22);
    hb::gDb->EXEC("INSERT INTO D_SHIP (FMR_ID, SHIP_ID, SHIP_DATE, LEDGE_ID_S) VALUES (1, 1, ?, 21)", {day(2014, 10, 24)});
    putDay({.lastTm = Value("PC-TEST")});
    putLine({.dtl = 1, .kind = 11, .ledge = Value(23)});  // a saved line naming a cash voucher
    putVoucher(1, 20, kDay, 4160, 1130, 30);
    putVoucher(1, 21, kDay, 1000, 4000, 3000);
    putVoucher(1, 22, kDay, 1130, 1000, 2000);
    putVoucher(1, 23, kDay, 1000, 4020, 10);
    putVoucher(1, 24, kDay, 4280, 1000, 40);
    const QStringList tables = dumpDataTables();

    struct Shown {
        int mode = 0;
        long row = 0;
        Value acc;
    };
    std::vector<Shown> shown;
    hbtest::onModal(ui.get(), "frmDiaryLedgeInput",
                    [&](QDialog *) { shown.push_back({hb::gEditMode, hb::gEditRow, hb::gDiaryLedgeAcc}); });
    openDay(kDay, [&](hb::frmDairyInput &f) {
        hbtest::click(ctl(f, "Option1_1"));
        ASSERT_EQ(rows(f).size(), 4);
        const std::vector<long> before = ledgeIds();

        // Nothing selected: modify and delete do nothing at all.
        hbtest::click(ctl(f, "cmdEDIT_1"));
        hbtest::click(ctl(f, "cmdEDIT_2"));
        EXPECT_TRUE(shown.empty());
        EXPECT_TRUE(ui->prompts.empty());

        const struct {
            int row;          // in the list
            const char *button;
            const char *refusal;
        } refused[] = {
            {0, "cmdEDIT_1", "この伝票は修正できません。出荷入力から修正してください。"},
            {0, "cmdEDIT_2", "この伝票は削除できません。出荷入力から削除してください。"},
            {1, "cmdEDIT_1", "この伝票は修正できません。農薬入力から修正してください。"},
            {2, "cmdEDIT_2", "この伝票は削除できません。日誌詳細から削除してください。"},
            {2, "cmdEDIT_1", "この伝票は修正できません。日誌詳細から修正してください。"},
        };
        for (const auto &c : refused) {
            ui->prompts.clear();
            clickRow(f, c.row);
            hbtest::click(ctl(f, c.button));
            ASSERT_EQ(ui->prompts.size(), 1u) << c.refusal;
            EXPECT_EQ(ui->prompts[0].text, c.refusal);
            EXPECT_EQ(ui->prompts[0].style, hb::kMsgExclamation);
            EXPECT_EQ(ui->prompts[0].title, hb::kProgramTitle);
        }
        EXPECT_TRUE(shown.empty());
        EXPECT_EQ(ledgeIds(), before);
        EXPECT_EQ(rows(f).size(), 4);

        // A free voucher: the index in gLedge (4), not the list row (3).
        ui->prompts.clear();
        clickRow(f, 3);
        hbtest::click(ctl(f, "cmdEDIT_1"));
        hbtest::click(ctl(f, "cmdEDIT_2"));
        hbtest::click(ctl(f, "cmdEDIT_0"));  // 追加, whatever is selected
        ASSERT_EQ(shown.size(), 3u);
        EXPECT_EQ(shown[0].mode, hb::kEditModify);
        EXPECT_EQ(shown[0].row, 4);
        EXPECT_EQ(shown[1].mode, hb::kEditDelete);
        EXPECT_EQ(shown[1].row, 4);
        EXPECT_EQ(shown[2].mode, hb::kEditAdd);
        EXPECT_EQ(shown[2].row, -1);
        for (const Shown &s : shown)
            EXPECT_EQ(s.acc, Value(1000));
        EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
        hbtest::click(ctl(f, "cmdMENU_0"));
    });
    // Nothing but the released hold.
    EXPECT_EQ(dumpDataTables(), tables);
}

TEST_P(LedgeBook, TheDialogsChangesRebuildTheBook)
{
    putEarlier();
    putVoucher(1, 11, kDay, 1000, 4000, 1200);
    putVoucher(1, 12, kDay, 4280, 1000, 200);
    openDay(kDay, [&](hb::frmDairyInput &f) {
        hbtest::click(ctl(f, "Option1_1"));
        ASSERT_EQ(rows(f).size(), 2);

        // 削除 of the second row through the dialog.
        hbtest::onModal(ui.get(), "frmDiaryLedgeInput",
                        [&](QDialog *dlg) { hbtest::click(child<QWidget>(dlg, "cmdMENU_1")); });
        clickRow(f, 1);
        hbtest::click(ctl(f, "cmdEDIT_2"));
        EXPECT_EQ(ledgeIds(), (std::vector<long>{11}));
        EXPECT_EQ(rows(f), QStringList({"11|1|売上高|||1,200|0|3,700"}));
        EXPECT_EQ(sums(f), QStringList({"2,500", "1,200", "0", "3,700"}));

        // The book the dialog names is the one rebuilt.
        hbtest::click(ctl(f, "Option1_2"));
        EXPECT_TRUE(rows(f).isEmpty());
        EXPECT_EQ(hb::gDiaryLedgeAcc, Value(1000));  // set only by the buttons
    });
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
}

HB_INSTANTIATE_BOTH_BACKENDS(LedgeBook);

}  // namespace
