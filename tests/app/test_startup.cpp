// The start-up checks and the main window chosen by the use type.

#include "common/backends.h"
#include "common/harness.h"
#include "common/printers.h"
#include "common/programdir.h"
#include "common/scriptedui.h"
#include "core/appinit.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/globals.h"
#include "core/schema.h"
#include "app/fdlsetconctrl.h"
#include "app/mainproc.h"
#include "core/startup.h"
#include "diary/frmdairycal.h"
#include "masters/fdlmstfmredit.h"
#include "masters/fdlmstshopedit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <gtest/gtest.h>
#include <stdexcept>

using hb::Value;

namespace {

class StartUp : public ::testing::Test {
protected:
    void SetUp() override
    {
        hb::createMissingDatabases(dir.bin());
        ini = hb::DirectDb::file(dir.path("ini/INFO.MDB"), false);
        mst = hb::DirectDb::file(dir.path("data/MASTER.MDB"), false);
    }
    void TearDown() override
    {
        hb::startUpStepHook() = nullptr;
        ini.reset();
        mst.reset();
        hb::destroyForms();
        hbtest::settle();
    }
    void setCtrl(const QString &key, const Value &v) { ini->EXEC("UPDATE S_CTRL SET CTRL_VALUE=? WHERE CTRL_CD=?", {v, Value(key)}); }
    void addGrower(int id, int chk = -1)
    {
        mst->EXEC("INSERT INTO M_FMR (FMR_ID, FMR_NM, CHK_FLG) VALUES (?, ?, ?)", {Value(id), Value(QStringLiteral("生産者%1").arg(id)), Value(chk)});
    }
    void addShop(int id) { mst->EXEC("INSERT INTO M_SHOP (SHOP_ID, SHOP_NM) VALUES (?, '直売所')", {Value(id)}); }
    // Runs the start-up; true when it ended the program.
    bool runMain()
    {
        try {
            hb::Main();
        } catch (const hb::ProgramEnded &) {
            return true;
        }
        return false;
    }

    hbtest::ProgramDir dir;
    hbtest::ScopedScriptedUi ui;
    std::unique_ptr<hb::DirectDb> ini;
    std::unique_ptr<hb::DirectDb> mst;
};

TEST_F(StartUp, FirstStartAsksForTheGrowerThenTheShopAndShowsTheCalendar)
{
    // As a person does it: the grower master, then the shop master, each filled and registered.
    int growerDialogs = 0;
    hbtest::onModal(ui.get(), "fdlMstFmrEdit", [&](QDialog *d) {
        ++growerDialogs;
        auto &f = static_cast<hb::fdlMstFmrEdit &>(*d);
        EXPECT_EQ(d->windowTitle(), "生産者情報編集");
        EXPECT_EQ(f.box(0)->text(), "1");
        hbtest::typeText(f.box(1), QStringLiteral("緑丘 太郎"));
        hbtest::click(f.command(1));
    });
    hbtest::onModal(ui.get(), "fdlMstShopEdit", [&](QDialog *d) {
        auto &f = static_cast<hb::fdlMstShopEdit &>(*d);
        hbtest::typeText(f.box(1), QStringLiteral("道の駅みどりの丘"));
        hbtest::click(f.command(1));
    });
    EXPECT_FALSE(runMain());
    EXPECT_EQ(hb::gMst->DLookup("FMR_NM", "M_FMR", "FMR_ID=1"), Value("緑丘 太郎"));
    EXPECT_EQ(hb::gMst->DLookup("SHOP_NM", "M_SHOP", "SHOP_ID=1"), Value("道の駅みどりの丘"));
    auto *cal = &hb::form<hb::frmDairyCal>();
    EXPECT_EQ(cal->windowTitle(), "日誌一覧");
    hbtest::activate(cal);
    hbtest::savePicture(cal, "/tmp/hb_first_start_calendar.png");
    EXPECT_EQ(ui->promptTexts(), (QStringList{"生産者情報を設定してください。", "販売店情報を設定してください。"}));
    EXPECT_EQ(ui->prompts.at(0).style, 48);
    EXPECT_EQ(growerDialogs, 1);
    EXPECT_TRUE(hb::IsFormLoaded("frmDairyCal"));
    EXPECT_EQ(hb::gFmrID, Value(1));
    EXPECT_EQ(hb::gShopID, Value(1));
}

TEST_F(StartUp, AMissingDefaultGrowerIsAskedForAgainUntilItExists)
{
    for (int id = 1; id <= 4; ++id)
        addGrower(id, id == 4 ? 0 : -1);
    addShop(1);
    setCtrl("DEF_FMR_ID", Value("5"));
    int shown = 0;
    hbtest::onModal(ui.get(), "fdlSetLocalCtrl", [&](QDialog *d) {
        if (++shown == 2)
            setCtrl("DEF_FMR_ID", Value("4"));  // a grower whose valid flag is 0 passes
        d->reject();
    });
    EXPECT_FALSE(runMain());
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(ui->promptTexts(), (QStringList{"既定生産者IDを設定してください。", "既定生産者IDを設定してください。"}));
    EXPECT_EQ(hb::gFmrID, Value(4));
}

TEST_F(StartUp, TheDefaultShopOnlyHasToExist)
{
    addGrower(1);
    addShop(7);
    setCtrl("DEF_SHOP_ID", Value("7"));
    ini->EXEC("UPDATE S_CTRL SET CTRL_VALUE='2' WHERE CTRL_CD='USE_TYPE'");
    EXPECT_FALSE(runMain());
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
    EXPECT_EQ(hb::gShopID, Value(1));
    EXPECT_TRUE(hb::IsFormLoaded("fmnMain"));
}

TEST_F(StartUp, AnEmptyShopTableAsksForTheShopMaster)
{
    addGrower(1);
    hbtest::onModal(ui.get(), "fdlMstShopEdit", [&](QDialog *d) {
        addShop(1);
        d->reject();
    });
    EXPECT_FALSE(runMain());
    EXPECT_EQ(ui->promptTexts(), QStringList{"販売店情報を設定してください。"});
}

TEST_F(StartUp, AnUnknownUseTypeEndsWithoutAWindow)
{
    addGrower(1);
    addShop(1);
    for (const Value &v : {Value("3"), Value::null()}) {
        setCtrl("USE_TYPE", v);
        EXPECT_TRUE(runMain());
        EXPECT_TRUE(ui->prompts.empty());
        EXPECT_TRUE(hb::loadedForms().isEmpty());
    }
    ini->EXEC("DELETE FROM S_CTRL WHERE CTRL_CD='USE_TYPE'");
    EXPECT_TRUE(runMain());
    EXPECT_TRUE(ui->prompts.empty());
}

TEST_F(StartUp, CancelInTheInstallationDialogEndsTheFirstStart)
{
    addGrower(1);
    setCtrl("DEF_FMR_ID", Value::null());
    hbtest::onModal(ui.get(), "fdlSetLocalCtrl", [](QDialog *d) { hbtest::click(hbtest::child<QPushButton>(d, "Command1_0")); });
    EXPECT_TRUE(runMain());
    EXPECT_EQ(ui->promptTexts(), QStringList{"既定生産者IDを設定してください。"});
}

TEST_F(StartUp, ASettingsFileThatIsNoDatabaseEndsTheProgram)
{
    ini.reset();
    QFile f(dir.path("ini/INFO.MDB"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("not a database");
    f.close();
    EXPECT_TRUE(runMain());
    ASSERT_EQ(ui->prompts.size(), 1u);
    EXPECT_EQ(ui->prompts[0].style, 16);
    EXPECT_EQ(ui->prompts[0].text, "設定データベースを開けません。データベースのファイルではありません：" + f.fileName())
        << "the file named once, with why";
}

TEST_F(StartUp, AnErrorNoStepTrapsIsReportedAndEndsTheProgram)
{
    addGrower(1);
    addShop(1);
    struct Failure {
        const char *what;
        std::function<void()> raise;
        QString description;
    } failures[] = {
        {"database error", [] { throw hb::HbError(3709, "接続が閉じています。"); }, "接続が閉じています。"},
        {"other error", [] { throw std::runtime_error("out of order"); }, "out of order"},
    };
    for (const char *step : {"settings", "data", "master", "work", "grower", "shop", "pesticide", "window"}) {
        for (const Failure &f : failures) {
            SCOPED_TRACE(std::string(step) + ", " + f.what);
            ui->prompts.clear();
            ui->endCodes.clear();
            hb::startUpStepHook() = [&](const QString &s) {
                if (s == step)
                    f.raise();
            };
            EXPECT_TRUE(runMain());
            hb::startUpStepHook() = nullptr;
            ASSERT_EQ(ui->prompts.size(), 1u) << ui->promptTexts().join('|').toStdString();
            EXPECT_EQ(ui->prompts[0].text, f.description);
            EXPECT_EQ(ui->prompts[0].style, hb::kMsgCritical);
            EXPECT_EQ(ui->prompts[0].title, "緑丘作業手帳");
            EXPECT_EQ(ui->endCodes, std::vector<int>{0});
            EXPECT_TRUE(hb::loadedForms().isEmpty());
            EXPECT_FALSE(hb::gDb || hb::gMst || hb::gINI || hb::gWork) << "the databases are released";
        }
    }
    // Nothing left over: the next start goes through.
    EXPECT_FALSE(runMain());
    EXPECT_TRUE(hb::IsFormLoaded("frmDairyCal"));
}

// A data file that cannot be written (query-only once open: refused as a read-only file is)
// opens the calendar. The reset of unused purchases writes only when one needs it, and then its
// failure is shown once; the next start that can write resets.
TEST_F(StartUp, ADataFileThatCannotBeWrittenStillOpensTheCalendar)
{
    addGrower(1);
    addShop(1);
    auto data = hb::DirectDb::file(dir.path("data/DATA.MDB"), false);
    for (const double used : {0.0, 4.0}) {  // nothing to reset; a purchase to reset
        data->EXEC("DELETE FROM D_CHEMI");
        data->EXEC("INSERT INTO D_CHEMI (FMR_ID, CHEMI_ID, CHEMI_NM, PUR_QTY, USED_QTY, REST_QTY) VALUES (1, 1, 'x', 10, ?, ?)",
                   {Value(used), Value(10 - used)});
        for (const bool writable : {false, true}) {
            SCOPED_TRACE(testing::Message() << used << (writable ? ", writable" : ", read-only"));
            ui->prompts.clear();
            hb::destroyForms();
            hb::startUpStepHook() = [writable](const QString &step) {
                if (step == "grower" && !writable)
                    hb::gDb->EXEC("PRAGMA query_only = 1");
            };
            ASSERT_FALSE(runMain()) << ui->promptTexts().join('|').toStdString();
            EXPECT_EQ(ui->promptTexts(), used && !writable ? QStringList{hb::DbObject::readOnlyText(hb::gDb->whereText())}
                                                           : QStringList());
            EXPECT_TRUE(hb::IsFormLoaded("frmDairyCal"));
            EXPECT_EQ(data->DLookup("USED_QTY", "D_CHEMI", ""), Value(writable ? 0.0 : used));
        }
    }
}

TEST_F(StartUp, EmptyServerDatabasesRegisteredInTheConnectionDialogGetTheirTables)
{
    std::string why;
    if (!hbtest::serverAvailable(&why))
        GTEST_SKIP() << why;
    hbtest::FreshDatabase data(hbtest::Backend::MariaDb), master(hbtest::Backend::MariaDb);
    addGrower(1);
    addShop(1);
    ASSERT_FALSE(runMain());  // on the files of the first start

    // 接続設定: both kinds MYSQL, the data source and each server database's name, 登録.
    auto &dialog = hb::form<hb::fdlSetConCtrl>();
    hbtest::driveModal(&dialog, [&](QDialog *d) {
        for (const char *combo : {"cmbTYPE_5", "cmbTYPE_6"})
            hbtest::choose(hbtest::ctl<QComboBox>(d, combo), "MYSQL");
        hbtest::enter(hbtest::ctl<QLineEdit>(d, "Text1_1"), data.serverParams().dsn);
        hbtest::enter(hbtest::ctl<QLineEdit>(d, "Text1_2"), data.serverParams().database);
        hbtest::enter(hbtest::ctl<QLineEdit>(d, "Text1_7"), master.serverParams().dsn);
        hbtest::enter(hbtest::ctl<QLineEdit>(d, "Text1_8"), master.serverParams().database);
        hbtest::click(hbtest::ctl<QPushButton>(d, "Command1_1"));
    });
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
    EXPECT_EQ(hb::gDb->DBTYPE(), "MYSQL");
    for (const QString &t : hb::schemaTables(hb::Schema::Data))
        EXPECT_FALSE(data.db().tableColumns(t).isEmpty()) << t.toStdString();
    for (const QString &t : hb::schemaTables(hb::Schema::Master))
        EXPECT_FALSE(master.db().tableColumns(t).isEmpty()) << t.toStdString();

    // The next start asks for the grower and the shop, as a first start does, and shows the calendar.
    const auto restart = [&] {
        hb::destroyForms();
        hbtest::settle();
        hbtest::ProgramDir::releaseGlobals();
        ui->prompts.clear();
        ui->modalShown.clear();
        return runMain();
    };
    hbtest::onModal(ui.get(), "fdlMstFmrEdit", [&](QDialog *d) {
        hbtest::typeText(static_cast<hb::fdlMstFmrEdit *>(d)->box(1), QStringLiteral("緑丘 太郎"));
        hbtest::click(static_cast<hb::fdlMstFmrEdit *>(d)->command(1));
    });
    hbtest::onModal(ui.get(), "fdlMstShopEdit", [&](QDialog *d) {
        hbtest::typeText(static_cast<hb::fdlMstShopEdit *>(d)->box(1), QStringLiteral("道の駅みどりの丘"));
        hbtest::click(static_cast<hb::fdlMstShopEdit *>(d)->command(1));
    });
    EXPECT_FALSE(restart());
    EXPECT_EQ(ui->promptTexts(), (QStringList{"生産者情報を設定してください。", "販売店情報を設定してください。"}));
    EXPECT_TRUE(hb::IsFormLoaded("frmDairyCal"));
    EXPECT_EQ(master.db().DLookup("FMR_NM", "M_FMR", "FMR_ID=1"), Value("緑丘 太郎"));
    EXPECT_EQ(master.db().DLookup("SHOP_NM", "M_SHOP", "SHOP_ID=1"), Value("道の駅みどりの丘"));

    // A master database that lost a table: the question names it, はい opens 接続設定.
    master.db().EXEC("DROP TABLE M_SHOP");
    ui->answers = {hb::kAnsYes};
    hbtest::onModal(ui.get(), "fdlSetConCtrl", [](QDialog *d) { hbtest::click(hbtest::ctl<QPushButton>(d, "Command1_0")); });
    EXPECT_TRUE(restart()) << "ｷｬﾝｾﾙ in the dialog ends the start";
    EXPECT_EQ(ui->promptTexts(), QStringList{"ﾏｽﾀﾃﾞｰﾀが不正ですので設定してください。\nデータベースに表がありません：M_SHOP"});
    EXPECT_EQ(ui->modalShown, QStringList{"fdlSetConCtrl"});
    EXPECT_TRUE(master.db().tableColumns("M_SHOP").isEmpty()) << "a database lacking some tables is not completed";
}

// The start-up as its own process: how the program ends is read from its exit status.
struct ChildRun {
    QStringList boxes;  // "style text", the text's line breaks as "|"
    QStringList shown;
    int openAtEnd = -1;  // the database objects still open when the program ended; -1: no end seen
    QProcess::ExitStatus status = QProcess::CrashExit;
    int code = -1;
};

ChildRun runStartChild(const QString &folder, const char *answer, const QString &failingStep = QString())
{
    QProcess p;
    QStringList args{folder, QString::fromLatin1(answer)};
    if (!failingStep.isEmpty())
        args << failingStep;
    p.start(QStringLiteral(HB_START_CHILD), args);
    ChildRun r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    for (const QString &line : QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
        if (line.startsWith("BOX "))
            r.boxes << line.mid(4);
        else if (line.startsWith("SHOWN "))
            r.shown << line.mid(6);
        else if (line.startsWith("END "))
            r.openAtEnd = line.mid(4).toInt();
    }
    r.status = p.exitStatus();
    r.code = p.exitCode();
    return r;
}

TEST_F(StartUp, AsAProcessEveryEndIsAnOrderlyExit)
{
    addGrower(1);
    addShop(1);
    const ChildRun normal = runStartChild(dir.bin(), "no");
    EXPECT_EQ(normal.status, QProcess::NormalExit);
    EXPECT_EQ(normal.code, 0);
    EXPECT_TRUE(normal.boxes.isEmpty()) << normal.boxes.join('\n').toStdString();
    EXPECT_EQ(normal.shown, QStringList{"frmDairyCal"});

    // The main window's close box (the calendar, or the menu in multi-grower use) ends the
    // program as its own end does: databases closed, status 0.
    for (const char *useType : {"1", "2"}) {
        setCtrl("USE_TYPE", Value(useType));
        const ChildRun r = runStartChild(dir.bin(), "no", "closebox");
        EXPECT_EQ(r.status, QProcess::NormalExit) << useType;
        EXPECT_EQ(r.code, 0) << useType;
        EXPECT_EQ(r.openAtEnd, 0) << useType;
        EXPECT_EQ(r.shown, QStringList{*useType == '1' ? "frmDairyCal" : "fmnMain"}) << useType;
    }
    setCtrl("USE_TYPE", Value("1"));

    for (const char *step : {"settings", "data", "master", "work", "grower", "shop", "pesticide", "window"}) {
        const ChildRun r = runStartChild(dir.bin(), "no", QString::fromLatin1(step));
        EXPECT_EQ(r.status, QProcess::NormalExit) << step;
        EXPECT_EQ(r.code, 0) << step;
        EXPECT_EQ(r.boxes, QStringList{QStringLiteral("16 失敗させた手順：") + step}) << step;
        EXPECT_TRUE(r.shown.isEmpty()) << step;
    }

    // いいえ to the connection question ends the program at once, in order.
    setCtrl("MST_TYPE", Value("0"));
    const ChildRun no = runStartChild(dir.bin(), "no");
    EXPECT_EQ(no.status, QProcess::NormalExit);
    EXPECT_EQ(no.code, 0);
    EXPECT_EQ(no.boxes, QStringList{"20 ﾏｽﾀﾃﾞｰﾀが不正ですので設定してください。|接続の種類が設定されていません。"});
}

TEST(EventTrap, AnErrorLeavingAnEventIsReportedOnceAndTheProgramGoesOn)
{
    hbtest::ScopedScriptedUi ui;
    EXPECT_TRUE(hb::deliverTrapped([] { return true; }));
    EXPECT_FALSE(hb::deliverTrapped([] () -> bool { throw hb::HbError(3021, "現在のレコードがありません。"); }));
    EXPECT_FALSE(hb::deliverTrapped([] () -> bool { throw std::logic_error("broken"); }));
    EXPECT_EQ(ui->promptTexts(), (QStringList{"現在のレコードがありません。", "broken"}));
    EXPECT_EQ(ui->prompts.at(0).style, hb::kMsgCritical);
    // An error of an event delivered while the box is up (its repaint failing again) only logs.
    ui->prompts.clear();
    int nested = 0;
    struct NestedUi : hbtest::ScriptedUi {
        int *nested;
        int messageBox(QWidget *p, const QString &text, int style, const QString &title) override
        {
            ++*nested;
            hb::deliverTrapped([] () -> bool { throw hb::HbError(5, "again"); });
            return ScriptedUi::messageBox(p, text, style, title);
        }
    };
    auto nestedUi = std::make_unique<NestedUi>();
    nestedUi->nested = &nested;
    NestedUi *raw = nestedUi.get();
    auto previous = hb::setUi(std::move(nestedUi));
    EXPECT_FALSE(hb::deliverTrapped([] () -> bool { throw hb::HbError(5, "first"); }));
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(raw->promptTexts(), QStringList{"first"});
    hb::setUi(std::move(previous));
    // Program exit passes through.
    EXPECT_THROW(hb::deliverTrapped([]() -> bool {
                     hb::ui().endProgram(0);
                     return false;
                 }),
                 hb::ProgramEnded);
}

}  // namespace
