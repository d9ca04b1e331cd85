#include "diary/diaryday.h"

#include "bookkeeping/accountbalance.h"
#include "core/db.h"
#include "core/helpers.h"
#include "core/recordhold.h"
#include "diary/lunisolar.h"

#include <QStringBuilder>
#include <algorithm>
#include <cstdio>
#include <set>
#include <utility>

namespace hb {

namespace {

// The date literal of a statement: #yyyy-mm-dd hh:nn:ss#.
QString dateLiteral(const QDateTime &d)
{
    return QLatin1Char('#') + canonicalDateText(d) + QLatin1Char('#');
}

QString textOf(const Value &v)
{
    return isBlank(v) ? QString() : v.displayText();
}

// HARVEST_SCHD_YM (year and month as six digits) as "yyyy/mm".
QString yearMonthText(const Value &v)
{
    if (isBlank(v))
        return QString();
    double n = 0;
    if (!parseNumber(v.displayText(), &n))
        return v.displayText();
    QString digits = QString::number(roundHalfEven(n));
    const bool negative = digits.startsWith(QLatin1Char('-'));
    if (negative)
        digits.remove(0, 1);
    digits = digits.rightJustified(6, QLatin1Char('0'));
    return (negative ? QStringLiteral("-") : QString()) + digits.left(digits.size() - 2) + QLatin1Char('/')
           + digits.right(2);
}

}  // namespace

const std::vector<DiaryRec::Column> &DiaryRec::columns()
{
    static const std::vector<Column> c = {
        {"FMR_ID", &DiaryRec::FMR_ID},   {"WORK_DATE", &DiaryRec::WORK_DATE}, {"WTH_ID", &DiaryRec::WTH_ID},
        {"LO_TMP", &DiaryRec::LO_TMP},   {"HI_TMP", &DiaryRec::HI_TMP},       {"ONE_MSG", &DiaryRec::ONE_MSG},
        {"NOTES1", &DiaryRec::NOTES1},   {"NOTES2", &DiaryRec::NOTES2},       {"IDATE", &DiaryRec::IDATE},
        {"UDATE", &DiaryRec::UDATE},     {"LAST_TM", &DiaryRec::LAST_TM},     {"HOLD_TM", &DiaryRec::HOLD_TM},
    };
    return c;
}

const std::vector<DiaryDtlRec::Column> &DiaryDtlRec::columns()
{
    static const std::vector<Column> c = {
        {"FMR_ID", &DiaryDtlRec::FMR_ID},     {"WORK_DATE", &DiaryDtlRec::WORK_DATE},
        {"DTL_NO", &DiaryDtlRec::DTL_NO},     {"PLANT_ID", &DiaryDtlRec::PLANT_ID},
        {"WORK_KBN", &DiaryDtlRec::WORK_KBN}, {"WORK_NM", &DiaryDtlRec::WORK_NM},
        {"NOTES", &DiaryDtlRec::NOTES},       {"CHEMI_ID", &DiaryDtlRec::CHEMI_ID},
        {"CHEMI_NM", &DiaryDtlRec::CHEMI_NM}, {"REG_NO", &DiaryDtlRec::REG_NO},
        {"PURPOSE", &DiaryDtlRec::PURPOSE},   {"QTY", &DiaryDtlRec::QTY},
        {"UNIT_ID", &DiaryDtlRec::UNIT_ID},   {"SHIP_ID", &DiaryDtlRec::SHIP_ID},
        {"SCHD_ID", &DiaryDtlRec::SCHD_ID},   {"LEDGE_ID", &DiaryDtlRec::LEDGE_ID},
    };
    return c;
}

// ---- loading -------------------------------------------------------------------------------

std::vector<LoadedRows> DayRows(DbObject &db, long fmrId, const QDateTime &workDate)
{
    const QString grower = QStringLiteral("FMR_ID=") + QString::number(fmrId);
    const QString day = dateLiteral(workDate);
    return {LoadedRows::read(db, QStringLiteral("D_DIARY"), grower + QStringLiteral(" AND WORK_DATE=") + day, {}),
            LoadedRows::read(db, QStringLiteral("D_DIARY_DTL"), grower + QStringLiteral(" AND WORK_DATE=") + day, {}),
            LoadedRows::read(db, QStringLiteral("D_LEDGE"), grower + QStringLiteral(" AND LEDGE_DATE=") + day, {})};
}

DiaryDay LoadDiaryDay(long fmrId, const QDateTime &workDate)
{
    DbObject &db = dataDb();
    DiaryDay out;
    out.day.FMR_ID = Value(fmrId);
    out.day.WORK_DATE = Value(workDate);
    out.day.IDATE = Value(QDateTime::currentDateTime());
    // Read first: the window never shows older rows than its save compares with.
    out.loadedRows = DayRows(db, fmrId, workDate);
    const QString where = QStringLiteral(" WHERE FMR_ID=") + QString::number(fmrId) + QStringLiteral(" AND WORK_DATE=")
                          + dateLiteral(workDate);

    // The day row: copied as found, then held by this computer.
    auto rs = db.GetDynamicRst(QStringLiteral("SELECT D_DIARY.* FROM D_DIARY") + where);
    if (!rs->eof()) {
        out.hasRow = true;
        for (const char *name : {"WTH_ID", "LO_TMP", "HI_TMP", "ONE_MSG", "NOTES1", "NOTES2", "IDATE", "UDATE",
                                 "LAST_TM", "HOLD_TM"}) {
            const int i = DiaryRec::columnNames().indexOf(QLatin1String(name));
            out.day.field(i) = rs->Fields(QLatin1String(name));
        }
        // A row this computer holds already is left alone: the server counts an update that
        // changes nothing as no row, which the recordset takes for a row gone.
        const Value me(GetCompName());
        if (out.day.HOLD_TM != me) {
            rs->setField(QStringLiteral("HOLD_TM"), me);
            try {
                rs->Update();
            } catch (const HbError &e) {
                out.holdFailure = e.description();
            }
        }
    }
    rs->Close();

    // The work lines, whether or not the day has a row (a save rewrites them all).
    rs = db.GetFwdOnlyRst(QStringLiteral("SELECT D_DIARY_DTL.* FROM D_DIARY_DTL") + where
                          + QStringLiteral(" ORDER BY D_DIARY_DTL.DTL_NO"));
    const long lines = DiaryDtlRec::loadArray(*rs, out.lines);
    rs->Close();
    if (lines > 0) {
        for (DiaryDtlRec &l : out.lines) {
            l.FMR_ID = out.day.FMR_ID;
            l.WORK_DATE = out.day.WORK_DATE;
            const long chemi = IdOf(l.CHEMI_ID);
            if (chemi > 0 && std::find(out.loadedChemiIds.begin(), out.loadedChemiIds.end(), chemi)
                                 == out.loadedChemiIds.end())
                out.loadedChemiIds.push_back(chemi);
        }
    }

    // The vouchers dated that day at 00:00:00.
    rs = db.GetFwdOnlyRst(QStringLiteral("SELECT  D_LEDGE.*  FROM D_LEDGE  WHERE  D_LEDGE.FMR_ID=")
                          + QString::number(fmrId) + QStringLiteral(" AND D_LEDGE.LEDGE_DATE=") + dateLiteral(workDate)
                          + QStringLiteral(" ORDER BY D_LEDGE.LEDGE_DATE, D_LEDGE.LEDGE_ID"));
    LedgeRec::loadArray(*rs, out.ledge);
    rs->Close();
    return out;
}

// ---- lines ---------------------------------------------------------------------------------

int AddLine(std::vector<DiaryDtlRec> &lines, const DiaryRec &day, const Value &plantId)
{
    if (lines.empty())
        lines.emplace_back();
    long highest = 0;
    for (const DiaryDtlRec &l : lines)
        highest = std::max(highest, IdOf(l.DTL_NO));
    int n = 0;
    if (IdOf(lines.front().DTL_NO) != 0) {
        lines.emplace_back();
        n = static_cast<int>(lines.size()) - 1;
    }
    DiaryDtlRec &line = lines[n];
    line.FMR_ID = day.FMR_ID;
    line.WORK_DATE = day.WORK_DATE;
    line.PLANT_ID = plantId;
    line.DTL_NO = Value(highest + 1);
    line.WORK_KBN = Value(0);
    return n;
}

bool RemoveLedge(std::vector<LedgeRec> &ledge, long ledgeId)
{
    for (std::size_t i = 0; i < ledge.size(); ++i) {
        if (IdOf(ledge[i].LEDGE_ID) == ledgeId) {
            RemoveKeepingOne(ledge, i);
            return true;
        }
    }
    return false;
}

bool HasPesticide(const DiaryDtlRec &line)
{
    const auto set = [](const Value &v) { return !v.isNull() && !v.isEmpty(); };
    return IdOf(line.CHEMI_ID) != 0 || IdOf(line.UNIT_ID) != 0 || set(line.CHEMI_NM) || set(line.PURPOSE)
           || set(line.QTY);
}

void ClearPesticide(DiaryDtlRec &line)
{
    line.CHEMI_ID = Value(0);
    line.CHEMI_NM = Value::null();
    line.PURPOSE = Value::null();
    line.QTY = Value::null();
    line.UNIT_ID = Value(0);
}

// ---- pick lists and look-ups -----------------------------------------------------------------

std::vector<PickEntry> PickRows(int k, long fmrId, long chemiId)
{
    std::vector<PickEntry> out;
    RecordsetPtr rs;
    switch (k) {
    case kPickWeather:
        rs = workDb().GetFwdOnlyRst(QStringLiteral("SELECT  L_KBN.ID,  L_KBN.NM  FROM L_KBN  WHERE KBN=10 ORDER BY ID"));
        break;
    case kPickWorkKbn:
        rs = workDb().GetFwdOnlyRst(QStringLiteral("SELECT  L_KBN.ID,  L_KBN.NM  FROM L_KBN  WHERE KBN=20 ORDER BY ID"));
        break;
    case kPickChemi:
        // Hundreds of rows: the date comes as its stored text, which reads without the server
        // driver's conversion to local time, and the statement goes in one exchange.
        rs = dataDb().GetFwdOnlyRst(
            QStringLiteral("SELECT  D_CHEMI.CHEMI_ID,  D_CHEMI.CHEMI_NM,  CAST(D_CHEMI.PUR_DATE AS CHAR)  FROM D_CHEMI "
                           " WHERE CHK_FLG<>0 AND FMR_ID=%1 ORDER BY CHEMI_NM, CHEMI_ID").arg(fmrId));
        break;
    case kPickPurpose: {
        long regNo = 0;
        if (chemiId != 0) {
            const Value r = dataDb().DLookup(QStringLiteral("REG_NO"), QStringLiteral("D_CHEMI"),
                                             QStringLiteral("CHEMI_ID=%1 AND FMR_ID=%2").arg(chemiId).arg(fmrId));
            regNo = IdOf(r);
        }
        rs = workDb().GetFwdOnlyRst(QStringLiteral("SELECT  L_CHEMI_PURPOSE.PURPOSE  FROM L_CHEMI_PURPOSE "
                                                   " WHERE L_CHEMI_PURPOSE.REG_NO=? ORDER BY L_CHEMI_PURPOSE.PURPOSE"),
                                    {Value(regNo)});
        break;
    }
    case kPickUnit:
        rs = workDb().GetFwdOnlyRst(QStringLiteral("SELECT  L_CHEMI_UNIT.ID,  L_CHEMI_UNIT.NM  FROM L_CHEMI_UNIT  ORDER BY ID"));
        break;
    default:
        return out;
    }
    out.reserve(static_cast<std::size_t>(rs->RecordCount()));
    while (!rs->eof()) {
        PickEntry e;
        if (k == kPickPurpose) {
            e.text = textOf(rs->Fields(0));
        } else {
            e.id = IdOf(rs->Fields(0));
            e.text = textOf(rs->Fields(1));
            if (k == kPickChemi) {
                const Value bought = rs->Fields(2);
                if (bought.isDate()) {
                    int year = 0, month = 0, day = 0;
                    bought.toDateFields().date().getDate(&year, &month, &day);
                    char monthDay[16];
                    const int n = std::snprintf(monthDay, sizeof monthDay, "%d/%d", month, day);
                    e.text = QLatin1StringView(monthDay, n) % e.text;
                }
            }
        }
        out.push_back(std::move(e));
        rs->MoveNext();
    }
    rs->Close();
    return out;
}

std::vector<PickEntry> PlantingsOfDay(long fmrId, const QDateTime &workDate)
{
    const QString d = dateLiteral(workDate);
    auto rs = dataDb().GetFwdOnlyRst(QStringLiteral("SELECT  D_PLANT.PLANT_ID,  D_PLANT.PLANT_NM  FROM D_PLANT  WHERE FMR_ID=")
                                     + QString::number(fmrId) + QStringLiteral(" AND START_DATE<=") + d
                                     + QStringLiteral(" AND ((END_DATE IS NULL) OR (END_DATE>=") + d
                                     + QStringLiteral(")) ORDER BY PLANT_DATE, PLANT_ID"));
    std::vector<PickEntry> out;
    while (!rs->eof()) {
        out.push_back({textOf(rs->Fields(1)), IdOf(rs->Fields(0))});
        rs->MoveNext();
    }
    rs->Close();
    return out;
}

PlantFacts GetPlantFacts(long fmrId, long plantId)
{
    auto rs = dataDb().GetFwdOnlyRst(QStringLiteral("SELECT D_PLANT.* FROM D_PLANT WHERE FMR_ID=%1 AND PLANT_ID=%2")
                                         .arg(fmrId)
                                         .arg(plantId));
    PlantFacts f;
    if (rs->eof())
        return f;
    f.found = true;
    f.crop = textOf(rs->Fields(QStringLiteral("CROP_NM1")));
    f.harvest = yearMonthText(rs->Fields(QStringLiteral("HARVEST_SCHD_YM")));
    const Value planted = rs->Fields(QStringLiteral("PLANT_DATE"));
    f.plantDate = planted.isDate() ? planted.toDate().toString(QStringLiteral("yyyy/MM/dd")) : textOf(planted);
    f.area = NullToVal(rs->Fields(QStringLiteral("AREA")), Value(0)).displayText();
    rs->Close();
    return f;
}

QStringList WorkNameHistory(long fmrId, long plantId, long workKbn)
{
    const Value cropValue = dataDb().DLookup(QStringLiteral("CROP_NM"), QStringLiteral("D_PLANT"),
                                             QStringLiteral("FMR_ID=%1 AND PLANT_ID=%2").arg(fmrId).arg(plantId));
    const QString crop = textOf(cropValue);
    // The crops are compared here rather than in the statement: a server's case- and
    // kana-insensitive collation would take different names for the same.
    auto rs = dataDb().GetFwdOnlyRst(
        QStringLiteral("SELECT  D_PLANT.CROP_NM,  D_DIARY_DTL.WORK_NM  FROM D_DIARY_DTL "
                       " INNER JOIN D_PLANT  ON (D_DIARY_DTL.PLANT_ID = D_PLANT.PLANT_ID) "
                       " AND (D_DIARY_DTL.FMR_ID = D_PLANT.FMR_ID) WHERE D_DIARY_DTL.WORK_KBN=? AND D_DIARY_DTL.FMR_ID=?"),
        {Value(workKbn), Value(fmrId)});
    std::set<std::pair<int, QString>> names;
    while (!rs->eof()) {
        const Value c = rs->Fields(0);
        const int group = c.isNull() ? 0 : (c.displayText() == crop ? 1 : 2);
        names.emplace(group, textOf(rs->Fields(1)));
        rs->MoveNext();
    }
    rs->Close();
    QStringList out;
    for (const auto &n : names)
        out << n.second;
    return out;
}

// ---- voucher books --------------------------------------------------------------------------

long BookAccount(int option)
{
    switch (option) {
    case kPageCash: return kAccCash;
    case kPageBank: return kAccBank;
    case kPageReceivable: return kAccReceivable;
    case kPagePayable: return kAccPayable;
    default: return 0;
    }
}

std::vector<LedgeBookColumn> LedgeBookColumns(long accId)
{
    std::vector<LedgeBookColumn> c = {
        {QStringLiteral("LEDGE_ID"), QStringLiteral("ID"), 0, false},
        {QStringLiteral("NB"), QStringLiteral("№"), 500, true},
        {QStringLiteral("A_ACC_ID"), QStringLiteral("科目"), 1800, false},
        {QStringLiteral("CTR_NM"), QStringLiteral("相手"), 2200, false},
        {QStringLiteral("NOTES"), QStringLiteral("備考"), 2200, false},
    };
    QString increase;
    QString decrease;
    switch (accId) {
    case kAccCash: increase = QStringLiteral("入金"); decrease = QStringLiteral("出金"); break;
    case kAccBank: increase = QStringLiteral("預入"); decrease = QStringLiteral("払出"); break;
    case kAccReceivable: increase = QStringLiteral("発生"); decrease = QStringLiteral("回収"); break;
    case kAccPayable: increase = QStringLiteral("発生"); decrease = QStringLiteral("支払"); break;
    default: return c;
    }
    const bool payable = accId == kAccPayable;
    c.push_back({payable ? QStringLiteral("C_AMT") : QStringLiteral("D_AMT"), increase, 1600, true});
    c.push_back({payable ? QStringLiteral("D_AMT") : QStringLiteral("C_AMT"), decrease, 1600, true});
    c.push_back({QStringLiteral("BLC"), QStringLiteral("残高"), 1600, true});
    return c;
}

namespace {

bool isAccount(const Value &v, long accId)
{
    return !v.isNull() && !v.isEmpty() && IdOf(v) == accId;
}

Currency sumOf(const Value &v)
{
    return NullToVal(v, Value(0)).toCurrency();
}

}  // namespace

LedgeBook BuildLedgeBook(long accId, long fmrId, const QDateTime &workDate, const std::vector<LedgeRec> &ledge)
{
    DbObject &db = dataDb();
    const QString before = QStringLiteral(" FMR_ID=") + QString::number(fmrId) + QStringLiteral(" AND LEDGE_DATE<")
                           + dateLiteral(workDate);
    const QString acc = QString::number(accId);
    const Currency debits = sumOf(db.DSUM(QStringLiteral("AMT"), QStringLiteral("D_LEDGE"),
                                          before + QStringLiteral(" AND D_ACC_ID=") + acc));
    const Currency credits = sumOf(db.DSUM(QStringLiteral("AMT"), QStringLiteral("D_LEDGE"),
                                           before + QStringLiteral(" AND C_ACC_ID=") + acc));
    // The payable book grows on the credit side, the other three on the debit side.
    AccountBalance balance(accId == kAccPayable, debits, credits);

    LedgeBook book;
    book.opening = balance.opening();
    for (const LedgeRec &l : ledge) {
        const bool debit = isAccount(l.D_ACC_ID, accId);
        const bool credit = isAccount(l.C_ACC_ID, accId);
        if (!debit && !credit)
            continue;
        LedgeBookRow row;
        row.ledgeId = textOf(l.LEDGE_ID);
        row.number = static_cast<long>(book.rows.size()) + 1;
        row.accNm = textOf(GetAccNm(debit ? l.C_ACC_ID : l.D_ACC_ID));
        row.ctrNm = textOf(l.CTR_NM);
        row.notes = textOf(l.NOTES);
        const AccountBalance::Step step = balance.post(credit, sumOf(l.AMT));
        row.increase = step.increase;
        row.decrease = step.decrease;
        row.balance = balance.balance();
        book.rows.push_back(std::move(row));
    }
    book.increaseTotal = balance.increases();
    book.decreaseTotal = balance.decreases();
    book.balance = balance.balance();
    return book;
}

// ---- caption -------------------------------------------------------------------------------

QString GetEtoNm(const QDateTime &d)
{
    const DbObject::ToleratedFailures tolerated;
    try {
        const Value v = workDb().DLookup(QStringLiteral("ETO_YM"), QStringLiteral("L_ETO"),
                                       QStringLiteral("ID=") + QString::number(GetDayEto(d)));
        return textOf(v);
    } catch (const std::exception &) {
        return QString();
    }
}

QString RokuyoName(int rokuyo)
{
    static const char *const names[] = {"大安", "赤口", "先勝", "友引", "先負", "仏滅"};
    if (rokuyo < 0 || rokuyo > 5)
        return QString();
    return QString::fromUtf8(names[rokuyo]);
}

QString DiaryCaption(const QDateTime &d)
{
    return QStringLiteral("日誌入力（") + d.toString(QStringLiteral("yyyy/MM/dd")) + QStringLiteral("）") + QLatin1Char(' ')
           + GetOldDateStr(d) + QLatin1Char(' ') + GetEtoNm(d) + QLatin1Char(' ') + RokuyoName(GetRokuyo(d));
}

}  // namespace hb
