#pragma once
// The planting list "作付一覧": the plantings of D_PLANT filtered by harvest year, crop and
// planting category, kept in gPlant, and the way into the planting input. The month calendar
// opens it: hb::form<hb::frmPlantList>().showModal(calendar).

#include "core/listinput.h"

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace hb {

class frmPlantList : public ListForm {
public:
    frmPlantList();

    // Year of the calendar's month, no crop, no category, the columns.
    void InitForm() override;
    // The list's columns, built anew at the window's width.
    void InitList();
    // Refills filter combo kCmbCrop (crops) or kCmbPlantType (planting categories); other
    // indexes do nothing.
    void SetCmb(int index);
    // Queries with the filters on screen and fills gPlant and the list; a query without rows
    // empties the list and leaves gPlant as it was. The planting saved last is selected. A year
    // that is no whole number is refused (message, focus to the box) before any statement, and
    // the list is left empty.
    void SetList();
    void refresh() override { SetList(); }

    // "検索": SetList under the hourglass.
    void cmdFIND_Click();

    // The slots of the filter arrays.
    enum Cond : int { kCondYear = 0, kCondCount = 1 };
    enum CondCombo : int { kCmbCrop = 0, kCmbPlantType = 1, kCmbCount = 2 };

    std::array<QLineEdit *, kCondCount> txtCOND{};
    std::array<QComboBox *, kCmbCount> cmbCOND{};
    QPushButton *cmdFIND = nullptr;
    QLabel *lblTITLE = nullptr;

protected:
    Form &inputWindow() override;
    bool validate(QWidget *control) override;
    Trap trapFor(Event event, QWidget *control) const override;

private:
    // Leaving a filter combo: the typed text selects the item of that exact text; a text that
    // names no item keeps the focus there.
    bool cmbCOND_Validate(int index);
};

}  // namespace hb
