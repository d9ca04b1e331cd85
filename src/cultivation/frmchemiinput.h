#pragma once
// The pesticide purchase input "農薬入力": one purchase of gChemi (or a new one) to add, modify,
// view, delete or copy, as the pesticide list asks through gEditMode and gEditRow. A box stores
// its value into the working record when it is left, silently: a text that is no date or number
// is stored as Null and the box shows empty. Leaving the registration number fills the product
// fields from the registration tables; the frame "適用確認" lists the registered application
// rules of the pesticide for a crop. "登録" checks and saves the purchase with its voucher,
// refreshes the list and the calendar and closes.

#include "core/listinput.h"
#include "cultivation/chemiappl.h"
#include "cultivation/chemirec.h"

#include <array>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollBar;

namespace hb {

class DatePicker;

class frmChemiInput : public InputForm<ChemiRec> {
public:
    frmChemiInput();

    // Empties the working record and the rules; fills the three pick lists.
    void InitForm() override;
    // Refills pick list cmbDATA(index): a blank first entry (0), then the rows of its query.
    void SetCmb(int index);
    // Refills the crop picker of the use check (emptied first), nothing selected.
    void SetCmbInfo();
    void DispData() override;
    bool ChkData() override;
    bool SaveData() override;

    // The product fields from the registration behind REG_NO (REG_NO becomes that number).
    void SetChemiData();
    // The registered rules of the pesticide for the crop in the picker; then DispAppl.
    void SetAppl();
    // Shows the rule the pager points at.
    void DispAppl();

    // The pager's range as set last: its maximum is -1 when no rule applies (the pager then
    // runs from 0 to -1).
    int pagerMinimum() const { return pagerMin_; }
    int pagerMaximum() const { return pagerMax_; }
    const std::vector<ApplRec> &rules() const { return rules_; }

    // The slots of the control arrays.
    enum Box : int {
        kBoxRegNo = 0,
        kBoxName = 1,
        kBoxKind = 2,
        kBoxMaker = 3,
        kBoxPurDate = 4,
        kBoxPurShop = 5,
        kBoxPurQty = 6,
        kBoxPurAmt = 7,
        kBoxNotes = 8,
        kBoxCount = 9,
    };
    enum Combo : int { kCmbUses = 0, kCmbChemiType = 1, kCmbPurUnit = 2, kCmbCount = 3 };
    enum Shown : int { kLblChemiId = 0, kLblUsedQty = 1, kLblRestQty = 2, kLblCount = 3 };
    enum Payment : int { kPayCash = 0, kPayPayable = 1, kPayCount = 2 };  // "現金", "買掛"
    // What the use check shows of a rule.
    enum Info : int { kInfoTarget = 0, kInfoDilution = 1, kInfoSeason = 2, kInfoTimes = 3, kInfoCount = 4 };

    std::array<QLineEdit *, kBoxCount> txtDATA{};
    std::array<QComboBox *, kCmbCount> cmbDATA{};
    std::array<QLabel *, kLblCount> lblDATA{};
    std::array<QRadioButton *, kPayCount> Option1{};
    std::array<QLabel *, kInfoCount> lblINFO{};
    QCheckBox *Check1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QComboBox *cmbINFO = nullptr;
    QScrollBar *VScroll1 = nullptr;
    QLabel *lblTITLE = nullptr;
    DatePicker *picker = nullptr;

protected:
    void newRowDefaults(ChemiRec &r) override;
    void recordDefaults(ChemiRec &r) override;
    std::vector<LoadedRows> loadedRowsOf(const ChemiRec &row) override { return LoadedChemi(dataDb(), row); }
    bool keepsEditable(QWidget *control) const override;
    void onResize() override;
    bool validate(QWidget *control) override;
    void gotFocus(QWidget *control) override;
    Trap trapFor(Event event, QWidget *control) const override;

private:
    void buildControls();
    bool editable() const;
    void txtDATA_Validate(int index);
    void cmbDATA_Validate(int index);
    // The crop typed or picked must be an entry (or empty); false keeps the focus there.
    bool cmbINFO_Validate();
    void setPager(int minimum, int maximum, int value);

    std::vector<ApplRec> rules_;
    int pagerMin_ = 0;
    int pagerMax_ = 0;
    bool changed_ = false;
};

}  // namespace hb
