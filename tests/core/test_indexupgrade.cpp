// The indexes of the data database: a new database has them, and one made by an earlier build
// gets the missing ones when the program opens it, without stopping the start when it cannot.

#include "common/globaldbs.h"
#include "core/log.h"
#include "core/schema.h"

#include <QElapsedTimer>
#include <QSet>

using hb::Value;

namespace {

struct Index {
    const char *name;
    const char *table;
};
const Index kIndexes[] = {
    {"IX_D_DIARY_DTL_CHEMI", "D_DIARY_DTL"},
    {"IX_D_LEDGE_DATE", "D_LEDGE"},
    {"IX_D_SHIP_DATE", "D_SHIP"},
    {"IX_D_DIARY_DTL_USE", "D_DIARY_DTL"},
    {"IX_D_SHIP_DAY", "D_SHIP"},
    {"IX_D_PLANT_YEAR", "D_PLANT"},
    {"IX_D_SHIP_PLANT", "D_SHIP"},
    {"IX_D_DIARY_HOLD", "D_DIARY"},
    {"IX_D_LEDGE_HOLD", "D_LEDGE"},
    {"IX_D_SHIP_HOLD", "D_SHIP"},
    {"IX_D_CHEMI_HOLD", "D_CHEMI"},
    {"IX_D_PLANT_HOLD", "D_PLANT"},
    {"IX_D_CHEMI_PICK", "D_CHEMI"},
    {"IX_D_PLANT_DAY", "D_PLANT"},
    {"IX_D_CHEMI_REST", "D_CHEMI"},
};
constexpr size_t kIndexCount = std::size(kIndexes);

class DataIndexes : public hbtest::GlobalDbs {
protected:
    bool server() const { return GetParam() == hbtest::Backend::MariaDb; }

    QSet<QString> present()
    {
        auto rs = db().GetFwdOnlyRst(server() ? "SELECT DISTINCT INDEX_NAME FROM information_schema.STATISTICS"
                                                " WHERE TABLE_SCHEMA = DATABASE()"
                                              : "SELECT name FROM sqlite_master WHERE type = 'index'");
        QSet<QString> out;
        for (; !rs->eof(); rs->MoveNext())
            out.insert(rs->Fields(0).displayText().toUpper());
        return out;
    }
    QSet<QString> ours()
    {
        QSet<QString> out;
        for (const Index &i : kIndexes) {
            if (present().contains(QString::fromLatin1(i.name)))
                out.insert(QString::fromLatin1(i.name));
        }
        return out;
    }
    // The database as an earlier build made it: without these indexes.
    void drop(const std::vector<Index> &which)
    {
        for (const Index &i : which) {
            if (server() && QLatin1String(i.name) == QLatin1String("IX_D_CHEMI_REST"))
                db().EXEC("ALTER TABLE D_CHEMI DROP COLUMN REST_OFF");  // the column of the index goes with it
            else
                db().EXEC(server() ? QStringLiteral("DROP INDEX %1 ON %2").arg(QLatin1String(i.name), QLatin1String(i.table))
                                   : QStringLiteral("DROP INDEX %1").arg(QLatin1String(i.name)));
        }
    }
    static QSet<QString> names(const QStringList &list) { return QSet<QString>(list.begin(), list.end()); }
    // The indexes the database's plan of a statement names.
    QString plan(const QString &statement)
    {
        auto rs = db().GetFwdOnlyRst((server() ? "EXPLAIN " : "EXPLAIN QUERY PLAN ") + statement);
        QString used;
        for (; !rs->eof(); rs->MoveNext())
            used += (server() ? rs->Fields("key") : rs->Fields("detail")).displayText() + ' ';
        return used;
    }
};

TEST_P(DataIndexes, MissingIndexesAreAddedOnceAndOnlyThose)
{
    QSet<QString> all;
    for (const Index &i : kIndexes)
        all.insert(QString::fromLatin1(i.name));
    EXPECT_EQ(ours(), all) << "a new data database has them";
    struct Case {
        const char *what;
        std::vector<Index> dropped;
    } cases[] = {
        {"none missing", {}},
        {"all missing", std::vector<Index>(std::begin(kIndexes), std::end(kIndexes))},
        {"the vouchers' index missing", {kIndexes[1]}},
        {"the lines' and the shipments' missing", {kIndexes[0], kIndexes[2]}},
        {"the later ones missing", std::vector<Index>(std::begin(kIndexes) + 3, std::end(kIndexes))},
        {"the input windows' holds missing", std::vector<Index>(std::begin(kIndexes) + 9, std::begin(kIndexes) + 12)},
        {"the pesticides' pick list's, the plantings' of a day and the rests' missing",
         std::vector<Index>(std::end(kIndexes) - 3, std::end(kIndexes))},
    };
    for (const Case &c : cases) {
        drop(c.dropped);
        QSet<QString> expected;
        for (const Index &i : c.dropped)
            expected.insert(QString::fromLatin1(i.name));
        EXPECT_EQ(names(hb::addMissingIndexes(db(), hb::Schema::Data)), expected) << c.what;
        EXPECT_EQ(ours(), all) << c.what;
        EXPECT_TRUE(hb::addMissingIndexes(db(), hb::Schema::Data).isEmpty()) << c.what << ": a second opening adds nothing";
    }
    EXPECT_TRUE(hb::addMissingIndexes(db(), hb::Schema::Master).isEmpty()) << "the master schema has none";
}

TEST_P(DataIndexes, OpeningTheDataDatabaseAddsThem)
{
    drop(std::vector<Index>(std::begin(kIndexes), std::end(kIndexes)));
    hb::gDb->EXEC("INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, AMT) VALUES (1, 1, #2024-05-01#, 100)");
    hb::InitDb();
    EXPECT_EQ(ours().size(), kIndexCount);
    EXPECT_EQ(one("SELECT COUNT(*) FROM D_LEDGE WHERE FMR_ID=1 AND LEDGE_DATE=#2024-05-01#").toLong(), 1)
        << "the rows stay";
}

TEST_P(DataIndexes, ATableHeldElsewhereIsLoggedAndTheStartGoesOn)
{
    drop(std::vector<Index>(std::begin(kIndexes), std::end(kIndexes)));
    QStringList log;
    hb::setLogSink([&log](const QString &line) { log << line; });
    // Another computer is in the middle of a save on the vouchers.
    auto other = fresh().connect();
    other->Begintrans();
    other->EXEC("INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, AMT) VALUES (2, 1, #2024-05-01#, 100)");

    QElapsedTimer waited;
    waited.start();
    ASSERT_NO_THROW(hb::InitDb());
    EXPECT_LT(waited.elapsed(), 20000) << "the wait is bounded";
    ASSERT_TRUE(hb::gDb->isOpen());
    EXPECT_EQ(one("SELECT COUNT(*) FROM D_LEDGE WHERE FMR_ID=1").toLong(), 0) << "the database is usable";
    // A file locks as a whole: nothing is added; a server adds the lines' index before the
    // vouchers' one waits in vain. No index is tried after a failure.
    const QSet<QString> before = ours();
    EXPECT_EQ(before, server() ? QSet<QString>{"IX_D_DIARY_DTL_CHEMI"} : QSet<QString>{});
    const QStringList failures = log.filter(QStringLiteral("索引"));
    ASSERT_EQ(failures.size(), 1) << log.join('\n').toStdString();
    EXPECT_TRUE(failures.front().contains(server() ? "IX_D_LEDGE_DATE" : "IX_D_DIARY_DTL_CHEMI"))
        << failures.front().toStdString();

    other->CommitTrans();
    other.reset();
    hb::InitDb();
    EXPECT_EQ(ours().size(), kIndexCount) << "the next opening adds the rest";
    if (server()) {
        EXPECT_NE(hb::gDb->GetFwdOnlyRst("SELECT @@SESSION.lock_wait_timeout")->Fields(0).toLong(), 5)
            << "the session's own wait is restored";
    }
    hb::setLogSink(nullptr);
}

// The release of this computer's holds looks them up in the table's hold index (the diary day,
// the voucher, shipment, pesticide purchase and planting inputs release them on closing); the
// diary day's pesticide pick list reads the grower's purchases in their order from its index, the
// stock's fix-up finds the rests that are off in theirs, and the plantings in progress on a day
// are found among the grower's current ones, not all of his years.
TEST_P(DataIndexes, TheReleaseOfHoldsUsesTheHoldIndexes)
{
    const QString release = "UPDATE %1 SET LAST_TM=HOLD_TM, HOLD_TM=NULL WHERE HOLD_TM='PC-TEST'";
    const struct {
        Index index;
        const char *id;
        QString statement;
    } tables[] = {
        {{"IX_D_DIARY_HOLD", "D_DIARY"}, "WORK_DATE", release}, {{"IX_D_LEDGE_HOLD", "D_LEDGE"}, "LEDGE_ID", release},
        {{"IX_D_SHIP_HOLD", "D_SHIP"}, "SHIP_ID", release},     {{"IX_D_CHEMI_HOLD", "D_CHEMI"}, "CHEMI_ID", release},
        {{"IX_D_PLANT_HOLD", "D_PLANT"}, "PLANT_ID", release},
        {{"IX_D_CHEMI_PICK", "D_CHEMI"}, nullptr,
         "SELECT  D_CHEMI.CHEMI_ID,  D_CHEMI.CHEMI_NM,  D_CHEMI.PUR_DATE  FROM D_CHEMI "
         " WHERE CHK_FLG<>0 AND FMR_ID=2 ORDER BY CHEMI_NM, CHEMI_ID"},
        {{"IX_D_CHEMI_REST", "D_CHEMI"}, nullptr, "UPDATE D_CHEMI SET REST_QTY=PUR_QTY-USED_QTY WHERE " + hb::restToFixCondition(db())},
    };
    for (const auto &[index, id, statement] : tables) {
        const QString table = QString::fromLatin1(index.table);
        // Rows nobody holds around the held one, so that the server's planner weighs the index
        // (one grower's: the pick list is another's).
        db().Begintrans();
        for (int i = 0; id && i < 200; ++i)
            db().EXEC(QStringLiteral("INSERT INTO %1 (FMR_ID, %2, LAST_TM, HOLD_TM) VALUES (1, ?, 'OLD-PC', ?)").arg(table, id),
                      {QString(id) == "WORK_DATE" ? Value(QDateTime(QDate(2024, 1, 1).addDays(i), QTime())) : Value(i + 1),
                       i == 7 ? Value("PC-TEST") : Value::null()});
        db().CommitTrans();
        if (server())
            db().EXEC("ANALYZE TABLE " + table);
        const QString used = plan(id ? statement.arg(table) : statement);
        EXPECT_TRUE(used.contains(index.name)) << table.toStdString() << ": " << used.toStdString();
    }
    db().Begintrans();
    for (int i = 0; i < 200; ++i)
        db().EXEC("INSERT INTO D_PLANT (FMR_ID, PLANT_ID, START_DATE, END_DATE) VALUES (3, ?, ?, ?)",
                  {Value(i + 1), Value(QDate(1990, 1, 1).addMonths(i)),
                   i == 199 ? Value::null() : Value(QDate(1990, 7, 1).addMonths(i))});
    db().CommitTrans();
    if (server())
        db().EXEC("ANALYZE TABLE D_PLANT");
    const QString used = plan("SELECT  D_PLANT.PLANT_ID,  D_PLANT.PLANT_NM  FROM D_PLANT  WHERE FMR_ID=3"
                              " AND START_DATE<=#2024-06-12# AND ((END_DATE IS NULL) OR (END_DATE>=#2024-06-12#))"
                              " ORDER BY PLANT_DATE, PLANT_ID");
    EXPECT_TRUE(used.contains("IX_D_PLANT_DAY")) << used.toStdString();
}

HB_INSTANTIATE_BOTH_BACKENDS(DataIndexes);

}  // namespace
