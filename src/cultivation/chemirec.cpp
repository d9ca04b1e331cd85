#include "cultivation/chemirec.h"

#include "bookkeeping/ledger.h"
#include "core/db.h"
#include "core/filters.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/recordhold.h"

#include <QStringList>
#include <cmath>
#include <limits>

namespace hb {

std::vector<ChemiRec> gChemi(1);

const std::vector<ChemiRec::Column> &ChemiRec::columns()
{
    static const std::vector<Column> c = {
        {"FMR_ID", &ChemiRec::FMR_ID},
        {"CHEMI_ID", &ChemiRec::CHEMI_ID},
        {"CHEMI_NM", &ChemiRec::CHEMI_NM},
        {"REG_NO", &ChemiRec::REG_NO},
        {"USES", &ChemiRec::USES},
        {"MAKER_NM", &ChemiRec::MAKER_NM},
        {"CHEMI_TYPE", &ChemiRec::CHEMI_TYPE},
        {"CHEMI_KIND", &ChemiRec::CHEMI_KIND},
        {"PUR_DATE", &ChemiRec::PUR_DATE},
        {"PUR_SHOP", &ChemiRec::PUR_SHOP},
        {"PUR_QTY", &ChemiRec::PUR_QTY},
        {"PUR_UNIT", &ChemiRec::PUR_UNIT},
        {"ACC_ID", &ChemiRec::ACC_ID},
        {"PUR_AMT", &ChemiRec::PUR_AMT},
        {"USED_QTY", &ChemiRec::USED_QTY},
        {"REST_QTY", &ChemiRec::REST_QTY},
        {"NOTES", &ChemiRec::NOTES},
        {"LEDGE_ID", &ChemiRec::LEDGE_ID},
        {"CHK_FLG", &ChemiRec::CHK_FLG},
        {"IDATE", &ChemiRec::IDATE},
        {"UDATE", &ChemiRec::UDATE},
        {"LAST_TM", &ChemiRec::LAST_TM},
        {"HOLD_TM", &ChemiRec::HOLD_TM},
    };
    return c;
}

namespace {

// Empty fields are written as Null.
Value stored(const Value &v)
{
    return v.isEmpty() ? Value::null() : v;
}

// A quantity as the row stores it: the number held, 0 when none.
Value quantity(const Value &v)
{
    return Value(isBlank(v) || !IsNumeric(v) ? 0.0 : v.toDouble());
}

// The amount: money with four decimals, 0 when none.
Currency amountOf(const Value &v)
{
    return isBlank(v) || !IsNumeric(v) ? Currency{} : v.toCurrency();
}

// The purchase voucher of the record: 1130 (the purchase, its quantity text) against the
// payment account, as it stands for a positive amount.
GeneratedLedge purchaseVoucher(const ChemiRec &r, int mode, const QDateTime &now)
{
    GeneratedLedge v;
    v.fmrId = IdOrZero(r.FMR_ID);
    v.ledgeDate = r.PUR_DATE.isDate() ? r.PUR_DATE.toDate().date() : QDate();
    v.debit = {Value(static_cast<long>(kAccChemiStock)), Value(static_cast<long>(kOptChemi)), Value(IdOrZero(r.CHEMI_ID)),
               chemiQtyText(r.PUR_QTY, r.PUR_UNIT)};
    v.credit = {stored(r.ACC_ID), Value(0), Value(0), Value::null()};
    v.ctrNm = isBlank(r.PUR_SHOP) || r.PUR_SHOP.toString().isEmpty() ? Value::null() : r.PUR_SHOP;
    v.notes = isBlank(r.NOTES) ? Value(QString::fromLatin1("")) : r.NOTES;
    if (mode == kEditModify) {
        v.idate = r.IDATE;
        v.udate = Value(now);
    }
    return v;
}

// The columns a save writes from the record, after FMR_ID and CHEMI_ID and before the audit
// columns, with the values they take.
std::vector<std::pair<QString, Value>> rowValues(const ChemiRec &r)
{
    return {
        {QStringLiteral("CHEMI_NM"), stored(r.CHEMI_NM)},
        {QStringLiteral("REG_NO"), stored(r.REG_NO)},
        {QStringLiteral("USES"), stored(r.USES)},
        {QStringLiteral("MAKER_NM"), stored(r.MAKER_NM)},
        {QStringLiteral("CHEMI_TYPE"), stored(r.CHEMI_TYPE)},
        {QStringLiteral("CHEMI_KIND"), stored(r.CHEMI_KIND)},
        {QStringLiteral("PUR_DATE"), stored(r.PUR_DATE)},
        {QStringLiteral("PUR_SHOP"), stored(r.PUR_SHOP)},
        {QStringLiteral("PUR_QTY"), r.PUR_QTY},
        {QStringLiteral("PUR_UNIT"), stored(r.PUR_UNIT)},
        {QStringLiteral("ACC_ID"), stored(r.ACC_ID)},
        {QStringLiteral("PUR_AMT"), r.PUR_AMT},
        {QStringLiteral("USED_QTY"), r.USED_QTY},
        {QStringLiteral("REST_QTY"), r.REST_QTY},
        {QStringLiteral("NOTES"), stored(r.NOTES)},
        {QStringLiteral("LEDGE_ID"), stored(r.LEDGE_ID)},
        {QStringLiteral("CHK_FLG"), r.CHK_FLG},
    };
}

}  // namespace

bool leadingWholeNumber(const QString &text, long *out)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    long long n = 0;
    bool any = false;
    for (; i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9'); ++i) {
        any = true;
        n = n * 10 + (text.at(i).unicode() - u'0');
        if (n > std::numeric_limits<std::int32_t>::max())
            return false;
    }
    if (!any)
        return false;
    if (out)
        *out = static_cast<long>(negative ? -n : n);
    return true;
}

std::vector<ChemiRec> queryChemi(const ChemiFilter &f)
{
    QStringList conds{QStringLiteral(" D_CHEMI.FMR_ID=?")};
    std::vector<Value> params{Value(f.fmrId)};
    if (f.uses != 0) {
        conds << QStringLiteral(" D_CHEMI.USES=?");
        params.emplace_back(f.uses);
    }
    if (!f.name.isEmpty()) {
        conds << QStringLiteral(" D_CHEMI.CHEMI_NM") + likeContains();
        params.push_back(likeContainsPattern(f.name));
    }
    if (f.from.isValid()) {
        conds << QStringLiteral(" D_CHEMI.PUR_DATE>=?");
        params.emplace_back(f.from);
    }
    if (f.to.isValid()) {
        conds << QStringLiteral(" D_CHEMI.PUR_DATE<=?");
        params.emplace_back(f.to);
    }
    if (f.byRegNo) {
        conds << QStringLiteral(" D_CHEMI.REG_NO=?");
        params.emplace_back(f.regNo);
    }
    if (f.stock == ChemiStock::Left)
        conds << QStringLiteral(" D_CHEMI.REST_QTY>0");
    else if (f.stock == ChemiStock::None)
        conds << QStringLiteral(" ((D_CHEMI.REST_QTY<=0) OR (D_CHEMI.REST_QTY IS NULL))");
    const QString sql = QStringLiteral("SELECT  D_CHEMI.*  FROM D_CHEMI  WHERE ") + conds.join(QStringLiteral(" AND "))
                        + QStringLiteral(" ORDER BY D_CHEMI.PUR_DATE, D_CHEMI.CHEMI_NM");
    auto rs = dataDb().GetFwdOnlyRst(sql, params);
    std::vector<ChemiRec> rows;
    if (!rs->eof())
        ChemiRec::loadArray(*rs, rows);
    rs->Close();
    return rows;
}

std::map<long, QString> chemiUseNames()
{
    std::map<long, QString> names;
    auto rs = workDb().GetFwdOnlyRst(QStringLiteral("SELECT L_KBN.ID, L_KBN.NM FROM L_KBN WHERE L_KBN.KBN=15"));
    for (; !rs->eof(); rs->MoveNext()) {
        const Value nm = rs->Fields(1);
        names.emplace(IdOrZero(rs->Fields(0)), nm.isNull() ? QString() : nm.displayText());
    }
    rs->Close();
    return names;
}

QString chemiDeleteRefusal(const Value &fmrId, const Value &chemiId)
{
    const QString cond = QStringLiteral("FMR_ID=%1 AND CHEMI_ID=%2").arg(IdOrZero(fmrId)).arg(IdOrZero(chemiId));
    if (dataDb().DCount(QStringLiteral("*"), QStringLiteral("D_DIARY_DTL"), cond).toLong() == 0)
        return QString();
    const Value d = dataDb().DMin(QStringLiteral("WORK_DATE"), QStringLiteral("D_DIARY_DTL"), cond);
    const QString day = isBlank(d) ? QString() : d.toDate().toString(QStringLiteral("M/d"));
    return QStringLiteral("この農薬は") + day + QStringLiteral("に使用されています。削除できません。");
}

Value chemiRestQty(const ChemiRec &r)
{
    if (r.PUR_QTY.isNull())
        return Value::null();
    const double used = isBlank(r.USED_QTY) || !IsNumeric(r.USED_QTY) ? 0.0 : r.USED_QTY.toDouble();
    const double bought = IsNumeric(r.PUR_QTY) ? r.PUR_QTY.toDouble() : 0.0;
    return Value(bought - used);
}

Value chemiQtyText(const Value &qty, const Value &unit)
{
    QString text;
    if (!isBlank(qty) && IsNumeric(qty)) {
        double tenths = std::round(qty.toDouble() * 10.0);
        if (tenths == 0)
            tenths = 0;  // no "-0.0"
        text = QString::number(tenths / 10.0, 'f', 1);
    }
    text += GetChemiUnitNm(unit);
    return text.isEmpty() ? Value::null() : Value(text);
}

std::vector<LoadedRows> LoadedChemi(DbObject &db, const ChemiRec &row)
{
    return {LoadedRows::record(QStringLiteral("D_CHEMI"), QStringLiteral("CHEMI_ID=?"), {stored(row.CHEMI_ID)}, row),
            LoadedVouchers(db, stored(row.FMR_ID), {row.LEDGE_ID})};
}

ChemiSaveResult SaveChemi(DbObject &db, int mode, ChemiRec &rec, const std::vector<LoadedRows> &loaded)
{
    if (mode != kEditAdd && mode != kEditModify && mode != kEditDelete)
        return ChemiSaveResult::Saved;
    ChemiRec out = rec;
    const QDateTime now = QDateTime::currentDateTime();
    TransactionScope tx(db);

    if (mode == kEditAdd) {
        const Value max = db.DMax(QStringLiteral("CHEMI_ID"), QStringLiteral("D_CHEMI"), QString());
        out.CHEMI_ID = Value(static_cast<long long>(NullToVal(max, Value(0)).toLong() + 1));
    } else {
        auto rs = db.GetFwdOnlyRst(QStringLiteral("SELECT D_CHEMI.CHEMI_ID FROM D_CHEMI WHERE D_CHEMI.CHEMI_ID=?"),
                                   {stored(out.CHEMI_ID)});
        const bool found = !rs->eof();
        rs->Close();
        if (!found)
            return ChemiSaveResult::Missing;
        CheckLoaded(db, loaded);
    }

    const long fmr = IdOrZero(out.FMR_ID);
    const long link = IdOrZero(out.LEDGE_ID);
    const std::vector<Value> key{stored(out.CHEMI_ID)};
    if (mode == kEditDelete) {
        if (link > 0)
            db.EXEC(QStringLiteral("DELETE FROM D_LEDGE WHERE FMR_ID=? AND LEDGE_ID=?"),
                    {Value(fmr), Value(link)});
        db.EXEC(QStringLiteral("DELETE FROM D_CHEMI WHERE CHEMI_ID=?"), key);
        tx.commit();
        rec = out;
        return ChemiSaveResult::Saved;
    }

    // The voucher first: a purchase with a date and an amount posts it under its number.
    const Currency amount = amountOf(out.PUR_AMT);
    const double deciding = out.PUR_DATE.isDate() ? amount.toDouble() : 0.0;
    out.LEDGE_ID = Value(WriteGeneratedLedge(db, purchaseVoucher(out, mode, now), deciding, amount, std::max(link, 0L)));

    out.PUR_QTY = quantity(out.PUR_QTY);
    out.PUR_AMT = Value(amount);
    out.USED_QTY = quantity(out.USED_QTY);
    out.REST_QTY = quantity(out.REST_QTY);
    // The valid flag as a truth value: only an unchecked box (0) is false.
    out.CHK_FLG = Value(out.CHK_FLG.isNull() || out.CHK_FLG.toBool() ? -1 : 0);
    QStringList names;
    std::vector<Value> values;
    for (const auto &[name, value] : rowValues(out)) {
        names << name;
        values.push_back(value);
    }
    if (mode == kEditAdd) {
        const HoldColumns h = HoldColumns::forInsert(Value(now));
        out.FMR_ID = Value(fmr);
        out.IDATE = h.idate;
        out.UDATE = Value::null();
        out.LAST_TM = h.lastTm;
        out.HOLD_TM = h.holdTm;
        names = QStringList{QStringLiteral("FMR_ID"), QStringLiteral("CHEMI_ID")} + names
                + QStringList{QStringLiteral("IDATE"), QStringLiteral("UDATE"), QStringLiteral("LAST_TM"),
                              QStringLiteral("HOLD_TM")};
        values.insert(values.begin(), {out.FMR_ID, out.CHEMI_ID});
        values.insert(values.end(), {out.IDATE, out.UDATE, out.LAST_TM, out.HOLD_TM});
        db.EXEC(insertStatement(QStringLiteral("D_CHEMI"), names), values);
    } else {
        const HoldColumns h = HoldColumns::forUpdate();
        out.UDATE = h.udate;
        out.LAST_TM = h.lastTm;
        out.HOLD_TM = h.holdTm;
        QStringList sets;
        for (const QString &n : names)
            sets << n + QStringLiteral("=?");
        sets << QStringLiteral("UDATE=?") << QStringLiteral("LAST_TM=?") << QStringLiteral("HOLD_TM=?");
        values.insert(values.end(), {out.UDATE, out.LAST_TM, out.HOLD_TM});
        values.insert(values.end(), key.begin(), key.end());
        db.EXEC(QStringLiteral("UPDATE D_CHEMI SET %1 WHERE D_CHEMI.CHEMI_ID=?").arg(sets.join(QStringLiteral(", "))),
                values);
    }
    tx.commit();
    rec = out;
    return ChemiSaveResult::Saved;
}

}  // namespace hb
