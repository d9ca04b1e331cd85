// Every save killed after each of its statements, by a child program of its own: the database
// found afterwards holds the state before the save or the state after it, never a part of it,
// and finds nothing wrong with itself.

#include "drillsaves.h"
#include "drillsite.h"

#include <iostream>
#include <tuple>

namespace {

using drills::Backend;
using drills::DrillSite;

class KillDrill : public ::testing::TestWithParam<std::tuple<const char *, Backend>> {};

TEST_P(KillDrill, AKilledSaveLeavesTheStateBeforeOrAfter)
{
    const QString save = QString::fromLatin1(std::get<0>(GetParam()));
    const Backend backend = std::get<1>(GetParam());
    std::string why;
    if (backend == Backend::MariaDb && !hbtest::serverAvailable(&why))
        GTEST_SKIP() << why;

    DrillSite site(backend);
    const drills::ChildResult setup = site.runChild(save, QStringLiteral("setup"));
    ASSERT_TRUE(setup.output.contains(QLatin1String("READY"))) << setup.output.toStdString();
    site.keepBase();
    // The time and computer stamps are left out of the comparison: opening a row to edit it
    // marks it held before the save begins.
    const QStringList before = drills::dumpTables(*site.openData(), true);

    site.restoreBase();
    const drills::ChildResult full = site.runChild(save, QStringLiteral("run"));
    ASSERT_TRUE(full.done) << full.output.toStdString();
    ASSERT_EQ(full.message, QString()) << "the save itself failed";
    ASSERT_GT(full.statements, 2);
    const QStringList after = drills::dumpTables(*site.openData(), true);
    ASSERT_NE(after, before) << "the save changed nothing";

    long consistent = 0, old = 0;
    for (long k = 1; k <= full.statements; ++k) {
        site.restoreBase();
        const drills::ChildResult r = site.runChild(save, QStringLiteral("run"), k);
        ASSERT_TRUE(r.stopped) << "statement " << k << ": " << r.output.toStdString();
        auto db = site.openData();
        EXPECT_EQ(drills::integrity(*db), QStringLiteral("ok")) << "statement " << k;
        const QStringList state = drills::dumpTables(*db, true);
        const bool isBefore = state == before;
        const bool isAfter = state == after;
        EXPECT_TRUE(isBefore || isAfter) << "killed after statement " << k << " of " << full.statements;
        consistent += (isBefore || isAfter) ? 1 : 0;
        old += isBefore ? 1 : 0;
    }
    std::cout << "[drill] " << save.toStdString() << " " << (backend == Backend::Sqlite ? "Sqlite" : "MariaDb")
              << ": kills " << full.statements << ", consistent " << consistent << " (before " << old << ", after "
              << consistent - old << ")" << std::endl;
}

std::string drillName(const ::testing::TestParamInfo<std::tuple<const char *, Backend>> &info)
{
    return std::string(std::get<0>(info.param)) + (std::get<1>(info.param) == Backend::Sqlite ? "_Sqlite" : "_MariaDb");
}

INSTANTIATE_TEST_SUITE_P(Saves, KillDrill,
                         ::testing::Combine(::testing::ValuesIn(drills::kSaves),
                                            ::testing::Values(Backend::Sqlite, Backend::MariaDb)),
                         drillName);

}  // namespace
