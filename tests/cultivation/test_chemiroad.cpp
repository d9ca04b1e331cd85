// The whole road of a pesticide, through the windows as a grower goes it: bought in 農薬入力
// from the calendar's 農薬 button, used in the diary two days later, then the stock in the list,
// the purchase and use vouchers, the calendar's marks, the voucher list's refusal to change the
// purchase voucher, and a purchase made invalid that the diary no longer offers.

#include "bookkeeping/frmledgelist.h"
#include "bookkeeping/ledger.h"
#include "chemifixture.h"
#include "core/datepicker.h"
#include "diary/calendargrid.h"
#include "diary/frmdairycal.h"
#include "diary/frmdairyinput.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

using chemitest::day;
using hb::Value;
using hbtest::ctl;
using hbtest::settle;

namespace {

class ChemiRoad : public chemitest::ChemiDb {
protected:
    void TearDown() override
    {
        hb::gUseType = 0;
        hb::gWorkDate = Value();
        ChemiDb::TearDown();
    }
    static QStringList entries(QComboBox *box)
    {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }
    // Opens a day from the calendar, as a click on its cell does.
    void openDay(hb::frmDairyCal &cal, int d, std::function<void(hb::frmDairyInput &)> drive)
    {
        bool driven = false;
        hbtest::onModal(ui.get(), "frmDairyInput", [&](QDialog *dlg) {
            driven = true;
            drive(static_cast<hb::frmDairyInput &>(*dlg));
        });
        const hb::CalGeometry g = cal.calGeometry();
        const int c = cal.calView().cellOfDay(d)->cell;
        auto *pic = ctl(&cal, "Picture1");
        const QPoint at = pic->contentsRect().topLeft()
                          + QPoint(qRound((g.cellX(c) + g.Cw / 2.0) / 15), qRound((g.cellY(c) + g.Ch / 2.0) / 15));
        QTest::mouseClick(pic, Qt::LeftButton, Qt::NoModifier, at);
        settle();
        ui->modalHandlers.erase("frmDairyInput");
        ASSERT_TRUE(driven) << "day " << d;
    }
    // Opens a list from the calendar's menu button and lets `drive` act on it.
    template <class List>
    void openFromCalendar(hb::frmDairyCal &cal, const char *button, const QString &name,
                          std::function<void(List &)> drive)
    {
        bool driven = false;
        hbtest::onModal(ui.get(), name, [&](QDialog *dlg) {
            driven = true;
            drive(static_cast<List &>(*dlg));
        });
        hbtest::click(ctl(&cal, button));
        settle();
        ui->modalHandlers.erase(name);
        ASSERT_TRUE(driven) << button;
    }
    static hb::LedgeRec voucher(long ledgeId)
    {
        auto rs = hb::gDb->GetFwdOnlyRst("SELECT * FROM D_LEDGE WHERE FMR_ID=1 AND LEDGE_ID=?", {Value(ledgeId)});
        return rs->eof() ? hb::LedgeRec() : hb::LedgeRec::fromRow(*rs);
    }
};
HB_INSTANTIATE_BOTH_BACKENDS(ChemiRoad);

TEST_P(ChemiRoad, FromThePurchaseToTheDiaryTheStockTheVouchersAndTheMarks)
{
    hb::gDb->EXEC("INSERT INTO D_PLANT (FMR_ID, PLANT_ID, PLANT_NM, CROP_NM, CROP_NM1, START_DATE, PLANT_DATE) "
                  "VALUES (1, 1, '夏トマト', 'トマト', 'トマト', #2024-04-01#, #2024-04-01#)");
    for (int layer : {hb::kLayerMoney, hb::kLayerPesticide})
        hb::gINI->SaveCtrl(QStringLiteral("CAL_OPT%1").arg(layer), Value(1));
    hb::gUseType = hb::kUseMulti;
    auto &cal = hb::form<hb::frmDairyCal>();
    cal.showModeless();
    ASSERT_TRUE(hbtest::activate(&cal));
    hb::gCalMonth = QDate(2024, 6, 1);
    cal.DispData();

    // Bought: 2 L for 3,000 in cash on day 1.
    openFromCalendar<hb::frmChemiList>(cal, "cmdMENU_2", "frmChemiList", [&](hb::frmChemiList &list) {
        EXPECT_EQ(list.rowCount(), 0);
        openInput(list, 1, -1, [&](hb::frmChemiInput &in) {
            enter(in.txtDATA[1], "ダニ退治");
            enter(in.txtDATA[4], "20240601");
            in.picker->hide();
            enter(in.txtDATA[6], "2");
            choose(in.cmbDATA[2], "L");
            enter(in.txtDATA[7], "3,000");
            hbtest::click(in.cmdMENU[1]);
            EXPECT_FALSE(in.isLoaded()) << ui->promptTexts().join('|').toStdString();
        });
        EXPECT_EQ(list.rowCount(), 1);
        hbtest::click(list.cmdMENU[0]);
    });
    const long chemiId = hb::gLastChemiID.toLong();
    ASSERT_EQ(chemiId, 1);

    // Used: 0.5 L on planting 1 on day 3.
    openDay(cal, 3, [&](hb::frmDairyInput &f) {
        auto *plantings = ctl<QListWidget>(&f, "List1_0");
        ASSERT_GT(plantings->count(), 0);
        const QRect r = plantings->visualItemRect(plantings->item(0));
        QTest::mouseClick(plantings->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          plantings->viewport()->mapTo(plantings->window(), r.center()));
        settle();
        hbtest::click(ctl(&f, "cmdSUB_1"));  // 追加
        choose(ctl<QComboBox>(&f, "cmbDATA_1"), "農薬散布");
        auto *chemi = ctl<QComboBox>(&f, "cmbDATA_2");
        EXPECT_TRUE(entries(chemi).contains("6/1ダニ退治")) << entries(chemi).join('|').toStdString();
        choose(chemi, "6/1ダニ退治");
        enter(ctl(&f, "txtDATA_4"), "0.5");
        choose(ctl<QComboBox>(&f, "cmbDATA_4"), "L");
        hbtest::click(ctl(&f, "cmdMENU_1"));  // 登録
        EXPECT_FALSE(f.isVisible()) << ui->promptTexts().join('|').toStdString();
    });

    // The stock, in the list.
    openFromCalendar<hb::frmChemiList>(cal, "cmdMENU_2", "frmChemiList", [&](hb::frmChemiList &list) {
        ASSERT_EQ(list.rowCount(), 1);
        EXPECT_EQ(list.ListView1->topLevelItem(0)->text(5), QStringLiteral("2"));
        EXPECT_EQ(list.ListView1->topLevelItem(0)->text(6), QStringLiteral("0.5"));
        EXPECT_EQ(list.ListView1->topLevelItem(0)->text(7), QStringLiteral("1.5"));
        hbtest::click(list.cmdMENU[0]);
    });

    // The vouchers: the purchase on day 1, the use on day 3.
    const long bought = col("LEDGE_ID", chemiId).toLong();
    ASSERT_GT(bought, 0);
    const hb::LedgeRec p = voucher(bought);
    EXPECT_EQ(p.LEDGE_DATE.toDate().date(), QDate(2024, 6, 1));
    EXPECT_EQ(p.D_ACC_ID.toLong(), 1130);
    EXPECT_EQ(p.D_OPT_KBN.toLong(), 3);
    EXPECT_EQ(p.D_OPT_ID.toLong(), chemiId);
    EXPECT_EQ(p.D_OPT_NM, Value("2.0L"));
    EXPECT_EQ(p.C_ACC_ID.toLong(), 1000);
    EXPECT_EQ(p.C_OPT_KBN.toLong(), 0);
    EXPECT_DOUBLE_EQ(p.AMT.toDouble(), 3000);
    const long used = one("SELECT LEDGE_ID FROM D_DIARY_DTL WHERE FMR_ID=1 AND CHEMI_ID=?", {Value(chemiId)}).toLong();
    ASSERT_GT(used, 0);
    EXPECT_NE(used, bought);
    const hb::LedgeRec u = voucher(used);
    EXPECT_EQ(u.LEDGE_DATE.toDate().date(), QDate(2024, 6, 3));
    EXPECT_EQ(u.D_ACC_ID.toLong(), 4160);
    EXPECT_EQ(u.D_OPT_KBN.toLong(), 2);
    EXPECT_EQ(u.D_OPT_ID.toLong(), 1);
    EXPECT_EQ(u.C_ACC_ID.toLong(), 1130);
    EXPECT_EQ(u.C_OPT_KBN.toLong(), 3);
    EXPECT_EQ(u.C_OPT_ID.toLong(), chemiId);
    EXPECT_EQ(u.C_OPT_NM, Value("0.5L"));
    EXPECT_DOUBLE_EQ(u.AMT.toDouble(), 750);
    EXPECT_EQ(count("D_LEDGE"), 2);

    // The marks: money on day 1, pesticide on day 3, nothing else.
    for (int d = 1; d <= 30; ++d) {
        const hb::CalCell *cell = cal.calView().cellOfDay(d);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->money, d == 1) << d;
        EXPECT_EQ(cell->pesticide, d == 3) << d;
    }
    if (GetParam() == hbtest::Backend::Sqlite) {
        EXPECT_TRUE(hbtest::savePicture(&cal, "/tmp/hb_chemi_road_calendar.png"));
    }

    // The voucher list refuses to modify the purchase voucher.
    openFromCalendar<hb::frmLedgeList>(cal, "cmdMENU_4", "frmLedgeList", [&](hb::frmLedgeList &list) {
        long row = -1;
        for (std::size_t i = 0; i < hb::gLedge.size(); ++i) {
            if (hb::gLedge[i].LEDGE_ID.toLong() == bought)
                row = static_cast<long>(i);
        }
        ASSERT_GE(row, 0);
        list.selectRow(row);
        ui->prompts.clear();
        hbtest::click(list.cmdMENU[2]);  // 修正
        EXPECT_EQ(ui->promptTexts(), QStringList({"この伝票は修正できません。農薬入力から修正してください。"}));
        EXPECT_FALSE(ui->modalShown.contains("frmLedgeInput"));
        hbtest::click(list.cmdMENU[0]);
    });

    // Made invalid, the purchase leaves the diary's pick list.
    openFromCalendar<hb::frmChemiList>(cal, "cmdMENU_2", "frmChemiList", [&](hb::frmChemiList &list) {
        openInput(list, 2, 0, [&](hb::frmChemiInput &in) {
            EXPECT_TRUE(in.Check1->isChecked());
            hbtest::click(in.Check1);
            hbtest::click(in.cmdMENU[1]);
            EXPECT_FALSE(in.isLoaded());
        });
        hbtest::click(list.cmdMENU[0]);
    });
    EXPECT_EQ(col("CHK_FLG", chemiId).toLong(), 0);
    openDay(cal, 5, [&](hb::frmDairyInput &f) {
        EXPECT_FALSE(entries(ctl<QComboBox>(&f, "cmbDATA_2")).contains("6/1ダニ退治"));
        f.Unload();
    });
    EXPECT_EQ(count("D_LEDGE"), 2) << "the invalid purchase keeps its voucher";
}

}  // namespace
