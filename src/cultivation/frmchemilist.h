#pragma once
// The pesticide purchase list "農薬一覧": the current grower's purchases of D_CHEMI filtered by
// use, name, purchase period, registration number and remaining stock, kept in gChemi, and the
// way into the purchase input. The month calendar opens it:
// hb::form<hb::frmChemiList>().showModal(calendar).

#include "core/listinput.h"
#include "cultivation/chemirec.h"

#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace hb {

class DatePicker;

class frmChemiList : public ListForm {
public:
    frmChemiList();

    // The use filter refilled and blank, the columns; the other filters stay as they are.
    void InitForm() override;
    // The list's columns, built anew at the window's width.
    void InitList();
    // Refills the use filter (kCmbUses); other indexes do nothing.
    void SetCmb(int index);
    // Reads the filters and, when they are valid, queries and fills gChemi and the list; a query
    // without rows empties the list and leaves gChemi as it was. The purchase saved last is
    // selected. A filter box that holds no date is refused (its message, the focus) and the list
    // is left empty; false then.
    bool SetList();
    void refresh() override { SetList(); }

    // "検索": the filters read first; then the stock of the grower's unused purchases is reset
    // (resetChemiUse: a reset that cannot write is shown and the list still filled) and the list
    // queried, under the hourglass.
    void cmdFIND_Click();

    // The slots of the filter arrays; the options are in the order of ChemiStock.
    enum Cond : int { kCondName = 0, kCondFrom = 1, kCondTo = 2, kCondRegNo = 3, kCondCount = 4 };
    enum CondCombo : int { kCmbUses = 0, kCmbCount = 1 };

    static constexpr int kStockCount = static_cast<int>(ChemiStock::Count);

    std::array<QComboBox *, kCmbCount> cmbCOND{};
    std::array<QLineEdit *, kCondCount> txtCOND{};
    std::array<QRadioButton *, kStockCount> Option1{};
    QGroupBox *Frame1 = nullptr;
    QPushButton *cmdFIND = nullptr;
    QLabel *lblTITLE = nullptr;
    DatePicker *picker = nullptr;

protected:
    Form &inputWindow() override;
    void gotFocus(QWidget *control) override;
    Trap trapFor(Event event, QWidget *control) const override;

private:
    // The filters on screen; false (after the box's refusal, the list emptied) when one is invalid.
    bool readFilter(ChemiFilter *filter);
    void fill(const ChemiFilter &filter);
    QRadioButton *stockOption(ChemiStock stock) const { return Option1[static_cast<std::size_t>(stock)]; }
};

}  // namespace hb
