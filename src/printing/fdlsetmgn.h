#pragma once
// "余白・給紙設定": the left and top margins (in centimetres), the printer and the paper feed of
// report gRepId, kept in its settings row.

#include "core/formbase.h"

#include <array>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace hb {

class fdlSetMgn : public Form {
    Q_OBJECT
public:
    fdlSetMgn();

    // Lists the installed printers in the platform's order.
    void SetCmb();
    bool ChkData() { return true; }
    // Writes the settings row; false after a failure, which changes nothing.
    bool SaveData();

    // The slots of the control arrays.
    enum Margin : int { kMgnTop = 0, kMgnLeft = 1, kMgnCount = 2 };
    enum Combo : int { kCmbPrinter = 0, kCmbPaperBin = 1, kCmbCount = 2 };
    enum Command : int { kCmdCancel = 0, kCmdSet = 1, kCmdCount = 2 };  // "ｷｬﾝｾﾙ", "設定"

    std::array<QLineEdit *, kMgnCount> Text1{};
    std::array<QComboBox *, kCmbCount> cmbDATA{};
    std::array<QPushButton *, kCmdCount> Command1{};

protected:
    void onLoad() override;
    void onActivate() override {}
    Trap trapFor(Event, QWidget *) const override { return Trap::Numbered; }

private:
    void showSettings();
};

}  // namespace hb
