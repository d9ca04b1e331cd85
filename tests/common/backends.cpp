#include "common/backends.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlDriver>
#include <QSqlQuery>
#include <atomic>
#include <sqlite3.h>

namespace hbtest {

std::string backendName(const ::testing::TestParamInfo<Backend> &info)
{
    return info.param == Backend::Sqlite ? "Sqlite" : "MariaDb";
}

bool serverAvailable(std::string *why)
{
    if (qEnvironmentVariableIsEmpty("HB_TEST_DSN")) {
        if (why)
            *why = "HB_TEST_DSN is not set: the private MariaDB server was not started (run scripts/test.sh)";
        return false;
    }
    return true;
}

FreshDatabase::FreshDatabase(Backend backend) : backend_(backend)
{
    if (backend == Backend::Sqlite) {
        path_ = dir_.filePath(QStringLiteral("test.db"));
        db_ = hb::DirectDb::file(path_, true);
        return;
    }
    static std::atomic<int> counter{0};
    const QString name = QStringLiteral("hbt_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
    params_.dsn = qEnvironmentVariable("HB_TEST_DSN");
    {
        auto admin = hb::DirectDb::server(params_);
        admin->EXEC(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(name));
        admin->EXEC(QStringLiteral("CREATE DATABASE %1 CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci").arg(name));
    }
    params_.database = name;
    db_ = hb::DirectDb::server(params_);
}

FreshDatabase::~FreshDatabase()
{
    db_.reset();
    if (backend_ == Backend::MariaDb && !params_.database.isEmpty()) {
        try {
            hb::ServerParams p = params_;
            p.database.clear();
            auto admin = hb::DirectDb::server(p);
            admin->EXEC(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(params_.database));
        } catch (...) {
        }
    }
}

ServerUser::ServerUser(FreshDatabase &db, const QString &name, const QString &password, const QString &rights)
    : name(QStringLiteral("%1_%2").arg(name).arg(QCoreApplication::applicationPid())), password(password), db_(db)
{
    db_.db().EXEC(QStringLiteral("CREATE USER IF NOT EXISTS '%1'@'%' IDENTIFIED BY '%2'").arg(this->name, password));
    if (!rights.isEmpty())
        db_.db().EXEC(QStringLiteral("GRANT %1 ON %2.* TO '%3'@'%'").arg(rights, db_.serverParams().database, this->name));
}

ServerUser::~ServerUser()
{
    try {
        db_.db().EXEC(QStringLiteral("DROP USER IF EXISTS '%1'@'%'").arg(name));
    } catch (const hb::HbError &) {
    }
}

std::unique_ptr<hb::DirectDb> FreshDatabase::connect() const
{
    if (backend_ == Backend::Sqlite)
        return hb::DirectDb::file(path_, false);
    return hb::DirectDb::server(params_);
}

namespace {

sqlite3 *fileHandle(const hb::DbObject &db)
{
    return *static_cast<sqlite3 *const *>(db.connection().driver()->handle().constData());
}

}  // namespace

StatementCount::StatementCount(hb::DbObject &db) : db_(db)
{
    hb::DbObject::statementStartHook = [this](const hb::DbObject &on, const QString &) { ran_ += &on == &db_; };
    if (db_.kind() == hb::DbKind::Server) {
        start_ = serverCount();
        return;
    }
    // Statements begun, not the trigger programs within them.
    const auto began = [](unsigned, void *self, void *, void *text) {
        static_cast<StatementCount *>(self)->began_ += qstrncmp(static_cast<const char *>(text), "--", 2) != 0;
        return 0;
    };
    sqlite3_trace_v2(fileHandle(db_), SQLITE_TRACE_STMT, began, this);
}

StatementCount::~StatementCount()
{
    hb::DbObject::statementStartHook = nullptr;
    if (db_.kind() != hb::DbKind::Server)
        sqlite3_trace_v2(fileHandle(db_), 0, nullptr, nullptr);
}

long StatementCount::serverCount()
{
    ++reads_;
    QSqlQuery q(db_.connection());
    return q.exec(QStringLiteral("SHOW SESSION STATUS LIKE 'Questions'")) && q.next() ? q.value(1).toLongLong() : -1;
}

long StatementCount::received()
{
    if (db_.kind() != hb::DbKind::Server)
        return began_;
    const long now = serverCount();
    return now - start_ - (reads_ - 1);
}

void BothBackends::SetUp()
{
    std::string why;
    if (GetParam() == Backend::MariaDb && !serverAvailable(&why))
        GTEST_SKIP() << why;
    fresh_ = std::make_unique<FreshDatabase>(GetParam());
}

}  // namespace hbtest
