#include "common/failingstatement.h"

#include "common/harness.h"
#include "core/value.h"

#include <gtest/gtest.h>

namespace hbtest {

QString failedStatementText(long k)
{
    return QStringLiteral("試験: 文 %1 を失敗させました。").arg(k);
}

long failEachStatement(hb::DbObject &db, const std::function<void()> &attempt,
                       const std::function<void(long k, const QString &statement)> &failed)
{
    for (long k = 1;; ++k) {
        long count = 0;
        int depth = 0;
        QString failedSql;
        hb::DbObject::statementStartHook = [&](const hb::DbObject &on, const QString &sql) {
            // Only the save's own statements count: on its database, from its BEGIN to its COMMIT.
            if (&on != &db)
                return;
            const bool begin = sql == QLatin1String("BEGIN");
            const bool commit = sql == QLatin1String("COMMIT");
            if (!begin && depth == 0)
                return;
            if (++count == k) {
                failedSql = sql;
                throw hb::HbError(hb::kErrDatabase, failedStatementText(k));
            }
            depth += begin ? 1 : commit ? -1 : 0;
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
            ADD_FAILURE() << "the save never ends";
            return count;
        }
    }
}

long failEachRead(const std::function<void(const std::function<void(bool)> &load)> &attempt,
                  const std::function<void(long k, const QString &statement)> &failed)
{
    for (long k = 1;; ++k) {
        long count = 0;
        bool armed = false;
        QString failedSql;
        hb::DbObject::statementStartHook = [&](const hb::DbObject &, const QString &sql) {
            if (!armed || !sql.trimmed().startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive))
                return;
            if (++count == k) {
                failedSql = sql;
                throw hb::HbError(hb::kErrDatabase, failedStatementText(k));
            }
        };
        struct Disarm {
            ~Disarm() { hb::DbObject::statementStartHook = nullptr; }
        } disarm;
        attempt([&](bool on) { armed = on; });
        hb::DbObject::statementStartHook = nullptr;
        if (count < k)
            return count;
        failed(k, failedSql);
        if (k > 1000) {
            ADD_FAILURE() << "the load never ends";
            return count;
        }
    }
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
