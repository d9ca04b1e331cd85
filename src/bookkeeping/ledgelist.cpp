#include "bookkeeping/ledgelist.h"

#include "core/db.h"
#include "core/filters.h"
#include "core/helpers.h"

#include <QStringList>

namespace hb {

namespace {

// A statement's condition with its bound values.
struct Condition {
    QStringList parts;
    std::vector<Value> params;
    void add(const QString &part, std::initializer_list<Value> values = {})
    {
        parts << part;
        params.insert(params.end(), values);
    }
    QString text() const { return parts.join(QStringLiteral(" AND ")); }
};

Value dayValue(const QDate &d)
{
    return Value(QDateTime(d, QTime(0, 0)));
}

QString counterpartyCondition()
{
    return QStringLiteral("D_LEDGE.CTR_NM") + likeContains();
}

Condition listCondition(const LedgeFilter &f)
{
    Condition cond;
    cond.add(QStringLiteral("D_LEDGE.FMR_ID=?"), {Value(f.fmrId)});
    if (f.accId != 0)
        cond.add(QStringLiteral("((D_LEDGE.D_ACC_ID=?) OR (D_LEDGE.C_ACC_ID=?))"), {Value(f.accId), Value(f.accId)});
    if (!f.counterparty.isEmpty())
        cond.add(counterpartyCondition(), {likeContainsPattern(f.counterparty)});
    if (f.from)
        cond.add(QStringLiteral("D_LEDGE.LEDGE_DATE>=?"), {dayValue(*f.from)});
    if (f.to)
        cond.add(QStringLiteral("D_LEDGE.LEDGE_DATE<=?"), {dayValue(*f.to)});
    if (f.yearStart)
        cond.add(QStringLiteral("D_LEDGE.LEDGE_DATE>=?"), {dayValue(*f.yearStart)});
    return cond;
}

}  // namespace

AccountBalance LedgerOpening(DbObject &data, DbObject &work, const LedgeFilter &f)
{
    const auto kind = [&work, &f](const QString &field) {
        const Value v = work.DLookup(field, QStringLiteral("L_ACC"), QStringLiteral("ACC_ID=") + QString::number(f.accId));
        if (isBlank(v) || !IsNumeric(v))
            throw HbError(kErrInvalidNull, QStringLiteral("Null の使い方が不正です。"));
        return static_cast<long>(v.toLong());
    };
    const long dcKbn = kind(QStringLiteral("DC_KBN"));
    const long pgKbn = kind(QStringLiteral("PG_KBN"));
    std::optional<QDate> start = f.from;
    if (f.yearStart && (!start || *start < *f.yearStart))
        start = f.yearStart;
    Condition open;
    open.add(QStringLiteral("D_LEDGE.FMR_ID=?"), {Value(f.fmrId)});
    if (!f.counterparty.isEmpty())
        open.add(counterpartyCondition(), {likeContainsPattern(f.counterparty)});
    if (start)
        open.add(QStringLiteral("D_LEDGE.LEDGE_DATE<?"), {dayValue(*start)});
    else
        open.add(QStringLiteral("D_LEDGE.LEDGE_DATE IS NULL"));
    if (pgKbn != 1 && f.yearStart)
        open.add(QStringLiteral("D_LEDGE.LEDGE_DATE>=?"), {dayValue(*f.yearStart)});
    const auto side = [&open, &data, &f](const char *column) {
        std::vector<Value> params = open.params;
        params.push_back(Value(f.accId));
        auto rs = data.GetFwdOnlyRst(QStringLiteral("SELECT SUM(AMT) FROM D_LEDGE WHERE ") + open.text() +
                                         QStringLiteral(" AND ") + QLatin1String(column) + QStringLiteral("=?"),
                                     params);
        const Value v = rs->eof() ? Value::null() : rs->Fields(0);
        rs->Close();
        return isBlank(v) ? Currency{} : v.toCurrency();
    };
    const Currency debit = side("D_ACC_ID");
    const Currency credit = side("C_ACC_ID");
    return AccountBalance(dcKbn == kDcCredit, debit, credit);
}

bool LoadLedges(DbObject &data, const LedgeFilter &f, std::vector<LedgeRec> &rows)
{
    const Condition cond = listCondition(f);
    auto rs = data.GetFwdOnlyRst(QStringLiteral("SELECT  D_LEDGE.*  FROM D_LEDGE  WHERE ") + cond.text() +
                                     QStringLiteral(" ORDER BY D_LEDGE.LEDGE_DATE, D_LEDGE.LEDGE_ID"),
                                 cond.params);
    const bool any = LedgeRec::loadArray(*rs, rows) > 0;
    rs->Close();
    return any;
}

QHash<long, QString> AccountNames(DbObject &work)
{
    QHash<long, QString> names;
    auto rs = work.GetFwdOnlyRst(QStringLiteral("SELECT ACC_ID, ACC_NM FROM L_ACC"));
    for (; !rs->eof(); rs->MoveNext())
        names.insert(IdOrZero(rs->Fields(0)), NullToVal(rs->Fields(1), Value("")).displayText());
    rs->Close();
    return names;
}

std::optional<LedgeTotals> LedgeListTotals(DbObject &data, const LedgeFilter &f)
{
    const Condition cond = listCondition(f);
    auto rs = data.GetFwdOnlyRst(QStringLiteral("SELECT  COUNT(*),  SUM(D_LEDGE.AMT)  FROM D_LEDGE  WHERE ") + cond.text(),
                                 cond.params);
    if (rs->eof())
        return std::nullopt;
    LedgeTotals t;
    t.count = static_cast<long>(rs->Fields(0).toLong());
    t.sum = rs->Fields(1);
    rs->Close();
    return t;
}

}  // namespace hb
