#pragma once
// The voucher input: adds, modifies, shows or deletes one free voucher (a D_LEDGE row) of the
// current grower. The voucher list sets gEditMode (1 add or copy, 2 modify, 3 view, 4 delete)
// and gEditRow (-1, or the voucher's index in gLedge) and shows it modally over itself. After a
// save the list queries again (and reselects gLastLedgeID), the calendar redraws and the window
// closes. Each side of the voucher ("借方", "貸方") has its account, an option box shown for
// accounts with an option kind (plantings 2, pesticide purchases 3) and its text.
//
// The window initialises once per showing; a later resize only rescales and keeps the input.
// The date and the amount are checked before a save ("日付を指定してください。",
// "数値を指定してください。"); each side's option kind is stored from its account, and a side
// whose account changes to another option kind drops its option. A save runs in one
// transaction, takes a new number inside it, and a failure is rolled back, reported and leaves
// the window open with its input. A voucher gone meanwhile (modify, delete) writes nothing: the
// message, then the list and the calendar follow and the window closes.

#include "bookkeeping/ledger.h"
#include "core/listinput.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <array>

namespace hb {

class DatePicker;

class frmLedgeInput : public InputForm<LedgeRec> {
public:
    frmLedgeInput();

    void InitForm() override;
    void SetCmb(int index);
    void SetCmbOpt(int index);
    void DispData() override;
    bool ChkData() override;
    bool SaveData() override;

    // The option kinds whose lists the debit and credit option boxes hold.
    long debitOptKind() const { return optKbn_[0]; }
    long creditOptKind() const { return optKbn_[1]; }
    DatePicker *picker() const { return picker_; }

    // The slots of the control arrays; each side's boxes are its debit slot plus 0 (debit) or 1
    // (credit).
    enum Box : int {
        kBoxDate = 0,
        kBoxCounterparty = 1,
        kBoxDebitText = 2,
        kBoxCreditText = 3,
        kBoxAmount = 4,
        kBoxNotes = 5,
        kBoxCount = 6,
    };
    enum Combo : int {
        kCmbGrower = 0,  // never shown
        kCmbDebitAcc = 1,
        kCmbCreditAcc = 2,
        kCmbDebitOpt = 3,
        kCmbCreditOpt = 4,
        kCmbCount = 5,
    };
    enum Shown : int { kLblLedgeId = 0, kLblCount = 1 };

    QLabel *lblTITLE = nullptr;
    std::array<QLabel *, kLblCount> lblDATA{};
    std::array<QLineEdit *, kBoxCount> txtDATA{};
    std::array<QComboBox *, kCmbCount> cmbDATA{};
    std::array<QFrame *, 2> Shape1{};

protected:
    void newRowDefaults(LedgeRec &r) override;
    // What a save of the voucher overwrites: its row as the list read it.
    std::vector<LoadedRows> loadedRowsOf(const LedgeRec &row) override;
    bool validate(QWidget *control) override;
    void gotFocus(QWidget *control) override;
    Trap trapFor(Event event, QWidget *control) const override;

private:
    void buildControls();
    bool cmbDATA_Validate(int index);
    void txtDATA_Validate(int index);
    // The option rule of one side (0 debit, 1 credit): the option box follows the kind of the
    // side's account.
    void applyOptRule(int side, long accountKind);

    std::array<long, 2> optKbn_{};
    bool changed_ = false;
    bool refusing_ = false;
    DatePicker *picker_ = nullptr;
};

}  // namespace hb
