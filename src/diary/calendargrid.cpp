#include "diary/calendargrid.h"

#include "core/db.h"

#include <QFontMetricsF>
#include <QStringList>
#include <cmath>

namespace hb {

namespace {

const QString kAccCash = QStringLiteral("1000");
const QString kAccBank = QStringLiteral("1010");

QString dateKey(const QDate &d)
{
    return d.toString(QStringLiteral("yyyy/MM/dd"));
}

// Integer division of two values first rounded to whole numbers (halves to even), as the
// geometry and the day click divide.
int roundDiv(double a, int b)
{
    if (b == 0)
        return 0;
    return static_cast<int>(roundHalfEven(a) / b);
}

QString fmrCondition(long fmrId)
{
    return QStringLiteral(" FMR_ID = ") + QString::number(fmrId);
}

QString plantSuffix(long plantFilter)
{
    return plantFilter > 0 ? QStringLiteral(" AND PLANT_ID=") + QString::number(plantFilter) : QString();
}

// The vouchers that touch cash or the bank deposit on either side.
QString moneyAccounts()
{
    return QStringLiteral(" AND ((D_ACC_ID IN(") + kAccCash + QStringLiteral(",") + kAccBank + QStringLiteral(")) ")
           + QStringLiteral(" OR (C_ACC_ID IN(") + kAccCash + QStringLiteral(",") + kAccBank + QStringLiteral(")))");
}

// The conditions of the three marks for one day (key "yyyy/mm/dd").
QString moneyCondition(long fmrId, const QString &key)
{
    return fmrCondition(fmrId) + QStringLiteral(" AND LEDGE_DATE=#") + key + QStringLiteral("#") + moneyAccounts();
}

QString pesticideCondition(long fmrId, const QString &key, long plantFilter)
{
    return fmrCondition(fmrId) + QStringLiteral(" AND WORK_DATE=#") + key + QStringLiteral("#")
           + QStringLiteral(" AND CHEMI_ID>0") + plantSuffix(plantFilter);
}

QString shipmentCondition(long fmrId, const QString &key, long plantFilter)
{
    return fmrCondition(fmrId) + QStringLiteral(" AND SHIP_DATE=#") + key + QStringLiteral("#") + plantSuffix(plantFilter);
}

bool counted(const Value &count)
{
    return !count.isNull() && !count.isEmpty() && count.toLong() != 0;
}

// The day of `month` that a date value stands for: only a value at 00:00:00 is the day itself
// (as a search for "WORK_DATE=#day#" finds it); 0 for any other value.
int midnightDay(const Value &v, const QDate &month)
{
    if (!v.isDate())
        return 0;
    const QDateTime dt = v.toDateFields();
    if (dt.time() != QTime(0, 0) || dt.date().year() != month.year() || dt.date().month() != month.month())
        return 0;
    return dt.date().day();
}

// " AND <column>>=#first# AND <column><=#last#": the month's days at 00:00:00, which is all the
// midnight rule can find.
QString monthRange(const QString &dateColumn, const QDate &month)
{
    const QDate last = month.addMonths(1).addDays(-1);
    return QStringLiteral(" AND ") + dateColumn + QStringLiteral(">=#") + dateKey(month) + QStringLiteral("# AND ")
           + dateColumn + QStringLiteral("<=#") + dateKey(last) + QStringLiteral("#");
}

// The days of the month on which a date column holds the day itself: one grouped query for the
// month with the same conditions as the daily count, the day's equality replaced by the
// month's range.
void markMonth(DbObject &db, const QString &table, const QString &dateColumn, const QString &rest, long fmrId,
               const QDate &month, std::array<bool, 32> &out)
{
    auto rs = db.GetFwdOnlyRst(QStringLiteral("SELECT ") + dateColumn + QStringLiteral(" FROM ") + table
                               + QStringLiteral(" WHERE") + fmrCondition(fmrId) + monthRange(dateColumn, month) + rest
                               + QStringLiteral(" GROUP BY ") + dateColumn);
    for (; !rs->eof(); rs->MoveNext()) {
        if (const int d = midnightDay(rs->Fields(0), month))
            out[static_cast<std::size_t>(d)] = true;
    }
    rs->Close();
}

// The month's diary rows, the columns drawn, looked up by day.
void diaryOfMonth(DbObject &db, long fmrId, CalMonthData &data)
{
    auto rs = db.GetFwdOnlyRst(QStringLiteral("SELECT WORK_DATE, WTH_ID, LO_TMP, HI_TMP, ONE_MSG FROM D_DIARY WHERE")
                               + fmrCondition(fmrId) + monthRange(QStringLiteral("WORK_DATE"), data.month)
                               + QStringLiteral(" ORDER BY WORK_DATE"));
    for (; !rs->eof(); rs->MoveNext()) {
        if (const int d = midnightDay(rs->Fields(0), data.month))
            data.diary[static_cast<std::size_t>(d)] = CalDiaryRow{rs->Fields(1), rs->Fields(2), rs->Fields(3), rs->Fields(4)};
    }
    rs->Close();
}

// The same rows found the day-by-day way: every diary row of the grower, searched for each day
// of the month in turn.
void diaryByDay(DbObject &db, long fmrId, CalMonthData &data)
{
    auto rs = db.GetStaticRst(QStringLiteral("SELECT D_DIARY.* FROM D_DIARY WHERE FMR_ID=") + QString::number(fmrId)
                              + QStringLiteral(" ORDER BY WORK_DATE"));
    const int iWth = rs->fieldIndex(QStringLiteral("WTH_ID"));
    const int iLo = rs->fieldIndex(QStringLiteral("LO_TMP"));
    const int iHi = rs->fieldIndex(QStringLiteral("HI_TMP"));
    const int iMsg = rs->fieldIndex(QStringLiteral("ONE_MSG"));
    const int n = data.month.daysInMonth();
    for (int d = 1; d <= n; ++d) {
        rs->Find(QStringLiteral("WORK_DATE=#") + dateKey(data.month.addDays(d - 1)) + QStringLiteral("#"));
        if (rs->eof()) {
            if (rs->RecordCount() > 0)
                rs->MoveFirst();
            continue;
        }
        data.diary[static_cast<std::size_t>(d)] = CalDiaryRow{rs->Fields(iWth), rs->Fields(iLo), rs->Fields(iHi), rs->Fields(iMsg)};
    }
    rs->Close();
}

// The characters of a text, a surrogate pair kept together.
QStringList characters(const QString &text)
{
    QStringList out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out << text.mid(i, 2);
            ++i;
        } else {
            out << text.mid(i, 1);
        }
    }
    return out;
}

}  // namespace

// ---- geometry ----------------------------------------------------------------------------------

CalGeometry CalGeometry::compute(double heightTwips, double widthTwips, const QDate &month)
{
    CalGeometry g;
    g.H = static_cast<int>(roundHalfEven(heightTwips));
    g.W = static_cast<int>(roundHalfEven(widthTwips));
    const QDate first(month.year(), month.month(), 1);
    g.F = first.dayOfWeek() % 7;  // Qt: Monday 1 .. Sunday 7
    g.N = first.addMonths(1).addDays(-1).day();
    g.R = (g.F + g.N - 1) / 7 + 1;
    g.Hh = roundDiv(heightTwips, 10);
    g.Ch = roundDiv(heightTwips - g.Hh, g.R);
    g.Cw = roundDiv(widthTwips, 7);
    g.S = g.Ch / 4.0;
    return g;
}

int CalGeometry::dayOfCell(int cell) const
{
    const int d = cell - F + 1;
    return d >= 1 && d <= N ? d : 0;
}

int CalGeometry::dayAt(double X, double Y) const
{
    if (Y <= Hh || !valid())
        return 0;
    const long long x = roundHalfEven(X);
    const long long y = roundHalfEven(Y - Hh);
    if (x < 0 || y < 0)
        return 0;
    const int column = static_cast<int>(x / Cw);
    const int row = static_cast<int>(y / Ch);
    // The few twips right of the last column and below the last row belong to no cell.
    if (column > 6 || row >= R)
        return 0;
    const int d = row * 7 + column - F + 1;
    return d >= 1 && d <= N ? d : 0;
}

// ---- data ----------------------------------------------------------------------------------------

CalMonthData loadCalMonth(DbObject &db, const QDate &month, long fmrId, const CalLayers &layers, long plantFilter,
                          CalMarkQuery how)
{
    CalMonthData data;
    data.month = QDate(month.year(), month.month(), 1);

    if (how == CalMarkQuery::PerDay) {
        diaryByDay(db, fmrId, data);
        const int n = data.month.daysInMonth();
        for (int d = 1; d <= n; ++d) {
            const QString key = dateKey(data.month.addDays(d - 1));
            if (layers[kLayerMoney])
                data.money[d] = counted(db.DCount(QStringLiteral("*"), QStringLiteral("D_LEDGE"), moneyCondition(fmrId, key)));
            if (layers[kLayerPesticide])
                data.pesticide[d] = counted(
                    db.DCount(QStringLiteral("*"), QStringLiteral("D_DIARY_DTL"), pesticideCondition(fmrId, key, plantFilter)));
            if (layers[kLayerShipment])
                data.shipment[d] = counted(
                    db.DCount(QStringLiteral("*"), QStringLiteral("D_SHIP"), shipmentCondition(fmrId, key, plantFilter)));
        }
        return data;
    }

    diaryOfMonth(db, fmrId, data);
    if (layers[kLayerMoney])
        markMonth(db, QStringLiteral("D_LEDGE"), QStringLiteral("LEDGE_DATE"), moneyAccounts(), fmrId, data.month, data.money);
    if (layers[kLayerPesticide])
        markMonth(db, QStringLiteral("D_DIARY_DTL"), QStringLiteral("WORK_DATE"),
                  QStringLiteral(" AND CHEMI_ID>0") + plantSuffix(plantFilter), fmrId, data.month, data.pesticide);
    if (layers[kLayerShipment])
        markMonth(db, QStringLiteral("D_SHIP"), QStringLiteral("SHIP_DATE"), plantSuffix(plantFilter), fmrId, data.month,
                  data.shipment);
    return data;
}

std::vector<CalPlanting> loadCalPlantings(DbObject &db, const QDate &month, long fmrId)
{
    const QDate first(month.year(), month.month(), 1);
    const QDate last = first.addMonths(1).addDays(-1);
    auto rs = db.GetFwdOnlyRst(QStringLiteral("SELECT ") + QStringLiteral(" D_PLANT.PLANT_ID, ")
                               + QStringLiteral(" D_PLANT.PLANT_NM ") + QStringLiteral(" FROM D_PLANT ")
                               + QStringLiteral(" WHERE FMR_ID=") + QString::number(fmrId)
                               + QStringLiteral(" AND START_DATE<=#") + dateKey(last) + QStringLiteral("#")
                               + QStringLiteral(" AND ((END_DATE IS NULL) OR (END_DATE>=#") + dateKey(first)
                               + QStringLiteral("#))") + QStringLiteral(" ORDER BY PLANT_DATE"));
    std::vector<CalPlanting> out;
    for (; !rs->eof(); rs->MoveNext()) {
        CalPlanting p;
        p.name = NullToVal(rs->Fields(1), Value("")).toString();
        p.id = static_cast<long>(NullToVal(rs->Fields(0), Value(0)).toLong());
        out.push_back(p);
    }
    rs->Close();
    return out;
}

// ---- render model --------------------------------------------------------------------------------

QString CalCell::noteShown() const
{
    QString s;
    for (const CalNoteChar &c : note)
        s += c.text;
    return s;
}

const CalCell *CalView::cellOfDay(int day) const
{
    for (const CalCell &c : cells) {
        if (c.day == day)
            return &c;
    }
    return nullptr;
}

QColor bgrColor(unsigned bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
}

QFont calFont(const QFont &face, double twips)
{
    // A face's line is taller than its em (CJK faces by almost half): size the em so that the
    // line has the height asked for and the text stays inside its band.
    QFont probe(face);
    probe.setPixelSize(1000);
    const double line = QFontMetricsF(probe).height();
    const double ratio = line > 0 ? line / 1000.0 : 1.0;
    QFont f(face);
    f.setPixelSize(qMax(1, static_cast<int>(std::lround(twips / ratio))));
    return f;
}

CalView buildCalView(const CalMonthData &data, const CalGeometry &g, const CalLayers &layers, int today,
                     const QColor &windowColor, const QFont &face)
{
    CalView view;
    view.g = g;
    view.month = data.month;
    view.today = today;
    view.windowColor = windowColor;
    if (!g.valid())
        return view;

    const QFont noteFont = calFont(face, g.S);
    const QFontMetricsF noteMetrics(noteFont);
    for (int c = 0; c <= 41; ++c) {
        const int d = g.dayOfCell(c);
        if (d == 0)
            continue;
        CalCell cell;
        cell.cell = c;
        cell.day = d;
        cell.x = g.cellX(c);
        cell.y = g.cellY(c);
        cell.today = d == today;
        const int column = c % 7;
        cell.dayColor = column == 0 ? bgrColor(255) : (column == 6 ? bgrColor(0xFF0000) : bgrColor(0));

        if (const auto &row = data.diary[d]) {
            cell.hasDiary = true;
            if (layers[kLayerTemp]) {
                const double hi = NullToVal(row->hiTmp, Value(0)).toDouble();
                const double lo = NullToVal(row->loTmp, Value(0)).toDouble();
                const double yHi = cell.y + (40 - hi) / 50 * g.Ch;
                const double yLo = cell.y + (40 - lo) / 50 * g.Ch;
                cell.tempBar = QRectF(QPointF(cell.x, yHi), QPointF(cell.x + g.Cw, yLo)).normalized();
            }
            if (layers[kLayerWeather]) {
                const long long id = row->wthId.isNull() ? 1 : row->wthId.toLong();
                cell.weather = id >= 1 && id <= 10 ? static_cast<int>(id) : 0;
            }
            // The note: at most two lines in the lower half, each broken before the character
            // that would reach the right edge; the rest is not shown.
            const QStringList chars = characters(NullToVal(row->oneMsg, Value("")).toString());
            double px = cell.x;
            int line = 0;
            for (qsizetype i = 0; i < chars.size(); ++i) {
                const double py = cell.y + g.Ch / 2.0 + line * g.S;
                cell.note.push_back(CalNoteChar{chars.at(i), px, py});
                cell.noteLines = line + 1;
                px += noteMetrics.horizontalAdvance(chars.at(i));
                if (i + 1 < chars.size() && px >= cell.x + g.Cw - noteMetrics.horizontalAdvance(chars.at(i + 1))) {
                    ++line;
                    px = cell.x;
                }
                if (line > 1)
                    break;
            }
        }
        cell.money = layers[kLayerMoney] && data.money[d];
        cell.pesticide = layers[kLayerPesticide] && data.pesticide[d];
        cell.shipment = layers[kLayerShipment] && data.shipment[d];
        view.cells.push_back(std::move(cell));
    }
    return view;
}

}  // namespace hb
