// The window base: scaling, window state, keys, Validate before Click, the event order, the
// window registry, and the harness that drives windows.

#include "common/harness.h"
#include "common/scriptedui.h"
#include "common/testinputcontext.h"
#include "core/appinit.h"
#include "core/db.h"
#include "core/formbase.h"
#include "core/forms.h"
#include "core/helpers.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QImage>
#include <QInputMethodQueryEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

using hbtest::settle;

namespace {

// A window whose hooks write what happened into a log, and whose behaviour tests set.
class TestForm : public hb::Form {
public:
    explicit TestForm(const QString &name = QStringLiteral("frmTest")) : Form(name)
    {
        setDesignSize(9600, 7200);  // 640 x 480 pixels
    }

    template <class T>
    T *add(const QString &name, int x, int y, int w, int h, QWidget *parent = nullptr, double points = 9)
    {
        auto *c = new T(parent ? parent : this);
        c->setObjectName(name);
        c->setGeometry(x, y, w, h);
        QFont f = c->font();
        f.setPointSizeF(points);
        c->setFont(f);
        return c;
    }
    QPushButton *button(const QString &name, int x, int y)
    {
        auto *b = add<QPushButton>(name, x, y, 90, 28);
        b->setText(name);
        onClick(b, [this, b] { log << QStringLiteral("Click ") + b->objectName(); if (clicked) clicked(b); });
        return b;
    }
    int count(const QString &entry) const { return static_cast<int>(log.count(entry)); }
    using Form::whenLoadFails;

    QStringList log;
    std::function<bool(QWidget *)> check;  // Validate; accepts when unset
    std::function<void(QPushButton *)> clicked;
    std::function<void()> resized;         // what the window does on Resize besides SetSize
    std::function<void(QWidget *, int &)> keys;
    bool allowUnload = true;

protected:
    void onLoad() override { log << "Load"; Form::onLoad(); }
    void onActivate() override { log << "Activate"; Form::onActivate(); }
    void onResize() override
    {
        log << (isFirstResize() ? "FirstResize" : "Resize");
        Form::onResize();
        if (resized)
            resized();
    }
    bool onUnload() override { log << "Unload"; return allowUnload; }
    bool validate(QWidget *c) override
    {
        log << QStringLiteral("Validate ") + c->objectName();
        return !check || check(c);
    }
    void gotFocus(QWidget *c) override { log << QStringLiteral("GotFocus ") + c->objectName(); }
    void lostFocus(QWidget *c) override { log << QStringLiteral("LostFocus ") + c->objectName(); }
    void keyPress(QWidget *c, int &key) override
    {
        if (keys)
            keys(c, key);
    }
};

class FormTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        forms_.clear();
        hb::destroyForms();
        settle();
    }
    TestForm *make(const QString &name = QStringLiteral("frmTest"))
    {
        forms_.push_back(std::make_unique<TestForm>(name));
        return forms_.back().get();
    }
    // Shows a window and waits until it is the active one.
    void open(TestForm *f)
    {
        f->showModeless();
        ASSERT_TRUE(hbtest::activate(f));
    }

    hbtest::ScopedScriptedUi ui_;
    std::vector<std::unique_ptr<TestForm>> forms_;
};

QRect twice(const QRect &r)
{
    return QRect(r.x() * 2, r.y() * 2, r.width() * 2, r.height() * 2);
}

// ---- scaling -------------------------------------------------------------------------------

using FormScaling = FormTest;

TEST_F(FormScaling, TwiceTheDesignSizeDoublesControlsFontsAndKeepsSkippedOnes)
{
    TestForm *f = make();
    auto *txt = f->add<QLineEdit>("txtDATA_0", 30, 40, 200, 24);
    auto *lbl = f->add<QLabel>("lblCAP_0", 30, 10, 100, 20);
    auto *fra = f->add<QGroupBox>("fraBox", 300, 40, 300, 200);
    auto *inner = f->add<QLineEdit>("txtIN_0", 10, 30, 120, 24, fra);
    auto *cmb = f->add<QComboBox>("cmbDATA_0", 30, 80, 200, 24);
    auto *mnu = f->add<QLabel>("mnuFile", 0, 0, 50, 20);
    auto *tim = f->add<QWidget>("TimTick", 600, 0, 10, 10);
    auto *img = f->add<QLabel>("imgLogo", 500, 300, 64, 64);
    auto *mnuUpper = f->add<QLabel>("MnuBig", 500, 400, 100, 30);
    const QList<QWidget *> scaled{txt, lbl, fra, inner, mnuUpper};
    const QList<QWidget *> kept{mnu, tim, img};
    std::map<QWidget *, QRect> design;
    for (QWidget *w : f->controls())
        design[w] = w->geometry();
    open(f);
    for (QWidget *w : scaled)  // the first layout, at the design size, is the design
        EXPECT_EQ(w->geometry(), design[w]) << w->objectName().toStdString();

    hbtest::resizeOuter(f, QSize(1280, 960));
    EXPECT_DOUBLE_EQ(f->scaleX(), 2.0);
    EXPECT_DOUBLE_EQ(f->scaleY(), 2.0);
    for (QWidget *w : scaled) {
        EXPECT_EQ(w->geometry(), twice(design[w])) << w->objectName().toStdString();
        EXPECT_EQ(w->font().pointSize(), 18) << w->objectName().toStdString();
    }
    for (QWidget *w : kept)
        EXPECT_EQ(w->geometry(), design[w]) << w->objectName().toStdString();
    // A combo box keeps its height where its font lets it; its text is never cut.
    const QRect d = design[cmb];
    EXPECT_EQ(cmb->geometry(), QRect(d.x() * 2, d.y() * 2, d.width() * 2, qMax(d.height(), cmb->sizeHint().height())));
    EXPECT_LT(cmb->height(), d.height() * 2);
    EXPECT_GE(cmb->height(), cmb->sizeHint().height());
    EXPECT_EQ(cmb->font().pointSize(), 18);

    // Back to the design size: every control is where it was (scaling starts from the design).
    hbtest::resizeOuter(f, QSize(640, 480));
    for (QWidget *w : f->controls())
        EXPECT_EQ(w->geometry(), design[w]) << w->objectName().toStdString();
    EXPECT_EQ(txt->font().pointSize(), 9);
}

TEST_F(FormScaling, FontSizesRoundHalvesToEven)
{
    struct Case { QSize outer; double points; int expected; };
    const Case cases[] = {
        {{320, 240}, 21, 10},  // 10.5
        {{320, 240}, 23, 12},  // 11.5
        {{960, 720}, 7, 10},   // 10.5
        {{960, 720}, 9, 14},   // 13.5
        {{960, 720}, 10, 15},
    };
    for (const Case &c : cases) {
        TestForm *f = make();
        auto *lbl = f->add<QLabel>("lblX", 10, 10, 100, 20, nullptr, c.points);
        open(f);
        hbtest::resizeOuter(f, c.outer);
        EXPECT_EQ(lbl->font().pointSize(), c.expected) << c.points << " pt at " << c.outer.width();
        f->Unload();
    }
}

TEST_F(FormScaling, WindowVariantsKeepHeightsAndFonts)
{
    TestForm *f = make("frmDairyInput");
    f->scaling().keepHeight << "Com";
    f->scaling().keepFont << "Sha";
    auto *work = f->add<QComboBox>("Combo1_0", 10, 10, 100, 24);
    auto *shape = f->add<QLabel>("Shape1_0", 10, 50, 100, 40);
    auto *box = f->add<QLineEdit>("txtDATA_0", 10, 100, 100, 24);
    TestForm *g = make("fdlMstFmrEdit");
    g->setSizable(true);  // resizable here so the test can enlarge it
    g->scaling().fonts = false;
    auto *plain = g->add<QLineEdit>("txtDATA_0", 10, 100, 100, 24);
    for (TestForm *w : {f, g}) {
        open(w);
        hbtest::resizeOuter(w, QSize(1280, 960));
    }
    EXPECT_EQ(work->geometry(), QRect(20, 20, 200, qMax(24, work->sizeHint().height())));
    EXPECT_EQ(shape->geometry(), QRect(20, 100, 200, 80));
    EXPECT_EQ(shape->font().pointSize(), 9);
    EXPECT_EQ(box->font().pointSize(), 18);
    EXPECT_EQ(plain->geometry(), QRect(20, 200, 200, 48));
    EXPECT_EQ(plain->font().pointSize(), 9);
}

TEST_F(FormScaling, ShowingAgainStartsFromTheDesign)
{
    TestForm *f = make();
    auto *txt = f->add<QLineEdit>("txtDATA_0", 30, 40, 200, 24);
    open(f);
    hbtest::resizeOuter(f, QSize(1280, 960));
    ASSERT_TRUE(f->Unload());
    open(f);  // the same object loaded again, still 1280 x 960
    EXPECT_EQ(f->count("Load"), 2);
    EXPECT_EQ(txt->geometry(), QRect(60, 80, 400, 48));
    EXPECT_EQ(txt->font().pointSize(), 18);
}

// ---- placement -----------------------------------------------------------------------------

// The whole frame, title bar included, opens inside the available area; a window on an owner is
// centred on the owner's frame, so windows nested on windows of their size never creep upward.
TEST(FormPlacement, FramesOpenInsideTheAvailableAreaCentredOnTheirOwner)
{
    const QMargins wm(1, 22, 1, 4);  // a title bar and thin borders
    const QRect wide(0, 0, 1366, 768), narrow(0, 0, 1024, 768), panel(0, 30, 1366, 738);
    struct Case { const char *what; QRect available; QSize client; QRect owner, frame; };
    const Case cases[] = {
        {"no owner: centred on the area", wide, QSize(818, 586), QRect(), QRect(273, 78, 820, 612)},
        {"same size as its owner at the top: on the owner, no higher", wide, QSize(818, 586), QRect(10, 0, 820, 612),
         QRect(10, 0, 820, 612)},
        {"taller than its owner at the top: moved down", wide, QSize(800, 700), QRect(10, 0, 820, 612),
         QRect(19, 0, 802, 726)},
        {"owner at the right bottom: moved in", narrow, QSize(600, 400), QRect(700, 500, 320, 260),
         QRect(422, 342, 602, 426)},
        {"below a panel", panel, QSize(600, 700), QRect(0, 0, 600, 200), QRect(0, 30, 602, 726)},
        {"larger than the area: at its top-left", narrow, QSize(1100, 800), QRect(100, 100, 400, 300),
         QRect(0, 0, 1102, 826)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(hb::Form::placeFrame(c.available, c.client, wm, c.owner), c.frame) << c.what;
}

// ---- window state --------------------------------------------------------------------------

// A program folder whose settings database holds WINDOW_STA (or not).
class SettingsDb {
public:
    explicit SettingsDb(const std::optional<QString> &windowSta)
    {
        QDir(dir_.path()).mkpath("bin");
        QDir(dir_.path()).mkpath("ini");
        hb::setAppPath(dir_.path() + "/bin");
        {
            auto db = hb::DirectDb::file(dir_.path() + "/ini/INFO.MDB", true);
            db->EXEC("CREATE TABLE S_CTRL (CTRL_CD VARCHAR(50) NOT NULL PRIMARY KEY, CTRL_VALUE VARCHAR(255), "
                     "CTRL_TYPE INTEGER)");
            if (windowSta)
                db->EXEC("INSERT INTO S_CTRL (CTRL_CD, CTRL_VALUE, CTRL_TYPE) VALUES ('WINDOW_STA', ?, 1)",
                         {hb::Value(*windowSta)});
        }
        hb::gINI = std::make_unique<hb::clsINI>();
        if (!hb::gINI->isOpen())
            hb::gINI->OpenCnn();
    }
    ~SettingsDb()
    {
        hb::gINI.reset();
        hb::setAppPath(QString());
    }
    void set(const QString &value) { hb::gINI->EXEC("UPDATE S_CTRL SET CTRL_VALUE=? WHERE CTRL_CD='WINDOW_STA'", {hb::Value(value)}); }

private:
    QTemporaryDir dir_;
};

using FormWindowState = FormTest;

TEST_F(FormWindowState, WindowStaOpensMaximisedOrNormal)
{
    struct Case { std::optional<QString> value; bool maximised; };
    const Case cases[] = {{QString("True"), true}, {QString("-1"), true}, {QString("False"), false},
                          {QString("0"), false}, {std::nullopt, false}};
    for (const Case &c : cases) {
        SettingsDb settings(c.value);
        ASSERT_TRUE(hb::gINI->isOpen());
        TestForm *f = make();
        open(f);
        EXPECT_EQ(f->isMaximized(), c.maximised) << c.value.value_or("(missing)").toStdString();
        f->Unload();
    }
    TestForm *f = make();  // no settings database at all
    open(f);
    EXPECT_FALSE(f->isMaximized());
}

TEST_F(FormWindowState, MaximisedByHandReturnsToNormalComingBackFromAChildNotFromItsMessageBox)
{
    SettingsDb settings(QString("False"));
    TestForm *f = make();
    f->add<QLineEdit>("txtDATA_0", 30, 40, 200, 24);
    open(f);
    f->showMaximized();
    settle();
    ASSERT_TRUE(f->isMaximized());
    const int activations = f->count("Activate");

    {
        QMessageBox box(QMessageBox::Warning, "HarvestBook", "確認", QMessageBox::Ok, f);
        box.show();
        ASSERT_TRUE(hbtest::activate(&box));
        box.close();
        ASSERT_TRUE(hbtest::activate(f));
    }
    QApplication::setActiveWindow(nullptr);  // another program, and back
    settle();
    ASSERT_TRUE(hbtest::activate(f));
    EXPECT_EQ(f->count("Activate"), activations);
    EXPECT_EQ(f->count("GotFocus txtDATA_0"), 1);
    EXPECT_TRUE(f->isMaximized());

    TestForm *child = make("frmChild");
    hbtest::onModal(ui_.get(), "frmChild", nullptr);
    child->showModal(f);
    settle();
    EXPECT_EQ(f->count("Activate"), activations + 1);
    EXPECT_FALSE(f->isMaximized());

    // The setting turned on meanwhile: the next activation maximises.
    settings.set("True");
    child->showModal(f);
    settle();
    EXPECT_TRUE(f->isMaximized());
}

TEST_F(FormWindowState, DialogsHaveAFixedBorderButStillMaximise)
{
    TestForm *dlg = make("fdlSetLocalCtrl");
    TestForm *preview = make("fdlPreview");
    preview->setSizable(true);
    open(dlg);
    open(preview);
    EXPECT_FALSE(dlg->isSizable());
    EXPECT_EQ(dlg->minimumSize(), dlg->maximumSize());
    EXPECT_FALSE(dlg->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_NE(preview->minimumSize(), preview->maximumSize());
    EXPECT_TRUE(preview->windowFlags() & Qt::WindowMaximizeButtonHint);
    dlg->Unload();

    SettingsDb settings(QString("True"));
    auto *txt = dlg->add<QLineEdit>("txtDATA_0", 30, 40, 200, 24);
    open(dlg);
    EXPECT_TRUE(dlg->isMaximized());
    EXPECT_GT(txt->width(), 200);  // scaled to the screen
}

// ---- events, keys and focus ----------------------------------------------------------------

using FormEvents = FormTest;

TEST_F(FormEvents, ShowingRunsLoadFirstResizeActivateThenTheFirstGotFocus)
{
    TestForm *f = make();
    f->add<QLineEdit>("txtDATA_0", 30, 40, 200, 24);
    open(f);
    EXPECT_EQ(f->log, QStringList({"Load", "FirstResize", "Activate", "GotFocus txtDATA_0"}));
    f->log.clear();
    hbtest::resizeOuter(f, QSize(700, 500));
    EXPECT_EQ(f->log, QStringList({"Resize"}));
}

TEST_F(FormEvents, EnterMovesToTheNextControlWithoutLineBreakOrDefaultButton)
{
    TestForm *f = make();
    auto *first = f->add<QLineEdit>("txtDATA_0", 30, 40, 200, 24);
    auto *check = f->add<QCheckBox>("Check1", 30, 70, 200, 24);
    auto *memo = f->add<QPlainTextEdit>("txtDATA_1", 30, 100, 200, 80);
    QPushButton *save = f->button("cmdMENU_1", 30, 300);
    QPushButton *close = f->button("cmdMENU_0", 200, 300);
    open(f);
    first->setFocus();
    settle();

    hbtest::typeText(first, "緑丘");
    hbtest::pressKey(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), check);
    hbtest::pressKey(Qt::Key_Enter);
    EXPECT_EQ(QApplication::focusWidget(), memo);
    hbtest::typeText(memo, "メモ");
    hbtest::pressKey(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), save);
    EXPECT_EQ(memo->toPlainText(), "メモ");
    EXPECT_EQ(first->text(), "緑丘");
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(f->count("Click cmdMENU_1"), 0);

    // A focused button clicks on Enter; Escape closes nothing without a cancel button.
    hbtest::pressKey(Qt::Key_Return);
    EXPECT_EQ(f->count("Click cmdMENU_1"), 1);
    hbtest::pressKey(Qt::Key_Escape);
    EXPECT_TRUE(f->isVisible());
    f->setCancelButton(close);
    hbtest::pressKey(Qt::Key_Escape);
    EXPECT_EQ(f->count("Click cmdMENU_0"), 1);
}

TEST_F(FormEvents, EnterLevelsAndDroppedKeys)
{
    TestForm *f = make();
    auto *list = f->add<QListView>("List1_0", 30, 40, 200, 80);
    auto *box = f->add<QLineEdit>("txtDATA_0", 30, 130, 200, 24);
    auto *next = f->add<QLineEdit>("txtDATA_1", 30, 160, 200, 24);
    open(f);
    list->setFocus();
    settle();
    hbtest::pressKey(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), box);

    f->setEnterLevel(hb::Form::EnterLevel::DropOnly);
    hbtest::pressKey(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), box);
    EXPECT_TRUE(f->isVisible());
    f->setEnterLevel(hb::Form::EnterLevel::Window);
    hbtest::pressKey(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), next);

    // A window's KeyPress drops a key by setting it to 0, Enter included.
    f->keys = [](QWidget *, int &key) {
        if (key == '-' || key == 13)
            key = 0;
    };
    QTest::keyClicks(next, "1-2");
    hbtest::pressKey(Qt::Key_Return);
    EXPECT_EQ(next->text(), "12");
    EXPECT_EQ(QApplication::focusWidget(), next);
}

TEST_F(FormEvents, RefusedValidateKeepsTheFocusAndDropsTheClick)
{
    TestForm *f = make();
    auto *box = f->add<QLineEdit>("txtDATA_0", 30, 40, 200, 24);
    auto *other = f->add<QLineEdit>("txtDATA_1", 30, 80, 200, 24);
    QPushButton *save = f->button("cmdMENU_1", 30, 300);
    QWidget *focusDuringCheck = nullptr;
    f->check = [&](QWidget *c) {
        focusDuringCheck = QApplication::focusWidget();
        if (c != box || box->text() != "12a")
            return true;
        hb::ShowMsg("生産者ｺｰﾄﾞには数値を指定してください。", hb::kMsgExclamation);
        box->selectAll();
        return false;
    };
    open(f);
    box->setFocus();
    settle();
    hbtest::typeText(box, "12a");
    f->log.clear();

    hbtest::click(save);
    EXPECT_EQ(focusDuringCheck, box);  // the check runs before the button takes the focus
    EXPECT_EQ(QApplication::focusWidget(), box);
    EXPECT_EQ(f->log, QStringList({"Validate txtDATA_0"}));
    ASSERT_EQ(ui_->prompts.size(), 1u);
    EXPECT_EQ(ui_->prompts[0].text, "生産者ｺｰﾄﾞには数値を指定してください。");
    EXPECT_EQ(box->selectedText(), "12a");

    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Return, Qt::Key_Backtab}) {
        hbtest::pressKey(key);
        EXPECT_EQ(QApplication::focusWidget(), box) << key;
    }
    QTest::mouseClick(save, Qt::LeftButton);  // a press delivered to the button itself
    settle();
    EXPECT_EQ(QApplication::focusWidget(), box);
    other->setFocus();  // moved by code: the focus comes back
    settle();
    EXPECT_EQ(QApplication::focusWidget(), box);
    EXPECT_EQ(f->count("Click cmdMENU_1"), 0);
    EXPECT_EQ(f->count("GotFocus txtDATA_1"), 0);

    box->setText("12");
    f->log.clear();
    hbtest::click(save);
    EXPECT_EQ(f->log, QStringList({"Validate txtDATA_0", "LostFocus txtDATA_0", "GotFocus cmdMENU_1",
                                   "Click cmdMENU_1"}));
    EXPECT_EQ(QApplication::focusWidget(), save);
}

TEST_F(FormEvents, AMessageBoxInsideValidateDoesNotValidateAgain)
{
    TestForm *f = make();
    auto *box = f->add<QLineEdit>("txtDATA_0", 30, 40, 200, 24);
    QPushButton *save = f->button("cmdMENU_1", 30, 300);
    f->check = [&](QWidget *) {
        // A real box: the focus goes to it and comes back while the check runs.
        QMessageBox msg(QMessageBox::Warning, "HarvestBook", "数値を入力してください。", QMessageBox::Ok, f);
        QTimer::singleShot(50, &msg, [&msg] { msg.accept(); });
        msg.exec();
        return false;
    };
    open(f);
    box->setFocus();
    settle();
    f->log.clear();
    hbtest::click(save);
    hbtest::activate(f);
    EXPECT_EQ(f->log, QStringList({"Validate txtDATA_0"}));
    EXPECT_EQ(QApplication::focusWidget(), box);
}

TEST_F(FormEvents, AfterARefusalWhoseReleaseTheMessageBoxTookTheNextClickCounts)
{
    // The refusal's message box is up when the mouse button is let go: the release never
    // reaches the window. Once the box is mended, the next click on the button is a click.
    TestForm *f = make();
    auto *box = f->add<QLineEdit>("txtDATA_0", 30, 40, 200, 24);
    QPushButton *close = f->button("cmdMENU_0", 30, 300);
    f->check = [&](QWidget *c) { return c != box || box->text() != "abc"; };
    open(f);
    box->setFocus();
    settle();
    hbtest::typeText(box, "abc");
    QWindow *window = f->windowHandle();
    ASSERT_NE(window, nullptr);
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, close->mapTo(f, close->rect().center()));
    settle();
    EXPECT_EQ(QApplication::focusWidget(), box);
    EXPECT_EQ(f->count("Click cmdMENU_0"), 0);

    box->setText("0.1");
    f->log.clear();
    hbtest::click(close);
    EXPECT_EQ(f->count("Click cmdMENU_0"), 1);
    EXPECT_EQ(QApplication::focusWidget(), close);
}

TEST_F(FormEvents, AFailingValidateIsReportedAndLetsTheFocusGo)
{
    TestForm *f = make();
    auto *box = f->add<QLineEdit>("txtDATA_0", 30, 40, 200, 24);
    auto *next = f->add<QLineEdit>("txtDATA_1", 30, 80, 200, 24);
    f->check = [](QWidget *) -> bool { throw hb::HbError(13, "型が一致しません。"); };
    open(f);
    box->setFocus();
    settle();
    hbtest::pressKey(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next);
    ASSERT_EQ(ui_->prompts.size(), 1u);
    EXPECT_EQ(ui_->prompts[0].text, "型が一致しません。");
    EXPECT_EQ(ui_->prompts[0].style, hb::kMsgExclamation);
}

// A planting window's boxes: a date box that selects its text on focus, a text box, a combo box
// whose list opens on focus and one whose list does not, an editable box whose list opens on
// focus, a note and a number of days. Each test starts from the window just opened.
class FormDropDown : public FormTest {
protected:
    void SetUp() override
    {
        f = make("frmPlantInput");
        date = f->add<QLineEdit>("txtDATA_0", 30, 40, 200, 24);
        plain = f->add<QLineEdit>("txtDATA_1", 30, 80, 200, 24);
        kind = f->add<QComboBox>("cmbDATA_0", 30, 120, 200, 24);
        unit = f->add<QComboBox>("cmbDATA_1", 30, 160, 200, 24);
        crop = f->add<QComboBox>("cmbDATA_2", 30, 200, 200, 24);
        note = f->add<QLineEdit>("txtDATA_2", 30, 240, 200, 24);
        days = f->add<QSpinBox>("txtDATA_3", 30, 280, 100, 24);
        kind->addItems({"", "露地", "施設"});
        unit->addItems({"", "kg"});
        crop->setEditable(true);
        crop->setCompleter(nullptr);  // as the windows' boxes
        crop->addItems({"いちご", "トマト", "ミニトマト", "なす"});
        crop->setCurrentIndex(3);
        days->setValue(5);
        f->setSelectAllOnFocus(date);
        f->setDropDownOnFocus(kind);
        f->setDropDownOnFocus(crop);
        f->keys = [](QWidget *, int &key) { key = key == 'q' ? 0 : key; };
        date->setText("2024/05/01");
        plain->setText("abc");
        open(f);
    }
    // Tab from the box before it into the editable box; true when its list opened.
    bool tabIntoCrop()
    {
        unit->setFocus();
        settle();
        hbtest::strike(Qt::Key_Tab);
        return crop->view()->isVisible();
    }

    hbtest::TestInputContext &im = hbtest::TestInputContext::instance();
    TestForm *f = nullptr;
    QLineEdit *date = nullptr, *plain = nullptr, *note = nullptr;
    QComboBox *kind = nullptr, *unit = nullptr, *crop = nullptr;
    QSpinBox *days = nullptr;
};

TEST_F(FormDropDown, AClickSelectsTheWholeTextOnlyWhereTheWindowAsks)
{
    hbtest::focusByClick(plain);
    EXPECT_EQ(plain->selectedText(), "");
    hbtest::focusByClick(date);
    EXPECT_EQ(date->selectedText(), "2024/05/01");
}

TEST_F(FormDropDown, AListOpensOnceWhenItsBoxGetsTheFocusOnlyWhereTheWindowAsks)
{
    plain->setFocus();
    settle();
    hbtest::strike(Qt::Key_Tab);
    ASSERT_EQ(f->log.last(), "GotFocus cmbDATA_0");
    EXPECT_TRUE(kind->view()->isVisible());
    kind->hidePopup();  // the focus comes back from the list: it must not open again
    settle();
    EXPECT_EQ(QApplication::focusWidget(), kind);
    EXPECT_FALSE(kind->view()->isVisible());
    EXPECT_EQ(f->count("GotFocus cmbDATA_0"), 1);

    unit->setFocus();
    settle();
    EXPECT_FALSE(unit->view()->isVisible());
}

// An editable box whose list opened takes what is typed as with the list closed: input-method
// text, and keys as the window system delivers them to the open list, through the window's
// KeyPress; the list marks the first item that begins with the text, Down chooses, Enter closes
// the list and moves on through Validate with the text typed, Esc closes it keeping the text.
TEST_F(FormDropDown, AnOpenListsTypingGoesIntoItsBoxAndEnterKeepsWhatWasTyped)
{
    QString validated;
    f->check = [&](QWidget *c) {
        if (c == crop)
            validated = crop->currentText();
        return true;
    };
    ASSERT_TRUE(tabIntoCrop());
    hbtest::typeText(QApplication::focusWidget(), "ト");  // where the input method sends it
    EXPECT_EQ(crop->currentText(), "ト") << "the first key replaces the text selected on focus";
    EXPECT_EQ(crop->view()->currentIndex().row(), 1);
    f->log.clear();
    hbtest::strike(Qt::Key_Return);
    EXPECT_FALSE(crop->view()->isVisible());
    EXPECT_EQ(f->log.value(0), "Validate cmbDATA_2");
    EXPECT_EQ(validated, "ト") << "the marked item is not taken";
    EXPECT_EQ(crop->currentText(), "ト");
    EXPECT_EQ(QApplication::focusWidget(), note);
}

TEST_F(FormDropDown, DownChoosesInAnOpenListAndKeysGoThroughTheWindowsKeyPress)
{
    ASSERT_TRUE(tabIntoCrop());
    hbtest::typeText(QApplication::focusWidget(), "ト");
    hbtest::strike(Qt::Key_Down);
    hbtest::strike("xq");
    EXPECT_EQ(crop->currentText(), "ミニトマトx");
    EXPECT_FALSE(crop->view()->currentIndex().isValid());
    f->log.clear();
    hbtest::strike(Qt::Key_Return);
    EXPECT_FALSE(crop->view()->isVisible());
    EXPECT_EQ(f->log.value(0), "Validate cmbDATA_2");
    EXPECT_EQ(crop->currentText(), "ミニトマトx");
    EXPECT_EQ(QApplication::focusWidget(), note);
}

TEST_F(FormDropDown, EscClosesAnOpenListKeepingTheTypedText)
{
    ASSERT_TRUE(tabIntoCrop());
    hbtest::strike("ab");
    hbtest::strike(Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget(), crop);
    EXPECT_FALSE(crop->view()->isVisible());
    EXPECT_EQ(crop->currentText(), "ab");
}

// The input method is asked of the focused box: off where the box switched it off, on in a text
// box and in the open list of an editable box, whose composition shows in the box.
TEST_F(FormDropDown, TheInputMethodIsAskedOfTheFocusedBoxAndComposesInTheOpenListsBox)
{
    date->setAttribute(Qt::WA_InputMethodEnabled, false);
    for (const auto &[box, on] : {std::pair<QWidget *, bool>{date, false}, {plain, true}, {crop, true}}) {
        box->setFocus();
        settle();
        QInputMethodQueryEvent query(Qt::ImEnabled);
        QCoreApplication::sendEvent(qApp->focusObject(), &query);
        EXPECT_EQ(query.value(Qt::ImEnabled).toBool(), on) << box->objectName().toStdString();
    }
    ASSERT_TRUE(crop->view()->isVisible());
    const QRect caret = qApp->inputMethod()->cursorRectangle().toRect();
    EXPECT_TRUE(QRect(crop->mapToGlobal(QPoint(0, 0)), crop->size())
                    .contains(QApplication::focusWindow()->mapToGlobal(caret.center())));
}

// A word the input method commits in the open list goes in once, also when no item begins with
// it; an emptied text marks no item, and Enter leaves the box empty.
TEST_F(FormDropDown, ACommittedWordGoesIntoAnOpenListsBoxOnceAndAnEmptiedTextStaysEmpty)
{
    ASSERT_TRUE(tabIntoCrop());
    hbtest::strike("a", Qt::ControlModifier);
    im.commitWord("ト");
    im.compose("だいこん");
    im.compose("大根");
    im.commitWord("大根");
    EXPECT_EQ(crop->currentText(), "ト大根");
    EXPECT_FALSE(crop->view()->currentIndex().isValid());
    hbtest::strike("\b\b\b");
    EXPECT_FALSE(crop->view()->currentIndex().isValid()) << "the empty text begins every item";
    hbtest::strike(Qt::Key_Return);
    EXPECT_EQ(crop->currentText(), "");
    EXPECT_NE(QApplication::focusWidget(), crop);
}

// A composition the grower cancels never reaches the box: not at Enter, not at a focus change.
TEST_F(FormDropDown, ACancelledCompositionNeverReachesTheBox)
{
    hbtest::focusByClick(plain);
    im.compose("たね");
    im.cancel();
    hbtest::strike(Qt::Key_Return);
    EXPECT_EQ(plain->text(), "abc");
}

// A box whose input method is off takes digits as typed with the grower's mode on.
TEST_F(FormDropDown, ABoxWhoseInputMethodIsOffTakesDigitsAsTyped)
{
    date->setAttribute(Qt::WA_InputMethodEnabled, false);
    hbtest::focusByClick(plain);
    hbtest::focusByClick(date);
    hbtest::typeWithInputMethodOn("5");
    EXPECT_EQ(date->text(), "5");
}

// A composition still shown when a click moves the focus goes into the box being left, once; the
// same word converted again in the box clicked goes in, at once or later.
TEST_F(FormDropDown, ACompositionShownAtAClickGoesIntoTheBoxLeftOnce)
{
    date->setAttribute(Qt::WA_InputMethodEnabled, false);
    hbtest::focusByClick(plain);
    im.compose("たね");
    hbtest::focusByClick(date);
    EXPECT_EQ(plain->text(), "abcたね");
    EXPECT_EQ(date->text(), "2024/05/01");

    hbtest::focusByClick(plain);
    im.compose("たね");
    hbtest::focusByClick(note);
    EXPECT_EQ(plain->text(), "abcたねたね");
    EXPECT_EQ(note->text(), "");
    QTest::qWait(200);
    im.commitWord("たね");
    EXPECT_EQ(note->text(), "たね") << "committed again 0.2 s later";
    im.compose("たね");
    im.commitWord("たね");
    EXPECT_EQ(note->text(), "たねたね") << "converted again at once";
}

// A click held as a hand holds it, into a box whose list its focus opens: the list opens while
// the button is down, and stays open when it comes up beside the list.
TEST_F(FormDropDown, AListOpenedByAHeldClickStaysOpenWhenTheButtonComesUp)
{
    const QPoint onCrop = crop->mapTo(f, crop->rect().center());
    QTest::mousePress(f->windowHandle(), Qt::LeftButton, Qt::NoModifier, onCrop);
    settle();
    ASSERT_TRUE(crop->view()->isVisible());
    const QRect list = QApplication::activePopupWidget()->geometry();
    const QPoint up = list.contains(f->mapToGlobal(onCrop)) ? f->mapFromGlobal(list.topLeft()) - QPoint(2, 2) : onCrop;
    QTest::mouseRelease(f->windowHandle(), Qt::LeftButton, Qt::NoModifier, up);
    settle();
    EXPECT_TRUE(crop->view()->isVisible());
}

// In a list without an editable text, Enter and Tab take the marked item, close the list and move
// on, in one press.
TEST_F(FormDropDown, EnterAndTabInAPlainListTakeTheMarkedItemAndMoveOn)
{
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Tab}) {
        hbtest::focusByClick(plain);
        hbtest::strike(Qt::Key_Tab);
        ASSERT_TRUE(kind->view()->isVisible());
        const int marked = (kind->currentIndex() + 1) % kind->count();
        hbtest::strike(Qt::Key_Down);
        hbtest::strike(key);
        EXPECT_EQ(kind->currentIndex(), marked);
        EXPECT_FALSE(kind->view()->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), unit) << key;
    }
}

// The wheel changes only the box that has the focus, as Up and Down do; over another box (a
// number box too) it changes neither the box nor the focus.
TEST_F(FormDropDown, TheWheelChangesOnlyTheFocusedBox)
{
    unit->setFocus();
    settle();
    kind->setCurrentIndex(2);
    hbtest::turnWheel(kind, -1);
    EXPECT_EQ(kind->currentIndex(), 2);
    EXPECT_EQ(QApplication::focusWidget(), unit);
    hbtest::turnWheel(days, 1);
    EXPECT_EQ(days->value(), 5);
    EXPECT_EQ(QApplication::focusWidget(), unit);
    hbtest::turnWheel(unit, 1);
    EXPECT_EQ(unit->currentIndex(), 1);
}

TEST_F(FormEvents, ResizingKeepsInputAndAWindowMayRedraw)
{
    TestForm *f = make("frmDairyInput");
    f->whenLoadFails(hb::Form::AfterFailedLoad::StayToBeRead);
    auto *note = f->add<QLineEdit>("txtDATA_2", 30, 40, 200, 24);
    QTemporaryDir dir;
    auto db = hb::DirectDb::file(dir.filePath("t.db"), true);
    bool readFails = false;
    int loads = 0;
    int redraws = 0;
    f->resized = [&] {
        if (f->log.last() == "FirstResize") {
            ++loads;  // the day is loaded at the first display only
            if (readFails)
                db->EXEC("SELECT A FROM T");  // no such table
        }
        ++redraws;
    };
    open(f);
    hbtest::typeText(note, "雨のち晴れ");
    for (const QSize s : {QSize(900, 700), QSize(640, 480)})
        hbtest::resizeOuter(f, s);
    f->showMaximized();
    settle();
    EXPECT_EQ(note->text(), "雨のち晴れ");
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(redraws, 4);

    // Its load failed, a window that stays to be read still redraws and runs its Activate.
    ASSERT_TRUE(f->Unload());
    readFails = true;
    open(f);
    ASSERT_TRUE(f->loadFailed());
    f->log.clear();
    hbtest::resizeOuter(f, QSize(900, 700));
    open(make("frmDairyCal"));
    open(f);
    EXPECT_EQ(f->log, QStringList({"Resize", "Activate"}));
}

// ---- lifecycle and registry ----------------------------------------------------------------

struct frmRegA : TestForm {
    frmRegA() : TestForm("frmRegA") {}
};
struct frmRegB : TestForm {
    frmRegB() : TestForm("frmRegB") {}
};

using FormRegistry = FormTest;

TEST_F(FormRegistry, EachWindowOnceLoadedAgainAfterUnload)
{
    frmRegA &a = hb::form<frmRegA>();
    EXPECT_EQ(&hb::form<frmRegA>(), &a);
    EXPECT_FALSE(hb::IsFormLoaded("frmRegA"));
    a.showModeless();
    settle();
    EXPECT_TRUE(hb::IsFormLoaded("frmRegA"));
    EXPECT_FALSE(hb::IsFormLoaded("frmrega"));
    EXPECT_EQ(a.count("Load"), 1);

    ASSERT_TRUE(a.Unload());
    EXPECT_FALSE(hb::IsFormLoaded("frmRegA"));
    QPointer<frmRegA> old(&a);
    frmRegA &fresh = hb::form<frmRegA>();
    EXPECT_NE(&fresh, old.data());
    fresh.showModeless();
    settle();
    EXPECT_EQ(fresh.count("Load"), 1);
    EXPECT_TRUE(old.isNull());  // the unloaded one is gone once control was back in the loop

    // The close box runs Unload, which may refuse; EndApp unloads every window.
    frmRegB &b = hb::form<frmRegB>();
    b.showModeless();
    settle();
    b.allowUnload = false;
    b.close();
    EXPECT_TRUE(b.isVisible());
    EXPECT_TRUE(hb::IsFormLoaded("frmRegB"));
    b.allowUnload = true;
    hb::unloadAll();
    EXPECT_TRUE(hb::loadedForms().isEmpty());
    EXPECT_FALSE(b.isVisible());
    EXPECT_EQ(b.count("Unload"), 2);
}

TEST_F(FormRegistry, ModalWithAndWithoutOwner)
{
    TestForm *owner = make("fmnMain");
    open(owner);
    TestForm *dlg = make("fdlSetConCtrl");
    QWidget *parentDuring = nullptr;
    bool modalDuring = false;
    QRect frameDuring;
    hbtest::onModal(ui_.get(), "fdlSetConCtrl", [&](QDialog *d) {
        parentDuring = d->parentWidget();
        modalDuring = d->isModal();
        frameDuring = d->frameGeometry();
    });
    owner->move(40, 0);
    settle();
    dlg->showModal(owner);
    EXPECT_EQ(frameDuring.center(), owner->frameGeometry().center()) << "on its owner's frame";
    EXPECT_EQ(parentDuring, owner);
    EXPECT_TRUE(modalDuring);
    EXPECT_EQ(dlg->parentWidget(), nullptr);
    EXPECT_FALSE(dlg->isLoaded());
    EXPECT_EQ(dlg->log, QStringList({"Load", "FirstResize", "Activate", "Unload"}));

    dlg->showModal();
    EXPECT_EQ(parentDuring, nullptr);
    EXPECT_EQ(dlg->count("Load"), 2);
    EXPECT_EQ(ui_->modalShown, QStringList({"fdlSetConCtrl", "fdlSetConCtrl"}));
}

// ---- the harness ---------------------------------------------------------------------------

struct fdlChild : TestForm {
    fdlChild() : TestForm("fdlChild")
    {
        box = add<QLineEdit>("txtDATA_0", 30, 40, 200, 24);
        button("cmdMENU_1", 30, 300);
        clicked = [this](QPushButton *b) {
            if (b->objectName() == "cmdMENU_1") {
                stored = box->text();
                Unload();
            }
        };
    }
    QLineEdit *box;
    static inline QString stored;
};

using Harness = FormTest;

TEST_F(Harness, AnswersQuestionsAndRecordsEveryPrompt)
{
    TestForm *f = make("fmnMain");
    QPushButton *b = f->button("cmdMENU_1", 30, 300);
    int answer = 0;
    f->clicked = [&](QPushButton *) { answer = hb::ShowMsg("ﾃﾞｰﾀﾍﾞｰｽが不正ですので設定してください。", 20); };
    open(f);
    ui_->answers.push_back(hb::kAnsYes);
    hbtest::click(b);
    EXPECT_EQ(answer, hb::kAnsYes);
    hbtest::click(b);
    EXPECT_EQ(answer, hb::kAnsNo);  // unscripted Yes/No questions get No
    ASSERT_EQ(ui_->prompts.size(), 2u);
    EXPECT_EQ(ui_->prompts[0].text, "ﾃﾞｰﾀﾍﾞｰｽが不正ですので設定してください。");
    EXPECT_EQ(ui_->prompts[0].style, 20);
    EXPECT_EQ(ui_->prompts[0].title, hb::kProgramTitle);
}

TEST_F(Harness, DrivesAModalDialogOpenedInsideAButtonHandler)
{
    TestForm *f = make("fmnMain");
    f->add<QLineEdit>("txtDATA_0", 30, 40, 200, 24);
    QPushButton *b = f->button("cmdMENU_3", 30, 300);
    f->clicked = [&](QPushButton *) {
        hb::form<fdlChild>().showModal(f);
        f->log << "after " + fdlChild::stored;
    };
    hbtest::onModal(ui_.get(), "fdlChild", [](QDialog *d) {
        auto *box = hbtest::child<QLineEdit>(d, "txtDATA_0");
        hbtest::focusByClick(box);
        hbtest::typeText(box, "緑丘");
        hbtest::click(hbtest::child(d, "cmdMENU_1"));
    });
    open(f);
    f->log.clear();
    hbtest::click(b);
    EXPECT_EQ(fdlChild::stored, "緑丘");
    EXPECT_FALSE(hb::IsFormLoaded("fdlChild"));
    EXPECT_EQ(f->log, QStringList({"Validate txtDATA_0", "LostFocus txtDATA_0", "GotFocus cmdMENU_3",
                                   "Click cmdMENU_3", "after 緑丘", "Activate"}));
    EXPECT_EQ(QApplication::activeWindow(), f);
}

// A window whose own event writes rows (inserts, updates or deletes them) without having said
// what it does after a failed load is named; the window that showed it is not.
TEST_F(Harness, AWindowThatWritesWithoutSayingIsNamed)
{
    QTemporaryDir dir;
    auto db = hb::DirectDb::file(dir.filePath("t.db"), true);
    db->EXEC("CREATE TABLE T (A INTEGER)");
    TestForm *owner = make("frmOwner");
    QPushButton *show = owner->button("cmdMENU_1", 30, 300);
    open(owner);
    const struct {
        const char *window, *sql;
    } writers[] = {
        {"fdlWriter", "INSERT INTO T VALUES (1)"},
        {"fdlUpdater", "UPDATE T SET A = 2"},
        {"fdlDeleter", "DELETE FROM T"},
    };
    for (const auto &w : writers) {
        TestForm *writer = make(w.window);
        QPushButton *save = writer->button("cmdMENU_1", 30, 300);
        owner->clicked = [owner, writer](QPushButton *) { writer->showModal(owner); };
        writer->clicked = [&db, sql = w.sql](QPushButton *) { db->EXEC(sql); };
        hbtest::onModal(ui_.get(), w.window, [save](QDialog *) { hbtest::click(save); });
        hbtest::click(show);
    }
    EXPECT_EQ(hb::Form::takeUnsaidWriters(), QStringList({"fdlWriter", "fdlUpdater", "fdlDeleter"}));
}

TEST_F(Harness, ProgramEndPassesThroughAClickHandler)
{
    TestForm *f = make("fdlSetLocalCtrl");
    QPushButton *cancel = f->button("Command1_0", 30, 300);
    f->clicked = [](QPushButton *) { hb::ui().endProgram(0); };
    open(f);
    EXPECT_THROW(hbtest::click(cancel), hb::ProgramEnded);
    EXPECT_EQ(ui_->endCodes, std::vector<int>{0});
}

TEST_F(Harness, JapaneseLabelsRenderWithTheCjkFont)
{
    ASSERT_TRUE(QFontDatabase::families().contains(hb::kUiFontFamily));
    TestForm *f = make("fdlSetLocalCtrl");
    f->setWindowTitle("基本設定");
    auto *title = f->add<QLabel>("lblTITLE", 20, 10, 300, 40, nullptr, 16);
    title->setText("基本設定");
    auto *label = f->add<QLabel>("Label1_0", 20, 70, 300, 24);
    label->setText("既定生産者ｺｰﾄﾞ　ﾊﾞｯｸｱｯﾌﾟﾌｫﾙﾀﾞ");
    auto *check = f->add<QCheckBox>("Check1", 20, 110, 300, 24);
    check->setText("常に最大化する");
    f->button("cmdMENU_1", 20, 400)->setText("登録");
    f->button("cmdMENU_0", 140, 400)->setText("ｷｬﾝｾﾙ");
    auto *memo = f->add<QLineEdit>("txtDATA_2", 20, 150, 300, 30);
    memo->setText("芽が出た🌱🍅");
    open(f);

    EXPECT_EQ(QFontInfo(label->font()).family(), hb::kUiFontFamily);
    const QFontMetrics metrics(label->font());
    for (const QChar ch : label->text() + title->text() + check->text())
        EXPECT_TRUE(metrics.inFont(ch)) << QString(ch).toStdString();

    const QString path = QDir::tempPath() + "/hb_formbase_japanese.png";
    ASSERT_TRUE(hbtest::savePicture(f, path));
    const QImage picture(path);
    ASSERT_FALSE(picture.isNull());
    int dark = 0;
    const QRect text = title->geometry();
    for (int y = text.top(); y <= text.bottom(); ++y) {
        for (int x = text.left(); x <= text.right(); ++x)
            dark += qGray(picture.pixel(x, y)) < 100;
    }
    EXPECT_GT(dark, 100);  // the title's glyphs are drawn
    // Emoji show as themselves, in colour, not as empty boxes.
    EXPECT_GT(hbtest::colourfulPixels(picture, memo->geometry()), 40);
}

}  // namespace
