// The data layer under failures: each usual cause described in Japanese without the statement,
// one text length on both backends, statements that mean the same on both, and a server
// connection that comes back after it was lost.

#include "common/backends.h"
#include "core/db.h"
#include "core/log.h"
#include "core/schema.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>
#include <QThread>
#include <unistd.h>

using hb::DbObject;
using hb::HbError;
using hb::Value;
using hbtest::Backend;
using hbtest::BothBackends;

namespace {

// The description of the failure a statement raises ("" when it raises none).
QString failureOf(const std::function<void()> &statement)
{
    try {
        statement();
    } catch (const HbError &e) {
        return e.description();
    }
    return QString();
}

// No message may show the statement that failed, nor the values it carried.
void expectNoStatement(const QString &message, const QString &statement = QString())
{
    for (const char *part : {"VALUES", "WHERE", " SET ", "secret"})
        EXPECT_FALSE(message.contains(QLatin1String(part), Qt::CaseInsensitive)) << message.toStdString();
    if (!statement.isEmpty()) {
        EXPECT_FALSE(message.contains(statement)) << message.toStdString();
    }
}

QString repeated(const QString &piece, int times)
{
    QString s;
    for (int i = 0; i < times; ++i)
        s += piece;
    return s;
}

class Reliability : public BothBackends {
protected:
    void SetUp() override
    {
        BothBackends::SetUp();
        if (IsSkipped())
            return;
        db().EXEC("CREATE TABLE T_TXT (ID INTEGER NOT NULL, NM VARCHAR(255), AMT DECIMAL(19,4), "
                  "QTY DECIMAL(19,4), PRIMARY KEY (ID))");
    }
    bool server() const { return GetParam() == Backend::MariaDb; }
    long rows() { return db().DCount("*", "T_TXT", "").toLong(); }
};

TEST_P(Reliability, BackslashesInQuotedTextAreThemselves)
{
    db().EXEC("INSERT INTO T_TXT (ID, NM) VALUES (1,'C:\\temp\\x')");
    db().EXEC("INSERT INTO T_TXT (ID, NM) VALUES (2, ?)", {Value("A\\B")});
    db().EXEC("INSERT INTO T_TXT (ID, NM) VALUES (3, 'A\\\\B')");
    EXPECT_EQ(db().DLookup("NM", "T_TXT", "ID=1"), Value("C:\\temp\\x"));
    EXPECT_EQ(db().DCount("*", "T_TXT", "NM='C:\\temp\\x'").toInt(), 1);
    EXPECT_EQ(db().DLookup("NM", "T_TXT", "ID=3"), Value("A\\\\B"));
    // A LIKE with its own escape character: a backslash in the pattern matches itself.
    const struct {
        const char *pattern;
        QList<int> ids;
    } cases[] = {
        {"%A\\B%", {2}},
        {"%A\\\\B%", {3}},
        {"%\\temp\\%", {1}},
        {"%!%%", {}},
        {"A_B", {2}},  // "_" stays a wildcard
    };
    for (const auto &c : cases) {
        QList<int> found;
        auto rs = db().GetFwdOnlyRst("SELECT ID FROM T_TXT WHERE NM LIKE ? ESCAPE '!' ORDER BY ID", {Value(c.pattern)});
        for (; !rs->eof(); rs->MoveNext())
            found << rs->Fields(0).toInt();
        EXPECT_EQ(found, c.ids) << c.pattern;
    }
}

TEST_P(Reliability, CommentsAndMalformedStatementsKeepTheirQuotedTexts)
{
    db().EXEC("INSERT INTO T_TXT (ID, NM) VALUES (1, 'a=b')");
    EXPECT_EQ(db().GetFwdOnlyRst("SELECT 1 -- #x")->Fields(0).toInt(), 1);
    EXPECT_EQ(db().GetFwdOnlyRst("SELECT NM /* #1# */ FROM T_TXT WHERE ID=1 -- #x")->Fields(0), Value("a=b"));
    // Either translated with its quoted text intact or refused whole: never half-applied.
    EXPECT_THROW(db().EXEC("UPDATE T_TXT SET x'a=b' WHERE ID=1"), HbError);
    EXPECT_EQ(db().DLookup("NM", "T_TXT", "ID=1"), Value("a=b"));
}

TEST_P(Reliability, DivisionOverDecimalsAgrees)
{
    db().EXEC("INSERT INTO T_TXT (ID, AMT, QTY) VALUES (1, 1, 3)");
    db().EXEC("INSERT INTO T_TXT (ID, AMT, QTY) VALUES (2, 2000, 7)");
    EXPECT_NEAR(db().DLookup("AMT/QTY", "T_TXT", "ID=1").toDouble(), 1.0 / 3.0, 1e-9);
    EXPECT_NEAR(db().DLookup("AMT/QTY", "T_TXT", "ID=2").toDouble(), 2000.0 / 7.0, 1e-9);
    EXPECT_NEAR(db().DLookup("1/3", "T_TXT", "ID=1").toDouble(), 1.0 / 3.0, 1e-9);
    // Money itself keeps its four decimals.
    EXPECT_EQ(db().DLookup("AMT", "T_TXT", "ID=2").type(), Value::Type::Currency);
    EXPECT_EQ(db().DSUM("AMT", "T_TXT", "").toDouble(), 2001.0);
}

TEST_P(Reliability, OneTextLengthOnBothBackends)
{
    const QString yoshi = QStringLiteral("𠮷");
    const QString fits = yoshi + repeated("あ", 253) + QStringLiteral("x");  // 255 characters
    ASSERT_EQ(fits.toUcs4().size(), 255);
    db().EXEC("INSERT INTO T_TXT (ID, NM) VALUES (?, ?)", {Value(1), Value(fits)});
    EXPECT_EQ(db().DLookup("NM", "T_TXT", "ID=1"), Value(fits));

    const QString tooLong = fits + QStringLiteral("y");
    const std::function<void()> writes[] = {
        [&] { db().EXEC("INSERT INTO T_TXT (ID, NM) VALUES (?, ?)", {Value(2), Value(tooLong)}); },
        [&] { db().EXEC("UPDATE T_TXT SET NM = ? WHERE ID = ?", {Value(tooLong), Value(1)}); },
        [&] {
            auto rs = db().GetDynamicRst("SELECT T_TXT.* FROM T_TXT WHERE ID=1");
            rs->setField("NM", tooLong);
            rs->Update();
        },
    };
    for (const auto &write : writes) {
        const QString message = failureOf(write);
        EXPECT_EQ(message, QStringLiteral("文字数が多すぎます：NM"));
        expectNoStatement(message);
    }
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(db().DLookup("NM", "T_TXT", "ID=1"), Value(fits));
    // A long text in a condition is no write.
    EXPECT_EQ(db().GetFwdOnlyRst("SELECT COUNT(*) FROM T_TXT WHERE NM = ?", {Value(tooLong)})->Fields(0).toInt(), 0);
}

TEST_P(Reliability, SchemaFilesRefuseOverlongTextsThatAreNotBound)
{
    db().EXEC("DROP TABLE T_TXT");
    hb::loadSchema(db(), hb::Schema::Data);
    const QString message = failureOf([&] {
        db().EXEC(QStringLiteral("INSERT INTO D_DIARY (FMR_ID, WORK_DATE, ONE_MSG) VALUES (1, #2024/05/01#, '%1')")
                      .arg(repeated("x", 256)));
    });
    EXPECT_EQ(message, QStringLiteral("文字数が多すぎます：ONE_MSG"));
    EXPECT_EQ(db().DCount("*", "D_DIARY", "").toInt(), 0);
    db().EXEC(QStringLiteral("INSERT INTO D_DIARY (FMR_ID, WORK_DATE, ONE_MSG) VALUES (1, #2024/05/01#, '%1')")
                  .arg(repeated("𠮷", 255)));
    EXPECT_EQ(db().DLookup("ONE_MSG", "D_DIARY", "FMR_ID=1"), Value(repeated("𠮷", 255)));
}

TEST_P(Reliability, OtherFailuresKeepTheirStatementForTheLogOnly)
{
    QStringList log;
    hb::setLogSink([&](const QString &s) { log << s; });
    const QString statement = QStringLiteral("INSERT INTO T_TXT (ID, NOPE) VALUES (1, 'secret')");
    const QString message = failureOf([&] { db().EXEC(statement); });
    const QString bad = failureOf([&] { db().EXEC("SELECT * FROM T_TXT WHERE A=#not a date#"); });
    hb::setLogSink(nullptr);
    EXPECT_TRUE(message.startsWith(QStringLiteral("データベースのエラーです："))) << message.toStdString();
    expectNoStatement(message, statement);
    EXPECT_FALSE(bad.isEmpty());
    expectNoStatement(bad);
    EXPECT_FALSE(bad.contains("not a date"));
    ASSERT_EQ(log.size(), 2);
    EXPECT_TRUE(log[0].contains("INSERT INTO T_TXT (ID, NOPE) VALUES (1, 'secret')"));
    EXPECT_TRUE(log[1].contains("#not a date#"));
}

TEST_P(Reliability, ARowOrFileLockedByAnotherComputerGivesTheLockMessage)
{
    db().EXEC("INSERT INTO T_TXT (ID, NM) VALUES (1, 'a')");
    auto other = fresh().connect();
    other->Begintrans();
    other->EXEC("UPDATE T_TXT SET NM='b' WHERE ID=1");
    QElapsedTimer clock;
    clock.start();
    const QString message = failureOf([&] { db().EXEC("UPDATE T_TXT SET NM='c' WHERE ID=1"); });
    EXPECT_LT(clock.elapsed(), 15000);
    EXPECT_EQ(message, DbObject::lockedText());
    other->RollbackTrans();
    EXPECT_EQ(db().DLookup("NM", "T_TXT", "ID=1"), Value("a"));
    db().EXEC("UPDATE T_TXT SET NM='c' WHERE ID=1");  // the same connection goes on
    EXPECT_EQ(db().DLookup("NM", "T_TXT", "ID=1"), Value("c"));
}

HB_INSTANTIATE_BOTH_BACKENDS(Reliability);

// Causes that only one kind of database has.
class FileFailures : public ::testing::Test {
protected:
    hbtest::FreshDatabase fresh{Backend::Sqlite};
};

TEST_F(FileFailures, ReadOnlyAndFullFilesNameTheFile)
{
    DbObject &db = fresh.db();
    db.EXEC("CREATE TABLE T_TXT (ID INTEGER NOT NULL, NM VARCHAR(1000), PRIMARY KEY (ID))");
    db.EXEC("INSERT INTO T_TXT (ID, NM) VALUES (1, 'a')");
    const QString file = QDir::toNativeSeparators(fresh.filePath());

    db.EXEC("PRAGMA query_only = 1");
    EXPECT_EQ(failureOf([&] { db.EXEC("UPDATE T_TXT SET NM='b' WHERE ID=1"); }),
              QStringLiteral("データベースに書き込めません（読み取り専用）：") + file);
    db.EXEC("PRAGMA query_only = 0");

    const long pages = db.GetFwdOnlyRst("PRAGMA page_count")->Fields(0).toLong();
    db.EXEC(QStringLiteral("PRAGMA max_page_count = %1").arg(pages));
    const QString full = failureOf([&] {
        hb::TransactionScope tx(db);
        for (int i = 2; i < 200; ++i)
            db.EXEC("INSERT INTO T_TXT (ID, NM) VALUES (?, ?)", {Value(i), Value(repeated("z", 900))});
        tx.commit();
    });
    EXPECT_EQ(full, QStringLiteral("ディスクの空き容量が足りません：") + file);
    EXPECT_EQ(db.DCount("*", "T_TXT", "").toInt(), 1);
}

// SQLite opens a file it may not write for reading only, for the connection's life. Once the
// file and its folder may be written again, the next hold and the next save write it.
TEST_F(FileFailures, AFileThatCouldNotBeWrittenAtItsOpeningIsWrittenOnceItCanBe)
{
    DbObject &db = fresh.db();
    db.EXEC("CREATE TABLE T_TXT (ID INTEGER NOT NULL, NM VARCHAR(1000), PRIMARY KEY (ID))");
    db.EXEC("INSERT INTO T_TXT (ID, NM) VALUES (1, 'a')");
    const QString folder = QFileInfo(fresh.filePath()).absolutePath();
    const auto readable = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    const auto enterable = QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(folder, readable | enterable) &&
                QFile::setPermissions(fresh.filePath(), readable));
    // root may write any file: the connections are opened, and tried, as nobody.
    const bool root = geteuid() == 0;
    ASSERT_TRUE(!root || seteuid(65534) == 0);
    std::unique_ptr<hb::DirectDb> held, saved;
    const auto hold = [&] { return failureOf([&] { held->EXEC("UPDATE T_TXT SET NM='held' WHERE ID=1"); }); };
    const auto save = [&] {
        return failureOf([&] {
            hb::TransactionScope tx(*saved);
            saved->EXEC("INSERT INTO T_TXT (ID, NM) VALUES (2, 'b')");
            tx.commit();
        });
    };
    QStringList failures;
    try {
        held = fresh.connect();
        saved = fresh.connect();
        failures << hold() << save();
    } catch (const HbError &e) {
        failures << e.description();
    }
    ASSERT_TRUE(!root || seteuid(0) == 0);
    const QString readOnly = DbObject::readOnlyText(QDir::toNativeSeparators(fresh.filePath()));
    ASSERT_EQ(failures, QStringList({readOnly, readOnly}));

    ASSERT_TRUE(QFile::setPermissions(folder, readable | enterable | QFileDevice::WriteOwner) &&
                QFile::setPermissions(fresh.filePath(), readable | QFileDevice::WriteOwner));
    EXPECT_EQ(hold(), QString());
    EXPECT_EQ(save(), QString());
    EXPECT_EQ(db.DLookup("NM", "T_TXT", "ID=1"), Value("held"));
    EXPECT_EQ(db.DCount("*", "T_TXT", "").toInt(), 2);
}

class ServerFailures : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string why;
        if (!hbtest::serverAvailable(&why))
            GTEST_SKIP() << why;
        fresh = std::make_unique<hbtest::FreshDatabase>(Backend::MariaDb);
        fresh->db().EXEC("CREATE TABLE T_TXT (ID INTEGER NOT NULL, NM VARCHAR(255), PRIMARY KEY (ID))");
    }
    Value session(const char *variable)
    {
        return fresh->db().GetFwdOnlyRst(QStringLiteral("SELECT @@SESSION.%1").arg(variable))->Fields(0);
    }
    void killConnection()
    {
        const Value id = fresh->db().GetFwdOnlyRst("SELECT CONNECTION_ID()")->Fields(0);
        fresh->connect()->EXEC(QStringLiteral("KILL CONNECTION %1").arg(id.toLong()));
    }
    std::unique_ptr<hbtest::FreshDatabase> fresh;
};

TEST_F(ServerFailures, TheSessionIsSetUpAndCheckedOnEveryConnection)
{
    DbObject &db = fresh->db();
    for (int round = 0; round < 2; ++round) {
        const QStringList mode = session("sql_mode").displayText().split(',');
        EXPECT_TRUE(mode.contains("NO_BACKSLASH_ESCAPES"));
        EXPECT_TRUE(mode.contains("STRICT_TRANS_TABLES"));
        EXPECT_EQ(session("innodb_lock_wait_timeout").toLong(), 10);
        EXPECT_EQ(session("div_precision_increment").toLong(), 30);
        EXPECT_EQ(session("character_set_connection"), Value("utf8mb4"));
        // What the object knew of the tables is read again on the new connection: another
        // computer changed them meanwhile.
        const QString index = QStringLiteral("IX_T_TXT_%1").arg(round), column = QStringLiteral("C%1").arg(round);
        EXPECT_FALSE(db.indexNames().contains(index) || db.tableColumns("T_TXT").contains(column));
        fresh->connect()->EXEC(QStringLiteral("ALTER TABLE T_TXT ADD COLUMN %1 INTEGER, ADD INDEX %2 (%1)").arg(column, index));
        killConnection();
        EXPECT_EQ(failureOf([&] { db.EXEC("SELECT 1"); }), DbObject::lostServerText());
        EXPECT_TRUE(db.indexNames().contains(index)) << round;
        EXPECT_TRUE(db.tableColumns("T_TXT").contains(column)) << round;
    }
}

// The connection is killed (as by a restart of the server, which takes every connection), or the
// server closes it after the session's idle time (2006). Either fails the statement, and the next
// one connects anew; the program's other connection, lost too or not, is checked and re-made
// before its own next statement, without a second message.
TEST_F(ServerFailures, ALostConnectionFailsTheStatementAndTheNextOneConnectsAnew)
{
    DbObject &db = fresh->db();
    auto other = fresh->connect();
    const auto killBoth = [&] {
        killConnection();
        const Value id = other->GetFwdOnlyRst("SELECT CONNECTION_ID()")->Fields(0);
        fresh->connect()->EXEC(QStringLiteral("KILL CONNECTION %1").arg(id.toLong()));
    };
    const auto idle = [&] {
        db.EXEC("SET SESSION wait_timeout = 1");
        QThread::msleep(2500);
    };
    const std::pair<const char *, std::function<void()>> cases[] = {{"killed", killBoth}, {"closed when idle", idle}};
    for (const auto &[what, lose] : cases) {
        SCOPED_TRACE(what);
        db.EXEC("DELETE FROM T_TXT");
        db.EXEC("INSERT INTO T_TXT (ID, NM) VALUES (1, 'kept')");
        db.Begintrans();
        db.EXEC("INSERT INTO T_TXT (ID, NM) VALUES (2, 'lost')");
        lose();
        EXPECT_EQ(failureOf([&] { db.EXEC("UPDATE T_TXT SET NM='x' WHERE ID=1"); }), DbObject::lostServerText());
        EXPECT_FALSE(db.inTransaction());  // the transaction went with the connection
        EXPECT_TRUE(db.isOpen());
        // Nothing is replayed: the next statement runs on a new connection, alone.
        EXPECT_EQ(db.DCount("*", "T_TXT", "").toInt(), 1);
        EXPECT_EQ(db.DLookup("NM", "T_TXT", "ID=1"), Value("kept"));
        const Value dbId = db.GetFwdOnlyRst("SELECT CONNECTION_ID()")->Fields(0);
        EXPECT_NO_THROW(EXPECT_EQ(other->DCount("*", "T_TXT", "").toInt(), 1));
        // The other's check left nothing marked: a later loss is met, and said, as the first was.
        fresh->connect()->EXEC(QStringLiteral("KILL CONNECTION %1").arg(dbId.toLong()));
        EXPECT_EQ(failureOf([&] { db.EXEC("SELECT 1"); }), DbObject::lostServerText());
        hb::TransactionScope tx(db);
        db.EXEC("INSERT INTO T_TXT (ID, NM) VALUES (3, 'new')");
        tx.commit();
        EXPECT_EQ(other->DCount("*", "T_TXT", "").toInt(), 2);
    }
}

TEST_F(ServerFailures, AServerThatCannotBeReachedIsALostConnectionUntilItIsBack)
{
    hb::ServerParams p = fresh->serverParams();
    auto db = hb::DirectDb::server(p);
    killConnection();  // kills the fixture's connection, not this one
    const Value id = db->GetFwdOnlyRst("SELECT CONNECTION_ID()")->Fields(0);
    fresh->connect()->EXEC(QStringLiteral("KILL CONNECTION %1").arg(id.toLong()));
    // A rollback after the loss has nothing to undo and is no error.
    EXPECT_EQ(failureOf([&] { db->Begintrans(); }), DbObject::lostServerText());
    EXPECT_FALSE(db->inTransaction());
    EXPECT_NO_THROW(db->Begintrans());
    db->EXEC("INSERT INTO T_TXT (ID, NM) VALUES (9, 'after')");
    db->CommitTrans();
    EXPECT_EQ(fresh->connect()->DLookup("NM", "T_TXT", "ID=9"), Value("after"));
}

}  // namespace
