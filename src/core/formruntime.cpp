#include "core/formruntime.h"

#include "core/formbase.h"
#include "core/forms.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <utility>

namespace hb {

namespace {

constexpr const char *kDropDownProperty = "hbDropDownOnFocus";

Form *loadedFormOf(QWidget *w)
{
    if (!w)
        return nullptr;
    auto *f = qobject_cast<Form *>(w->window());
    return f && f->isLoaded() ? f : nullptr;
}

Form *loadedFormOfWindow(QWindow *window)
{
    for (Form *f : loadedForms()) {
        if (f->windowHandle() == window)
            return f;
    }
    return nullptr;
}

// The widget a mouse press on `hit` gives the focus to, as Qt chooses it.
QWidget *clickFocusTarget(QWidget *hit)
{
    for (QWidget *w = hit; w; w = w->parentWidget()) {
        QWidget *f = w;
        while (f->focusProxy())
            f = f->focusProxy();
        if (w->isEnabled() && (w->focusPolicy() & Qt::ClickFocus) == Qt::ClickFocus
            && (f->focusPolicy() & Qt::ClickFocus) == Qt::ClickFocus)
            return f;
        if (w->isWindow())
            break;
    }
    return nullptr;
}

// The combo box of a loaded window whose list `o` is (the list's view sits in Qt's pop-up
// container, a child of the box), or nullptr.
QComboBox *boxOfList(QObject *o)
{
    auto *view = qobject_cast<QAbstractItemView *>(o);
    QWidget *container = view ? view->parentWidget() : nullptr;
    auto *box = container ? qobject_cast<QComboBox *>(container->parentWidget()) : nullptr;
    return box && box->view() == view && loadedFormOf(box) ? box : nullptr;
}

// The editable box whose list `o` is, when the box opens its list on focus: what is typed while
// that list is open belongs to the box, as with the list closed.
QComboBox *typingBoxOfList(QObject *o)
{
    QComboBox *box = boxOfList(o);
    return box && box->lineEdit() && FormRuntime::dropsDownOnFocus(box) ? box : nullptr;
}

// After a key or input-method text went into the box: the open list marks the first item that
// begins with the box's text, none when the text is empty or no item begins with it, and the
// input method learns where the box's caret now is.
//
// The mark is set on the selection model with its signals held back: the view would answer a new
// current item by setting its own input-method attribute from the item (off for none), and a
// widget with the focus that switches the input method off makes Qt commit what the input method
// still holds (Qt's ibus connection: the composition it showed last), so a word just committed
// would go into the box a second time.
void typedIntoBox(QComboBox *box)
{
    const QString text = box->currentText();
    const int row = text.isEmpty() ? -1 : box->findText(text, Qt::MatchStartsWith);
    const QModelIndex mark = row < 0 ? QModelIndex() : box->model()->index(row, box->modelColumn(), box->rootModelIndex());
    QAbstractItemView *view = box->view();
    if (QItemSelectionModel *selection = view->selectionModel()) {
        const QSignalBlocker quiet(selection);
        selection->setCurrentIndex(mark, QItemSelectionModel::ClearAndSelect);
    }
    if (mark.isValid())
        view->scrollTo(mark);
    view->viewport()->update();
    QGuiApplication::inputMethod()->update(Qt::ImQueryInput);
}

// Answers the input method's questions for a widget whose answers are not its own: a box whose
// input method is switched off (Qt::WA_InputMethodEnabled false) says so, where a line edit would
// answer by its enabled and read-only state alone and the input method would compose digits in
// it; and the open list of a box that takes the typing answers as that box, with the box's
// rectangles in the list's coordinates, so that a composition shows in the box. False leaves the
// question to the widget.
bool answerInputMethod(QObject *o, QInputMethodQueryEvent *query)
{
    if (!o->isWidgetType())
        return false;
    auto *w = static_cast<QWidget *>(o);
    QComboBox *box = typingBoxOfList(o);
    if (!box && w->testAttribute(Qt::WA_InputMethodEnabled))
        return false;
    QWidget *answering = box ? box->lineEdit() : w;
    for (uint bit = 1; bit != 0; bit <<= 1) {
        if (!(query->queries() & bit))
            continue;
        const auto q = static_cast<Qt::InputMethodQuery>(bit);
        QVariant v = (q == Qt::ImEnabled && !box) ? QVariant(false) : answering->inputMethodQuery(q);
        if (box && (q == Qt::ImCursorRectangle || q == Qt::ImAnchorRectangle || q == Qt::ImInputItemClipRectangle)) {
            QRectF r = v.toRectF();
            r.moveTopLeft(w->mapFromGlobal(answering->mapToGlobal(r.topLeft())));
            v = r;
        }
        query->setValue(q, v);
    }
    query->accept();
    return true;
}

// The box that `w` is or belongs to when a wheel over it would change its value: a combo box, a
// spin box (dates and times too) or a slider; a scroll bar only scrolls.
QWidget *wheelChangedBox(QWidget *w)
{
    for (; w && !w->isWindow(); w = w->parentWidget()) {
        if (qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractSpinBox *>(w)
            || (qobject_cast<QAbstractSlider *>(w) && !qobject_cast<QScrollBar *>(w)))
            return w;
    }
    return nullptr;
}

bool isEnterOrTab(const QKeyEvent *e)
{
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        return false;
    }
}

}  // namespace

FormRuntime &FormRuntime::instance()
{
    static QPointer<FormRuntime> runtime;
    if (!runtime)
        runtime = new FormRuntime(qApp);
    return *runtime;
}

FormRuntime::FormRuntime(QObject *parent) : QObject(parent)
{
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &FormRuntime::focusChanged);
}

void FormRuntime::setDropDownOnFocus(QComboBox *box, bool on)
{
    box->setProperty(kDropDownProperty, on);
}

bool FormRuntime::dropsDownOnFocus(const QWidget *w)
{
    return w && w->property(kDropDownProperty).toBool();
}

void FormRuntime::openList(QComboBox *box, bool onlyWithFocus)
{
    QPointer<QComboBox> p(box);
    QTimer::singleShot(0, box, [p, onlyWithFocus] {
        if (!p || !p->isVisible() || !p->isEnabled() || (onlyWithFocus && !p->hasFocus()))
            return;
        if (p->view() && p->view()->isVisible())
            return;
        // The list's opening deselects the box's text: what the focus selected stays selected, so
        // that the first key typed replaces it.
        QLineEdit *text = p->lineEdit();
        const int start = text ? text->selectionStart() : -1, length = text ? text->selectionLength() : 0;
        p->showPopup();
        if (text && start >= 0)
            text->setSelection(start, length);
        // A list opened by the click that gave the box the focus opens while the button is still
        // down. Qt's list closes on a release outside its items unless it opened from its own
        // mouse press: the release of that click would close it again at once.
        if (QGuiApplication::mouseButtons() != Qt::NoButton)
            instance().swallowReleaseOn_ = p->view()->parentWidget();
        if (!typingBoxOfList(p->view()))
            return;
        // The open list is a pop-up, and Qt gave the keyboard focus to its view: the box lost the
        // focus (for a pop-up) and stopped showing its caret. A focus-in sent to the box makes its
        // line edit show the caret again; Qt's handling of it also tells the input method that
        // its input item is the box, at the box's place in the window under the list. The focus
        // itself stays with the list (no focus change, so no Validate and no GotFocus). The
        // focus-in sent to the list then gives the input method back its real input item, the
        // list in the pop-up's window, which answers the input method's questions as the box
        // does with the box's rectangles mapped into the list (answerInputMethod), so the
        // composition and the candidates show at the box.
        for (QWidget *w : {static_cast<QWidget *>(p), static_cast<QWidget *>(p->view())}) {
            QFocusEvent in(QEvent::FocusIn, Qt::PopupFocusReason);
            QCoreApplication::sendEvent(w, &in);
        }
        QGuiApplication::inputMethod()->update(Qt::ImQueryAll);
    });
}

bool FormRuntime::eventFilter(QObject *o, QEvent *e)
{
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // A release still awaited from an earlier press never came (a message box took it, a
        // list closed): this press's own release must reach its control.
        swallowReleaseOn_ = nullptr;
        if (o->isWindowType())
            return mousePressed(static_cast<QWindow *>(o), static_cast<QMouseEvent *>(e));
        if (o->isWidgetType() && dropPressOn
            && (o == dropPressOn || dropPressOn->isAncestorOf(static_cast<QWidget *>(o)))) {
            swallowReleaseOn_ = o;
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        // The release of a dropped press, or of the click that opened a list (it comes to the
        // list's pop-up or one of its children).
        if (swallowReleaseOn_
            && (o == swallowReleaseOn_
                || (o->isWidgetType() && swallowReleaseOn_->isWidgetType()
                    && static_cast<QWidget *>(swallowReleaseOn_.data())->isAncestorOf(static_cast<QWidget *>(o))))) {
            swallowReleaseOn_ = nullptr;
            return true;
        }
        break;
    case QEvent::Wheel:
        return o->isWindowType() && wheelTurned(static_cast<QWindow *>(o), static_cast<QWheelEvent *>(e));
    case QEvent::FocusIn:
        if (o->isWidgetType()) {
            focusInWidget_ = static_cast<QWidget *>(o);
            focusInReason_ = static_cast<QFocusEvent *>(e)->reason();
        }
        break;
    case QEvent::ShortcutOverride:
        return shortcutOverride(o, static_cast<QKeyEvent *>(e));
    case QEvent::KeyPress:
        if (o->isWidgetType()) {
            auto *key = static_cast<QKeyEvent *>(e);
            if (QComboBox *box = boxOfList(o); box && !inList_ && key->key() != Qt::Key_Escape)
                return keyInList(box, key);
            return keyPressed(static_cast<QWidget *>(o), key);
        }
        break;
    case QEvent::InputMethod:
        if (inputMethodEvent(o, static_cast<QInputMethodEvent *>(e)))
            return true;
        if (QComboBox *box = typingBoxOfList(o)) {
            QCoreApplication::sendEvent(box, e);
            typedIntoBox(box);
            return true;
        }
        break;
    case QEvent::InputMethodQuery:
        return answerInputMethod(o, static_cast<QInputMethodQueryEvent *>(e));
    default:
        break;
    }
    return false;
}

// A press that would move the focus to another control validates the control being left first;
// a refusal drops the press (and its release), so the focus stays and no click happens.
bool FormRuntime::mousePressed(QWindow *window, QMouseEvent *e)
{
    Form *f = loadedFormOfWindow(window);
    if (!f)
        return false;
    if (e->type() == QEvent::MouseButtonDblClick) {
        // The second press of a double click whose first press was dropped.
        if (pressDropped_)
            swallowReleaseOn_ = window;
        return pressDropped_;
    }
    pressDropped_ = false;
    QWidget *hit = f->childAt(e->position().toPoint());
    QWidget *target = clickFocusTarget(hit ? hit : f);
    if (!target || f->leaveFocus(target))
        return false;
    pressDropped_ = true;
    swallowReleaseOn_ = window;
    return true;
}

bool FormRuntime::keyPressed(QWidget *w, QKeyEvent *e)
{
    // The pop-up closed on the Esc before its press was sent (a combo box's list does): the press
    // goes no further, so no window's Esc acts on it.
    if (std::exchange(popupEsc_, false) && e->key() == Qt::Key_Escape && !QApplication::activePopupWidget()) {
        e->accept();
        return true;
    }
    // Keys go to the focused control; one it ignored travels up to its parents, which are not
    // looked at again.
    if (w != QApplication::focusWidget())
        return false;
    Form *f = loadedFormOf(w);
    if (!f || w == f)
        return false;
    return f->handleKey(w, e);
}

// Qt offers a key to the focused widget as a shortcut before it sends the key itself.
bool FormRuntime::shortcutOverride(QObject *o, QKeyEvent *e)
{
    // An Esc that finds a pop-up open (a combo box's list) is the pop-up's alone.
    if (e->key() == Qt::Key_Escape && QApplication::activePopupWidget() && !popupEsc_) {
        popupEsc_ = true;
        QTimer::singleShot(0, this, [this] { popupEsc_ = false; });
        return false;
    }
    // Qt's list of a combo box takes Enter here: it chooses the marked item and closes, and the
    // key itself then reaches no window. Enter and Tab in an open list are the list's and the
    // window's together (keyInList): the shortcut is declined, so the key is sent as a key.
    if (!inList_ && isEnterOrTab(e) && boxOfList(o)) {
        e->accept();
        return true;
    }
    return false;
}

// A key typed while the list of a combo box is open.
//   Enter and Tab close the list and are then the window's, as in the box. A box that takes the
//   typing keeps its text (an emptied text stays empty: Up and Down have chosen already); any
//   other box first takes the marked item, as Qt's list does on Enter.
//   In an editable box that takes the typing: Up, Down and the page keys move the list's mark and
//   choose the marked item; every other key goes into the box's text (through the window's
//   KeyPress), and the list marks the first item that begins with it.
//   Anything else is the list's own (a box without an editable text marks the item a typed key
//   begins; Esc, F4 and Alt+Up/Down close the list).
bool FormRuntime::keyInList(QComboBox *box, QKeyEvent *e)
{
    const bool typing = typingBoxOfList(box->view()) != nullptr;
    if (isEnterOrTab(e)) {
        if (!typing) {
            QKeyEvent choose(QEvent::ShortcutOverride, Qt::Key_Return, Qt::NoModifier);
            const QScopedValueRollback<bool> asQt(inList_, true);
            QCoreApplication::sendEvent(box->view(), &choose);
        }
        box->hidePopup();
        QCoreApplication::sendEvent(box, e);
        return true;
    }
    if (!typing)
        return false;
    switch (e->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (e->modifiers() & Qt::AltModifier)
            return false;
        {
            const QScopedValueRollback<bool> asQt(inList_, true);
            QCoreApplication::sendEvent(box->view(), e);
        }
        if (const QModelIndex mark = box->view()->currentIndex(); mark.isValid()) {
            if (mark.row() != box->currentIndex())
                box->setCurrentIndex(mark.row());
            else
                box->setEditText(box->itemText(mark.row()));
        }
        return true;
    case Qt::Key_F4:
        return false;
    default:
        break;
    }
    if (Form *f = loadedFormOf(box); f && f->handleKey(box, e))
        return true;
    QCoreApplication::sendEvent(box, e);
    typedIntoBox(box);
    return true;
}

// Qt gives the wheel to the widget under the pointer, with or without the focus, and gives that
// widget the focus first when it takes the focus by the wheel (a combo box does): a closed combo
// box would change its item, without Validate of the control the grower was in, and the window
// would show what its record does not hold. As the window system delivers a wheel to the
// window, a wheel over a box it would change that does not have the focus is dropped there: the
// box and the focus stay as they were. Over the focused box Qt's own handling chooses as Up and
// Down do, and Validate takes what the box then shows when the focus leaves it.
bool FormRuntime::wheelTurned(QWindow *window, QWheelEvent *e)
{
    Form *f = loadedFormOfWindow(window);
    QWidget *box = f ? wheelChangedBox(f->childAt(e->position().toPoint())) : nullptr;
    if (!box || box->hasFocus())
        return false;
    e->accept();
    return true;
}

// Qt's ibus connection keeps the composition it showed last when the engine hides it without a
// commit (Esc, or BackSpace until nothing is left), and commits it at the next
// QInputMethod::commit(), which a focus change calls (and a focused widget that switches the
// input method off): the word the grower cancelled would come back into the box, shown but not
// in the record when the box was already checked. A composition that goes empty without a commit
// is cancelled: the input method is told to forget it (it shows nothing then, so its reset commits
// nothing).
//
// A composition still shown when the focus moves is committed into the box being left, as Qt
// does; the connection then resets the engine, and the ibus daemon answers a reset of a shown
// composition by committing it once more, later, to whatever has the focus by then. That second
// commit of the same word, before anything else comes from the input method, is dropped.
//
// True drops the event.
bool FormRuntime::inputMethodEvent(QObject *o, QInputMethodEvent *e)
{
    // An event the runtime passes on from an open list to its box is counted at the list.
    if (o != QGuiApplication::focusObject())
        return false;
    const bool plainCommit = e->preeditString().isEmpty() && e->replacementLength() == 0;
    if (!echoAfterFocusChange_.isEmpty()) {
        // The daemon may first hide the composition (an empty event): it waits for what comes next.
        const bool echo = plainCommit && e->commitString() == echoAfterFocusChange_;
        if (echo || !e->preeditString().isEmpty() || !e->commitString().isEmpty())
            echoAfterFocusChange_.clear();
        if (echo)
            return true;
    }
    const bool cancelled = composing_ && plainCommit && e->commitString().isEmpty();
    if (composing_ && !e->commitString().isEmpty()) {
        // Committed while shown: a focus change within this event makes it the focus change's.
        committedShown_ = e->commitString();
        QTimer::singleShot(0, this, [this] { committedShown_.clear(); });
    }
    composing_ = !e->preeditString().isEmpty();
    if (cancelled)
        QGuiApplication::inputMethod()->reset();
    return false;
}

void FormRuntime::focusChanged(QWidget *old, QWidget *now)
{
    if (!committedShown_.isEmpty())
        echoAfterFocusChange_ = std::exchange(committedShown_, QString());
    const Qt::FocusReason reason = (now && now == focusInWidget_) ? focusInReason_ : Qt::OtherFocusReason;
    focusInWidget_ = nullptr;
    Form *to = loadedFormOf(now);
    if (!to)
        return;
    to->focusArrived(old, now, reason, loadedFormOf(old) == to);
}

}  // namespace hb
