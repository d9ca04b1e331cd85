#pragma once
// The main menu: buttons that open the settings, master, print and export windows and the
// month calendar; in multi-grower mode also the grower selector.

#include "core/formbase.h"

#include <QMap>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace hb {

class fmnMain : public Form {
    Q_OBJECT
public:
    // The slots of the menu buttons (there is no 6).
    enum Menu : int {
        kMenuClose = 0,  // "終了" or "閉じる"
        kMenuConnection = 1,
        kMenuLocal = 2,
        kMenuGrower = 3,
        kMenuProduct = 4,
        kMenuAccReport = 5,
        kMenuPriceTag = 7,
        kMenuExport = 8,
        kMenuTraceReport = 9,
        kMenuUpload = 10,
        kMenuShop = 11,
        kMenuCalendar = 12,
    };

    fmnMain();
    // Fills a selector; only index 0 (the grower selector) does anything.
    void SetCmb(int index);
    QComboBox *growerSelector() const { return cmbDATA_0; }
    QPushButton *menuButton(int index) const { return cmdMENU.value(index); }

protected:
    void onLoad() override;
    void onActivate() override;
    bool validate(QWidget *control) override;
    Trap trapFor(Event event, QWidget *control) const override;

private:
    void menuClick(int index);

    QLabel *lblTITLE;
    QLabel *lblCAP_0;
    QComboBox *cmbDATA_0;
    QGroupBox *fraCal;
    QMap<int, QPushButton *> cmdMENU;
};

}  // namespace hb
