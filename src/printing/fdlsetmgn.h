#pragma once
// "余白・給紙設定": the left and top margins (in centimetres), the printer and the paper feed of
// report gRepId, kept in its settings row.

#include "core/formbase.h"

#include <QList>

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

    QList<QLineEdit *> Text1;     // 0 top margin, 1 left margin
    QList<QComboBox *> cmbDATA;   // 0 printer, 1 paper feed
    QList<QPushButton *> Command1;  // 0 ｷｬﾝｾﾙ, 1 設定

protected:
    void onLoad() override;
    void onActivate() override {}
    Trap trapFor(Event, QWidget *) const override { return Trap::Numbered; }

private:
    void showSettings();
};

}  // namespace hb
