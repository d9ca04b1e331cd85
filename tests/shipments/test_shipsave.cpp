// The shipment's amounts and its save: vouchers, the D_SHIP row, the diary day and line, on both
// kinds of database; a failed save changes nothing, neither stored nor in the record.

#include "shipments/shipcalc.h"
#include "test_shipfixture.h"

using hb::Value;
using shiptest::day;

namespace {

class ShipSave : public shiptest::ShipDb {
protected:
    // A new shipment of grower 3 on 2024-05-10 from planting 7.
    static hb::ShipRec newShip(double salesAmt, double feeAmt, const Value &notes = Value::null())
    {
        hb::ShipRec r;
        r.FMR_ID = Value(3);
        r.SHIP_ID = Value::null();
        r.SHIP_DATE = day(2024, 5, 10);
        r.PLANT_ID = Value(7);
        r.DTL_NO = Value::null();
        r.SHOP_ID = Value(1);
        r.PRD_ID = Value(101);
        r.PRD_NM = Value("トマト");
        r.LOCATE = Value("緑丘");
        r.PLAS = Value(true);
        r.ACC_ID = Value(1040);
        r.SHOP_PRC = Value(150);
        r.SHIP_QTY = Value(80);
        r.RTN_QTY = Value(0);
        r.SALES_QTY = Value(80);
        r.DSC_AMT = Value::null();
        r.SALES_AMT = Value(hb::Currency::fromDouble(salesAmt));
        r.FEE_RT = Value(15);
        r.FEE_AMT = Value(hb::Currency::fromDouble(feeAmt));
        r.NOTES = notes;
        for (Value *v : {&r.PRINT_DATE, &r.EXP_DATE, &r.LEDGE_ID_S, &r.LEDGE_ID_F, &r.IDATE, &r.UDATE, &r.LAST_TM,
                         &r.HOLD_TM})
            *v = Value::null();
        return r;
    }
    static void putVoucher(long fmr, long id)
    {
        hb::gDb->EXEC("INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, C_ACC_ID, AMT) VALUES (?, ?, ?, "
                      "1000, 4000, 1)",
                      {Value(fmr), Value(id), day(2024, 1, 1)});
    }
    // The voucher as text: date|debit acc,kind,id,name|credit acc,kind,id,name|ctr|notes|amt
    static QString voucher(long fmr, long id)
    {
        auto rs = hb::gDb->GetFwdOnlyRst("SELECT * FROM D_LEDGE WHERE FMR_ID=? AND LEDGE_ID=?", {Value(fmr), Value(id)});
        if (rs->eof())
            return QStringLiteral("<none>");
        const auto t = [&](const char *c) {
            const Value v = rs->Fields(QString::fromLatin1(c));
            return v.isNull() ? QStringLiteral("NULL") : v.displayText();
        };
        return QStringList{hb::valueDate(rs->Fields("LEDGE_DATE")).toString("yyyy/MM/dd"),
                           t("D_ACC_ID") + "," + t("D_OPT_KBN") + "," + t("D_OPT_ID") + "," + t("D_OPT_NM"),
                           t("C_ACC_ID") + "," + t("C_OPT_KBN") + "," + t("C_OPT_ID") + "," + t("C_OPT_NM"),
                           t("CTR_NM"), t("NOTES"), QString::number(rs->Fields("AMT").toDouble())}
            .join('|');
    }
    static void putLines(long fmr, const QDate &d, int n)
    {
        hb::gDb->EXEC("INSERT INTO D_DIARY (FMR_ID, WORK_DATE, ONE_MSG) VALUES (?, ?, '晴れ')", {Value(fmr), Value(d)});
        for (int i = 1; i <= n; ++i)
            hb::gDb->EXEC("INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO, WORK_KBN) VALUES (?, ?, ?, 1)",
                          {Value(fmr), Value(d), Value(i)});
    }
    static QString shipLine(long fmr, long shipId)
    {
        auto rs = hb::gDb->GetFwdOnlyRst("SELECT WORK_DATE, DTL_NO, PLANT_ID, WORK_NM, NOTES FROM D_DIARY_DTL "
                                         "WHERE FMR_ID=? AND WORK_KBN=8 AND SHIP_ID=?",
                                         {Value(fmr), Value(shipId)});
        QStringList lines;
        for (; !rs->eof(); rs->MoveNext()) {
            lines << hb::valueDate(rs->Fields(0)).toString("MM/dd") + "#" + rs->Fields(1).displayText() + " plant " +
                         rs->Fields(2).displayText() + " " + rs->Fields(3).displayText() + " " +
                         (rs->Fields(4).isNull() ? QStringLiteral("NULL") : rs->Fields(4).displayText());
        }
        return lines.join(';');
    }
    static hb::ShipRec stored(long fmr, long shipId)
    {
        auto rs = hb::gDb->GetFwdOnlyRst("SELECT * FROM D_SHIP WHERE FMR_ID=? AND SHIP_ID=?", {Value(fmr), Value(shipId)});
        return rs->eof() ? hb::ShipRec() : hb::ShipRec::fromRow(*rs);
    }
};

HB_INSTANTIATE_BOTH_BACKENDS(ShipSave);

TEST_P(ShipSave, NewShipmentPostsSalesThenFeeVoucherTheRowTheDayAndTheLine)
{
    putVoucher(3, 40);
    putVoucher(2, 77);  // another grower's numbers do not count
    putShip(3, 4, 7, QDate(2024, 5, 1), 100, 1, 1);
    putLines(3, QDate(2024, 5, 11), 3);

    struct Case { QDate date; Value notes; long ship; QString line; bool dayRowMade; };
    const Case cases[] = {
        {QDate(2024, 5, 10), Value::null(), 5, "05/10#1 plant 7 出荷 NULL", true},
        {QDate(2024, 5, 11), Value("朝どれ'#%\\"), 6, "05/11#4 plant 7 出荷 朝どれ'#%\\", false},
    };
    long ledge = 41;
    for (const Case &c : cases) {
        hb::ShipRec r = newShip(12000, 1800, c.notes);
        r.SHIP_DATE = Value(c.date);
        ASSERT_EQ(hb::SaveShipment(*hb::gDb, r, hb::kEditAdd), 1);
        EXPECT_EQ(r.SHIP_ID, Value(c.ship)) << "the grower's highest number plus one";
        EXPECT_EQ(hb::gLastShipID, Value(c.ship));
        EXPECT_EQ(r.LEDGE_ID_S.toLong(), ledge);
        EXPECT_EQ(r.LEDGE_ID_F.toLong(), ledge + 1) << "the fee's number is drawn after the sales voucher";
        const QString notes = c.notes.isNull() ? QString() : c.notes.toString();
        EXPECT_EQ(voucher(3, ledge), c.date.toString("yyyy/MM/dd") + "|1040,0,0,NULL|4000,2,7,トマト|道の駅みどり|" +
                                         notes + "|12000");
        EXPECT_EQ(voucher(3, ledge + 1), c.date.toString("yyyy/MM/dd") + "|4520,2,7,トマト|1040,0,0,NULL|道の駅みどり|NULL|1800");
        const hb::ShipRec s = stored(3, c.ship);
        EXPECT_EQ(s.LEDGE_ID_S.toLong(), ledge);
        EXPECT_EQ(s.LEDGE_ID_F.toLong(), ledge + 1);
        EXPECT_EQ(hb::valueDate(s.SHIP_DATE), c.date);
        EXPECT_TRUE(s.IDATE.isDate());
        EXPECT_TRUE(s.UDATE.isNull());
        EXPECT_EQ(s.LAST_TM, Value("PC-TEST"));
        EXPECT_EQ(s.NOTES, c.notes.isNull() ? Value::null() : c.notes);
        EXPECT_EQ(shipLine(3, c.ship), c.line);
        EXPECT_EQ(count("SELECT COUNT(*) FROM D_DIARY WHERE FMR_ID=3 AND WORK_DATE=? AND IDATE IS NOT NULL AND "
                        "LAST_TM='PC-TEST' AND ONE_MSG IS NULL",
                        {Value(c.date)}),
                  c.dayRowMade ? 1 : 0)
            << "a missing day gets a row of its own; an existing one is left alone";
        ledge += 2;
    }
}

TEST_P(ShipSave, AmountSignAndZeroDecideTheVouchers)
{
    struct Case { double sales, fee; QString s, f; long ids, idf; };
    const Case cases[] = {
        {-300, 0, "4000,2,7,トマト|1040,0,0,NULL|道の駅みどり||300", "<none>", 1, 0},
        {0, 0, "<none>", "<none>", 0, 0},
        {0, -45, "<none>", "1040,0,0,NULL|4520,2,7,トマト|道の駅みどり|NULL|45", 0, 1},
    };
    for (const Case &c : cases) {
        hb::gDb->EXEC("DELETE FROM D_LEDGE");
        hb::gDb->EXEC("DELETE FROM D_SHIP");
        hb::ShipRec r = newShip(c.sales, c.fee);
        ASSERT_EQ(hb::SaveShipment(*hb::gDb, r, hb::kEditAdd), 1);
        EXPECT_EQ(r.LEDGE_ID_S.toLong(), c.ids);
        EXPECT_EQ(r.LEDGE_ID_F.toLong(), c.idf);
        const auto strip = [](const QString &v) { return v == "<none>" ? v : v.section('|', 1); };
        EXPECT_EQ(strip(voucher(3, 1)), c.ids == 1 ? c.s : (c.idf == 1 ? c.f : QString("<none>")));
        EXPECT_EQ(stored(3, 1).LEDGE_ID_S.toLong(), c.ids) << "an amount of 0 keeps number 0";
    }
}

TEST_P(ShipSave, ModifyRepostsUnderTheSameNumbersAndMovesTheLine)
{
    putLines(3, QDate(2024, 5, 10), 3);
    hb::ShipRec r = newShip(12000, 1800);
    ASSERT_EQ(hb::SaveShipment(*hb::gDb, r, hb::kEditAdd), 1);
    ASSERT_EQ(shipLine(3, 1), "05/10#4 plant 7 出荷 NULL");
    const Value firstIdate = stored(3, 1).IDATE;
    hb::gDb->EXEC("UPDATE D_LEDGE SET IDATE=#2024-05-10 08:00:00# WHERE FMR_ID=3");
    hb::ShipRec loaded = stored(3, 1);

    // The same day again: line 4 is deleted and inserted as 4 again.
    hb::ShipRec m = loaded;
    m.SALES_AMT = Value(hb::Currency::fromDouble(9000));
    ASSERT_EQ(hb::SaveShipment(*hb::gDb, m, hb::kEditModify), 1);
    EXPECT_EQ(m.LEDGE_ID_S.toLong(), 1);
    EXPECT_EQ(m.LEDGE_ID_F.toLong(), 2);
    EXPECT_TRUE(voucher(3, 1).endsWith("|9000"));
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_LEDGE WHERE FMR_ID=3 AND IDATE=#2024-05-10 08:00:00# AND UDATE IS NOT NULL"),
              0)
        << "reposted vouchers keep the shipment's first IDATE, not the voucher's";
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_LEDGE WHERE FMR_ID=3 AND IDATE=? AND UDATE IS NOT NULL", {firstIdate}), 2);
    EXPECT_EQ(shipLine(3, 1), "05/10#4 plant 7 出荷 NULL");
    const hb::ShipRec s = stored(3, 1);
    EXPECT_EQ(s.IDATE, firstIdate);
    EXPECT_TRUE(s.UDATE.isDate());

    // Sales now 0 and another day: the sales voucher goes, the line moves, the old day stays.
    m.SALES_AMT = Value(hb::Currency{});
    m.SHIP_DATE = day(2024, 5, 12);
    ASSERT_EQ(hb::SaveShipment(*hb::gDb, m, hb::kEditModify), 1);
    EXPECT_EQ(voucher(3, 1), "<none>");
    EXPECT_EQ(stored(3, 1).LEDGE_ID_S.toLong(), 0);
    EXPECT_EQ(stored(3, 1).LEDGE_ID_F.toLong(), 2);
    EXPECT_EQ(shipLine(3, 1), "05/12#1 plant 7 出荷 NULL");
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_DIARY WHERE FMR_ID=3"), 2);
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_DIARY_DTL WHERE FMR_ID=3 AND WORK_DATE=#2024-05-10 00:00:00#"), 3);
}

TEST_P(ShipSave, DeleteAndModifyTouchOnlyTheirGrowersShipment)
{
    hb::ShipRec a = newShip(1000, 100);
    a.FMR_ID = Value(1);
    hb::ShipRec b = newShip(2000, 200);
    b.FMR_ID = Value(2);
    ASSERT_EQ(hb::SaveShipment(*hb::gDb, a, hb::kEditAdd), 1);
    ASSERT_EQ(hb::SaveShipment(*hb::gDb, b, hb::kEditAdd), 1);
    ASSERT_EQ(a.SHIP_ID, Value(1));
    ASSERT_EQ(b.SHIP_ID, Value(1));

    hb::ShipRec m = stored(2, 1);
    m.NOTES = Value("修正");
    ASSERT_EQ(hb::SaveShipment(*hb::gDb, m, hb::kEditModify), 1);
    EXPECT_TRUE(stored(1, 1).NOTES.isNull());
    EXPECT_EQ(stored(2, 1).NOTES, Value("修正"));

    ASSERT_EQ(hb::SaveShipment(*hb::gDb, m, hb::kEditDelete), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_SHIP WHERE FMR_ID=2"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_LEDGE WHERE FMR_ID=2"), 0);
    EXPECT_EQ(shipLine(2, 1), "");
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_DIARY WHERE FMR_ID=2"), 1) << "the day row stays";
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_SHIP WHERE FMR_ID=1"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_LEDGE WHERE FMR_ID=1"), 2);
    EXPECT_EQ(shipLine(1, 1), "05/10#1 plant 7 出荷 NULL");
}

TEST_P(ShipSave, ARowGoneMeanwhileIsReportedAndNothingChanges)
{
    hb::ShipRec r = newShip(12000, 1800);
    ASSERT_EQ(hb::SaveShipment(*hb::gDb, r, hb::kEditAdd), 1);
    hb::gDb->EXEC("DELETE FROM D_SHIP");  // another computer deleted it
    for (int mode : {hb::kEditModify, hb::kEditDelete}) {
        ui->prompts.clear();
        hb::ShipRec m = r;
        m.SALES_AMT = Value(hb::Currency{});
        EXPECT_EQ(hb::SaveShipment(*hb::gDb, m, mode), 0);
        ASSERT_EQ(ui->prompts.size(), 1U);
        EXPECT_EQ(ui->prompts[0].text, "該当データが存在しません。");
        EXPECT_EQ(ui->prompts[0].style, hb::kMsgCritical);
        EXPECT_EQ(count("SELECT COUNT(*) FROM D_LEDGE WHERE FMR_ID=3"), 2) << "the vouchers stay as they were";
        EXPECT_EQ(shipLine(3, 1), "05/10#1 plant 7 出荷 NULL");
    }
}

TEST_P(ShipSave, AFailingStatementRollsEverythingBackAndLeavesTheRecord)
{
    hb::ShipRec r = newShip(12000, 1800);
    ASSERT_EQ(hb::SaveShipment(*hb::gDb, r, hb::kEditAdd), 1);
    hb::gDb->EXEC("DROP TABLE D_DIARY_DTL");  // the last statement of a save fails

    hb::ShipRec n = newShip(5000, 500);
    EXPECT_THROW(hb::SaveShipment(*hb::gDb, n, hb::kEditAdd), hb::HbError);
    EXPECT_FALSE(hb::gDb->inTransaction());
    EXPECT_TRUE(n.SHIP_ID.isNull() && n.LEDGE_ID_S.isNull() && n.LEDGE_ID_F.isNull()) << "the record is as before";
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_SHIP"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_LEDGE"), 2);

    hb::ShipRec m = stored(3, 1);
    m.SALES_AMT = Value(hb::Currency::fromDouble(1));
    m.SHIP_DATE = day(2024, 6, 1);
    EXPECT_THROW(hb::SaveShipment(*hb::gDb, m, hb::kEditModify), hb::HbError);
    EXPECT_TRUE(voucher(3, 1).endsWith("|12000")) << "the old voucher is back";
    EXPECT_EQ(hb::valueDate(stored(3, 1).SHIP_DATE), QDate(2024, 5, 10));
    EXPECT_EQ(count("SELECT COUNT(*) FROM D_DIARY WHERE WORK_DATE=#2024-06-01 00:00:00#"), 0);
}

// ---- amounts -------------------------------------------------------------------------------

using ShipAmounts = shiptest::ShipDb;
INSTANTIATE_TEST_SUITE_P(Sqlite, ShipAmounts, ::testing::Values(hbtest::Backend::Sqlite), hbtest::backendName);

TEST_P(ShipAmounts, EntriesRecomputeSalesQuantityAmountAndFee)
{
    using Entry = std::pair<int, Value>;
    const Value null = Value::null();
    struct Case { const char *what; long shop; std::vector<Entry> entries; Value salesQty, salesAmt, feeRt, feeAmt; };
    const Case cases[] = {
        {"returns empty", 1, {{hb::kBoxShopPrc, 150}, {hb::kBoxShipQty, 10}}, null, null, 1, hb::Currency{}},
        {"returns 0", 1, {{hb::kBoxShopPrc, 150}, {hb::kBoxShipQty, 10}, {hb::kBoxRtnQty, 0}}, 10, 1500, 1, 15},
        {"rate 15", 1, {{hb::kBoxShopPrc, 150}, {hb::kBoxShipQty, 10}, {hb::kBoxRtnQty, 0}, {hb::kBoxFeeRt, 15}}, 10,
         1500, 15, 225},
        {"185.1 rounds down", 1, {{hb::kBoxFeeRt, 15}, {hb::kBoxShopPrc, 1234}, {hb::kBoxSalesQty, 1}}, 1, 1234, 15,
         185},
        {"184.5 rounds away from zero", 1, {{hb::kBoxFeeRt, 15}, {hb::kBoxShopPrc, 1230}, {hb::kBoxSalesQty, 1}}, 1,
         1230, 15, 185},
        {"returns above shipped", 1, {{hb::kBoxShopPrc, 100}, {hb::kBoxShipQty, 2}, {hb::kBoxRtnQty, 5}}, -3, -300, 1,
         -3},
        {"discount", 1, {{hb::kBoxShopPrc, 100}, {hb::kBoxSalesQty, 10}, {hb::kBoxDscAmt, 50}}, 10, 950, 1, 10},
        {"discount cleared", 1, {{hb::kBoxShopPrc, 100}, {hb::kBoxSalesQty, 10}, {hb::kBoxDscAmt, 50},
                                 {hb::kBoxDscAmt, null}}, 10, 1000, 1, null},  // shown without the discount
        {"typed fee stands", 1, {{hb::kBoxShopPrc, 100}, {hb::kBoxSalesQty, 10}, {hb::kBoxFeeAmt, 99}}, 10, 1000, 1, 99},
        {"until a field recomputes", 1, {{hb::kBoxShopPrc, 100}, {hb::kBoxSalesQty, 10}, {hb::kBoxFeeAmt, 99},
                                          {hb::kBoxDscAmt, 0}}, 10, 1000, 1, 10},
        {"rate cleared", 1, {{hb::kBoxShopPrc, 100}, {hb::kBoxSalesQty, 10}, {hb::kBoxFeeRt, null}}, 10, 1000, null,
         null},
        {"price cleared", 1, {{hb::kBoxShopPrc, 100}, {hb::kBoxSalesQty, 10}, {hb::kBoxShopPrc, null}}, 10, null, 1,
         null},
        {"the shop in use's rate", 2, {{hb::kBoxShopPrc, 100}, {hb::kBoxSalesQty, 10}}, 10, 1000, 12, 120},
    };
    for (const Case &c : cases) {
        hb::gShopID = Value(c.shop);
        hb::ShipRec r;
        r.FEE_RT = Value::null();
        for (const Entry &e : c.entries)
            hb::ApplyShipEntry(r, e.first, e.second);
        const auto num = [](const Value &v) { return hb::isBlank(v) ? QStringLiteral("-") : QString::number(v.toDouble()); };
        EXPECT_EQ(num(r.SALES_QTY), num(c.salesQty)) << c.what;
        EXPECT_EQ(num(hb::ShipSalesAmount(r)), num(c.salesAmt)) << c.what;
        EXPECT_EQ(num(r.FEE_RT), num(c.feeRt)) << c.what;
        EXPECT_EQ(num(r.FEE_AMT), num(c.feeAmt)) << c.what;
    }
}

// The product code is its leading whole number; the name is the one the record's shop gives it,
// whatever shop is in use.
TEST_P(ShipAmounts, AProductCodeTakesTheNameOfTheShipmentsShop)
{
    struct Case { long shop; Value code; Value storedCode; Value name; };
    const Case cases[] = {
        {1, Value(101), Value(101), Value("トマト")},
        {1, Value(201), Value(201), Value::null()},
        {2, Value(201), Value(201), Value("きゅうり")},
        {2, Value("201番"), Value(201), Value("きゅうり")},
        {1, Value(" 102.9"), Value(102), Value("なす")},
        {1, Value("abc"), Value::null(), Value::null()},
        {1, Value("99999999999"), Value::null(), Value::null()},
    };
    for (const Case &c : cases) {
        hb::gShopID = Value(c.shop == 1 ? 2 : 1);  // the other shop is in use
        hb::ShipRec r;
        r.SHOP_ID = Value(c.shop);
        r.PRD_NM = Value("前の名前");
        hb::ApplyShipEntry(r, hb::kBoxPrdId, c.code);
        EXPECT_EQ(r.PRD_ID, c.storedCode) << c.code.displayText().toStdString();
        EXPECT_EQ(r.PRD_NM, c.name) << c.code.displayText().toStdString();
    }
    hb::ShipRec r;
    r.PRD_NM = Value("残る");
    hb::ApplyShipEntry(r, hb::kBoxPrdId, Value::null());
    EXPECT_EQ(r.PRD_NM, Value("残る")) << "an emptied code leaves the name";

    // The fee rate's default is the record's shop's (shop 2: 12), never replacing a set rate.
    hb::gShopID = Value(1);
    hb::ShipRec f;
    f.SHOP_ID = Value(2);
    f.SHOP_PRC = Value(100);
    f.RTN_QTY = Value(0);
    hb::ApplyShipEntry(f, hb::kBoxShipQty, Value(10));
    EXPECT_EQ(f.FEE_RT.toDouble(), 12);
    EXPECT_EQ(f.FEE_AMT.toDouble(), 120);
}

// What each box's text gives its column.
TEST(ShipText, EntriesFromTheBoxes)
{
    struct Case { int box; const char *text; bool ok; const char *stored; };
    const Case cases[] = {
        {hb::kBoxShipDate, "2024/05/03", true, "2024/05/03"},
        {hb::kBoxShipDate, "2008/13/40", true, "'2008/13/40'"},  // kept as typed
        {hb::kBoxShipDate, "", true, "NULL"},
        {hb::kBoxShopPrc, "abc", true, "NULL"},
        {hb::kBoxShopPrc, "1,200", true, "1200"},
        {hb::kBoxShipQty, "abc", true, "NULL"},
        {hb::kBoxShipQty, "2.5", false, ""},
        {hb::kBoxShipQty, "3000000000", false, ""},
        {hb::kBoxShipQty, "12", true, "12"},
        {hb::kBoxRtnQty, "2.5", true, "2.5"},
        {hb::kBoxFeeRt, "1e400", true, "NULL"},
        {hb::kBoxFeeAmt, "-", true, "NULL"},
        {hb::kBoxPrdId, "12ab", true, "'12ab'"},
        {hb::kBoxNotes, "メモ", true, "'メモ'"},
    };
    for (const Case &c : cases) {
        Value v = Value(7);
        EXPECT_EQ(hb::ShipEntry(c.box, QString::fromUtf8(c.text), &v), c.ok) << c.text;
        if (!c.ok)
            continue;
        const QString shown = v.isNull()     ? QStringLiteral("NULL")
                              : v.isString() ? QLatin1Char('\'') + v.toString() + QLatin1Char('\'')
                              : v.isDate()   ? v.toDate().toString("yyyy/MM/dd")
                                             : v.displayText();
        EXPECT_EQ(shown, QString::fromUtf8(c.stored)) << c.text;
    }
}

TEST(ShipText, NumbersAndAmounts)
{
    struct Num { const char *text; bool whole; bool ok; QString value; };
    const Num nums[] = {{"", false, true, "NULL"},  {"1,000", false, true, "1000"}, {"12.5", false, true, "12.5"},
                        {"12.5", true, false, ""},  {"abc", false, false, ""},      {"1e3", true, true, "1000"},
                        {"-3", false, true, "-3"},  {"１２", false, false, ""}};
    for (const Num &n : nums) {
        Value v;
        EXPECT_EQ(hb::parseShipNumber(QString::fromUtf8(n.text), n.whole, &v), n.ok) << n.text;
        if (n.ok) {
            EXPECT_EQ(v.isNull() ? QStringLiteral("NULL") : v.displayText(), n.value) << n.text;
        }
    }
    struct Amt { Value v; const char *text; };
    const Amt amts[] = {{Value::null(), ""}, {Value(0), "0"}, {Value(1234567), "1,234,567"}, {Value(-1500), "-1,500"},
                        {Value(999.5), "1,000"}, {Value(-0.4), "0"}, {Value(hb::Currency::fromDouble(12000)), "12,000"}};
    for (const Amt &a : amts)
        EXPECT_EQ(hb::fmtAmount(a.v), QString::fromUtf8(a.text));
}

}  // namespace
