#pragma once
// Fails the statements of a save one by one: statement k of the save an attempt runs (counted
// on the database it saves to, from its BEGIN to its COMMIT, both included) raises a database error instead of running
// (k = 1, 2, ...), until an attempt runs to its end without reaching statement k. A sound save leaves the database and its window as they were after each
// failure, so the attempts can follow one another on the same state, and the last one saves.

#include "common/scriptedui.h"
#include "core/db.h"

#include <QString>
#include <functional>

class QWidget;

namespace hbtest {

// The description of the error statement k raises.
QString failedStatementText(long k);

// Runs `attempt` with statement k failing, k = 1, 2, ...; after each attempt that reached its
// statement k, `failed(k, statement)` checks the state. Returns the number of statements of the
// last attempt, which ran without a failure.
long failEachStatement(hb::DbObject &db, const std::function<void()> &attempt,
                       const std::function<void(long k, const QString &statement)> &failed);

// The same for the save a button starts: each attempt clears the prompts and clicks the
// button; after each failure the one prompt shown must be the failure's description, then
// `failed` checks the rest.
long failEachClick(hb::DbObject &db, ScriptedUi &ui, QWidget *button,
                   const std::function<void(long k, const QString &statement)> &failed);

// Runs `act` while every statement on `db` fails with `text`, as on a file another program holds
// or a server gone.
void withFailingStatements(const hb::DbObject &db, const QString &text, const std::function<void()> &act);

// The same for the reads of a load: while `attempt` has the load armed (load(true) ..
// load(false)), read k (a SELECT, on any database) raises the error of failedStatementText(k).
// Returns the number of reads of the last attempt's load.
long failEachRead(const std::function<void(const std::function<void(bool)> &load)> &attempt,
                  const std::function<void(long k, const QString &statement)> &failed);

}  // namespace hbtest
