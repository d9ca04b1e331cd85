#pragma once
// The diary's voucher dialog: one voucher of the diary day's voucher book, seen from the book's
// fixed account (gDiaryLedgeAcc: 1000 cash, 1010 bank deposit, 1040 receivable, 2000 payable),
// with an increase and a decrease box and the other account with its option. It writes only
// gLedge; the day's save writes the database.
//
// The diary-day window sets gDiaryLedgeAcc, gEditMode (1 add, 2 modify, 4 delete) and gEditRow
// (-1, or the voucher's index in gLedge), then shows it modally without owner:
//   auto &dlg = hb::form<hb::frmDiaryLedgeInput>();
//   dlg.ledgeChanged = [this](const hb::Value &acc) { ...rebuild the book of acc... };
//   dlg.showModal(nullptr);
// The dialog initialises once per showing; a later resize or maximise only rescales.

#include "bookkeeping/ledger.h"
#include "core/formbase.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <functional>

namespace hb {

class frmDiaryLedgeInput : public Form {
public:
    frmDiaryLedgeInput();

    // Called after "設定" has changed gLedge, with the fixed account as a Long, where the diary's
    // voucher book is to rebuild its columns and rows for that account.
    std::function<void(const Value &acc)> ledgeChanged;

    // Empties the working voucher, sets the option kind to 0, fills the account box.
    void InitForm();
    // Fills the account box (kCmbAccount) from L_ACC.
    void SetCmb(int index);
    // Fills the option box (kCmbOption) for the current option kind.
    void SetCmbOpt(int index);
    // Prepares the working voucher and the window for gEditMode, then shows it.
    void SetMode();
    void DispData();
    // Moves the boxes into the working voucher; false (with a message) when there is no amount.
    bool ChkData();
    // Writes the working voucher into gLedge and lets the voucher book rebuild.
    bool SaveData();
    // The number for a new voucher of the grower: above the highest stored one and above every
    // number in gLedge.
    static long GetNewLedgeID(long fmrId);

    // The voucher being edited, and the option kind of the option box.
    const LedgeRec &workingVoucher() const { return work_; }
    long optionKind() const { return optKbn_; }

    // The slots of the control arrays; the box and combo arrays leave slot 0 unused.
    enum Box : int {
        kBoxCounterparty = 1,
        kBoxFixedText = 2,  // the fixed account's text
        kBoxOtherText = 3,  // the other account's text
        kBoxNotes = 4,
        kBoxIncrease = 5,
        kBoxDecrease = 6,
        kBoxCount = 7,
    };
    enum Combo : int { kCmbAccount = 1, kCmbOption = 2, kCmbCount = 3 };  // the other account and its option
    enum TextCaption : int { kCapOtherText = 0, kCapFixedText = 1, kTextCapCount = 2 };
    enum AmountCaption : int { kCapIncrease = 0, kCapDecrease = 1, kAmountCapCount = 2 };
    enum Menu : int { kMenuClose = 0, kMenuRegister = 1, kMenuCount = 2 };  // register: "設定" or "削除"

    QLabel *lblTITLE = nullptr;
    std::array<QLineEdit *, kBoxCount> txtDATA{};
    std::array<QComboBox *, kCmbCount> cmbDATA{};
    std::array<QLabel *, kTextCapCount> lblOPT_NM_CAP{};
    QLabel *lblOPT_CAP = nullptr;  // "補助"
    std::array<QLabel *, kAmountCapCount> lblAMT_CAP{};
    std::array<QPushButton *, kMenuCount> cmdMENU{};

protected:
    void onResize() override;
    bool validate(QWidget *control) override;
    Trap trapFor(Event event, QWidget *control) const override;

private:
    void buildControls();
    void Register();
    bool txtDATA_Validate(int index);
    bool cmbDATA_Validate(int index);
    // The option rule: the option box follows the option kind of the other account.
    void applyOptKind(long kind);
    void lockBoxes(bool locked);
    long fixedAccount() const;

    LedgeRec work_;
    long optKbn_ = 0;
    bool ready_ = false;  // the working voucher was prepared for this showing
};

}  // namespace hb
