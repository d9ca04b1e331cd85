#pragma once
// The dialogs with a year and a planting of that year: the production-history print and the
// trace-data upload.

#include "printing/fdlprintaccrep.h"

namespace hb {

class PlantingCondDialog : public ReportCondDialog {
    Q_OBJECT
public:
    enum Cond : int { kCondYear = 0 };

    // kCmbPlanting rebuilds the planting box from the year box; any other index does nothing.
    void SetCmb(int index);

protected:
    PlantingCondDialog(const QString &name, const QString &caption, const QString &actionCaption,
                       const QString &plantingCaption);
    void onLoad() override;
};

// "生産履歴印刷": a year and a planting, previewed on "印刷".
class fdlPrintTraceRep : public PlantingCondDialog {
    Q_OBJECT
public:
    fdlPrintTraceRep();
};

}  // namespace hb
