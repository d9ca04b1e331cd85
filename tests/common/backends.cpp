#include "common/backends.h"

#include <QCoreApplication>
#include <QDir>
#include <atomic>

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

void BothBackends::SetUp()
{
    std::string why;
    if (GetParam() == Backend::MariaDb && !serverAvailable(&why))
        GTEST_SKIP() << why;
    fresh_ = std::make_unique<FreshDatabase>(GetParam());
}

}  // namespace hbtest
