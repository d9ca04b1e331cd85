// The trial-balance, production-history and upload dialogs: defaults, the planting box on both
// kinds of database, print, upload and cancel.

#include "common/backends.h"
#include "common/harness.h"
#include "common/programdir.h"
#include "common/scriptedui.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/globals.h"
#include "core/startup.h"
#include "printing/fdlprintaccrep.h"
#include "printing/fdlprinttracerep.h"
#include "printing/fdluploadtracedata.h"

#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>

using hb::Value;

namespace {

class ReportDialogs : public hbtest::BothBackends {
protected:
    void SetUp() override
    {
        BothBackends::SetUp();
        if (IsSkipped())
            return;
        dir.createAndOpen();
        if (GetParam() == hbtest::Backend::MariaDb)
            dir.useServer(fresh().serverParams().dsn, fresh().serverParams().database);
        hb::gRepId = 0;
        hb::gPageCount = 0;
    }
    void TearDown() override
    {
        hb::destroyForms();
        hbtest::settle();
        hbtest::ProgramDir::releaseGlobals();
        BothBackends::TearDown();
    }

    template <class T>
    T &open()
    {
        T &f = hb::form<T>();
        f.showModeless();
        EXPECT_TRUE(hbtest::activate(&f));
        return f;
    }
    static void plant(long fmr, long id, const Value &name, int year)
    {
        hb::gDb->EXEC("INSERT INTO D_PLANT (FMR_ID, PLANT_ID, PLANT_NM, YYYY) VALUES (?, ?, ?, ?)",
                      {Value(fmr), Value(id), name, Value(year)});
    }
    static void ship(long fmr, long id, long plantId)
    {
        hb::gDb->EXEC("INSERT INTO D_SHIP (FMR_ID, SHIP_ID, SHIP_DATE, PLANT_ID) VALUES (?, ?, #2024-05-01 00:00:00#, ?)",
                      {Value(fmr), Value(id), Value(plantId)});
    }
    // The planting box as "text=item data" entries.
    static QStringList entries(const QComboBox *box)
    {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i) + "=" + QString::number(box->itemData(i).toLongLong());
        return out;
    }
    static void retype(QLineEdit *box, const QString &text)
    {
        hbtest::focusByClick(box);
        box->clear();
        hbtest::typeText(box, text);
    }

    hbtest::ProgramDir dir;
    hbtest::ScopedScriptedUi ui;
    const int year = QDate::currentDate().year();
};

TEST_P(ReportDialogs, TrialBalanceOpensOnJanuaryToThisMonthAndSlashesFourDigits)
{
    auto &f = open<hb::fdlPrintAccRep>();
    const QDate today = QDate::currentDate();
    EXPECT_EQ(f.windowTitle(), "試算表印刷");
    EXPECT_EQ(f.cond(0)->text(), QString::number(today.year()) + "/01");
    EXPECT_EQ(f.cond(1)->text(), today.toString("yyyy/MM"));
    EXPECT_EQ(f.cond(0)->maxLength(), 7);
    EXPECT_EQ(f.cond(1)->maxLength(), 7);

    struct { const char *typed; const char *shown; } cases[] = {
        {"2023", "2023/"}, {"202", "202"}, {"2023/04", "2023/04"}, {"２０２３", "２０２３"}, {"", ""},
    };
    for (int i : {0, 1}) {
        for (const auto &c : cases) {
            retype(f.cond(i), QString::fromUtf8(c.typed));
            EXPECT_EQ(f.cond(i)->text(), QString::fromUtf8(c.shown)) << i << " " << c.typed;
        }
    }
    // Typing on after the slash gives the month.
    retype(f.cond(0), "2023");
    hbtest::typeText(f.cond(0), "04");
    EXPECT_EQ(f.cond(0)->text(), "2023/04");
    EXPECT_TRUE(ui->prompts.empty());
}

TEST_P(ReportDialogs, ResizingKeepsWhatWasTyped)
{
    auto &f = open<hb::fdlPrintAccRep>();
    retype(f.cond(0), "2022/02");
    retype(f.cond(1), "2022/11");
    // The fixed border leaves the window state as the only change of size.
    const int designWidth = f.cond(0)->width();
    f.showMaximized();
    hbtest::settle();
    ASSERT_TRUE(f.isMaximized());
    EXPECT_GT(f.cond(0)->width(), designWidth);  // rescaled
    EXPECT_EQ(f.cond(0)->text(), "2022/02");
    EXPECT_EQ(f.cond(1)->text(), "2022/11");
    f.showNormal();
    hbtest::settle();
    EXPECT_EQ(f.cond(0)->width(), designWidth);
    EXPECT_EQ(f.cond(0)->text(), "2022/02");
    EXPECT_EQ(f.cond(1)->text(), "2022/11");
    EXPECT_EQ(f.windowTitle(), "試算表印刷");

    // A new showing starts from the defaults again.
    f.Unload();
    hbtest::settle();
    auto &g = open<hb::fdlPrintAccRep>();
    EXPECT_EQ(g.cond(0)->text(), QString::number(year) + "/01");
}

TEST_P(ReportDialogs, PlantingBoxListsEveryGrowersPlantingsOfThisYearOnce)
{
    plant(1, 3, Value("ミニトマト'#%"), year);
    plant(1, 1, Value("春キャベツ"), year);
    plant(2, 2, Value("青山の大根"), year);  // another grower's
    plant(1, 4, Value::null(), year);        // no name
    plant(1, 5, Value("去年の枝豆"), year - 1);
    ship(1, 1, 3);
    ship(1, 2, 3);
    ship(1, 3, 1);
    const QStringList expected{"=0", "春キャベツ=1", "青山の大根=2", "ミニトマト'#%=3", "=4"};

    // The two dialogs with a year and a planting behave alike.
    struct PlantingDialog {
        const char *name;
        std::function<hb::PlantingCondDialog &()> open;
    };
    const PlantingDialog dialogs[] = {
        {"fdlPrintTraceRep", [this]() -> hb::PlantingCondDialog & { return open<hb::fdlPrintTraceRep>(); }},
        {"fdlUploadTraceData", [this]() -> hb::PlantingCondDialog & { return open<hb::fdlUploadTraceData>(); }},
    };
    for (const auto &d : dialogs) {
        hb::gFmrID = Value(1);
        auto &f = d.open();
        EXPECT_EQ(f.cond(0)->text(), QString::number(year)) << d.name;
        EXPECT_EQ(f.cond(0)->maxLength(), 4) << d.name;
        EXPECT_EQ(entries(f.condBox(1)), expected) << d.name;

        // Another year typed later leaves the box as it was built.
        retype(f.cond(0), QString::number(year - 1));
        hbtest::pressKey(Qt::Key_Tab);
        EXPECT_EQ(entries(f.condBox(1)), expected) << d.name;

        // Rebuilt for the other year and for an empty year box.
        f.SetCmb(1);
        EXPECT_EQ(entries(f.condBox(1)), QStringList({"=0", "去年の枝豆=5"})) << d.name;
        f.cond(0)->clear();
        f.SetCmb(1);
        EXPECT_EQ(f.condBox(1)->count(), 0) << d.name;
        f.SetCmb(0);  // the grower box is never filled
        EXPECT_EQ(f.condBox(0)->count(), 0) << d.name;
        EXPECT_FALSE(f.condBox(0)->isVisible()) << d.name;
        EXPECT_FALSE(f.label(1)->isVisible()) << d.name;
        EXPECT_TRUE(ui->prompts.empty()) << d.name;
        f.Unload();
        hbtest::settle();
    }
}

TEST_P(ReportDialogs, NoPlantingThisYearLeavesOnlyTheEmptyEntry)
{
    plant(1, 1, Value("去年の枝豆"), year - 1);
    auto &f = open<hb::fdlPrintTraceRep>();
    EXPECT_EQ(entries(f.condBox(1)), QStringList({"=0"}));
}

TEST_P(ReportDialogs, AnUnreadablePlantingTableIsReportedAndTheDialogStillOpens)
{
    hb::gDb->EXEC("DROP TABLE D_PLANT");
    auto &f = open<hb::fdlUploadTraceData>();
    ASSERT_EQ(ui->prompts.size(), 1u);
    EXPECT_EQ(ui->prompts[0].style, 48);
    EXPECT_EQ(ui->prompts[0].title, hb::kProgramTitle);
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(entries(f.condBox(1)), QStringList({"=0"}));  // what was added before the failure
}

TEST_P(ReportDialogs, PrintHandsOverOnePageOfThePriceTagSheetWhateverTheBoxesHold)
{
    struct Case {
        const char *name;
        std::function<hb::ReportCondDialog &()> open;
        std::function<void(hb::ReportCondDialog &)> blank;
    } cases[] = {
        {"fdlPrintAccRep", [this]() -> hb::ReportCondDialog & { return open<hb::fdlPrintAccRep>(); },
         [](hb::ReportCondDialog &f) { f.cond(0)->clear(); f.cond(1)->setText("xx"); }},
        {"fdlPrintTraceRep", [this]() -> hb::ReportCondDialog & { return open<hb::fdlPrintTraceRep>(); },
         [](hb::ReportCondDialog &f) { f.cond(0)->clear(); f.condBox(1)->clear(); }},
    };
    for (const auto &c : cases) {
        for (bool blank : {false, true}) {
            hb::gRepId = 0;
            hb::gPageCount = 0;
            auto &f = c.open();
            if (blank)
                c.blank(f);
            EXPECT_EQ(f.command(1)->text(), "印刷");
            hbtest::click(f.command(1));
            EXPECT_EQ(hb::gRepId, 10) << c.name;
            EXPECT_EQ(hb::gPageCount, 1) << c.name;
            EXPECT_TRUE(hb::IsFormLoaded(c.name)) << c.name;
            EXPECT_TRUE(ui->prompts.empty()) << c.name;
            f.Unload();
            hbtest::settle();
        }
    }
}

TEST_P(ReportDialogs, UploadDoesNothingAndCancelOrEscCloses)
{
    hb::Form menu(QStringLiteral("fmnMain"));
    menu.showModeless();
    hbtest::settle();

    auto &u = open<hb::fdlUploadTraceData>();
    EXPECT_EQ(u.command(1)->text(), "ｱｯﾌﾟﾛｰﾄﾞ");
    u.log()->setPlainText("log");
    hbtest::click(u.command(1));
    EXPECT_TRUE(hb::IsFormLoaded("fdlUploadTraceData"));
    EXPECT_EQ(hb::gRepId, 0);
    EXPECT_EQ(u.log()->toPlainText(), "log");
    EXPECT_TRUE(ui->prompts.empty());

    const std::function<hb::ReportCondDialog &()> dialogs[] = {
        [this]() -> hb::ReportCondDialog & { return open<hb::fdlPrintAccRep>(); },
        [this]() -> hb::ReportCondDialog & { return open<hb::fdlPrintTraceRep>(); },
        [this]() -> hb::ReportCondDialog & { return open<hb::fdlUploadTraceData>(); },
    };
    for (const auto &show : dialogs) {
        for (bool esc : {false, true}) {
            auto &f = show();
            const QString name = f.objectName();
            EXPECT_EQ(f.command(0)->text(), "ｷｬﾝｾﾙ");
            if (esc)
                hbtest::pressKey(Qt::Key_Escape, f.focusWidget() ? f.focusWidget() : &f);
            else
                hbtest::click(f.command(0));
            hbtest::settle();
            EXPECT_FALSE(hb::IsFormLoaded(name)) << name.toStdString() << (esc ? " Esc" : " click");
        }
    }
    EXPECT_TRUE(ui->endCodes.empty());
    menu.Unload();
    hbtest::settle();

    // Without the main menu, cancel ends the program.
    auto &f = open<hb::fdlPrintTraceRep>();
    EXPECT_THROW(hbtest::click(f.command(0)), hb::ProgramEnded);
    EXPECT_EQ(ui->endCodes, std::vector<int>{0});
}

TEST_P(ReportDialogs, WindowStaOpensMaximised)
{
    hb::gINI->SaveCtrl("WINDOW_STA", Value(true), 1);
    auto &f = open<hb::fdlPrintAccRep>();
    hbtest::settle();
    EXPECT_TRUE(f.isMaximized());
    EXPECT_EQ(f.cond(0)->text(), QString::number(year) + "/01");
}

TEST_P(ReportDialogs, LayoutShowsEveryCaption)
{
    if (GetParam() != hbtest::Backend::Sqlite)
        GTEST_SKIP() << "pictures are taken once";
    plant(1, 1, Value("春キャベツ"), year);
    struct {
        const char *file;
        QStringList texts;
        std::function<hb::ReportCondDialog &()> show;
    } dialogs[] = {
        {"hb_report_accrep.png", {"試算表印刷", "年月", "～", "印刷", "ｷｬﾝｾﾙ"},
         [this]() -> hb::ReportCondDialog & { return open<hb::fdlPrintAccRep>(); }},
        {"hb_report_tracerep.png", {"生産履歴印刷", "年", "作付", "印刷", "ｷｬﾝｾﾙ"},
         [this]() -> hb::ReportCondDialog & { return open<hb::fdlPrintTraceRep>(); }},
        {"hb_report_upload.png", {"ﾃﾞｰﾀｱｯﾌﾟﾛｰﾄﾞ", "年", "作物", "ｱｯﾌﾟﾛｰﾄﾞ", "ｷｬﾝｾﾙ"},
         [this]() -> hb::ReportCondDialog & { return open<hb::fdlUploadTraceData>(); }},
    };
    for (const auto &d : dialogs) {
        auto &f = d.show();
        QStringList shown;
        for (QLabel *l : f.findChildren<QLabel *>())
            if (l->isVisible())
                shown << l->text();
        for (QPushButton *b : f.findChildren<QPushButton *>())
            if (b->isVisible())
                shown << b->text();
        for (const QString &t : d.texts)
            EXPECT_TRUE(shown.contains(t)) << d.file << ": " << t.toStdString();
        EXPECT_FALSE(shown.contains("生産者")) << d.file;
        EXPECT_TRUE(f.label(19)->font().bold()) << d.file;
        const QString path = QDir::tempPath() + "/" + d.file;
        ASSERT_TRUE(hbtest::savePicture(&f, path));
        EXPECT_FALSE(QImage(path).isNull());
        f.Unload();
        hbtest::settle();
    }
}

HB_INSTANTIATE_BOTH_BACKENDS(ReportDialogs);

}  // namespace
