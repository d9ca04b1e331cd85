#include "printing/repsettings.h"

#include "core/db.h"

#include <initializer_list>
#include <vector>

namespace hb {

namespace {

QString repCondition(int repId)
{
    return QStringLiteral("REP_ID=") + QString::number(repId);
}

float twipsOrZero(const Value &v)
{
    return static_cast<float>(NullToVal(v, Value(0)).toDouble());
}

// The columns of the report's row of a table; nothing when it has none.
std::optional<std::vector<Value>> readRepRow(DbObject &db, const QString &table, int repId,
                                             std::initializer_list<const char *> columns)
{
    auto rs = db.GetFwdOnlyRst(QStringLiteral("SELECT %1.* FROM %1 WHERE REP_ID=?").arg(table), {Value(repId)});
    std::optional<std::vector<Value>> row;
    if (!rs->eof()) {
        row.emplace();
        for (const char *c : columns)
            row->push_back(rs->Fields(QLatin1String(c)));
    }
    rs->Close();
    return row;
}

}  // namespace

RepCatalogue ReadRepCatalogue(int repId)
{
    RepCatalogue row;
    if (const auto r = readRepRow(workDb(), QStringLiteral("L_REP"), repId, {"REP_NM", "HEIGHT", "WIDTH", "ORIENTATION"})) {
        row.found = true;
        row.REP_NM = (*r)[0];
        row.HEIGHT = (*r)[1];
        row.WIDTH = (*r)[2];
        row.ORIENTATION = (*r)[3];
    }
    return row;
}

Value RepCatalogueValue(const QString &column, int repId)
{
    return workDb().DLookup(column, QStringLiteral("L_REP"), repCondition(repId));
}

Value RepSettingValue(const QString &column, int repId)
{
    return iniDb().DLookup(column, QStringLiteral("S_REP"), repCondition(repId));
}

RepMargins ReadRepMargins(int repId)
{
    RepMargins m;
    m.left = twipsOrZero(RepSettingValue(QStringLiteral("LEFT_MGN"), repId));
    m.top = twipsOrZero(RepSettingValue(QStringLiteral("TOP_MGN"), repId));
    return m;
}

RepSettings ReadRepSettings(int repId)
{
    RepSettings row;
    if (const auto r = readRepRow(iniDb(), QStringLiteral("S_REP"), repId, {"LEFT_MGN", "TOP_MGN", "PRINTER_NM", "PAPER_BIN"})) {
        row.found = true;
        row.LEFT_MGN = (*r)[0];
        row.TOP_MGN = (*r)[1];
        row.PRINTER_NM = (*r)[2];
        row.PAPER_BIN = (*r)[3];
    }
    return row;
}

void SaveRepSettings(int repId, double leftMargin, double topMargin, const QString &printerName,
                     std::optional<long> paperBin)
{
    TransactionScope tx(iniDb());
    auto rs = iniDb().GetDynamicRst(QStringLiteral("SELECT S_REP.* FROM S_REP WHERE REP_ID=?"), {Value(repId)});
    if (rs->eof()) {
        rs->AddNew();
        rs->setField(QStringLiteral("REP_ID"), Value(repId));
        if (!paperBin)
            paperBin = 0;
    }
    rs->setField(QStringLiteral("TOP_MGN"), Value(topMargin));
    rs->setField(QStringLiteral("LEFT_MGN"), Value(leftMargin));
    // No printer is the empty name, not Null.
    rs->setField(QStringLiteral("PRINTER_NM"), Value(printerName.isNull() ? QStringLiteral("") : printerName));
    if (paperBin)
        rs->setField(QStringLiteral("PAPER_BIN"), Value(*paperBin));
    rs->Update();
    rs->Close();
    tx.commit();
}

}  // namespace hb
