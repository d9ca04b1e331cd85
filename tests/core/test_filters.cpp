// The filter boxes of the lists (refused before any statement, the focus back in the box with
// its picker shut) and the "contains" filters on both kinds of database.

#include "common/backends.h"
#include "common/harness.h"
#include "common/scriptedui.h"
#include "core/datepicker.h"
#include "core/filters.h"
#include "core/formbase.h"
#include "onewindow.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using hb::Value;
using hbtest::settle;

namespace {

// A list-like window: a year box, a date box with its picker, and a search button.
class frmFilterTest : public hb::Form {
public:
    frmFilterTest() : Form(QStringLiteral("frmFilterTest"))
    {
        setDesignSize(9600, 7200);
        for (int i = 0; i < 2; ++i) {
            auto *e = new QLineEdit(this);
            e->setObjectName(ctlName(QStringLiteral("txtCOND"), i));
            e->setGeometry(20 + i * 200, 30, 146, 30);
            txtCOND[static_cast<std::size_t>(i)] = e;
        }
        cmdFIND = new QPushButton(QStringLiteral("検索"), this);
        cmdFIND->setObjectName(QStringLiteral("cmdFIND"));
        cmdFIND->setGeometry(20, 400, 100, 30);
        picker = new hb::DatePicker(*this);
        picker->addBox(1, txtCOND[1]);
        picker->hideOn({QStringLiteral("txtCOND_0"), QStringLiteral("cmdFIND")});
    }
    std::array<QLineEdit *, 2> txtCOND{};
    QPushButton *cmdFIND = nullptr;
    hb::DatePicker *picker = nullptr;

protected:
    void gotFocus(QWidget *c) override { picker->gotFocus(c); }
};

using FilterBoxes = lt::OneWindowTest<frmFilterTest>;

TEST_F(FilterBoxes, AYearIsAWholeNumberOrNothing)
{
    struct Case {
        const char *text;
        bool ok;
        std::optional<long> year;
    };
    const Case cases[] = {
        {"", true, std::nullopt}, {"2008", true, 2008},  {" 2008 ", true, 2008}, {"2008.0", true, 2008},
        {"20a1", false, {}},      {"2008.5", false, {}}, {" ", false, {}},       {"-1", true, -1},
    };
    for (const Case &c : cases) {
        ui->prompts.clear();
        f->cmdFIND->setFocus();
        settle();
        f->txtCOND[0]->setText(QString::fromUtf8(c.text));
        std::optional<long> year = 7;
        EXPECT_EQ(hb::filterYear(f->txtCOND[0], &year), c.ok) << c.text;
        EXPECT_EQ(year, c.year) << c.text;
        if (c.ok) {
            EXPECT_TRUE(ui->prompts.empty()) << c.text;
            continue;
        }
        ASSERT_EQ(ui->prompts.size(), 1U) << c.text;
        EXPECT_EQ(ui->prompts[0].text, "数値を指定してください。");
        EXPECT_EQ(ui->prompts[0].style, hb::kMsgExclamation);
        EXPECT_EQ(ui->prompts[0].title, hb::kProgramTitle);
        EXPECT_EQ(QApplication::focusWidget(), f->txtCOND[0]) << c.text;
        EXPECT_EQ(f->txtCOND[0]->text(), QString::fromUtf8(c.text)) << "the box keeps its text";
    }
}

TEST_F(FilterBoxes, ADateIsADateOrNothingAndARefusalLeavesThePickerShut)
{
    struct Case {
        const char *text;
        bool ok;
        std::optional<QDate> date;
    };
    const Case cases[] = {
        {"", true, std::nullopt},
        {"2008/02/29", true, QDate(2008, 2, 29)},
        {"2008-2-9", true, QDate(2008, 2, 9)},
        {"2008/02/30", false, {}},
        {"abc", false, {}},
        {"2008/02", false, {}},
    };
    for (const Case &c : cases) {
        ui->prompts.clear();
        f->cmdFIND->setFocus();
        settle();
        f->txtCOND[1]->setText(QString::fromUtf8(c.text));
        std::optional<QDate> date = QDate(2000, 1, 1);
        EXPECT_EQ(hb::filterDate(f->txtCOND[1], &date), c.ok) << c.text;
        EXPECT_EQ(date, c.date) << c.text;
        settle();
        if (c.ok) {
            EXPECT_TRUE(ui->prompts.empty()) << c.text;
            continue;
        }
        // One message: the box takes the focus without its picker, which would report again.
        ASSERT_EQ(ui->prompts.size(), 1U) << c.text;
        EXPECT_EQ(ui->prompts[0].text, "日付を指定してください。");
        EXPECT_EQ(ui->prompts[0].style, hb::kMsgExclamation);
        EXPECT_EQ(QApplication::focusWidget(), f->txtCOND[1]) << c.text;
        EXPECT_FALSE(f->picker->isShown()) << c.text;
        EXPECT_EQ(f->txtCOND[1]->selectedText(), f->txtCOND[1]->text()) << c.text;
    }
    // The box opens its picker again the next time the focus comes to it.
    f->txtCOND[1]->setText("2008/02/29");
    f->cmdFIND->setFocus();
    f->txtCOND[1]->setFocus();
    settle();
    EXPECT_TRUE(f->picker->isShown());
}

// ---- "contains" filters on both kinds of database ---------------------------------------------

class ContainsFilter : public hbtest::BothBackends {
protected:
    void SetUp() override
    {
        BothBackends::SetUp();
        if (IsSkipped())
            return;
        db().EXEC("CREATE TABLE T_LIKE (ID INTEGER NOT NULL, NM VARCHAR(50), PRIMARY KEY (ID))");
        const char *const names[] = {"A\\B", "AB",   "O'Hara", "#1",    "a*b",   "100%",
                                     "1000", "x_y", "xzy",    "wow!", "wow!!x", "A\\\\B"};
        int id = 1;
        for (const char *n : names)
            db().EXEC("INSERT INTO T_LIKE (ID, NM) VALUES (?, ?)", {Value(id++), Value(QString::fromUtf8(n))});
    }
    QList<int> find(const QString &typed)
    {
        QList<int> out;
        auto rs = db().GetFwdOnlyRst(QStringLiteral("SELECT ID FROM T_LIKE WHERE NM") + hb::likeContains() +
                                         QStringLiteral(" ORDER BY ID"),
                                     {hb::likeContainsPattern(typed)});
        for (; !rs->eof(); rs->MoveNext())
            out << rs->Fields(0).toInt();
        return out;
    }
};

HB_INSTANTIATE_BOTH_BACKENDS(ContainsFilter);

TEST_P(ContainsFilter, WildcardsStayOtherCharactersMatchThemselvesInEitherBackslashMode)
{
    struct Case {
        const char *typed;
        QList<int> ids;
    };
    const Case cases[] = {
        {"A\\B", {1}},       // a backslash is itself, not an escape
        {"\\", {1, 12}},
        {"A\\\\B", {12}},
        {"'", {3}},          // a quote
        {"#", {4}},
        {"*", {5}},          // not a wildcard
        {"10%0", {6, 7}},    // "%" stays a wildcard
        {"x_y", {8, 9}},     // "_" too
        {"!", {10, 11}},     // the escape character itself
        {"!!", {11}},
        {"", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
    };
    EXPECT_EQ(hb::likeContains(), " LIKE ? ESCAPE '!'");
    // The server reads a backslash inside quotes by its session mode; the filter must not care.
    const bool server = GetParam() == hbtest::Backend::MariaDb;
    const QStringList modes = server ? QStringList{"REPLACE(@@SESSION.sql_mode, 'NO_BACKSLASH_ESCAPES', '')",
                                                   "CONCAT(@@SESSION.sql_mode, ',NO_BACKSLASH_ESCAPES')"}
                                     : QStringList{QString()};
    for (const QString &mode : modes) {
        if (!mode.isEmpty())
            db().EXEC(QStringLiteral("SET SESSION sql_mode=") + mode);
        for (const Case &c : cases)
            EXPECT_EQ(find(QString::fromUtf8(c.typed)), c.ids) << c.typed << " " << mode.toStdString();
    }
}

}  // namespace
