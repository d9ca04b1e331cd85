#pragma once
// The shipment input window: one shipment of the grower, with its planting, product, shop,
// payment side, price, quantities and the sales and fee amounts computed as they are typed.

#include "core/listinput.h"
#include "shipments/shipcalc.h"
#include "shipments/shiprec.h"

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace hb {

class DatePicker;

class frmShipInput : public InputForm<ShipRec> {
public:
    frmShipInput();

    void InitForm() override;
    void SetMode() override;
    void DispData() override;
    bool ChkData() override;
    bool SaveData() override;

    // The grower (kCmbGrower) or shop (kCmbShop) combo box from the master.
    void SetCmb(int index);
    // The grower's plantings live on the shipment day.
    void SetList(int index);
    // The chosen planting's facts.
    void DispPlantData();

    // The slots of the control arrays; the boxes' are the ShipBox values.
    enum Combo : int { kCmbGrower = 0, kCmbShop = 1, kCmbCount = 2 };
    enum Shown : int {
        kLblShipId = 0,
        kLblCrop1 = 1,  // the planting's facts: crop names, planting date, area, shipping period
        kLblCrop2 = 2,
        kLblPlantDate = 3,
        kLblArea = 4,
        kLblShipFrom = 5,
        kLblShipTo = 6,
        kLblSalesAmt = 7,
        kLblCount = 8,
    };
    enum Payment : int { kPayCash = 0, kPayReceivable = 1, kPayCount = 2 };  // "現金", "売掛"

    std::array<QLineEdit *, kShipBoxCount> txtDATA{};
    std::array<QComboBox *, kCmbCount> cmbDATA{};
    std::array<QLabel *, kLblCount> lblDATA{};
    std::array<QRadioButton *, kPayCount> Option1{};
    QListWidget *List1 = nullptr;
    QCheckBox *Check1 = nullptr;
    QLabel *lblTITLE = nullptr;
    DatePicker *picker = nullptr;

protected:
    void newRowDefaults(ShipRec &r) override;
    std::vector<LoadedRows> loadedRowsOf(const ShipRec &row) override;
    bool validate(QWidget *control) override;
    void gotFocus(QWidget *control) override;
    Trap trapFor(Event event, QWidget *control) const override;

private:
    bool txtDATA_Validate(int index);
    void cmbDATA_Validate(int index);
    void List1_Validate();
    void List1_Click();
    bool editable() const;

    bool changed_ = false;
};

}  // namespace hb
