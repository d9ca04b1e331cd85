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
         "UPDATE W SET RT = (SELECT U.RT FROM U WHERE (W.P = U.ID) AND (W.D = U.CHG_ID) LIMIT 1) "
         "WHERE EXISTS (SELECT 1 FROM U WHERE (W.P = U.ID) AND (W.D = U.CHG_ID))"},
        {"SELECT 'it''s #x#' FROM T WHERE A=#2024-01-02 03:04:05#", DbKind::File,
         "SELECT 'it''s #x#' FROM T WHERE A='2024-01-02 03:04:05'"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(translateSql(QString::fromUtf8(c.in), c.kind), QString::fromUtf8(c.out)) << c.in;
}

TEST(SqlTranslate, RefusesAHashThatIsNoDate)
{
    // The server would read the rest of the statement as a comment.
    EXPECT_THROW(translateSql("SELECT * FROM T WHERE A=#x# AND B=1", DbKind::Server), hb::HbError);
    EXPECT_THROW(translateSql("SELECT * FROM T WHERE A=#2024/02/30#", DbKind::File), hb::HbError);
}

}  // namespace
