#include "cultivation/chemistock.h"

#include "core/databases.h"
#include "core/db.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/schema.h"

#include <QStringList>
#include <algorithm>
#include <map>
#include <set>

namespace hb {

namespace {

// "?, ?, ?" for n values.
QString marks(size_t n)
{
    QStringList m;
    for (size_t i = 0; i < n; ++i)
        m << QStringLiteral("?");
    return m.join(QStringLiteral(", "));
}

}  // namespace

double GetUnitRate(long first, long second)
{
    if (first == second || first == 0 || second == 0)
        return 1;
    const double thousandth = 1.0 / 1000;
    struct Pair {
        long first;
        long second;
        double factor;
    };
    const Pair pairs[] = {
        {1, 2, 1000},
        {1, 3, thousandth},
        {2, 1, thousandth},
        {2, 3, thousandth / 1000},
        {3, 1, 1000},
        {3, 2, 1000.0 * 1000},
        {4, 5, 1000},
        {5, 4, thousandth},
    };
    for (const Pair &p : pairs) {
        if (p.first == first && p.second == second)
            return p.factor;
    }
    return 0;
}

void ClearChemiUse(DbObject &db, const Value &fmrId)
{
    // The grower's purchases that no line of any grower names and that do not hold their reset
    // already. They are looked for first: where there is none nothing is written, so a data file
    // that cannot be written is only read.
    const QString needing = QStringLiteral(
        " WHERE D_CHEMI.FMR_ID=?"
        " AND (D_CHEMI.USED_QTY IS NULL OR D_CHEMI.USED_QTY<>0"
        " OR (D_CHEMI.REST_QTY IS NULL AND D_CHEMI.PUR_QTY IS NOT NULL)"
        " OR (D_CHEMI.REST_QTY IS NOT NULL AND D_CHEMI.PUR_QTY IS NULL)"
        " OR D_CHEMI.REST_QTY<>D_CHEMI.PUR_QTY)"
        " AND NOT EXISTS (SELECT 1 FROM D_DIARY_DTL WHERE D_DIARY_DTL.CHEMI_ID=D_CHEMI.CHEMI_ID)");
    const std::vector<Value> fmr = {fmrId.isEmpty() ? Value::null() : fmrId};
    const bool needed =
        db.GetFwdOnlyRst(QStringLiteral("SELECT EXISTS (SELECT 1 FROM D_CHEMI") + needing + QStringLiteral(")"), fmr)
            ->Fields(0)
            .toBool();
    if (!needed)
        return;
    db.EXEC(QStringLiteral("UPDATE D_CHEMI SET D_CHEMI.USED_QTY=0, D_CHEMI.REST_QTY=D_CHEMI.PUR_QTY") + needing, fmr);
}

void resetChemiUse()
{
    const long writes = DbObject::writingStatements();
    try {
        ClearChemiUse(dataDb(), gFmrID);
    } catch (const HbError &e) {
        // Only the reset's write is answered here; a failed read is the caller's.
        if (DbObject::writingStatements() == writes)
            throw;
        reportError(Trap::Critical, e.number(), e.description());
    }
}

void CalChemiStock(DbObject &db, DbObject &work, const QDateTime &workDate, long fmrId,
                   const std::vector<long> &loadedChemiIds)
{

    // The purchases the day's lines name now (Null as 0), and those they named when loaded.
    std::set<long> ids(loadedChemiIds.begin(), loadedChemiIds.end());
    bool dayHasLines = false;
    {
        auto rs = db.GetFwdOnlyRst(QStringLiteral("SELECT D_DIARY_DTL.CHEMI_ID FROM D_DIARY_DTL"
                                                  " WHERE D_DIARY_DTL.FMR_ID=? AND D_DIARY_DTL.WORK_DATE=?"),
                                   {Value(fmrId), Value(workDate)});
        for (; !rs->eof(); rs->MoveNext()) {
            dayHasLines = true;
            ids.insert(static_cast<long>(NullToVal(rs->Fields(0), Value(0)).toLong()));
        }
    }
    if (!dayHasLines && loadedChemiIds.empty())
        return;

    // Every line of the grower, on any day, naming one of them: their quantities summed per
    // purchase and line unit, with the purchase's unit (a purchase has one), which is all the
    // conversion needs. A line counts for its own grower's purchase only. A line naming 0 names
    // no purchase (purchases are numbered from 1): those lines, most of a grower's, are not read.
    // A unit never chosen (Null) is no unit, as the empty entry (0) is: a line without unit of a
    // purchase without unit is in the purchase's own unit.
    std::vector<Value> named;
    for (long id : ids) {
        if (id > 0)
            named.push_back(Value(id));
    }
    std::vector<Value> rows;
    if (!named.empty()) {
        std::vector<Value> params = {Value(fmrId)};
        params.insert(params.end(), named.begin(), named.end());
        params.push_back(Value(fmrId));
        params.insert(params.end(), named.begin(), named.end());
        auto groups = db.GetFwdOnlyRst(
            QStringLiteral("SELECT U.CHEMI_ID, COALESCE(D_CHEMI.PUR_UNIT, 0) AS PUR_UNIT_ID, U.DTL_UNIT_ID, U.QTY FROM"
                           " (SELECT D_DIARY_DTL.CHEMI_ID, COALESCE(D_DIARY_DTL.UNIT_ID, 0) AS DTL_UNIT_ID,"
                           " SUM(D_DIARY_DTL.QTY) AS QTY"
                           " FROM D_DIARY_DTL WHERE D_DIARY_DTL.FMR_ID=? AND D_DIARY_DTL.CHEMI_ID IN(") +
                marks(named.size()) +
                QStringLiteral(") GROUP BY D_DIARY_DTL.CHEMI_ID, COALESCE(D_DIARY_DTL.UNIT_ID, 0)) U"
                               " INNER JOIN D_CHEMI ON U.CHEMI_ID = D_CHEMI.CHEMI_ID WHERE D_CHEMI.FMR_ID=?"
                               " AND D_CHEMI.CHEMI_ID IN(") +
                marks(named.size()) + QStringLiteral(")"),
            params);
        for (; !groups->eof(); groups->MoveNext()) {
            for (int f = 0; f < 4; ++f)
                rows.push_back(groups->Fields(f));
        }
        groups->Close();
    }

    // Converted in the work database, where the unit table lies. The work table holds this
    // run's rows only: rows of an earlier run are never summed again.
    std::map<long, double> used;
    {
        TransactionScope scope(work);
        work.EXEC(QStringLiteral("DELETE W_CHEMI_USE.* FROM W_CHEMI_USE"));
        if (!rows.empty()) {
            constexpr std::size_t kColumns = 4;
            constexpr std::size_t kRowsPerStatement = 200;
            const QString tuple = QStringLiteral("(") + marks(kColumns) + QStringLiteral(")");
            for (std::size_t at = 0; at < rows.size(); at += kColumns * kRowsPerStatement) {
                const std::size_t end = std::min(rows.size(), at + kColumns * kRowsPerStatement);
                QStringList tuples;
                for (std::size_t r = at; r < end; r += kColumns)
                    tuples << tuple;
                work.EXEC(QStringLiteral("INSERT INTO W_CHEMI_USE (CHEMI_ID, PUR_UNIT_ID, DTL_UNIT_ID, QTY) VALUES ") +
                              tuples.join(QStringLiteral(", ")),
                          std::vector<Value>(rows.begin() + static_cast<std::ptrdiff_t>(at),
                                             rows.begin() + static_cast<std::ptrdiff_t>(end)));
            }
            // A line in the unit the purchase's unit converts to gets the inverse rate; the
            // opposite direction gets the rate itself and wins where both are listed; equal
            // units count 1. An unlisted pair keeps no rate and adds nothing.
            work.EXEC(QStringLiteral("UPDATE W_CHEMI_USE INNER JOIN L_CHEMI_UNIT"
                                     " ON (W_CHEMI_USE.PUR_UNIT_ID = L_CHEMI_UNIT.ID)"
                                     " AND (W_CHEMI_USE.DTL_UNIT_ID = L_CHEMI_UNIT.CHG_ID)"
                                     " SET W_CHEMI_USE.RT = 1/ L_CHEMI_UNIT.RT"));
            work.EXEC(QStringLiteral("UPDATE W_CHEMI_USE INNER JOIN L_CHEMI_UNIT"
                                     " ON (W_CHEMI_USE.PUR_UNIT_ID = L_CHEMI_UNIT.CHG_ID)"
                                     " AND (W_CHEMI_USE.DTL_UNIT_ID = L_CHEMI_UNIT.ID)"
                                     " SET W_CHEMI_USE.RT = L_CHEMI_UNIT.RT"));
            work.EXEC(QStringLiteral("UPDATE W_CHEMI_USE SET W_CHEMI_USE.RT=1"
                                     " WHERE W_CHEMI_USE.PUR_UNIT_ID=W_CHEMI_USE.DTL_UNIT_ID"));
            work.EXEC(QStringLiteral("UPDATE W_CHEMI_USE SET W_CHEMI_USE.USE_QTY=W_CHEMI_USE.QTY * W_CHEMI_USE.RT"));
            auto sums = work.GetFwdOnlyRst(QStringLiteral("SELECT W_CHEMI_USE.CHEMI_ID, SUM(W_CHEMI_USE.USE_QTY) AS USE_QTY"
                                                          " FROM W_CHEMI_USE GROUP BY W_CHEMI_USE.CHEMI_ID"));
            for (; !sums->eof(); sums->MoveNext())
                used[static_cast<long>(NullToVal(sums->Fields(0), Value(0)).toLong())] =
                    NullToVal(sums->Fields(1), Value(0)).toDouble();
        }
        scope.commit();
    }

    // Every purchase of the grower in the list gets its sum, 0 when no line names it any more.
    TransactionScope scope(db);
    for (long id : ids) {
        const auto it = used.find(id);
        db.EXEC(QStringLiteral("UPDATE D_CHEMI SET USED_QTY=? WHERE D_CHEMI.FMR_ID=? AND D_CHEMI.CHEMI_ID=?"),
                {Value(it == used.end() ? 0.0 : it->second), Value(fmrId), Value(id)});
    }
    // Every purchase of every grower whose rest is off, found through the index of just those
    // rows: the rows that already hold their rest are neither read nor rewritten.
    db.EXEC(QStringLiteral("UPDATE D_CHEMI SET REST_QTY=PUR_QTY-USED_QTY WHERE ") + restToFixCondition(db));
    scope.commit();
}

}  // namespace hb
