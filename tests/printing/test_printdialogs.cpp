// The margin and paper dialog (the report's settings row) and the pages-and-copies dialog.

#include "printing/fdlsetmgn.h"
#include "printing/fdlsetprintcopy.h"
#include "printing/printfixture.h"
#include "printing/printsetup.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>

using namespace hbtest;
using hb::Value;

namespace {

// ---- 余白・給紙設定 -------------------------------------------------------------------------

struct StoredRow {
    bool found = false;
    Value left, top, printer, bin;
};

StoredRow storedRow()
{
    StoredRow r;
    auto rs = hb::gINI->GetFwdOnlyRst("SELECT S_REP.* FROM S_REP WHERE REP_ID=10");
    if (!rs->eof()) {
        r.found = true;
        r.left = rs->Fields("LEFT_MGN");
        r.top = rs->Fields("TOP_MGN");
        r.printer = rs->Fields("PRINTER_NM");
        r.bin = rs->Fields("PAPER_BIN");
    }
    return r;
}

class MarginDialog : public PrintFixture {
protected:
    void SetUp() override
    {
        PrintFixture::SetUp();
        printLog = useFakePrinters({{QStringLiteral("Lbl")}, {QStringLiteral("LBL")}});
    }
    hb::fdlSetMgn &open()
    {
        hb::fdlSetMgn &d = hb::form<hb::fdlSetMgn>();
        d.showModeless();
        EXPECT_TRUE(activate(&d));
        return d;
    }
    // Opens the dialog, lets `edit` act, presses 設定, and tells whether the dialog closed.
    bool saveWith(const std::function<void(hb::fdlSetMgn &)> &edit)
    {
        hb::fdlSetMgn &d = open();
        edit(d);
        click(d.Command1[1]);
        const bool closed = !d.isVisible();
        if (!closed)
            d.Unload();
        settle();
        return closed;
    }
};

TEST_F(MarginDialog, FirstUseOffersOneAndAHalfCentimetresAndStoresTheRow)
{
    hb::fdlSetMgn &d = open();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("余白・給紙設定"));
    EXPECT_EQ(d.Text1[1]->text(), QStringLiteral("1.5"));
    EXPECT_EQ(d.Text1[0]->text(), QStringLiteral("1.5"));
    EXPECT_EQ(d.cmbDATA[0]->count(), 2);
    EXPECT_EQ(d.cmbDATA[0]->currentIndex(), -1);
    EXPECT_EQ(d.cmbDATA[1]->currentIndex(), -1);
    EXPECT_TRUE(savePicture(&d, picturePath(QStringLiteral("hb_setmgn.png"))));
    click(d.Command1[1]);
    EXPECT_FALSE(d.isVisible());
    const StoredRow r = storedRow();
    ASSERT_TRUE(r.found);
    EXPECT_DOUBLE_EQ(r.left.toDouble(), 850.5);
    EXPECT_DOUBLE_EQ(r.top.toDouble(), 850.5);
    EXPECT_EQ(r.printer, Value(""));
    EXPECT_EQ(r.bin.toLong(), 0);
}

TEST_F(MarginDialog, EnteredCentimetresAreStoredInTwipsAndShownAgain)
{
    struct Case {
        QString left, top;
        double leftTwips, topTwips;
        QString shownLeft, shownTop;
    };
    const Case cases[] = {
        {"2", "0.5", 1134, 283.5, "2", "0.5"},
        {"", "abc", 0, 0, "0", "0"},
        {"1.234", "3cm", 699.678, 1701, "1.23", "3"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.left.toStdString());
        ASSERT_TRUE(saveWith([&](hb::fdlSetMgn &d) {
            d.Text1[1]->setText(c.left);
            d.Text1[0]->setText(c.top);
        }));
        const StoredRow r = storedRow();
        EXPECT_NEAR(r.left.toDouble(), c.leftTwips, 1e-9);
        EXPECT_NEAR(r.top.toDouble(), c.topTwips, 1e-9);
        hb::fdlSetMgn &d = open();
        EXPECT_EQ(d.Text1[1]->text(), c.shownLeft);
        EXPECT_EQ(d.Text1[0]->text(), c.shownTop);
        d.Unload();
        settle();
    }
}

TEST_F(MarginDialog, PrinterAndFeedAreShownAsStoredAndKeptWithoutAChoice)
{
    struct Case {
        const char *what;
        Value printer, bin;
        int printerShown, feedShown;  // list positions, -1 none
        Value printerSaved, binSaved;  // after 設定 with nothing chosen
    };
    const Case cases[] = {
        {"exact name and a listed feed", Value("LBL"), Value(6), 1, 3, Value("LBL"), Value(6)},
        {"the name matches exactly or not at all", Value("lbl"), Value(7), -1, 1, Value(""), Value(7)},
        {"an unlisted bin stays", Value("Lbl"), Value(3), 0, -1, Value("Lbl"), Value(3)},
        {"Null bin is the empty entry", Value::null(), Value::null(), -1, 0, Value(""), Value(0)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        storeMargins(567, 567, c.printer, c.bin);
        hb::fdlSetMgn &d = open();
        EXPECT_EQ(d.cmbDATA[0]->currentIndex(), c.printerShown);
        EXPECT_EQ(d.cmbDATA[1]->currentIndex(), c.feedShown);
        click(d.Command1[1]);
        settle();
        const StoredRow r = storedRow();
        EXPECT_EQ(r.printer, c.printerSaved);
        EXPECT_EQ(r.bin.toLong(), c.binSaved.toLong());
        EXPECT_DOUBLE_EQ(r.left.toDouble(), 567);
    }
    // A choice is stored as chosen.
    ASSERT_TRUE(saveWith([](hb::fdlSetMgn &d) {
        d.cmbDATA[0]->setCurrentIndex(1);
        d.cmbDATA[1]->setCurrentIndex(2);
    }));
    EXPECT_EQ(storedRow().printer, Value("LBL"));
    EXPECT_EQ(storedRow().bin.toLong(), 1);
}

TEST_F(MarginDialog, AFailedSaveChangesNothingAndKeepsTheDialogOpen)
{
    storeMargins(567, 567, Value("Lbl"), Value(7));
    for (const char *when : {"UPDATE", "INSERT"}) {
        SCOPED_TRACE(when);
        if (QLatin1String(when) == QLatin1String("INSERT"))
            hb::gINI->EXEC("DELETE FROM S_REP");
        hb::gINI->EXEC(QStringLiteral("CREATE TRIGGER refuse BEFORE %1 ON S_REP BEGIN SELECT RAISE(ABORT, 'refused'); END")
                           .arg(QLatin1String(when)));
        ui->prompts.clear();
        hb::fdlSetMgn &d = open();
        d.Text1[1]->setText(QStringLiteral("3"));
        click(d.Command1[1]);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.Text1[1]->text(), QStringLiteral("3"));
        ASSERT_EQ(ui->prompts.size(), 1u);
        EXPECT_EQ(ui->prompts[0].text, QStringLiteral("データの登録に失敗しました。"));
        EXPECT_EQ(ui->prompts[0].style, hb::kMsgExclamation);
        EXPECT_FALSE(hb::gINI->inTransaction());
        const StoredRow r = storedRow();
        if (QLatin1String(when) == QLatin1String("UPDATE")) {
            EXPECT_DOUBLE_EQ(r.left.toDouble(), 567);
            EXPECT_EQ(r.bin.toLong(), 7);
        } else {
            EXPECT_FALSE(r.found);
        }
        d.Unload();
        settle();
        hb::gINI->EXEC("DROP TRIGGER refuse");
    }
}

TEST_F(MarginDialog, CancelNeverWrites)
{
    hb::fdlSetMgn &d = open();
    d.Text1[1]->setText(QStringLiteral("4"));
    d.cmbDATA[0]->setCurrentIndex(0);
    click(d.Command1[0]);
    EXPECT_FALSE(d.isVisible());
    EXPECT_FALSE(storedRow().found);
}

// ---- 印刷ページ・部数設定 -----------------------------------------------------------------

class CopiesDialog : public PrintFixture {
protected:
    void SetUp() override
    {
        PrintFixture::SetUp();
        printLog = useFakePrinters({{QStringLiteral("Lbl")}});
        setTags(0, 5 * 24);
        hb::gPageCount = 5;
    }
    hb::fdlSetPrintCopy &open()
    {
        hb::fdlSetPrintCopy &d = hb::form<hb::fdlSetPrintCopy>();
        d.showModeless();
        EXPECT_TRUE(activate(&d));
        return d;
    }
    static bool grey(const QLineEdit *box)
    {
        return box->palette().color(QPalette::Base) == box->palette().color(QPalette::Button);
    }
    QStringList printedTitles() const
    {
        QStringList t;
        for (const FakeDocument &d : printLog->documents)
            t << d.title;
        return t;
    }
    // Chooses a page range and a number of copies.
    static void chooseRange(hb::fdlSetPrintCopy &d, const QString &first, const QString &last, const QString &copies)
    {
        d.Option1[1]->click();
        d.txtDATA[0]->setText(first);
        d.txtDATA[1]->setText(last);
        d.txtDATA[2]->setText(copies);
    }
    static QStringList sheets(std::initializer_list<int> pages)
    {
        QStringList t;
        for (int p : pages)
            t << QStringLiteral("農産物値札 %1ﾍﾟｰｼﾞ").arg(p);
        return t;
    }
};

TEST_F(CopiesDialog, OpensWithAllPagesAndTheRangeGreyed)
{
    hb::fdlSetPrintCopy &d = open();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("印刷"));
    EXPECT_TRUE(d.Option1[0]->isChecked());
    EXPECT_EQ(d.txtDATA[0]->text(), QStringLiteral("1"));
    EXPECT_EQ(d.txtDATA[1]->text(), QStringLiteral("5"));
    EXPECT_EQ(d.txtDATA[2]->text(), QStringLiteral("1"));
    EXPECT_EQ(d.txtPAGES->text(), QStringLiteral("5"));
    EXPECT_FALSE(d.txtPAGES->isEnabled());
    EXPECT_TRUE(savePicture(&d, picturePath(QStringLiteral("hb_setprintcopy.png"))));
    for (bool range : {false, true, false}) {
        SCOPED_TRACE(range);
        d.Option1[range ? 1 : 0]->click();
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(d.txtDATA[i]->isEnabled(), range);
            EXPECT_EQ(grey(d.txtDATA[i]), !range);
            EXPECT_EQ(d.rangeLabels[i]->isEnabled(), range);
        }
        EXPECT_EQ(d.txtDATA[1]->text(), QStringLiteral("5"));
    }
}

TEST_F(CopiesDialog, PrintsTheChosenPagesInTheChosenCopies)
{
    struct Case {
        const char *what;
        bool range;
        QString first, last, copies;
        QStringList printed;
        int copiesSent;
        bool closes;
    };
    const Case cases[] = {
        {"all pages", false, "2", "3", "1", sheets({1, 2, 3, 4, 5}), 1, true},
        {"2 to 4, three copies", true, "2", "4", "3", sheets({2, 3, 4}), 3, true},
        {"0 to 9 is clamped to 1 to 5", true, "0", "9", "1", sheets({1, 2, 3, 4, 5}), 1, true},
        {"4 to 2 prints nothing", true, "4", "2", "2", {}, 0, false},
        {"1.5 copies are 2", true, "5", "5", "1.5", sheets({5}), 2, true},
        {"abc copies are 1", true, "1", "1", "abc", sheets({1}), 1, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        printLog->documents.clear();
        hb::fdlSetPrintCopy &d = open();
        d.Option1[c.range ? 1 : 0]->click();
        d.txtDATA[0]->setText(c.first);
        d.txtDATA[1]->setText(c.last);
        d.txtDATA[2]->setText(c.copies);
        click(d.Command1[1]);
        EXPECT_EQ(printedTitles(), c.printed);
        for (const FakeDocument &doc : printLog->documents)
            EXPECT_EQ(doc.copies, c.copiesSent);
        EXPECT_EQ(hb::printer().copies(), 1);
        EXPECT_EQ(d.isVisible(), !c.closes);
        if (d.isVisible())
            d.Unload();
        settle();
    }
    EXPECT_TRUE(ui->prompts.empty());
}

TEST_F(CopiesDialog, NoPageToPrintKeepsTheDialogOpen)
{
    hb::gPageCount = 0;
    hb::fdlSetPrintCopy &d = open();
    click(d.Command1[1]);
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(printLog->documents.empty());
    click(d.Command1[0]);
    EXPECT_FALSE(d.isVisible());
}

TEST_F(CopiesDialog, TheCopyCountIsOneAgainWhenPrintingFails)
{
    int begun = 0;
    printLog->onBegin = [&](const QString &) {
        if (++begun == 2)
            throw hb::HbError(482, QStringLiteral("プリンタ エラーです。"));
    };
    hb::fdlSetPrintCopy &d = open();
    chooseRange(d, QStringLiteral("2"), QStringLiteral("4"), QStringLiteral("3"));
    click(d.Command1[1]);
    EXPECT_EQ(printedTitles(), sheets({2}));
    EXPECT_EQ(printLog->documents[0].copies, 3);
    EXPECT_EQ(hb::printer().copies(), 1);
    ASSERT_EQ(ui->prompts.size(), 1u);
    EXPECT_EQ(ui->prompts[0].text, QStringLiteral("(482)プリンタ エラーです。"));
    EXPECT_EQ(ui->prompts[0].style, hb::kMsgCritical);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(hb::AppTitle(), hb::kProgramTitle);
}

TEST_F(CopiesDialog, WithoutAPrinterEachSheetIsOneFileAndOneNoticeEndsThePrint)
{
    printLog = useFakePrinters();
    hb::fdlSetPrintCopy &d = open();
    chooseRange(d, QStringLiteral("2"), QStringLiteral("4"), QStringLiteral("3"));
    click(d.Command1[1]);
    EXPECT_FALSE(d.isVisible());
    const QStringList files = QDir(dir.path("pdf")).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(files, (QStringList{QStringLiteral("農産物値札 2ﾍﾟｰｼﾞ.pdf"), QStringLiteral("農産物値札 3ﾍﾟｰｼﾞ.pdf"),
                                  QStringLiteral("農産物値札 4ﾍﾟｰｼﾞ.pdf")}));
    ASSERT_EQ(ui->prompts.size(), 1u);
    EXPECT_TRUE(ui->prompts[0].text.startsWith(QStringLiteral("PDFファイルに出力しました。")));
    EXPECT_EQ(hb::printer().copies(), 1);
    // Each sheet's file is written once, whatever the copies.
    hb::printer().setCopies(3);
    const QStringList again = hb::PrintOnPrinter(hb::kPtagReport, 2, 4);
    hb::printer().setCopies(1);
    EXPECT_EQ(again.size(), 3);
    EXPECT_EQ(QSet<QString>(again.begin(), again.end()).size(), 3);
}

}  // namespace
