#include "diary/lunisolar.h"

#include <QTimeZone>

#include <cmath>

namespace hb {

namespace {

// Degrees to radians as the series were tuned with (pi rounded to 3.14159265358979, over 180).
constexpr double kDegToRad = 0.017453292519943278;
// Japan Standard Time is UT + 9 h.
constexpr double kJstOffset = 9.0 / 24.0;
// A search has settled when its last correction is at most one second of a day.
constexpr double kOneSecond = 1.0 / 86400.0;
// Solar-term searches normally settle in a handful of steps; the cap only guards against a
// pathological argument spinning forever.
constexpr int kMaxTermIterations = 100;

struct Term {
    double amplitude; // degrees
    double rate;      // degrees per Julian century
    double phase;     // degrees
};

// Periodic terms of the solar longitude, summed in this order. The two terms with rate
// 35999.05 (one scaled by t) are handled in LongitudeSun.
constexpr Term kSunTerms[] = {
    {0.0004, 31557, 161},
    {0.0004, 29930, 48},
    {0.0005, 2281, 221},
    {0.0005, 155, 118},
    {0.0006, 33718, 316},
    {0.0007, 9038, 64},
    {0.0007, 3035, 110},
    {0.0007, 65929, 45},
    {0.0013, 22519, 352},
    {0.0015, 45038, 254},
    {0.0018, 445267, 208},
    {0.0018, 19, 159},
    {0.002, 32964, 158},
    {0.02, 71998.1, 265.1},
};

// Periodic terms of the lunar longitude, summed in this order.
constexpr Term kMoonTerms[] = {
    {0.0003, 2322131, 191},
    {0.0003, 4067, 70},
    {0.0003, 549197, 220},
    {0.0003, 1808933, 58},
    {0.0003, 349472, 337},
    {0.0003, 381404, 354},
    {0.0003, 958465, 340},
    {0.0004, 12006, 187},
    {0.0004, 39871, 223},
    {0.0005, 509131, 242},
    {0.0005, 1745069, 24},
    {0.0005, 1908795, 90},
    {0.0006, 2258267, 156},
    {0.0006, 111869, 38},
    {0.0007, 27864, 127},
    {0.0007, 485333, 186},
    {0.0007, 405201, 50},
    {0.0007, 790672, 114},
    {0.0008, 1403732, 98},
    {0.0009, 858602, 129},
    {0.0011, 1920802, 186},
    {0.0012, 1267871, 249},
    {0.0016, 1856938, 152},
    {0.0018, 401329, 274},
    {0.0021, 341337, 16},
    {0.0021, 71998, 85},
    {0.0021, 990397, 357},
    {0.0022, 818536, 151},
    {0.0023, 922466, 163},
    {0.0024, 99863, 122},
    {0.0026, 1379739, 17},
    {0.0027, 918399, 182},
    {0.0028, 1934, 145},
    {0.0037, 541062, 259},
    {0.0038, 1781068, 21},
    {0.004, 133, 29},
    {0.004, 1844932, 56},
    {0.004, 1331734, 283},
    {0.005, 481266, 205},
    {0.0052, 31932, 107},
    {0.0068, 926533, 323},
    {0.0079, 449334, 188},
    {0.0085, 826671, 111},
    {0.01, 1431597, 315},
    {0.0107, 1303870, 246},
    {0.011, 489205, 142},
    {0.0125, 1443603, 52},
    {0.0154, 75870, 41},
    {0.0304, 513197.9, 222.5},
    {0.0347, 445267.1, 27.9},
    {0.0409, 441199.8, 47.4},
    {0.0458, 854535.2, 148.2},
    {0.0533, 1367733.1, 280.7},
    {0.0571, 377336.3, 13.2},
    {0.0588, 63863.5, 124.2},
    {0.1144, 966404, 276.5},
    {0.1851, 35999.05, 87.53},
    {0.2136, 954397.74, 179.93},
    {0.6583, 890534.22, 145.7},
    {1.274, 413335.35, 10.74},
    {6.2888, 477198.868, 44.963},
};

double floorDiv(double a, double b) { return std::floor(a / b); }

double termValue(const Term &term, double t)
{
    return term.amplitude * std::cos(kDegToRad * NormalizeAngle(term.rate * t + term.phase));
}

// Julian centuries from JD 2451545.0 (UT) for a moment kept as whole part x1 and fraction x2,
// where x2 already has the Japan-time offset taken off.
double centuries(double x1, double x2)
{
    return (x2 + 0.5) / 36525.0 + (x1 - 2451545.0) / 36525.0;
}

// Moves a moment kept as whole days x1 and fraction x2 back by `days`, taken off as whole days
// and a fraction; a fraction that goes negative borrows a day. Returns the size of the move.
double stepBack(double &x1, double &x2, double days)
{
    const double whole = std::floor(days);
    const double fraction = days - whole;
    x1 -= whole;
    x2 -= fraction;
    if (x2 < 0.0) {
        x2 += 1.0;
        x1 -= 1.0;
    }
    return whole + fraction;
}

// Shared search for the moment at or before x when the solar longitude last crossed a multiple
// of `step` degrees.
SolarMoment solarTermBefore(double x, double step)
{
    double x1 = std::floor(x);
    double x2 = x - x1 - kJstOffset;

    const double target = step * std::floor(LongitudeSun(centuries(x1, x2)) / step);

    double moved = 1.0;
    for (int iteration = 0; std::fabs(moved) > kOneSecond && iteration < kMaxTermIterations;
         ++iteration) {
        double d = LongitudeSun(centuries(x1, x2)) - target;
        if (d > 180.0)
            d -= 360.0;
        else if (d < -180.0)
            d += 360.0;

        moved = stepBack(x1, x2, d * 365.2 / 360.0);
    }
    return {x1 + (x2 + kJstOffset), target};
}

// A date at 00:00 whose fields no time-zone transition can shift.
QDateTime midnight(const QDate &d) { return QDateTime(d, QTime(0, 0), QTimeZone::utc()); }

struct MonthRow {
    int month = 0;
    int leap = 0;
    double firstDay = 0.0;
};

} // namespace

// --- time scale -------------------------------------------------------------------------------

double DateToJD(const QDateTime &d)
{
    // Only the fields count: the value is read as Japan time whatever time zone it carries.
    const QDate date = d.date();
    const QTime time = d.time();
    double y = date.year();
    double m = date.month();
    const double day = date.day();
    if (m < 3) {
        y -= 1.0;
        m += 12.0;
    }
    const double n = std::floor(365.25 * y) + floorDiv(y, 400.0) - floorDiv(y, 100.0)
        + std::floor(30.59 * (m - 2.0)) + 1721088.0 + day;
    const double s = time.second();
    const double mi = time.minute();
    const double h = time.hour();
    return n + (s / 3600.0 + mi / 60.0 + h) / 24.0;
}

double DateToJD(const QDate &d) { return DateToJD(midnight(d)); }

CivilDateTime JDToDate(double x)
{
    const double a = std::floor(x + 68570.0);
    const double b = floorDiv(a, 36524.25);
    const double c = a - std::floor(36524.25 * b + 0.75);
    const double d = floorDiv(c + 1.0, 365.2425);
    const double e = c - std::floor(365.25 * d) + 31.0;
    const double f = floorDiv(e, 30.59);
    const double g = floorDiv(f, 11.0);

    double day = e - std::floor(30.59 * f);
    const double month = f - 12.0 * g + 2.0;
    const double year = 100.0 * (b - 49.0) + d + g;

    // The month formula runs February on to day 30; pull it back to the month's real end.
    if (month == 2.0 && day > 28.0) {
        const long long yy = static_cast<long long>(year);
        const bool leapYear = (yy % 4 == 0) && (yy % 100 != 0 || yy % 400 == 0);
        day = leapYear ? 29.0 : 28.0;
    }

    const double s = 86400.0 * (x - std::floor(x));
    const double hour = std::floor(s / 3600.0);
    const double minute = std::floor((s - 3600.0 * hour) / 60.0);
    const double second = std::floor(s - 3600.0 * hour - 60.0 * minute);

    return {static_cast<qint16>(year), static_cast<qint16>(month), static_cast<qint16>(day),
            static_cast<qint16>(hour), static_cast<qint16>(minute), static_cast<qint16>(second)};
}

// --- astronomy --------------------------------------------------------------------------------

double NormalizeAngle(double a)
{
    if (a < 0.0) {
        const double b = -a - 360.0 * std::floor(-a / 360.0);
        return 360.0 - b;
    }
    return a - 360.0 * std::floor(a / 360.0);
}

double LongitudeSun(double t)
{
    double s = 0.0;
    for (const Term &term : kSunTerms)
        s += termValue(term, t);

    // Equation of centre: one angle, an amplitude that shrinks slowly with t and a fixed one.
    const double c = std::cos(kDegToRad * NormalizeAngle(35999.05 * t + 267.52));
    s -= 0.0048 * t * c;
    s += 1.9147 * c;

    double l = NormalizeAngle(36000.7695 * t);
    l = NormalizeAngle(l + 280.4659);
    return NormalizeAngle(s + l);
}

double LongitudeMoon(double t)
{
    double s = 0.0;
    for (const Term &term : kMoonTerms)
        s += termValue(term, t);

    double l = NormalizeAngle(481267.8809 * t);
    l = NormalizeAngle(l + 218.3162);
    return NormalizeAngle(s + l);
}

SolarMoment CalcChu(double x) { return solarTermBefore(x, 30.0); }

SolarMoment BeforeNibun(double x) { return solarTermBefore(x, 90.0); }

double CalcSaku(double x)
{
    double x1 = std::floor(x);
    double x2 = x - x1 - kJstOffset;
    double moved = 1.0;

    for (int n = 1; std::fabs(moved) > kOneSecond; ++n) {
        const double t = centuries(x1, x2);
        const double sun = LongitudeSun(t);
        const double moon = LongitudeMoon(t);
        double d = moon - sun;

        if (n == 1 && d < 0.0)
            d = NormalizeAngle(d);
        else if (sun >= 0.0 && sun <= 20.0 && moon >= 300.0)
            d = 360.0 - NormalizeAngle(d);
        else if (std::fabs(d) > 40.0)
            d = NormalizeAngle(d);

        moved = stepBack(x1, x2, d * 29.530589 / 360.0);

        if (std::fabs(moved) > kOneSecond) {
            if (n == 15) {
                // Start once more from 26 days before the argument.
                x1 = std::floor(x - 26.0);
                x2 = 0.0;
            } else if (n > 30) {
                // No convergence: fall back to the argument itself.
                x1 = x;
                x2 = 0.0;
                break;
            }
        }
    }
    return (x2 + x1) + kJstOffset;
}

// --- old calendar -----------------------------------------------------------------------------

OldDate CalcKyureki(const QDateTime &date)
{
    const double x = DateToJD(date);

    // The last solstice or equinox and the three principal terms after it.
    SolarMoment chu[4];
    chu[0] = BeforeNibun(x);
    for (int i = 1; i < 4; ++i)
        chu[i] = CalcChu(chu[i - 1][0] + 32.0);

    // Five consecutive new moons from the one at or before that solstice or equinox.
    double saku[5];
    saku[0] = CalcSaku(chu[0][0]);
    for (int i = 1; i < 5; ++i) {
        saku[i] = CalcSaku(saku[i - 1] + 30.0);
        // Landed on the same new moon again: reach a little further.
        if (std::fabs(std::floor(saku[i - 1]) - std::floor(saku[i])) <= 26.0)
            saku[i] = CalcSaku(saku[i - 1] + 35.0);
    }

    // The first month must be the one that holds the solstice or equinox.
    const double c0 = std::floor(chu[0][0]);
    if (std::floor(saku[1]) <= c0) {
        for (int i = 0; i < 4; ++i)
            saku[i] = saku[i + 1];
        saku[4] = CalcSaku(saku[3] + 35.0);
    } else if (std::floor(saku[0]) > c0) {
        for (int i = 4; i > 0; --i)
            saku[i] = saku[i - 1];
        saku[0] = CalcSaku(saku[0] - 27.0);
    }

    // Five new moons within the span of three principal terms: one month lacks a term and is
    // the leap month.
    bool leapPending = std::floor(saku[4]) <= std::floor(chu[3][0]);

    MonthRow rows[5];
    rows[0].month = static_cast<int>(std::floor(chu[0][1] / 30.0)) + 2;
    rows[0].leap = 0;
    rows[0].firstDay = std::floor(saku[0]);
    for (int i = 1; i < 5; ++i) {
        if (leapPending && i >= 2) {
            const double term = std::floor(chu[i - 1][0]);
            if (term <= std::floor(saku[i - 1]) || term >= std::floor(saku[i])) {
                rows[i - 1].month = rows[i - 2].month;
                rows[i - 1].leap = 1;
                leapPending = false;
            }
        }
        rows[i].month = rows[i - 1].month + 1;
        if (rows[i].month > 12)
            rows[i].month -= 12;
        rows[i].leap = 0;
        rows[i].firstDay = std::floor(saku[i]);
    }

    // The month that holds the date. A date before the first month (possible only when a
    // new-moon search gave up) is counted in the first month.
    const double n = std::floor(x);
    int row = 4;
    for (int i = 0; i < 5; ++i) {
        if (rows[i].firstDay > n) {
            row = i > 0 ? i - 1 : 0;
            break;
        }
        if (rows[i].firstDay == n) {
            row = i;
            break;
        }
    }

    OldDate result{};
    result[1] = static_cast<qint16>(rows[row].leap);
    result[2] = static_cast<qint16>(rows[row].month);
    result[3] = static_cast<qint16>(n - rows[row].firstDay + 1.0);

    // The last months of an old year fall in the next civil year.
    const CivilDateTime civil = JDToDate(x);
    result[0] = civil[0];
    if (result[2] > 9 && result[2] > civil[1])
        result[0] = static_cast<qint16>(civil[0] - 1);
    return result;
}

OldDate CalcKyureki(const QDate &d) { return CalcKyureki(midnight(d)); }

QString GetOldDateStr(const QDateTime &d)
{
    const OldDate old = CalcKyureki(d);
    QString text = QStringLiteral("旧");
    if (old[1] != 0)
        text += QStringLiteral("閏");
    text += QString::number(old[2]) + QLatin1Char('/') + QString::number(old[3]);
    return text;
}

QString GetOldDateStr(const QDate &d) { return GetOldDateStr(midnight(d)); }

qint16 GetRokuyo(const QDateTime &d)
{
    const OldDate old = CalcKyureki(d);
    return static_cast<qint16>((old[2] + old[3]) % 6);
}

qint16 GetRokuyo(const QDate &d) { return GetRokuyo(midnight(d)); }

qint16 GetDayEto(const QDateTime &d)
{
    const long long jdn = static_cast<long long>(std::floor(DateToJD(d))) + 1;
    const long long r = (jdn + 49) % 60;
    return static_cast<qint16>((r < 0 ? r + 60 : r) + 1);
}

qint16 GetDayEto(const QDate &d) { return GetDayEto(midnight(d)); }

} // namespace hb
