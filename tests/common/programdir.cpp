#include "common/programdir.h"

#include "core/db.h"
#include "core/schema.h"

#include <QDir>

namespace hbtest {

ProgramDir::ProgramDir()
{
    for (const char *sub : {"bin", "ini", "work", "data", "images"})
        QDir(dir_.path()).mkpath(QString::fromLatin1(sub));
    hb::setAppPath(bin());
}

ProgramDir::~ProgramDir()
{
    releaseGlobals();
    hb::setAppPath(QString());
}

void ProgramDir::createAndOpen()
{
    hb::createMissingDatabases(bin());
    hb::InitIni();
    hb::InitDb();
    hb::InitMst();
    hb::InitWork();
}

void ProgramDir::useServer(const QString &dsn, const QString &database)
{
    for (const char *prefix : {"DB_", "MST_"}) {
        const QString p = QString::fromLatin1(prefix);
        hb::gINI->SaveCtrl(p + QStringLiteral("TYPE"), hb::Value("1"));
        hb::gINI->SaveCtrl(p + QStringLiteral("DSN"), hb::Value(dsn));
        hb::gINI->SaveCtrl(p + QStringLiteral("NAME"), hb::Value(database));
    }
    hb::InitDb();  // an empty server database gets its tables when connected
    hb::InitMst();
}

void ProgramDir::releaseGlobals()
{
    hb::gDb.reset();
    hb::gMst.reset();
    hb::gWork.reset();
    hb::gINI.reset();
}

}  // namespace hbtest
