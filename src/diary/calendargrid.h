#pragma once
// The month grid of the diary calendar: its geometry in twips, what the data database says about
// each day of the month, and the render model (what each cell shows, where) that the picture is
// painted from. Nothing here touches a window; the data part needs no GUI at all.

#include "core/value.h"

#include <QColor>
#include <QDate>
#include <QFont>
#include <QRectF>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace hb {

class DbObject;

// The five layers of the calendar, in the order of their check boxes and CAL_OPT keys.
enum CalLayer : int { kLayerTemp = 0, kLayerWeather = 1, kLayerMoney = 2, kLayerPesticide = 3, kLayerShipment = 4 };
constexpr int kCalLayerCount = 5;
using CalLayers = std::array<bool, kCalLayerCount>;

// Geometry of one month drawn into a picture of H x W twips.
struct CalGeometry {
    int H = 0, W = 0;  // inner height and width of the picture
    int F = 0;         // weekday of the first day, 0 Sunday .. 6 Saturday
    int N = 0;         // days of the month
    int R = 0;         // rows: 4, 5 or 6
    int Hh = 0;        // height of the weekday header
    int Ch = 0;        // cell height
    int Cw = 0;        // cell width
    double S = 0;      // side of an image and height of a note line: Ch / 4

    static CalGeometry compute(double heightTwips, double widthTwips, const QDate &month);
    bool valid() const { return Ch > 0 && Cw > 0; }
    int cellX(int cell) const { return (cell % 7) * Cw; }
    int cellY(int cell) const { return (cell / 7) * Ch + Hh; }
    // The day a cell shows, 0 for a cell before the first or after the last day.
    int dayOfCell(int cell) const;
    // The day under a point of the picture (twips), 0 on the header, an empty cell or outside
    // the grid.
    int dayAt(double X, double Y) const;
};

// The diary row of a day, as far as the calendar shows it.
struct CalDiaryRow {
    Value wthId;
    Value loTmp;
    Value hiTmp;
    Value oneMsg;
};

// How a month is read: day by day (every diary row of the grower searched for each day, one
// count per day and mark layer), or by month (the month's diary rows and one grouped query per
// mark layer, each bounded by the month's dates). Both give the same data; the redraw reads by
// month, so its cost does not grow with the years of data.
enum class CalMarkQuery { PerDay, PerMonth };

// What the data database holds for the days of one month of one grower.
struct CalMonthData {
    QDate month;                                     // its first day
    std::array<std::optional<CalDiaryRow>, 32> diary;  // by day 1..31
    std::array<bool, 32> money{};
    std::array<bool, 32> pesticide{};
    std::array<bool, 32> shipment{};
};

// Reads the diary rows and the marks of the layers that are on. plantFilter > 0 limits the
// pesticide and shipment marks to that planting.
CalMonthData loadCalMonth(DbObject &db, const QDate &month, long fmrId, const CalLayers &layers, long plantFilter,
                          CalMarkQuery how = CalMarkQuery::PerMonth);

// One entry of the planting filter.
struct CalPlanting {
    long id = 0;
    QString name;
};
// The grower's plantings that have started by the month's last day and not ended before its
// first day, in planting-date order.
std::vector<CalPlanting> loadCalPlantings(DbObject &db, const QDate &month, long fmrId);

// ---- render model ------------------------------------------------------------------------------

// A character of the one-line note, with the top-left corner it is drawn at.
struct CalNoteChar {
    QString text;
    double x = 0;
    double y = 0;
};

struct CalCell {
    int cell = 0;
    int day = 0;
    int x = 0, y = 0;
    bool today = false;
    bool hasDiary = false;
    std::optional<QRectF> tempBar;  // the green bar, normalised
    int weather = 0;                // image 1..10 of the weather list, 0 none
    std::vector<CalNoteChar> note;  // the characters shown, in at most two lines
    int noteLines = 0;
    bool money = false, pesticide = false, shipment = false;
    QColor dayColor;
    // The note as shown (what the characters spell).
    QString noteShown() const;
};

struct CalView {
    CalGeometry g;
    QDate month;
    int today = 0;  // the day drawn as today, 0 when the month is not the system month
    QColor windowColor;
    std::vector<CalCell> cells;  // the cells that show a day, in cell order
    const CalCell *cellOfDay(int day) const;
};

// Colours written as 0xBBGGRR, as the layers name them.
QColor bgrColor(unsigned bgr);
// The font of the picture whose text is `twips` high (its ascent plus descent, as the point
// sizes of the drawing mean it), for a painter working in twips.
QFont calFont(const QFont &face, double twips);

// Lays out the month: what each cell shows and where, in twips.
CalView buildCalView(const CalMonthData &data, const CalGeometry &g, const CalLayers &layers, int today,
                     const QColor &windowColor, const QFont &face);

}  // namespace hb
