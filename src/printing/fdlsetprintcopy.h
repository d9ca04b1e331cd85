#pragma once
// "印刷": which pages of report gRepId to print (all, or a range) and how many copies.

#include "core/formbase.h"

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace hb {

class fdlSetPrintCopy : public Form {
    Q_OBJECT
public:
    fdlSetPrintCopy();

    // Prints the chosen pages in the chosen number of copies; the copy count is 1 again
    // afterwards, however the printing ends. With no page to print nothing happens and the
    // dialog stays open; after a print it closes.
    void PrintCopies();

    // The slots of the control arrays.
    enum Pages : int { kPagesAll = 0, kPagesRange = 1, kPagesCount = 2 };  // "全ﾍﾟｰｼﾞ印刷", "ﾍﾟｰｼﾞ選択"
    enum Box : int { kBoxFirstPage = 0, kBoxLastPage = 1, kBoxCopies = 2, kBoxCount = 3 };
    enum Command : int { kCmdCancel = 0, kCmdPrint = 1, kCmdCount = 2 };  // "ｷｬﾝｾﾙ", "印刷"

    std::array<QRadioButton *, kPagesCount> Option1{};
    std::array<QLineEdit *, kBoxCount> txtDATA{};
    std::array<QPushButton *, kCmdCount> Command1{};
    QLineEdit *txtPAGES = nullptr;
    std::array<QLabel *, kBoxLastPage + 1> rangeLabels{};  // "ﾍﾟｰｼﾞ" before the first page, "～" before the last

protected:
    void onLoad() override;
    void onActivate() override {}
    Trap trapFor(Event, QWidget *) const override { return Trap::Numbered; }

private:
    void optionChosen();
};

}  // namespace hb
