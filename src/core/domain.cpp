// The domain functions of the data-access objects: one value of a table by a condition.

#include "core/dbobject.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace hb {

Value DbObject::domain(const QString &head, const QString &wcs, bool joinAll)
{
    if (!isOpen())
        OpenCnn();
    QString sql = head;
    if (!wcs.isEmpty())
        sql += QStringLiteral(" WHERE ") + wcs;
    if (composedStatementHook)
        composedStatementHook(sql);
    auto rs = openRecordset(sql, {}, Recordset::ForwardOnly, false);
    if (rs->eof())
        return Value::null();
    if (!joinAll)
        return rs->Fields(0);
    QString out;
    while (!rs->eof()) {
        const Value v = rs->Fields(0);
        out += QLatin1Char(' ') + (v.isNull() ? QString() : v.displayText());
        rs->MoveNext();
    }
    return Value(out.trimmed());
}

Value DbObject::DMax(const QString &fld, const QString &tbl, const QString &wcs)
{
    return domain(QStringLiteral("SELECT MAX(%1) FROM %2").arg(fld, tbl), wcs, false);
}

Value DbObject::DMin(const QString &fld, const QString &tbl, const QString &wcs)
{
    return domain(QStringLiteral("SELECT MIN(%1) FROM %2").arg(fld, tbl), wcs, false);
}

Value DbObject::DCount(const QString &fld, const QString &tbl, const QString &wcs)
{
    return domain(QStringLiteral("SELECT COUNT(%1) FROM %2").arg(fld, tbl), wcs, false);
}

Value DbObject::DSUM(const QString &fld, const QString &tbl, const QString &wcs)
{
    return domain(QStringLiteral("SELECT SUM(%1) FROM %2").arg(fld, tbl), wcs, false);
}

Value DbObject::DLookup(const QString &fld, const QString &tbl, const QString &wcs)
{
    return domain(QStringLiteral("SELECT %1 FROM %2").arg(fld, tbl), wcs, false);
}

Value DbObject::DJoin(const QString &fld, const QString &tbl, const QString &wcs)
{
    return domain(QStringLiteral("SELECT %1 FROM %2").arg(fld, tbl), wcs, true);
}

}  // namespace hb
