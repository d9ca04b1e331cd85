#pragma once
// Old (lunisolar) calendar of the diary: the old date with its leap months, the rokuyo and the
// sexagenary day, computed from the positions of the sun and the moon on every call.
//
// Moments are "day numbers": the Julian Day Number of the civil date minus one, plus the time of
// day in Japan Standard Time as a fraction, so the integer part changes at 00:00 Japan time
// (2000-01-01 00:00 is 2451544.0). Everything here is a pure function of its argument and may run
// on any thread.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include <array>

namespace hb {

// Year, month, day, hour, minute, second (indices 0 to 5).
using CivilDateTime = std::array<qint16, 6>;
// A moment found by a solar-term search: day number (index 0) and solar longitude in degrees (1).
using SolarMoment = std::array<double, 2>;
// Old date: year (index 0), leap flag 0/1 (1), month 1..12 (2), day 1..30 (3).
using OldDate = std::array<qint16, 4>;

// --- time scale -------------------------------------------------------------------------------

// Civil date and time (its fields taken as Japan time) to day number.
double DateToJD(const QDateTime &d);
double DateToJD(const QDate &d);
// Day number to civil date and time; seconds are truncated, never rounded up.
CivilDateTime JDToDate(double x);

// --- astronomy --------------------------------------------------------------------------------

// Reduces an angle in degrees by whole turns into [0, 360]; a negative whole number of turns
// gives 360.
double NormalizeAngle(double a);
// Ecliptic longitudes in degrees, t in Julian centuries from JD 2451545.0.
double LongitudeSun(double t);
double LongitudeMoon(double t);

// The principal solar term (longitude a multiple of 30 degrees) at or before day number x.
SolarMoment CalcChu(double x);
// The solstice or equinox (longitude a multiple of 90 degrees) at or before day number x.
SolarMoment BeforeNibun(double x);
// Day number of the new moon at or before x. When the search does not settle it returns
// x + 0.375, which callers take as a new moon like any other.
double CalcSaku(double x);

// --- old calendar -----------------------------------------------------------------------------

OldDate CalcKyureki(const QDateTime &d);
OldDate CalcKyureki(const QDate &d);
// "旧" [+ "閏"] + month + "/" + day, e.g. 旧11/25 or 旧閏4/1.
QString GetOldDateStr(const QDateTime &d);
QString GetOldDateStr(const QDate &d);
// Rokuyo index 0..5: (old month + old day) mod 6.
qint16 GetRokuyo(const QDateTime &d);
qint16 GetRokuyo(const QDate &d);
// Sexagenary day number 1..60 (1 = 甲子, e.g. 2000-01-07); the time of day has no effect.
qint16 GetDayEto(const QDateTime &d);
qint16 GetDayEto(const QDate &d);

} // namespace hb
