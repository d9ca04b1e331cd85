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
    // Closes and drops the four global database objects.
    static void releaseGlobals();

private:
    QTemporaryDir dir_;
};

}  // namespace hbtest
