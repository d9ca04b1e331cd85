// The trial-balance, production-history and upload dialogs: defaults, the planting box on both
// kinds of database, print, upload and cancel.

#include "common/programbackends.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/globals.h"
#include "core/startup.h"
#include "core/textlimit.h"
#include "printing/fdlexppricetag.h"
#include "printing/fdlpreview.h"
#include "printing/fdlprintaccrep.h"
#include "printing/fdlprintpricetag.h"
#include "printing/fdlprinttracerep.h"
#include "printing/fdluploadtracedata.h"
#include "printing/printfixture.h"
#include "printing/ptag.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using hb::Value;

namespace {

class ReportDialogs : public hbtest::ProgramBackends {
protected:
    void SetUp() override
    {
        ProgramBackends::SetUp();
        if (IsSkipped())
            return;
        hb::gRepId = 0;
        hb::gPageCount = 0;
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

    const int year = QDate::currentDate().year();
};

TEST_P(ReportDialogs, TrialBalanceOpensOnJanuaryToThisMonthAndSlashesFourDigits)
{
    auto &f = open<hb::fdlPrintAccRep>();
    const QDate today = QDate::currentDate();
    EXPECT_EQ(f.windowTitle(), "試算表印刷");
    EXPECT_EQ(f.cond(0)->text(), QString::number(today.year()) + "/01");
    EXPECT_EQ(f.cond(1)->text(), today.toString("yyyy/MM"));
    EXPECT_EQ(hbtest::characterLimit(f.cond(0)), 7);
    EXPECT_EQ(hbtest::characterLimit(f.cond(1)), 7);

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
        EXPECT_EQ(hbtest::characterLimit(f.cond(0)), 4) << d.name;
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

// What the preview showed when a print dialog opened it.
struct PreviewSeen {
    bool shown = false;
    QString caption;
    QString page, pages;
    bool pageLocked = false;
    std::vector<int> positions;
    int outlines = 0;            // tags drawn with their outline
    std::size_t items = 0;       // everything drawn, the paper's outline included
    bool tagDialogLoaded = false;
    bool tagDialogVisible = false;
};

TEST_P(ReportDialogs, PrintPreviewsPageOneOfTheLastPriceTagBuildWhateverTheBoxesHold)
{
    hb::gShopID = Value(1);
    hb::gFmrID = Value(1);
    hb::gPtagData.assign(1, hb::PtagDataRec());
    hbtest::useFakePrinters();
    hb::gMst->EXEC("INSERT INTO M_SHOP (SHOP_ID, SHOP_NM, BCD_PRD_ID_STA, BCD_PRD_ID_LEN, WWW_URL, UPLOAD_FILE_TYPE) "
                   "VALUES (1, '直売所', 1, 4, 'shop.example', 1)");
    hb::gMst->EXEC("INSERT INTO M_FMR (FMR_ID, FMR_NM) VALUES (1, '山田太郎')");
    for (long id = 1; id <= 3; ++id)
        hb::gDb->EXEC("INSERT INTO D_SHIP (FMR_ID, SHIP_ID, SHIP_DATE, SHOP_ID, PLANT_ID, PRD_ID, PRD_NM, SHOP_PRC, "
                      "SHIP_QTY) VALUES (1, ?, #2024-06-03 00:00:00#, 1, 1, ?, '大根', 100, 1)",
                      {Value(id), Value(id)});

    PreviewSeen seen;
    hbtest::onModal(ui.get(), "fdlPreview", [&](QDialog *d) {
        auto *p = static_cast<hb::fdlPreview *>(d);
        seen.shown = true;
        seen.caption = p->windowTitle();
        seen.page = p->txtPAGE->text();
        seen.pages = p->txtPAGES->text();
        seen.pageLocked = p->txtPAGE->isReadOnly();
        seen.positions = hbtest::tagPositions(p->renderModel(), p->originX(), p->originY());
        const hb::RenderModel &m = p->renderModel();
        for (const hb::RenderTag &t : m.tags)
            for (const hb::RenderItem &i : m.itemsOf(t))
                seen.outlines += i.kind == hb::RenderItem::Kind::Box && i.rect.topLeft() == t.corner
                                 && qAbs(i.rect.width() - hb::kTagPitchX) < 1;
        seen.items = m.items.size();
        seen.tagDialogLoaded = hb::IsFormLoaded("fdlPrintPriceTag");
        seen.tagDialogVisible = seen.tagDialogLoaded && hb::form<hb::fdlPrintPriceTag>().isVisible();
    });
    struct Dialog {
        const char *name;
        std::function<hb::ReportCondDialog &()> open;
        std::function<void(hb::ReportCondDialog &)> blank;
    } dialogs[] = {
        {"fdlPrintAccRep", [this]() -> hb::ReportCondDialog & { return open<hb::fdlPrintAccRep>(); },
         [](hb::ReportCondDialog &f) { f.cond(0)->clear(); f.cond(1)->setText("xx"); }},
        {"fdlPrintTraceRep", [this]() -> hb::ReportCondDialog & { return open<hb::fdlPrintTraceRep>(); },
         [](hb::ReportCondDialog &f) { f.cond(0)->clear(); f.condBox(1)->clear(); }},
    };
    const auto print = [&](const Dialog &d, bool blank) {
        hb::gRepId = 0;
        hb::gPageCount = 0;
        seen = PreviewSeen();
        auto &f = d.open();
        if (blank)
            d.blank(f);
        EXPECT_EQ(f.command(1)->text(), "印刷");
        hbtest::click(f.command(1));
        EXPECT_EQ(hb::gRepId, 10) << d.name;
        EXPECT_EQ(hb::gPageCount, 1) << d.name;
        EXPECT_TRUE(seen.shown) << d.name;
        EXPECT_EQ(seen.caption, "農産物値札") << d.name;
        EXPECT_EQ(seen.page + "/" + seen.pages, "1/1") << d.name;
        EXPECT_TRUE(seen.pageLocked) << d.name;
        EXPECT_TRUE(hb::IsFormLoaded(d.name)) << d.name;
        EXPECT_TRUE(ui->prompts.empty()) << d.name;
        f.Unload();
        hbtest::settle();
    };

    // Before any build: the paper's outline only, and the price-tag dialog is not needed.
    for (const Dialog &d : dialogs) {
        print(d, false);
        EXPECT_TRUE(seen.positions.empty()) << d.name;
        EXPECT_EQ(seen.items, 1u) << d.name;
        EXPECT_FALSE(seen.tagDialogLoaded) << d.name;
    }

    // After an export of three shipments: their three tags, from the price-tag dialog loaded
    // hidden, with the stored frame option.
    QTemporaryDir out;
    auto &exp = open<hb::fdlExpPriceTag>();
    exp.txtCOND[0]->setText("2024/06/03");
    exp.txtCOND[1]->setText("2024/06/03");
    exp.txtCOND[2]->setText(out.path());
    ASSERT_EQ(exp.ExpData(), 3);
    exp.Unload();
    hbtest::settle();
    for (const char *frame : {"0", "1"}) {
        hb::gINI->SaveCtrl("PRINT_PTAG_FRAME", Value(frame));
        for (const Dialog &d : dialogs) {
            for (bool blank : {false, true}) {
                SCOPED_TRACE(std::string(d.name) + " frame " + frame + (blank ? " blank boxes" : ""));
                if (hb::IsFormLoaded("fdlPrintPriceTag"))
                    hb::form<hb::fdlPrintPriceTag>().Unload();
                hbtest::settle();
                print(d, blank);
                EXPECT_EQ(seen.positions, (std::vector<int>{0, 1, 2}));
                EXPECT_EQ(seen.outlines, *frame == '1' ? 3 : 0);
                EXPECT_TRUE(seen.tagDialogLoaded);
                EXPECT_FALSE(seen.tagDialogVisible);
            }
        }
    }
    hbtest::resetPrinting();
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
    plant(1, 7, Value("トマト"), year);
    enum class Close { Click, Esc, EscListOpen };
    for (const auto &show : dialogs) {
        for (const Close how : {Close::Click, Close::Esc, Close::EscListOpen}) {
            auto &f = show();
            const QString name = f.objectName();
            EXPECT_EQ(f.command(0)->text(), "ｷｬﾝｾﾙ");
            QComboBox *list = f.condBox(hb::ReportCondDialog::kCmbPlanting);
            if (how == Close::Click || (how == Close::EscListOpen && !list)) {  // the trial balance has no list
                hbtest::click(f.command(0));
            } else if (how == Close::Esc) {
                hbtest::pressKey(Qt::Key_Escape, f.focusWidget() ? f.focusWidget() : &f);
            } else {
                // An open planting list takes the first Esc alone; the next one cancels.
                list->setFocus();
                list->setCurrentIndex(1);
                list->showPopup();
                hbtest::settle();
                ASSERT_TRUE(list->view()->isVisible()) << name.toStdString();
                QTest::keyClick(f.windowHandle(), Qt::Key_Escape);
                hbtest::settle();
                EXPECT_FALSE(list->view()->isVisible()) << name.toStdString();
                ASSERT_TRUE(hb::IsFormLoaded(name) && f.isVisible()) << name.toStdString();
                EXPECT_EQ(list->currentText(), "トマト") << name.toStdString();
                EXPECT_EQ(f.cond(hb::PlantingCondDialog::kCondYear)->text(), QString::number(year));
                QTest::keyClick(f.windowHandle(), Qt::Key_Escape);
            }
            hbtest::settle();
            EXPECT_FALSE(hb::IsFormLoaded(name)) << name.toStdString() << " " << static_cast<int>(how);
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
