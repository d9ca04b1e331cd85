// The data and master databases on a server: the tables made at the first connection, and the
// cause named on the connection question when no connection comes about.

#include "common/backends.h"
#include "common/programdir.h"
#include "common/scriptedui.h"
#include "core/apphooks.h"
#include "core/db.h"
#include "core/schema.h"

#include <gtest/gtest.h>

using hb::Value;

namespace {

class ServerConnection : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string why;
        if (!hbtest::serverAvailable(&why))
            GTEST_SKIP() << why;
        dir.createAndOpen();
    }
    void TearDown() override
    {
        hb::appHooks().connectionSettings = nullptr;
        hbtest::ProgramDir::releaseGlobals();
    }
    // Points the DB_ (or MST_) settings at a server database, the fields as 接続設定 writes them.
    static void pointAt(const char *prefix, const hbtest::FreshDatabase &server)
    {
        const QString p = QString::fromLatin1(prefix);
        for (const char *key : {"SERVER", "USER", "PSWD"})
            hb::gINI->SaveCtrl(p + key, Value(""));
        hb::gINI->SaveCtrl(p + "TYPE", Value("1"));
        hb::gINI->SaveCtrl(p + "DSN", Value(server.serverParams().dsn));
        hb::gINI->SaveCtrl(p + "NAME", Value(server.serverParams().database));
    }
    static QStringList tablesOf(hb::DbObject &db)
    {
        QStringList out;
        for (const QString &t : db.connection().tables())
            out << t.toUpper();
        out.sort();
        return out;
    }
    static QStringList sorted(QStringList l)
    {
        l.sort();
        return l;
    }

    hbtest::ProgramDir dir;
    hbtest::ScopedScriptedUi ui;
};

TEST_F(ServerConnection, EmptyServerDatabasesGetTheirTablesWhenConnected)
{
    hbtest::FreshDatabase data(hbtest::Backend::MariaDb), master(hbtest::Backend::MariaDb);
    pointAt("DB_", data);
    pointAt("MST_", master);
    hb::InitDb();
    hb::InitMst();
    EXPECT_TRUE(ui->prompts.empty()) << ui->promptTexts().join('|').toStdString();
    EXPECT_EQ(tablesOf(data.db()), sorted(hb::schemaTables(hb::Schema::Data)));
    EXPECT_EQ(tablesOf(master.db()), sorted(hb::schemaTables(hb::Schema::Master)));
    EXPECT_TRUE(hb::addMissingIndexes(data.db(), hb::Schema::Data).isEmpty()) << "made with their indexes";

    // Connected again (the next start, another computer): nothing is made again, rows stay.
    hb::gMst->EXEC("INSERT INTO M_FMR (FMR_ID, FMR_NM) VALUES (1, '緑丘 太郎')");
    hb::InitDb();
    hb::InitMst();
    EXPECT_TRUE(ui->prompts.empty());
    EXPECT_EQ(hb::gMst->DLookup("FMR_NM", "M_FMR", "FMR_ID=1"), Value("緑丘 太郎"));

    // Data and master in one server database: each kind gets its own tables beside the other's.
    hbtest::FreshDatabase both(hbtest::Backend::MariaDb);
    pointAt("DB_", both);
    pointAt("MST_", both);
    hb::InitDb();
    hb::InitMst();
    EXPECT_EQ(tablesOf(both.db()), sorted(hb::schemaTables(hb::Schema::Data) + hb::schemaTables(hb::Schema::Master)));
}

TEST_F(ServerConnection, TheQuestionNamesTheCauseOnItsSecondLine)
{
    hbtest::FreshDatabase data(hbtest::Backend::MariaDb);
    hb::loadSchema(data.db(), hb::Schema::Data);
    data.db().EXEC("DROP TABLE D_SHIP");
    const hbtest::ServerUser limited(data, "hbt_limited", "limited");  // with no right to any database
    struct Case {
        const char *what;
        std::vector<std::pair<const char *, QString>> settings;
        QString cause;  // the start of the second line
    } cases[] = {
        {"a data source not in odbc.ini", {{"DSN", "nosuch"}}, "ODBCの設定（odbc.ini）にデータソースがありません：nosuch"},
        {"no server at that address", {{"SERVER", "127.0.0.2"}}, "データベースサーバーに接続できません：127.0.0.2:"},
        {"a wrong user", {{"USER", "nobody"}, {"PSWD", "wrong"}},
         "データベースサーバーへのアクセスが拒否されました（ユーザー・パスワード・権限）：nobody"},
        {"a wrong password", {{"PSWD", "wrong"}},
         "データベースサーバーへのアクセスが拒否されました（ユーザー・パスワード・権限）：hb"},
        {"no such database", {{"NAME", "hb_no_such_db"}}, "データベースがサーバーにありません：hb_no_such_db"},
        {"名前 left as a file path", {{"NAME", "../data/DATA.MDB"}}, "データベースがサーバーにありません：../data/DATA.MDB"},
        {"a database the user may not use", {{"USER", limited.name}, {"PSWD", limited.password}},
         "データベースがサーバーにないか、使う権限がありません：" + data.serverParams().database},
        {"名前 left as a file path, for that user", {{"USER", limited.name}, {"PSWD", limited.password}, {"NAME", "../data/DATA.MDB"}},
         "データベースがサーバーにないか、使う権限がありません：../data/DATA.MDB"},
        {"a database lacking one table", {}, "データベースに表がありません：D_SHIP"},
    };
    for (const char *prefix : {"DB_", "MST_"}) {
        const bool master = QString(prefix) == "MST_";
        for (const Case &c : cases) {
            if (master && c.settings.empty())
                continue;  // the master tables are all missing there: they would be made
            SCOPED_TRACE(std::string(prefix) + c.what);
            pointAt(prefix, data);
            for (const auto &[key, value] : c.settings)
                hb::gINI->SaveCtrl(QString(prefix) + key, Value(value));
            ui->prompts.clear();
            ui->answers = {hb::kAnsNo};
            EXPECT_THROW(master ? hb::InitMst() : hb::InitDb(), hb::ProgramEnded);
            ASSERT_EQ(ui->prompts.size(), 1u);
            const QStringList lines = ui->prompts[0].text.split('\n');
            ASSERT_EQ(lines.size(), 2) << ui->prompts[0].text.toStdString();
            EXPECT_EQ(lines[0], master ? "ﾏｽﾀﾃﾞｰﾀが不正ですので設定してください。" : "ﾃﾞｰﾀﾍﾞｰｽが不正ですので設定してください。");
            EXPECT_TRUE(lines[1].startsWith(c.cause)) << lines[1].toStdString();
            EXPECT_EQ(ui->prompts[0].style, hb::kMsgYesNo | hb::kMsgCritical);
        }
    }
}

TEST_F(ServerConnection, AFailedFirstConnectionLeavesNoTablesAndIsAskedAbout)
{
    hbtest::FreshDatabase data(hbtest::Backend::MariaDb);
    // A view in the way of the last table: the making fails there.
    data.db().EXEC("CREATE VIEW D_LEDGE AS SELECT 1 AS A");
    pointAt("DB_", data);
    QStringList tablesWhenAsked;
    hb::appHooks().connectionSettings = [&] {
        tablesWhenAsked = tablesOf(data.db());
        data.db().EXEC("DROP VIEW D_LEDGE");
    };
    ui->answers = {hb::kAnsYes};
    hb::InitDb();
    ASSERT_EQ(ui->prompts.size(), 1u);
    EXPECT_TRUE(ui->prompts[0].text.startsWith("ﾃﾞｰﾀﾍﾞｰｽが不正ですので設定してください。\nデータベースのエラーです："))
        << ui->prompts[0].text.toStdString();
    EXPECT_TRUE(tablesWhenAsked.isEmpty()) << tablesWhenAsked.join(',').toStdString();
    // はい, the obstacle gone: the retry makes them all.
    EXPECT_TRUE(hb::gDb->isOpen());
    EXPECT_EQ(tablesOf(data.db()), sorted(hb::schemaTables(hb::Schema::Data)));
}

}  // namespace
