#pragma once
// A program folder of its own for the drills' child program, its databases of either kind, the
// child run to its end or killed after a statement, and the state of the data database as text.

#include "common/backends.h"
#include "core/db.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace drills {

using hbtest::Backend;

struct ChildResult {
    bool started = false;
    bool stopped = false;   // printed "STOP k" and was killed
    bool done = false;      // printed "DONE n message"
    long statements = 0;    // of a run to its end
    QString message;        // what the save reported ("" when it saved)
    QString output;         // everything it printed, for failure reports
};

class DrillSite {
public:
    // The databases are created at once; a server database of a unique name on the data
    // source `params` names (the shared test server when none is given).
    explicit DrillSite(Backend backend, const hb::ServerParams &server = {});
    ~DrillSite();
    DrillSite(const DrillSite &) = delete;
    DrillSite &operator=(const DrillSite &) = delete;

    Backend backend() const { return backend_; }
    QString root() const { return dir_.path(); }
    QString folder() const { return dir_.path() + QStringLiteral("/bin"); }
    QString dataFile() const { return dir_.path() + QStringLiteral("/data/DATA.MDB"); }
    QString workFile() const { return dir_.path() + QStringLiteral("/work/WORK.MDB"); }
    hb::ServerParams serverParams() const { return server_; }
    // A new connection to the data database (master tables included).
    std::unique_ptr<hb::DirectDb> openData() const;

    // Keeps the current data (and work) state as the state each drill starts from, and puts it
    // back (a fresh copy under a new name on the server).
    void keepBase();
    void restoreBase();
    // Moves the data file elsewhere (a small file system) and points the settings there.
    void moveDataFile(const QString &path);

    // Runs the child: `save` with `action` ("setup", "run"), killed after statement killAt
    // when it is above 0. `extraEnv` entries are "NAME=value"; `wrapper` runs the child through
    // another program (setpriv) when not empty.
    ChildResult runChild(const QString &save, const QString &action, long killAt = 0,
                         const QStringList &extraEnv = {}, const QStringList &wrapper = {},
                         const QStringList &extraArgs = {}) const;

private:
    void pointSettingsAt(const QString &dataName);
    void dropServerDatabase(const QString &name) const;

    Backend backend_;
    QTemporaryDir dir_;
    hb::ServerParams server_;
    QString dataPath_;
    QString baseDatabase_;
    QStringList madeDatabases_;
    int copies_ = 0;
};

// Every row of every table of the database, table by table in name order, each row's values
// as text; with `maskAudit` the columns a save stamps with the time and computer are left out.
QStringList dumpTables(hb::DbObject &db, bool maskAudit);
// "ok" when the database finds nothing wrong with itself, else what it reports.
QString integrity(hb::DbObject &db);
// True when running in CI, where what cannot run is a failure rather than a skip.
bool inCi();

}  // namespace drills
