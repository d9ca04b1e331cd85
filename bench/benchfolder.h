#pragma once
// A program folder for a benchmark: the settings and work databases as a first start makes them,
// and the data database as a file beside them or, when asked, as a database of its own on the
// private MariaDB server (data source HB_TEST_DSN). Everything is dropped again at the end.

#include "benchprogram.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/recordhold.h"
#include "core/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace hbbench {

// True (after marking the run skipped) when the server is asked for but not configured.
inline bool skipWithoutServer(benchmark::State &state, bool server)
{
    if (server && qEnvironmentVariableIsEmpty("HB_TEST_DSN")) {
        state.SkipWithError("HB_TEST_DSN is not set: start the private MariaDB server (scripts/mariadb.sh)");
        return true;
    }
    return false;
}

class BenchFolder {
public:
    // `prefix` names the server database (with the process id).
    BenchFolder(bool server, const QString &prefix)
    {
        bench::KeptProgram::park();
        for (const char *sub : {"bin", "ini", "work", "data"})
            QDir(dir_.path()).mkpath(QString::fromLatin1(sub));
        hb::setAppPath(dir_.filePath(QStringLiteral("bin")));
        hb::setCompNameSource([] { return QStringLiteral("PC-BENCH"); });
        hb::createMissingDatabases(hb::appPath());
        hb::InitIni();
        if (server) {
            params_.dsn = qEnvironmentVariable("HB_TEST_DSN");
            database_ = QStringLiteral("%1_%2").arg(prefix).arg(QCoreApplication::applicationPid());
            auto admin = hb::DirectDb::server(params_);
            admin->EXEC(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(database_));
            admin->EXEC(QStringLiteral("CREATE DATABASE %1 CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci").arg(database_));
            hb::gINI->SaveCtrl(QStringLiteral("DB_TYPE"), hb::Value("1"));
            hb::gINI->SaveCtrl(QStringLiteral("DB_DSN"), hb::Value(params_.dsn));
            hb::gINI->SaveCtrl(QStringLiteral("DB_NAME"), hb::Value(database_));
        }
        hb::InitDb();
        hb::InitWork();
        if (server)
            hb::loadSchema(*hb::gDb, hb::Schema::Data);
    }
    ~BenchFolder()
    {
        hb::destroyForms();
        hb::gDb.reset();
        hb::gWork.reset();
        hb::gINI.reset();
        hb::setCompNameSource(nullptr);
        hb::setAppPath(QString());
        if (!database_.isEmpty()) {
            try {
                hb::DirectDb::server(params_)->EXEC(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(database_));
            } catch (...) {
            }
        }
    }
    BenchFolder(const BenchFolder &) = delete;
    BenchFolder &operator=(const BenchFolder &) = delete;

private:
    QTemporaryDir dir_;
    hb::ServerParams params_;
    QString database_;
};

}  // namespace hbbench
