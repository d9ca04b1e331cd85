#pragma once
// The program's four databases: the settings, work, data and master objects, how each is created
// and reached, and the program's folder they lie beside.

#include "core/dbobject.h"

#include <QString>
#include <memory>

namespace hb {

// The settings database (ini/INFO.MDB beside the program's folder).
class clsINI : public DbObject {
public:
    clsINI();
    void OpenCnn() override;

    // The connection settings, read afresh at every call (Null and Empty read as "").
    QString DB_TYPE();
    QString DB_DSN();
    QString DB_SERVER();
    QString DB_NAME();  // a file name completed with the program's folder; "" when no such file
    QString DB_USER();
    QString DB_PSWD();
    QString DB_DBPW();
    QString MST_TYPE();
    QString MST_DSN();
    QString MST_SERVER();
    QString MST_NAME();
    QString MST_USER();
    QString MST_PSWD();
    QString MST_DBPW();

private:
    QString text(const QString &key);
    QString fileName(const QString &typeKey, const QString &nameKey);
};

// The work and lookup database (work/WORK.MDB beside the program's folder).
class clsWork : public DbObject {
public:
    clsWork();
    void OpenCnn() override;
};

// The data database, as the DB_ settings say.
class clsDb : public DbObject {
public:
    clsDb();
    void OpenCnn() override;
};

// The master database, as the MST_ settings say.
class clsMst : public DbObject {
public:
    clsMst();
    void OpenCnn() override;
};

// The creation of each object (replacing the one held before); creating opens it.
void InitIni();
void InitDb();
void InitMst();
void InitWork();
// Releases the data, master, work and settings objects, in this order, closing their connections.
void releaseDatabases();

extern std::unique_ptr<clsINI> gINI;
extern std::unique_ptr<clsDb> gDb;
extern std::unique_ptr<clsMst> gMst;
extern std::unique_ptr<clsWork> gWork;

// Opens the data database by its settings when it is not open yet (asking on failure, as InitDb).
void openDataDb();

// The four objects, each raising "no object" (91) when it was not created.
DbObject &iniDb();
DbObject &dataDb();
DbObject &masterDb();
DbObject &workDb();

// The program's folder (where the executable lies); the databases are found beside it.
QString appPath();
void setAppPath(const QString &path);
QString iniDbPath();
QString workDbPath();

}  // namespace hb
