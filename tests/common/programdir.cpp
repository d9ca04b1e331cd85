#include "common/programdir.h"

#include "core/db.h"

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

void ProgramDir::releaseGlobals()
{
    hb::gDb.reset();
    hb::gMst.reset();
    hb::gWork.reset();
    hb::gINI.reset();
}

}  // namespace hbtest
