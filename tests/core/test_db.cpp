// The data-access objects on both kinds of database.

#include "common/backends.h"
#include "core/db.h"
#include "core/log.h"

#include <QStringList>

using hb::Value;
using hbtest::BothBackends;

namespace {

class DataAccess : public BothBackends {
protected:
    void SetUp() override
    {
        BothBackends::SetUp();
        if (IsSkipped())
            return;
        db().EXEC("CREATE TABLE T_ROW (ID INTEGER NOT NULL, FMR_ID INTEGER, NM VARCHAR(100), "
                  "WORK_DATE DATETIME, AMT DECIMAL(19,4), RT DOUBLE, QTY INTEGER, PRIMARY KEY (ID))");
    }
    void insertRow(int id, const Value &nm, const QString &date = QString(), int fmr = 1)
    {
        db().EXEC("INSERT INTO T_ROW (ID, FMR_ID, NM, WORK_DATE) VALUES (?, ?, ?, ?)",
                  {Value(id), Value(fmr), nm, date.isEmpty() ? Value::null() : Value(date)});
    }
    QList<int> ids(const QString &sql)
    {
        QList<int> out;
        auto rs = db().GetFwdOnlyRst(sql);
        while (!rs->eof()) {
            out << rs->Fields("ID").toInt();
            rs->MoveNext();
        }
        return out;
    }
};

TEST_P(DataAccess, DomainFunctionsOnEmptyAndNullData)
{
    QStringList composed;
    hb::DbObject::composedStatementHook = [&](const QString &s) { composed << s; };
    EXPECT_TRUE(db().DMax("ID", "T_ROW", "FMR_ID=9").isNull());
    EXPECT_EQ(db().DCount("*", "T_ROW", "").toInt(), 0);
    ASSERT_EQ(composed.size(), 2);
    EXPECT_EQ(composed.at(1), "SELECT COUNT(*) FROM T_ROW");
    EXPECT_EQ(composed.at(0), "SELECT MAX(ID) FROM T_ROW WHERE FMR_ID=9");

    insertRow(1, "a");
    insertRow(2, Value::null());
    insertRow(3, "b");
    EXPECT_TRUE(db().DLookup("NM", "T_ROW", "ID=99").isNull());
    EXPECT_TRUE(db().DLookup("NM", "T_ROW", "ID=2").isNull());
    EXPECT_EQ(db().DLookup("NM", "T_ROW", "ID=3"), Value("b"));
    EXPECT_EQ(db().DJoin("NM", "T_ROW", "ID>0 ORDER BY ID"), Value("a  b"));
    EXPECT_TRUE(db().DJoin("NM", "T_ROW", "ID=99").isNull());
    EXPECT_EQ(db().DJoin("NM", "T_ROW", "ID=2"), Value(""));
    EXPECT_EQ(db().DMax("ID", "T_ROW", "").toInt(), 3);
    EXPECT_EQ(db().DMin("ID", "T_ROW", "").toInt(), 1);
    EXPECT_EQ(db().DSUM("ID", "T_ROW", "FMR_ID=1").toInt(), 6);
    EXPECT_EQ(db().DCount("NM", "T_ROW", "").toInt(), 2);
    hb::DbObject::composedStatementHook = nullptr;
}

TEST_P(DataAccess, DateLiteralsAndDeleteFormsWorkThroughEveryMember)
{
    insertRow(1, "x", "2024-05-01 00:00:00");
    insertRow(2, "y", "2024-04-30 00:00:00");
    insertRow(3, "z", "2024-05-02 00:00:00");
    EXPECT_EQ(ids("SELECT ID FROM T_ROW WHERE WORK_DATE=#2024-05-01 00:00:00# ORDER BY ID"), QList<int>{1});
    EXPECT_EQ(ids("SELECT ID FROM T_ROW WHERE WORK_DATE<=#2024/05/01# ORDER BY ID"), (QList<int>{1, 2}));
    auto st = db().GetStaticRst("SELECT T_ROW.* FROM T_ROW WHERE WORK_DATE>=#2024/05/01# ORDER BY ID");
    EXPECT_EQ(st->RecordCount(), 2);
    EXPECT_EQ(db().DCount("*", "T_ROW", "WORK_DATE<#2024-05-02 00:00:00#").toInt(), 2);

    EXPECT_EQ(db().EXEC("UPDATE T_ROW SET NM='w' WHERE WORK_DATE=#2024/05/02#"), 1);
    EXPECT_EQ(db().EXEC("DELETE T_ROW.* FROM T_ROW WHERE WORK_DATE=#2024-04-30 00:00:00#"), 1);
    EXPECT_EQ(db().EXEC("DELETE  T_ROW.*  FROM T_ROW  WHERE ID=3"), 1);
    EXPECT_EQ(ids("SELECT ID FROM T_ROW ORDER BY ID"), QList<int>{1});
    EXPECT_EQ(db().EXEC("DELETE FROM T_ROW WHERE ID=99"), 0);
}

TEST_P(DataAccess, DatesKeepOneStoredForm)
{
    const QDateTime when(QDate(2024, 5, 1), QTime(13, 45, 7));
    db().EXEC("INSERT INTO T_ROW (ID, WORK_DATE) VALUES (?, ?)", {Value(1), Value(when)});
    auto rs = db().GetDynamicRst("SELECT T_ROW.* FROM T_ROW WHERE ID=1");
    rs->setField("NM", "edited");
    rs->Update();
    rs = db().GetFwdOnlyRst("SELECT T_ROW.* FROM T_ROW WHERE ID=1");
    ASSERT_TRUE(rs->Fields("WORK_DATE").isDate());
    EXPECT_EQ(rs->Fields("WORK_DATE").toDate(), when);
    EXPECT_EQ(db().DCount("*", "T_ROW", "WORK_DATE=#2024-05-01 13:45:07#").toInt(), 1);
    EXPECT_EQ(db().DMax("WORK_DATE", "T_ROW", "").toDate(), when);
    // A date bound from the calendar's day compares equal with a literal of that day.
    db().EXEC("INSERT INTO T_ROW (ID, WORK_DATE) VALUES (?, ?)", {Value(2), Value(QDate(2024, 5, 3))});
    EXPECT_EQ(db().DCount("*", "T_ROW", "WORK_DATE=#2024/05/03#").toInt(), 1);
}

TEST_P(DataAccess, AwkwardTextRoundTripsUnchanged)
{
    const QString nasty = QStringLiteral("O'Neil #1 *50% off* C:\\温室\\");
    auto rs = db().GetDynamicRst("SELECT T_ROW.* FROM T_ROW WHERE ID=0");
    EXPECT_TRUE(rs->eof());
    rs->AddNew();
    rs->setField("ID", 1);
    rs->setField("NM", nasty);
    rs->Update();
    db().EXEC("INSERT INTO T_ROW (ID, NM) VALUES (?, ?)", {Value(2), Value(nasty)});
    EXPECT_EQ(db().DLookup("NM", "T_ROW", "ID=1"), Value(nasty));
    EXPECT_EQ(db().DLookup("NM", "T_ROW", "ID=2"), Value(nasty));

    db().EXEC("INSERT INTO T_ROW (ID, NM) VALUES (3, '*abc#1*')");
    EXPECT_EQ(db().DLookup("NM", "T_ROW", "ID=3"), Value("*abc#1*"));
    db().EXEC("INSERT INTO T_ROW (ID, NM) VALUES (4, '北部農協直売所')");
    EXPECT_EQ(db().DCount("*", "T_ROW", "NM LIKE '*農協*'").toInt(), 1);
    EXPECT_EQ(db().DCount("*", "T_ROW", "NM LIKE '*abc#1*'").toInt(), 1);
    EXPECT_EQ(db().DCount("*", "T_ROW", "NM = '*abc#1*'").toInt(), 1);
}

TEST_P(DataAccess, DivisionIsRealAndJoinUpdateKeepsUnmatchedRows)
{
    db().EXEC("CREATE TABLE T_UNIT (ID INTEGER NOT NULL, CHG_ID INTEGER, RT DOUBLE, PRIMARY KEY (ID))");
    db().EXEC("CREATE TABLE T_INT (ID INTEGER NOT NULL, N INTEGER, PRIMARY KEY (ID))");
    db().EXEC("INSERT INTO T_UNIT (ID, CHG_ID, RT) VALUES (2, 3, 1000)");
    db().EXEC("INSERT INTO T_INT (ID, N) VALUES (1, 1000)");
    EXPECT_DOUBLE_EQ(db().DLookup("1/RT", "T_UNIT", "ID=2").toDouble(), 0.001);
    EXPECT_DOUBLE_EQ(db().DLookup("1/N", "T_INT", "ID=1").toDouble(), 0.001);

    db().EXEC("CREATE TABLE T_USE (ID INTEGER NOT NULL, PUR_UNIT_ID INTEGER, DTL_UNIT_ID INTEGER, RT DOUBLE, PRIMARY KEY (ID))");
    db().EXEC("INSERT INTO T_USE (ID, PUR_UNIT_ID, DTL_UNIT_ID, RT) VALUES (1, 2, 3, NULL)");
    db().EXEC("INSERT INTO T_USE (ID, PUR_UNIT_ID, DTL_UNIT_ID, RT) VALUES (2, 4, 5, 7)");
    db().EXEC("UPDATE T_USE INNER JOIN T_UNIT ON (T_USE.PUR_UNIT_ID = T_UNIT.ID) AND (T_USE.DTL_UNIT_ID = T_UNIT.CHG_ID)  SET T_USE.RT = 1/ T_UNIT.RT");
    EXPECT_DOUBLE_EQ(db().DLookup("RT", "T_USE", "ID=1").toDouble(), 0.001);
    EXPECT_DOUBLE_EQ(db().DLookup("RT", "T_USE", "ID=2").toDouble(), 7.0);
    db().EXEC("UPDATE T_USE  SET T_USE.RT=1 WHERE T_USE.PUR_UNIT_ID=4");
    EXPECT_DOUBLE_EQ(db().DLookup("RT", "T_USE", "ID=2").toDouble(), 1.0);
}

TEST_P(DataAccess, RecordsetsMoveSearchAndEdit)
{
    for (int i = 1; i <= 5; ++i)
        insertRow(i, QStringLiteral("n%1").arg(i), QStringLiteral("2024-05-0%1 00:00:00").arg(i));
    QStringList logged;
    hb::setLogSink([&](const QString &s) { logged << s; });
    auto st = db().GetStaticRst("SELECT T_ROW.* FROM T_ROW ORDER BY WORK_DATE");
    hb::setLogSink(nullptr);
    ASSERT_EQ(logged, QStringList{"SELECT T_ROW.* FROM T_ROW ORDER BY WORK_DATE"});
    st->Find("WORK_DATE=#2024-05-03 00:00:00#");
    ASSERT_FALSE(st->eof());
    EXPECT_EQ(st->Fields("ID").toInt(), 3);
    st->Find("WORK_DATE=#2024-05-02 00:00:00#");  // searches forward only: not found
    EXPECT_TRUE(st->eof());
    st->MoveFirst();
    st->Find("NM='n5'");
    EXPECT_EQ(st->Fields("ID").toInt(), 5);
    st->MovePrevious();
    EXPECT_EQ(st->Fields("ID").toInt(), 4);
    st->MoveLast();
    st->MoveNext();
    EXPECT_TRUE(st->eof());
    EXPECT_THROW(st->Fields("ID"), hb::HbError);

    auto fw = db().GetFwdOnlyRst("SELECT ID FROM T_ROW ORDER BY ID");
    fw->MoveNext();
    EXPECT_THROW(fw->MovePrevious(), hb::HbError);
    EXPECT_THROW(fw->setField("ID", 9), hb::HbError);

    auto dyn = db().GetDynamicRst("SELECT T_ROW.* FROM T_ROW WHERE FMR_ID=1 ORDER BY ID");
    dyn->MoveNext();
    dyn->Delete();  // ID 2
    dyn->MoveFirst();
    dyn->setField("AMT", hb::Currency::fromDouble(1234.5678));
    dyn->setField("NM", Value::null());
    dyn->Update();
    EXPECT_EQ(ids("SELECT ID FROM T_ROW ORDER BY ID"), (QList<int>{1, 3, 4, 5}));
    const Value amt = db().DLookup("AMT", "T_ROW", "ID=1");
    ASSERT_EQ(amt.type(), Value::Type::Currency);
    EXPECT_EQ(amt.toCurrency().scaled, 12345678);
    EXPECT_TRUE(db().DLookup("NM", "T_ROW", "ID=1").isNull());

    // A table made anew with another key is edited by its new key.
    db().EXEC("DROP TABLE T_ROW");
    db().EXEC("CREATE TABLE T_ROW (ID INTEGER NOT NULL, NM VARCHAR(100) NOT NULL, PRIMARY KEY (NM))");
    db().EXEC("INSERT INTO T_ROW (ID, NM) VALUES (1, 'a'), (1, 'b')");
    dyn = db().GetDynamicRst("SELECT T_ROW.* FROM T_ROW ORDER BY NM");
    dyn->Delete();
    EXPECT_EQ(db().DLookup("NM", "T_ROW", "ID=1"), Value("b"));
}

TEST_P(DataAccess, RewritingARowWithTheSameValuesSucceeds)
{
    insertRow(1, "a");
    auto rs = db().GetDynamicRst("SELECT T_ROW.* FROM T_ROW WHERE ID=1");
    rs->setField("NM", "a");
    EXPECT_NO_THROW(rs->Update());
    EXPECT_EQ(db().EXEC("UPDATE T_ROW SET NM='a' WHERE ID=1"), 1);
}

TEST_P(DataAccess, UpdateOfARowChangedElsewhereFailsLoudly)
{
    insertRow(1, "a");
    auto rs = db().GetDynamicRst("SELECT T_ROW.* FROM T_ROW WHERE ID=1");
    auto other = fresh().connect();
    other->EXEC("DELETE FROM T_ROW WHERE ID=1");
    rs->setField("NM", "b");
    EXPECT_THROW(rs->Update(), hb::HbError);
}

TEST_P(DataAccess, RollbackLeavesTableAsItWasAndCommitKeeps)
{
    insertRow(1, "a");
    db().Begintrans();
    EXPECT_THROW(db().Begintrans(), hb::HbError);  // never nested
    EXPECT_EQ(db().EXEC("UPDATE T_ROW SET NM='changed' WHERE ID=1"), 1);
    insertRow(2, "b");
    db().RollbackTrans();
    EXPECT_EQ(db().DLookup("NM", "T_ROW", "ID=1"), Value("a"));
    EXPECT_EQ(db().DCount("*", "T_ROW", "").toInt(), 1);

    {
        hb::TransactionScope outer(db());
        insertRow(3, "c");
        {
            hb::TransactionScope joined(db());  // joins, does not commit on its own
            EXPECT_FALSE(joined.ownsTransaction());
            insertRow(4, "d");
            joined.commit();
        }
        EXPECT_TRUE(db().inTransaction());
    }  // not committed: rolled back
    EXPECT_EQ(db().DCount("*", "T_ROW", "").toInt(), 1);
    {
        hb::TransactionScope t(db());
        insertRow(5, "e");
        t.commit();
    }
    EXPECT_EQ(db().DCount("*", "T_ROW", "").toInt(), 2);
}

TEST_P(DataAccess, FailuresRaiseWithTheirDescription)
{
    try {
        db().EXEC("INSERT INTO NO_SUCH_TABLE (A) VALUES (1)");
        FAIL() << "no error raised";
    } catch (const hb::HbError &e) {
        EXPECT_FALSE(e.description().isEmpty());
    }
    insertRow(1, "a");
    EXPECT_THROW(insertRow(1, "dup"), hb::HbError);  // primary keys are enforced
    EXPECT_THROW(db().EXEC("SELECT * FROM T_ROW WHERE WORK_DATE=#not a date#"), hb::HbError);
    // A read that fails on a later row raises: it is no shorter list.
    insertRow(2, "b");
    EXPECT_THROW(db().GetFwdOnlyRst("SELECT ABS(CASE WHEN ID=2 THEN -9223372036854775807-1 ELSE ID END) FROM T_ROW "
                                    "ORDER BY ID"),
                 hb::HbError);
}

TEST_P(DataAccess, TextThatLooksLikeADateReadsBackAsTyped)
{
    // A note typed as "2024-05-01 10:00:00" is text; only date columns and expressions over
    // them come back as dates.
    const QString typed = QStringLiteral("2024-05-01 10:00:00");
    insertRow(1, Value(typed), typed);
    auto rs = db().GetFwdOnlyRst("SELECT NM, WORK_DATE FROM T_ROW WHERE ID=1");
    ASSERT_FALSE(rs->eof());
    EXPECT_TRUE(rs->Fields("NM").isString());
    EXPECT_EQ(rs->Fields("NM").displayText(), typed);
    EXPECT_TRUE(rs->Fields("WORK_DATE").isDate());
    EXPECT_EQ(db().DLookup("NM", "T_ROW", "ID=1").displayText(), typed);
    EXPECT_TRUE(db().DMax("WORK_DATE", "T_ROW", "").isDate());
    auto dyn = db().GetDynamicRst("SELECT T_ROW.* FROM T_ROW WHERE ID=1");
    dyn->setField("AMT", hb::Currency::fromDouble(5));
    dyn->Update();
    EXPECT_EQ(db().DLookup("NM", "T_ROW", "ID=1").displayText(), typed);  // written back unchanged
}

// Each cell reads back as the database holds it, and a bound value means in a read what it
// means in a write, on every read path: a file is read through SQLite itself, or through the
// driver where the driver's SQLite is another than the program's.
TEST_P(DataAccess, OddValuesReadAsStoredAndBindAsWritten)
{
    db().EXEC("CREATE TABLE T_ODD (ID INTEGER NOT NULL, N BIGINT, R DOUBLE, A DECIMAL(19,4), D DATETIME, "
              "S VARCHAR(100), B BLOB, PRIMARY KEY (ID))");
    struct Cell {
        const char *column, *stored;
        Value read;
    };
    const Cell cells[] = {
        {"N", "9007199254740993", Value(9007199254740993LL)},
        {"N", "NULL", Value::null()},
        {"R", "9.5", Value(9.5)},
        {"A", "1234.5678", Value(hb::Currency::fromScaled(12345678))},
        {"D", "'2024-05-01 13:45:07'", Value(QDateTime(QDate(2024, 5, 1), QTime(13, 45, 7)))},
        {"S", "''", Value("")},
        {"S", "'2024-05-01 10:00:00'", Value("2024-05-01 10:00:00")},
        {"S", "'\U0001F345トマト'", Value("\U0001F345トマト")},
        {"S", "'1; DELETE FROM T_ODD'", Value("1; DELETE FROM T_ODD")},
        {"B", "X'E38388E3839EE38388'", Value("トマト")},
        {"D", "'2024-05-01'", Value(QDateTime(QDate(2024, 5, 1), QTime(0, 0)))},
        {"S", "'2024/05/01'", Value("2024/05/01")},
    };
    for (int i = 0; i < std::ssize(cells); ++i)
        db().EXEC(QStringLiteral("INSERT INTO T_ODD (ID, %1) VALUES (%2, %3)")
                      .arg(cells[i].column)
                      .arg(i)
                      .arg(cells[i].stored));
    std::vector<hb::DbObject *> readers{&db()};
    std::unique_ptr<hb::DirectDb> driverRead;
    if (GetParam() == hbtest::Backend::Sqlite) {
        hb::DbObject::programSqliteSourceId = [] { return QStringLiteral("another SQLite"); };
        driverRead = fresh().connect();
        hb::DbObject::programSqliteSourceId = nullptr;
        readers.push_back(driverRead.get());
    }
    const auto shown = [](const Value &v) {
        return QStringLiteral("%1 %2").arg(int(v.type())).arg(v.isNull() ? QString() : v.displayText()).toStdString();
    };
    for (hb::DbObject *reader : readers) {
        SCOPED_TRACE(reader == &db() ? "the connection's own read" : "a driver running another SQLite");
        for (int i = 0; i < std::ssize(cells); ++i) {
            // Bound and unbound: a server reads the two through different paths.
            auto rs = reader->GetFwdOnlyRst(QStringLiteral("SELECT %1 FROM T_ODD WHERE ID = ?").arg(cells[i].column),
                                            {Value(i)});
            EXPECT_EQ(shown(rs->Fields(0)), shown(cells[i].read)) << cells[i].stored;
            rs = reader->GetFwdOnlyRst(QStringLiteral("SELECT %1 FROM T_ODD WHERE ID = %2").arg(cells[i].column).arg(i));
            EXPECT_EQ(shown(rs->Fields(0)), shown(cells[i].read)) << cells[i].stored << " unbound";
        }
        const auto count = [&](const QString &where, const Value &bound) {
            return reader->GetFwdOnlyRst("SELECT COUNT(*) FROM T_ODD WHERE " + where, {bound})->Fields(0).toInt();
        };
        EXPECT_EQ(count("S = ?", Value(QString())), 0);  // a null text is NULL, as a write stores it
        EXPECT_EQ(count("? IS NULL", Value(QString())), std::ssize(cells));
        EXPECT_EQ(count("? < 10", Value(9.5)), std::ssize(cells));  // a real binds as a number
        EXPECT_THROW(reader->GetFwdOnlyRst("SELECT ID FROM T_ODD; DELETE FROM T_ODD"), hb::HbError);
        EXPECT_EQ(db().DCount("*", "T_ODD", "").toInt(), std::ssize(cells));
    }
}

// A server reads a statement without bound values through its client directly and one with
// them through the driver: both give the same cells, of the same kinds.
TEST_P(DataAccess, ARowReadsTheSameWithOrWithoutBoundValues)
{
    db().EXEC("INSERT INTO T_ROW (ID, FMR_ID, NM, WORK_DATE, AMT, RT, QTY) VALUES "
              "(1, 2147483647, '2024-05-01 10:00:00', #2024-05-01 13:45:07#, 12345.6789, 0.1, -7), "
              "(2, NULL, '', #1900-01-01#, -0.0001, -1.5e300, 0), "
              "(3, -2147483647, 'O''Neil 温室 🍅', NULL, NULL, NULL, NULL)");
    const QString columns =
        "SELECT ID, FMR_ID, NM, WORK_DATE, AMT, RT, QTY, MAX(WORK_DATE) AS LAST_DAY, SUM(AMT) AS TOTAL, "
        "COUNT(*) AS N, QTY/3 AS THIRD, CAST(WORK_DATE AS CHAR) AS DAY_TEXT, ID*4294967296 AS BIG FROM T_ROW ";
    auto unbound = db().GetFwdOnlyRst(columns + "WHERE ID>=1 GROUP BY ID, FMR_ID, NM, WORK_DATE, AMT, RT, QTY ORDER BY ID");
    auto bound = db().GetFwdOnlyRst(columns + "WHERE ID>=? GROUP BY ID, FMR_ID, NM, WORK_DATE, AMT, RT, QTY ORDER BY ID",
                                    {Value(1)});
    ASSERT_EQ(unbound->RecordCount(), 3);
    ASSERT_EQ(bound->RecordCount(), 3);
    ASSERT_EQ(unbound->FieldCount(), bound->FieldCount());
    for (int row = 1; !unbound->eof(); unbound->MoveNext(), bound->MoveNext(), ++row) {
        for (int i = 0; i < unbound->FieldCount(); ++i) {
            const Value a = unbound->Fields(i), b = bound->Fields(i);
            EXPECT_EQ(unbound->FieldName(i), bound->FieldName(i));
            EXPECT_EQ(a.type(), b.type()) << "row " << row << " " << b.displayText().toStdString();
            EXPECT_EQ(a, b) << "row " << row << " " << unbound->FieldName(i).toStdString() << ": "
                            << a.displayText().toStdString() << " / " << b.displayText().toStdString();
        }
    }
    unbound = db().GetFwdOnlyRst("SELECT NM, WORK_DATE, AMT FROM T_ROW WHERE ID=1");
    EXPECT_TRUE(unbound->Fields("NM").isString()) << "a text that looks like a date stays text";
    EXPECT_TRUE(unbound->Fields("WORK_DATE").isDate());
    EXPECT_EQ(unbound->Fields("AMT"), Value(hb::Currency::fromDouble(12345.6789)));
    EXPECT_TRUE(db().GetFwdOnlyRst("SELECT ID FROM T_ROW WHERE ID=99")->eof());
}

TEST_P(DataAccess, ManyRowsLoad)
{
    db().Begintrans();
    for (int block = 0; block < 40; ++block) {
        QStringList values;
        for (int i = 1; i <= 1000; ++i)
            values << QStringLiteral("(%1, 1)").arg(block * 1000 + i);
        db().EXEC("INSERT INTO T_ROW (ID, FMR_ID) VALUES " + values.join(','));
    }
    db().CommitTrans();
    auto rs = db().GetFwdOnlyRst("SELECT ID FROM T_ROW");
    EXPECT_EQ(rs->RecordCount(), 40000);
    EXPECT_EQ(db().DCount("*", "T_ROW", "").toLong(), 40000);
}

HB_INSTANTIATE_BOTH_BACKENDS(DataAccess);

}  // namespace
