#pragma once
// The installation settings of this computer: use type, default grower and shop, backup folder
// and the maximised-window switch.

#include "core/formbase.h"

#include <QList>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace hb {

class fdlSetLocalCtrl : public Form {
    Q_OBJECT
public:
    fdlSetLocalCtrl();
    void LoadData();
    // Writes the five rows; returns how many were written.
    long SaveData();

protected:
    void onLoad() override;
    bool validate(QWidget *control) override;
    Trap trapFor(Event event, QWidget *control) const override;

private:
    // The slots of the control arrays.
    enum UseOption : int { kOptionSingle = 0, kOptionMulti = 1 };  // USE_TYPE single, multi
    enum Box : int { kBoxDefFmrId = 0, kBoxDefShopId = 1, kBoxBackDir = 2 };

    QList<QRadioButton *> Option1;
    QList<QLineEdit *> txtDATA;
    QCheckBox *Check1;
    QList<QPushButton *> Command1;  // cancel, register, browse
};

// The upload settings form: it keeps no values and its Register does nothing.
class fdlSetMstCtrl : public Form {
    Q_OBJECT
public:
    fdlSetMstCtrl();

protected:
    Trap trapFor(Event event, QWidget *control) const override;
};

}  // namespace hb
