#pragma once
// The raw drivers the baselines are read with: the sqlite3 C API on a file, and on the server
// the program's own QMYSQL connection used without the program's statement layer.

#include "history.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <map>
#include <memory>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace hbbench {

// The file, opened once and kept for the process.
inline sqlite3 *rawFile(const QString &path)
{
    static std::map<QString, sqlite3 *> open;
    sqlite3 *&db = open[path];
    if (!db)
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    return db;
}

// The server's connection, opened as the program opens it and kept for the process.
inline QSqlDatabase rawServer(const hb::ServerParams &params)
{
    static std::map<QString, std::unique_ptr<hb::DirectDb>> open;
    std::unique_ptr<hb::DirectDb> &db = open[params.database];
    if (!db)
        db = hb::DirectDb::server(params);
    return db->connection();
}

// Runs one hand-written statement on the history; every column of every row is read as text
// into *cells when given. The number of rows read, -1 when the statement fails.
inline long rawRun(const History &h, const char *sql, std::vector<std::string> *cells = nullptr)
{
    long rows = 0;
    if (h.backend() == Backend::Sqlite) {
        sqlite3 *db = rawFile(h.filePath());
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
            return -1;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            ++rows;
            for (int i = 0, n = sqlite3_column_count(st); cells && i < n; ++i) {
                const auto *t = reinterpret_cast<const char *>(sqlite3_column_text(st, i));
                cells->emplace_back(t ? t : "");
            }
        }
        sqlite3_finalize(st);
        return rc == SQLITE_DONE ? rows : -1;
    }
    QSqlQuery q(rawServer(h.serverParams()));
    q.setForwardOnly(true);
    if (!q.exec(QString::fromUtf8(sql)))
        return -1;
    while (q.next()) {
        ++rows;
        for (int i = 0, n = q.record().count(); cells && i < n; ++i)
            cells->push_back(q.value(i).toString().toStdString());
    }
    return rows;
}

}  // namespace hbbench
