#pragma once
// The price-tag export: writes the price-tag rows of the current grower's shipments to the shop
// in use within a period to a CSV file in a chosen folder.

#include "core/formbase.h"

#include <QDate>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace hb {

class DatePicker;

class fdlExpPriceTag : public Form {
public:
    fdlExpPriceTag();

    // The default period (from the last export and the latest shipment) and the stored folder.
    void InitForm();
    // Checks the boxes, builds the rows and writes the file; the number of lines written, 0 when
    // nothing was written (the failure has been reported).
    int ExpData();
    // Builds gPtagData from the shipments of the period; the number of rows (0: none found, and
    // gPtagData is left as it was).
    int GetData(const QDate &from, const QDate &to);

    // The slots of the control arrays.
    enum Cond : int { kCondFrom = 0, kCondTo = 1, kCondFolder = 2, kCondCount = 3 };
    enum Command : int { kCmdCancel = 0, kCmdExport = 1, kCmdBrowse = 2, kCmdCount = 3 };

    std::array<QLineEdit *, kCondCount> txtCOND{};
    std::array<QPushButton *, kCmdCount> Command1{};
    QLabel *lblTitle = nullptr;                // Label1(19)
    DatePicker *picker = nullptr;              // MonthView1

protected:
    void onLoad() override;
    bool validate(QWidget *control) override;
    void gotFocus(QWidget *control) override;
    Trap trapFor(Event event, QWidget *control) const override;

private:
    void exportClick();
    void browseClick();
};

}  // namespace hb
