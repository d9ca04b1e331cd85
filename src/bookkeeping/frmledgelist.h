#pragma once
// The voucher list and the account ledger of the current grower, one window with two views:
//   0 "伝票一覧": the vouchers of the period that pass the filters, with their count and sum;
//   1 "元帳一覧": the vouchers naming the chosen account on either side, the amount split into
//     the account's increase and decrease, with the opening, running and closing balance.
// The month calendar opens it modally: hb::form<hb::frmLedgeList>().showModal(calendar).
// The buttons open frmLedgeInput through gEditMode/gEditRow; the list fills gLedge, and a
// voucher made by the diary, a purchase or a shipment is refused for modify and delete.
//
// The window initialises once per showing (period of the calendar month, its year, no
// account); a later resize only rescales. Filter texts are bound into the statements; a date
// box that holds no date is refused before any statement, and the list, its totals and gLedge
// are left empty.

#include "bookkeeping/ledger.h"
#include "core/listinput.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>

namespace hb {

class DatePicker;

class frmLedgeList : public ListForm {
public:
    frmLedgeList();

    // Account list, its empty entry chosen, and the period: the calendar month, its year.
    // Then the columns and captions of the view (DispForm without the query).
    void InitForm() override;
    // The refresh of the view with the filters as they stand (SetList).
    void refresh() override { SetList(); }

    void InitList();
    // Columns, captions and totals of the view, then the query; the focus moves on.
    void DispForm();
    void SetList();
    void SetCmb(int index);
    void cmdMENU_Click(int index) override;
    void cmdFIND_Click();
    void Option1_Click();

    // The slots of the control arrays. The views are also the values of viewKbn().
    enum View : int { kViewVouchers = 0, kViewLedger = 1, kViewCount = 2 };  // "伝票", "元帳"
    enum Cond : int { kCondCounterparty = 0, kCondFrom = 1, kCondTo = 2, kCondYear = 3, kCondCount = 4 };
    enum CondCombo : int { kCmbAccount = 0, kCmbCount = 1 };
    enum Sum : int { kSumCount = 0, kSumOpening = 1, kSumIncreases = 2, kSumDecreases = 3, kSumTotal = 4, kSumSlots = 5 };
    // The captions of the totals: the count, the ledger's and the voucher list's total.
    enum SumCaption : int { kSumCapCount = 0, kSumCapLedger = 1, kSumCapVouchers = 2, kSumCapSlots = 3 };

    // kViewVouchers the voucher list, kViewLedger the account ledger.
    long viewKbn() const { return viewKbn_; }
    DatePicker *picker() const { return picker_; }

    QLabel *lblTITLE = nullptr;
    std::array<QLineEdit *, kCondCount> txtCOND{};  // the year box is locked
    std::array<QComboBox *, kCmbCount> cmbCOND{};
    QGroupBox *Frame1 = nullptr;
    std::array<QRadioButton *, kViewCount> Option1{};
    QPushButton *cmdFIND = nullptr;
    std::array<QLabel *, kSumSlots> lblSUM{};
    std::array<QLabel *, kSumCapSlots> lblSUM_CAP{};

protected:
    Form &inputWindow() override;
    bool mayOpen(int mode, long row) override;
    void onLoad() override;
    bool validate(QWidget *control) override;
    void gotFocus(QWidget *control) override;
    Trap trapFor(Event event, QWidget *control) const override;

private:
    void buildControls();
    void clearSums();
    // No rows, none selected, gLedge at its one empty row, empty totals.
    void emptyList() override;
    // Title and the totals of the view.
    void dispCaptions();

    long viewKbn_ = kViewVouchers;
    DatePicker *picker_ = nullptr;
};

}  // namespace hb
