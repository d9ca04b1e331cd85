// Settings store, connections by settings, record hold and the shared helpers.

#include "common/backends.h"
#include "common/programdir.h"
#include "common/scriptedui.h"
#include "core/apphooks.h"
#include "core/db.h"
#include "core/helpers.h"
#include "core/log.h"
#include "core/recordhold.h"
#include "core/schema.h"

#include <QFile>
#include <QLineEdit>

using hb::Value;

namespace {

const char *kCtrlTable = "CREATE TABLE S_CTRL (CTRL_CD VARCHAR(50) NOT NULL, CTRL_VALUE VARCHAR(255), "
                         "CTRL_TYPE INTEGER, PRIMARY KEY (CTRL_CD))";

void putCtrl(hb::DbObject &db, const QString &key, const Value &value, const Value &type = Value::null())
{
    db.EXEC("DELETE FROM S_CTRL WHERE CTRL_CD=?", {Value(key)});
    db.EXEC("INSERT INTO S_CTRL (CTRL_CD, CTRL_VALUE, CTRL_TYPE) VALUES (?, ?, ?)", {Value(key), value, type});
}

class SettingsStore : public hbtest::BothBackends {
protected:
    void SetUp() override
    {
        BothBackends::SetUp();
        if (!IsSkipped())
            db().EXEC(kCtrlTable);
    }
    hbtest::ScopedScriptedUi ui;
};

TEST_P(SettingsStore, GetCtrlConvertsByTheRowsType)
{
    struct { const char *value; int type; Value expected; } cases[] = {
        {"0", 1, Value(false)}, {"1", 1, Value(true)}, {"-1", 1, Value(true)}, {"False", 1, Value(false)},
        {"true", 1, Value(true)}, {"200", 2, Value::byte(200)}, {"-7", 3, Value::integer(-7)},
        {"123456", 4, Value(123456)}, {"12.3456", 5, Value(hb::Currency::fromDouble(12.3456))},
        {"2.5", 7, Value(2.5)}, {"2008/12/03 04:05:06", 8, Value(QDateTime(QDate(2008, 12, 3), QTime(4, 5, 6)))},
        {"007", 10, Value("007")}, {"007", 0, Value("007")},
    };
    for (const auto &c : cases) {
        putCtrl(db(), "K", Value(c.value), Value(c.type));
        const Value got = db().GetCtrl("K");
        EXPECT_EQ(got, c.expected) << c.value << " type " << c.type;
        EXPECT_EQ(got.type(), c.expected.type()) << c.value << " type " << c.type;
    }
    EXPECT_TRUE(db().GetCtrl("MISSING").isEmpty());
    putCtrl(db(), "N", Value::null(), Value(4));
    EXPECT_TRUE(db().GetCtrl("N").isNull());
    EXPECT_TRUE(ui->prompts.empty());

    putCtrl(db(), "BAD", Value("abc"), Value(4));
    EXPECT_TRUE(db().GetCtrl("BAD").isEmpty());
    ASSERT_EQ(ui->prompts.size(), 1u);
    EXPECT_TRUE(ui->prompts[0].text.startsWith("(13)")) << ui->prompts[0].text.toStdString();
    EXPECT_EQ(ui->prompts[0].style, 16);
    EXPECT_EQ(ui->prompts[0].title, hb::kProgramTitle);
}

TEST_P(SettingsStore, SaveCtrlFollowsTheStoringRules)
{
    putCtrl(db(), "D", Value("2001/01/01 00:00:00"), Value(8));
    ASSERT_TRUE(db().SaveCtrl("D", Value(QDateTime(QDate(2009, 1, 2), QTime(3, 4, 5)))));
    EXPECT_EQ(db().DLookup("CTRL_VALUE", "S_CTRL", "CTRL_CD='D'"), Value("2009/01/02 03:04:05"));
    EXPECT_TRUE(db().GetCtrl("D").isDate());

    putCtrl(db(), "B", Value("False"), Value(1));
    ASSERT_TRUE(db().SaveCtrl("B", Value(1)));
    EXPECT_EQ(db().DLookup("CTRL_VALUE", "S_CTRL", "CTRL_CD='B'"), Value("True"));

    ASSERT_TRUE(db().SaveCtrl("NEW", Value(1)));  // a new row has no type: reads back as text
    EXPECT_TRUE(db().DLookup("CTRL_TYPE", "S_CTRL", "CTRL_CD='NEW'").isNull());
    EXPECT_EQ(db().GetCtrl("NEW"), Value("1"));
    EXPECT_TRUE(db().GetCtrl("NEW").isString());

    ASSERT_TRUE(db().SaveCtrl("NEW", Value("")));
    EXPECT_TRUE(db().GetCtrl("NEW").isNull());

    const QString quoted = QStringLiteral("KEY'WITH\"QUOTE#");
    ASSERT_TRUE(db().SaveCtrl(quoted, Value("v'1")));
    EXPECT_EQ(db().GetCtrl(quoted), Value("v'1"));
    EXPECT_TRUE(ui->prompts.empty());

    putCtrl(db(), "B2", Value("False"), Value(1));
    EXPECT_FALSE(db().SaveCtrl("B2", Value("not a flag")));  // reported, row unchanged
    EXPECT_EQ(db().DLookup("CTRL_VALUE", "S_CTRL", "CTRL_CD='B2'"), Value("False"));
    ASSERT_EQ(ui->prompts.size(), 1u);
    EXPECT_EQ(ui->prompts[0].style, 16);
}

TEST_P(SettingsStore, ReleaseFreesOnlyThisComputersHolds)
{
    db().EXEC("CREATE TABLE D_DIARY (FMR_ID INTEGER NOT NULL, WORK_DATE DATETIME NOT NULL, IDATE DATETIME, "
              "UDATE DATETIME, LAST_TM VARCHAR(50), HOLD_TM VARCHAR(50), PRIMARY KEY (FMR_ID, WORK_DATE))");
    const QString me = QStringLiteral("PC'01");  // a quote in the name must not break the statement
    hb::setCompNameSource([&] { return me; });
    db().EXEC("INSERT INTO D_DIARY (FMR_ID, WORK_DATE, LAST_TM, HOLD_TM) VALUES (1, #2024/05/01#, 'X', ?)", {Value(me)});
    db().EXEC("INSERT INTO D_DIARY (FMR_ID, WORK_DATE, LAST_TM, HOLD_TM) VALUES (1, #2024/05/02#, 'X', 'OTHER')");
    db().EXEC("INSERT INTO D_DIARY (FMR_ID, WORK_DATE, LAST_TM, HOLD_TM) VALUES (2, #2024/05/01#, 'X', ?)", {Value(me)});

    EXPECT_EQ(db().ReleaseData("D_DIARY", "FMR_ID=1"), 0);
    EXPECT_EQ(db().DLookup("LAST_TM", "D_DIARY", "FMR_ID=1 AND WORK_DATE=#2024/05/01#"), Value(me));
    EXPECT_TRUE(db().DLookup("HOLD_TM", "D_DIARY", "FMR_ID=1 AND WORK_DATE=#2024/05/01#").isNull());
    EXPECT_EQ(db().DLookup("HOLD_TM", "D_DIARY", "WORK_DATE=#2024/05/02#"), Value("OTHER"));
    EXPECT_EQ(db().DLookup("HOLD_TM", "D_DIARY", "FMR_ID=2"), Value(me));  // outside the condition
    EXPECT_EQ(db().ReleaseData("D_DIARY", ""), 0);
    EXPECT_EQ(db().ReleaseData("D_DIARY", ""), 0);  // nothing held any more
    EXPECT_EQ(db().DCount("*", "D_DIARY", "HOLD_TM IS NULL").toInt(), 2);

    QStringList log;
    hb::setLogSink([&](const QString &s) { log << s; });
    EXPECT_EQ(db().ReleaseData("NO_SUCH_TABLE", ""), -256);
    hb::setLogSink(nullptr);
    // The data layer logs the driver's own text first, then the release logs its line.
    ASSERT_EQ(log.size(), 2);
    EXPECT_TRUE(log[0].contains("NO_SUCH_TABLE"));
    EXPECT_TRUE(log[1].contains(" SQL:UPDATE NO_SUCH_TABLE SET LAST_TM=HOLD_TM, HOLD_TM=NULL  WHERE HOLD_TM=? "));
    EXPECT_TRUE(ui->prompts.empty());
    hb::setCompNameSource(nullptr);
}

HB_INSTANTIATE_BOTH_BACKENDS(SettingsStore);

TEST(RecordHold, ComputerNameIsTheHostNameCutTo15)
{
    hb::setCompNameSource([] { return QStringLiteral("ABCDEFGHIJKLMNOPQ"); });
    EXPECT_EQ(hb::GetCompName(), "ABCDEFGHIJKLMNO");
    hb::setCompNameSource([] { return QString(); });
    EXPECT_EQ(hb::GetCompName(), "");
    hb::setCompNameSource(nullptr);
    EXPECT_LE(hb::GetCompName().size(), 15);
    const auto ins = hb::HoldColumns::forInsert();
    EXPECT_TRUE(ins.idate.isDate());
    EXPECT_TRUE(ins.udate.isNull());
    EXPECT_TRUE(ins.holdTm.isNull());
    const auto upd = hb::HoldColumns::forUpdate();
    EXPECT_TRUE(upd.idate.isEmpty());  // kept as it is
    EXPECT_TRUE(upd.udate.isDate());
}

// ------------------------------------------------------------ connections by settings

class Connections : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto ini = hb::DirectDb::file(dir.path("ini/INFO.MDB"), true);
        ini->EXEC(kCtrlTable);
        ini.reset();
        hb::InitIni();
        ASSERT_TRUE(hb::gINI->isOpen());
        hb::loadSchema(*hb::DirectDb::file(dir.path("data/DATA.MDB"), true), hb::Schema::Data);
    }
    void TearDown() override { hb::appHooks().connectionSettings = nullptr; }
    hbtest::ProgramDir dir;
    hbtest::ScopedScriptedUi ui;
};

TEST_F(Connections, FileKindOpensAFileBesideTheProgram)
{
    putCtrl(*hb::gINI, "DB_TYPE", Value("2"));
    putCtrl(*hb::gINI, "DB_NAME", Value("../data/DATA.MDB"));
    EXPECT_EQ(hb::gINI->DB_NAME(), dir.bin() + "/../data/DATA.MDB");
    hb::InitDb();
    EXPECT_TRUE(hb::gDb->isOpen());
    EXPECT_EQ(hb::gDb->DBTYPE(), "ACCESS");
    EXPECT_TRUE(ui->prompts.empty());

    putCtrl(*hb::gINI, "DB_NAME", Value(dir.path("data/DATA.MDB")));  // absolute: unchanged
    EXPECT_EQ(hb::gINI->DB_NAME(), dir.path("data/DATA.MDB"));
    putCtrl(*hb::gINI, "DB_NAME", Value("../data/NONE.MDB"));
    EXPECT_EQ(hb::gINI->DB_NAME(), "");
    putCtrl(*hb::gINI, "DB_TYPE", Value("1"));
    EXPECT_EQ(hb::gINI->DB_NAME(), "../data/NONE.MDB");  // not a file kind: as stored
}

TEST_F(Connections, OnlyTheDomainFunctionsReopenAClosedConnection)
{
    hb::gINI->CloseCnn();
    EXPECT_THROW(hb::gINI->GetFwdOnlyRst("SELECT * FROM S_CTRL"), hb::HbError);
    EXPECT_THROW(hb::gINI->EXEC("DELETE FROM S_CTRL"), hb::HbError);
    EXPECT_FALSE(hb::gINI->isOpen());
    EXPECT_EQ(hb::gINI->DCount("*", "S_CTRL", "").toInt(), 0);
    EXPECT_TRUE(hb::gINI->isOpen());
}

TEST_F(Connections, AFailedOpenAsksNamingTheCauseAndNoEndsTheProgram)
{
    const QString data = "ﾃﾞｰﾀﾍﾞｰｽが不正ですので設定してください。\n";
    const QString master = "ﾏｽﾀﾃﾞｰﾀが不正ですので設定してください。\n";
    struct Case {
        const char *prefix, *type, *name;
        QString prompt;
    } cases[] = {
        {"DB_", "0", "../data/DATA.MDB", data + "接続の種類が設定されていません。"},
        {"DB_", "", "../data/DATA.MDB", data + "接続の種類が設定されていません。"},
        {"DB_", "2", "../data/MISSING.MDB", data + "データベースファイルが見つかりません：../data/MISSING.MDB"},
        {"DB_", "2", "", data + "データベースファイルの名前が設定されていません。"},
        // A file of another kind: the first table it lacks.
        {"DB_", "2", "../ini/INFO.MDB", data + "データベースに表がありません：D_DIARY"},
        {"MST_", "2", "", master + "データベースファイルの名前が設定されていません。"},
        {"MST_", "2", "../data/DATA.MDB", master + "データベースに表がありません：M_FMR"},
    };
    for (const Case &c : cases) {
        putCtrl(*hb::gINI, QString(c.prefix) + "TYPE", Value(c.type));
        putCtrl(*hb::gINI, QString(c.prefix) + "NAME", Value(c.name));
        ui->prompts.clear();
        ui->answers = {hb::kAnsNo};
        const bool isMaster = QString(c.prefix) == "MST_";
        EXPECT_THROW(isMaster ? hb::InitMst() : hb::InitDb(), hb::ProgramEnded) << c.prefix << c.type << c.name;
        ASSERT_EQ(ui->prompts.size(), 1u);
        EXPECT_EQ(ui->prompts[0].text, c.prompt);
        EXPECT_EQ(ui->prompts[0].style, 20);
    }
}

TEST_F(Connections, YesOpensTheSettingsDialogAndRetries)
{
    putCtrl(*hb::gINI, "DB_TYPE", Value("0"));
    int shown = 0;
    hb::appHooks().connectionSettings = [&] {
        ++shown;
        hb::gINI->SaveCtrl("DB_TYPE", Value("2"));
        hb::gINI->SaveCtrl("DB_NAME", Value("../data/DATA.MDB"));
    };
    ui->answers = {hb::kAnsYes};
    hb::InitDb();
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(hb::gDb->isOpen());
    EXPECT_EQ(hb::gDb->DCount("*", "D_DIARY", "").toInt(), 0);
}

TEST_F(Connections, ServerKindConnectsThroughTheDataSource)
{
    std::string why;
    if (!hbtest::serverAvailable(&why))
        GTEST_SKIP() << why;
    hbtest::FreshDatabase server(hbtest::Backend::MariaDb);
    putCtrl(*hb::gINI, "DB_TYPE", Value("1"));
    putCtrl(*hb::gINI, "DB_DSN", Value(server.serverParams().dsn));
    putCtrl(*hb::gINI, "DB_NAME", Value(server.serverParams().database));
    hb::InitDb();
    EXPECT_EQ(hb::gDb->DBTYPE(), "MYSQL");
    hb::gDb->EXEC("CREATE TABLE T2 (A INTEGER)");
    EXPECT_EQ(server.db().DCount("*", "T2", "").toInt(), 0);  // the database the setting names
    hb::gDb.reset();
}

TEST_F(Connections, ASettingsFileThatIsNoDatabaseIsReportedAndEnds)
{
    hb::gINI.reset();
    QFile f(dir.path("ini/INFO.MDB"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(QByteArray(4096, 'x'));
    f.close();
    EXPECT_THROW(hb::InitIni(), hb::ProgramEnded);
    ASSERT_EQ(ui->prompts.size(), 1u);
    EXPECT_EQ(ui->prompts[0].style, 16);
    EXPECT_EQ(ui->prompts[0].text, "データベースのファイルではありません：" + f.fileName());
    EXPECT_EQ(QFileInfo(f.fileName()).size(), 4096);  // nothing overwritten
}

// ------------------------------------------------------------ helpers

TEST(Helpers, RoundExModesAndDigits)
{
    hbtest::ScopedScriptedUi ui;
    struct { Value v; int mode; int digits; double expected; } cases[] = {
        {Value(2.5), 3, 0, 3}, {Value(-2.5), 3, 0, -3}, {Value(2.41), 2, 1, 2.5}, {Value(-2.49), 1, 1, -2.4},
        {Value(2), 2, 0, 2}, {Value::null(), 3, 0, 0}, {Value(2.5), 0, 0, 3}, {Value(0.285), 3, 2, 0.29},
        {Value(1234.5), 1, -2, 1200}, {Value("1,000.6"), 3, 0, 1001},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(hb::RoundEx(c.v, c.mode, c.digits).toDouble(), c.expected) << c.v.displayText().toStdString();
    EXPECT_TRUE(ui->prompts.empty());
    EXPECT_EQ(hb::RoundEx(Value("abc"), 3, 0).scaled, 0);
    ASSERT_EQ(ui->prompts.size(), 1u);
    EXPECT_EQ(ui->prompts[0].style, 0);
}

TEST(Helpers, ValIsTheNumberATextBeginsWith)
{
    struct Case {
        const char *text;
        double value;
    };
    const Case cases[] = {
        {"2", 2},     {"0.5", 0.5}, {"1.5", 1.5},   {"2.5 pages", 2.5}, {"  12abc", 12}, {"-3", -3},
        {"+4", 4},    {".25", 0.25}, {"3.", 3},     {"1e2", 100},       {"2e", 2},       {"abc", 0},
        {"", 0},      {"-", 0},     {"１２", 0},    {"3cm", 3},         {"02", 2},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(hb::Val(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(Helpers, DateBoxesGetTheirSlashes)
{
    QLineEdit box;
    struct { const char *in; const char *out; } dates[] = {
        {"2008", "2008/"}, {"2008/12", "2008/12/"}, {"20x8", "20x8"}, {"12345/7", "12345/7"}, {"", ""},
        {"2008/1", "2008/1"},
    };
    for (const auto &d : dates) {
        box.setText(d.in);
        hb::SetDateSlash(&box);
        EXPECT_EQ(box.text(), d.out);
        EXPECT_EQ(box.cursorPosition(), box.text().size());
    }
    box.setText("2008");
    hb::SetYMSlash(&box);
    EXPECT_EQ(box.text(), "2008/");
    box.setText("2008/1");
    hb::SetYMSlash(&box);
    EXPECT_EQ(box.text(), "2008/1");
}

TEST(Helpers, ShowMsgTitlesAndLogs)
{
    hbtest::ScopedScriptedUi ui;
    QStringList log;
    hb::setLogSink([&](const QString &s) { log << s; });
    QString title;
    hb::ShowMsg("確認", 48, title);
    EXPECT_EQ(title, "緑丘作業手帳");
    ui->answers = {hb::kAnsYes};
    EXPECT_EQ(hb::ShowMsg("続けますか", 4, QStringLiteral("題")), hb::kAnsYes);
    ui->answers = {hb::kAnsCancel};
    hb::ShowMsg("x", 1);
    hb::setLogSink(nullptr);
    EXPECT_EQ(log, (QStringList{"緑丘作業手帳[注意]確認", "題[YES-NO]続けますか[YES]", "緑丘作業手帳[OK-CANCEL]x[CANCEL]"}));
    EXPECT_EQ(ui->prompts.at(1).title, "題");
}

TEST(Helpers, ErrorTrapForms)
{
    hbtest::ScopedScriptedUi ui;
    auto fail = [] { throw hb::HbError(3021, "no row"); };
    EXPECT_FALSE(hb::trapped(hb::Trap::Standard, fail));
    EXPECT_FALSE(hb::trapped(hb::Trap::Plain, fail));
    EXPECT_FALSE(hb::trapped(hb::Trap::Numbered, fail));
    EXPECT_FALSE(hb::trapped(hb::Trap::Critical, fail));
    EXPECT_TRUE(hb::trapped(hb::Trap::Standard, [] {}));
    ASSERT_EQ(ui->prompts.size(), 4u);
    EXPECT_EQ(ui->prompts[0].text, "no row");
    EXPECT_EQ(ui->prompts[0].style, 48);
    EXPECT_EQ(ui->prompts[0].title, "緑丘作業手帳");
    EXPECT_EQ(ui->prompts[1].title, "HarvestBook");
    EXPECT_EQ(ui->prompts[1].style, 0);  // OK only, no icon
    EXPECT_EQ(ui->prompts[2].text, "(3021)no row");
    EXPECT_EQ(ui->prompts[3].style, 16);
    // A lost server connection is shown alike by every form that shows a message.
    for (hb::Trap form : {hb::Trap::Plain, hb::Trap::Numbered, hb::Trap::Critical}) {
        ui->prompts.clear();
        hb::trapped(form, [] { throw hb::HbError(2013, hb::DbObject::lostServerText()); });
        ASSERT_EQ(ui->prompts.size(), 1u);
        EXPECT_EQ(ui->prompts[0].text, hb::DbObject::lostServerText());
        EXPECT_EQ(ui->prompts[0].style, 48);
        EXPECT_EQ(ui->prompts[0].title, "緑丘作業手帳");
    }
    QStringList log;
    hb::setLogSink([&](const QString &s) { log << s; });
    EXPECT_FALSE(hb::trapped(hb::Trap::Silent, fail));
    hb::setLogSink(nullptr);
    EXPECT_EQ(log, QStringList{"(3021)no row"});
    EXPECT_THROW(hb::trapped(hb::Trap::Standard, [] { throw hb::ProgramEnded{0}; }), hb::ProgramEnded);
}

class LookupHelpers : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto work = hb::DirectDb::file(dir.path("work/WORK.MDB"), true);
        work->EXEC("CREATE TABLE L_ACC (ACC_ID INTEGER NOT NULL PRIMARY KEY, ACC_NM VARCHAR(50))");
        work->EXEC("CREATE TABLE L_CHEMI_UNIT (ID INTEGER NOT NULL PRIMARY KEY, NM VARCHAR(20), CHG_ID INTEGER, RT DOUBLE)");
        work->EXEC("CREATE TABLE L_KBN (KBN INTEGER NOT NULL, ID INTEGER NOT NULL, NM VARCHAR(50), PRIMARY KEY (KBN, ID))");
        work->EXEC("INSERT INTO L_ACC VALUES (1000, '現金')");
        work->EXEC("INSERT INTO L_CHEMI_UNIT VALUES (2, 'kg', 3, 1000)");
        work->EXEC("INSERT INTO L_CHEMI_UNIT VALUES (9, NULL, 0, 1)");
        work->EXEC("INSERT INTO L_KBN VALUES (15, 1, '殺虫剤')");
        work.reset();
        auto data = hb::DirectDb::file(dir.path("data/DATA.MDB"), true);
        hb::loadSchema(*data, hb::Schema::Data);
        data->EXEC("INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID) VALUES (2, 41)");
        data.reset();
        auto ini = hb::DirectDb::file(dir.path("ini/INFO.MDB"), true);
        ini->EXEC(kCtrlTable);
        putCtrl(*ini, "DB_TYPE", Value("2"));
        putCtrl(*ini, "DB_NAME", Value("../data/DATA.MDB"));
        ini.reset();
        hb::InitIni();
        hb::InitDb();
        hb::InitWork();
    }
    hbtest::ProgramDir dir;
    hbtest::ScopedScriptedUi ui;
};

TEST_F(LookupHelpers, NamesByIdAndNextVoucherNumber)
{
    EXPECT_EQ(hb::GetAccNm(Value(1000)), Value("現金"));
    EXPECT_TRUE(hb::GetAccNm(Value(9999)).isNull());
    EXPECT_TRUE(hb::GetAccNm(Value::null()).isNull());  // Null asks for ID 0
    EXPECT_EQ(hb::GetKbnNm(Value(1)), Value("殺虫剤"));
    EXPECT_EQ(hb::GetChemiUnitNm(Value("2")), "kg");
    EXPECT_EQ(hb::GetChemiUnitNm(Value(9)), "");
    EXPECT_EQ(hb::GetChemiUnitNm(Value(77)), "");
    EXPECT_EQ(hb::GetNewLedgeIDByFmr(1), 1);
    EXPECT_EQ(hb::GetNewLedgeIDByFmr(2), 42);
    EXPECT_EQ(hb::OpenDir(nullptr, Value("フォルダ")), "");
    ui->folders = {"/tmp/x"};
    EXPECT_EQ(hb::OpenDir(nullptr, Value("フォルダ")), "/tmp/x");
    EXPECT_TRUE(ui->prompts.empty());
    // Without the master database the look-up reports the error and gives Empty.
    EXPECT_TRUE(hb::GetFmrNm(Value(1)).isEmpty());
    EXPECT_EQ(ui->prompts.size(), 1u);
}

}  // namespace
