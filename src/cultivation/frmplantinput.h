#pragma once
// The planting input "作付入力": one planting of gPlant (or a new one) to add, modify, view,
// delete or copy, as the planting list asks through gEditMode and gEditRow. A box stores its
// value into the working record when it is left; "登録" checks and saves the record, refreshes
// the list and the calendar and closes; "完了" puts today into the end date.

#include "core/listinput.h"
#include "cultivation/plantrec.h"

#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace hb {

class DatePicker;

class frmPlantInput : public InputForm<PlantRec> {
public:
    frmPlantInput();

    void InitForm() override;
    // Refills pick list cmbDATA(index): a blank first entry, then the rows of its query.
    void SetCmb(int index);
    void DispData() override;
    bool ChkData() override;
    bool SaveData() override;
    void cmdMENU_Click(int index) override;

    // True when a text box changed since the record was last shown.
    bool changed() const { return changed_; }

    // The slots of the control arrays.
    enum Box : int {
        kBoxHarvestYear, kBoxHarvestMonth, kBoxCrop1, kBoxCrop2, kBoxPrdId, kBoxPrdNm, kBoxField, kBoxArea, kBoxName,
        kBoxStart, kBoxEnd, kBoxPlantDate, kBoxShipEst, kBoxShipFrom, kBoxShipTo, kBoxNotes1, kBoxNotes2, kBoxCount
    };
    enum Combo : int { kCmbGrower, kCmbCropKind, kCmbCrop, kCmbPlantType, kCmbMethod, kCmbShipUnit, kCmbCount };
    enum Shown : int { kLblPlantId, kLblCropEst, kLblHarvestFrom, kLblHarvestTo, kLblCount };
    std::array<QLineEdit *, kBoxCount> txtDATA{};
    std::array<QComboBox *, kCmbCount> cmbDATA{};
    std::array<QLabel *, kLblCount> lblDATA{};
    QGroupBox *Frame1 = nullptr;
    QLabel *lblTITLE = nullptr;
    DatePicker *picker = nullptr;

protected:
    void newRowDefaults(PlantRec &r) override;
    std::vector<LoadedRows> loadedRowsOf(const PlantRec &row) override { return LoadedPlant(row); }
    void onActivate() override;
    bool validate(QWidget *control) override;
    void gotFocus(QWidget *control) override;
    Trap trapFor(Event event, QWidget *control) const override;

private:
    void buildControls();
    // Checks box i and stores it into the working record; false keeps the focus there.
    bool txtDATA_Validate(int index);
    // Stores the choice of combo i; false (no message) when a typed text names no entry.
    bool cmbDATA_Validate(int index);
    // "完了": today as the end date, shown; nothing saved.
    void complete();
    void refuse(int index, const QString &message);

    bool changed_ = false;
    int cropKindShown_ = -1;  // the category the crop box was last settled for
};

}  // namespace hb
