#pragma once
// "値札印刷": lists every grower's shipments of one day with their label counts, builds the
// price-tag rows, shows the label positions and sheets they take, and previews the sheets. It
// also holds what the sheet draws with: the frame option, the shop's logo, the plastic mark and
// the QR scratch picture.

#include "core/formbase.h"
#include "core/listview.h"
#include "printing/barcode.h"
#include "printing/sheetsource.h"

#include <QImage>
#include <array>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace hb {

class DatePicker;

class fdlPrintPriceTag : public Form, public PtagSheetSource {
    Q_OBJECT
public:
    fdlPrintPriceTag();

    // Caption, today's date, the stored frame option and the shop's logo (on Load).
    void InitForm();
    // The list's four columns at the window's width.
    void InitList();
    // Lists the day of the date box with the skip of the skip box: the list, gPtagData and the
    // two totals as one set. An empty date box changes nothing; a date box holding no date is
    // refused (message, focus to the box), changes nothing, and false is returned. A listing that
    // fails leaves the list empty, both totals 0 and no price-tag rows, and is raised.
    bool SetList();

    bool frameOn() override;
    QImage logo() override { return logo_; }
    QImage plasticMark() override { return plasticMark_; }
    QrScratch &qrScratch() override { return picQR; }

    // The slots of the control arrays.
    enum Cond : int { kCondShipDate = 0, kCondSkip = 1, kCondCount = 2 };
    enum Sum : int { kSumSheets = 0, kSumLabels = 1, kSumCount = 2 };  // sheets, label positions
    enum Command : int { kCmdCancel = 0, kCmdPrint = 1, kCmdCount = 2 };

    std::array<QLineEdit *, kCondCount> txtCOND{};
    QComboBox *cmbCOND_0 = nullptr;            // grower: laid out hidden, never filled
    QCheckBox *Check1 = nullptr;               // 枠線印刷
    QTreeWidget *ListView1 = nullptr;
    std::array<QLabel *, kSumCount> lblSUM{};
    std::array<QPushButton *, kCmdCount> Command1{};
    QLabel *lblTitle = nullptr;                // Label1(19)
    QLabel *imgLOGO_S = nullptr;
    QLabel *imgPURA = nullptr;
    DatePicker *picker = nullptr;              // MonthView1
    QrScratch picQR;

protected:
    void onLoad() override;
    void onResize() override;
    bool validate(QWidget *control) override;
    void gotFocus(QWidget *control) override;
    Trap trapFor(Event event, QWidget *control) const override;

private:
    void printClick();
    void showTotals(std::int64_t labels, std::int64_t sheets);

    std::vector<ListColumn> columns_;
    QImage logo_;
    QImage plasticMark_;
};

}  // namespace hb
