#include "core/formbase.h"

#include "core/controls.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/formruntime.h"
#include "core/uiservices.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <utility>
#include <algorithm>
#include <cmath>

namespace hb {

namespace {

// What the design sizes hold beyond the client area (the original's frame and caption), so a
// window first appears with its frame about its design size.
constexpr int kDesignFrameWidth = 8;
constexpr int kDesignFrameHeight = 27;
constexpr const char *kSelectAllProperty = "hbSelectAllOnFocus";

// Sets a flag for the length of a scope (also when an exception leaves it).
class FlagScope {
public:
    explicit FlagScope(bool &flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope &) = delete;
    FlagScope &operator=(const FlagScope &) = delete;

private:
    bool &flag_;
};

bool startsWithAny(const QString &name, const QStringList &prefixes)
{
    for (const QString &p : prefixes) {
        if (name.startsWith(p, Qt::CaseSensitive))
            return true;
    }
    return false;
}

bool isImage(const QString &name)
{
    return name.startsWith(QLatin1String("img"));
}

// Menus, timers and (unless they move with the window) images keep their geometry (compared
// case-sensitively).
bool keepsGeometry(const QString &name, bool moveImages)
{
    return name.startsWith(QLatin1String("mnu")) || name.startsWith(QLatin1String("Tim"))
           || (!moveImages && isImage(name));
}

bool isNamedControl(const QWidget *w)
{
    const QString n = w->objectName();
    return !n.isEmpty() && !n.startsWith(QLatin1String("qt_"));
}

void collectControls(const QWidget *parent, QList<QWidget *> &out)
{
    for (QObject *o : parent->children()) {
        auto *w = qobject_cast<QWidget *>(o);
        if (!w || w->isWindow() || !isNamedControl(w))
            continue;
        out << w;
        collectControls(w, out);
    }
}

bool isPushButton(const QWidget *w)
{
    return qobject_cast<const QPushButton *>(w) || qobject_cast<const QToolButton *>(w);
}

// The controls whose own key handling moves on with Enter: text, combo, check, option, list
// and spin boxes.
bool movesOnWithEnter(const QWidget *w)
{
    if (qobject_cast<const QLineEdit *>(w) || qobject_cast<const QTextEdit *>(w)
        || qobject_cast<const QPlainTextEdit *>(w) || qobject_cast<const QComboBox *>(w)
        || qobject_cast<const QCheckBox *>(w) || qobject_cast<const QRadioButton *>(w)
        || qobject_cast<const QAbstractSpinBox *>(w))
        return true;
    const auto *list = qobject_cast<const QListView *>(w);
    return list != nullptr;
}

void selectAllText(QWidget *w)
{
    if (auto *e = qobject_cast<QLineEdit *>(w))
        e->selectAll();
    else if (auto *t = qobject_cast<QTextEdit *>(w))
        t->selectAll();
    else if (auto *p = qobject_cast<QPlainTextEdit *>(w))
        p->selectAll();
    else if (auto *s = qobject_cast<QAbstractSpinBox *>(w))
        s->selectAll();
    else if (auto *c = qobject_cast<QComboBox *>(w); c && c->lineEdit())
        c->lineEdit()->selectAll();
}

}  // namespace

Form::Form(const QString &name, QWidget *parent) : QDialog(parent)
{
    FormRuntime::instance();
    setObjectName(name);
    setSizable(!name.startsWith(QLatin1String("fdl")));
    setDesignSize(scaling_.designWidth, scaling_.designHeight);
}

Form::~Form()
{
    if (loaded_) {
        loaded_ = false;
        detail::formUnloaded(this);
    }
}

void Form::setDesignSize(int twipsWidth, int twipsHeight)
{
    scaling_.designWidth = twipsWidth;
    scaling_.designHeight = twipsHeight;
    resize(qMax(1, qRound(twipsWidth / kTwipsPerPixel) - kDesignFrameWidth),
           qMax(1, qRound(twipsHeight / kTwipsPerPixel) - kDesignFrameHeight));
}

void Form::setSizable(bool sizable)
{
    sizable_ = sizable;
    const Qt::WindowFlags common = Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    setWindowFlags(sizable ? (Qt::Window | common | Qt::WindowMinMaxButtonsHint)
                           : (Qt::Dialog | common | Qt::MSWindowsFixedSizeDialogHint));
    setSizeGripEnabled(false);
}

void Form::setSelectAllOnFocus(QWidget *box, bool on)
{
    box->setProperty(kSelectAllProperty, on);
}

void Form::setDropDownOnFocus(QComboBox *box, bool on)
{
    FormRuntime::setDropDownOnFocus(box, on);
}

void Form::onClick(QAbstractButton *button, std::function<void()> handler)
{
    connect(button, &QAbstractButton::clicked, this,
            [this, button, handler = std::move(handler)] { trap(Event::Click, button, handler); });
}

namespace {
QStringList gUnsaidWriters;
long gWritesOfInnerEvents = 0;  // counted already to the events that ran inside the current one

// The rows an event writes are its window's, less what the events of the windows it showed
// wrote: a window whose own events write has said what it does after a failed load.
class OwnWrites {
public:
    explicit OwnWrites(const Form &form)
        : name_(form.objectName()), unsaid_(form.afterFailedLoad() == Form::AfterFailedLoad::Unsaid),
          before_(DbObject::writingStatements()), innerBefore_(gWritesOfInnerEvents)
    {
    }
    ~OwnWrites()
    {
        const long all = DbObject::writingStatements() - before_;
        const long own = all - (gWritesOfInnerEvents - innerBefore_);
        gWritesOfInnerEvents = innerBefore_ + all;
        if (own > 0 && unsaid_ && !gUnsaidWriters.contains(name_))
            gUnsaidWriters << name_;
    }
    OwnWrites(const OwnWrites &) = delete;
    OwnWrites &operator=(const OwnWrites &) = delete;

private:
    QString name_;
    bool unsaid_;
    long before_;
    long innerBefore_;
};
}  // namespace

QStringList Form::takeUnsaidWriters()
{
    return std::exchange(gUnsaidWriters, QStringList());
}

void Form::trap(Event event, QWidget *control, const std::function<void()> &body)
{
    const OwnWrites counted(*this);
    trapped(trapFor(event, control), body);
}

// ---- controls ----------------------------------------------------------------------------

QList<QWidget *> Form::controls() const
{
    QList<QWidget *> out;
    collectControls(this, out);
    return out;
}

QWidget *Form::controlOf(QWidget *w) const
{
    if (!w || w->window() != this)
        return nullptr;
    QWidget *candidate = nullptr;
    // The innermost widget whose chain up to the window is named throughout.
    for (QWidget *p = w; p && p != this; p = p->parentWidget()) {
        if (!isNamedControl(p))
            candidate = nullptr;
        else if (!candidate)
            candidate = p;
    }
    return candidate;
}

int Form::ctlIndex(const QWidget *w, const QString &array)
{
    if (!w)
        return -1;
    const QString n = w->objectName();
    if (n.size() <= array.size() + 1 || !n.startsWith(array) || n.at(array.size()) != QLatin1Char('_'))
        return -1;
    bool ok = false;
    const int i = n.mid(array.size() + 1).toInt(&ok);
    return ok && i >= 0 ? i : -1;
}

QString Form::ctlName(const QString &array, int index)
{
    return array + QLatin1Char('_') + QString::number(index);
}

// ---- scaling -------------------------------------------------------------------------------

void Form::SetDefSize()
{
    recs_.clear();
    for (QWidget *w : controls()) {
        SizeRec r;
        r.control = w;
        const QString n = w->objectName();
        if (!keepsGeometry(n, scaling_.moveImages)) {
            r.skipped = false;
            const QRect g = w->geometry();
            r.left = g.x();
            r.width = g.width();
            r.top = g.y();
            r.height = g.height();
            if (scaling_.fonts && !startsWithAny(n, scaling_.keepFont) && !isImage(n))
                r.fontSize = static_cast<float>(qMax(0.0, w->font().pointSizeF()));
        }
        recs_.push_back(r);
    }
    if (design_.empty())
        design_ = recs_;
}

void Form::SetSize()
{
    if (scaling_.designWidth <= 0 || scaling_.designHeight <= 0)
        return;
    const QSize outer = outerSize();
    const float fx = static_cast<float>(outer.width()) * kTwipsPerPixel / static_cast<float>(scaling_.designWidth);
    const float fy = static_cast<float>(outer.height()) * kTwipsPerPixel / static_cast<float>(scaling_.designHeight);
    scaleX_ = fx;
    scaleY_ = fy;
    for (const SizeRec &r : recs_) {
        QWidget *w = r.control;
        if (!w || r.skipped)
            continue;
        // Images that move with the window keep their size.
        const bool image = isImage(w->objectName());
        const float left = r.left * fx;
        const float width = image ? r.width : r.width * fx;
        const float top = r.top * fy;
        const float height = image ? r.height : r.height * fy;
        if (r.fontSize > 0) {
            const float scaled = r.fontSize * fx;
            const double points = std::nearbyint(static_cast<double>(scaled));  // halves to even
            if (points >= 1 && w->font().pointSizeF() != points) {
                QFont font = w->font();
                font.setPointSize(static_cast<int>(points));
                w->setFont(font);
            }
        }
        // Combo boxes (and what the window adds) keep their design height, as far as their
        // font lets them: a font larger than the design's makes them as high as its text needs.
        int h = qRound(height);
        if (startsWithAny(w->objectName(), scaling_.keepHeight)) {
            h = qRound(r.height);
            if (r.fontSize > 0 && w->font().pointSizeF() > r.fontSize)
                h = qMax(h, w->sizeHint().height());
        }
        w->setGeometry(qRound(left), qRound(top), qMax(0, qRound(width)), qMax(0, h));
    }
}

QSize Form::outerSize() const
{
    return size() + QSize(kDesignFrameWidth, kDesignFrameHeight);
}

void Form::restoreDesign()
{
    for (const SizeRec &r : design_) {
        QWidget *w = r.control;
        if (!w || r.skipped)
            continue;
        w->setGeometry(qRound(r.left), qRound(r.top), qRound(r.width), qRound(r.height));
        if (r.fontSize > 0 && w->font().pointSizeF() != r.fontSize) {
            QFont font = w->font();
            font.setPointSizeF(r.fontSize);
            w->setFont(font);
        }
    }
}

// ---- placement -----------------------------------------------------------------------------

QRect Form::placeFrame(const QRect &available, const QSize &client, const QMargins &frame, const QRect &ownerFrame)
{
    QRect at(QPoint(0, 0), client.grownBy(frame));
    at.moveCenter(ownerFrame.isValid() ? ownerFrame.center() : available.center());
    const auto inside = [](int start, int length, int areaStart, int areaLength) {
        return length >= areaLength ? areaStart : std::clamp(start, areaStart, areaStart + areaLength - length);
    };
    at.moveTo(inside(at.x(), at.width(), available.x(), available.width()),
              inside(at.y(), at.height(), available.y(), available.height()));
    return at;
}

namespace {

QMargins frameMarginsOf(const QWidget *w)
{
    const QRect client = w->geometry(), frame = w->frameGeometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                    frame.bottom() - client.bottom());
}

// The frame a window not framed yet will get: that of another shown window of the program (the
// same window manager frames them alike), else the frame the design sizes count.
QMargins expectedFrame(const QWidget *window, const QWidget *owner)
{
    if (owner)
        return frameMarginsOf(owner);
    for (const QWidget *w : QApplication::topLevelWidgets()) {
        if (w != window && w->isVisible() && w->isWindow() && !(w->windowFlags() & Qt::Popup))
            return frameMarginsOf(w);
    }
    constexpr int side = kDesignFrameWidth / 2;
    return QMargins(side, kDesignFrameHeight - side, side, side);
}

}  // namespace

// Before the window shows, its frame is placed with the frame it is expected to get; once the
// window manager framed it, again with the real frame (nothing moves where the two agree).
// A window shown maximised is placed for its restore: once framed, it is placed when it is
// first seen in its normal state.
void Form::placeOnScreen(bool framed)
{
    if (!isWindow() || (windowState() & (Qt::WindowFullScreen | Qt::WindowMinimized)))
        return;
    QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (owner && !owner->isVisible())
        owner = nullptr;
    QScreen *where = owner ? owner->screen() : screen();
    if (!where)
        return;
    const QMargins frame = framed ? frameMarginsOf(this) : expectedFrame(this, owner);
    const QRect at = placeFrame(where->availableGeometry(), size(), frame, owner ? owner->frameGeometry() : QRect());
    if (!framed || at.topLeft() != frameGeometry().topLeft())
        move(at.topLeft());
}

// ---- window state --------------------------------------------------------------------------

void Form::applyWindowSta()
{
    bool maximised = false;
    if (gINI && gINI->isOpen()) {
        try {
            const Value v = iniDb().GetCtrl(QStringLiteral("WINDOW_STA"));
            maximised = !v.isEmpty() && !v.isNull() && v.toBool();
        } catch (const HbError &) {
            maximised = false;
        }
    }
    const Qt::WindowStates other =
        windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
    if (maximised) {
        applyBorder(true);
        if (windowState() != (other | Qt::WindowMaximized))
            setWindowState(other | Qt::WindowMaximized);
    } else {
        if (windowState() != other)
            setWindowState(other);
        applyBorder(false);
    }
}

// A fixed dialog border: the person cannot resize the window; the WINDOW_STA rule still
// maximises it.
void Form::applyBorder(bool maximised)
{
    if (sizable_)
        return;
    if (!normalSize_.isValid())
        normalSize_ = size();
    if (maximised) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        setFixedSize(normalSize_);
    }
}

// ---- lifecycle -----------------------------------------------------------------------------

void Form::Load()
{
    FlagScope busy(loading_);
    restoreDesign();
    loaded_ = true;
    if (closingAfterFailedLoad())
        setEnabled(true);  // as it was before the last showing's failed load
    loadFailed_ = false;
    activatePending_ = true;
    failedBeforeLoad_ = DbObject::failedStatements();
    resizePending_ = true;
    firstFocusPending_ = true;
    validatedLeaving_ = nullptr;
    // Showing always gives one Resize, also when the size did not change since the last showing.
    setAttribute(Qt::WA_PendingResizeEvent);
    for (QWidget *w : controls()) {
        if (auto *b = qobject_cast<QPushButton *>(w)) {
            // No default button: Enter moves on, and only a focused button clicks on it.
            b->setAutoDefault(false);
            b->setDefault(false);
        } else if (auto *t = qobject_cast<QTextEdit *>(w)) {
            t->setTabChangesFocus(true);
        } else if (auto *p = qobject_cast<QPlainTextEdit *>(w)) {
            p->setTabChangesFocus(true);
        }
    }
    detail::formLoaded(this);
    trap(Event::Load, nullptr, [this] { onLoad(); });
    if (loaded_)
        applyBorder(windowState().testFlag(Qt::WindowMaximized));
    checkLoad();
}

void Form::whenLoadFails(AfterFailedLoad what, std::function<void()> refuseWriting)
{
    afterFailedLoad_ = what;
    refuseWriting_ = std::move(refuseWriting);
}

// Checked after Load, after the first Resize and after the first Activate, whichever come: a
// window may be shown and never activated (behind another window, or where the window manager
// withholds the focus).
void Form::checkLoad()
{
    if (loadFailed_ || !loaded_ || DbObject::failedStatements() == failedBeforeLoad_)
        return;
    loadFailed_ = true;
    switch (afterFailedLoad_) {
    case AfterFailedLoad::Unsaid:
        return;
    case AfterFailedLoad::StayToBeRead:
        if (refuseWriting_)
            refuseWriting_();
        return;
    case AfterFailedLoad::Close:
        setEnabled(false);
        QTimer::singleShot(0, this, [this] {
            if (loaded_ && loadFailed_)
                Unload();
        });
        return;
    }
}

bool Form::closingAfterFailedLoad() const
{
    return loadFailed_ && afterFailedLoad_ == AfterFailedLoad::Close;
}

void Form::onLoad()
{
    SetDefSize();
    applyWindowSta();
}

void Form::onActivate()
{
    applyWindowSta();
}

void Form::onResize()
{
    SetSize();
}

void Form::setVisible(bool visible)
{
    if (visible && !loaded_ && !loading_) {
        Load();
        if (!loaded_)
            return;
    }
    if (visible && !isVisible()) {
        placeOnScreen(false);
        placePending_ = true;
    } else if (!visible) {
        placePending_ = false;
    }
    QDialog::setVisible(visible);
}

int Form::showModal(QWidget *owner)
{
    if (isVisible())
        return result();
    QWidget *ownerWindow = owner ? owner->window() : nullptr;
    QPointer<QWidget> previous = QApplication::activeWindow();
    if (ownerWindow != parentWidget())
        setParent(ownerWindow, windowFlags());
    setWindowModality(Qt::ApplicationModal);
    setResult(QDialog::Rejected);
    if (!loaded_)
        Load();
    int r = QDialog::Rejected;
    QPointer<Form> self(this);
    if (loaded_)
        r = ui().execModal(this);
    if (self) {
        // The modal call is over: the window is no longer shown, and it belongs to no owner.
        if (isVisible())
            hide();
        setWindowModality(Qt::NonModal);
        if (parentWidget())
            setParent(nullptr, windowFlags());
    }
    // The window system activates the owner again when a modal window closes; do the same
    // where it does not (offscreen, scripted dialogs).
    QWidget *back = ownerWindow ? ownerWindow : previous.data();
    if (back && back != self.data() && back->isVisible())
        back->activateWindow();
    return r;
}

bool Form::LoadHidden()
{
    if (!loaded_ && !loading_)
        Load();
    return loaded_;
}

void Form::showModeless()
{
    if (!loaded_)
        Load();
    if (!loaded_)
        return;
    setWindowModality(Qt::NonModal);
    show();
    raise();
    activateWindow();
}

bool Form::Unload()
{
    if (!loaded_) {
        if (isVisible())
            QDialog::done(result());
        return true;
    }
    if (unloading_)
        return false;
    FlagScope busy(unloading_);
    bool allow = true;
    trap(Event::Unload, nullptr, [this, &allow] { allow = onUnload(); });
    if (!allow)
        return false;
    loaded_ = false;
    recs_.clear();
    validatedLeaving_ = nullptr;
    FormRuntime &rt = FormRuntime::instance();
    if (rt.lastActive == this)
        rt.lastActive = nullptr;
    detail::formUnloaded(this);
    QDialog::done(result());
    return true;
}

void Form::done(int result)
{
    setResult(result);
    if (loaded_ && !unloading_) {
        Unload();
        return;
    }
    QDialog::done(result);
}

void Form::closeEvent(QCloseEvent *e)
{
    if (!loaded_ || unloading_ || Unload())
        e->accept();
    else
        e->ignore();
}

// ---- events --------------------------------------------------------------------------------

bool Form::event(QEvent *e)
{
    const bool handled = QDialog::event(e);
    if (placePending_ && (e->type() == QEvent::Move || e->type() == QEvent::Resize) && isVisible()
        && frameGeometry() != geometry()
        && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))) {
        placePending_ = false;
        placeOnScreen(true);
    }
    if (e->type() == QEvent::WindowActivate)
        activated();
    return handled;
}

// Activate runs only when the window becomes active coming from another of the program's
// windows: message boxes, pickers and popups are no forms, and leave the last active form as it
// was, so coming back from them (or from another program) is no activation.
void Form::activated()
{
    FormRuntime &rt = FormRuntime::instance();
    Form *previous = rt.lastActive;
    rt.lastActive = this;
    if (!loaded_ || previous == this)
        return;
    const bool first = activatePending_;
    activatePending_ = false;
    if (closingAfterFailedLoad())
        return;
    trap(Event::Activate, nullptr, [this] { onActivate(); });
    if (first)
        checkLoad();
}

void Form::resizeEvent(QResizeEvent *e)
{
    QDialog::resizeEvent(e);
    if (!loaded_ || unloading_ || isHidden())
        return;
    const bool first = resizePending_;
    resizePending_ = false;
    const bool outer = inFirstResize_;
    inFirstResize_ = first;
    // A window closing after its failed load reads nothing more: it only lays out.
    trap(Event::Resize, nullptr, [this] { closingAfterFailedLoad() ? Form::onResize() : onResize(); });
    inFirstResize_ = outer;
    if (first)
        checkLoad();
}

void Form::keyPressEvent(QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        e->accept();  // never a default button
        return;
    case Qt::Key_Escape:
        if (cancelButton_ && cancelButton_->isVisible() && cancelButton_->isEnabled())
            cancelButton_->click();
        e->accept();
        return;
    default:
        QWidget::keyPressEvent(e);
    }
}

Form::EnterKey Form::enterKey(QWidget *control) const
{
    if (isPushButton(control))
        return EnterKey::Button;
    switch (enterLevel_) {
    case EnterLevel::Controls:
        return movesOnWithEnter(control) ? EnterKey::MoveOn : EnterKey::Drop;
    case EnterLevel::Window:
        return EnterKey::MoveOn;
    case EnterLevel::DropOnly:
        break;
    }
    return EnterKey::Drop;
}

bool Form::handleKey(QWidget *receiver, QKeyEvent *e)
{
    const Qt::KeyboardModifiers mods = e->modifiers();
    const bool plain = !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (plain && (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab)) {
        tabFrom(e->key() == Qt::Key_Tab && !(mods & Qt::ShiftModifier));
        return true;
    }
    QWidget *control = controlOf(receiver);
    if (!control)
        return false;
    const bool enter = plain && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter);
    int key = enter ? 13 : (e->text().isEmpty() ? 0 : e->text().at(0).unicode());
    if (key == 0)
        return false;
    trap(Event::KeyPress, control, [this, control, &key] { keyPress(control, key); });
    if (key == 0)
        return true;
    if (!enter)
        return false;
    switch (enterKey(control)) {
    case EnterKey::MoveOn:
        tabFrom(true);
        break;
    case EnterKey::Button:
        if (auto *b = qobject_cast<QAbstractButton *>(control); b && b->isEnabled())
            b->click();
        break;
    case EnterKey::Drop:
        break;
    }
    return true;
}

// ---- focus ---------------------------------------------------------------------------------

void Form::tabFrom(bool forward)
{
    QWidget *current = controlOf(focusWidget());
    if (current && !validating_ && current->isVisible() && current->isEnabled()) {
        if (!runValidate(current))
            return;
        validatedLeaving_ = current;
    }
    focusNextPrevChild(forward);
    validatedLeaving_ = nullptr;
}

void Form::sendTab(bool forward)
{
    QTimer::singleShot(0, this, [this, forward] {
        if (loaded_)
            tabFrom(forward);
    });
}

void Form::dropDown(QComboBox *box)
{
    FormRuntime::openList(box, false);
}

bool Form::runValidate(QWidget *control)
{
    if (validating_)
        return true;
    FlagScope busy(validating_);
    bool accepted = true;  // an error in the check leaves the focus free to go
    trap(Event::Validate, control, [this, control, &accepted] { accepted = validate(control); });
    return accepted;
}

// The focus is about to go to `target` (a mouse press): validate the control being left.
bool Form::leaveFocus(QWidget *target)
{
    QWidget *current = controlOf(focusWidget());
    if (!current || validating_ || controlOf(target) == current || !current->isVisible() || !current->isEnabled())
        return true;
    if (!runValidate(current))
        return false;
    validatedLeaving_ = current;
    // Cleared once the press is over, whether or not it moved the focus.
    QTimer::singleShot(0, this, [this] { validatedLeaving_ = nullptr; });
    return true;
}

void Form::focusArrived(QWidget *old, QWidget *now, Qt::FocusReason reason, bool fromSameWindow)
{
    if (focusSilent_)
        return;
    QWidget *to = controlOf(now);
    if (!to)
        return;
    if (!fromSameWindow) {
        // Back from a message box, a popup or another program: no focus event; the first
        // focus after Load is one.
        if (firstFocusPending_ || (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason))
            dispatchGotFocus(to, reason);
        return;
    }
    QPointer<QWidget> from = controlOf(old);
    if (from == to || validating_)
        return;
    if (from) {
        const bool checked = validatedLeaving_ == from;
        validatedLeaving_ = nullptr;
        // The focus was moved by code (or a way not seen before): check now, and put the focus
        // back once this change is over when the check refuses.
        if (!checked && from->isVisible() && from->isEnabled() && !runValidate(from)) {
            FormRuntime &rt = FormRuntime::instance();
            rt.dropPressOn = to;
            QTimer::singleShot(0, &rt, [&rt] { rt.dropPressOn = nullptr; });
            QTimer::singleShot(0, this, [this, from] {
                if (!from || !loaded_)
                    return;
                focusSilent_ = true;
                from->setFocus(Qt::OtherFocusReason);
                focusSilent_ = false;
            });
            return;
        }
        if (from)
            trap(Event::LostFocus, from, [this, from] { lostFocus(from); });
    }
    dispatchGotFocus(to, reason);
}

void Form::dispatchGotFocus(QWidget *control, Qt::FocusReason reason)
{
    firstFocusPending_ = false;
    if (control->property(kSelectAllProperty).toBool()) {
        // Deferred: a mouse press places the caret after the focus arrived.
        QPointer<QWidget> p(control);
        QTimer::singleShot(0, control, [p] {
            if (p && p->hasFocus())
                selectAllText(p);
        });
    }
    if (FormRuntime::dropsDownOnFocus(control) && reason != Qt::PopupFocusReason) {
        if (auto *box = qobject_cast<QComboBox *>(control))
            FormRuntime::openList(box, true);
    }
    trap(Event::GotFocus, control, [this, control] { gotFocus(control); });
}

}  // namespace hb
