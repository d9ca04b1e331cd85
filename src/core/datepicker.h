#pragma once
// The month calendar that drops down under a date box (MonthView1). A window with date boxes
// owns one picker; it serves the boxes in turn:
//
//   picker_ = new hb::DatePicker(*this);           // MonthView1, hidden, at 2385 x 2220 twips
//   picker_->addBox(9, txtDATA[9]);                 // the boxes that open it, by array index
//   picker_->setCondition([] { return hb::gEditMode == hb::kEditAdd || hb::gEditMode == hb::kEditModify; });
//   picker_->hideOn({"txtDATA", "cmbDATA", "cmdMENU"});   // what hides it when it takes the focus
//   void gotFocus(QWidget *c) override { picker_->gotFocus(c); ... }
//
// Focus on a date box (while the condition holds): the picker is placed directly below the box
// with its right edge on the box's right edge, shows the box's date or today for an empty box,
// remembers the box's index (tag) and is shown. It stays whole inside the window: moved right
// just enough at the window's left edge, above the box where it would pass the bottom, never over
// its box; after a resize it is placed again under its box. A date box whose text is no date shows
// "日付を指定してください。" (exclamation, program title); the picker has then been moved but
// keeps its date, tag and visibility, and the box its text. While the condition does not hold, a
// date box neither opens nor hides the picker. Focus on a control named by hideOn() hides it;
// other controls leave it as it is. Esc closes an open picker and does nothing more (the box
// keeps its text, the window stays; a cancel button takes the next Esc).
//
// A day clicked in the picker is written "yyyy/mm/dd" into the box of the tag; the box gets the
// focus, the picker is hidden and one Tab moves on (so the window's Validate of the box runs).
// A failure there is reported in a plain message box. Paging months writes nothing.
//
// The picker never takes the focus itself: clicking it leaves the focus (and a half-typed text)
// in the box, and the picked day replaces the text. Its year box takes the focus while it is
// open; a click on another control closes it and gives that control the focus, Esc or a click
// on no control (the picker included) closes it and gives the focus back to the box. Date
// boxes get the "/" typing help (SetDateSlash) and select their whole text on focus.

#include <QDate>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>

class QCalendarWidget;
class QLineEdit;
class QWidget;

namespace hb {

class Form;

class DatePicker : public QObject {
public:
    // Creates MonthView1 as a hidden child of the window, at a design position in twips.
    explicit DatePicker(Form &window, int leftTwips = 0, int topTwips = 0);

    QCalendarWidget *MonthView1() const { return calendar_; }

    // A box of the window's text-box array that opens the picker, by its index in the array.
    void addBox(int index, QLineEdit *box);
    // When set and false, the date boxes neither open nor hide the picker (view and delete modes).
    void setCondition(std::function<bool()> condition) { condition_ = std::move(condition); }
    // Control arrays or single controls (by objectName or array name) whose focus hides the picker.
    void hideOn(const QStringList &names) { hideOn_ = names; }

    // The window's focus handler calls this for every control that gets the focus.
    void gotFocus(QWidget *control);
    // What a click on a day does (the calendar calls it; tests may too).
    void DateClick(const QDate &day);
    void hide();
    // Gives a box the focus without opening its window's picker (a box whose text was just
    // refused: the picker would report the text once more).
    static void focusWithoutPicker(QWidget *box);

    bool isShown() const;
    // The index of the box the picker serves last, as decimal text ("" before the first).
    QString tag() const { return tag_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isDateBox(QWidget *control, int *index) const;
    // The box of the tag, or nullptr.
    QLineEdit *servedBox() const;
    // The focus from the year box to the box served, where it can take it.
    bool giveFocusBack();
    bool hides(const QWidget *control) const;
    void place(QLineEdit *box);

    Form &window_;
    QCalendarWidget *calendar_ = nullptr;
    std::map<int, QPointer<QLineEdit>> boxes_;
    std::function<bool()> condition_;
    QStringList hideOn_;
    QString tag_;
    QWidget *yearBox_ = nullptr;
    bool quiet_ = false;
};

}  // namespace hb
