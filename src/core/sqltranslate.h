#pragma once
// Turns the file database's SQL dialect, in which every statement of the program is written,
// into the dialect of the backend that runs it. Quoted texts are left as they are.

#include <QString>
#include <QStringList>

namespace hb {

enum class DbKind { None, File, Server };

// Rewrites, outside quoted texts:
//  - #date# literals ("yyyy-mm-dd hh:nn:ss", "yyyy/mm/dd", ...) to the canonical quoted form;
//  - "DELETE t.* FROM t" to "DELETE FROM t";
//  - a leading or trailing * inside the quoted pattern after LIKE to %;
//  - for the file kind: table-qualified SET columns to bare ones, the join update
//    "UPDATE a INNER JOIN b ON ... SET a.c = expr [WHERE ...]" to correlated sub-queries,
//    and every division to a real division.
// Throws HbError for a # literal that is no date (the server would read # as a comment).
QString translateSql(const QString &sql, DbKind kind);

// The columns a statement writes its '?' values into, one entry per placeholder in order, ""
// where a value is not stored into a column (a condition, an expression). Knows
// "INSERT INTO t (c, ...) VALUES (...)" and "UPDATE t SET c = ?, ... [WHERE ...]" (t in *table);
// any other statement gives an empty list.
QStringList placeholderColumns(const QString &sql, QString *table);

// Whether a text holds more than one statement: a ';' outside quoted texts and comments with
// more than blanks, comments or further ';' after it.
bool holdsSeveralStatements(const QString &sql);

// Quotes a text as an SQL literal (doubling quotes); for the few statements that must stay text.
QString sqlQuote(const QString &text);

}  // namespace hb
