#pragma once
// "印刷": which pages of report gRepId to print (all, or a range) and how many copies.

#include "core/formbase.h"

#include <QList>

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

    QList<QRadioButton *> Option1;  // 0 全ﾍﾟｰｼﾞ印刷, 1 ﾍﾟｰｼﾞ選択
    QList<QLineEdit *> txtDATA;     // 0 first page, 1 last page, 2 copies
    QList<QPushButton *> Command1;  // 0 ｷｬﾝｾﾙ, 1 印刷
    QLineEdit *txtPAGES = nullptr;
    QList<QLabel *> rangeLabels;    // "ﾍﾟｰｼﾞ" and "～"

protected:
    void onLoad() override;
    void onActivate() override {}
    Trap trapFor(Event, QWidget *) const override { return Trap::Numbered; }

private:
    void optionChosen();
};

}  // namespace hb
