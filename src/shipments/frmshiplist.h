#pragma once
// The shipment list: the plantings of a year in a shipping state, and the shipments of the
// chosen planting (or of all listed ones) within a range of days, with their totals.

#include "core/listinput.h"
#include "core/value.h"
#include "shipments/shiplist.h"

#include <QDate>
#include <array>
#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace hb {

class DatePicker;

class frmShipList : public ListForm {
public:
    frmShipList();

    void InitForm() override;
    // SetList1, then SetList2 (the input window calls it after a save).
    void refresh() override;
    // The plantings; the last saved one becomes current; then SetList2.
    void SetList1();
    // The shipments and the totals.
    void SetList2();
    void InitList();

    // The slots of the filter boxes; the state options' are the ShipState values, the totals'
    // the ShipSum values.
    enum Cond : int { kCondYear = 0, kCondFrom = 1, kCondTo = 2, kCondCount = 3 };

    std::array<QLineEdit *, kCondCount> txtCOND{};
    std::array<QRadioButton *, kShipStateCount> Option1{};
    std::array<QLabel *, kShipSumCount> lblSUM{};
    QListWidget *List1 = nullptr;
    QPushButton *cmdFIND = nullptr;
    QGroupBox *Frame1 = nullptr;
    QLabel *lblTITLE = nullptr;
    DatePicker *picker = nullptr;

protected:
    // No plantings, no shipments, empty totals, no rows in gShip.
    void emptyList() override;
    Form &inputWindow() override;
    void gotFocus(QWidget *control) override;
    Trap trapFor(Event event, QWidget *control) const override;

private:
    // The filter boxes, read before any statement: a year, the first and the last day.
    struct Filters {
        std::optional<long> year;
        std::optional<QDate> from;
        std::optional<QDate> to;
    };
    // False after a refused box (reported), with every list and total emptied.
    bool readFilters(Filters *f);
    void listShipments(const Filters &f);
    int shippingState() const;
    // What SetList1 listed by: its year (none when the box was empty) and shipping state.
    std::optional<long> listedYear_;
    int listedState_ = kShipStateAny;
};

}  // namespace hb
