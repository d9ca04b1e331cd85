#include "core/recordhold.h"

#include "core/db.h"
#include "core/log.h"

#include <QSysInfo>

namespace hb {

namespace {
std::function<QString()> &compNameSource()
{
    static std::function<QString()> s;
    return s;
}
}  // namespace

void ReleaseDataHolds(const QString &table)
{
    if (gDb)
        gDb->ReleaseData(table, QString());
}

QString GetCompName()
{
    const QString name = compNameSource() ? compNameSource()() : QSysInfo::machineHostName();
    return name.left(15);
}

void setCompNameSource(std::function<QString()> source)
{
    compNameSource() = std::move(source);
}

HoldColumns HoldColumns::forInsert(const Value &earlierIdate, const Value &udate)
{
    const QDateTime now = QDateTime::currentDateTime();
    HoldColumns h;
    h.idate = isBlank(earlierIdate) ? Value(now) : earlierIdate;
    h.udate = udate;
    h.lastTm = Value(GetCompName());
    h.holdTm = Value::null();
    return h;
}

HoldColumns HoldColumns::forUpdate()
{
    HoldColumns h;
    h.udate = Value(QDateTime::currentDateTime());
    h.lastTm = Value(GetCompName());
    h.holdTm = Value::null();
    return h;
}

void HoldColumns::applyTo(Recordset &rs) const
{
    if (!idate.isEmpty())
        rs.setField(QStringLiteral("IDATE"), idate);
    if (!udate.isEmpty())
        rs.setField(QStringLiteral("UDATE"), udate);
    rs.setField(QStringLiteral("LAST_TM"), lastTm);
    rs.setField(QStringLiteral("HOLD_TM"), holdTm);
}

QStringList HoldColumns::insertColumns() const
{
    QStringList cols;
    if (!idate.isEmpty())
        cols << QStringLiteral("IDATE");
    if (!udate.isEmpty())
        cols << QStringLiteral("UDATE");
    cols << QStringLiteral("LAST_TM") << QStringLiteral("HOLD_TM");
    return cols;
}

std::vector<Value> HoldColumns::insertValues() const
{
    std::vector<Value> vals;
    if (!idate.isEmpty())
        vals.push_back(idate);
    if (!udate.isEmpty())
        vals.push_back(udate);
    vals.push_back(lastTm);
    vals.push_back(holdTm);
    return vals;
}

long DbObject::ReleaseData(const QString &table, const QString &wcs)
{
    QString sql = QStringLiteral("UPDATE ") + table + QStringLiteral(" SET LAST_TM=HOLD_TM,") +
                  QStringLiteral(" HOLD_TM=NULL ") + QStringLiteral(" WHERE HOLD_TM=? ");
    if (!wcs.isEmpty())
        sql += QStringLiteral(" AND ") + wcs;
    try {
        EXEC(sql, {Value(GetCompName())});
        return 0;
    } catch (const HbError &e) {
        WriteLog(QStringLiteral("(%1)").arg(e.number()) + e.description() + QStringLiteral(" SQL:") + sql);
        return -256;
    }
}

}  // namespace hb
