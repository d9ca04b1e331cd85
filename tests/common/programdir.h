#pragma once
// A program folder in a temporary directory (bin/, ini/, work/, data/, images/), with the
// program's folder pointed at its bin/.

#include <QString>
#include <QTemporaryDir>

namespace hbtest {

class ProgramDir {
public:
    ProgramDir();
    ~ProgramDir();
    QString root() const { return dir_.path(); }
    QString bin() const { return dir_.path() + QStringLiteral("/bin"); }
    QString path(const QString &relative) const { return dir_.path() + QLatin1Char('/') + relative; }
    // Creates the four databases as a first start does (SQLite files) and opens the four
    // global objects on them.
    void createAndOpen();
    // Points the data and master settings at a server database (the data source and the
    // database name that overrides its own) and reopens gDb and gMst there, schema loaded.
    void useServer(const QString &dsn, const QString &database);
    // Closes and drops the four global database objects.
    static void releaseGlobals();

private:
    QTemporaryDir dir_;
};

}  // namespace hbtest
