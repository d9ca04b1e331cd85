// The registration tables behind the purchase input: the registered pesticide of a number, and
// the registered application rules that cover a crop.

#include "chemifixture.h"
#include "cultivation/chemiappl.h"

using hb::Value;

namespace {

class Registration : public chemitest::ChemiDb {};
INSTANTIATE_TEST_SUITE_P(Sqlite, Registration, ::testing::Values(hbtest::Backend::Sqlite), hbtest::backendName);

TEST(RegistrationNumber, TheLeadingWholeNumberOrNull)
{
    struct { Value typed; Value number; } cases[] = {
        {Value("123ab"), Value(123)}, {Value("a12"), Value::null()}, {Value(""), Value::null()},
        {Value::null(), Value::null()}, {Value(), Value::null()},      {Value(456), Value(456)},
        {Value(" 7"), Value(7)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(hb::registrationNumber(c.typed), c.number) << c.typed.displayText().toStdString();
}

TEST_P(Registration, ANumberFillsTheProductFields)
{
    putMaker("GK", "緑丘化学");
    putRegistration(123, "ｶﾞｰﾄﾞA-1", "ﾋﾟﾚｽﾛｲﾄﾞ系", Value("GK"), Value("殺虫剤"), Value("乳剤"));
    putRegistration(200, "ｿﾞｰﾝ", "x", Value("NONE"), Value("見ない用途"), Value("水和剤"));
    putRegistration(300, "y", "z", Value::null(), Value("殺菌剤"), Value::null());

    struct Case { long regNo; bool found; Value nm, kind, maker, uses, type; };
    const Value null = Value::null();
    const Case cases[] = {
        {123, true, Value("ガードＡ－１"), Value("ピレスロイド系"), Value("緑丘化学"), Value(1), Value(4)},
        {200, true, Value("ゾーン"), Value("ｘ"), Value(""), Value(0), Value(1)},  // a use with no kind row: 0
        {300, true, Value("ｙ"), Value("ｚ"), Value(""), Value(2), Value(0)},
        {999, false, null, null, null, null, null},
    };
    for (const Case &c : cases) {
        const hb::RegisteredChemi r = hb::lookupRegisteredChemi(Value(c.regNo));
        EXPECT_EQ(r.found, c.found) << c.regNo;
        EXPECT_EQ(r.CHEMI_NM, c.nm) << c.regNo;
        EXPECT_EQ(r.CHEMI_KIND, c.kind) << c.regNo;
        EXPECT_EQ(r.MAKER_NM, c.maker) << c.regNo;
        EXPECT_EQ(NullToVal(r.USES, Value(-9)).toLong(), NullToVal(c.uses, Value(-9)).toLong()) << c.regNo;
        EXPECT_EQ(NullToVal(r.CHEMI_TYPE, Value(-9)).toLong(), NullToVal(c.type, Value(-9)).toLong()) << c.regNo;
    }
    EXPECT_FALSE(hb::lookupRegisteredChemi(Value::null()).found);
}

TEST(CropLists, HitsExclusionsAndEmptyElements)
{
    const Value null = Value::null();
    struct Case { const char *what; hb::CropLists l; const char *crop, *crop2, *kind; bool covers; };
    const Case cases[] = {
        {"by name", {Value("キャベツ,トマト"), null, null, null}, "トマト", "", "12", true},
        {"by second name", {Value("トマト"), null, null, null}, "ミニトマト", "トマト", "12", true},
        {"by category", {null, Value("11,12"), null, null}, "なす", "なす", "12", true},
        {"an exclusion by name wins", {Value("トマト"), null, Value("トマト"), null}, "トマト", "", "12", false},
        {"an exclusion by category wins", {Value("トマト"), null, null, Value("12")}, "トマト", "", "12", false},
        {"the blank belongs to the next element", {Value("キャベツ, トマト"), null, null, null}, "トマト", "", "12",
         false},
        {"...which it covers with the blank", {Value("キャベツ, トマト"), null, null, null}, " トマト", "", "", true},
        {"case and width count", {Value("ＴＯＭＡＴＯ"), null, null, null}, "TOMATO", "tomato", "", false},
        {"a trailing comma covers no crop without second name", {Value("トマト,"), null, null, null}, "なす", "", "",
         false},
        {"two commas cover no crop without category", {null, Value("11,,13"), null, null}, "なす", "", "", false},
        {"an empty exclusion excludes nothing", {Value("トマト"), null, Value("キャベツ,"), null}, "トマト", "", "", true},
        {"an empty category exclusion neither", {Value("トマト"), null, null, Value(",")}, "トマト", "", "", true},
        {"no lists", {null, null, null, null}, "トマト", "トマト", "12", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(hb::coversCrop(c.l, QString::fromUtf8(c.crop), QString::fromUtf8(c.crop2), QString::fromUtf8(c.kind)),
                  c.covers)
            << c.what;
}

TEST_P(Registration, TheRulesThatCoverACrop)
{
    putCrop("ハーブ", Value::null(), Value("99"));
    putRule({.regNo = 123, .cropWording = "トマト", .target = "アブラムシ類", .dilution = Value("2000倍"),
             .times = Value("3回以内"), .way = Value("散布")});
    putRule({.regNo = 123, .cropWording = "野菜類", .target = "ハダニ類"});
    putRule({.regNo = 123, .cropWording = "キャベツ", .target = "アオムシ"});
    putRule({.regNo = 555, .cropWording = "トマト", .target = "別の登録"});
    putMatch("トマト", Value("トマト"), Value::null(), Value::null(), Value::null());
    putMatch("野菜類", Value::null(), Value("12,99"), Value("ハーブ"), Value::null());
    putMatch("野菜類", Value("ミニトマト"), Value::null(), Value::null(), Value::null());
    putMatch("キャベツ", Value("キャベツ"), Value::null(), Value::null(), Value::null());

    const auto targets = [](const Value &regNo, const QString &crop) {
        QStringList t;
        for (const hb::ApplRec &r : hb::applicableRules(regNo, crop))
            t << r.TARGET.displayText();
        return t;
    };
    EXPECT_EQ(targets(Value(123), "トマト"), QStringList({"アブラムシ類", "ハダニ類"}));
    EXPECT_EQ(targets(Value(123), "ミニトマト"), QStringList({"アブラムシ類", "ハダニ類", "ハダニ類"}))
        << "by its second name and its category; a rule joined to two covering rows twice";
    EXPECT_EQ(targets(Value(123), "ハーブ"), QStringList()) << "excluded by name";
    EXPECT_EQ(targets(Value(123), "キャベツ"), QStringList({"アオムシ"}));
    EXPECT_EQ(targets(Value(555), "トマト"), QStringList({"別の登録"}));
    EXPECT_EQ(targets(Value::null(), "トマト"), QStringList());
    EXPECT_EQ(targets(Value(), "トマト"), QStringList()) << "a new purchase's unset number";
    EXPECT_EQ(targets(Value(123), ""), QStringList());
    const std::vector<hb::ApplRec> rules = hb::applicableRules(Value(123), "トマト");
    EXPECT_EQ(rules[0].DILUTION, Value("2000倍"));
    EXPECT_TRUE(rules[0].PURPOSE.isNull()) << "Null stays Null";
}

}  // namespace
