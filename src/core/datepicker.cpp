#include "core/datepicker.h"

#include "core/formbase.h"
#include "core/helpers.h"
#include "core/value.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QTextCharFormat>
#include <QTimer>
#include <QToolButton>
#include <vector>

namespace hb {

namespace {

constexpr int kPickerWidthTwips = 2385;
constexpr int kPickerHeightTwips = 2220;
constexpr float kTwips = 15.0F;  // per pixel

const QString kDateForm = QStringLiteral("yyyy/MM/dd");

// True when the control is the named one or an element of the named array.
bool matchesName(const QString &objectName, const QString &name)
{
    return objectName == name || (objectName.startsWith(name) && objectName.size() > name.size()
                                  && objectName.at(name.size()) == QLatin1Char('_'));
}

}  // namespace

DatePicker::DatePicker(Form &window, int leftTwips, int topTwips) : QObject(&window), window_(window)
{
    calendar_ = new QCalendarWidget(&window);
    calendar_->setObjectName(QStringLiteral("MonthView1"));
    calendar_->setGeometry(qRound(leftTwips / kTwips), qRound(topTwips / kTwips), qRound(kPickerWidthTwips / kTwips),
                           qRound(kPickerHeightTwips / kTwips));
    calendar_->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar_->setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
    calendar_->setFirstDayOfWeek(Qt::Sunday);
    calendar_->setAutoFillBackground(true);
    QTextCharFormat sunday;
    sunday.setForeground(Qt::red);
    calendar_->setWeekdayTextFormat(Qt::Sunday, sunday);
    QTextCharFormat saturday;
    saturday.setForeground(Qt::blue);
    calendar_->setWeekdayTextFormat(Qt::Saturday, saturday);
    // The picker never takes the focus from the box it serves (the year box of its title bar
    // aside, which must take typing).
    calendar_->setFocusPolicy(Qt::NoFocus);
    for (QWidget *w : calendar_->findChildren<QWidget *>()) {
        if (w->objectName() != QLatin1String("qt_calendar_yearedit")) {
            w->setFocusPolicy(Qt::NoFocus);
        } else {
            w->setAttribute(Qt::WA_InputMethodEnabled, false);  // a year: digits as typed
            w->installEventFilter(this);
            yearBox_ = w;
        }
    }
    // The design size is too small for the month at the window's font: never smaller than the
    // month needs (the right edge still lines up with the box).
    calendar_->setMinimumSize(calendar_->minimumSizeHint());
    calendar_->resize(calendar_->size().expandedTo(calendar_->minimumSizeHint()));
    calendar_->hide();
    calendar_->raise();
    connect(calendar_, &QCalendarWidget::clicked, this, [this](QDate day) { DateClick(day); });
    calendar_->installEventFilter(this);
    window.installEventFilter(this);
}

// The window's scaling moves the picker with the other controls: once a resize is over, an open
// picker goes back under the box it serves. Esc closes an open picker and does nothing more
// (a cancel button takes the next Esc).
bool DatePicker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &window_ && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape && calendar_->isVisible()) {
        hide();
        event->accept();
        return true;
    }
    if (watched == &window_ && event->type() == QEvent::Resize) {
        QTimer::singleShot(0, this, [this] {
            if (QLineEdit *box = servedBox(); box && calendar_->isVisible())
                place(box);
        });
    }
    // The year box has the focus while it is open. It closes by hiding itself (Esc, a resize),
    // which would pass the focus on to the window's next control; the focus goes back to the box
    // served instead.
    if (watched == yearBox_) {
        if (event->type() == QEvent::FocusIn)
            qApp->installEventFilter(this);  // ahead of the calendar's own filter of presses
        else if (event->type() == QEvent::FocusOut)
            qApp->removeEventFilter(this);
        else if (event->type() == QEvent::Hide && QApplication::focusWidget() == yearBox_)
            giveFocusBack();
        return false;
    }
    // A press beside the open year box that gave no control the focus (the calendar, the bare
    // window) closes the year box, keeping its year, as the calendar's own filter does; but
    // that filter then gives the focus to the calendar, which takes no typing. The focus goes
    // back to the box served.
    auto *pressed = event->type() == QEvent::MouseButtonPress ? qobject_cast<QWidget *>(watched) : nullptr;
    if (pressed && yearBox_ && QApplication::focusWidget() == yearBox_ && pressed->window() == &window_
        && !yearBox_->isAncestorOf(pressed) && giveFocusBack())
        return true;
    // A press no part of the calendar took (the weekday names, the title bar beside its buttons)
    // reaches the calendar, which would take the focus: it does nothing.
    if (watched == calendar_
        && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)) {
        event->accept();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

bool DatePicker::giveFocusBack()
{
    QLineEdit *box = servedBox();
    if (!box || !window_.isVisible() || !box->isVisible() || !box->isEnabled())
        return false;
    focusWithoutPicker(box);
    return true;
}

QLineEdit *DatePicker::servedBox() const
{
    bool ok = false;
    const int index = tag_.toInt(&ok);
    const auto it = ok ? boxes_.find(index) : boxes_.end();
    return it != boxes_.end() ? it->second.data() : nullptr;
}

void DatePicker::addBox(int index, QLineEdit *box)
{
    boxes_[index] = box;
    window_.setSelectAllOnFocus(box);
    connect(box, &QLineEdit::textChanged, this, [box] { SetDateSlash(box); });
}

bool DatePicker::isShown() const
{
    return calendar_->isVisible();
}

void DatePicker::hide()
{
    calendar_->hide();
}

bool DatePicker::isDateBox(QWidget *control, int *index) const
{
    for (const auto &[i, box] : boxes_) {
        if (box && box == control) {
            *index = i;
            return true;
        }
    }
    return false;
}

bool DatePicker::hides(const QWidget *control) const
{
    for (const QString &name : hideOn_) {
        if (matchesName(control->objectName(), name))
            return true;
    }
    return false;
}

// Directly below the box, right edges flush. It stays whole inside the window: where it would
// pass the window's left edge (the month drawn in the window's font is wider than the box) it
// moves right just enough, and where it would pass the bottom it opens above the box. It never
// covers its box.
void DatePicker::place(QLineEdit *box)
{
    const QRect at(box->mapTo(&window_, QPoint(0, 0)), box->size());
    // A window scaled up gives the month a larger font: it gets the room its days need.
    calendar_->resize(calendar_->size().expandedTo(calendar_->minimumSizeHint()));
    const QSize size = calendar_->size();
    const QRect area = window_.rect();
    int left = qMin(at.right() + 1 - size.width(), area.width() - size.width());
    left = qMax(left, 0);
    const int below = at.bottom() + 1;
    const int above = at.top() - size.height();
    int top = below;
    if (below + size.height() > area.height() && (above >= 0 || at.top() > area.height() - below))
        top = above;  // no room below: above the box, or where more of it shows
    calendar_->move(left, top);
}

void DatePicker::focusWithoutPicker(QWidget *box)
{
    std::vector<DatePicker *> pickers;
    for (QObject *child : box->window()->children()) {
        if (auto *p = dynamic_cast<DatePicker *>(child))
            pickers.push_back(p);
    }
    for (DatePicker *p : pickers)
        p->quiet_ = true;
    box->setFocus(Qt::OtherFocusReason);
    for (DatePicker *p : pickers)
        p->quiet_ = false;
}

void DatePicker::gotFocus(QWidget *control)
{
    if (!control || control == calendar_ || quiet_)
        return;
    int index = -1;
    if (!isDateBox(control, &index)) {
        if (hides(control))
            hide();
        return;
    }
    if (condition_ && !condition_())
        return;
    auto *box = static_cast<QLineEdit *>(control);
    place(box);
    QDate date = QDate::currentDate();
    const QString text = box->text();
    if (!text.isEmpty()) {
        QDateTime dt;
        if (!parseDateText(text, &dt)) {
            // The picker keeps its date, tag and visibility; the box keeps its text.
            ShowMsg(QStringLiteral("日付を指定してください。"), kMsgExclamation);
            return;
        }
        date = dt.date();
    }
    calendar_->setSelectedDate(date);
    calendar_->setCurrentPage(date.year(), date.month());
    tag_ = QString::number(index);
    calendar_->show();
}

void DatePicker::DateClick(const QDate &day)
{
    trapped(Trap::Plain, [this, &day] {
        QLineEdit *box = servedBox();
        if (!box)
            throw HbError(kErrSubscript, QStringLiteral("インデックスが有効範囲にありません。"));
        box->setText(day.toString(kDateForm));
        box->setFocus(Qt::OtherFocusReason);
        hide();
        window_.sendTab();
    });
}

}  // namespace hb
