#include "common/failingstatement.h"

#include "common/harness.h"
#include "core/value.h"

#include <gtest/gtest.h>

namespace hbtest {

QString failedStatementText(long k)
{
    return QStringLiteral("試験: 文 %1 を失敗させました。").arg(k);
}

namespace {

// Attempts with counted statement k failing, k = 1, 2, ...: before each attempt `reset` starts
// the counting afresh, and `counts` says, statement by statement, whether one counts.
long failEachCounted(const std::function<void()> &reset,
                     const std::function<bool(const hb::DbObject &, const QString &)> &counts,
                     const std::function<void()> &attempt,
                     const std::function<void(long k, const QString &statement)> &failed)
{
    for (long k = 1;; ++k) {
        long count = 0;
        QString failedSql;
        reset();
        hb::DbObject::statementStartHook = [&](const hb::DbObject &on, const QString &sql) {
            if (counts(on, sql) && ++count == k) {
                failedSql = sql;
                throw hb::HbError(hb::kErrDatabase, failedStatementText(k));
            }
        };
        struct Disarm {
            ~Disarm() { hb::DbObject::statementStartHook = nullptr; }
        } disarm;
        attempt();
        hb::DbObject::statementStartHook = nullptr;
        if (count < k)
            return count;
        failed(k, failedSql);
        if (k > 1000) {
            ADD_FAILURE() << "the attempt never ends";
            return count;
        }
    }
}

}  // namespace

long failEachStatement(hb::DbObject &db, const std::function<void()> &attempt,
                       const std::function<void(long k, const QString &statement)> &failed)
{
    int depth = 0;
    return failEachCounted([&] { depth = 0; },
                           [&](const hb::DbObject &on, const QString &sql) {
                               // Only the save's own statements count: on its database, from its
                               // BEGIN to its COMMIT.
                               const bool begin = sql == QLatin1String("BEGIN");
                               const bool commit = sql == QLatin1String("COMMIT");
                               if (&on != &db || (!begin && depth == 0))
                                   return false;
                               depth += begin ? 1 : commit ? -1 : 0;
                               return true;
                           },
                           attempt, failed);
}

void withFailingStatements(const hb::DbObject &db, const QString &text, const std::function<void()> &act)
{
    hb::DbObject::statementStartHook = [&](const hb::DbObject &on, const QString &) {
        if (&on == &db)
            throw hb::HbError(hb::kErrDatabase, text);
    };
    struct Disarm {
        ~Disarm() { hb::DbObject::statementStartHook = nullptr; }
    } disarm;
    act();
}

long failEachRead(const std::function<void(const std::function<void(bool)> &load)> &attempt,
                  const std::function<void(long k, const QString &statement)> &failed)
{
    bool armed = false;
    return failEachCounted([&] { armed = false; },
                           [&](const hb::DbObject &, const QString &sql) {
                               return armed && sql.trimmed().startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive);
                           },
                           [&] { attempt([&](bool on) { armed = on; }); }, failed);
}

long failEachClick(hb::DbObject &db, ScriptedUi &ui, QWidget *button,
                   const std::function<void(long k, const QString &statement)> &failed)
{
    return failEachStatement(
        db,
        [&] {
            ui.prompts.clear();
            click(button);
            settle();
        },
        [&](long k, const QString &sql) {
            EXPECT_EQ(ui.promptTexts(), QStringList({failedStatementText(k)})) << sql.toStdString();
            failed(k, sql);
        });
}

}  // namespace hbtest
