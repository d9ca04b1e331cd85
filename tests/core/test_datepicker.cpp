// The date-picker drop-down: placement, date, tag, hiding, a picked day, typing help.

#include "common/harness.h"
#include "common/scriptedui.h"
#include "core/datepicker.h"
#include "core/formbase.h"
#include "core/helpers.h"
#include "core/forms.h"
#include "onewindow.h"

#include <QCalendarWidget>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QInputMethodQueryEvent>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

using hbtest::settle;

namespace {

// A voucher-list-like window: txtCOND 0..3, boxes 1 and 2 open the picker, box 3 sits in a frame.
class frmPickTest : public hb::Form {
public:
    frmPickTest() : Form(QStringLiteral("frmPickTest"))
    {
        setDesignSize(9600, 7200);
        Frame1 = new QGroupBox(QStringLiteral("期間"), this);
        Frame1->setObjectName(QStringLiteral("Frame1"));
        Frame1->setGeometry(300, 20, 300, 120);
        const int xs[4] = {20, 200, 20, 40};
        for (int i = 0; i < 4; ++i) {
            auto *e = new QLineEdit(i == 3 ? static_cast<QWidget *>(Frame1) : this);
            e->setObjectName(ctlName(QStringLiteral("txtCOND"), i));
            e->setGeometry(xs[i], i == 2 ? 60 : 30, 146, 30);  // 2190 twips
            txtCOND[static_cast<std::size_t>(i)] = e;
        }
        cmdFIND = new QPushButton(QStringLiteral("検索"), this);
        cmdFIND->setObjectName(QStringLiteral("cmdFIND"));
        cmdFIND->setGeometry(20, 400, 100, 30);
        other = new QPushButton(QStringLiteral("他"), this);
        other->setObjectName(QStringLiteral("cmdOTHER"));
        other->setGeometry(140, 400, 100, 30);
        setTabOrder(txtCOND[0], txtCOND[1]);
        setTabOrder(txtCOND[1], txtCOND[2]);
        setTabOrder(txtCOND[2], txtCOND[3]);
        setTabOrder(txtCOND[3], cmdFIND);
        setTabOrder(cmdFIND, other);
        picker = new hb::DatePicker(*this);
        picker->addBox(1, txtCOND[1]);
        picker->addBox(2, txtCOND[2]);
        picker->addBox(3, txtCOND[3]);
        picker->hideOn({QStringLiteral("txtCOND"), QStringLiteral("cmdFIND")});
    }
    std::array<QLineEdit *, 4> txtCOND{};
    QGroupBox *Frame1 = nullptr;
    QPushButton *cmdFIND = nullptr;
    QPushButton *other = nullptr;
    hb::DatePicker *picker = nullptr;
    QStringList validated;
    bool allowOpen = true;

protected:
    void gotFocus(QWidget *c) override { picker->gotFocus(c); }
    bool validate(QWidget *c) override
    {
        validated << c->objectName();
        return true;
    }
};

class DatePickerTest : public lt::OneWindowTest<frmPickTest> {
protected:
    void focus(QWidget *w)
    {
        w->setFocus(Qt::OtherFocusReason);
        settle();
    }
    QCalendarWidget *cal() { return f->picker->MonthView1(); }
};

TEST_F(DatePickerTest, HangsBelowTheBoxRightEdgesFlushWithTheFramesOffset)
{
    EXPECT_FALSE(cal()->isVisible());
    EXPECT_GE(cal()->width(), cal()->minimumSizeHint().width()) << "the whole month shows";
    for (int i : {1, 2, 3}) {
        QLineEdit *box = f->txtCOND[static_cast<std::size_t>(i)];
        focus(box);
        EXPECT_TRUE(cal()->isVisible()) << i;
        // Directly below the box, right edges flush; the frame's offset added for box 3.
        const QPoint offset = i == 3 ? f->Frame1->pos() : QPoint();
        // Moved right just enough where it would pass the window's left edge.
        EXPECT_EQ(cal()->x(), std::max(0, offset.x() + box->x() + box->width() - cal()->width())) << i;
        EXPECT_EQ(cal()->y(), offset.y() + box->y() + box->height()) << i;
        EXPECT_EQ(f->picker->tag(), QString::number(i));
    }
    // Wider than the box, it reaches further left than the box's left edge.
    EXPECT_LT(cal()->x(), f->Frame1->x() + f->txtCOND[3]->x());
}

TEST_F(DatePickerTest, ShowsTheBoxDateOrTodayAndRefusesTextThatIsNoDate)
{
    f->txtCOND[2]->setText(QStringLiteral("2008/12/01"));
    focus(f->txtCOND[1]);
    EXPECT_EQ(cal()->selectedDate(), QDate::currentDate());
    focus(f->txtCOND[2]);  // from one picker box to the next: moved and retargeted
    EXPECT_EQ(cal()->selectedDate(), QDate(2008, 12, 1));
    EXPECT_EQ(cal()->monthShown(), 12);
    EXPECT_EQ(f->picker->tag(), QStringLiteral("2"));

    // Not a date: the date message, once; the picker moved but still serves box 2, with its
    // date; the box keeps its text.
    f->txtCOND[3]->setText(QStringLiteral("2008/13/45"));
    focus(f->txtCOND[3]);
    ASSERT_EQ(ui->prompts.size(), 1u);
    EXPECT_EQ(ui->prompts[0].text, QStringLiteral("日付を指定してください。"));
    EXPECT_EQ(f->txtCOND[3]->text(), QStringLiteral("2008/13/45"));
    EXPECT_EQ(ui->prompts[0].style, hb::kMsgExclamation);
    EXPECT_EQ(ui->prompts[0].title, hb::kProgramTitle);
    EXPECT_TRUE(cal()->isVisible());
    EXPECT_EQ(f->picker->tag(), QStringLiteral("2"));
    EXPECT_EQ(cal()->selectedDate(), QDate(2008, 12, 1));
    EXPECT_EQ(cal()->geometry().right(), f->Frame1->x() + f->txtCOND[3]->geometry().right());

    // Hidden, it stays hidden.
    focus(f->txtCOND[0]);
    EXPECT_FALSE(cal()->isVisible());
    focus(f->txtCOND[3]);
    EXPECT_FALSE(cal()->isVisible());
    EXPECT_EQ(ui->prompts.size(), 2u);
    EXPECT_EQ(f->picker->tag(), QStringLiteral("2"));
}

// Where hanging under the box would cut it, it moves right just enough or opens above the box;
// it never covers its box, and after a resize it hangs under its box again.
TEST_F(DatePickerTest, StaysWholeInsideItsWindowAndNeverCoversItsBox)
{
    const auto boxRect = [this](QLineEdit *box) { return QRect(box->mapTo(f, QPoint(0, 0)), box->size()); };
    struct Case {
        const char *what;
        QPoint at;  // where box 1 is put
        bool right, above;
    };
    const int h = cal()->height();
    const Case cases[] = {
        {"room enough", QPoint(300, 30), false, false},
        {"at the left edge", QPoint(2, 30), true, false},
        {"at the bottom", QPoint(300, f->height() - 40), false, true},
        {"bottom left corner", QPoint(0, f->height() - 32), true, true},
        {"more room above than below", QPoint(300, h / 2 + 60), false, false},
    };
    for (const Case &c : cases) {
        QLineEdit *box = f->txtCOND[1];
        box->move(c.at);
        focus(f->txtCOND[0]);
        focus(box);
        ASSERT_TRUE(cal()->isVisible()) << c.what;
        const QRect b = boxRect(box);
        const QRect g = cal()->geometry();
        EXPECT_TRUE(f->rect().contains(g) || g.height() > f->height() - b.bottom() - 1) << c.what;
        EXPECT_FALSE(g.intersects(b)) << c.what;
        EXPECT_EQ(g.x(), c.right ? 0 : b.right() - g.width() + 1) << c.what;
        EXPECT_EQ(g.y(), c.above ? b.y() - g.height() : b.bottom() + 1) << c.what;
    }

    // A resize moves the boxes with the window's scale; the open picker follows its box.
    f->txtCOND[1]->move(200, 30);
    f->SetDefSize();
    focus(f->txtCOND[1]);
    hbtest::resizeOuter(f, QSize(780, 700));
    settle();
    ASSERT_TRUE(cal()->isVisible());
    const QRect b = boxRect(f->txtCOND[1]);
    EXPECT_EQ(cal()->geometry().right(), b.right());
    EXPECT_EQ(cal()->y(), b.bottom() + 1);
    EXPECT_TRUE(f->rect().contains(cal()->geometry()));
}

TEST_F(DatePickerTest, NamedControlsHideItOthersAndTheConditionLeaveIt)
{
    focus(f->txtCOND[1]);
    focus(f->other);
    EXPECT_TRUE(cal()->isVisible()) << "a control not named leaves the picker";
    focus(f->cmdFIND);
    EXPECT_FALSE(cal()->isVisible());

    bool open = false;
    f->picker->setCondition([&open] { return open; });
    focus(f->txtCOND[1]);
    EXPECT_FALSE(cal()->isVisible()) << "view and delete: the date box does not open it";
    open = true;
    focus(f->txtCOND[2]);
    EXPECT_TRUE(cal()->isVisible());
    open = false;
    focus(f->txtCOND[1]);
    EXPECT_TRUE(cal()->isVisible()) << "nor does it hide it";
}

TEST_F(DatePickerTest, AClickedDayGoesIntoTheBoxAndTheFocusMovesOn)
{
    focus(f->txtCOND[1]);
    f->txtCOND[1]->setText(QStringLiteral("2008/"));  // half typed
    f->validated.clear();
    cal()->setCurrentPage(2008, 2);
    // A real click on the cell of 2008-02-29.
    auto *view = cal()->findChild<QTableView *>(QStringLiteral("qt_calendar_calendarview"));
    ASSERT_NE(view, nullptr);
    // A click on the row of weekday names picks nothing and leaves the focus in the box.
    QTest::mouseClick(f->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      view->mapTo(f, view->visualRect(view->model()->index(0, 3)).center()));
    settle();
    EXPECT_EQ(QApplication::focusWidget(), f->txtCOND[1]);
    EXPECT_EQ(f->txtCOND[1]->text(), QStringLiteral("2008/"));
    QModelIndex cell;
    for (int r = 0; r < view->model()->rowCount() && !cell.isValid(); ++r)
        for (int c = 0; c < view->model()->columnCount(); ++c) {
            const QModelIndex i = view->model()->index(r, c);
            if (r > 2 && i.data().toString() == QStringLiteral("29")) {
                cell = i;
                break;
            }
        }
    ASSERT_TRUE(cell.isValid());
    const QPoint at = view->visualRect(cell).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    settle();
    EXPECT_EQ(f->txtCOND[1]->text(), QStringLiteral("2008/02/29"));
    EXPECT_EQ(f->validated.value(0), QStringLiteral("txtCOND_1")) << "the box is validated once, on the Tab";
    // The next control is picker box 2: the picker opens again under it, on today.
    EXPECT_EQ(QApplication::focusWidget(), f->txtCOND[2]);
    EXPECT_TRUE(cal()->isVisible());
    EXPECT_EQ(f->picker->tag(), QStringLiteral("2"));

    f->picker->DateClick(QDate(2024, 5, 6));
    settle();
    EXPECT_EQ(f->txtCOND[2]->text(), QStringLiteral("2024/05/06"));
    EXPECT_EQ(QApplication::focusWidget(), f->txtCOND[3]);
    hbtest::savePicture(f, QStringLiteral("/tmp/listinput_datepicker.png"));

    // The year box of the picker's title bar tells the input method it is off.
    focus(f->txtCOND[1]);
    hbtest::click(cal()->findChild<QWidget *>(QStringLiteral("qt_calendar_yearbutton")));
    ASSERT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("qt_calendar_yearedit"));
    QInputMethodQueryEvent query(Qt::ImEnabled);
    QCoreApplication::sendEvent(qApp->focusObject(), &query);
    EXPECT_FALSE(query.value(Qt::ImEnabled).toBool());
}

// The picker's year box takes the focus while it is open. A click on another box closes it and
// gives that box the focus; Esc or a click on no control, the picker included, gives the focus
// back to the box the picker serves. Either way what is typed next goes into a box.
TEST_F(DatePickerTest, LeavingTheYearBoxLeavesTheFocusInABox)
{
    struct Case {
        const char *what;
        QPoint at;  // where the click goes; none: Esc
        QLineEdit *focused;
        bool shown;
    };
    const auto middle = [this](QWidget *w) { return w->mapTo(f, w->rect().center()); };
    const Case cases[] = {
        {"another box", middle(f->txtCOND[0]), f->txtCOND[0], false},
        {"another date box", middle(f->txtCOND[3]), f->txtCOND[3], true},
        {"the picker's days", middle(f->txtCOND[2]), f->txtCOND[1], true},  // box 2 lies under it
        {"no control", QPoint(600, 300), f->txtCOND[1], true},
        {"Esc", QPoint(), f->txtCOND[1], true},
    };
    for (const Case &c : cases) {
        f->txtCOND[0]->clear();
        for (int i : {1, 2, 3})
            f->txtCOND[static_cast<std::size_t>(i)]->setText(QStringLiteral("2008/01/02"));
        f->validated.clear();
        hbtest::click(f->txtCOND[1]);
        hbtest::click(cal()->findChild<QWidget *>(QStringLiteral("qt_calendar_yearbutton")));
        ASSERT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("qt_calendar_yearedit")) << c.what;
        if (c.at.isNull()) {
            hbtest::strike(Qt::Key_Escape);
        } else {
            QTest::mouseClick(f->windowHandle(), Qt::LeftButton, Qt::NoModifier, c.at);
            settle();
        }
        EXPECT_EQ(QApplication::focusWidget(), c.focused) << c.what;
        EXPECT_EQ(cal()->isVisible(), c.shown) << c.what;
        EXPECT_EQ(f->txtCOND[1]->text(), QStringLiteral("2008/01/02")) << c.what << ": no day picked";
        EXPECT_EQ(f->validated.count(QStringLiteral("txtCOND_1")), 1) << c.what << ": the box left, once";
        hbtest::strike("7");
        EXPECT_EQ(c.focused->text(), QStringLiteral("7")) << c.what;
    }
}

// The help puts "/" after the year (and after "yyyy/mm"); a "/" typed right there is swallowed.
TEST_F(DatePickerTest, TypingGetsTheSlashesOnce)
{
    QLineEdit month(f);  // a year-month box with its own help
    QObject::connect(&month, &QLineEdit::textChanged, &month, [&month] { hb::SetYMSlash(&month); });
    struct Case {
        QLineEdit *box;
        const char *typed;
        const char *shown;
    };
    const Case cases[] = {
        {f->txtCOND[1], "20081201", "2008/12/01"},
        {f->txtCOND[1], "2026/09/01", "2026/09/01"},
        {f->txtCOND[1], "2026//", "2026//"},  // only the slash right after the help's is swallowed
        {f->txtCOND[1], "2008/2/3", "2008/2/3"},  // the help appends only after a digit
        {f->txtCOND[1], "2008/2/13", "2008/2/13"},
        {f->txtCOND[1], "2008/02/03", "2008/02/03"},
        {f->txtCOND[1], "20080203", "2008/02/03"},
        {&month, "202609", "2026/09"},
        {&month, "2026/09", "2026/09"},
    };
    for (const Case &c : cases) {
        c.box->setFocus();
        c.box->clear();
        QTest::keyClicks(c.box, QString::fromUtf8(c.typed));
        EXPECT_EQ(c.box->text(), QString::fromUtf8(c.shown)) << c.typed;
    }
}

}  // namespace
