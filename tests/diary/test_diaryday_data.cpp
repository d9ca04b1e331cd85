// A diary day as read: the hold on its row, its lines and vouchers; the line operations; the pick
// lists and look-ups of the diary-day window; the window's caption.

#include "diaryfixture.h"
#include "diary/lunisolar.h"

#include <QSqlDatabase>

using diarytest::day;
using diarytest::kDay;
using hb::Value;

namespace {

class DiaryData : public diarytest::DiaryDb {};

QDateTime midnight(const QDate &d)
{
    return d.startOfDay();
}

std::vector<long> lineNumbers(const std::vector<hb::DiaryDtlRec> &lines)
{
    std::vector<long> out;
    for (const auto &l : lines)
        out.push_back(hb::IdOf(l.DTL_NO));
    return out;
}

std::vector<QString> texts(const std::vector<hb::PickEntry> &rows)
{
    std::vector<QString> out;
    for (const auto &r : rows)
        out.push_back(r.text);
    return out;
}

// ---- loading -------------------------------------------------------------------------------

TEST_P(DiaryData, LoadHoldsTheRowAndReadsTheDaysLinesAndVouchers)
{
    putDay({.wth = Value(3), .lo = Value(4.5), .oneMsg = Value("霜注意"), .holdTm = Value("OTHER-PC")});
    putDay({.fmr = 2, .holdTm = Value("OTHER-PC")});
    for (long n : {3, 1, 2})
        putLine({.dtl = n, .name = Value(QStringLiteral("作業%1").arg(n)), .chemi = Value(n == 1 ? 0 : 7)});
    putLine({.date = kDay.addDays(1), .dtl = 1, .chemi = Value(8)});
    putLine({.fmr = 2, .dtl = 1, .chemi = Value(9)});
    putLedge(1, 5, day(2014, 10, 24), 1000, 4000, 500);
    putLedge(1, 2, day(2014, 10, 24), 4160, 1130, 30);
    putLedge(1, 9, Value(QDateTime(kDay, QTime(10, 30))), 1000, 4000, 1);  // carries a time: not the day
    putLedge(1, 3, day(2014, 10, 23), 1000, 4000, 1);
    putLedge(2, 1, day(2014, 10, 24), 1000, 4000, 1);

    const hb::DiaryDay d = hb::LoadDiaryDay(1, midnight(kDay));

    EXPECT_TRUE(d.hasRow);
    EXPECT_EQ(d.day.FMR_ID, Value(1));
    EXPECT_EQ(d.day.WORK_DATE.toDate(), midnight(kDay));
    EXPECT_EQ(d.day.WTH_ID, Value(3));
    EXPECT_EQ(d.day.LO_TMP, Value(4.5));
    EXPECT_TRUE(d.day.HI_TMP.isNull());
    EXPECT_EQ(d.day.ONE_MSG, Value("霜注意"));
    EXPECT_EQ(d.day.HOLD_TM, Value("OTHER-PC"));  // as found
    EXPECT_EQ(d.day.IDATE.toDate(), QDateTime(QDate(2014, 1, 2), QTime(3, 4, 5)));
    // The row is now held by this computer, silently; the other grower's row is untouched.
    EXPECT_EQ(one("SELECT HOLD_TM FROM D_DIARY WHERE FMR_ID=1"), Value("PC-TEST"));
    EXPECT_EQ(one("SELECT LAST_TM FROM D_DIARY WHERE FMR_ID=1"), Value("OLD-PC"));
    EXPECT_EQ(one("SELECT HOLD_TM FROM D_DIARY WHERE FMR_ID=2"), Value("OTHER-PC"));

    EXPECT_EQ(lineNumbers(d.lines), (std::vector<long>{1, 2, 3}));
    for (const auto &l : d.lines) {
        EXPECT_EQ(l.FMR_ID, Value(1));
        EXPECT_EQ(l.WORK_DATE.toDate(), midnight(kDay));
    }
    EXPECT_EQ(d.lines[1].WORK_NM, Value("作業2"));
    EXPECT_EQ(d.loadedChemiIds, (std::vector<long>{7}));

    std::vector<long> vouchers;
    for (const auto &l : d.ledge)
        vouchers.push_back(hb::IdOf(l.LEDGE_ID));
    EXPECT_EQ(vouchers, (std::vector<long>{2, 5}));
    EXPECT_EQ(d.ledge[1].AMT, Value(hb::Currency::fromDouble(500)));

    // Opened again (this computer holds it now): loads alike, and the database receives the
    // day's statements alone: the tables' columns and keys are known from the first opening.
    hbtest::StatementCount count(*hb::gDb);
    const hb::DiaryDay again = hb::LoadDiaryDay(1, midnight(kDay));
    EXPECT_GT(count.ran(), 0);
    EXPECT_EQ(count.received(), count.ran());
    EXPECT_EQ(again.day.HOLD_TM, Value("PC-TEST"));
    EXPECT_EQ(again.lines.size(), 3u);
    EXPECT_EQ(one("SELECT HOLD_TM FROM D_DIARY WHERE FMR_ID=1"), Value("PC-TEST"));
}

TEST_P(DiaryData, DayWithoutRowStillReadsItsLinesAndHoldsNothing)
{
    putLine({.dtl = 1, .name = Value("耕うん")});
    putLine({.dtl = 2, .plant = Value::null(), .name = Value::null()});
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);

    const hb::DiaryDay d = hb::LoadDiaryDay(1, midnight(kDay));

    EXPECT_FALSE(d.hasRow);
    EXPECT_EQ(one("SELECT COUNT(*) FROM D_DIARY"), Value(0));  // no row is made or held
    EXPECT_GE(d.day.IDATE.toDate(), before);
    for (const char *f : {"WTH_ID", "LO_TMP", "HI_TMP", "ONE_MSG", "NOTES1", "NOTES2", "UDATE", "LAST_TM", "HOLD_TM"})
        EXPECT_TRUE(d.day.field(hb::DiaryRec::columnNames().indexOf(f)).isEmpty()) << f;
    EXPECT_EQ(lineNumbers(d.lines), (std::vector<long>{1, 2}));
    EXPECT_TRUE(d.lines[1].WORK_NM.isNull());
    ASSERT_EQ(d.ledge.size(), 1u);  // no voucher: one empty element
    EXPECT_TRUE(d.ledge[0].LEDGE_ID.isEmpty());

    // A day with neither lines nor vouchers: both arrays hold their one empty element.
    const hb::DiaryDay empty = hb::LoadDiaryDay(1, midnight(kDay.addDays(3)));
    ASSERT_EQ(empty.lines.size(), 1u);
    EXPECT_TRUE(empty.lines[0].DTL_NO.isEmpty());
    EXPECT_TRUE(empty.loadedChemiIds.empty());
}

// ---- line operations -----------------------------------------------------------------------

TEST(DiaryLines, NewLinesTakeTheHighestNumberPlusOne)
{
    hb::DiaryRec dayRec;
    dayRec.FMR_ID = Value(1);
    dayRec.WORK_DATE = day(2014, 10, 24);
    const auto withNumbers = [](std::initializer_list<long> numbers) {
        std::vector<hb::DiaryDtlRec> lines;
        for (long n : numbers) {
            lines.emplace_back();
            lines.back().DTL_NO = Value(n);
        }
        if (lines.empty())
            lines.emplace_back();
        return lines;
    };
    struct Case { std::initializer_list<long> numbers; int index; long number; std::size_t size; };
    const Case cases[] = {
        {{}, 0, 1, 1},            // the empty element of a day without lines is used
        {{1, 2, 3}, 3, 4, 4},
        {{1, 3}, 2, 4, 3},        // line 2 deleted in the window: 3 is taken, 4 is not
        {{1, 3, 4}, 3, 5, 4},     // stored numbers with a gap
        {{5, 2}, 2, 6, 3},
    };
    for (const Case &c : cases) {
        auto lines = withNumbers(c.numbers);
        const int i = hb::AddLine(lines, dayRec, Value(7));
        EXPECT_EQ(i, c.index);
        ASSERT_EQ(lines.size(), c.size);
        EXPECT_EQ(lines[i].DTL_NO, Value(c.number));
        EXPECT_EQ(lines[i].PLANT_ID, Value(7));
        EXPECT_EQ(lines[i].WORK_KBN, Value(0));
        EXPECT_EQ(lines[i].FMR_ID, Value(1));
        EXPECT_TRUE(lines[i].WORK_NM.isEmpty());
    }
    auto lines = withNumbers({});
    hb::AddLine(lines, dayRec, Value());  // no planting chosen
    EXPECT_TRUE(lines[0].PLANT_ID.isEmpty());
}

TEST(DiaryLines, RemovingKeepsOneEmptyElement)
{
    std::vector<hb::LedgeRec> ledge(3);
    for (int i = 0; i < 3; ++i)
        ledge[i].LEDGE_ID = Value(5 + i);  // 5, 6, 7
    EXPECT_TRUE(hb::RemoveLedge(ledge, 6));
    ASSERT_EQ(ledge.size(), 2u);
    EXPECT_EQ(ledge[1].LEDGE_ID, Value(7));
    EXPECT_FALSE(hb::RemoveLedge(ledge, 0));
    EXPECT_FALSE(hb::RemoveLedge(ledge, 99));
    EXPECT_EQ(ledge.size(), 2u);
    EXPECT_TRUE(hb::RemoveLedge(ledge, 5));
    EXPECT_TRUE(hb::RemoveLedge(ledge, 7));
    ASSERT_EQ(ledge.size(), 1u);  // the only voucher went: one empty element
    EXPECT_TRUE(ledge[0].LEDGE_ID.isEmpty());
    EXPECT_TRUE(ledge[0].AMT.isEmpty());

    std::vector<hb::DiaryDtlRec> lines(1);
    lines[0].DTL_NO = Value(1);
    hb::RemoveKeepingOne(lines, 0);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].DTL_NO.isEmpty());
}

// ---- pick lists and look-ups ---------------------------------------------------------------

TEST_P(DiaryData, PlantingsInProgressOnTheDayOfThisGrower)
{
    struct P { long id; const char *name; Value start, end, planted; long fmr; bool listed; };
    const P plantings[] = {
        {1, "始まる前", day(2014, 10, 25), Value::null(), day(2014, 10, 25), 1, false},
        {2, "終わった", day(2014, 4, 1), day(2014, 10, 23), day(2014, 4, 1), 1, false},
        {3, "当日開始", day(2014, 10, 24), Value::null(), day(2014, 10, 24), 1, true},
        {4, "当日終了", day(2014, 3, 1), day(2014, 10, 24), day(2014, 3, 1), 1, true},
        {5, "継続中", day(2014, 5, 1), day(2014, 12, 1), day(2014, 2, 1), 1, true},
        {6, "他の生産者", day(2014, 5, 1), Value::null(), day(2014, 1, 1), 2, false},
    };
    for (const P &p : plantings)
        putPlant({.fmr = p.fmr, .id = p.id, .name = QString::fromUtf8(p.name), .start = p.start, .end = p.end,
                  .planted = p.planted});
    const auto rows = hb::PlantingsOfDay(1, midnight(kDay));
    // In order of planting date.
    EXPECT_EQ(texts(rows), (std::vector<QString>{"継続中", "当日終了", "当日開始"}));
    EXPECT_EQ(rows[0].id, 5);
    EXPECT_TRUE(hb::PlantingsOfDay(1, midnight(QDate(2013, 1, 1))).empty());
}

TEST_P(DiaryData, PlantingFactsAreThoseOfThisGrowersPlanting)
{
    putPlant({.fmr = 2, .id = 1, .name = "他", .crop1 = Value("ナス"), .harvest = Value("201509"), .area = Value(3)});
    putPlant({.fmr = 1, .id = 1, .name = "トマト", .crop1 = Value("トマト"), .planted = day(2014, 4, 3),
              .harvest = Value("201410"), .area = Value(12.5)});
    putPlant({.fmr = 1, .id = 2, .name = "空", .planted = Value::null()});

    const hb::PlantFacts f = hb::GetPlantFacts(1, 1);
    EXPECT_TRUE(f.found);
    EXPECT_EQ(f.crop, "トマト");
    EXPECT_EQ(f.harvest, "2014/10");
    EXPECT_EQ(f.plantDate, "2014/04/03");
    EXPECT_EQ(f.area, "12.5");

    const hb::PlantFacts blank = hb::GetPlantFacts(1, 2);
    EXPECT_TRUE(blank.found);
    EXPECT_EQ(blank.crop, "");
    EXPECT_EQ(blank.harvest, "");
    EXPECT_EQ(blank.plantDate, "");
    EXPECT_EQ(blank.area, "0");  // a Null area shows 0
    EXPECT_FALSE(hb::GetPlantFacts(1, 99).found);
}

TEST_P(DiaryData, PickListsOfferTheirRowsInOrder)
{
    putChemi(1, 7, "薬剤B", day(2014, 4, 5), 101, Value(-1));
    putChemi(1, 8, "薬剤A", Value::null(), 202, Value(1));
    putChemi(1, 9, "薬剤C", day(2014, 11, 30), 101, Value(0));   // no longer offered
    putChemi(2, 10, "薬剤0", day(2014, 1, 1), 101, Value(-1));    // another grower's
    putPurpose(101, "灰色かび病");
    putPurpose(101, "うどんこ病");
    putPurpose(202, "アブラムシ類");

    struct Case { int k; long chemi; std::vector<QString> texts; };
    const Case cases[] = {
        {2, 0, {"薬剤A", "4/5薬剤B"}},  // by name, not by the shown text; no date: the name alone
        {3, 7, {"うどんこ病", "灰色かび病"}},
        {3, 8, {"アブラムシ類"}},
        {3, 10, {}},  // another grower's purchase
        {3, 0, {}},
        {4, 0, {"g", "kg", "mg", "mL", "L"}},
        {5, 0, {}},
        {-1, 0, {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(texts(hb::PickRows(c.k, 1, c.chemi)), c.texts) << "k=" << c.k << " chemi=" << c.chemi;

    const auto chemi = hb::PickRows(2, 1);
    EXPECT_EQ(chemi[0].id, 8);
    EXPECT_EQ(chemi[1].id, 7);
    const auto weather = hb::PickRows(0, 1);
    ASSERT_EQ(weather.size(), 10u);
    EXPECT_EQ(weather[0].text, "晴れ");
    EXPECT_EQ(weather[2].id, 3);
    const auto kinds = hb::PickRows(1, 1);
    ASSERT_GE(kinds.size(), 8u);
    EXPECT_EQ(kinds[4].id, hb::kWorkChemi);
    EXPECT_EQ(kinds[4].text, "農薬散布");
    EXPECT_EQ(kinds[7].text, "出荷");
    const auto units = hb::PickRows(4, 1);
    EXPECT_EQ(units[3].id, 4);
}

TEST_P(DiaryData, WorkNameHistoryGroupsNoCropThenSameCropThenOthers)
{
    putPlant({.id = 1, .name = "トマト畑", .crop = Value("トマト")});
    putPlant({.id = 2, .name = "不明", .crop = Value::null()});
    putPlant({.id = 3, .name = "キュウリ畑", .crop = Value("キュウリ")});
    putPlant({.id = 4, .name = "引用", .crop = Value("O'Neil #1")});
    putPlant({.fmr = 2, .id = 1, .name = "他家", .crop = Value("トマト")});
    long n = 0;
    const auto line = [&](long plant, long kind, const char *name, long fmr = 1) {
        putLine({.fmr = fmr, .date = kDay.addDays(-static_cast<int>(++n)), .dtl = 1, .plant = Value(plant),
                 .kind = kind, .name = Value(QString::fromUtf8(name))});
    };
    line(2, 2, "追肥B");
    line(2, 2, "元肥");
    line(1, 2, "追肥A");
    line(1, 2, "液肥");
    line(1, 2, "液肥");   // once per group
    line(3, 2, "液肥");   // also on another crop: offered again there
    line(3, 2, "堆肥");
    line(3, 2, "mulch");
    line(3, 2, "Mulch");  // differs only in case: both stay
    line(1, 3, "播種");   // another kind of work
    line(99, 2, "幻");    // its planting is gone
    line(1, 2, "他家の肥料", 2);
    putLine({.date = kDay.addDays(-50), .plant = Value::null(), .kind = 2, .name = Value("畑なし")});

    const QStringList expected{"元肥", "追肥B", "液肥", "追肥A", "Mulch", "mulch", "堆肥", "液肥"};
    EXPECT_EQ(hb::WorkNameHistory(1, 1, 2), expected);
    // A crop name with a quote is compared, not spliced into the statement.
    line(4, 2, "O'Neilの作業");
    const QStringList quoted = hb::WorkNameHistory(1, 4, 2);
    EXPECT_EQ(quoted.mid(0, 3), (QStringList{"元肥", "追肥B", "O'Neilの作業"}));
    EXPECT_TRUE(ui->prompts.empty());
    // No planting: the crop compared against is "" and the rest is one group.
    EXPECT_EQ(hb::WorkNameHistory(1, 0, 3), QStringList{"播種"});
}

// ---- caption -------------------------------------------------------------------------------

TEST_P(DiaryData, CaptionCarriesOldDateSexagenaryLabelAndRokuyo)
{
    const QDateTime d = midnight(kDay);
    EXPECT_EQ(hb::DiaryCaption(d), "日誌入力（2014/10/24） 旧閏9/1 戊辰 先負");
    const char *names[] = {"大安", "赤口", "先勝", "友引", "先負", "仏滅"};
    for (int r = 0; r < 6; ++r)
        EXPECT_EQ(hb::RokuyoName(r), QString::fromUtf8(names[r]));
    // Days whose rokuyo is 0 and 5 end the caption with their names.
    for (int wanted : {0, 5}) {
        QDate x = kDay;
        while (hb::GetRokuyo(x) != wanted)
            x = x.addDays(1);
        EXPECT_TRUE(hb::DiaryCaption(midnight(x)).endsWith(QString::fromUtf8(names[wanted])));
    }

    hb::gWork->EXEC("DELETE FROM L_ETO");
    EXPECT_EQ(hb::DiaryCaption(d), "日誌入力（2014/10/24） 旧閏9/1  先負");
    hb::gWork->EXEC("DROP TABLE L_ETO");
    EXPECT_EQ(hb::DiaryCaption(d), "日誌入力（2014/10/24） 旧閏9/1  先負");
    EXPECT_TRUE(ui->prompts.empty());
}

HB_INSTANTIATE_BOTH_BACKENDS(DiaryData);

}  // namespace
