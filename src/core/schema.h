#pragma once
// The tables of the four databases (db/*.sql, embedded as resources) and the files a first
// start creates beside the program's folder.

#include "core/db.h"

#include <QString>
#include <QStringList>

namespace hb {

// The four databases, each with its schema file in db/.
enum class Schema { Settings, Work, Data, Master };

// Names of the tables that a database's schema creates, in the order it creates them.
QStringList schemaTables(Schema which);

// Creates the tables of one database in an empty database of either kind; the work database
// also receives its reference rows. On a server each CREATE TABLE commits by itself, so this
// must not be called inside an open transaction there.
void loadSchema(DbObject &db, Schema which);

// Makes sure a data or master database holds the tables of its schema, when it is connected. A
// server database holding none of them gets them now, as a new file does at the first start; when
// that fails the tables it made are dropped again and the error raised. A database lacking only
// some of them (a file lacking any: files are made only at the first start) raises HbError naming
// the first one missing.
void requireTables(DbObject &db, Schema which);

// Adds the indexes of a database's schema that it lacks (a database made by an earlier build),
// each looked up first. A failure (a read-only file, no privilege, a table held by another
// computer beyond a few seconds) is logged and no further index is tried; the database stays
// usable as it is. Must not be called inside an open transaction. Returns the names created.
QStringList addMissingIndexes(DbObject &db, Schema which);

// The condition that finds the pesticide purchases whose REST_QTY is not PUR_QTY - USED_QTY
// (Null when either is Null), through the database's index of them where it has one.
QString restToFixCondition(DbObject &db);

// The first start, beside the program's folder:
//  - ../ini/INFO.MDB, when missing, is created with the default settings (data and master as
//    the default files, one grower, grower 1 and shop 1); ../work/WORK.MDB, when missing, with
//    its reference rows;
//  - on that first start (the settings file made just now), the default data and master files
//    (../data/DATA.MDB, ../data/MASTER.MDB) are created with their schema when missing; later a
//    missing data or master file is left to the connection question.
// Nothing that exists is overwritten; a file is built under a temporary name and renamed into
// place only when complete. Returns the paths of the files created.
// Throws HbError, its description naming the file, when the settings or work file exists but is
// no database of its kind, or when a file cannot be created.
QStringList createMissingDatabases(const QString &programFolder = appPath());

}  // namespace hb
