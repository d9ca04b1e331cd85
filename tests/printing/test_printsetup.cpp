// Preparing the printer for a report, on fake printers: the stored printer, the physical offsets,
// orientation and paper bin; and the printer where none is installed.

#include "printing/printfixture.h"
#include "printing/printsetup.h"

using namespace hbtest;
using hb::Value;

namespace {

class PrintSetup : public PrintFixture {
protected:
    static QString current() { return hb::printer().device().deviceName(); }
};

TEST_F(PrintSetup, TheStoredPrinterIsChosenWithoutRegardToLetterCase)
{
    struct Case {
        const char *what;
        Value stored;
        QStringList installed;
        QString defaultName;
        QString chosen;
    };
    const QStringList lbl = {QStringLiteral("Lbl"), QStringLiteral("LBL")};
    const Case cases[] = {
        {"lower case finds the first listed", Value("lbl"), lbl, QString(), QStringLiteral("Lbl")},
        {"upper case too", Value("LBL"), lbl, QStringLiteral("LBL"), QStringLiteral("Lbl")},
        {"an empty name never matches", Value(""), lbl, QStringLiteral("LBL"), QStringLiteral("LBL")},
        {"Null is empty", Value::null(), lbl, QStringLiteral("LBL"), QStringLiteral("LBL")},
        {"no match: the default", Value("gone"), {QStringLiteral("A"), QStringLiteral("B")}, QStringLiteral("B"),
         QStringLiteral("B")},
        {"no default, no match: the first listed", Value("gone"), lbl, QString(), QStringLiteral("Lbl")},
        {"a default not listed counts as none", Value("gone"), lbl, QStringLiteral("Other"), QStringLiteral("Lbl")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<FakePrinters::Printer> list;
        for (const QString &n : c.installed)
            list.push_back({n});
        printLog = useFakePrinters(list, c.defaultName);
        storeMargins(0, 0, c.stored);
        EXPECT_EQ(hb::SetRepPrinter(hb::kPtagReport), 0);
        EXPECT_EQ(current(), c.chosen);
    }
    // The choice lasts for the run: a report without a printer keeps it.
    printLog = useFakePrinters({{QStringLiteral("A")}, {QStringLiteral("B")}}, QStringLiteral("A"));
    storeMargins(0, 0, Value("b"));
    hb::SetRepPrinter(hb::kPtagReport);
    storeMargins(0, 0, Value(""));
    hb::SetRepPrinter(hb::kPtagReport);
    EXPECT_EQ(current(), QStringLiteral("B"));
}

TEST_F(PrintSetup, OffsetsAreWholeMillimetresInTwips)
{
    struct Case {
        const char *what;
        hb::DeviceCaps caps;
        long x, y;
    };
    const Case cases[] = {
        {"100 px at 600 dpi: 4 mm", {true, 600, 600, 100, 100}, 227, 227},
        {"5 mm: 283.5 to the even 284", {true, 254, 254, 50, 50}, 284, 284},
        {"15 mm: 850.5 to the even 850", {true, 254, 254, 150, 150}, 850, 850},
        {"4.5 mm rounds up to 5", {true, 254, 254, 45, 0}, 284, 0},
        {"across and down apart", {true, 300, 600, 59, 0}, 284, 0},
        {"no device context", {false, 600, 600, 100, 100}, 7, 9},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        printLog = useFakePrinters({{QStringLiteral("P"), c.caps}});
        long x = 7;
        long y = 9;
        hb::GetPrinterOffset(x, y);
        EXPECT_EQ(x, c.x);
        EXPECT_EQ(y, c.y);
    }
    // Where no printer is installed the PDF stands in: no offsets.
    printLog = useFakePrinters();
    long x = 7;
    long y = 9;
    hb::GetPrinterOffset(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

// The sheet's corners on the printer are the margins less the offsets: the paper's edge counts.
TEST_F(PrintSetup, ThePrintedSheetIsPlacedFromThePapersEdge)
{
    printLog = useFakePrinters({{QStringLiteral("P"), {true, 600, 600, 100, 100}}});
    storeMargins(850.5, 567);
    setTags(0, 1);
    hb::PrintOnPrinter(hb::kPtagReport, 1, 1);
    ASSERT_EQ(printLog->documents.size(), 1u);
    const QImage &page = printLog->documents[0].page;
    // The bar code's left guard: 850.5 - 227 + 170.1 + 24 modules of 12 twips, at 600 dpi.
    const double guardX = (850.5 - 227 + 170.1 + 24 * 12 + 6) * 600 / 1440;
    const double guardY = (567 - 227 + 1134 + 300) * 600 / 1440;
    EXPECT_LT(page.pixelColor(qRound(guardX), qRound(guardY)).lightness(), 128);
    EXPECT_GT(page.pixelColor(qRound(guardX - 12 * 600 / 1440.0), qRound(guardY)).lightness(), 128);
}

TEST_F(PrintSetup, OrientationAndBinFollowTheReport)
{
    printLog = useFakePrinters({{QStringLiteral("P")}});
    struct Case {
        Value orientation;
        Value bin;
        std::vector<int> orientationsSet;
        std::vector<int> binsSet;
    };
    const Case cases[] = {
        {Value(2), Value(6), {2}, {6}},   {Value(1), Value(7), {1}, {7}},  {Value::null(), Value::null(), {}, {}},
        {Value(0), Value(0), {}, {}},     {Value(3), Value(-1), {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.orientation.displayText().toStdString() + "/" + c.bin.displayText().toStdString());
        printLog->orientationsSet.clear();
        printLog->binsSet.clear();
        hb::gWork->EXEC("UPDATE L_REP SET ORIENTATION=? WHERE REP_ID=10", {c.orientation});
        storeMargins(0, 0, Value(""), c.bin);
        hb::SetPrinterPaper();
        std::vector<int> o;
        std::vector<int> b;
        for (const auto &e : printLog->orientationsSet)
            o.push_back(e.second);
        for (const auto &e : printLog->binsSet)
            b.push_back(e.second);
        EXPECT_EQ(o, c.orientationsSet);
        EXPECT_EQ(b, c.binsSet);
    }
    EXPECT_EQ(hb::printer().device().orientation(), 1);
}

TEST_F(PrintSetup, PaperSetUpFailuresLeaveThePrintingGoingOn)
{
    printLog = useFakePrinters({{QStringLiteral("P")}});
    hb::gWork->EXEC("UPDATE L_REP SET ORIENTATION=2 WHERE REP_ID=10");
    hb::gINI->EXEC("DROP TABLE S_REP");
    EXPECT_NO_THROW(hb::SetPrinterPaper());
    EXPECT_EQ(hb::printer().device().orientation(), 2);
    EXPECT_TRUE(printLog->binsSet.empty());
}

// Each sheet is a document of its own; a sheet with nothing on it is none.
TEST_F(PrintSetup, ASheetIsADocumentAndAnEmptySheetIsNone)
{
    printLog = useFakePrinters({{QStringLiteral("P")}});
    setTags(30, 10);
    hb::PrintOnPrinter(hb::kPtagReport, 1, 3);
    ASSERT_EQ(printLog->documents.size(), 1u);
    EXPECT_EQ(printLog->documents[0].title, QStringLiteral("農産物値札 2ﾍﾟｰｼﾞ"));
    setTags(0, 50);
    printLog->documents.clear();
    hb::PrintOnPrinter(hb::kPtagReport, 1, 4);
    QStringList titles;
    for (const FakeDocument &d : printLog->documents)
        titles << d.title;
    EXPECT_EQ(titles, (QStringList{QStringLiteral("農産物値札 1ﾍﾟｰｼﾞ"), QStringLiteral("農産物値札 2ﾍﾟｰｼﾞ"),
                                   QStringLiteral("農産物値札 3ﾍﾟｰｼﾞ")}));
}

}  // namespace
