#include "diary/diarysave.h"

#include "core/db.h"
#include "core/helpers.h"
#include "core/recordhold.h"
#include "cultivation/chemistock.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>

namespace hb {

namespace {

// A value bound to a numeric column: a number held as text goes as that number, empty text as
// NULL; text that is no number raises a type mismatch instead of reaching the column.
Value numeric(const Value &v)
{
    if (!v.isString())
        return v;
    if (v.displayText().trimmed().isEmpty())
        return Value::null();
    return Value(v.toDouble());
}

// Content of a voucher as the voucher dialog edits it (everything but the audit columns);
// Empty and Null count the same, and a number held as text counts by its value.
bool sameField(const Value &a, const Value &b)
{
    if (isBlank(a) || isBlank(b))
        return isBlank(a) && isBlank(b);
    if (a == b)
        return true;
    if (a.isString() != b.isString() && IsNumeric(a) && IsNumeric(b))
        return a.toDouble() == b.toDouble();
    return false;
}

bool sameContent(const LedgeRec &a, const LedgeRec &b)
{
    const int audit = LedgeRec::columnNames().indexOf(QStringLiteral("IDATE"));
    for (int i = 0; i < audit; ++i) {
        if (!sameField(a.field(i), b.field(i)))
            return false;
    }
    return true;
}

const LedgeRec *findLedge(const std::vector<LedgeRec> &ledge, long ledgeId)
{
    for (const LedgeRec &l : ledge) {
        if (IdOf(l.LEDGE_ID) == ledgeId)
            return &l;
    }
    return nullptr;
}

// The day's vouchers: every voucher of the grower dated that day goes, then each voucher the
// window holds comes back under its own number.
void SaveLedgeData(DbObject &db, DiarySave &s, const QDateTime &now)
{
    const Value fmr(IdOf(s.day.FMR_ID));
    db.EXEC(QStringLiteral("DELETE FROM D_LEDGE WHERE D_LEDGE.FMR_ID=? AND D_LEDGE.LEDGE_DATE=?"), {fmr, s.day.WORK_DATE});

    static const QStringList numericColumns = {QStringLiteral("FMR_ID"),    QStringLiteral("LEDGE_ID"),
                                               QStringLiteral("D_ACC_ID"),  QStringLiteral("D_OPT_KBN"),
                                               QStringLiteral("D_OPT_ID"),  QStringLiteral("C_ACC_ID"),
                                               QStringLiteral("C_OPT_KBN"), QStringLiteral("C_OPT_ID"),
                                               QStringLiteral("AMT")};
    const QStringList &columns = LedgeRec::columnNames();
    const QString sql = insertStatement(QStringLiteral("D_LEDGE"), columns);
    const Value me(GetCompName());
    for (LedgeRec &l : s.ledge) {
        const long id = IdOf(l.LEDGE_ID);
        if (id <= 0)
            continue;
        const LedgeRec *loaded = findLedge(s.loadedLedge, id);
        if (loaded && !isBlank(loaded->IDATE))
            l.IDATE = loaded->IDATE;
        else
            l.IDATE = Value(now);
        if (!loaded)
            l.UDATE = Value::null();
        else if (sameContent(l, *loaded))
            l.UDATE = loaded->UDATE.isEmpty() ? Value::null() : loaded->UDATE;
        else
            l.UDATE = Value(now);
        l.LAST_TM = me;
        l.HOLD_TM = Value::null();
        std::vector<Value> values;
        values.reserve(columns.size());
        for (int i = 0; i < LedgeRec::fieldCount(); ++i)
            values.push_back(numericColumns.contains(columns.at(i)) ? numeric(l.field(i)) : l.field(i));
        db.EXEC(sql, values);
    }
}

// The pesticide-use vouchers: a line that uses a purchase with a quantity other than 0 posts one
// under the number it holds (or the grower's next number); a line that stops posting loses its
// voucher and its number.
void SaveUseChemi(DbObject &db, DiarySave &s, const QDateTime &now)
{
    const long fmr = IdOf(s.day.FMR_ID);
    const QDate day = s.day.WORK_DATE.toDate().date();
    for (DiaryDtlRec &line : s.lines) {
        if (IdOf(line.DTL_NO) == 0)
            continue;
        const long chemi = IdOf(line.CHEMI_ID);
        const long link = IdOf(line.LEDGE_ID);
        if (chemi == 0) {
            if (link != 0) {
                db.EXEC(QStringLiteral("DELETE FROM D_LEDGE WHERE FMR_ID=? AND LEDGE_ID=?"), {Value(fmr), Value(link)});
                line.LEDGE_ID = Value(0);
            }
            continue;
        }
        const Value qty = numeric(line.QTY);
        const double q = isBlank(qty) ? 0.0 : qty.toDouble();
        Currency cost;
        if (q != 0)
            cost = CalChemiAmt(db, fmr, chemi, Currency::fromDouble(q), IdOf(line.UNIT_ID));

        GeneratedLedge v;
        v.fmrId = fmr;
        v.ledgeDate = day;
        v.debit = {Value(static_cast<long>(kAccChemiUsed)), Value(static_cast<long>(kOptPlant)), Value(IdOf(line.PLANT_ID)),
                   Value::null()};
        v.credit = {Value(static_cast<long>(kAccChemiStock)), Value(static_cast<long>(kOptChemi)), Value(chemi),
                    q != 0 ? Value(ChemiUseText(qty, line.UNIT_ID)) : Value::null()};
        v.ctrNm = Value::null();
        v.notes = isBlank(line.NOTES) ? Value(QString::fromLatin1("")) : line.NOTES;
        v.idate = isBlank(s.day.IDATE) ? Value() : s.day.IDATE;  // a day without one: the time of writing
        v.udate = Value(now);
        line.LEDGE_ID = Value(WriteGeneratedLedge(db, v, q, cost, std::max(link, 0L)));
    }
}

// The day row, added when missing.
void SaveDayRow(DbObject &db, DiarySave &s)
{
    const Value fmr(IdOf(s.day.FMR_ID));
    auto rs = db.GetDynamicRst(QStringLiteral("SELECT D_DIARY.* FROM D_DIARY WHERE FMR_ID=? AND WORK_DATE=?"),
                               {fmr, s.day.WORK_DATE});
    HoldColumns audit;
    if (rs->eof()) {
        rs->AddNew();
        rs->setField(QStringLiteral("FMR_ID"), fmr);
        rs->setField(QStringLiteral("WORK_DATE"), s.day.WORK_DATE);
        audit = HoldColumns::forInsert();
        s.day.IDATE = audit.idate;
        s.day.UDATE = Value::null();
    } else {
        audit = HoldColumns::forUpdate();
        s.day.IDATE = rs->Fields(QStringLiteral("IDATE"));
        s.day.UDATE = audit.udate;
    }
    rs->setField(QStringLiteral("WTH_ID"), numeric(s.day.WTH_ID));
    rs->setField(QStringLiteral("LO_TMP"), numeric(s.day.LO_TMP));
    rs->setField(QStringLiteral("HI_TMP"), numeric(s.day.HI_TMP));
    rs->setField(QStringLiteral("ONE_MSG"), s.day.ONE_MSG);
    rs->setField(QStringLiteral("NOTES1"), s.day.NOTES1);
    rs->setField(QStringLiteral("NOTES2"), s.day.NOTES2);
    audit.applyTo(*rs);
    rs->Update();
    rs->Close();
    s.day.LAST_TM = audit.lastTm;
    s.day.HOLD_TM = audit.holdTm;
}

// The lines, all deleted and written again numbered from 1 in array order.
void SaveLines(DbObject &db, DiarySave &s)
{
    const Value fmr(IdOf(s.day.FMR_ID));
    db.EXEC(QStringLiteral("DELETE FROM D_DIARY_DTL WHERE FMR_ID=? AND WORK_DATE=?"), {fmr, s.day.WORK_DATE});
    static const QStringList numericColumns = {QStringLiteral("PLANT_ID"), QStringLiteral("WORK_KBN"),
                                               QStringLiteral("CHEMI_ID"), QStringLiteral("QTY"),
                                               QStringLiteral("UNIT_ID"),  QStringLiteral("SHIP_ID"),
                                               QStringLiteral("SCHD_ID"),  QStringLiteral("LEDGE_ID")};
    const QStringList &columns = DiaryDtlRec::columnNames();
    const QString sql = insertStatement(QStringLiteral("D_DIARY_DTL"), columns);
    long n = 0;
    for (DiaryDtlRec &line : s.lines) {
        if (IdOf(line.DTL_NO) == 0)
            continue;
        line.FMR_ID = fmr;
        line.WORK_DATE = s.day.WORK_DATE;
        line.DTL_NO = Value(++n);
        std::vector<Value> values;
        values.reserve(columns.size());
        for (int i = 0; i < DiaryDtlRec::fieldCount(); ++i)
            values.push_back(numericColumns.contains(columns.at(i)) ? numeric(line.field(i)) : line.field(i));
        db.EXEC(sql, values);
    }
}

// Reads the grower's vouchers dated that day back into `ledge`, in the order a day is loaded.
void ReadDayLedge(DbObject &db, DiarySave &s)
{
    auto rs = db.GetFwdOnlyRst(QStringLiteral("SELECT D_LEDGE.* FROM D_LEDGE WHERE D_LEDGE.FMR_ID=? AND D_LEDGE.LEDGE_DATE=?"
                                              " ORDER BY D_LEDGE.LEDGE_DATE, D_LEDGE.LEDGE_ID"),
                               {Value(IdOf(s.day.FMR_ID)), s.day.WORK_DATE});
    LedgeRec::loadArray(*rs, s.ledge);
    rs->Close();
}

}  // namespace

Currency CalChemiAmt(DbObject &db, long fmrId, long chemiId, Currency qty, long unitId)
{
    auto rs = db.GetFwdOnlyRst(QStringLiteral("SELECT D_CHEMI.PUR_QTY, D_CHEMI.PUR_UNIT,D_CHEMI.PUR_AMT FROM D_CHEMI"
                                                    " WHERE FMR_ID=? AND CHEMI_ID=?"),
                                     {Value(fmrId), Value(chemiId)});
    Currency purQty;
    Currency purAmt;
    long purUnit = 0;
    if (!rs->eof()) {
        purQty = NullToVal(rs->Fields(0), Value(0)).toCurrency();
        purUnit = IdOf(rs->Fields(1));
        purAmt = NullToVal(rs->Fields(2), Value(0)).toCurrency();
    }
    rs->Close();
    const double rate = GetUnitRate(purUnit, unitId);
    const Currency price =
        purQty.scaled == 0 ? Currency() : Currency::fromDouble(purAmt.toDouble() / purQty.toDouble());
    return RoundEx(Value((qty * price).toDouble() * rate), 3, 0);
}

QString ChemiUseText(const Value &qty, const Value &unitId)
{
    const Value q = numeric(qty);
    double tenths = std::round((isBlank(q) ? 0.0 : q.toDouble()) * 10.0);
    if (tenths == 0)
        tenths = 0;  // no "-0.0"
    return QString::number(tenths / 10.0, 'f', 1) + GetChemiUnitNm(unitId);
}

DiarySave SaveDiaryDay(DbObject &db, DiarySave s)
{
    const QDateTime now = QDateTime::currentDateTime();
    TransactionScope scope(db);
    CheckLoaded(db, s.loadedRows);
    SaveLedgeData(db, s, now);
    SaveUseChemi(db, s, now);
    SaveDayRow(db, s);
    SaveLines(db, s);
    CalChemiStock(db, workDb(), s.day.WORK_DATE.toDate(), IdOf(s.day.FMR_ID), s.loadedChemiIds);
    // The day's vouchers as stored: the pesticide-use vouchers were posted, re-posted or removed
    // after `ledge` was written, and a voucher removed here must not come back with a later save.
    ReadDayLedge(db, s);
    for (LoadedRows &rows : s.loadedRows)
        rows = rows.reread(db);
    scope.commit();

    // What is stored now is what a later save starts from.
    s.loadedLedge = s.ledge;
    for (const DiaryDtlRec &line : s.lines) {
        const long chemi = IdOf(line.CHEMI_ID);
        if (chemi > 0 && std::find(s.loadedChemiIds.begin(), s.loadedChemiIds.end(), chemi) == s.loadedChemiIds.end())
            s.loadedChemiIds.push_back(chemi);
    }
    return s;
}

}  // namespace hb
