#pragma once
// The base of every window (frm record windows, fdl dialogs, fmn the main menu).
//
// A window derives from hb::Form, gives its name and design size in its constructor, creates its
// controls with their design geometry in pixels (design twips / 15) and an objectName each (an
// element of a control array is "name_index", e.g. "txtDATA_3"), and overrides the hooks named
// after the events it handles:
//
//   class fdlSample : public hb::Form {
//   public:
//       fdlSample() : Form("fdlSample") {
//           setDesignSize(9600, 7200);            // outer size in twips; also the first size
//           ...create controls...; onClick(cmd, [this] { ... });   // Click, trapped
//       }
//   protected:
//       void onLoad() override { Form::onLoad(); LoadData(); }  // SetDefSize, WINDOW_STA rule
//       bool validate(QWidget *c) override { ...; return false to keep the focus in c; }
//       void gotFocus(QWidget *c) override { ... }
//   };
//   hb::form<fdlSample>().showModal(this);   // modal, this window as owner (forms.h)
//
// The defaults are the conventions: onLoad = SetDefSize + the WINDOW_STA rule, onActivate = the
// WINDOW_STA rule, onResize = SetSize. A window that does more calls the default first (or
// spells the steps out in its own order). Per-window scaling variants go into scaling().
// While a window is shown modally with an owner, the owner is its Qt parent.
//
// Events, in the order the windows rely on:
//   Load      once per showing, before the window appears (also when shown again after Unload).
//   Resize    the first one right after Load when the window appears, then on every size change;
//             isFirstResize() tells the first (a window that initialises there does it once).
//   Activate  when the window becomes active coming from another of the program's windows; not
//             after its own message boxes, pickers or popups, nor on switching between programs.
//   Validate  when the focus leaves a control for another control of the window: before the
//             clicked button takes the focus (so before its Click), before Tab or Enter moves on,
//             and when code moves the focus. false keeps the focus in the control and drops the
//             click or the move.
//   LostFocus, GotFocus  after an accepted Validate; GotFocus also for the first focus after Load.
//   KeyPress  a character or Enter (13) typed in a control; set the key to 0 to drop it.
//   Unload    when the window closes by any way (Unload(), its close box, a script rejecting it);
//             false keeps it open.
// An error raised in a hook is trapped at the event's edge in the form trapFor() names.
//
// Conventions built in: Enter moves the focus to the next control and is dropped (never a default
// button); Tab does the same through Validate; a focused button clicks on Enter; Esc clicks the
// cancel button when the window has one; a window opens with its whole frame inside the screen's
// available area, centred on its owner's frame (placeFrame); boxes named with
// setSelectAllOnFocus() select their text on focus; combo boxes named with setDropDownOnFocus()
// open their list on focus; "fdl" windows have a fixed dialog border unless made sizable.
// What crosses windows and pop-ups (mouse presses that validate, keys and input-method text in
// an open list, Esc on a pop-up, the wheel, the input method's questions) is the program-wide
// runtime's (core/formruntime.h), which calls into the window.

#include "core/helpers.h"

#include <QAbstractButton>
#include <QDialog>
#include <QMargins>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <vector>

class QComboBox;

namespace hb {

class FormRuntime;

class Form : public QDialog {
    Q_OBJECT
public:
    enum class Event { Load, Activate, Resize, Unload, Validate, GotFocus, LostFocus, KeyPress, Click };
    // What Enter does in a control.
    enum class EnterKey {
        MoveOn,  // focus to the next control; the key is dropped
        Drop,    // the key is dropped
        Button,  // the focused button is clicked
    };
    // Which controls move on with Enter: the text, combo, check, option, list and spin boxes
    // (the controls' own key handling), every control but the buttons (the window sees keys
    // before its controls), or none (Enter is only dropped).
    enum class EnterLevel { Controls, Window, DropOnly };

    // Scaling of the controls to the window's size.
    struct Scaling {
        int designWidth = 12400;     // the window's outer size at design time, in twips
        int designHeight = 9200;
        QStringList keepHeight{QStringLiteral("cmb")};  // name prefixes whose height is left alone
        QStringList keepFont;        // name prefixes whose font size is left alone ("Sha")
        bool fonts = true;           // false: no control's font size is recorded or set
        bool moveImages = false;     // images ("img") move with the window, keeping size and font
    };

    explicit Form(const QString &name, QWidget *parent = nullptr);
    ~Form() override;

    // Shows the window modally until it closes, through the UI services; with an owner it stays
    // above the owner and the owner is active again afterwards. Returns the dialog result.
    int showModal(QWidget *owner = nullptr);
    // Shows the window modeless (the main window).
    void showModeless();
    // Loads the window without showing it (Load runs, no Resize); true when it is loaded.
    bool LoadHidden();
    // Closes and unloads the window: runs Unload (which may refuse); true when unloaded.
    bool Unload();
    bool isLoaded() const { return loaded_; }
    // True when a statement failed while this showing loaded (Load, its first Resize and its
    // first Activate): the window holds less than it should, and must write nothing from it.
    bool loadFailed() const { return loadFailed_; }

    // What a window does once its load failed, the failure shown. A window that writes what it
    // loads says it in its constructor with whenLoadFails(); one that says nothing writes nothing.
    enum class AfterFailedLoad {
        Unsaid,        // the window writes nothing
        Close,         // it takes no more input and closes
        StayToBeRead,  // it stays open; what would write from what it loaded is refused
    };
    AfterFailedLoad afterFailedLoad() const { return afterFailedLoad_; }
    // Takes the names of the windows whose own events wrote rows while they had said nothing:
    // every test program fails when one did.
    static QStringList takeUnsaidWriters();

    // Records the design geometry and font size of every control (scaled windows call it first
    // in Load; the default onLoad does).
    virtual void SetDefSize();
    // Rescales the controls to the window's outer size; never fails.
    virtual void SetSize();
    // The outer size the scaling works from: the client area and the frame the design sizes
    // count (not the window manager's frame, which is not known before the window is framed and
    // differs between window managers), so the first layout equals every later one at that size.
    QSize outerSize() const;
    // The factors of the last SetSize (outer size / design size), 1 before the first.
    double scaleX() const { return scaleX_; }
    double scaleY() const { return scaleY_; }

    // Where a window opens on the screen: its frame (the client size grown by the frame margins)
    // centred on its owner's frame, or on the available area without an owner, then moved
    // inside the available area; along a side longer than the area it starts at the area's start,
    // so the title bar shows. Returns the frame's rectangle.
    static QRect placeFrame(const QRect &available, const QSize &client, const QMargins &frame,
                            const QRect &ownerFrame);

    // The WINDOW_STA rule: maximised when the setting is true, normal otherwise.
    void applyWindowSta();
    // Moves the focus to the next (or previous) control as a Tab key stroke does, after Validate
    // of the control being left; sendTab() does it once the current event is over.
    void tabFrom(bool forward = true);
    void sendTab(bool forward = true);
    // Opens a combo box's list once the current event is over.
    static void dropDown(QComboBox *box);

    // The window's controls in the order of its collection: named descendant widgets (not
    // Qt's own internals), each container before what it holds.
    QList<QWidget *> controls() const;
    // The control that holds a widget (the widget itself when it is a control), or nullptr.
    QWidget *controlOf(QWidget *w) const;
    // The index of a control-array element ("txtDATA_3" in array "txtDATA" -> 3), or -1.
    static int ctlIndex(const QWidget *w, const QString &array);
    static QString ctlName(const QString &array, int index);

    Scaling &scaling() { return scaling_; }
    void setDesignSize(int twipsWidth, int twipsHeight);
    void setSizable(bool sizable);
    bool isSizable() const { return sizable_; }
    void setEnterLevel(EnterLevel level) { enterLevel_ = level; }
    void setSelectAllOnFocus(QWidget *box, bool on = true);
    void setDropDownOnFocus(QComboBox *box, bool on = true);
    // The button Esc clicks while no pop-up is open (a dialog's cancel button); without one Esc
    // closes nothing.
    void setCancelButton(QAbstractButton *button) { cancelButton_ = button; }
    QAbstractButton *cancelButton() const { return cancelButton_; }
    // Connects a button's Click to a handler, trapped in the form trapFor(Click, button) names.
    void onClick(QAbstractButton *button, std::function<void()> handler);

    void setVisible(bool visible) override;
    void done(int result) override;

protected:
    virtual void onLoad();
    virtual void onActivate();
    virtual void onResize();
    virtual bool onUnload() { return true; }
    virtual bool validate(QWidget *control) { return true; }
    virtual void gotFocus(QWidget *control) {}
    virtual void lostFocus(QWidget *control) {}
    virtual void keyPress(QWidget *control, int &key) {}
    // What Enter does in a control (by default from the window's EnterLevel).
    virtual EnterKey enterKey(QWidget *control) const;
    // The form in which an error escaping a hook is reported.
    virtual Trap trapFor(Event event, QWidget *control) const { return Trap::Standard; }
    // The plain form for the listed events, the standard form for the others: the usual
    // table of a dialog whose key, resize or check handlers report plainly.
    static Trap plainFor(Event event, std::initializer_list<Event> plainEvents)
    {
        for (Event e : plainEvents) {
            if (e == event)
                return Trap::Plain;
        }
        return Trap::Standard;
    }
    // True only while the first Resize after Load runs.
    bool isFirstResize() const { return inFirstResize_; }
    // Says, in the constructor, what the window does once its load failed: Close, or
    // StayToBeRead with `refuseWriting` refusing the controls that would write from what it
    // loaded (run once, after the failure was shown; none where a control writes only itself).
    void whenLoadFails(AfterFailedLoad what, std::function<void()> refuseWriting = {});

    bool event(QEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    friend class FormRuntime;
    struct SizeRec {
        QPointer<QWidget> control;
        bool skipped = true;
        float left = 0, width = 0, top = 0, height = 0, fontSize = 0;
    };

    void Load();
    void placeOnScreen(bool framed);
    void applyBorder(bool maximised);
    void restoreDesign();
    void activated();
    bool runValidate(QWidget *control);
    bool leaveFocus(QWidget *target);
    void focusArrived(QWidget *old, QWidget *now, Qt::FocusReason reason, bool fromSameWindow);
    void dispatchGotFocus(QWidget *control, Qt::FocusReason reason);
    bool handleKey(QWidget *receiver, QKeyEvent *e);
    void trap(Event event, QWidget *control, const std::function<void()> &body);
    void checkLoad();
    // The load failed and the window closes: it takes no input and reads nothing more.
    bool closingAfterFailedLoad() const;

    Scaling scaling_;
    std::vector<SizeRec> recs_;
    std::vector<SizeRec> design_;  // the first records: what a new Load starts from
    double scaleX_ = 1.0;
    double scaleY_ = 1.0;
    bool sizable_ = true;
    QSize normalSize_;
    EnterLevel enterLevel_ = EnterLevel::Controls;
    QPointer<QAbstractButton> cancelButton_;

    bool loaded_ = false;
    AfterFailedLoad afterFailedLoad_ = AfterFailedLoad::Unsaid;
    std::function<void()> refuseWriting_;
    bool loadFailed_ = false;
    bool activatePending_ = false;
    long failedBeforeLoad_ = 0;
    bool loading_ = false;
    bool unloading_ = false;
    bool resizePending_ = false;
    bool placePending_ = false;  // shown, not framed yet: placed again with the real frame
    bool inFirstResize_ = false;
    bool firstFocusPending_ = false;
    bool validating_ = false;
    bool focusSilent_ = false;
    QPointer<QWidget> validatedLeaving_;
};

}  // namespace hb
