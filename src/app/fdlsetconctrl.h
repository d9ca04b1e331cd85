#pragma once
// The connection settings of the data and master databases.

#include "core/formbase.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace hb {

class fdlSetConCtrl : public Form {
    Q_OBJECT
public:
    fdlSetConCtrl();
    // Fills the fields from the settings (each control's Tag names its key).
    void LoadData();
    // Writes every field in one transaction; false when anything failed (rolled back).
    bool SaveData();
    bool ChkData() { return true; }

protected:
    void onLoad() override;

private:
    void registerClicked();
    QPushButton *cmdRegister;
    QPushButton *cmdCancel;
};

}  // namespace hb
