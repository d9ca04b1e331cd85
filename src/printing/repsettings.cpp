#include "printing/repsettings.h"

#include "core/db.h"

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

}  // namespace

RepCatalogue ReadRepCatalogue(int repId)
{
    RepCatalogue row;
    auto rs = gWork->GetFwdOnlyRst(QStringLiteral("SELECT L_REP.* FROM L_REP WHERE REP_ID=?"), {Value(repId)});
    if (!rs->eof()) {
        row.found = true;
        row.REP_NM = rs->Fields(QStringLiteral("REP_NM"));
        row.HEIGHT = rs->Fields(QStringLiteral("HEIGHT"));
        row.WIDTH = rs->Fields(QStringLiteral("WIDTH"));
        row.ORIENTATION = rs->Fields(QStringLiteral("ORIENTATION"));
    }
    rs->Close();
    return row;
}

Value RepCatalogueValue(const QString &column, int repId)
{
    return gWork->DLookup(column, QStringLiteral("L_REP"), repCondition(repId));
}

Value RepSettingValue(const QString &column, int repId)
{
    return gINI->DLookup(column, QStringLiteral("S_REP"), repCondition(repId));
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
    auto rs = gINI->GetFwdOnlyRst(QStringLiteral("SELECT S_REP.* FROM S_REP WHERE REP_ID=?"), {Value(repId)});
    if (!rs->eof()) {
        row.found = true;
        row.LEFT_MGN = rs->Fields(QStringLiteral("LEFT_MGN"));
        row.TOP_MGN = rs->Fields(QStringLiteral("TOP_MGN"));
        row.PRINTER_NM = rs->Fields(QStringLiteral("PRINTER_NM"));
        row.PAPER_BIN = rs->Fields(QStringLiteral("PAPER_BIN"));
    }
    rs->Close();
    return row;
}

void SaveRepSettings(int repId, double leftMargin, double topMargin, const QString &printerName,
                     std::optional<long> paperBin)
{
    TransactionScope tx(*gINI);
    auto rs = gINI->GetDynamicRst(QStringLiteral("SELECT S_REP.* FROM S_REP WHERE REP_ID=?"), {Value(repId)});
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
