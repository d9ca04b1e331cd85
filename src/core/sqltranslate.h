#pragma once
// Turns the file database's SQL dialect, in which every statement of the program is written,
// into the dialect of the backend that runs it. Quoted texts are left as they are.

#include <QString>

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

// Quotes a text as an SQL literal (doubling quotes); for the few statements that must stay text.
QString sqlQuote(const QString &text);

}  // namespace hb
