// The main menu and the connection, installation and upload settings dialogs.

#include "common/harness.h"
#include "common/printers.h"
#include "common/programdir.h"
#include "app/fdlsetconctrl.h"
#include "app/fdlsetlocalctrl.h"
#include "app/fmnmain.h"
#include "app/mainproc.h"
#include "common/scriptedui.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/globals.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

using hb::Value;
using hbtest::child;

namespace {

class MenuAndSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        hb::installAppHooks();
        dir.createAndOpen();
    }
    void TearDown() override
    {
        hb::destroyForms();
        hbtest::settle();
    }
    static Value ctrl(const QString &key) { return hb::gINI->DLookup("CTRL_VALUE", "S_CTRL", "CTRL_CD='" + key + "'"); }
    static QStringList allKeys()
    {
        return {"DB_TYPE", "DB_DSN", "DB_NAME", "DB_USER", "DB_PSWD", "DB_DBPW",
                "MST_TYPE", "MST_DSN", "MST_NAME", "MST_USER", "MST_PSWD", "MST_DBPW"};
    }
    QMap<QString, Value> snapshot() const
    {
        QMap<QString, Value> m;
        for (const QString &k : allKeys())
            m[k] = ctrl(k);
        return m;
    }
    void addGrowers()
    {
        hb::gMst->EXEC("INSERT INTO M_FMR (FMR_ID, FMR_NM) VALUES (1, '一郎')");
        hb::gMst->EXEC("INSERT INTO M_FMR (FMR_ID, FMR_NM, CHK_FLG) VALUES (2, '次郎', 0)");
        hb::gMst->EXEC("INSERT INTO M_FMR (FMR_ID, FMR_NM) VALUES (3, 'O''Hara')");
    }

    hbtest::ProgramDir dir;
    hbtest::ScopedScriptedUi ui;
};

// ------------------------------------------------------------------ connection settings

TEST_F(MenuAndSettings, ConnectionDialogLoadsAndRewritesEveryKey)
{
    hb::gINI->SaveCtrl("DB_USER", Value("grower"));
    hb::gINI->SaveCtrl("DB_PSWD", Value("secret"));
    hb::gINI->SaveCtrl("MST_TYPE", Value("7"));  // out of range: the empty entry, the rest loads
    auto &dlg = hb::form<hb::fdlSetConCtrl>();
    hbtest::driveModal(&dlg, [&](QDialog *d) {
        EXPECT_EQ(d->windowTitle(), "接続設定");
        EXPECT_EQ(child<QComboBox>(d, "cmbTYPE_5")->currentText(), "MDB");
        EXPECT_EQ(child<QComboBox>(d, "cmbTYPE_6")->currentIndex(), 0);
        EXPECT_EQ(child<QLineEdit>(d, "Text1_2")->text(), "../data/DATA.MDB");
        EXPECT_EQ(child<QLineEdit>(d, "Text1_3")->text(), "grower");
        // The four password boxes show every character as "*".
        EXPECT_EQ(child<QLineEdit>(d, "Text1_4")->displayText(), "******");
        for (const char *name : {"Text1_5", "Text1_10", "Text1_11"}) {
            auto *box = child<QLineEdit>(d, name);
            const QString stored = box->text();
            box->setText("pw");
            EXPECT_EQ(box->displayText(), "**") << name;
            box->setText(stored);
        }
        hbtest::savePicture(d, "/tmp/hb_fdlSetConCtrl.png");
        child<QComboBox>(d, "cmbTYPE_6")->setCurrentIndex(2);
        hbtest::click(child<QPushButton>(d, "Command1_1"));
    });
    EXPECT_FALSE(dlg.isLoaded());
    for (const QString &k : allKeys())
        EXPECT_EQ(hb::gINI->DCount("*", "S_CTRL", "CTRL_CD='" + k + "'").toInt(), 1) << k.toStdString();
    EXPECT_EQ(ctrl("DB_TYPE"), Value("2"));
    EXPECT_EQ(ctrl("MST_TYPE"), Value("2"));
    EXPECT_TRUE(ctrl("DB_DSN").isNull());  // an empty box stores Null
    EXPECT_EQ(ctrl("DB_USER"), Value("grower"));
    EXPECT_TRUE(hb::gDb->isOpen());  // reconnected with the saved settings
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
}

TEST_F(MenuAndSettings, ConnectionDialogFailedSaveChangesNothingAndStaysOpen)
{
    // Forced failures: in the fifth key written, and separately in the commit (a deferred
    // constraint that only the commit checks).
    hb::gINI->EXEC("PRAGMA foreign_keys = ON");
    hb::gINI->EXEC("CREATE TABLE T_FAIL (K VARCHAR(10) REFERENCES S_CTRL (CTRL_CD) DEFERRABLE INITIALLY DEFERRED)");
    struct Case {
        const char *name;
        const char *trigger;
    } cases[] = {
        {"fifth key", "CREATE TRIGGER T_FORCE BEFORE UPDATE ON S_CTRL WHEN NEW.CTRL_CD='DB_PSWD' "
                      "BEGIN SELECT RAISE(ABORT, 'forced'); END"},
        {"fifth key (new row)", "CREATE TRIGGER T_FORCE BEFORE INSERT ON S_CTRL WHEN NEW.CTRL_CD='DB_PSWD' "
                                "BEGIN SELECT RAISE(ABORT, 'forced'); END"},
        {"commit", "CREATE TRIGGER T_FORCE AFTER UPDATE ON S_CTRL WHEN NEW.CTRL_CD='MST_DBPW' "
                   "BEGIN INSERT INTO T_FAIL (K) VALUES ('NO_SUCH_KEY'); END"},
    };
    for (const auto &c : cases) {
        hb::gINI->SaveCtrl("MST_DBPW", Value("old"));
        hb::gINI->EXEC("DELETE FROM S_CTRL WHERE CTRL_CD='DB_PSWD'");
        if (QString::fromLatin1(c.trigger).contains("UPDATE ON S_CTRL WHEN NEW.CTRL_CD='DB_PSWD'"))
            hb::gINI->SaveCtrl("DB_PSWD", Value("secret"));
        hb::gINI->EXEC(QString::fromLatin1(c.trigger));
        const auto before = snapshot();
        ui->prompts.clear();
        auto &dlg = hb::form<hb::fdlSetConCtrl>();
        hbtest::driveModal(&dlg, [&](QDialog *d) {
            child<QLineEdit>(d, "Text1_1")->setText("changed");
            child<QLineEdit>(d, "Text1_11")->setText("new");
            hbtest::click(child<QPushButton>(d, "Command1_1"));
            EXPECT_TRUE(d->isVisible()) << c.name;
            EXPECT_EQ(child<QLineEdit>(d, "Text1_1")->text(), "changed") << c.name;
            dlg.Unload();
        });
        EXPECT_EQ(snapshot(), before) << c.name;
        EXPECT_FALSE(hb::gINI->inTransaction()) << c.name;
        ASSERT_FALSE(ui->prompts.empty()) << c.name;
        EXPECT_EQ(ui->prompts.back().text, "データの登録に失敗しました。") << c.name;
        EXPECT_EQ(ui->prompts.back().style, 48) << c.name;
        hb::gINI->EXEC("DROP TRIGGER T_FORCE");
        hb::destroyForms();
    }
}

TEST_F(MenuAndSettings, ConnectionDialogWritesNothingWhenItsTransactionCannotBegin)
{
    // BEGIN fails while another transaction is open on the settings database: no key may be
    // written into that transaction (its commit would take them along).
    hb::gINI->SaveCtrl("DB_DSN", Value("before"));
    const auto before = snapshot();
    hb::gINI->Begintrans();
    ui->prompts.clear();
    auto &dlg = hb::form<hb::fdlSetConCtrl>();
    hbtest::driveModal(&dlg, [&](QDialog *d) {
        child<QLineEdit>(d, "Text1_1")->setText("changed");
        hbtest::click(child<QPushButton>(d, "Command1_1"));
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(child<QLineEdit>(d, "Text1_1")->text(), "changed");
        dlg.Unload();
    });
    ASSERT_TRUE(hb::gINI->inTransaction());  // the other transaction is untouched
    hb::gINI->CommitTrans();
    EXPECT_EQ(snapshot(), before);
    ASSERT_EQ(ui->prompts.size(), 1u) << ui->promptTexts().join('|').toStdString();
    EXPECT_EQ(ui->prompts.back().text, "データの登録に失敗しました。");
    EXPECT_EQ(ui->prompts.back().style, 48);
}

TEST_F(MenuAndSettings, AFailedConnectionOpensTheConnectionDialogAndRetries)
{
    hb::gINI->SaveCtrl("DB_NAME", Value("../data/MOVED.MDB"));  // no such file
    ui->answers = {hb::kAnsYes};
    int shown = 0;
    hbtest::onModal(ui.get(), "fdlSetConCtrl", [&](QDialog *d) {
        ++shown;
        EXPECT_EQ(d->parentWidget(), nullptr);  // shown without owner
        auto *name = child<QLineEdit>(d, "Text1_2");
        EXPECT_EQ(name->text(), "../data/MOVED.MDB");
        name->setText("../data/DATA.MDB");
        hbtest::click(child<QPushButton>(d, "Command1_1"));
    });
    hb::InitDb();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(ui->promptTexts(),
              QStringList{"ﾃﾞｰﾀﾍﾞｰｽが不正ですので設定してください。\nデータベースファイルが見つかりません：../data/MOVED.MDB"});
    ASSERT_TRUE(hb::gDb && hb::gDb->isOpen());
    EXPECT_EQ(hb::gDb->DCount("*", "D_DIARY", "").toInt(), 0);
    EXPECT_EQ(ctrl("DB_NAME"), Value("../data/DATA.MDB"));
}

TEST_F(MenuAndSettings, ConnectionDialogMaximisedScalesItsFieldsFontsButNotTheFrames)
{
    hb::gINI->SaveCtrl("WINDOW_STA", Value(true));
    auto &dlg = hb::form<hb::fdlSetConCtrl>();
    hbtest::driveModal(&dlg, [&](QDialog *d) {
        ASSERT_TRUE(d->isMaximized());
        const double design = QApplication::font().pointSizeF();
        EXPECT_GT(child<QLabel>(d, "Label1_0")->font().pointSizeF(), design);
        EXPECT_GT(child<QLineEdit>(d, "Text1_1")->font().pointSizeF(), design);
        EXPECT_EQ(child<QWidget>(d, "Shape1_0")->font().pointSizeF(), design);
        hbtest::savePicture(d, "/tmp/hb_fdlSetConCtrl_maximised.png");
        dlg.Unload();
    });
}

TEST_F(MenuAndSettings, CancelEndsTheProgramOnlyWithoutTheMenu)
{
    auto &dlg = hb::form<hb::fdlSetConCtrl>();
    EXPECT_THROW(hbtest::driveModal(&dlg, [](QDialog *d) { hbtest::click(child<QPushButton>(d, "Command1_0")); }),
                 hb::ProgramEnded);
    hb::destroyForms();
    dir.createAndOpen();  // the ended program released its databases
    ui->endCodes.clear();

    hb::gUseType = hb::kUseMulti;
    auto &menu = hb::form<hb::fmnMain>();
    menu.showModeless();
    hbtest::activate(&menu);
    for (const char *name : {"fdlSetConCtrl", "fdlSetLocalCtrl"}) {
        hbtest::onModal(ui.get(), name, [](QDialog *d) { hbtest::click(child<QPushButton>(d, "Command1_0")); });
    }
    hbtest::click(menu.menuButton(1));
    hbtest::click(menu.menuButton(2));
    EXPECT_EQ(ui->modalShown, (QStringList{"fdlSetConCtrl", "fdlSetLocalCtrl"}));
    EXPECT_TRUE(ui->endCodes.empty());
    EXPECT_FALSE(hb::IsFormLoaded("fdlSetLocalCtrl"));
    EXPECT_TRUE(menu.isVisible()) << menu.isHidden() << " " << menu.isLoaded();
}

// ------------------------------------------------------------------ installation settings

TEST_F(MenuAndSettings, InstallationDialogWritesFiveTypedRows)
{
    hb::gINI->EXEC("DELETE FROM S_CTRL WHERE CTRL_CD IN ('USE_TYPE','DEF_FMR_ID','DEF_SHOP_ID','BACK_DIR','WINDOW_STA')");
    auto &dlg = hb::form<hb::fdlSetLocalCtrl>();
    hbtest::driveModal(&dlg, [&](QDialog *d) {
        EXPECT_FALSE(child<QRadioButton>(d, "Option1_0")->isChecked());
        EXPECT_FALSE(child<QRadioButton>(d, "Option1_1")->isChecked());
        EXPECT_EQ(child<QLineEdit>(d, "txtDATA_0")->text(), "");
        child<QLineEdit>(d, "txtDATA_0")->setText("1.5");
        ui->folders = {"/srv/backup"};
        hbtest::click(child<QPushButton>(d, "Command1_2"));
        EXPECT_EQ(child<QLineEdit>(d, "txtDATA_2")->text(), "/srv/backup");
        hbtest::savePicture(d, "/tmp/hb_fdlSetLocalCtrl.png");
        hbtest::click(child<QPushButton>(d, "Command1_1"));
    });
    EXPECT_FALSE(dlg.isLoaded());
    struct { const char *key; int type; Value value; } rows[] = {
        {"USE_TYPE", 4, Value::null()}, {"DEF_FMR_ID", 4, Value("1.5")}, {"DEF_SHOP_ID", 4, Value::null()},
        {"BACK_DIR", 10, Value("/srv/backup")}, {"WINDOW_STA", 1, Value("0")},
    };
    for (const auto &r : rows) {
        EXPECT_EQ(hb::gINI->DLookup("CTRL_TYPE", "S_CTRL", QStringLiteral("CTRL_CD='%1'").arg(r.key)).toInt(), r.type) << r.key;
        EXPECT_EQ(ctrl(r.key), r.value) << r.key;
    }
    EXPECT_TRUE(ui->prompts.empty());
}

TEST_F(MenuAndSettings, InstallationDialogKeepsTypesAndLoadsValues)
{
    hb::gINI->EXEC("UPDATE S_CTRL SET CTRL_TYPE=NULL WHERE CTRL_CD='DEF_SHOP_ID'");
    hb::gINI->SaveCtrl("WINDOW_STA", Value(false));
    auto &dlg = hb::form<hb::fdlSetLocalCtrl>();
    hbtest::driveModal(&dlg, [&](QDialog *d) {
        EXPECT_TRUE(child<QRadioButton>(d, "Option1_0")->isChecked());  // USE_TYPE 1 of a first start
        EXPECT_EQ(child<QLineEdit>(d, "txtDATA_0")->text(), "1");
        EXPECT_FALSE(child<QCheckBox>(d, "Check1")->isChecked());
        child<QRadioButton>(d, "Option1_1")->setChecked(true);
        child<QLineEdit>(d, "txtDATA_0")->clear();
        child<QCheckBox>(d, "Check1")->setChecked(true);
        hbtest::click(child<QPushButton>(d, "Command1_1"));
    });
    EXPECT_EQ(ctrl("USE_TYPE"), Value("2"));
    EXPECT_TRUE(ctrl("DEF_FMR_ID").isNull());
    EXPECT_TRUE(hb::gINI->DLookup("CTRL_TYPE", "S_CTRL", "CTRL_CD='DEF_SHOP_ID'").isNull());
    EXPECT_EQ(hb::gINI->GetCtrl("WINDOW_STA"), Value(true));
    EXPECT_EQ(hb::gINI->DCount("*", "S_CTRL", "CTRL_CD='WINDOW_STA'").toInt(), 1);
}

TEST_F(MenuAndSettings, InstallationDialogRefusesNonNumericCodes)
{
    auto &dlg = hb::form<hb::fdlSetLocalCtrl>();
    hbtest::driveModal(&dlg, [&](QDialog *d) {
        auto *grower = child<QLineEdit>(d, "txtDATA_0");
        auto *shop = child<QLineEdit>(d, "txtDATA_1");
        hbtest::focusByClick(grower);
        grower->setText("12a");
        hbtest::click(child<QPushButton>(d, "Command1_1"));
        ASSERT_EQ(ui->prompts.size(), 1u);
        EXPECT_EQ(ui->prompts[0].text, "生産者ｺｰﾄﾞには数値を指定してください。");
        EXPECT_EQ(ui->prompts[0].title, "HarvestBook");
        EXPECT_EQ(ui->prompts[0].style, 48);
        EXPECT_EQ(QApplication::focusWidget(), grower);
        EXPECT_TRUE(d->isVisible());  // Register did not run
        grower->setText("7");
        hbtest::focusByClick(shop);
        shop->setText("x");
        hbtest::pressKey(Qt::Key_Tab);
        EXPECT_EQ(ui->prompts.back().text, "販売店ｺｰﾄﾞには数値を指定してください。");
        EXPECT_EQ(QApplication::focusWidget(), shop);
        shop->setText("");
        dlg.Unload();
    });
    EXPECT_EQ(ctrl("DEF_FMR_ID"), Value("1"));  // nothing saved
}

TEST_F(MenuAndSettings, UploadSettingsFormSavesNothing)
{
    const auto before = hb::gINI->DCount("*", "S_CTRL", "").toInt();
    auto &dlg = hb::form<hb::fdlSetMstCtrl>();
    hbtest::driveModal(&dlg, [&](QDialog *d) {
        EXPECT_EQ(d->windowTitle(), "共通設定");
        child<QLineEdit>(d, "txtDATA_10")->setText("ftp.example");
        hbtest::savePicture(d, "/tmp/hb_fdlSetMstCtrl.png");
        hbtest::click(child<QPushButton>(d, "Command1_1"));
        EXPECT_TRUE(d->isVisible());
        EXPECT_THROW(hbtest::click(child<QPushButton>(d, "Command1_0")), hb::ProgramEnded);
    });
    dir.createAndOpen();
    EXPECT_EQ(hb::gINI->DCount("*", "S_CTRL", "").toInt(), before);
}

// ------------------------------------------------------------------ main menu

TEST_F(MenuAndSettings, MultiGrowerMenuSelectsTheCurrentGrower)
{
    addGrowers();
    hb::gUseType = hb::kUseMulti;
    hb::gFmrID = Value(3);
    auto &menu = hb::form<hb::fmnMain>();
    menu.showModeless();
    hbtest::activate(&menu);
    EXPECT_EQ(menu.windowTitle(), "メインメニュー");
    auto *cmb = menu.growerSelector();
    ASSERT_EQ(cmb->count(), 3);
    EXPECT_EQ(cmb->itemText(0), "");
    EXPECT_EQ(cmb->itemData(1).toInt(), 1);
    EXPECT_EQ(cmb->itemText(2), "O'Hara");
    EXPECT_EQ(cmb->currentIndex(), 2);  // reselected on Activate
    EXPECT_EQ(menu.menuButton(0)->text(), "終了");
    EXPECT_EQ(menu.menuButton(6), nullptr);
    EXPECT_TRUE(child<QWidget>(&menu, "fraCal")->isVisible());
    hbtest::savePicture(&menu, "/tmp/hb_fmnMain.png");

    hbtest::focusByClick(cmb);
    cmb->setCurrentIndex(0);
    hbtest::focusByClick(menu.menuButton(2));  // leaving the selector
    EXPECT_EQ(hb::gFmrID, Value(0));
    hb::gFmrID = Value(2);  // not listed: nothing selected on Activate
    cmb->setCurrentIndex(-1);
    hbtest::onModal(ui.get(), "fdlSetLocalCtrl", [](QDialog *d) { d->reject(); });
    hbtest::click(menu.menuButton(2));
    EXPECT_EQ(cmb->currentIndex(), -1);
    hbtest::focusByClick(cmb);
    hbtest::focusByClick(menu.menuButton(2));
    EXPECT_EQ(hb::gFmrID, Value(2));  // leaving with no entry keeps the grower

    EXPECT_THROW(hbtest::click(menu.menuButton(0)), hb::ProgramEnded);
    EXPECT_FALSE(hb::IsFormLoaded("fmnMain"));
}

TEST_F(MenuAndSettings, SingleGrowerMenuHidesTheSelectorAndOnlyCloses)
{
    hb::gUseType = hb::kUseSingle;
    auto &menu = hb::form<hb::fmnMain>();
    menu.showModeless();
    hbtest::activate(&menu);
    EXPECT_FALSE(menu.growerSelector()->isVisible());
    EXPECT_FALSE(child<QWidget>(&menu, "lblCAP_0")->isVisible());
    EXPECT_FALSE(child<QWidget>(&menu, "fraCal")->isVisible());
    EXPECT_EQ(menu.menuButton(0)->text(), "閉じる");
    hbtest::click(menu.menuButton(0));
    EXPECT_TRUE(ui->endCodes.empty());
    EXPECT_FALSE(hb::IsFormLoaded("fmnMain"));
}

TEST_F(MenuAndSettings, MenuButtonsOpenTheirWindowsModally)
{
    hb::gUseType = hb::kUseMulti;
    auto &menu = hb::form<hb::fmnMain>();
    menu.showModeless();
    hbtest::activate(&menu);
    const struct {
        int index;
        const char *window;
    } buttons[] = {{1, "fdlSetConCtrl"},  {2, "fdlSetLocalCtrl"},   {3, "fdlMstFmrEdit"},
                   {4, "fdlMstPrdEdit"},  {5, "fdlPrintAccRep"},    {7, "fdlPrintPriceTag"},
                   {8, "fdlExpPriceTag"},
                   {9, "fdlPrintTraceRep"}, {10, "fdlUploadTraceData"}, {11, "fdlMstShopEdit"},
                   {12, "frmDairyCal"}};
    for (const auto &b : buttons) {
        ui->modalShown.clear();
        hbtest::click(menu.menuButton(b.index));
        EXPECT_EQ(ui->modalShown, QStringList{b.window}) << b.index;
    }
    EXPECT_TRUE(ui->endCodes.empty());
}

TEST_F(MenuAndSettings, MenuWithAnUnknownUseTypeEnds)
{
    hb::gUseType = 3;
    EXPECT_THROW(hb::form<hb::fmnMain>().showModeless(), hb::ProgramEnded);
}

}  // namespace
