#include "printing/fdlprinttracerep.h"

#include "core/db.h"
#include "core/helpers.h"
#include "core/picklist.h"

#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QPushButton>

namespace hb {

PlantingCondDialog::PlantingCondDialog(const QString &name, const QString &caption, const QString &actionCaption,
                                       const QString &plantingCaption)
    : ReportCondDialog(name, caption, actionCaption)
{
    addLabel(2, QStringLiteral("年"), 40, 110, 80);
    addCondBox(kCondYear, 4, 130, 110, 70);
    addLabel(0, plantingCaption, 40, 150, 80);
    auto *planting = new QComboBox(this);
    planting->setObjectName(ctlName(QStringLiteral("cmbCOND"), kCmbPlanting));
    planting->setGeometry(130, 150, 300, 26);
    cmbCOND[kCmbPlanting] = planting;
}

void PlantingCondDialog::onLoad()
{
    Form::onLoad();
    txtCOND[kCondYear]->setText(QString::number(QDate::currentDate().year()));
    SetCmb(kCmbGrower);
    SetCmb(kCmbPlanting);
}

void PlantingCondDialog::SetCmb(int index)
{
    if (index != kCmbPlanting)
        return;
    QComboBox *box = cmbCOND[kCmbPlanting];
    box->clear();
    const QString year = txtCOND[kCondYear]->text();
    if (year.isEmpty())
        return;
    // Every grower's plantings of the year, each pair of number and name once; the outer join
    // keeps plantings without shipments. The year is bound, never spliced.
    double y = 0;
    const Value yearValue = parseNumber(year, &y) && y == static_cast<long>(y) ? Value(static_cast<long>(y)) : Value(year);
    box->addItem(QString(), QVariant::fromValue<qlonglong>(0));
    addPickRows(box, dataDb(),
                QStringLiteral("SELECT DISTINCT  D_PLANT.PLANT_ID,  D_PLANT.PLANT_NM FROM D_PLANT "
                               "  LEFT JOIN D_SHIP  ON (D_PLANT.PLANT_ID = D_SHIP.PLANT_ID) "
                               " AND (D_PLANT.FMR_ID = D_SHIP.FMR_ID) WHERE YYYY=?"
                               " ORDER BY D_PLANT.PLANT_ID"),
                {yearValue});
}

fdlPrintTraceRep::fdlPrintTraceRep()
    : PlantingCondDialog(QStringLiteral("fdlPrintTraceRep"), QStringLiteral("生産履歴印刷"), QStringLiteral("印刷"),
                         QStringLiteral("作付"))
{
    onClick(Command1[kCmdAction], [this] { printPreview(); });
}

}  // namespace hb
