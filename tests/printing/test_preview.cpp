// The print preview: the page on show, navigation, zoom and scrolling, the dialogs it opens, later
// resizes, and printing the page on show where no printer is installed (a PDF file).

#include "printing/fdlpreview.h"
#include "printing/fdlsetmgn.h"
#include "printing/printfixture.h"
#include "common/failingstatement.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>

using namespace hbtest;

namespace {

class Preview : public PrintFixture {
protected:
    static hb::fdlPreview &open(int pages) { return openPreview(pages); }
    static std::vector<int> shownPositions(const hb::fdlPreview &f)
    {
        return tagPositions(f.renderModel(), f.originX(), f.originY());
    }
    static QString firstCode(const hb::fdlPreview &f)
    {
        const auto &m = f.renderModel();
        if (m.tags.empty())
            return QString();
        return texts(m.itemsOf(m.tags.front())).filter(QRegularExpression(QStringLiteral("^\\d$"))).join(QString());
    }
    // Which sheet the preview shows, by the code of its first tag (tags are 0, 1, 2, ... in order).
    static int shownSheet(const hb::fdlPreview &f)
    {
        const QString code = firstCode(f);
        for (int n = 0; n < 200; n += 24)
            if (tagLabel(n).JAN_CD == code)
                return n / 24 + 1;
        return 0;
    }
    static void leaveBox(QLineEdit *box, const QString &text)
    {
        focusByClick(box);
        box->setText(text);
        pressKey(Qt::Key_Tab);
    }
    static QStringList enabledMoves(const hb::fdlPreview &f)
    {
        QStringList out;
        for (int i = 3; i <= 6; ++i)
            out << QStringLiteral("%1%2").arg(i).arg(f.Command1[i]->isEnabled() ? '+' : '-');
        for (int i = 0; i < 4; ++i)
            out << QStringLiteral("m%1%2").arg(i).arg(f.mnuMOVE[i]->isEnabled() ? '+' : '-');
        return out;
    }
};

TEST_F(Preview, OpensOnPageOneWithTheReportsNameAndPaper)
{
    setTags(0, 30);
    hb::fdlPreview &f = open(2);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("農産物値札"));
    EXPECT_EQ(f.txtPAGE->text(), QStringLiteral("1"));
    EXPECT_EQ(f.txtPAGES->text(), QStringLiteral("2"));
    EXPECT_EQ(f.currentPage(), 1);
    EXPECT_EQ(f.paperWidth(), 11906.0f);
    EXPECT_EQ(f.paperHeight(), 16838.0f);
    EXPECT_EQ(shownPositions(f).size(), 24u);
    // The sheet's outline is drawn last, over the page.
    const hb::RenderItem &outline = f.renderModel().items.back();
    EXPECT_EQ(outline.kind, hb::RenderItem::Kind::Box);
    EXPECT_EQ(outline.rect, QRectF(0, 0, 11906, 16838));
    EXPECT_EQ(f.Slider1->value(), 0);
}

TEST_F(Preview, BeforeAnyBuildOnlyThePaperIsShown)
{
    hb::fdlPreview &f = open(1);
    ASSERT_EQ(f.renderModel().items.size(), 1u);
    EXPECT_EQ(f.renderModel().items[0].rect, QRectF(0, 0, 11906, 16838));
    EXPECT_TRUE(ui->prompts.empty());
}

TEST_F(Preview, OnePageLocksThePageBoxAndTheNavigation)
{
    setTags(0, 3);
    hb::fdlPreview &f = open(1);
    EXPECT_TRUE(f.txtPAGE->isReadOnly());
    EXPECT_EQ(f.txtPAGE->palette().color(QPalette::Base), f.txtPAGE->palette().color(QPalette::Button));
    EXPECT_EQ(enabledMoves(f), (QStringList{"3-", "4-", "5-", "6-", "m0-", "m1-", "m2-", "m3-"}));
}

TEST_F(Preview, NavigationMovesThroughThePages)
{
    setTags(0, 72);
    hb::fdlPreview &f = open(3);
    struct Step {
        const char *what;
        std::function<void()> act;
        QString box;
        int sheet;
        QStringList enabled;
    };
    const Step steps[] = {
        {"opened", [] {}, "1", 1, {"3-", "4-", "5+", "6+", "m0-", "m1-", "m2+", "m3+"}},
        {"次", [&] { click(f.Command1[5]); }, "2", 2, {"3+", "4+", "5+", "6+", "m0+", "m1+", "m2+", "m3+"}},
        {"最後 (menu)", [&] { f.mnuMOVE[3]->trigger(); }, "3", 3, {"3+", "4+", "5-", "6-", "m0+", "m1+", "m2-", "m3-"}},
        {"次 on the last does nothing", [&] { f.mnuMOVE[2]->trigger(); }, "3", 3, {"3+", "4+", "5-", "6-", "m0+", "m1+", "m2-", "m3-"}},
        {"前", [&] { click(f.Command1[4]); }, "2", 2, {"3+", "4+", "5+", "6+", "m0+", "m1+", "m2+", "m3+"}},
        {"最初 (menu)", [&] { f.mnuMOVE[0]->trigger(); }, "1", 1, {"3-", "4-", "5+", "6+", "m0-", "m1-", "m2+", "m3+"}},
        {"a typed page", [&] { leaveBox(f.txtPAGE, "3"); }, "3", 3, {"3+", "4+", "5-", "6-", "m0+", "m1+", "m2-", "m3-"}},
        {"2.5 is page 2", [&] { leaveBox(f.txtPAGE, "2.5"); }, "2.5", 2, {"3+", "4+", "5+", "6+", "m0+", "m1+", "m2+", "m3+"}},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        settle();
        EXPECT_EQ(f.txtPAGE->text(), s.box);
        EXPECT_EQ(shownSheet(f), s.sheet);
        EXPECT_EQ(enabledMoves(f), s.enabled);
    }
    EXPECT_TRUE(ui->prompts.empty());

    // A page whose settings cannot be read: one message, and nothing of the page before is shown.
    withFailingStatements(*hb::gINI, QStringLiteral("INFO.MDB を読めません。"), [&] { click(f.Command1[3]); });
    EXPECT_EQ(ui->prompts.size(), 1u);
    EXPECT_EQ(f.txtPAGE->text(), "1");
    EXPECT_EQ(shownSheet(f), 0);
}

// The last-page test compares texts: "02" on the last of two pages leaves 次 and 最後 enabled.
TEST_F(Preview, APageTypedAsZeroTwoIsNotTheLastPageText)
{
    setTags(0, 48);
    hb::fdlPreview &f = open(2);
    leaveBox(f.txtPAGE, QStringLiteral("02"));
    EXPECT_EQ(f.currentPage(), 2);
    EXPECT_EQ(shownSheet(f), 2);
    EXPECT_TRUE(f.Command1[5]->isEnabled());
    EXPECT_TRUE(f.Command1[6]->isEnabled());
    click(f.Command1[5]);
    EXPECT_EQ(f.txtPAGE->text(), QStringLiteral("02"));
    click(f.Command1[6]);
    EXPECT_EQ(f.txtPAGE->text(), QStringLiteral("2"));
    EXPECT_FALSE(f.Command1[5]->isEnabled());
}

TEST_F(Preview, NoPagesShowsOnlyTheOutlineAtPageZero)
{
    setTags(0, 5);
    hb::fdlPreview &f = open(0);
    click(f.Command1[5]);
    EXPECT_EQ(f.txtPAGE->text(), QStringLiteral("1"));
    click(f.Command1[6]);
    EXPECT_EQ(f.txtPAGE->text(), QStringLiteral("0"));
    EXPECT_EQ(f.currentPage(), 0);
    ASSERT_EQ(f.renderModel().items.size(), 1u);
    EXPECT_EQ(f.renderModel().items[0].kind, hb::RenderItem::Kind::Box);
}

TEST_F(Preview, ZoomSetsTheSliderAndTheScrollRanges)
{
    setTags(0, 24);
    hb::fdlPreview &f = open(1);
    const double pictureW = f.pctPreview->width() * 15.0;
    const double pictureH = f.pctPreview->height() * 15.0;
    struct Case {
        int menu;
        int slider;
        double zoom;
    };
    for (const Case &c : {Case{2, 4, 2.0}, Case{0, -4, 0.5}, Case{1, 0, 1.0}}) {
        SCOPED_TRACE(c.slider);
        f.mnuDISP[c.menu]->trigger();
        settle();
        EXPECT_EQ(f.Slider1->value(), c.slider);
        // Paper less the part on show, rounded half to even.
        EXPECT_EQ(f.HScrl->maximum(), std::max(0, static_cast<int>(std::nearbyint(11906 - pictureW / c.zoom))));
        EXPECT_EQ(f.VScrl->maximum(), std::max(0, static_cast<int>(std::nearbyint(16838 - pictureH / c.zoom))));
        EXPECT_EQ(f.HScrl->pageStep(), qRound(pictureW));
    }
    // Scrolling moves the sheet's origin; a smaller zoom keeps the values within the new range.
    f.mnuDISP[2]->trigger();
    f.HScrl->setValue(3000);
    f.VScrl->setValue(20000);
    settle();
    EXPECT_EQ(f.originX(), -3000.0f);
    EXPECT_EQ(f.originY(), static_cast<float>(-f.VScrl->maximum()));
    EXPECT_NEAR(f.renderModel().tags[0].corner.x(), -3000, 1e-3);
    f.mnuDISP[1]->trigger();
    settle();
    EXPECT_EQ(f.HScrl->value(), f.HScrl->maximum());
    EXPECT_EQ(f.originX(), static_cast<float>(-f.HScrl->maximum()));
}

// The margins dialog from the button redraws at once; from the menu the old drawing stays.
TEST_F(Preview, NewMarginsShowAtOnceFromTheButtonOnlyAtTheNextRedrawFromTheMenu)
{
    setTags(0, 24);
    storeMargins(0, 0);
    hb::fdlPreview &f = open(1);
    const auto setMargins = [&](const QString &left, const QString &top) {
        onModal(ui.get(), QStringLiteral("fdlSetMgn"), [left, top](QDialog *d) {
            auto *m = static_cast<hb::fdlSetMgn *>(d);
            m->Text1[1]->setText(left);
            m->Text1[0]->setText(top);
            click(m->Command1[1]);
        });
    };
    setMargins(QStringLiteral("2"), QStringLiteral("1"));
    click(f.Command1[2]);
    EXPECT_NEAR(f.renderModel().tags[0].corner.x(), 1134, 1e-3);
    EXPECT_NEAR(f.renderModel().tags[0].corner.y(), 567, 1e-3);

    setMargins(QStringLiteral("1"), QStringLiteral("0"));
    f.mnuSET_MGN->trigger();
    settle();
    EXPECT_TRUE(ui->modalShown.contains(QStringLiteral("fdlSetMgn")));
    EXPECT_NEAR(f.renderModel().tags[0].corner.x(), 1134, 1e-3);
    f.mnuDISP[1]->trigger();  // the next redraw
    EXPECT_NEAR(f.renderModel().tags[0].corner.x(), 567, 1e-3);
    EXPECT_NEAR(f.renderModel().tags[0].corner.y(), 0, 1e-3);
}

TEST_F(Preview, ThePrintMenuOpensThePagesAndCopiesDialog)
{
    setTags(0, 24);
    hb::fdlPreview &f = open(1);
    f.mnuPRINT->trigger();
    settle();
    EXPECT_EQ(ui->modalShown, QStringList{QStringLiteral("fdlSetPrintCopy")});
    EXPECT_TRUE(printLog->documents.empty());
}

// A later resize keeps the page on show, the page box and the zoom.
TEST_F(Preview, ResizingKeepsThePage)
{
    setTags(0, 96);
    hb::fdlPreview &f = open(4);
    leaveBox(f.txtPAGE, QStringLiteral("3"));
    f.mnuDISP[2]->trigger();
    const QSize before = f.frameGeometry().size();
    f.showMaximized();
    settle();
    resizeOuter(&f, QSize(1400, 1000));
    EXPECT_EQ(shownSheet(f), 3);
    f.showNormal();
    resizeOuter(&f, before);
    EXPECT_EQ(f.currentPage(), 3);
    EXPECT_EQ(f.txtPAGE->text(), QStringLiteral("3"));
    EXPECT_EQ(shownSheet(f), 3);
    EXPECT_EQ(f.Slider1->value(), 4);
    EXPECT_LE(f.HScrl->value(), f.HScrl->maximum());
}

TEST_F(Preview, EnterIsDiscarded)
{
    setTags(0, 48);
    hb::fdlPreview &f = open(2);
    for (QWidget *w : std::initializer_list<QWidget *>{f.Command1[0], f.Command1[5], f.txtPAGE}) {
        w->setFocus();
        settle();
        pressKey(Qt::Key_Return);
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(QApplication::focusWidget(), w);
        EXPECT_EQ(f.txtPAGE->text(), QStringLiteral("1"));
    }
}

TEST_F(Preview, PicturesOfTheFirstSheetAtOneHundredAndTwoHundredPercent)
{
    setTags(0, 30);
    source.frame = true;
    hb::fdlPreview &f = open(2);
    resizeOuter(&f, QSize(900, 1000));
    EXPECT_TRUE(savePicture(&f, picturePath(QStringLiteral("hb_preview_100.png"))));
    f.mnuDISP[2]->trigger();
    settle();
    EXPECT_TRUE(savePicture(&f, picturePath(QStringLiteral("hb_preview_200.png"))));
    EXPECT_EQ(f.renderModel().tags.size(), 24u);
}

// ---- printing the page on show where no printer is installed ----------------------------------

class PreviewPdf : public Preview {
protected:
    QString pdfFile(int page) const
    {
        return dir.path(QStringLiteral("pdf/農産物値札 %1ﾍﾟｰｼﾞ.pdf").arg(page));
    }
    void expectRestored()
    {
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(hb::AppTitle(), hb::kProgramTitle);
    }
};

TEST_F(PreviewPdf, PrintingThePageWritesItsPdfAndSaysWhere)
{
    std::vector<TagRow> rows;
    for (int i = 0; i < 30; ++i)
        rows.push_back({1, tagLabel(i)});
    setTagRows(0, rows);
    hb::fdlPreview &f = open(2);
    click(f.Command1[6]);
    click(f.Command1[1]);
    expectRestored();
    ASSERT_TRUE(QFileInfo::exists(pdfFile(2)));
    EXPECT_FALSE(QFileInfo::exists(pdfFile(1)));
    ASSERT_EQ(ui->prompts.size(), 1u);
    EXPECT_EQ(ui->prompts[0].text, QStringLiteral("PDFファイルに出力しました。\n") + QDir::toNativeSeparators(dir.path("pdf")));
    EXPECT_EQ(ui->prompts[0].style, 0);
    if (haveTool("zbarimg") && haveTool("pdftoppm")) {
        const auto found = readSymbols({pdfPage(pdfFile(2), 600)});
        std::vector<hb::PtagLabelRec> sheet2;
        for (int i = 24; i < 30; ++i)
            sheet2.push_back(tagLabel(i));
        EXPECT_EQ(found.at(0).join('\n').toStdString(), expectedSymbols(sheet2).join('\n').toStdString());
    }

    // Again, after the rows changed: the file is replaced whole, nothing else is left.
    rows.resize(25);
    rows[24].label.SHOP_PRC = hb::Currency::fromDouble(777);
    setTagRows(0, rows);
    click(f.Command1[1]);
    expectRestored();
    EXPECT_EQ(ui->prompts.size(), 2u);
    EXPECT_EQ(QDir(dir.path("pdf")).entryList(QDir::Files), QStringList{QStringLiteral("農産物値札 2ﾍﾟｰｼﾞ.pdf")});
    if (haveTool("pdftotext")) {
        // The price's digits (the sheet's face draws both yen signs with one glyph, which the
        // text layer gives back as the narrow one).
        EXPECT_TRUE(toolOutput(QStringLiteral("pdftotext"), {pdfFile(2), QStringLiteral("-")}).contains(QStringLiteral("７７７")));
    }
}

TEST_F(PreviewPdf, APageBeyondTheLastWritesNothing)
{
    setTags(0, 30);
    hb::fdlPreview &f = open(2);
    leaveBox(f.txtPAGE, QStringLiteral("3"));
    click(f.Command1[1]);
    expectRestored();
    EXPECT_FALSE(QFileInfo::exists(dir.path("pdf")));
    EXPECT_TRUE(ui->prompts.empty());
}

TEST_F(PreviewPdf, AFolderThatCannotBeMadeIsReportedAndNoNoticeFollows)
{
    setTags(0, 30);
    {
        QFile blocker(dir.path("pdf"));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        blocker.write("not a folder");
    }
    hb::fdlPreview &f = open(2);
    click(f.Command1[1]);
    expectRestored();
    ASSERT_EQ(ui->prompts.size(), 1u);
    EXPECT_EQ(ui->prompts[0].style, hb::kMsgCritical);
    EXPECT_TRUE(ui->prompts[0].text.startsWith(QStringLiteral("(75)PDFファイルを書き込めません：")))
        << ui->prompts[0].text.toStdString();
    EXPECT_TRUE(f.isVisible());
}

}  // namespace
