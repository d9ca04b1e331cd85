#pragma once
// The month calendar of the current grower's diary ("日誌一覧"): the main window in
// single-grower use, opened from the main menu in multi-grower use. While it is loaded it
// redraws (DispData) whenever another window reports a save, so that it shows what was saved.

#include "core/datachanged.h"
#include "core/formbase.h"
#include "diary/calendargrid.h"

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace hb {

class CalendarPicture;

class frmDairyCal : public Form {
public:
    frmDairyCal();

    // Refills the planting filter (its choice is lost), sets the layer boxes from the CAL_OPT
    // settings and redraws the month of gCalMonth for gFmrID. No trap of its own: a read that
    // fails before the drawing began leaves the window as it was and gCalMonth on the month shown.
    void DispData();
    // Draws the month from the layer boxes and the planting filter as they stand.
    void DispCal();

    // True once a redraw completed; the layer boxes and the filter act only then.
    bool displayReady() const { return ready_; }
    // The last drawing: its geometry and what each cell shows.
    const CalGeometry &calGeometry() const { return geometry_; }
    const CalView &calView() const { return view_; }

protected:
    void onLoad() override;
    void onResize() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void SetCmb(int index);
    void stepMonths(int months);
    void layerClicked(int index);
    void dayClicked();
    void menuClicked(int index);
    // Opens the diary-day window of gWorkDate.
    void openDiaryDay();

    // The slots of the control arrays; the layer boxes' are the CalLayer values.
    enum Step : int { kStepMonth = 0, kStepYear = 1, kStepCount = 2 };  // cmdPREV, cmdPOST
    enum Menu : int {
        kMenuClose = 0,  // "終了" or "閉じる"
        kMenuPlant = 1,
        kMenuChemi = 2,
        kMenuShip = 3,
        kMenuLedge = 4,
        kMenuMain = 5,   // the main menu, in single-grower use
        kMenuPrint = 6,  // does nothing
        kMenuCount = 7,
    };

    QLabel *lblYM_ = nullptr;
    std::array<QPushButton *, kStepCount> cmdPREV_{};
    std::array<QPushButton *, kStepCount> cmdPOST_{};
    std::array<QCheckBox *, kCalLayerCount> chkCOND_{};
    QLabel *label1_ = nullptr;
    QComboBox *cmbCOND_ = nullptr;
    CalendarPicture *Picture1_ = nullptr;
    std::array<QPushButton *, kMenuCount> cmdMENU_{};

    DataChangedListener redrawOnChange_;
    bool ready_ = false;
    QDate shownMonth_;  // the month the label and the cells name, once a redraw began drawing
    CalGeometry geometry_;
    CalView view_;
    double mouseX_ = 0;  // twips, as the last press on the picture reported them
    double mouseY_ = 0;
};

}  // namespace hb
