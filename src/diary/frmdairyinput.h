#pragma once
// The diary-day window: one day (hb::gWorkDate) of the current grower. Its header (weather,
// temperatures, notes), the work lines of the plantings in progress that day with their
// pesticide use, and the day's vouchers in gLedge. The month calendar opens it modally:
//   hb::gWorkDate = day; hb::form<hb::frmDairyInput>().showModal(calendar);
// Every opening loads the day afresh at the first display; edits stay in memory until "登録";
// closing releases this computer's holds of D_DIARY and D_LEDGE.

#include "core/formbase.h"
#include "diary/diaryday.h"

#include <array>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace hb {

class frmDairyInput : public Form {
public:
    frmDairyInput();

    // The day as the window holds it.
    const DiaryRec &dayRecord() const { return day_; }
    const std::vector<DiaryDtlRec> &lines() const { return lines_; }
    int currentLine() const { return current_; }
    // The purchases the day's lines named when it was loaded (their stock is recomputed by the
    // save even when no line names them any more).
    const std::vector<long> &loadedChemiIds() const { return loadedChemiIds_; }
    // True once the day was read completely and held; a day that failed to load must not be saved.
    bool dayLoaded() const { return dayLoaded_; }

    // The voucher book of an account: InitLedgeList makes its columns (emptying the list and sums),
    // SetLedgeList lists the account's vouchers of gLedge with the balances and totals. The
    // voucher dialog runs both after it has changed gLedge.
    void InitLedgeList(long accId);
    void SetLedgeList(long accId);

protected:
    void onLoad() override;
    void onResize() override;
    bool onUnload() override;
    bool validate(QWidget *control) override;
    Trap trapFor(Event event, QWidget *control) const override;

private:
    void buildControls();
    void setTabOrders();

    // Loading and showing the day.
    void InitForm();
    void LoadData();
    void DispData();
    bool ChkData();

    // Work lines.
    void SetList(int k);
    void DispPlant();
    void DispDtl();
    void DispChemi();
    void SetLineLists();
    void List1_Click(int index);
    void cmdSUB_Click(int index);
    void addLine();
    void deleteLine();
    void viewShipment();

    // Pick lists.
    // Fills pick list k afresh, an editable box showing `text`; left empty when it cannot be read.
    void SetCmb(int k, const QString &text = QString());
    void SetCombo1(int k);

    // Storing a box into the day's records when it is left.
    void cmbDATA_Validate(int index);
    bool txtDATA_Validate(int index);
    void Combo1_Validate();

    // Pages and the voucher book.
    void Option1_Click(int index);
    void DispLedgeList();
    void cmdEDIT_Click(int index);
    // The account of the chosen book, 0 on the work-line page.
    long bookAccount() const;
    void applyLedgeColumnWidths();

    // "登録" and "閉じる".
    void cmdMENU_Click(int index);
    void SaveData();

    // Helpers over the controls.
    QString txtText(int index) const;
    void setTxtText(int index, const QString &text);
    // The multi-line box of that slot (kBoxMemo or kBoxReminder).
    QPlainTextEdit *memoBox(int index) const { return memo_[static_cast<std::size_t>(index - kBoxMemo)]; }
    bool lineSelected() const;
    long fmrId() const;
    QDateTime workDate() const;

    // The day.
    DiaryRec day_;
    std::vector<DiaryDtlRec> lines_{1};
    int current_ = -1;
    std::vector<long> loadedChemiIds_;
    std::vector<LedgeRec> loadedLedge_;  // the vouchers as loaded (or last saved)
    std::vector<LoadedRows> loadedRows_;  // what the save overwrites, as loaded (or last saved)
    bool dayLoaded_ = false;
    QString holdFailure_;  // why the day's hold could not be written ("" when it was)
    std::vector<LedgeBookColumn> bookColumns_;

    // The slots of the control arrays; the pick lists' are DiaryPick, the page options' DiaryPage.
    enum Box : int {
        kBoxLoTmp = 0,
        kBoxHiTmp = 1,
        kBoxOneMsg = 2,
        kBoxLineNotes = 3,  // the current line's
        kBoxLineQty = 4,    // the current line's pesticide quantity
        kBoxMemo = 5,       // the multi-line boxes, "メモ" and "備忘"
        kBoxReminder = 6,
        kBoxCount = 7,
    };
    enum Shown : int { kLblWorkDate = 0, kLblCrop = 2, kLblHarvest = 3, kLblPlantDate = 4, kLblArea = 5, kLblCount = 6 };
    enum List : int { kListPlant = 0, kListLine = 1, kListCount = 2 };
    enum PageFrame : int { kFrameWork = 0, kFrameBook = 1, kFrameCount = 2 };
    enum Sum : int { kSumOpening = 0, kSumIncrease = 1, kSumDecrease = 2, kSumBalance = 3, kSumCount = 4 };
    enum VoucherEdit : int { kVoucherAdd = 0, kVoucherModify = 1, kVoucherDelete = 2, kVoucherEditCount = 3 };
    enum LineButton : int { kSubDelete = 0, kSubAdd = 1, kSubCount = 2 };  // delete: "削除" or "参照"
    enum Menu : int { kMenuClose = 0, kMenuRegister = 1, kMenuCount = 2 };
    // The captions of a line's boxes, shown with them (Label1).
    enum LineCaption : int { kCapWorkKbn = 11, kCapLineNotes = 12, kCapWorkNm = 16 };

    // Controls (objectName = array name and index).
    QLabel *lblTITLE_ = nullptr;
    std::vector<QLabel *> Label1_;                        // by index; unused indices stay nullptr
    std::array<QLabel *, kLblCount> lblDATA_{};           // slot 1 unused
    std::array<QComboBox *, kPickCount> cmbDATA_{};
    std::array<QLineEdit *, kBoxMemo> txtDATA_{};         // the single-line boxes
    std::array<QPlainTextEdit *, kBoxCount - kBoxMemo> memo_{};
    QComboBox *Combo1_ = nullptr;
    std::array<QListWidget *, kListCount> List1_{};
    std::array<QGroupBox *, kFrameCount> Frame1_{};
    QGroupBox *Frame2_ = nullptr;
    QGroupBox *Frame3_ = nullptr;
    std::array<QRadioButton *, kPageCount> Option1_{};
    QTreeWidget *ListView1_ = nullptr;
    std::array<QPushButton *, kVoucherEditCount> cmdEDIT_{};
    std::array<QLabel *, kSumCount> lblSUM_{};
    std::array<QPushButton *, kSubCount> cmdSUB_{};
    std::array<QPushButton *, kMenuCount> cmdMENU_{};
};

}  // namespace hb
