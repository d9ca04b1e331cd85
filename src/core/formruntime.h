#pragma once
// The program-wide half of the window conventions: what no single window sees alone. One
// application event filter watches every window of the program and, for the loaded forms:
//
//   - validates the control being left before a mouse press moves the focus (a refusal drops
//     the press and its release);
//   - tells the form of each focus change (Validate, LostFocus, GotFocus run in the form);
//   - gives the form the keys of its focused control (Enter, Tab, KeyPress), and keeps an Esc
//     that closes a pop-up from reaching any window;
//   - lets the keys typed while a combo box's list is open act as in the box: an editable box
//     takes them into its own text; Enter and Tab close any list and go on as the window's;
//   - lets the wheel change only the box that has the focus;
//   - answers the input method's questions for boxes that switch it off and for the open list of
//     a box that takes the typing, makes the input method forget a cancelled composition, and
//     lets a composition committed at a focus change go in once;
//   - keeps a list that the click into its box opened open when that click's button comes up.
//
// Each of these is explained where it stands in formruntime.cpp.

#include <QObject>
#include <QPointer>

class QComboBox;
class QInputMethodEvent;
class QKeyEvent;
class QMouseEvent;
class QWheelEvent;
class QWidget;
class QWindow;

namespace hb {

class Form;

class FormRuntime : public QObject {
public:
    static FormRuntime &instance();

    // Opens a combo box's list once the current event is over (with `onlyWithFocus`, only when
    // the box still has the focus then).
    static void openList(QComboBox *box, bool onlyWithFocus);
    // Marks a combo box as one whose list opens when it gets the focus, and asks for the mark.
    static void setDropDownOnFocus(QComboBox *box, bool on);
    static bool dropsDownOnFocus(const QWidget *w);

    // The form that was active last (message boxes, pickers and pop-ups are no forms).
    QPointer<Form> lastActive;
    // A control that took the focus from a field whose Validate refused (a press delivered
    // straight to the control, not through its window): its press and release are dropped.
    QPointer<QWidget> dropPressOn;

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    explicit FormRuntime(QObject *parent);

    bool mousePressed(QWindow *window, QMouseEvent *e);
    bool keyPressed(QWidget *w, QKeyEvent *e);
    bool shortcutOverride(QObject *o, QKeyEvent *e);
    bool keyInList(QComboBox *box, QKeyEvent *e);
    bool wheelTurned(QWindow *window, QWheelEvent *e);
    bool inputMethodEvent(QObject *o, QInputMethodEvent *e);
    void focusChanged(QWidget *old, QWidget *now);

    QPointer<QWidget> focusInWidget_;
    Qt::FocusReason focusInReason_ = Qt::OtherFocusReason;
    QPointer<QObject> swallowReleaseOn_;  // whose (or whose children's) next release is dropped
    bool pressDropped_ = false;
    bool popupEsc_ = false;   // the Esc being delivered found a pop-up open
    bool inList_ = false;     // a key or shortcut is being given to an open list as Qt's own
    bool composing_ = false;  // the input method shows a composition
    QString committedShown_;       // a shown composition committed in the current event
    QString echoAfterFocusChange_; // the same word, committed again after the focus moved
};

}  // namespace hb
