// The schema of the four databases, the reference rows of the work database, and the files a
// first start creates.

#include "common/backends.h"
#include "core/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>
#include <cmath>
#include <functional>
#include <map>
#include <vector>

using hb::Schema;
using hb::Value;
using hbtest::BothBackends;

namespace {

struct ExpectedTable {
    const char *table;
    QStringList columns;  // exact and in order, or (partial) at least these
    QStringList key;
    bool partial = false;
};

// Written from the table definitions: every column of the data, settings, grower, product and
// work tables in its order, and for the shop and lookup tables every column that is read.
const std::vector<ExpectedTable> &expectedTables()
{
    static const std::vector<ExpectedTable> tables = {
        {"S_CTRL", {"CTRL_CD", "CTRL_VALUE", "CTRL_TYPE"}, {"CTRL_CD"}},
        {"S_REP", {"REP_ID", "LEFT_MGN", "TOP_MGN", "PRINTER_NM", "PAPER_BIN"}, {"REP_ID"}},
        {"M_FMR",
         {"FMR_ID", "FMR_NM", "ADRS", "TEL_NO_L", "TEL_NO_S", "NOTES", "LOCATE", "BANK_NM", "BR_NM", "ACC_KBN",
          "ACC_NO", "ACC_NM", "FEE_1", "FEE_2", "CHK_FLG"},
         {"FMR_ID"}},
        {"M_PRD",
         {"SHOP_ID", "PRD_ID", "PRD_NM", "PRD_OMT", "PRD_YM", "M_CD", "S_CD", "PRD_CD", "PRD_KBN", "REP_KBN",
          "NOTES", "I_NM", "I_MTLS", "I_WEIGHT", "I_UNIT", "I_PSRV", "I_TERM", "I_DEF_DAYS", "CHK_FLG", "IDATE",
          "UDATE", "LAST_TM", "HOLD_TM"},
         {"PRD_ID"}},
        {"M_SHOP",
         {"SHOP_ID", "SHOP_NM", "OWNER_NM", "ADRS", "TEL", "FAX", "FEE_RT", "BCD_FMR_ID_STA", "BCD_FMR_ID_LEN",
          "BCD_PRD_ID_STA", "BCD_PRD_ID_LEN", "BCD_AMT_01_STA", "BCD_AMT_01_LEN", "BCD_AMT_10_STA",
          "BCD_AMT_10_LEN", "BCD_OPT_STA", "BCD_OPT_LEN", "FTP_SVR", "FTP_DIR", "FTP_USR", "FTP_PWD", "WWW_URL",
          "PTAG_LOGO", "NOTES", "UPLOAD_FILE_TYPE", "ACC_ID", "CHK_FLG"},
         {"SHOP_ID"},
         true},
        {"D_DIARY",
         {"FMR_ID", "WORK_DATE", "WTH_ID", "LO_TMP", "HI_TMP", "ONE_MSG", "NOTES1", "NOTES2", "IDATE", "UDATE",
          "LAST_TM", "HOLD_TM"},
         {"FMR_ID", "WORK_DATE"}},
        {"D_DIARY_DTL",
         {"FMR_ID", "WORK_DATE", "DTL_NO", "PLANT_ID", "WORK_KBN", "WORK_NM", "NOTES", "CHEMI_ID", "CHEMI_NM",
          "REG_NO", "PURPOSE", "QTY", "UNIT_ID", "SHIP_ID", "SCHD_ID", "LEDGE_ID"},
         {"FMR_ID", "WORK_DATE", "DTL_NO"}},
        {"D_PLANT",
         {"PLANT_ID", "PLANT_NM", "YYYY", "FMR_ID", "HARVEST_SCHD_YM", "CROP_NM", "CROP_NM1", "CROP_NM2", "PRD_ID",
          "PRD_NM", "PLANT_TYPE", "FIELD_NM", "AREA", "CROP_EST", "CROP_EST_UNIT", "PLANT_DATE", "START_DATE",
          "END_DATE", "SHIP_EST", "SHIP_EST_UNIT", "SHIP_SCHD_DATE1", "SHIP_SCHD_DATE2", "IMG_PATH1", "IMG_PATH2",
          "NOTES1", "NOTES2", "IDATE", "UDATE", "LAST_TM", "HOLD_TM"},
         {"FMR_ID", "PLANT_ID"}},
        {"D_CHEMI",
         {"FMR_ID", "CHEMI_ID", "CHEMI_NM", "REG_NO", "USES", "MAKER_NM", "CHEMI_TYPE", "CHEMI_KIND", "PUR_DATE",
          "PUR_SHOP", "PUR_QTY", "PUR_UNIT", "ACC_ID", "PUR_AMT", "USED_QTY", "REST_QTY", "NOTES", "LEDGE_ID",
          "CHK_FLG", "IDATE", "UDATE", "LAST_TM", "HOLD_TM"},
         {"CHEMI_ID"}},
        {"D_SHIP",
         {"FMR_ID", "SHIP_ID", "SHIP_DATE", "PLANT_ID", "DTL_NO", "SHOP_ID", "PRD_ID", "PRD_NM", "LOCATE", "PLAS",
          "ACC_ID", "SHOP_PRC", "SHIP_QTY", "RTN_QTY", "SALES_QTY", "DSC_AMT", "SALES_AMT", "FEE_RT", "FEE_AMT",
          "NOTES", "PRINT_DATE", "EXP_DATE", "LEDGE_ID_S", "LEDGE_ID_F", "IDATE", "UDATE", "LAST_TM", "HOLD_TM"},
         {"FMR_ID", "SHIP_ID"}},
        {"D_LEDGE",
         {"FMR_ID", "LEDGE_ID", "LEDGE_DATE", "D_ACC_ID", "D_OPT_KBN", "D_OPT_ID", "D_OPT_NM", "C_ACC_ID",
          "C_OPT_KBN", "C_OPT_ID", "C_OPT_NM", "CTR_NM", "NOTES", "AMT", "IDATE", "UDATE", "LAST_TM", "HOLD_TM"},
         {"FMR_ID", "LEDGE_ID"}},
        {"W_CHEMI_USE", {"CHEMI_ID", "QTY", "PUR_UNIT_ID", "DTL_UNIT_ID", "RT", "USE_QTY"}, {}},
        {"L_KBN", {"KBN", "ID", "NM", "NOTE"}, {"KBN", "ID"}, true},
        {"L_ETO", {"ID", "ETO_YM"}, {"ID"}, true},
        {"L_ACC", {"ACC_ID", "ACC_NM", "DC_KBN", "PG_KBN", "OPT_KBN"}, {"ACC_ID"}, true},
        {"L_CHEMI_UNIT", {"ID", "NM", "CHG_ID", "RT"}, {"ID"}, true},
        {"L_CROP", {"CROP_NM1", "CROP_NM2", "CROP_KBN"}, {"CROP_NM1"}, true},
        {"L_CROP_KBN", {"CROP_KBN", "CROP_KBN_NM"}, {"CROP_KBN"}, true},
        {"L_REP", {"REP_ID", "REP_NM", "HEIGHT", "WIDTH", "ORIENTATION"}, {"REP_ID"}, true},
        {"L_CHEMI", {"REG_NO", "CHEMI_NM", "CHEMI_KIND", "MAKER_OMT", "USES", "CHEMI_TYPE"}, {"REG_NO"}, true},
        {"L_MAKER", {"MAKER_OMT", "MAKER_NM"}, {"MAKER_OMT"}, true},
        {"L_CHEMI_APPL",
         {"REG_NO", "CROP_NM", "TARGET", "PURPOSE", "DILUTION", "USE_QTY", "SEASON", "USE_TIMES", "USE_WAY"},
         {},
         true},
        {"L_CHEMI_APPL_MATCH", {"CHEMI_CROP_NM", "CROP_NM", "CROP_KBN", "CROP_NM_NG", "CROP_KBN_NG"}, {}, true},
        {"L_CHEMI_PURPOSE", {"REG_NO", "PURPOSE"}, {}, true},
    };
    return tables;
}

const Schema kAllSchemas[] = {Schema::Settings, Schema::Work, Schema::Data, Schema::Master};

QStringList upper(const QStringList &names)
{
    QStringList out;
    for (const QString &n : names)
        out << n.toUpper();
    return out;
}

// Every row of a statement, each as its values' text joined by "|" (Null as "<null>").
QStringList rowsOf(hb::DbObject &db, const QString &sql)
{
    QStringList out;
    auto rs = db.GetFwdOnlyRst(sql);
    while (!rs->eof()) {
        QStringList cells;
        for (int i = 0; i < rs->FieldCount(); ++i) {
            const Value v = rs->Fields(i);
            cells << (v.isNull() ? QStringLiteral("<null>") : v.displayText());
        }
        out << cells.join(QLatin1Char('|'));
        rs->MoveNext();
    }
    return out;
}

QString single(hb::DbObject &db, const QString &sql)
{
    const QStringList rows = rowsOf(db, sql);
    return rows.isEmpty() ? QStringLiteral("<no row>") : rows.first();
}

// ---------------------------------------------------------------- schema on both backends

class SchemaTables : public BothBackends {
protected:
    void SetUp() override
    {
        BothBackends::SetUp();
        if (IsSkipped())
            return;
        for (Schema s : kAllSchemas)
            hb::loadSchema(db(), s);
    }
};

TEST_P(SchemaTables, EveryTableHasItsColumnsInOrderAndItsKey)
{
    QStringList created;
    for (Schema s : kAllSchemas)
        created << hb::schemaTables(s);
    QStringList listed;
    for (const ExpectedTable &t : expectedTables())
        listed << t.table;
    EXPECT_EQ(QSet<QString>(created.begin(), created.end()), QSet<QString>(listed.begin(), listed.end()));
    EXPECT_EQ(created.size(), listed.size()) << "a table is created twice";

    for (const ExpectedTable &t : expectedTables()) {
        SCOPED_TRACE(t.table);
        const QStringList actual = upper(db().tableColumns(t.table));
        if (t.partial) {
            for (const QString &c : t.columns)
                EXPECT_TRUE(actual.contains(c)) << c.toStdString();
        } else {
            EXPECT_EQ(actual, t.columns);
        }
        QStringList key = upper(db().primaryKey(t.table));
        QStringList expectedKey = t.key;
        key.sort();
        expectedKey.sort();
        EXPECT_EQ(key, expectedKey);
    }
}

TEST_P(SchemaTables, ValuesComeBackWithTheirTypes)
{
    const QString longNote = QString(250, QChar(0x8FB2));  // 250 x 農
    const QString awkward = QStringLiteral("𠮷田の“とまと”🍅 ﾄﾏﾄ 'a' #1 50%");
    db().EXEC("INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, AMT, NOTES, IDATE) "
              "VALUES (1, 1, #2024-05-01#, 1000, ?, ?, #2024-05-01 13:45:10#)",
              {Value(hb::Currency::fromScaled(12345678)), Value(awkward)});
    db().EXEC("INSERT INTO D_DIARY (FMR_ID, WORK_DATE, LO_TMP, NOTES1) VALUES (1, #2024/05/01#, -2.5, ?)",
              {Value(longNote)});
    db().EXEC("INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO, REG_NO, QTY) "
              "VALUES (1, #2024/05/01#, 1, '00123', 0.125)");
    db().EXEC("INSERT INTO D_PLANT (FMR_ID, PLANT_ID, HARVEST_SCHD_YM, AREA) VALUES (1, 1, '200901', 12.5)");

    auto ledge = db().GetFwdOnlyRst("SELECT LEDGE_DATE, AMT, NOTES, IDATE FROM D_LEDGE");
    ASSERT_FALSE(ledge->eof());
    EXPECT_TRUE(ledge->Fields("LEDGE_DATE").isDate());
    EXPECT_EQ(ledge->Fields("LEDGE_DATE").toDate(), QDateTime(QDate(2024, 5, 1), QTime(0, 0)));
    EXPECT_EQ(ledge->Fields("IDATE").toDate(), QDateTime(QDate(2024, 5, 1), QTime(13, 45, 10)));
    EXPECT_EQ(ledge->Fields("AMT").type(), Value::Type::Currency);
    EXPECT_EQ(ledge->Fields("AMT").toCurrency().scaled, 12345678);
    EXPECT_EQ(ledge->Fields("NOTES").toString(), awkward);

    auto diary = db().GetFwdOnlyRst("SELECT LO_TMP, NOTES1 FROM D_DIARY WHERE WORK_DATE=#2024-05-01 00:00:00#");
    ASSERT_FALSE(diary->eof());
    EXPECT_DOUBLE_EQ(diary->Fields("LO_TMP").toDouble(), -2.5);
    EXPECT_EQ(diary->Fields("NOTES1").toString(), longNote);

    // Texts that look like numbers stay texts; fractions stay fractions.
    EXPECT_EQ(single(db(), "SELECT REG_NO, QTY FROM D_DIARY_DTL"), "00123|0.125");
    EXPECT_EQ(single(db(), "SELECT HARVEST_SCHD_YM, AREA FROM D_PLANT"), "200901|12.5");
}

// A grower, shop or product inserted without its valid flag is offered in the pick lists.
TEST_P(SchemaTables, ValidFlagDefaultsToTrue)
{
    struct Case {
        const char *table;
        const char *key;
    };
    for (const Case &c : {Case{"M_FMR", "FMR_ID"}, Case{"M_SHOP", "SHOP_ID"}, Case{"M_PRD", "PRD_ID"}}) {
        SCOPED_TRACE(c.table);
        db().EXEC(QStringLiteral("INSERT INTO %1 (%2) VALUES (1)").arg(c.table, c.key));
        db().EXEC(QStringLiteral("INSERT INTO %1 (%2, CHK_FLG) VALUES (2, 0)").arg(c.table, c.key));
        db().EXEC(QStringLiteral("INSERT INTO %1 (%2, CHK_FLG) VALUES (3, 1)").arg(c.table, c.key));
        EXPECT_EQ(rowsOf(db(), QStringLiteral("SELECT %2 FROM %1 WHERE CHK_FLG<>0 ORDER BY %2").arg(c.table, c.key)),
                  (QStringList{"1", "3"}));
        EXPECT_EQ(single(db(), QStringLiteral("SELECT CHK_FLG FROM %1 WHERE %2=1").arg(c.table, c.key)), "-1");
    }
}

// Two computers taking the same new number fail loudly instead of duplicating it.
TEST_P(SchemaTables, KeysAreEnforced)
{
    struct Case {
        const char *first;
        const char *second;
        bool clashes;
    };
    const Case cases[] = {
        {"INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID) VALUES (1, 5)", "INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID) VALUES (1, 5)",
         true},
        {"INSERT INTO D_SHIP (FMR_ID, SHIP_ID) VALUES (1, 5)", "INSERT INTO D_SHIP (FMR_ID, SHIP_ID) VALUES (2, 5)",
         false},
        {"INSERT INTO D_PLANT (FMR_ID, PLANT_ID) VALUES (1, 5)",
         "INSERT INTO D_PLANT (FMR_ID, PLANT_ID) VALUES (1, 5)", true},
        // a purchase number is unique over all growers
        {"INSERT INTO D_CHEMI (FMR_ID, CHEMI_ID) VALUES (1, 5)", "INSERT INTO D_CHEMI (FMR_ID, CHEMI_ID) VALUES (2, 5)",
         true},
        {"INSERT INTO D_DIARY (FMR_ID, WORK_DATE) VALUES (1, #2024/05/01#)",
         "INSERT INTO D_DIARY (FMR_ID, WORK_DATE) VALUES (1, #2024-05-01 00:00:00#)", true},
        {"INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO) VALUES (1, #2024/05/01#, 1)",
         "INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO) VALUES (1, #2024/05/02#, 1)", false},
        {"INSERT INTO M_PRD (SHOP_ID, PRD_ID) VALUES (1, 5)", "INSERT INTO M_PRD (SHOP_ID, PRD_ID) VALUES (2, 5)", true},
        {"INSERT INTO S_CTRL (CTRL_CD) VALUES ('CAL_OPT0')", "INSERT INTO S_CTRL (CTRL_CD) VALUES ('CAL_OPT0')", true},
        // a key column never takes Null (no silent numbering)
        {"INSERT INTO M_FMR (FMR_NM) VALUES ('a')", nullptr, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.first);
        if (!c.second) {
            EXPECT_THROW(db().EXEC(c.first), hb::HbError);
            continue;
        }
        db().EXEC(c.first);
        if (c.clashes)
            EXPECT_THROW(db().EXEC(c.second), hb::HbError);
        else
            EXPECT_NO_THROW(db().EXEC(c.second));
    }
}

// ---------------------------------------------------------------- reference rows

TEST_P(SchemaTables, SexagenaryLabelsRunFromKinoeNe)
{
    const QString stems = QStringLiteral("甲乙丙丁戊己庚辛壬癸");
    const QString branches = QStringLiteral("子丑寅卯辰巳午未申酉戌亥");
    QStringList expected;
    for (int n = 0; n < 60; ++n)
        expected << QStringLiteral("%1|%2%3").arg(n + 1).arg(stems.at(n % 10)).arg(branches.at(n % 12));
    const QStringList rows = rowsOf(db(), "SELECT ID, ETO_YM FROM L_ETO ORDER BY ID");
    EXPECT_EQ(rows, expected);
    ASSERT_EQ(rows.size(), 60);
    EXPECT_EQ(rows.first(), "1|甲子");
    EXPECT_EQ(rows.last(), "60|癸亥");
}

TEST_P(SchemaTables, AccountsCarryTheKindsTheBooksRelyOn)
{
    // ID, name, DC_KBN, PG_KBN, OPT_KBN of the accounts the program posts to.
    const QStringList fixed = {
        "1000|現金|1|1|0",   "1010|普通預金|1|1|0", "1040|売掛金|1|1|0",   "1130|農薬|1|1|3",
        "2000|買掛金|2|1|0", "4000|売上高|2|0|2",   "4160|農薬費|1|0|2", "4520|販売手数料|1|0|2",
    };
    for (const QString &f : fixed) {
        const QString id = f.section(QLatin1Char('|'), 0, 0);
        EXPECT_EQ(single(db(), "SELECT ACC_ID, ACC_NM, DC_KBN, PG_KBN, OPT_KBN FROM L_ACC WHERE ACC_ID=" + id), f);
    }

    // Every account: a name and numeric kinds (the ledger stops on an empty one); balance-sheet
    // accounts carry over, liabilities and equity are credit-normal, and only the accounts the
    // generated vouchers use name an option.
    const QStringList all = rowsOf(db(), "SELECT ACC_ID, ACC_NM, DC_KBN, PG_KBN, OPT_KBN FROM L_ACC ORDER BY ACC_ID");
    EXPECT_GE(all.size(), 30);
    for (const QString &row : all) {
        SCOPED_TRACE(row.toStdString());
        const QStringList f = row.split(QLatin1Char('|'));
        const int id = f.at(0).toInt();
        EXPECT_FALSE(f.at(1).isEmpty());
        EXPECT_TRUE(f.at(2) == "1" || f.at(2) == "2");
        EXPECT_EQ(f.at(3), id < 4000 ? "1" : "0");
        if (id >= 2000 && id < 4000) {
            EXPECT_EQ(f.at(2), "2");
        }
        if (id < 2000) {
            EXPECT_EQ(f.at(2), "1");
        }
        if (id != 1130 && id != 4000 && id != 4160 && id != 4520) {
            EXPECT_EQ(f.at(4), "0");
        }
    }
}

TEST_P(SchemaTables, CodeListsHoldWhatTheWindowsOffer)
{
    EXPECT_EQ(rowsOf(db(), "SELECT ID FROM L_KBN WHERE KBN=10 ORDER BY ID"),
              (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_EQ(single(db(), "SELECT NM FROM L_KBN WHERE KBN=20 AND ID=5"), "農薬散布");
    EXPECT_EQ(single(db(), "SELECT NM FROM L_KBN WHERE KBN=20 AND ID=8"), "出荷");

    for (int kind : {10, 11, 12, 13, 15, 16, 20}) {
        SCOPED_TRACE(kind);
        const QStringList names = rowsOf(db(), QStringLiteral("SELECT NM FROM L_KBN WHERE KBN=%1").arg(kind));
        EXPECT_GE(names.size(), 3);
        EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size()) << "a name twice";
        EXPECT_FALSE(names.contains("<null>") || names.contains(""));
    }
    // The registration lookup joins uses and formulations by NOTE: one row per wording.
    for (int kind : {15, 16}) {
        SCOPED_TRACE(kind);
        const QStringList notes = rowsOf(db(), QStringLiteral("SELECT NOTE FROM L_KBN WHERE KBN=%1").arg(kind));
        EXPECT_EQ(QSet<QString>(notes.begin(), notes.end()).size(), notes.size());
        EXPECT_FALSE(notes.contains("<null>") || notes.contains(""));
    }
    EXPECT_EQ(single(db(), "SELECT KBN FROM L_KBN WHERE KBN=15 AND NOTE='殺虫剤'"), "15");
    EXPECT_EQ(single(db(), "SELECT KBN FROM L_KBN WHERE KBN=16 AND NOTE='乳剤'"), "16");

    EXPECT_EQ(rowsOf(db(), "SELECT ID, NM, CHG_ID FROM L_CHEMI_UNIT ORDER BY ID"),
              (QStringList{"1|g|2", "2|kg|3", "3|mg|1", "4|mL|5", "5|L|4"}));
    EXPECT_EQ(single(db(), "SELECT REP_ID, REP_NM, HEIGHT, WIDTH, ORIENTATION FROM L_REP"),
              "10|農産物値札|16838|11906|1");
    EXPECT_EQ(single(db(), "SELECT COUNT(*) FROM L_REP"), "1");

    // No invented registration ever reaches a grower.
    for (const char *t : {"L_CHEMI", "L_MAKER", "L_CHEMI_APPL", "L_CHEMI_APPL_MATCH", "L_CHEMI_PURPOSE"})
        EXPECT_EQ(single(db(), QStringLiteral("SELECT COUNT(*) FROM %1").arg(t)), "0") << t;
}

TEST_P(SchemaTables, CropCategoriesSelectExactlyTheirCrops)
{
    const QStringList codes = rowsOf(db(), "SELECT CROP_KBN FROM L_CROP_KBN ORDER BY CROP_KBN");
    ASSERT_GE(codes.size(), 5);
    for (const QString &a : codes) {
        SCOPED_TRACE(a.toStdString());
        EXPECT_EQ(a.size(), 2);
        EXPECT_TRUE(a.at(0).isDigit() && a.at(1).isDigit() && a.at(0) != QLatin1Char('0'))
            << "the planting window carries the code as a number";
        for (const QString &b : codes)
            EXPECT_TRUE(a == b || !b.startsWith(a)) << b.toStdString();
    }
    // Every crop belongs to a category, and the planting window's category filter lists exactly
    // the crops of that category.
    EXPECT_EQ(single(db(), "SELECT COUNT(*) FROM L_CROP WHERE CROP_KBN NOT IN (SELECT CROP_KBN FROM L_CROP_KBN)"),
              "0");
    EXPECT_EQ(single(db(), "SELECT COUNT(*) FROM L_CROP WHERE CROP_NM2 IS NULL OR CROP_KBN IS NULL"), "0");
    for (const QString &code : codes) {
        SCOPED_TRACE(code.toStdString());
        const QString asNumber = QString::number(code.toLong());
        const QStringList filtered = rowsOf(
            db(), "SELECT  L_CROP.CROP_NM1  FROM L_CROP  WHERE L_CROP.CROP_KBN LIKE '" + asNumber + "%' ORDER BY CROP_NM1");
        const QStringList own =
            rowsOf(db(), "SELECT CROP_NM1 FROM L_CROP WHERE CROP_KBN='" + code + "' ORDER BY CROP_NM1");
        EXPECT_FALSE(own.isEmpty());
        EXPECT_EQ(filtered, own);
    }
}

// The stock recomputation converts each diary line into purchase units with three statements
// over L_CHEMI_UNIT; for every pair of units the factor must equal the fixed factor the diary
// prices the same line with.
TEST_P(SchemaTables, StockConversionAgreesWithTheFixedUnitFactors)
{
    const std::map<std::pair<int, int>, double> fixedFactor = {
        {{1, 2}, 1000.0},     {{1, 3}, 0.001}, {{2, 1}, 0.001}, {{2, 3}, 0.000001},
        {{3, 1}, 1000.0},     {{3, 2}, 1e6},   {{4, 5}, 1000.0}, {{5, 4}, 0.001},
    };
    int line = 0;
    for (int p = 1; p <= 5; ++p) {
        for (int d = 1; d <= 5; ++d)
            db().EXEC("INSERT INTO W_CHEMI_USE (CHEMI_ID, QTY, PUR_UNIT_ID, DTL_UNIT_ID) VALUES (?, 1, ?, ?)",
                      {Value(++line), Value(p), Value(d)});
    }
    db().EXEC("UPDATE W_CHEMI_USE INNER JOIN L_CHEMI_UNIT ON (W_CHEMI_USE.PUR_UNIT_ID = L_CHEMI_UNIT.ID) AND "
              "(W_CHEMI_USE.DTL_UNIT_ID = L_CHEMI_UNIT.CHG_ID)   SET W_CHEMI_USE.RT = 1/ L_CHEMI_UNIT.RT");
    db().EXEC("UPDATE W_CHEMI_USE INNER JOIN L_CHEMI_UNIT ON (W_CHEMI_USE.PUR_UNIT_ID = L_CHEMI_UNIT.CHG_ID) AND "
              "(W_CHEMI_USE.DTL_UNIT_ID = L_CHEMI_UNIT.ID)  SET W_CHEMI_USE.RT = L_CHEMI_UNIT.RT");
    db().EXEC("UPDATE W_CHEMI_USE   SET W_CHEMI_USE.RT=1 WHERE W_CHEMI_USE.PUR_UNIT_ID=W_CHEMI_USE.DTL_UNIT_ID");

    auto rs = db().GetFwdOnlyRst("SELECT PUR_UNIT_ID, DTL_UNIT_ID, RT FROM W_CHEMI_USE ORDER BY CHEMI_ID");
    int seen = 0;
    for (; !rs->eof(); rs->MoveNext(), ++seen) {
        const int p = rs->Fields(0).toInt();
        const int d = rs->Fields(1).toInt();
        SCOPED_TRACE(testing::Message() << "purchase unit " << p << ", line unit " << d);
        const auto it = fixedFactor.find({p, d});
        const double expected = p == d ? 1.0 : (it == fixedFactor.end() ? 0.0 : it->second);
        const Value rt = rs->Fields(2);
        if (expected == 0.0) {
            EXPECT_TRUE(rt.isNull()) << "a pair without a factor must add nothing";
        } else {
            ASSERT_FALSE(rt.isNull());
            EXPECT_NEAR(rt.toDouble(), expected, expected * 1e-12);
        }
    }
    EXPECT_EQ(seen, 25);
}

HB_INSTANTIATE_BOTH_BACKENDS(SchemaTables);

// ---------------------------------------------------------------- the first start

// A program folder "bin" inside a temporary folder, with ini/, work/ and data/ beside it.
class FirstStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root_.isValid());
        ASSERT_TRUE(QDir(root_.path()).mkdir("bin"));
    }
    QString bin() const { return root_.filePath("bin"); }
    QString path(const QString &rel) const { return QDir::cleanPath(root_.filePath(rel)); }
    bool exists(const QString &rel) const { return QFileInfo::exists(path(rel)); }
    std::unique_ptr<hb::DirectDb> open(const QString &rel) const { return hb::DirectDb::file(path(rel), false); }

    // Every file below the temporary folder, relative to it.
    QStringList files() const
    {
        QStringList out;
        const QDir base(root_.path());
        std::function<void(const QString &)> walk = [&](const QString &dir) {
            for (const QFileInfo &fi : QDir(dir).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
                if (fi.isDir())
                    walk(fi.filePath());
                else
                    out << base.relativeFilePath(fi.filePath());
            }
        };
        walk(root_.path());
        out.sort();
        return out;
    }

    // Every row of every table of the four files, for comparing before and after.
    QStringList dump() const
    {
        const std::pair<const char *, Schema> dbs[] = {{"ini/INFO.MDB", Schema::Settings},
                                                       {"work/WORK.MDB", Schema::Work},
                                                       {"data/DATA.MDB", Schema::Data},
                                                       {"data/MASTER.MDB", Schema::Master}};
        QStringList out;
        for (const auto &[rel, schema] : dbs) {
            if (!exists(rel))
                continue;
            auto db = open(rel);
            for (const QString &t : hb::schemaTables(schema)) {
                QStringList rows = rowsOf(*db, "SELECT * FROM " + t);
                rows.sort();
                for (const QString &r : rows)
                    out << QStringLiteral("%1 %2: %3").arg(rel, t, r);
            }
        }
        return out;
    }

    void setSetting(const QString &key, const Value &value)
    {
        auto ini = open("ini/INFO.MDB");
        ini->EXEC("DELETE FROM S_CTRL WHERE CTRL_CD=?", {Value(key)});
        if (!value.isEmpty())
            ini->EXEC("INSERT INTO S_CTRL (CTRL_CD, CTRL_VALUE) VALUES (?, ?)", {Value(key), value});
    }

    QTemporaryDir root_;
};

TEST_F(FirstStart, EmptyFolderGetsFourDatabasesAndTheDefaultSettings)
{
    const QStringList created = hb::createMissingDatabases(bin());
    EXPECT_EQ(created, (QStringList{path("ini/INFO.MDB"), path("work/WORK.MDB"), path("data/DATA.MDB"),
                                    path("data/MASTER.MDB")}));
    // Nothing half-made or temporary is left beside them.
    EXPECT_EQ(files(), (QStringList{"data/DATA.MDB", "data/MASTER.MDB", "ini/INFO.MDB", "work/WORK.MDB"}));

    auto ini = open("ini/INFO.MDB");
    EXPECT_EQ(rowsOf(*ini, "SELECT CTRL_CD, CTRL_VALUE, CTRL_TYPE FROM S_CTRL ORDER BY CTRL_CD"),
              (QStringList{"DB_NAME|../data/DATA.MDB|<null>", "DB_TYPE|2|<null>", "DEF_FMR_ID|1|4",
                           "DEF_SHOP_ID|1|4", "MST_NAME|../data/MASTER.MDB|<null>", "MST_TYPE|2|<null>",
                           "USE_TYPE|1|4", "WINDOW_STA|False|1"}));
    EXPECT_EQ(single(*ini, "SELECT COUNT(*) FROM S_REP"), "0");

    // Each file holds the tables of its kind; the work file its reference rows.
    const std::pair<const char *, Schema> kinds[] = {{"ini/INFO.MDB", Schema::Settings},
                                                     {"work/WORK.MDB", Schema::Work},
                                                     {"data/DATA.MDB", Schema::Data},
                                                     {"data/MASTER.MDB", Schema::Master}};
    for (const auto &[rel, schema] : kinds) {
        auto db = open(rel);
        for (const QString &t : hb::schemaTables(schema))
            EXPECT_FALSE(db->tableColumns(t).isEmpty()) << rel << " " << t.toStdString();
    }
    EXPECT_EQ(single(*open("work/WORK.MDB"), "SELECT COUNT(*) FROM L_ETO"), "60");
    EXPECT_EQ(single(*open("data/MASTER.MDB"), "SELECT COUNT(*) FROM M_FMR"), "0");
}

TEST_F(FirstStart, RunningAgainChangesNothing)
{
    hb::createMissingDatabases(bin());
    // What the grower did meanwhile stays as it is.
    open("data/MASTER.MDB")->EXEC("INSERT INTO M_FMR (FMR_ID, FMR_NM) VALUES (1, '山田 太郎')");
    open("ini/INFO.MDB")->EXEC("UPDATE S_CTRL SET CTRL_VALUE='2' WHERE CTRL_CD='USE_TYPE'");
    open("work/WORK.MDB")->EXEC("DELETE FROM L_KBN WHERE KBN=10 AND ID=10");
    const QStringList before = dump();
    const QStringList filesBefore = files();

    EXPECT_TRUE(hb::createMissingDatabases(bin()).isEmpty());
    EXPECT_EQ(dump(), before);
    EXPECT_EQ(files(), filesBefore);
    EXPECT_TRUE(before.contains("data/MASTER.MDB M_FMR: 1|山田 太郎|<null>|<null>|<null>|<null>|<null>|<null>|<null>|"
                                "<null>|<null>|<null>|<null>|<null>|-1"));
}

// The default data and master files are made only while the settings name them as files.
TEST_F(FirstStart, ALostDataFileIsNotReplacedByAnEmptyOne)
{
    hb::createMissingDatabases(bin());
    ASSERT_TRUE(exists("data/DATA.MDB"));
    ASSERT_TRUE(exists("data/MASTER.MDB"));
    QFile::remove(path("data/DATA.MDB"));
    QFile::remove(path("data/MASTER.MDB"));
    // Later starts leave the missing files to the connection question.
    EXPECT_TRUE(hb::createMissingDatabases(bin()).isEmpty());
    EXPECT_FALSE(exists("data/DATA.MDB"));
    EXPECT_FALSE(exists("data/MASTER.MDB"));
}

// A settings or work file that is no database of its kind ends the start: the failure names the
// file, and neither it nor anything else is touched.
TEST_F(FirstStart, BrokenSettingsOrWorkFileIsReportedAndKept)
{
    struct Case {
        const char *name;
        const char *file;
        QByteArray content;
        const char *otherMissing;  // a file removed beforehand, which must stay missing
    };
    const Case cases[] = {
        {"settings replaced by garbage", "ini/INFO.MDB", QByteArray("this is no database\n").repeated(200),
         "work/WORK.MDB"},
        {"work replaced by garbage", "work/WORK.MDB", QByteArray(4096, '\x5a'), "data/DATA.MDB"},
        {"empty settings file", "ini/INFO.MDB", QByteArray(), "data/MASTER.MDB"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        hb::createMissingDatabases(bin());
        QFile::remove(path(c.otherMissing));
        {
            QFile f(path(c.file));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(c.content);
        }
        const QStringList filesBefore = files();
        try {
            hb::createMissingDatabases(bin());
            ADD_FAILURE() << "no failure reported";
        } catch (const hb::HbError &e) {
            EXPECT_TRUE(e.description().contains(path(c.file))) << e.description().toStdString();
        }
        QFile f(path(c.file));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), c.content);
        EXPECT_EQ(files(), filesBefore);
        QFile::remove(path(c.file));
    }
}

TEST_F(FirstStart, FolderThatCannotBeMadeIsReportedWithTheFile)
{
    {
        QFile blocker(path("ini"));  // a plain file where the settings folder belongs
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    try {
        hb::createMissingDatabases(bin());
        ADD_FAILURE() << "no failure reported";
    } catch (const hb::HbError &e) {
        EXPECT_TRUE(e.description().contains(path("ini/INFO.MDB"))) << e.description().toStdString();
    }
    EXPECT_EQ(files(), QStringList{"ini"});
}

}  // namespace
