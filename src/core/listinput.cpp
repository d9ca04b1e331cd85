#include "core/listinput.h"

#include "core/controls.h"
#include "core/datachanged.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/recordhold.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QTreeWidget>

namespace hb {

namespace {

constexpr float kTwips = 15.0F;  // per pixel

QRect px(int left, int top, int width, int height)
{
    return QRect(qRound(left / kTwips), qRound(top / kTwips), qRound(width / kTwips), qRound(height / kTwips));
}

const char *const kListCaptions[ListForm::kMenuCount] = {"閉じる", "追加", "修正", "参照", "削除", "複写", "印刷"};

// Keeps the window quiet while it rebuilds itself, on every path.
class UpdatesOff {
public:
    explicit UpdatesOff(QWidget *w) : w_(w), was_(w->updatesEnabled()) { w_->setUpdatesEnabled(false); }
    ~UpdatesOff() { w_->setUpdatesEnabled(was_); }
    UpdatesOff(const UpdatesOff &) = delete;
    UpdatesOff &operator=(const UpdatesOff &) = delete;

private:
    QWidget *w_;
    bool was_;
};

// ---- the read-only look ---------------------------------------------------------------------

constexpr const char *kLockedProperty = "hbReadOnlyLook";
constexpr const char *kPolicyProperty = "hbReadOnlyPolicy";
constexpr const char *kPaletteProperty = "hbReadOnlyPalette";

// A locked combo box offers no list and takes no keys, wheel or presses; a locked text box takes
// no input-method text (Qt's read-only boxes refuse only key strokes).
class ComboLock : public QObject {
public:
    ComboLock(QObject *parent, bool inputOnly) : QObject(parent), inputOnly_(inputOnly) {}

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (inputOnly_)
            return e->type() == QEvent::InputMethod || QObject::eventFilter(o, e);
        switch (e->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::InputMethod:
            return true;
        default:
            return QObject::eventFilter(o, e);
        }
    }

private:
    bool inputOnly_;
};

void setBase(QWidget *w, const QColor &color)
{
    QPalette p = w->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(g, QPalette::Base, color);
    w->setPalette(p);
}

constexpr const char *kImeProperty = "hbReadOnlyIme";

void setReadOnly(QWidget *w, bool on)
{
    if (auto *e = qobject_cast<QLineEdit *>(w)) {
        // Unlocking turns the input method back on: give the box what it had.
        if (on)
            e->setProperty(kImeProperty, e->testAttribute(Qt::WA_InputMethodEnabled));
        e->setReadOnly(on);
        if (!on)
            e->setAttribute(Qt::WA_InputMethodEnabled, e->property(kImeProperty).toBool());
    } else if (auto *t = qobject_cast<QTextEdit *>(w)) {
        t->setReadOnly(on);
    } else if (auto *p = qobject_cast<QPlainTextEdit *>(w)) {
        p->setReadOnly(on);
    } else if (auto *s = qobject_cast<QAbstractSpinBox *>(w)) {
        s->setReadOnly(on);
    }
}

// Locks a text or combo box (or undoes it), keeping what it had to put back.
void lockBox(QWidget *w, bool on, const QColor &windowColor, ComboLock *comboLock, ComboLock *imeLock)
{
    const bool locked = w->property(kLockedProperty).toBool();
    if (on == locked)
        return;
    auto *combo = qobject_cast<QComboBox *>(w);
    if (on) {
        w->setProperty(kPolicyProperty, static_cast<int>(w->focusPolicy()));
        w->setProperty(kPaletteProperty, QVariant::fromValue(w->palette()));
        w->setFocusPolicy(Qt::NoFocus);
        setReadOnly(w, true);
        setBase(w, windowColor);
        if (!combo)
            w->installEventFilter(imeLock);
        if (combo) {
            combo->installEventFilter(comboLock);
            if (QLineEdit *e = combo->lineEdit()) {
                setReadOnly(e, true);
                e->installEventFilter(comboLock);
            }
        }
    } else {
        w->setFocusPolicy(static_cast<Qt::FocusPolicy>(w->property(kPolicyProperty).toInt()));
        w->setPalette(w->property(kPaletteProperty).value<QPalette>());
        setReadOnly(w, false);
        if (!combo)
            w->removeEventFilter(imeLock);
        if (combo) {
            combo->removeEventFilter(comboLock);
            if (QLineEdit *e = combo->lineEdit()) {
                setReadOnly(e, false);
                e->removeEventFilter(comboLock);
            }
        }
    }
    w->setProperty(kLockedProperty, on);
}

void disableControl(QWidget *w, bool on)
{
    const bool disabled = w->property(kLockedProperty).toBool();
    if (on == disabled)
        return;
    w->setEnabled(!on);
    w->setProperty(kLockedProperty, on);
}

}  // namespace

// ---- list window ------------------------------------------------------------------------------

ListForm::ListForm(const QString &name) : Form(name)
{
    whenLoadFails(AfterFailedLoad::Close);
}

void ListForm::makeListView(int leftTwips, int topTwips, int widthTwips, int heightTwips)
{
    ListView1 = makeReportView(this, QStringLiteral("ListView1"), px(leftTwips, topTwips, widthTwips, heightTwips));
}

void ListForm::makeMenuButtons(const std::array<QRect, kMenuCount> &twips)
{
    for (int i = 0; i < kMenuCount; ++i) {
        const QRect t = twips[static_cast<std::size_t>(i)];
        const QRect g = px(t.x(), t.y(), t.width(), t.height());
        auto *b = makeCaptioned<QPushButton>(this, ctlName(QStringLiteral("cmdMENU"), i),
                                             QString::fromUtf8(kListCaptions[i]), g.x(), g.y(), g.width(), g.height());
        cmdMENU[static_cast<std::size_t>(i)] = b;
        onClick(b, [this, i] { cmdMENU_Click(i); });
    }
    cmdMENU[kMenuPrint]->setEnabled(false);
}

// Initialised once per showing, in the first Resize; a later resize rescales, columns included.
void ListForm::onResize()
{
    Form::onResize();
    if (!isFirstResize()) {
        scaleReportColumns(ListView1, columns_, scaleX());
        return;
    }
    UpdatesOff quiet(this);
    InitForm();
    refresh();
}

void ListForm::cmdMENU_Click(int index)
{
    static const int kModes[kMenuCount] = {0, kEditAdd, kEditModify, kEditView, kEditDelete, kEditAdd, 0};
    switch (index) {
    case kMenuClose:
        Unload();
        return;
    case kMenuAdd:
        if (ListView1)
            ListView1->setFocus();
        openInput(kEditAdd, -1);
        return;
    case kMenuModify:
    case kMenuView:
    case kMenuDelete:
    case kMenuCopy: {
        if (!ListView1)
            return;
        long row = -1;
        if (rowRule_ == RowRule::SelectedItem) {
            ListView1->setFocus();
            row = selectedRow();
            if (row < 0)
                return;
        } else {
            if (rowCount() == 0)
                return;
            ListView1->setFocus();
            // The list reports its first row as the selected one while none was chosen.
            row = selectedRow();
            if (row < 0)
                row = 0;
        }
        const int mode = kModes[index];
        if (!mayOpen(mode, row))
            return;
        openInput(mode, row);
        return;
    }
    default:
        return;
    }
}

void ListForm::openInput(int mode, long row)
{
    gEditMode = mode;
    gEditRow = row;
    inputWindow().showModal(this);
}

long ListForm::selectedRow() const
{
    if (!ListView1)
        return -1;
    const QList<QTreeWidgetItem *> items = ListView1->selectedItems();
    return items.isEmpty() ? -1 : ListView1->indexOfTopLevelItem(items.first());
}

void ListForm::selectRow(long row)
{
    if (!ListView1)
        return;
    if (row < 0 || row >= rowCount()) {
        ListView1->clearSelection();
        return;
    }
    QTreeWidgetItem *item = ListView1->topLevelItem(static_cast<int>(row));
    ListView1->setCurrentItem(item);
    item->setSelected(true);
    ListView1->scrollToItem(item);
}

long ListForm::rowCount() const
{
    return ListView1 ? ListView1->topLevelItemCount() : 0;
}

void ListForm::setColumns(const std::vector<ListColumn> &columns)
{
    columns_ = columns;
    setReportColumns(ListView1, columns_, scaleX());
}

QTreeWidgetItem *ListForm::addRow(const QStringList &cells)
{
    return addReportRow(ListView1, columns_, cells);
}

void ListForm::clearRows()
{
    if (ListView1)
        ListView1->clear();
}

// ---- input window -----------------------------------------------------------------------------

InputFormBase::InputFormBase(const QString &name, const QString &table) : Form(name), table_(table)
{
    whenLoadFails(AfterFailedLoad::Close);
}

QPushButton *InputFormBase::makeMenuButton(int index, const QString &caption, int leftTwips, int topTwips,
                                           int widthTwips, int heightTwips)
{
    const QRect g = px(leftTwips, topTwips, widthTwips, heightTwips);
    auto *b = makeCaptioned<QPushButton>(this, ctlName(QStringLiteral("cmdMENU"), index), caption, g.x(), g.y(),
                                         g.width(), g.height());
    cmdMENU[static_cast<std::size_t>(index)] = b;
    onClick(b, [this, index] { cmdMENU_Click(index); });
    return b;
}

// Initialised once per showing, in the first Resize; a later resize only rescales.
void InputFormBase::onResize()
{
    Form::onResize();
    if (!isFirstResize())
        return;
    ready_ = false;
    UpdatesOff quiet(this);
    InitForm();
    SetMode();
    ready_ = true;
}

bool InputFormBase::onUnload()
{
    if (!table_.isEmpty())
        ReleaseDataHolds(table_);
    return true;
}

void InputFormBase::cmdMENU_Click(int index)
{
    if (index == kMenuClose)
        Unload();
    else if (index == kMenuRegister)
        Register();
}

void InputFormBase::Register()
{
    if (!ready_)
        return;  // the record could not be prepared; that was reported
    if (!ChkData())
        return;
    if (!SaveData())
        return;
    followAndClose();
}

void InputFormBase::rowGone(bool reported)
{
    if (!reported)
        ShowMsg(QStringLiteral("該当データが存在しません。"), kMsgCritical);
    followAndClose();
}

// The list and the calendar follow, and the window closes even when they fail (a second
// register would write the row again).
void InputFormBase::followAndClose()
{
    const Trap form = trapFor(Event::Click, cmdMENU[kMenuRegister]);
    trapped(form, [this] { refreshList(); });
    trapped(form, [this] { redrawCalendar(); });
    Unload();
}

void InputFormBase::refreshList()
{
    if (auto *list = dynamic_cast<ListForm *>(parentWidget()); list && list->isLoaded())
        list->refresh();
}

void InputFormBase::redrawCalendar()
{
    dataChanged();
}

Trap InputFormBase::inputTrap(Event event, QWidget *control, std::initializer_list<Event> alsoStandard)
{
    for (Event e : alsoStandard) {
        if (e == event)
            return Trap::Standard;
    }
    switch (event) {
    case Event::Load:
    case Event::LostFocus:
    case Event::Click:
        return Trap::Standard;
    case Event::GotFocus:
    case Event::Validate:
        return ctlIndex(control, QStringLiteral("txtDATA")) >= 0 ? Trap::Standard : Trap::Plain;
    default:
        return Trap::Plain;
    }
}

void InputFormBase::applyCaptions(int mode)
{
    const auto set = [this](int i, const char *caption, bool visible) {
        QPushButton *b = cmdMENU[static_cast<std::size_t>(i)];
        if (!b)
            return;
        if (caption)
            b->setText(QString::fromUtf8(caption));
        b->setVisible(visible);
    };
    switch (mode) {
    case kEditAdd:
    case kEditModify:
        set(kMenuClose, "ｷｬﾝｾﾙ", true);
        set(kMenuRegister, "登録", true);
        set(kMenuComplete, "完了", true);
        break;
    case kEditView:
        set(kMenuClose, "閉じる", true);
        set(kMenuRegister, nullptr, false);
        set(kMenuComplete, nullptr, false);
        break;
    case kEditDelete:
        set(kMenuClose, "ｷｬﾝｾﾙ", true);
        set(kMenuRegister, "削除", true);
        set(kMenuComplete, nullptr, false);
        break;
    default:
        break;
    }
}

void InputFormBase::applyReadOnlyLook(int mode)
{
    const bool on = mode == kEditView || mode == kEditDelete;
    if (!comboLock_) {
        comboLock_ = new ComboLock(this, false);
        imeLock_ = new ComboLock(this, true);
    }
    auto *comboLock = static_cast<ComboLock *>(comboLock_);
    auto *imeLock = static_cast<ComboLock *>(imeLock_);
    const QColor windowColor = palette().color(QPalette::Window);
    for (QWidget *w : controls()) {
        if (keepsEditable(w))
            continue;
        const QString prefix = w->objectName().left(3);
        if (prefix == QLatin1String("txt") || prefix == QLatin1String("cmb"))
            lockBox(w, on, windowColor, comboLock, imeLock);
        else if (prefix == QLatin1String("Che") || prefix == QLatin1String("Opt") || prefix == QLatin1String("Lis"))
            disableControl(w, on);
    }
}

}  // namespace hb
