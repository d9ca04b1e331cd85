#pragma once
// The program's folder for a benchmark: bin/, ini/, work/, data/ and images/ in a temporary
// directory, with the settings and work databases made and opened as a first start does.

#include "core/db.h"
#include "core/schema.h"

#include <QDir>
#include <QTemporaryDir>

namespace bench {

inline void openProgramFolder(const QTemporaryDir &dir)
{
    for (const char *sub : {"bin", "ini", "work", "data", "images"})
        QDir(dir.path()).mkpath(QString::fromLatin1(sub));
    hb::setAppPath(dir.filePath(QStringLiteral("bin")));
    hb::createMissingDatabases();
    hb::InitIni();
    hb::InitWork();
}

}  // namespace bench
