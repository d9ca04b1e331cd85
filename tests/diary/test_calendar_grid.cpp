// The month grid: geometry, the day under a point, what the data database says about each day
// (diary rows and the three marks, counted per day or per month), the planting filter's list,
// and the render model of the cells.

#include "test_calendar_benchdata.h"
#include "test_calendar_data.h"

#include "core/appinit.h"
#include "diary/calendargrid.h"

#include <QApplication>
#include <QFontMetricsF>
#include <gtest/gtest.h>
#include <set>

using hb::CalGeometry;
using hb::CalLayers;
using hb::Value;

namespace {

std::set<int> days(const std::array<bool, 32> &marks)
{
    std::set<int> out;
    for (int d = 1; d <= 31; ++d) {
        if (marks[static_cast<std::size_t>(d)])
            out.insert(d);
    }
    return out;
}

constexpr CalLayers kAllLayers{true, true, true, true, true};

// ---- geometry ------------------------------------------------------------------------------------

TEST(CalendarGeometry, RowsAndCellsFollowTheMonth)
{
    struct Case {
        QDate month;
        int F, N, R;
    } cases[] = {
        {QDate(2009, 8, 1), 6, 31, 6},   // 31 days from a Saturday
        {QDate(2015, 2, 1), 0, 28, 4},   // 28 days from a Sunday
        {QDate(2009, 1, 1), 4, 31, 5},
        {QDate(2024, 2, 1), 4, 29, 5},   // leap February
        {QDate(2021, 2, 1), 1, 28, 5},
        {QDate(2020, 5, 1), 5, 31, 6},   // 31 days from a Friday need six rows
        {QDate(2023, 9, 1), 5, 30, 5},   // 30 from a Friday fit five
        {QDate(2023, 12, 1), 5, 31, 6},
        {QDate(2024, 6, 1), 6, 30, 6},   // 30 days from a Saturday
    };
    for (const Case &c : cases) {
        const CalGeometry g = CalGeometry::compute(6900, 12030, c.month);
        EXPECT_EQ(g.F, c.F) << c.month.toString().toStdString();
        EXPECT_EQ(g.N, c.N) << c.month.toString().toStdString();
        EXPECT_EQ(g.R, c.R) << c.month.toString().toStdString();
        EXPECT_EQ(g.Hh, 690);
        EXPECT_EQ(g.Ch, 6210 / c.R);
        EXPECT_EQ(g.Cw, 1718);
        EXPECT_DOUBLE_EQ(g.S, g.Ch / 4.0);
    }
    // Sizes are rounded to whole twips, halves to the even neighbour, before dividing.
    const CalGeometry up = CalGeometry::compute(6875.5, 12039.5, QDate(2015, 2, 1));
    EXPECT_EQ(up.Hh, 687);          // 6876 \ 10
    EXPECT_EQ(up.Ch, 6188 / 4);     // 6188.5 -> 6188
    EXPECT_EQ(up.Cw, 1720);         // 12040 \ 7
    const CalGeometry down = CalGeometry::compute(6874.5, 12038.5, QDate(2015, 2, 1));
    EXPECT_EQ(down.Hh, 687);        // 6874 \ 10
    EXPECT_EQ(down.Ch, 6188 / 4);   // 6187.5 -> 6188
    EXPECT_EQ(down.Cw, 1719);       // 12038 \ 7
}

TEST(CalendarGeometry, DayUnderAPoint)
{
    // August 2009: Saturday the 1st, six rows; Hh 690, Ch 1035, Cw 1718.
    const CalGeometry g = CalGeometry::compute(6900, 12030, QDate(2009, 8, 1));
    ASSERT_EQ(g.Ch, 1035);
    const auto rowY = [&](int row) { return g.Hh + row * g.Ch + 5.0; };
    struct Case {
        const char *what;
        double X, Y;
        int day;
    } cases[] = {
        {"weekday header", 8000, 300, 0},
        {"header's lower edge", 8000, 690, 0},
        {"Saturday the 1st", 6 * 1718 + 10, rowY(0), 1},
        {"empty cell before the 1st", 5 * 1718 + 10, rowY(0), 0},
        {"Sunday the 2nd", 10, rowY(1), 2},
        {"last day", 1718 + 5, rowY(5), 31},
        {"empty cell after the last day", 2 * 1718 + 5, rowY(5), 0},
        {"strip right of the last column", 7 * 1718 + 3, rowY(1), 0},
        {"below the last row", 100, 690 + 6 * 1035 + 1, 0},
        {"half a twip rounds to even (1718)", 1717.5, rowY(1), 3},
        {"half a twip rounds to even (1716)", 1716.5, rowY(1), 2},
        {"1034.5 twips into the rows rounds to 1034: first row", 10, 690 + 1034.5, 0},
        {"1035.5 twips into the rows rounds to 1036: second row", 10, 690 + 1035.5, 2},
    };
    for (const Case &c : cases)
        EXPECT_EQ(g.dayAt(c.X, c.Y), c.day) << c.what;
    EXPECT_EQ(CalGeometry().dayAt(10, 10), 0) << "no drawing yet";
}

// ---- data -----------------------------------------------------------------------------------------

class CalendarData : public hbtest::CalendarDb {};

TEST_P(CalendarData, MarksFollowTheirConditionsAndAgreeBothWays)
{
    // Vouchers: cash or bank on either side of the day's vouchers.
    voucher(1, 1, at(2024, 5, 1), 1000, 4000);
    voucher(1, 2, at(2024, 5, 2), 1130, 1010);
    voucher(1, 3, at(2024, 5, 3), 1130, 2000);  // a purchase on account: no money mark
    voucher(1, 4, at(2024, 5, 4, 12), 1000, 4000);  // dated with a time: never the day itself
    voucher(1, 5, at(2024, 4, 30), 1000, 4000);
    voucher(1, 6, at(2024, 6, 1), 1000, 4000);
    voucher(2, 7, at(2024, 5, 5), 1000, 4000);  // another grower
    voucher(1, 8, at(2024, 5, 31), 1010, 4000);
    // Pesticide lines.
    line(1, at(2024, 5, 6), 1, V(10), V(3));
    line(1, at(2024, 5, 7), 1, V(10), V(0));
    line(1, at(2024, 5, 8), 1, V(10), V::null());
    line(1, at(2024, 5, 9), 1, V(11), V(4));
    line(1, at(2024, 5, 9), 2, V(10), V(0));
    line(2, at(2024, 5, 10), 1, V(10), V(5));
    // Shipments.
    shipment(1, 1, at(2024, 5, 6), V(10));
    shipment(1, 2, at(2024, 5, 11), V(11));
    shipment(1, 3, at(2024, 5, 12, 10, 30), V(10));
    shipment(1, 4, at(2024, 5, 31), V(10));
    shipment(2, 5, at(2024, 5, 13), V(10));

    struct Case {
        const char *what;
        CalLayers layers;
        long filter;
        std::set<int> money, pesticide, shipment;
    } cases[] = {
        {"every layer, no filter", kAllLayers, 0, {1, 2, 31}, {6, 9}, {6, 11, 31}},
        {"planting 10", kAllLayers, 10, {1, 2, 31}, {6}, {6, 31}},
        {"planting 11", kAllLayers, 11, {1, 2, 31}, {9}, {11}},
        {"a planting without rows", kAllLayers, 99, {1, 2, 31}, {}, {}},
        {"money only", {false, false, true, false, false}, 0, {1, 2, 31}, {}, {}},
        {"marks off", {true, true, false, false, false}, 0, {}, {}, {}},
    };
    for (const Case &c : cases) {
        for (auto how : {hb::CalMarkQuery::PerDay, hb::CalMarkQuery::PerMonth}) {
            const auto data = hb::loadCalMonth(*hb::gDb, QDate(2024, 5, 1), 1, c.layers, c.filter, how);
            const char *way = how == hb::CalMarkQuery::PerDay ? "per day" : "per month";
            EXPECT_EQ(days(data.money), c.money) << c.what << ", " << way;
            EXPECT_EQ(days(data.pesticide), c.pesticide) << c.what << ", " << way;
            EXPECT_EQ(days(data.shipment), c.shipment) << c.what << ", " << way;
        }
    }
    // The neighbouring months see their own days only.
    const auto april = hb::loadCalMonth(*hb::gDb, QDate(2024, 4, 1), 1, kAllLayers, 0);
    EXPECT_EQ(days(april.money), std::set<int>{30});
    const auto june = hb::loadCalMonth(*hb::gDb, QDate(2024, 6, 1), 1, kAllLayers, 0);
    EXPECT_EQ(days(june.money), std::set<int>{1});
}

TEST_P(CalendarData, BothWaysGiveTheSameMarksOnTheBenchmarkData)
{
    namespace cb = hbtest::calbench;
    cb::fill(*hb::gDb);
    // Every fifth month of the ten years on the file database, every seventh on the server
    // (each month reads all of the grower's diary days day by day, and the daily counts are a
    // round trip each there): every calendar month and many month lengths and first weekdays.
    const int step = GetParam() == hbtest::Backend::Sqlite ? 5 : 7;
    // Around each of these months: rows at other times of day in the month and on both of its
    // edges (the first and last day, the days just before and after), and a third grower's rows
    // at midnight on those days.
    constexpr long kThird = 3;
    long id = 900000;
    for (int m = 0; m < cb::kYears * 12; m += step) {
        const QDate first = cb::kFirstDay.addMonths(m);
        const QDate last = first.addMonths(1).addDays(-1);
        const QDateTime times[] = {at(first.year(), first.month(), 1, 0, 1), at(last.year(), last.month(), last.day(), 23, 59),
                                   at(first.year(), first.month(), 15, 12), QDateTime(first.addDays(-1), QTime(23, 59, 59)),
                                   QDateTime(last.addDays(1), QTime(0, 0, 1))};
        for (const QDateTime &t : times) {
            diary(cb::kGrower, QDate(), V(3), V(1.0), V(2.0), V("時刻つき"), t);
            voucher(cb::kGrower, ++id, t, 1000, 4000);
            line(cb::kGrower, t, 1, V(2), V(9));
            shipment(cb::kGrower, ++id, t, V(2));
        }
        for (const QDate &d : {first, last, first.addDays(-1), last.addDays(1)}) {
            diary(kThird, d, V(4), V(3.0), V(4.0), V("三人目"));
            voucher(kThird, ++id, d.startOfDay(), 1010, 4000);
            line(kThird, d.startOfDay(), 1, V(2), V(9));
            shipment(kThird, ++id, d.startOfDay(), V(2));
        }
    }
    int marked = 0;
    int unmarked = 0;
    for (int m = 0; m < cb::kYears * 12; m += step) {
        const QDate month = cb::kFirstDay.addMonths(m);
        for (long filter : {0L, 2L}) {
            const auto perDay = hb::loadCalMonth(*hb::gDb, month, cb::kGrower, kAllLayers, filter, hb::CalMarkQuery::PerDay);
            const auto perMonth = hb::loadCalMonth(*hb::gDb, month, cb::kGrower, kAllLayers, filter, hb::CalMarkQuery::PerMonth);
            const std::string where = month.toString("yyyy-MM").toStdString() + " filter " + std::to_string(filter);
            ASSERT_EQ(days(perDay.money), days(perMonth.money)) << where;
            ASSERT_EQ(days(perDay.pesticide), days(perMonth.pesticide)) << where;
            ASSERT_EQ(days(perDay.shipment), days(perMonth.shipment)) << where;
            for (int d = 1; d <= 31; ++d) {
                const auto &a = perDay.diary[static_cast<std::size_t>(d)];
                const auto &b = perMonth.diary[static_cast<std::size_t>(d)];
                ASSERT_EQ(a.has_value(), d <= month.daysInMonth()) << where << " day " << d;
                ASSERT_EQ(a.has_value(), b.has_value()) << where << " day " << d;
                if (!a)
                    continue;
                EXPECT_EQ(a->wthId, b->wthId) << where << " day " << d;
                EXPECT_EQ(a->loTmp, b->loTmp) << where << " day " << d;
                EXPECT_EQ(a->hiTmp, b->hiTmp) << where << " day " << d;
                EXPECT_EQ(a->oneMsg, b->oneMsg) << where << " day " << d;
                EXPECT_NE(b->oneMsg, V("時刻つき")) << where << " day " << d;
                (perDay.money[static_cast<std::size_t>(d)] ? marked : unmarked)++;
            }
        }
    }
    // The data set marks some days and leaves others: the comparison means something.
    EXPECT_GT(marked, 50);
    EXPECT_GT(unmarked, 50);
}

TEST_P(CalendarData, DiaryRowsAreFoundForTheirDaysOnly)
{
    diary(1, QDate(2024, 4, 30), V(1), V(1.0), V(2.0), V("前月"));
    diary(1, QDate(2024, 5, 1), V(2), V(3.5), V(20.0), V("初日"));
    diary(1, QDate(2024, 5, 15), V::null(), V::null(), V::null(), V::null());
    diary(1, QDate(2024, 5, 31), V(10), V(-2.0), V(12.0), V("末日 'quote' #1 100%"));
    diary(2, QDate(2024, 5, 20), V(3), V(1.0), V(2.0), V("他の生産者"));
    diary(1, QDate(2023, 5, 20), V(3), V(1.0), V(2.0), V("去年"));
    diary(1, QDate(2024, 6, 1), V(3), V(1.0), V(2.0), V("翌月"));
    // Rows with a time of day are never the day itself, on the edges of the month or inside it.
    diary(1, QDate(), V(4), V(1.0), V(2.0), V("昼"), at(2024, 5, 20, 12));
    diary(1, QDate(), V(4), V(1.0), V(2.0), V("月末の夜"), at(2024, 5, 31, 23, 59));
    diary(1, QDate(), V(4), V(1.0), V(2.0), V("前月末の夜"), at(2024, 4, 30, 23, 59));
    for (auto how : {hb::CalMarkQuery::PerDay, hb::CalMarkQuery::PerMonth}) {
        const char *way = how == hb::CalMarkQuery::PerDay ? "day by day" : "by month";
        const auto data = hb::loadCalMonth(*hb::gDb, QDate(2024, 5, 1), 1, kAllLayers, 0, how);
        std::set<int> found;
        for (int d = 1; d <= 31; ++d) {
            if (data.diary[static_cast<std::size_t>(d)])
                found.insert(d);
        }
        EXPECT_EQ(found, (std::set<int>{1, 15, 31})) << way;
        EXPECT_EQ(data.diary[1]->oneMsg, Value("初日")) << way;
        EXPECT_EQ(data.diary[1]->wthId.toLong(), 2) << way;
        EXPECT_DOUBLE_EQ(data.diary[1]->loTmp.toDouble(), 3.5) << way;
        EXPECT_TRUE(data.diary[15]->wthId.isNull()) << way;
        EXPECT_TRUE(data.diary[15]->hiTmp.isNull()) << way;
        EXPECT_EQ(data.diary[31]->oneMsg, Value("末日 'quote' #1 100%")) << way;
        // A grower without rows, and a month without rows.
        const auto none = hb::loadCalMonth(*hb::gDb, QDate(2024, 5, 1), 3, kAllLayers, 0, how);
        const auto empty = hb::loadCalMonth(*hb::gDb, QDate(2024, 7, 1), 1, kAllLayers, 0, how);
        for (int d = 1; d <= 31; ++d) {
            EXPECT_FALSE(none.diary[static_cast<std::size_t>(d)]) << way;
            EXPECT_FALSE(empty.diary[static_cast<std::size_t>(d)]) << way;
        }
    }
}

TEST_P(CalendarData, PlantingFilterListsThePlantingsLiveInTheMonth)
{
    planting(1, 1, V("春キャベツ"), day(2024, 3, 1), day(2024, 4, 1), V::null());
    planting(1, 2, V("枝豆"), day(2024, 1, 1), day(2024, 5, 31), V::null());       // starts on the last day
    planting(1, 3, V("秋ナス"), day(2023, 12, 1), day(2024, 6, 1), V::null());      // not started yet
    planting(1, 4, V("冬大根"), day(2023, 11, 1), day(2024, 1, 1), day(2024, 4, 30));  // ended before
    planting(1, 5, V("玉ねぎ"), day(2024, 2, 1), day(2024, 1, 1), day(2024, 5, 1));    // ends on the first day
    planting(2, 6, V("他の生産者"), day(2024, 2, 1), day(2024, 1, 1), V::null());
    planting(1, 7, V::null(), day(2024, 4, 15), day(2024, 5, 10), V::null());
    const auto list = hb::loadCalPlantings(*hb::gDb, QDate(2024, 5, 1), 1);
    std::vector<std::pair<long, QString>> got;
    for (const auto &p : list)
        got.emplace_back(p.id, p.name);
    const std::vector<std::pair<long, QString>> expected{{2, "枝豆"}, {5, "玉ねぎ"}, {1, "春キャベツ"}, {7, ""}};
    EXPECT_EQ(got, expected);
    EXPECT_TRUE(hb::loadCalPlantings(*hb::gDb, QDate(2024, 5, 1), 9).empty());
}

// ---- render model ------------------------------------------------------------------------------

TEST_P(CalendarData, CellsShowTheirLayers)
{
    const QDate may(2024, 5, 1);  // Wednesday: cells 3..33
    diary(1, QDate(2024, 5, 13), V::null(), V::null(), V::null(), V::null());
    diary(1, QDate(2024, 5, 14), V(0), V(5.0), V(25.0), V("晴天"));
    diary(1, QDate(2024, 5, 15), V(11), V(45.0), V(-15.0), V(""));  // low above high is drawn just the same
    diary(1, QDate(2024, 5, 16), V(10), V(-15.0), V(45.0), V("x"));
    const QString longNote = QStringLiteral("朝から畝立てと定植、午後は支柱立てと誘引、夕方に灌水と見回りをした長い一日");
    diary(1, QDate(2024, 5, 18), V(5), V(10.0), V(20.0), V(longNote));
    voucher(1, 1, at(2024, 5, 6), 1000, 4000);
    line(1, at(2024, 5, 6), 1, V(10), V(3));
    shipment(1, 1, at(2024, 5, 6), V(10));

    const CalGeometry g = CalGeometry::compute(6900, 12030, may);
    const QFont face(QString::fromLatin1(hb::kUiFontFamily));
    const auto build = [&](const CalLayers &layers, int today) {
        return hb::buildCalView(hb::loadCalMonth(*hb::gDb, may, 1, layers, 0), g, layers, today, QColor(240, 240, 240), face);
    };
    const hb::CalView v = build(kAllLayers, 14);
    ASSERT_EQ(v.cells.size(), 31u);
    EXPECT_EQ(v.cells.front().cell, 3);
    EXPECT_EQ(v.cells.back().cell, 33);

    // Null temperatures: a line at the 0-degree height; Null weather: image 1.
    const hb::CalCell *c13 = v.cellOfDay(13);
    ASSERT_TRUE(c13->tempBar);
    EXPECT_DOUBLE_EQ(c13->tempBar->top(), c13->y + 0.8 * g.Ch);
    EXPECT_DOUBLE_EQ(c13->tempBar->height(), 0.0);
    EXPECT_DOUBLE_EQ(c13->tempBar->left(), c13->x);
    EXPECT_DOUBLE_EQ(c13->tempBar->width(), g.Cw);
    EXPECT_EQ(c13->weather, 1);
    EXPECT_TRUE(c13->note.empty());

    const hb::CalCell *c14 = v.cellOfDay(14);
    EXPECT_EQ(c14->weather, 0);  // ID 0: no image
    EXPECT_DOUBLE_EQ(c14->tempBar->top(), c14->y + 15.0 / 50 * g.Ch);
    EXPECT_DOUBLE_EQ(c14->tempBar->bottom(), c14->y + 35.0 / 50 * g.Ch);
    EXPECT_EQ(c14->noteShown(), "晴天");
    EXPECT_EQ(c14->noteLines, 1);
    EXPECT_DOUBLE_EQ(c14->note.front().y, c14->y + g.Ch / 2.0);
    EXPECT_TRUE(c14->today);

    EXPECT_EQ(v.cellOfDay(15)->weather, 0);  // ID 11: no image
    EXPECT_EQ(v.cellOfDay(16)->weather, 10);
    // Beyond 40 and -10 degrees the bar leaves the cell; nothing is clamped.
    const hb::CalCell *c16 = v.cellOfDay(16);
    EXPECT_DOUBLE_EQ(c16->tempBar->top(), c16->y - 0.1 * g.Ch);
    EXPECT_DOUBLE_EQ(c16->tempBar->bottom(), c16->y + 1.1 * g.Ch);
    const hb::CalCell *c15 = v.cellOfDay(15);
    EXPECT_DOUBLE_EQ(c15->tempBar->top(), c15->y - 0.1 * g.Ch);
    EXPECT_DOUBLE_EQ(c15->tempBar->bottom(), c15->y + 1.1 * g.Ch);

    // A long note: two lines in the lower half, each broken before the character that would
    // reach the right edge, the rest cut.
    const hb::CalCell *c18 = v.cellOfDay(18);
    EXPECT_EQ(c18->noteLines, 2);
    const QString shown = c18->noteShown();
    EXPECT_LT(shown.size(), longNote.size());
    EXPECT_TRUE(longNote.startsWith(shown));
    const QFontMetricsF fm(hb::calFont(face, g.S));
    int secondLine = 0;
    for (const hb::CalNoteChar &ch : c18->note) {
        EXPECT_LT(ch.x + fm.horizontalAdvance(ch.text), c18->x + g.Cw) << ch.text.toStdString();
        EXPECT_GE(ch.x, c18->x);
        if (ch.y == c18->y + g.Ch / 2.0 + g.S)
            ++secondLine;
        else
            EXPECT_DOUBLE_EQ(ch.y, c18->y + g.Ch / 2.0);
    }
    EXPECT_GT(secondLine, 0);
    // The next character would not have fitted on the second line.
    const QString next = longNote.mid(shown.size(), 1);
    EXPECT_GE(c18->note.back().x + fm.horizontalAdvance(c18->note.back().text), c18->x + g.Cw - fm.horizontalAdvance(next));

    // A day with a voucher, a pesticide line and a shipment but no diary row: its marks only.
    const hb::CalCell *c6 = v.cellOfDay(6);
    EXPECT_FALSE(c6->hasDiary);
    EXPECT_TRUE(c6->money && c6->pesticide && c6->shipment);
    EXPECT_FALSE(c6->tempBar);
    EXPECT_EQ(c6->weather, 0);
    EXPECT_TRUE(c6->note.empty());

    // Day colours: Sunday red, Saturday blue, weekdays black; only the given day is today.
    EXPECT_EQ(v.cellOfDay(5)->dayColor, QColor(255, 0, 0));
    EXPECT_EQ(v.cellOfDay(4)->dayColor, QColor(0, 0, 255));
    EXPECT_EQ(v.cellOfDay(6)->dayColor, QColor(0, 0, 0));
    int todays = 0;
    for (const auto &c : v.cells)
        todays += c.today ? 1 : 0;
    EXPECT_EQ(todays, 1);

    // Layers off: no bar, no weather, no marks; the note stays.
    const hb::CalView off = build(CalLayers{}, 0);
    for (const auto &c : off.cells) {
        EXPECT_FALSE(c.tempBar) << c.day;
        EXPECT_EQ(c.weather, 0) << c.day;
        EXPECT_FALSE(c.money || c.pesticide || c.shipment) << c.day;
        EXPECT_FALSE(c.today) << c.day;
    }
    EXPECT_EQ(off.cellOfDay(14)->noteShown(), "晴天");
}

HB_INSTANTIATE_BOTH_BACKENDS(CalendarData);

}  // namespace
