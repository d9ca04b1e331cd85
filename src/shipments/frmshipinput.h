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

    // The grower (0) or shop (1) combo box from the master.
    void SetCmb(int index);
    // The grower's plantings live on the shipment day.
    void SetList(int index);
    // The chosen planting's facts.
    void DispPlantData();

    std::array<QLineEdit *, kShipBoxCount> txtDATA{};
    std::array<QComboBox *, 2> cmbDATA{};
    std::array<QLabel *, 8> lblDATA{};
    std::array<QRadioButton *, 2> Option1{};
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
