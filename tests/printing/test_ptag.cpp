// Price-tag rows built from shipments, the bar-code text of a shop's layout and the trace
// address, on both kinds of data and master database.

#include "common/programbackends.h"
#include "core/db.h"
#include "core/globals.h"
#include "printing/ptag.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>
#include <optional>

using hb::Currency;
using hb::Value;
using hbtest::Backend;

namespace {

Currency yen(double v)
{
    return Currency::fromDouble(v);
}

// A shop's bar-code layout: start and length of the option, product, price, price-in-tens and
// grower blocks (std::nullopt stores Null).
struct Layout {
    std::optional<int> sta[5];
    std::optional<int> len[5];
};

Value opt(const std::optional<int> &v)
{
    return v ? Value(*v) : Value::null();
}

class PriceTags : public hbtest::ProgramBackends {
protected:
    void SetUp() override
    {
        ProgramBackends::SetUp();
        if (IsSkipped())
            return;
        hb::gShopID = Value(1);
        hb::gPtagData.assign(1, hb::PtagDataRec());
    }
    void TearDown() override
    {
        hb::gPtagData.assign(1, hb::PtagDataRec());  // as at the start
        hb::gShopID = Value();
        ProgramBackends::TearDown();
    }

    static void shop(long id, const Layout &l, const Value &url = Value::null(), const Value &type = Value::null())
    {
        hb::gMst->EXEC("DELETE FROM M_SHOP WHERE SHOP_ID=?", {Value(id)});
        hb::gMst->EXEC("INSERT INTO M_SHOP (SHOP_ID, SHOP_NM, BCD_OPT_STA, BCD_OPT_LEN, BCD_PRD_ID_STA, BCD_PRD_ID_LEN, "
                       "BCD_AMT_01_STA, BCD_AMT_01_LEN, BCD_AMT_10_STA, BCD_AMT_10_LEN, BCD_FMR_ID_STA, BCD_FMR_ID_LEN, "
                       "WWW_URL, UPLOAD_FILE_TYPE) VALUES (?, '直売所', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                       {Value(id), opt(l.sta[0]), opt(l.len[0]), opt(l.sta[1]), opt(l.len[1]), opt(l.sta[2]),
                        opt(l.len[2]), opt(l.sta[3]), opt(l.len[3]), opt(l.sta[4]), opt(l.len[4]), url, type});
    }
    static void grower(long id, const Value &name, const Value &phone)
    {
        hb::gMst->EXEC("INSERT INTO M_FMR (FMR_ID, FMR_NM, TEL_NO_S) VALUES (?, ?, ?)", {Value(id), name, phone});
    }
    // A shipment of shipment date 2024-06-03.
    static void ship(long fmr, long id, const Value &prd, const Value &name, const Value &price, const Value &qty,
                     const Value &plant = Value(5), const Value &locate = Value("信州"), const Value &plas = Value(-1))
    {
        hb::gDb->EXEC("INSERT INTO D_SHIP (FMR_ID, SHIP_ID, SHIP_DATE, SHOP_ID, PLANT_ID, PRD_ID, PRD_NM, LOCATE, "
                      "PLAS, SHOP_PRC, SHIP_QTY) VALUES (?, ?, #2024-06-03#, 1, ?, ?, ?, ?, ?, ?, ?)",
                      {Value(fmr), Value(id), plant, prd, name, locate, plas, price, qty});
    }
    static hb::RecordsetPtr shipments(const QString &columns = QStringLiteral("D_SHIP.*"))
    {
        return hb::gDb->GetFwdOnlyRst("SELECT " + columns + " FROM D_SHIP ORDER BY D_SHIP.FMR_ID, D_SHIP.SHIP_ID");
    }
    static const std::vector<hb::PtagRec> &rows() { return hb::gPtagData.at(0).PTAG; }
};

// Product from 1 for 4, price from 5 for 5, grower from 10 for 3.
const Layout kPlain = {{{}, 1, 5, {}, 10}, {0, 4, 5, 0, 3}};

TEST_P(PriceTags, BarcodeWritesTheShopsBlocksInOrder)
{
    struct Case {
        const char *what;
        Layout layout;
        int prd, fmr;
        double price;
        int option;
        const char *data;  // the 12 data digits expected
    };
    const Case cases[] = {
        {"plain layout", kPlain, 123, 7, 1980, 0, "012301980007"},
        {"all lengths 0", {{1, 1, 1, 1, 1}, {0, 0, 0, 0, 0}}, 123, 7, 1980, 0, "000000000000"},
        {"lengths Null", {{1, 1, 1, 1, 1}, {}}, 123, 7, 1980, 0, "000000000000"},
        {"grower overwrites product", {{{}, 1, {}, {}, 5}, {0, 6, 0, 0, 4}}, 123456, 9876, 0, 0, "123498760000"},
        {"long product keeps its last digits", {{{}, 1, {}, {}, {}}, {0, 4, 0, 0, 0}}, 1234567, 0, 0, 0,
         "456700000000"},
        {"price in tens", {{{}, {}, {}, 1, {}}, {0, 0, 0, 3, 0}}, 0, 0, 1980, 0, "198000000000"},
        {"price in tens rounds the half to even first", {{{}, {}, {}, 1, {}}, {0, 0, 0, 4, 0}}, 0, 0, 1999.5, 0,
         "020000000000"},
        {"price in tens truncates", {{{}, {}, {}, 1, {}}, {0, 0, 0, 4, 0}}, 0, 0, 1999.4, 0, "019900000000"},
        {"price in tens of a return truncates toward zero", {{{}, {}, {}, 1, {}}, {0, 0, 0, 4, 0}}, 0, 0, -15, 0,
         "000100000000"},
        {"fractional price keeps its separator as 0", {{{}, {}, 1, {}, {}}, {0, 0, 5, 0, 0}}, 0, 0, 19.8, 0,
         "019080000000"},
        {"negative price: the sign counts 0", {{{}, {}, 1, {}, {}}, {0, 0, 5, 0, 0}}, 0, 0, -125, 0,
         "001250000000"},
        {"block past the twelfth digit is cut", {{{}, {}, {}, {}, 11}, {0, 0, 0, 0, 4}}, 0, 1234, 0, 0,
         "000000000012"},
        {"option loses to the product", {{1, 2, {}, {}, {}}, {3, 1, 0, 0, 0}}, 5, 0, 0, 999, "959000000000"},
        {"block of length 0 may start anywhere", {{0, 1, 40, {}, {}}, {0, 2, -1, 0, 0}}, 42, 0, 7, 0,
         "420000000000"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        shop(1, c.layout);
        const QString expected = hb::GetCheckDigit(QString::fromLatin1(c.data));
        ASSERT_EQ(expected.size(), 13);
        EXPECT_EQ(hb::GetBarcode(c.prd, c.fmr, yen(c.price), c.option), expected);
    }
}

TEST_P(PriceTags, BarcodeOfAShopWithoutRowIsThirteenZeros)
{
    shop(2, kPlain);
    EXPECT_EQ(hb::GetBarcode(123, 7, yen(1980), 0), "0000000000000");
    // The shop in use unset counts as shop 1.
    shop(1, kPlain);
    for (const Value &none : {Value::null(), Value()}) {
        hb::gShopID = none;
        EXPECT_EQ(hb::GetBarcode(123, 7, yen(1980), 0), hb::GetCheckDigit("012301980007"));
    }
}

TEST_P(PriceTags, BlockStartingOutsideTheTwelveDigitsFails)
{
    struct Case {
        const char *what;
        Layout layout;
    };
    const Case cases[] = {
        {"start 0", {{{}, 0, {}, {}, {}}, {0, 2, 0, 0, 0}}},
        {"start Null", {{{}, {}, {}, {}, {}}, {0, 2, 0, 0, 0}}},
        {"start 13", {{{}, {}, {}, {}, 13}, {0, 0, 0, 0, 1}}},
        {"start -3", {{-3, {}, {}, {}, {}}, {1, 0, 0, 0, 0}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        shop(1, c.layout);
        try {
            hb::GetBarcode(1, 1, yen(100), 0);
            ADD_FAILURE() << "no error";
        } catch (const hb::HbError &e) {
            EXPECT_EQ(e.number(), 9);
            EXPECT_EQ(e.description(), QStringLiteral("販売店のバーコード設定が範囲外です。"));
        }
    }
    // A block that writes nothing may start anywhere.
    const Case writeNothing[] = {
        {"start 0, length 0", {{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}}},
        {"start 13, length -1", {{{}, 13, {}, {}, {}}, {0, -1, 0, 0, 0}}},
        {"start Null, length Null", {{{}, {}, {}, {}, {}}, {{}, {}, {}, {}, {}}}},
    };
    for (const Case &c : writeNothing) {
        SCOPED_TRACE(c.what);
        shop(1, c.layout);
        EXPECT_EQ(hb::GetBarcode(1, 1, yen(100), 0), QStringLiteral("0000000000000"));
    }
}

// Before any build the price-tag data holds one element with one empty row and skip 0.
TEST(PriceTagData, ExistsFromTheStartWithNothingToPrint)
{
    ASSERT_EQ(hb::gPtagData.size(), 1u);
    EXPECT_EQ(hb::gPtagData[0].SKIP_CNT, 0);
    ASSERT_EQ(hb::gPtagData[0].PTAG.size(), 1u);
    EXPECT_EQ(hb::gPtagData[0].PTAG[0].KIND, 0);
    EXPECT_TRUE(hb::gPtagData[0].PTAG[0].LABEL.JAN_CD.isEmpty());
}

TEST_P(PriceTags, TraceAddressFollowsTheShopsWebSettings)
{
    struct Case {
        Value url, type;
        const char *expected;
    };
    const Case cases[] = {
        {Value("example.jp/trace"), Value(1), "http://example.jp/trace/cropsight/12/34/"},
        {Value("https://example.jp/"), Value::null(), "https://example.jp/cropsight/12/34/"},
        {Value("HTTP://EXAMPLE.JP"), Value(2), "http://HTTP://EXAMPLE.JP/cropsight.php?fmr=12?plant=34"},
        {Value("http://e.jp/t/"), Value(3), "http://e.jp/t/cropsight.php?fmr=12?plant=34"},
        {Value("http://e.jp"), Value(4), "http://e.jp/cropsight/12/34/"},
        {Value::null(), Value(1), "http://cropsight/12/34/"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expected);
        shop(1, {}, c.url, c.type);
        EXPECT_EQ(hb::GetTraceURL(12, 34), QString::fromLatin1(c.expected));
    }
    hb::gMst->EXEC("DELETE FROM M_SHOP");
    EXPECT_EQ(hb::GetTraceURL(12, 34), hb::kDefaultTraceURL);
}

TEST_P(PriceTags, EveryShipmentBecomesOneRowInRecordsetOrder)
{
    shop(1, kPlain, Value("trace.example.jp"), Value(2));
    grower(1, Value("山田's \"農園\""), Value("090-1234"));
    grower(2, Value::null(), Value::null());
    ship(1, 1, Value(123), Value("大根 #1 100%"), Value(yen(198)), Value(12));
    ship(1, 2, Value(45), Value::null(), Value::null(), Value::null(), Value::null(), Value::null(), Value::null());
    ship(2, 1, Value(7), Value("白菜"), Value(yen(350.5)), Value(3), Value(8), Value(""), Value(0));
    ship(3, 1, Value::null(), Value("人参"), Value(yen(100)), Value(1));  // no such grower

    hb::gPtagData[0].SKIP_CNT = 4;
    hb::gPtagData[0].PTAG.assign(9, hb::PtagRec());  // left from an earlier build
    auto rs = shipments();
    EXPECT_EQ(hb::SetPriceTagData(*rs), 4);
    EXPECT_TRUE(rs->eof());
    EXPECT_EQ(hb::gPtagData[0].SKIP_CNT, 4);  // the caller's, kept
    ASSERT_EQ(rows().size(), 4u);

    hb::PtagRec first;
    first.KIND = 10;
    first.FMR_ID = 1;
    first.PRD_ID = 123;
    first.PRD_NM = "大根 #1 100%";
    first.LABEL_CNT = 12;
    first.LABEL.JAN_CD = hb::GetCheckDigit("012300198001");
    first.LABEL.QR_TEXT = "http://trace.example.jp/cropsight.php?fmr=1?plant=5";
    first.LABEL.FMR_NM = "山田's \"農園\"";
    first.LABEL.TEL_NO_S = "090-1234";
    first.LABEL.PRD_NM = "大根 #1 100%";
    first.LABEL.SHOP_PRC = yen(198);
    first.LABEL.LOCATE = "信州";
    first.LABEL.PLAS = true;
    EXPECT_EQ(rows()[0], first);
    EXPECT_EQ(rows()[0].LABEL.RSV_DATE, QDateTime(QDate(1899, 12, 30), QTime(0, 0)));

    // Null columns give the defaults: no labels, price 0, no mark, empty texts.
    const hb::PtagRec &nulls = rows()[1];
    EXPECT_EQ(nulls.KIND, 10);
    EXPECT_EQ(nulls.PRD_ID, 45);
    EXPECT_EQ(nulls.LABEL_CNT, 0);
    EXPECT_EQ(nulls.PRD_NM, "");
    EXPECT_EQ(nulls.LABEL.SHOP_PRC, Currency());
    EXPECT_FALSE(nulls.LABEL.PLAS);
    EXPECT_EQ(nulls.LABEL.LOCATE, "");
    EXPECT_EQ(nulls.LABEL.JAN_CD, hb::GetCheckDigit("004500000001"));
    EXPECT_EQ(nulls.LABEL.QR_TEXT, "http://trace.example.jp/cropsight.php?fmr=1?plant=0");

    EXPECT_EQ(rows()[2].LABEL.FMR_NM, "");  // grower without name
    EXPECT_EQ(rows()[2].LABEL.TEL_NO_S, "");
    EXPECT_EQ(rows()[2].LABEL.SHOP_PRC, yen(350.5));
    EXPECT_EQ(rows()[2].LABEL.JAN_CD, hb::GetCheckDigit("000735005002"));  // "350.5" in five digits
    EXPECT_FALSE(rows()[2].LABEL.PLAS);
    EXPECT_EQ(rows()[3].FMR_ID, 3);
    EXPECT_EQ(rows()[3].PRD_ID, 0);
    EXPECT_EQ(rows()[3].LABEL.FMR_NM, "");  // no such grower
    EXPECT_EQ(rows()[3].LABEL.TEL_NO_S, "");

    // A recordset already at its end leaves one empty row.
    EXPECT_EQ(hb::SetPriceTagData(*rs), 0);
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0], hb::PtagRec());
    EXPECT_EQ(rows()[0].KIND, 0);
    EXPECT_TRUE(rows()[0].LABEL.JAN_CD.isEmpty());
}

TEST_P(PriceTags, WithoutWebAddressThePlantingIsNeverRead)
{
    grower(1, Value("山田"), Value::null());
    ship(1, 1, Value(1), Value("大根"), Value(yen(100)), Value(2));
    const QString noPlant = QStringLiteral("FMR_ID, PRD_ID, PRD_NM, SHIP_QTY, LOCATE, PLAS, SHOP_PRC");
    for (const Value &url : {Value::null(), Value("")}) {
        shop(1, kPlain, url, Value(2));
        auto rs = shipments(noPlant);
        EXPECT_EQ(hb::SetPriceTagData(*rs), 1);
        EXPECT_EQ(rows()[0].LABEL.QR_TEXT, "");
        EXPECT_EQ(rows()[0].LABEL.JAN_CD, hb::GetCheckDigit("000100100001"));
    }
    // No shop row at all: zero codes, no address.
    hb::gMst->EXEC("DELETE FROM M_SHOP");
    auto rs = shipments(noPlant);
    EXPECT_EQ(hb::SetPriceTagData(*rs), 1);
    EXPECT_EQ(rows()[0].LABEL.JAN_CD, "0000000000000");
    EXPECT_EQ(rows()[0].LABEL.QR_TEXT, "");
    EXPECT_EQ(rows()[0].LABEL_CNT, 2);
}

TEST_P(PriceTags, FailuresReachTheCaller)
{
    ship(1, 1, Value(1), Value("大根"), Value(yen(100)), Value(2));
    ship(1, 2, Value(2), Value("白菜"), Value(yen(100)), Value(2));

    // A bad layout stops the build at the first row's code; the rows made so far stay and
    // carry no code, so no label is printed from them.
    shop(1, {{{}, 0, {}, {}, {}}, {0, 2, 0, 0, 0}});
    auto rs = shipments();
    try {
        hb::SetPriceTagData(*rs);
        ADD_FAILURE() << "no error";
    } catch (const hb::HbError &e) {
        EXPECT_EQ(e.number(), 9);
    }
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_TRUE(rows()[0].LABEL.JAN_CD.isEmpty());

    // The web address wanted but no planting column.
    shop(1, kPlain, Value("e.jp"));
    rs = shipments(QStringLiteral("FMR_ID, PRD_ID, PRD_NM, SHIP_QTY, LOCATE, PLAS, SHOP_PRC"));
    EXPECT_THROW(hb::SetPriceTagData(*rs), hb::HbError);

    // No price-tag data to fill.
    hb::gPtagData.clear();
    rs = shipments();
    EXPECT_THROW(hb::SetPriceTagData(*rs), hb::HbError);
}

// Row counts are not 16-bit: more than 32767 shipments build.
TEST_P(PriceTags, MoreThanAnIntegerOfRowsBuild)
{
    shop(1, kPlain, Value("e.jp"));
    grower(1, Value("山田"), Value("090"));
    const int total = 32800;
    QSqlDatabase c = hb::gDb->connection();
    hb::gDb->Begintrans();
    for (int first = 1; first <= total; first += 800) {
        QStringList values;
        for (int id = first; id < first + 800 && id <= total; ++id)
            values << QStringLiteral("(1, %1, 1, %2, 'x', 1, 100, 1)").arg(id).arg(id % 9999);
        QSqlQuery q(c);
        ASSERT_TRUE(q.exec("INSERT INTO D_SHIP (FMR_ID, SHIP_ID, SHOP_ID, PRD_ID, PRD_NM, PLANT_ID, SHOP_PRC, "
                           "SHIP_QTY) VALUES " +
                           values.join(',')));
    }
    hb::gDb->CommitTrans();
    auto rs = shipments();
    EXPECT_EQ(hb::SetPriceTagData(*rs), total);
    ASSERT_EQ(rows().size(), static_cast<size_t>(total));
    EXPECT_EQ(rows().back().PRD_ID, total % 9999);
    EXPECT_EQ(rows().back().LABEL.QR_TEXT, "http://e.jp/cropsight/1/1/");
}

HB_INSTANTIATE_BOTH_BACKENDS(PriceTags);

TEST(CheckDigit, IsTheEan13DigitOfTwelveCharacters)
{
    struct Case {
        const char *code, *expected;
    };
    const Case cases[] = {
        {"400638133393", "4006381333931"},
        {"978020137962", "9780201379624"},
        {"490123456789", "4901234567894"},
        {"000000000000", "0000000000000"},
        {"000000000001", "0000000000017"},
        {"00000000001", ""},
        {"0000000000000", ""},
        {"", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(hb::GetCheckDigit(QString::fromLatin1(c.code)), QString::fromLatin1(c.expected)) << c.code;
    EXPECT_THROW(hb::GetCheckDigit("49012345678A"), hb::HbError);
}

}  // namespace
