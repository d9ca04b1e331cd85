#pragma once
// The raw drivers the baselines are read with: the sqlite3 C API on a file, and on the server
// a connection opened as the program opens it (QMYSQL), read through the MariaDB C client
// under it (rawRun) or through Qt's query class (the calendar's and the start's baselines).

#include "history.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>
#include <cstring>
#include <initializer_list>
#include <map>
#include <memory>
#include <mysql.h>
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

// The MariaDB C client's handle of that connection; nullptr when the driver gives none.
inline MYSQL *rawMysql(const hb::ServerParams &params)
{
    const QVariant handle = rawServer(params).driver()->handle();
    if (!handle.isValid()
        || (std::strcmp(handle.typeName(), "MYSQL*") != 0 && std::strcmp(handle.typeName(), "st_mysql*") != 0))
        return nullptr;
    return *static_cast<MYSQL *const *>(handle.constData());
}

// Runs one hand-written statement on the history through the C API of either backend; every
// column of every row is read as text into *cells when given. The number of rows read (0 for
// a statement without rows), -1 when the statement fails.
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
    MYSQL *db = rawMysql(h.serverParams());
    if (!db || mysql_real_query(db, sql, std::strlen(sql)) != 0)
        return -1;
    MYSQL_RES *res = mysql_use_result(db);  // rows as they come, as a forward-only read
    if (!res)
        return mysql_field_count(db) == 0 ? 0 : -1;
    const unsigned n = mysql_num_fields(res);
    while (MYSQL_ROW row = mysql_fetch_row(res)) {
        ++rows;
        if (!cells)
            continue;
        const unsigned long *lengths = mysql_fetch_lengths(res);
        for (unsigned i = 0; i < n; ++i)
            cells->emplace_back(row[i] ? std::string(row[i], lengths[i]) : std::string());
    }
    const bool ok = mysql_errno(db) == 0;
    mysql_free_result(res);
    return ok ? rows : -1;
}

// Whether a list the program read, of `rows` rows and at least `least`, has as many rows as the
// hand-written statement reads; when not, the benchmark is skipped with the reason.
inline bool sameRows(benchmark::State &state, const History &h, long rows, const char *sql, long least = 1)
{
    if (rows >= least && rows == rawRun(h, sql))
        return true;
    state.SkipWithError("the list and the hand-written statement disagree");
    return false;
}

// A list's baseline: its statements hand-written through rawRun once an iteration, every cell of
// every row kept as text.
inline void rawBaseline(benchmark::State &state, std::initializer_list<const char *> statements)
{
    History *h = historyFor(state);
    if (!h)
        return;
    for (auto _ : state) {
        std::vector<std::string> cells;
        for (const char *sql : statements)
            benchmark::DoNotOptimize(rawRun(*h, sql, &cells));
    }
}

}  // namespace hbbench
