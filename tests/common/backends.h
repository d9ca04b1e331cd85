#pragma once
// Fresh databases of both kinds for tests: a SQLite file in a temporary folder, and a
// database of its own on the private MariaDB server that scripts/test.sh starts
// (data source named by HB_TEST_DSN).

#include "common/printers.h"
#include "core/db.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace hbtest {

enum class Backend { Sqlite, MariaDb };

std::string backendName(const ::testing::TestParamInfo<Backend> &info);
inline void PrintTo(Backend b, std::ostream *os)
{
    *os << (b == Backend::Sqlite ? "Sqlite" : "MariaDb");
}

// True when the server tests can run; otherwise the reason is in *why.
bool serverAvailable(std::string *why);

// One fresh, empty database. For the server kind a database of a unique name is created
// and dropped again when this object goes away.
class FreshDatabase {
public:
    explicit FreshDatabase(Backend backend);
    ~FreshDatabase();
    FreshDatabase(const FreshDatabase &) = delete;
    FreshDatabase &operator=(const FreshDatabase &) = delete;

    // A new connection to the database (a second computer, say).
    std::unique_ptr<hb::DirectDb> connect() const;
    hb::DbObject &db() { return *db_; }
    Backend backend() const { return backend_; }
    // For the server kind: the data source, and the database name that overrides its own.
    hb::ServerParams serverParams() const { return params_; }
    // For the file kind: the file's path.
    QString filePath() const { return path_; }

private:
    Backend backend_;
    QTemporaryDir dir_;
    QString path_;
    hb::ServerParams params_;
    std::unique_ptr<hb::DirectDb> db_;
};

// A user of the private server with the rights given (none when empty) on a fresh database,
// dropped again when this object goes away; its name is the process's own.
class ServerUser {
public:
    ServerUser(FreshDatabase &db, const QString &name, const QString &password, const QString &rights = QString());
    ~ServerUser();
    ServerUser(const ServerUser &) = delete;
    ServerUser &operator=(const ServerUser &) = delete;
    const QString name;
    const QString password;

private:
    FreshDatabase &db_;
};

// The statements a data-access object's connection sends while this lives: received(), as the
// database counts them (a server its session's statements, a file the statements SQLite
// begins), and ran(), the object's own; the rest are look-ups the object makes for itself (a
// table's columns, key or text lengths).
class StatementCount {
public:
    explicit StatementCount(hb::DbObject &db);
    ~StatementCount();
    long received();
    long ran() const { return ran_; }

private:
    long serverCount();  // the session's statements so far, this read included
    hb::DbObject &db_;
    long ran_ = 0, began_ = 0, start_ = 0, reads_ = 0;
};

// Parameterised fixture over both kinds; server cases skip (with the reason) only where the
// private server is not configured.
class BothBackends : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override;
    void TearDown() override { fresh_.reset(); }
    hb::DbObject &db() { return fresh_->db(); }
    FreshDatabase &fresh() { return *fresh_; }

private:
    std::unique_ptr<FreshDatabase> fresh_;
};

#define HB_INSTANTIATE_BOTH_BACKENDS(Fixture) \
    INSTANTIATE_TEST_SUITE_P(Backends, Fixture, \
                             ::testing::Values(::hbtest::Backend::Sqlite, ::hbtest::Backend::MariaDb), \
                             ::hbtest::backendName)

}  // namespace hbtest
