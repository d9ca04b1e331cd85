// Two computers on one database: both open the same rows, the first saves, the second's save is
// refused with its input kept; reopened, the second's save goes through. A computer that saves
// the same rows twice in a row is never refused. A window whose load failed (the server gone
// meanwhile) writes nothing.

#include "bookkeeping/frmledgeinput.h"
#include "bookkeeping/frmledgelist.h"
#include "common/failingstatement.h"
#include "common/harness.h"
#include "common/scriptedui.h"
#include "common/twocomputers.h"
#include "common/writingwindows.h"
#include "core/forms.h"
#include "core/globals.h"
#include "cultivation/chemirec.h"
#include "cultivation/frmchemiinput.h"
#include "cultivation/frmchemilist.h"
#include "cultivation/frmplantinput.h"
#include "cultivation/frmplantlist.h"
#include "cultivation/plantrec.h"
#include "diary/diaryday.h"
#include "diary/diarysave.h"
#include "diary/frmdairyinput.h"
#include "masters/fdlmstfmredit.h"
#include "masters/fdlmstprdedit.h"
#include "masters/fdlmstshopedit.h"
#include "shipments/frmshipinput.h"
#include "shipments/frmshiplist.h"
#include "shipments/shipcalc.h"
#include "shipments/shipsave.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <iostream>

using hb::Value;
using hbtest::ctl;
using hbtest::settle;

namespace {

const QString kRefused = QStringLiteral("ほかのコンピュータで変更されたため登録できません。開き直してください。");

class TwoComputersTest : public hbtest::BothBackends {
protected:
    void SetUp() override
    {
        BothBackends::SetUp();
        if (IsSkipped())
            return;
        pcs = std::make_unique<hbtest::TwoComputers>(fresh());
        hb::gMst->EXEC("INSERT INTO M_FMR (FMR_ID, FMR_NM) VALUES (1, '緑丘 太郎')");
        hb::gMst->EXEC("INSERT INTO M_SHOP (SHOP_ID, SHOP_NM) VALUES (1, '道の駅みどりの丘')");
        hb::gFmrID = Value(1);
        hb::gShopID = Value(1);
        hb::gLedge.assign(1, hb::LedgeRec());
    }
    void TearDown() override
    {
        hb::destroyForms();
        settle();
        pcs.reset();
        hb::gFmrID = Value();
        hb::gWorkDate = Value();
        BothBackends::TearDown();
    }
    static Value one(const QString &sql)
    {
        auto rs = hb::gDb->GetFwdOnlyRst(sql);
        return rs->eof() ? Value() : rs->Fields(0);
    }
    // Runs a window that a procedure shows modally, driven by `drive`.
    template <class W>
    void showModal(const QString &name, const std::function<void(W &)> &drive)
    {
        hbtest::onModal(ui.get(), name, [&drive](QDialog *dlg) { drive(static_cast<W &>(*dlg)); });
        hb::form<W>().showModal(nullptr);
        settle();
    }
    // The first row of a table that a condition selects, as a record of its type.
    template <class Rec>
    static Rec rowOf(const QString &table, const QString &where)
    {
        auto rs = hb::gDb->GetFwdOnlyRst("SELECT " + table + ".* FROM " + table + " WHERE " + where);
        return Rec::fromRow(*rs);
    }
    // The list window L shown (its search run again when it is open), its first row opened for a
    // change in the input window I, which `drive` acts on.
    template <class L, class I>
    void modifyFirstRow(const QString &input, const std::function<void(I &)> &drive)
    {
        auto &list = hb::form<L>();
        if (list.isVisible())
            hbtest::click(list.cmdFIND);
        list.showModeless();
        hbtest::activate(&list);
        settle();
        ASSERT_GE(list.rowCount(), 1);
        list.selectRow(0);
        bool driven = false;
        hbtest::onModal(ui.get(), input, [&](QDialog *d) {
            driven = true;
            drive(static_cast<I &>(*d));
        });
        list.cmdMENU_Click(2);  // 修正
        settle();
        EXPECT_TRUE(driven);
    }
    // The prompts shown since the last call.
    QStringList takePrompts()
    {
        const QStringList texts = ui->promptTexts();
        ui->prompts.clear();
        return texts;
    }

    std::unique_ptr<hbtest::TwoComputers> pcs;
    hbtest::ScopedScriptedUi ui;
};

// pc2 has the day open while pc1 changes its day row, or only one of its work lines or vouchers.
TEST_P(TwoComputersTest, TheDiaryDay)
{
    const QDate day(2026, 12, 8);
    hb::gWorkDate = Value(day);
    const struct Case {
        const char *what, *otherSave, *changed;  // pc1's statement; what it changed, read back
        Value value;
    } cases[] = {
        {"the day row", "UPDATE D_DIARY SET ONE_MSG='雨', UDATE=#2026-12-08 08:00:00#", "SELECT ONE_MSG FROM D_DIARY",
         Value("雨")},
        {"a work line", "UPDATE D_DIARY_DTL SET WORK_NM='草取り'", "SELECT WORK_NM FROM D_DIARY_DTL", Value("草取り")},
        {"a voucher", "UPDATE D_LEDGE SET CTR_NM='朝市'", "SELECT CTR_NM FROM D_LEDGE", Value("朝市")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        pcs->use(0);
        for (const char *table : {"D_DIARY", "D_DIARY_DTL", "D_LEDGE"})
            hb::gDb->EXEC(QStringLiteral("DELETE FROM ") + table);
        hb::gDb->EXEC("INSERT INTO D_DIARY (FMR_ID, WORK_DATE, ONE_MSG, IDATE, LAST_TM) "
                      "VALUES (1, #2026-12-08#, '晴れ', #2026-12-08 07:00:00#, 'pc1')");
        hb::gDb->EXEC("INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO, WORK_KBN, WORK_NM) "
                      "VALUES (1, #2026-12-08#, 1, 1, '収穫')");
        hb::gDb->EXEC("INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, C_ACC_ID, CTR_NM, AMT, IDATE, LAST_TM) "
                      "VALUES (1, 1, #2026-12-08#, 1000, 4020, '直売所', 500, #2026-12-08 07:00:00#, 'pc1')");
        pcs->use(1);
        showModal<hb::frmDairyInput>("frmDairyInput", [&](hb::frmDairyInput &f) {  // pc2 opens the day
            pcs->use(0);
            hb::gDb->EXEC(c.otherSave);
            pcs->use(1);
            // pc2 saves a change of メモ: refused, the window keeps its input.
            hbtest::enter(ctl(&f, "txtDATA_5"), "午後から晴れ");
            hbtest::click(ctl(&f, "cmdMENU_1"));  // 登録
            EXPECT_EQ(takePrompts(), QStringList{kRefused});
            EXPECT_TRUE(f.isVisible());
            EXPECT_EQ(ctl<QPlainTextEdit>(&f, "txtDATA_5")->toPlainText(), "午後から晴れ");
            hbtest::click(ctl(&f, "cmdMENU_0"));  // 閉じる
        });
        EXPECT_EQ(ui->prompts.size(), 0u);
        EXPECT_EQ(one(c.changed), c.value);
        EXPECT_TRUE(one("SELECT NOTES1 FROM D_DIARY").isNull());

        // pc2 reopens the day (showing pc1's change) and saves: accepted; and again: accepted.
        for (const char *memo : {"午後から晴れ", "夕方に霜"}) {
            showModal<hb::frmDairyInput>("frmDairyInput", [&](hb::frmDairyInput &f) {
                hbtest::enter(ctl(&f, "txtDATA_5"), memo);
                hbtest::click(ctl(&f, "cmdMENU_1"));  // 登録
                EXPECT_FALSE(f.isVisible());
            });
            EXPECT_TRUE(takePrompts().isEmpty());
            EXPECT_EQ(one("SELECT NOTES1 FROM D_DIARY"), Value(memo));
            EXPECT_EQ(one(c.changed), c.value);
            EXPECT_EQ(one("SELECT LAST_TM FROM D_DIARY"), Value("pc2"));
        }
        hb::destroyForms();
        settle();
    }
}

// The list and input pairs: pc2 opens the row from its list, pc1 saves a change of another
// column, pc2's save is refused; with the list searched again, pc2's save goes through, twice.
TEST_P(TwoComputersTest, EveryInputOpenedFromItsList)
{
    using Drive = std::function<void(QDialog *)>;
    struct Case {
        const char *what;
        std::vector<const char *> rows;  // the data rows, as stored
        std::function<void(const Drive &)> modify;  // pc2: the list's first row in its input
        std::function<void()> otherSave;            // pc1: a change of `otherColumn`
        std::function<QLineEdit *(QDialog *)> box;  // the box pc2 changes (to a number): `boxColumn`
        const char *table, *otherColumn, *otherValue, *boxColumn;
    };
    const auto window = [this]<class L, class I>(const char *name) {
        return [this, name](const Drive &drive) {
            modifyFirstRow<L, I>(QString::fromLatin1(name), [&](I &in) { drive(&in); });
        };
    };
    const Case cases[] = {
        {"a planting",
         {"INSERT INTO D_PLANT (FMR_ID, PLANT_ID, PLANT_NM, YYYY, HARVEST_SCHD_YM, IDATE, LAST_TM) "
          "VALUES (1, 1, '畑A', 2026, '202612', #2026-04-01 08:00:00#, 'pc1')"},
         window.operator()<hb::frmPlantList, hb::frmPlantInput>("frmPlantInput"),
         [] {
             hb::PlantRec row = rowOf<hb::PlantRec>("D_PLANT", "FMR_ID=1 AND PLANT_ID=1");
             const auto loaded = hb::LoadedPlant(row);
             row.PLANT_NM = Value("畑A（東）");
             EXPECT_EQ(hb::savePlant(*hb::gDb, hb::kEditModify, row, loaded), hb::PlantSaveResult::Saved);
         },
         [](QDialog *d) { return static_cast<hb::frmPlantInput *>(d)->txtDATA[7]; },  // 面積
         "D_PLANT", "PLANT_NM", "畑A（東）", "AREA"},
        {"a pesticide purchase",
         {"INSERT INTO D_CHEMI (FMR_ID, CHEMI_ID, CHEMI_NM, PUR_DATE, PUR_QTY, USED_QTY, REST_QTY, LEDGE_ID, CHK_FLG, "
          "IDATE, LAST_TM) VALUES (1, 1, 'A剤', #2026-12-01#, 10, 0, 10, 0, -1, #2026-12-01 09:00:00#, 'pc1')"},
         window.operator()<hb::frmChemiList, hb::frmChemiInput>("frmChemiInput"),
         [] {
             hb::ChemiRec row = rowOf<hb::ChemiRec>("D_CHEMI", "CHEMI_ID=1");
             const auto loaded = hb::LoadedChemi(*hb::gDb, row);
             row.MAKER_NM = Value("緑丘化学");
             EXPECT_EQ(hb::SaveChemi(*hb::gDb, hb::kEditModify, row, loaded), hb::ChemiSaveResult::Saved);
         },
         [](QDialog *d) { return static_cast<hb::frmChemiInput *>(d)->txtDATA[5]; },  // 購入先
         "D_CHEMI", "MAKER_NM", "緑丘化学", "PUR_SHOP"},
        {"a shipment",
         {"INSERT INTO D_PLANT (FMR_ID, PLANT_ID, PLANT_NM, YYYY, PLANT_DATE, START_DATE, PRD_ID, PRD_NM, CROP_NM1) "
          "VALUES (1, 1, '冬トマト', 2026, #2026-09-01#, #2026-09-01#, 101, 'トマト', 'トマト')",
          "INSERT INTO D_SHIP (FMR_ID, SHIP_ID, SHIP_DATE, PLANT_ID, SHOP_ID, PRD_ID, PRD_NM, PLAS, ACC_ID, SHOP_PRC, "
          "SHIP_QTY, RTN_QTY, SALES_QTY, SALES_AMT, FEE_RT, FEE_AMT, LEDGE_ID_S, LEDGE_ID_F, IDATE, LAST_TM) VALUES "
          "(1, 1, #2026-12-08#, 1, 1, 101, 'トマト', -1, 1040, 150, 10, 0, 10, 1500, 10, 150, 0, 0, "
          "#2026-12-08 07:00:00#, 'pc1')"},
         window.operator()<hb::frmShipList, hb::frmShipInput>("frmShipInput"),
         [] {
             hb::ShipRec row = rowOf<hb::ShipRec>("D_SHIP", "FMR_ID=1 AND SHIP_ID=1");
             const auto loaded = hb::LoadedShip(*hb::gDb, row);
             row.NOTES = Value("朝どれ");
             EXPECT_EQ(hb::SaveShipment(*hb::gDb, row, hb::kEditModify, loaded), 1);
         },
         [](QDialog *d) { return static_cast<hb::frmShipInput *>(d)->txtDATA[hb::kBoxLocate]; },
         "D_SHIP", "NOTES", "朝どれ", "LOCATE"},
        {"a voucher",
         {"INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, C_ACC_ID, CTR_NM, AMT, IDATE, LAST_TM) "
          "VALUES (1, 1, #2026-12-08#, 1000, 4020, '直売所', 500, #2026-12-08 07:00:00#, 'pc1')"},
         window.operator()<hb::frmLedgeList, hb::frmLedgeInput>("frmLedgeInput"),
         [] {
             hb::LedgeRec row = rowOf<hb::LedgeRec>("D_LEDGE", "FMR_ID=1 AND LEDGE_ID=1");
             const auto loaded = hb::LoadedLedge(row);
             row.CTR_NM = Value("朝市");
             EXPECT_EQ(hb::SaveLedge(*hb::gDb, hb::kEditModify, 1, row, loaded), hb::LedgeSaveResult::Saved);
         },
         [](QDialog *d) { return static_cast<hb::frmLedgeInput *>(d)->txtDATA[5]; },  // 備考
         "D_LEDGE", "CTR_NM", "朝市", "NOTES"},
    };
    hb::gCalMonth = QDate(2026, 12, 1);
    hb::gMst->EXEC("INSERT INTO M_PRD (SHOP_ID, PRD_ID, PRD_NM) VALUES (1, 101, 'トマト')");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        pcs->use(0);
        for (const char *table : {"D_PLANT", "D_CHEMI", "D_SHIP", "D_LEDGE", "D_DIARY", "D_DIARY_DTL"})
            hb::gDb->EXEC(QStringLiteral("DELETE FROM ") + table);
        for (const char *row : c.rows)
            hb::gDb->EXEC(row);
        const QString cell = QStringLiteral("SELECT %2 FROM %1").arg(c.table);
        pcs->use(1);
        c.modify([&](QDialog *in) {
            pcs->use(0);
            c.otherSave();
            pcs->use(1);
            hbtest::enter(c.box(in), "3");
            hbtest::click(in->findChild<QPushButton *>("cmdMENU_1"));  // 登録
            EXPECT_EQ(takePrompts(), QStringList{kRefused});
            EXPECT_TRUE(in->isVisible());
            EXPECT_EQ(c.box(in)->text(), "3") << "the input is kept";
            hbtest::click(in->findChild<QPushButton *>("cmdMENU_0"));
        });
        EXPECT_EQ(one(cell.arg(c.otherColumn)), Value(c.otherValue));
        EXPECT_TRUE(one(cell.arg(c.boxColumn)).isNull());
        EXPECT_EQ(one(cell.arg("LAST_TM")), Value("pc1"));

        for (const char *typed : {"10", "20"}) {
            c.modify([&](QDialog *in) {
                hbtest::enter(c.box(in), typed);
                hbtest::click(in->findChild<QPushButton *>("cmdMENU_1"));
                EXPECT_FALSE(in->isVisible());
            });
            EXPECT_TRUE(takePrompts().isEmpty());
            EXPECT_EQ(one(cell.arg(c.boxColumn)).toDouble(), QString(typed).toDouble());
            EXPECT_EQ(one(cell.arg(c.otherColumn)), Value(c.otherValue));
            EXPECT_EQ(one(cell.arg("LAST_TM")), Value("pc2"));
        }
        if (QString(c.table) == "D_SHIP") {
            EXPECT_EQ(one("SELECT COUNT(*) FROM D_DIARY_DTL WHERE WORK_KBN=8 AND SHIP_ID=1").toLong(), 1)
                << "the shipment's diary line, rewritten by each save";
        }
        hb::destroyForms();
        settle();
    }
}

TEST_P(TwoComputersTest, TheProductMaster)
{
    hb::gMst->EXEC("INSERT INTO M_PRD (SHOP_ID, PRD_ID, PRD_NM, CHK_FLG, IDATE, LAST_TM) "
                   "VALUES (1, 101, 'トマト', -1, #2026-01-05 09:00:00#, 'pc1')");
    const auto productName = [] {
        auto rs = hb::gMst->GetFwdOnlyRst("SELECT PRD_NM, PRD_OMT, LAST_TM FROM M_PRD WHERE PRD_ID=101");
        return QStringList{rs->Fields(0).displayText(), rs->Fields(1).isNull() ? "<null>" : rs->Fields(1).displayText(),
                           rs->Fields(2).displayText()};
    };
    const auto openMaster = [] {
        auto &f = hb::form<hb::fdlMstPrdEdit>();
        f.showModeless();
        hbtest::activate(&f);
        settle();
        return &f;
    };
    pcs->use(1);
    hb::fdlMstPrdEdit *f = openMaster();  // pc2 opens the product master
    // pc1, which opened it too, renames the product.
    pcs->use(0);
    std::vector<hb::PrdRec> products;
    hb::LoadedRows loaded;
    hb::LoadProducts(*hb::gMst, products, &loaded);
    products.at(0).PRD_NM = Value("完熟トマト");
    EXPECT_EQ(hb::SaveProducts(*hb::gMst, products, &loaded), 1);
    pcs->use(1);
    hbtest::enter(f->txtDATA[2], "トマ");  // 略称
    hbtest::click(f->cmdMENU[1]);        // 登録
    EXPECT_EQ(takePrompts(), QStringList{kRefused});
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(f->txtDATA[2]->text(), "トマ");
    EXPECT_EQ(productName(), (QStringList{"完熟トマト", "<null>", "pc1"}));
    f->Unload();
    settle();

    for (const char *omit : {"トマ", "完熟"}) {
        f = openMaster();
        EXPECT_EQ(f->txtDATA[1]->text(), "完熟トマト");
        hbtest::enter(f->txtDATA[2], omit);
        hbtest::click(f->cmdMENU[1]);
        EXPECT_TRUE(takePrompts().isEmpty());
        EXPECT_FALSE(hb::IsFormLoaded("fdlMstPrdEdit"));
        EXPECT_EQ(productName(), (QStringList{"完熟トマト", omit, "pc2"}));
        settle();
    }
}

// A list whose search failed shows what an empty result shows, and opens only a blank input.
void expectEmptyList(hbtest::ScriptedUi &ui, hb::ListForm &list)
{
    EXPECT_EQ(list.rowCount(), 0);
    for (QLabel *total : list.findChildren<QLabel *>(QRegularExpression("^lblSUM_\\d+$")))
        EXPECT_EQ(total->text(), "") << total->objectName().toStdString();
    if (auto *plantings = list.findChild<QListWidget *>("List1")) {
        EXPECT_EQ(plantings->count(), 0);
    }
    ui.modalShown.clear();
    for (int b : {hb::ListForm::kMenuModify, hb::ListForm::kMenuView, hb::ListForm::kMenuDelete, hb::ListForm::kMenuCopy})
        hbtest::click(list.cmdMENU[b]);
    EXPECT_EQ(ui.modalShown, QStringList()) << "修正, 参照, 削除 and 複写 open nothing";
    hbtest::click(list.cmdMENU[hb::ListForm::kMenuAdd]);
    EXPECT_EQ(ui.modalShown.size(), 1);
    EXPECT_EQ(hb::gEditRow, -1) << "追加 opens a blank input";
}

// Every window that writes what it loaded, and every list that opens an input: read k of its
// load fails (the server gone), for every k; then, for a list, read k of its search. The failure
// is the one message; the buttons that write are pressed and nothing is written.
TEST_P(TwoComputersTest, AWindowWhoseLoadFailedWritesNothing)
{
    pcs->use(0);
    hbtest::putWindowRows("pc1");
    for (const hbtest::WritingWindow &w : hbtest::writingWindows(ui.get())) {
        SCOPED_TRACE(w.name);
        const QStringList before = hbtest::storedRows();
        bool searched = false;
        const auto tryLoadThenSearch = [&](bool search) {
            return [&, search](const hbtest::WritingWindow::Load &load) {
                ui->prompts.clear();
                w.open(search ? hbtest::WritingWindow::Load([](bool) {}) : load, [&](QWidget *win) {
                    auto *list = dynamic_cast<hb::ListForm *>(win);
                    if (search && list && ui->prompts.empty()) {
                        searched = true;
                        load(true);
                        hbtest::click(list->findChild<QPushButton *>("cmdFIND"));
                        load(false);
                        if (!ui->prompts.empty())
                            expectEmptyList(ui.get(), *list);
                    } else if (!search && !ui->prompts.empty()) {  // loaded whole: nothing to try
                        hbtest::pressWritingButtons(win);
                    }
                });
                hb::destroyForms();
                settle();
            };
        };
        const auto failed = [&](long k, const QString &sql) {
            // The failure once, in the trap's form (numbered or not); the diary's caption goes
            // without its zodiac label, silently.
            const QStringList shown = takePrompts();
            if (sql.contains("L_ETO"))
                EXPECT_EQ(shown, QStringList());
            else
                EXPECT_TRUE(shown.size() == 1 && shown[0].endsWith(hbtest::failedStatementText(k)))
                    << shown.join('|').toStdString() << " for " << sql.toStdString();
            EXPECT_EQ(hbtest::changedRows(before, hbtest::storedRows()), "") << "read " << k << ": " << sql.toStdString();
        };
        const long reads = hbtest::failEachRead(tryLoadThenSearch(false), failed);
        const long searchReads = hbtest::failEachRead(tryLoadThenSearch(true), failed);
        std::cout << "[ reads    ] " << w.name << ": " << reads;
        if (searched)
            std::cout << ", its search: " << searchReads;
        std::cout << '\n';
        ui->prompts.clear();
    }
}

// The grower and the shop master: one row each, reloaded whenever the dialog becomes active.
TEST_P(TwoComputersTest, TheGrowerAndTheShopMaster)
{
    struct Case {
        const char *dialog, *table, *key;
        const char *box2;  // the column of box 2 (住所, 母体名)
        std::function<hb::Form &()> form;
    } cases[] = {
        {"fdlMstFmrEdit", "M_FMR", "FMR_ID", "ADRS", [] () -> hb::Form & { return hb::form<hb::fdlMstFmrEdit>(); }},
        {"fdlMstShopEdit", "M_SHOP", "SHOP_ID", "OWNER_NM",
         [] () -> hb::Form & { return hb::form<hb::fdlMstShopEdit>(); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.dialog);
        const QString select = QStringLiteral("SELECT %2 FROM %1 WHERE %3=1").arg(c.table);
        const auto cell = [&](const char *column) {
            return hb::gMst->GetFwdOnlyRst(select.arg(column, c.key))->Fields(0);
        };
        const auto open = [&]() -> hb::MasterRowDialog & {
            hb::Form &f = c.form();
            f.showModeless();
            hbtest::activate(&f);
            settle();
            return dynamic_cast<hb::MasterRowDialog &>(f);
        };
        pcs->use(1);
        hb::MasterRowDialog *d = &open();  // pc2 opens the dialog
        pcs->use(0);
        hb::gMst->EXEC(QStringLiteral("UPDATE %1 SET NOTES='休業日 水' WHERE %2=1").arg(c.table, c.key));
        pcs->use(1);
        hbtest::enter(d->box(2), "東区 1-2");
        hbtest::click(d->command(1));         // 登録
        EXPECT_EQ(takePrompts(), QStringList{kRefused}) << "the refusal alone";
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(d->box(2)->text(), "東区 1-2");
        EXPECT_EQ(cell("NOTES"), Value("休業日 水"));
        EXPECT_TRUE(cell(c.box2).isNull());
        d->Unload();
        settle();

        for (const char *address : {"東区 1-2", "東区 1-3"}) {
            d = &open();
            hbtest::enter(d->box(2), address);
            hbtest::click(d->command(1));
            EXPECT_TRUE(takePrompts().isEmpty());
            EXPECT_FALSE(d->isVisible());
            EXPECT_EQ(cell(c.box2), Value(address));
            EXPECT_EQ(cell("NOTES"), Value("休業日 水"));
            settle();
        }
    }
}

HB_INSTANTIATE_BOTH_BACKENDS(TwoComputersTest);

}  // namespace
