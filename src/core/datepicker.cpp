#include "core/datepicker.h"

#include "core/formbase.h"
#include "core/helpers.h"
#include "core/value.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QLocale>
#include <QTextCharFormat>
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
        if (w->objectName() != QLatin1String("qt_calendar_yearedit"))
            w->setFocusPolicy(Qt::NoFocus);
    }
    // The design size is too small for the month at the window's font: never smaller than the
    // month needs (the right edge still lines up with the box).
    calendar_->setMinimumSize(calendar_->minimumSizeHint());
    calendar_->resize(calendar_->size().expandedTo(calendar_->minimumSizeHint()));
    calendar_->hide();
    calendar_->raise();
    connect(calendar_, &QCalendarWidget::clicked, this, [this](QDate day) { DateClick(day); });
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

// Directly below the box, right edges flush; a box inside a container gets the container's
// offset (one level). The picker may extend past the window's edge.
void DatePicker::place(QLineEdit *box)
{
    QWidget *container = box->parentWidget();
    float left = static_cast<float>(box->x()) + static_cast<float>(box->width()) - static_cast<float>(calendar_->width());
    float top = static_cast<float>(box->y()) + static_cast<float>(box->height());
    if (container && container != &window_) {
        left += static_cast<float>(container->x());
        top += static_cast<float>(container->y());
    }
    calendar_->move(qRound(left), qRound(top));
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
        if (!parseDateText(text, &dt))
            throw HbError(kErrTypeMismatch, QStringLiteral("型が一致しません。"));
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
        bool ok = false;
        const int index = tag_.toInt(&ok);
        const auto it = ok ? boxes_.find(index) : boxes_.end();
        if (it == boxes_.end() || !it->second)
            throw HbError(9, QStringLiteral("インデックスが有効範囲にありません。"));
        QLineEdit *box = it->second;
        box->setText(day.toString(kDateForm));
        box->setFocus(Qt::OtherFocusReason);
        hide();
        window_.sendTab();
    });
}

}  // namespace hb
