// The dialect translation, without a database.

#include "common/printers.h"
#include "core/sqltranslate.h"
#include "core/value.h"

#include <gtest/gtest.h>

using hb::DbKind;
using hb::translateSql;

namespace {

struct Case {
    const char *in;
    DbKind kind;
    const char *out;
};

TEST(SqlTranslate, RewritesOnlyOutsideQuotedTexts)
{
    const Case cases[] = {
        {"SELECT * FROM D WHERE WORK_DATE=#2024-05-01 00:00:00#", DbKind::Server,
         "SELECT * FROM D WHERE WORK_DATE='2024-05-01 00:00:00'"},
        {"SELECT * FROM D WHERE START_DATE<=#2024/05/01#", DbKind::Server,
         "SELECT * FROM D WHERE START_DATE<='2024-05-01 00:00:00'"},
        {"SELECT * FROM D WHERE NM='#1' AND A=#2024/5/1#", DbKind::Server,
         "SELECT * FROM D WHERE NM='#1' AND A='2024-05-01 00:00:00'"},
        {"DELETE D_LEDGE.* FROM D_LEDGE WHERE A=1", DbKind::Server, "DELETE FROM D_LEDGE WHERE A=1"},
        {"DELETE  D_LEDGE.*  FROM D_LEDGE  WHERE A=1", DbKind::File, "DELETE FROM D_LEDGE  WHERE A=1"},
        {"SELECT * FROM S WHERE CTR_NM LIKE '*農協*'", DbKind::Server, "SELECT * FROM S WHERE CTR_NM LIKE '%農協%'"},
        {"SELECT * FROM S WHERE CTR_NM like  '*a*b*'", DbKind::File, "SELECT * FROM S WHERE CTR_NM like  '%a*b%'"},
        {"INSERT INTO S (NM) VALUES ('*abc#1*')", DbKind::Server, "INSERT INTO S (NM) VALUES ('*abc#1*')"},
        {"SELECT 'a/b', 1/RT FROM U", DbKind::File, "SELECT 'a/b', 1*1.0/RT FROM U"},
        {"SELECT 1/RT FROM U", DbKind::Server, "SELECT 1/RT FROM U"},
        {"UPDATE D_CHEMI SET  D_CHEMI.USED_QTY=3 WHERE D_CHEMI.CHEMI_ID=4", DbKind::File,
         "UPDATE D_CHEMI SET USED_QTY =3 WHERE D_CHEMI.CHEMI_ID=4"},
        {"UPDATE D_CHEMI SET  D_CHEMI.USED_QTY=3 WHERE D_CHEMI.CHEMI_ID=4", DbKind::Server,
         "UPDATE D_CHEMI SET  D_CHEMI.USED_QTY=3 WHERE D_CHEMI.CHEMI_ID=4"},
        {"UPDATE W INNER JOIN U ON (W.P = U.ID) AND (W.D = U.CHG_ID)  SET W.RT = U.RT", DbKind::File,
         "UPDATE W SET RT = (SELECT (U.RT) FROM U WHERE ((W.P = U.ID) AND (W.D = U.CHG_ID)) LIMIT 1) "
         "WHERE EXISTS (SELECT 1 FROM U WHERE (W.P = U.ID) AND (W.D = U.CHG_ID))"},
        {"SELECT 'it''s #x#' FROM T WHERE A=#2024-01-02 03:04:05#", DbKind::File,
         "SELECT 'it''s #x#' FROM T WHERE A='2024-01-02 03:04:05'"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(translateSql(QString::fromUtf8(c.in), c.kind), QString::fromUtf8(c.out)) << c.in;
}

TEST(SqlTranslate, NeverAltersQuotedTextsCommentsOrBackQuotedNames)
{
    const Case cases[] = {
        {"SELECT 1 -- #x", DbKind::Server, "SELECT 1 -- #x"},
        {"SELECT 1 -- #x\nFROM T WHERE A=#2024/5/1#", DbKind::Server,
         "SELECT 1 -- #x\nFROM T WHERE A='2024-05-01 00:00:00'"},
        {"SELECT 1 /* a/b #c# 'd */ FROM T", DbKind::File, "SELECT 1 /* a/b #c# 'd */ FROM T"},
        {"SELECT `a#b`, `x/y` FROM T", DbKind::File, "SELECT `a#b`, `x/y` FROM T"},
        {"SELECT 4--1", DbKind::File, "SELECT 4--1"},  // "--" without a blank is no comment
        {"UPDATE T SET x'a=b' WHERE K=1", DbKind::File, "UPDATE T SET x'a=b' WHERE K=1"},
        {"UPDATE T SET T.x='a=b', y = 'c.d=e' WHERE K=1", DbKind::File, "UPDATE T SET x ='a=b', y = 'c.d=e' WHERE K=1"},
        {"UPDATE T SET `T`.x=1 WHERE K=1", DbKind::File, "UPDATE T SET `T`.x=1 WHERE K=1"},
        {"UPDATE T SET a.b.c=1", DbKind::File, "UPDATE T SET a.b.c=1"},
        {"UPDATE A INNER JOIN B ON A.I=B.I -- c\n SET A.X=B.X", DbKind::File,
         "UPDATE A INNER JOIN B ON A.I=B.I -- c\n SET X =B.X"},
        {"SELECT * FROM T WHERE N LIKE '*ab", DbKind::Server, "SELECT * FROM T WHERE N LIKE '*ab"},
        {"SELECT * FROM T WHERE N LIKE `*a*`", DbKind::Server, "SELECT * FROM T WHERE N LIKE `*a*`"},
        {"SELECT 'C:\\temp\\' FROM T WHERE A=#2024/5/1#", DbKind::Server,
         "SELECT 'C:\\temp\\' FROM T WHERE A='2024-05-01 00:00:00'"},
        {"SELECT 'it''s' /* x", DbKind::File, "SELECT 'it''s' /* x"},
        {"SELECT 1//2", DbKind::File, "SELECT 1*1.0/ *1.0/2"},  // no "/*" made of two divisions
        {"SELECT #2024/1/1#'x'", DbKind::Server, "SELECT '2024-01-01 00:00:00' 'x'"},  // two texts, not one
        {"UPDATE A INNER JOIN B ON A.I=B.I--SET A.X=B.X", DbKind::File,
         "UPDATE A SET X = (SELECT (B.X) FROM B WHERE (A.I=B.I--) LIMIT 1) WHERE EXISTS (SELECT 1 FROM B WHERE "
         "A.I=B.I--)"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(translateSql(QString::fromUtf8(c.in), c.kind), QString::fromUtf8(c.out)) << c.in;
}

TEST(SqlTranslate, PlaceholdersAreMatchedWithTheColumnsTheyWrite)
{
    const struct {
        const char *sql;
        const char *table;
        QStringList columns;
    } cases[] = {
        {"INSERT INTO T (A, B, C) VALUES (?, 1, ?)", "T", {"A", "C"}},
        {"insert into T (A,B) values (COALESCE(?, ?), ?)", "T", {"", "", "B"}},
        {"INSERT INTO T (A, B) VALUES ('?', ?)", "T", {"B"}},
        {"UPDATE T SET A = ?, T.B=?, C=C+? WHERE K=? AND N LIKE '?'", "T", {"A", "B", "", ""}},
        {"UPDATE T SET A=(SELECT MAX(X) FROM U WHERE Y=?), B=? WHERE K=?", "T", {"", "B", ""}},
        {"SELECT * FROM T WHERE A=?", "", {}},
        {"INSERT INTO T (A, B) VALUES (?, ?), (?, ?)", "", {}},
    };
    for (const auto &c : cases) {
        QString table;
        EXPECT_EQ(hb::placeholderColumns(QString::fromUtf8(c.sql), &table), c.columns) << c.sql;
        if (!c.columns.isEmpty()) {
            EXPECT_EQ(table, QString::fromUtf8(c.table)) << c.sql;
        }
    }
}

TEST(SqlTranslate, RefusesAHashThatIsNoDate)
{
    // The server would read the rest of the statement as a comment.
    EXPECT_THROW(translateSql("SELECT * FROM T WHERE A=#x# AND B=1", DbKind::Server), hb::HbError);
    EXPECT_THROW(translateSql("SELECT * FROM T WHERE A=#2024/02/30#", DbKind::File), hb::HbError);
    EXPECT_THROW(translateSql("SELECT * FROM T WHERE A=#2024/02/01 'x' #", DbKind::File), hb::HbError);
}

}  // namespace
