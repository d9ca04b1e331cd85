// A full sheet of price tags read back by a bar-code reader: drawn at 600 dpi on a picture and
// written as a PDF page, every EAN-13 and QR symbol of the 24 tags decodes to the tag's text.

#include "printing/printfixture.h"
#include "printing/printsetup.h"

#include <QFileInfo>

using namespace hbtest;

namespace {

// The margins of a label sheet: 0.6 cm from the left, 1.29 cm from the top.
constexpr double kLeft = 0.6 * 567;
constexpr double kTop = 1.29 * 567;

std::vector<hb::PtagLabelRec> labels(int n, const QString &productName = QStringLiteral("大根"))
{
    std::vector<hb::PtagLabelRec> out;
    for (int i = 0; i < n; ++i) {
        out.push_back(tagLabel(i));
        out.back().PRD_NM = productName;
    }
    return out;
}

void setLabels(const std::vector<hb::PtagLabelRec> &ls)
{
    std::vector<TagRow> rows;
    for (const auto &l : ls)
        rows.push_back({1, l});
    setTagRows(0, rows);
}

// The first dark pixel from the start of a line of pixels, or -1.
int firstDark(const QImage &img, bool alongRow, int at, int from, int to)
{
    for (int i = from; i < to; ++i) {
        const QColor c = alongRow ? img.pixelColor(i, at) : img.pixelColor(at, i);
        if (c.lightness() < 128)
            return i;
    }
    return -1;
}

class SheetDecode : public PrintFixture {
protected:
    // The PDF of sheet 1 where no printer is installed, as a picture at 600 dpi.
    QImage printedPdfPage()
    {
        storeMargins(kLeft, kTop);
        const QStringList files = hb::PrintOnPrinter(hb::kPtagReport, 1, 1);
        EXPECT_EQ(files.size(), 1);
        if (files.isEmpty())
            return QImage();
        QFile::remove(picturePath(QStringLiteral("hb_sheet.pdf")));
        QFile::copy(files.first(), picturePath(QStringLiteral("hb_sheet.pdf")));
        return pdfPage(files.first(), 600);
    }
};

TEST_F(SheetDecode, EverySymbolOfTheSheetReadsBackFromThePictureAndThePdf)
{
    REQUIRE_READER();
    if (!haveTool("pdftoppm"))
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    const auto tags = labels(24);
    setLabels(tags);
    source.frame = false;

    const QImage picture = renderSheet(1, 600, static_cast<float>(kLeft), static_cast<float>(kTop));
    picture.save(picturePath(QStringLiteral("hb_sheet_600dpi.png")));
    const QImage pdf = printedPdfPage();
    ASSERT_FALSE(pdf.isNull());
    pdf.save(picturePath(QStringLiteral("hb_sheet_pdf_600dpi.png")));

    const auto found = readSymbols({picture, pdf});
    ASSERT_EQ(found.size(), 2u);
    const QStringList expected = expectedSymbols(tags);
    ASSERT_EQ(expected.size(), 48);
    EXPECT_EQ(found[0].join('\n').toStdString(), expected.join('\n').toStdString());
    EXPECT_EQ(found[1].join('\n').toStdString(), expected.join('\n').toStdString());
}

TEST_F(SheetDecode, TheFirstOutlineStandsAtTheMarginsOnThePdfPage)
{
    if (!haveTool("pdftoppm"))
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    setLabels(labels(24));
    source.frame = true;
    const QImage page = printedPdfPage();
    ASSERT_FALSE(page.isNull());
    // The catalogue's paper (595.3 x 841.9 points) at 600 dpi.
    EXPECT_NEAR(page.width(), 4961, 2);
    EXPECT_NEAR(page.height(), 7016, 2);
    // Across the middle of the first tag, and down through it.
    const int midRow = qRound((kTop + hb::kTagPitchY / 2) * 600 / 1440);
    const int midColumn = qRound((kLeft + 1000) * 600 / 1440);
    EXPECT_NEAR(firstDark(page, true, midRow, 0, 400), 142, 1);
    EXPECT_NEAR(firstDark(page, false, midColumn, 0, 500), 305, 1);
}

// A product name that fills its box runs under the QR symbol: the symbol still reads.
TEST_F(SheetDecode, ALongProductNameLeavesTheSymbolsReadable)
{
    REQUIRE_READER();
    const QString longName = QStringLiteral("あいうえおかきくけこさしすせそたちつてと");
    ASSERT_EQ(longName.size(), 20);
    const auto tags = labels(24, longName);
    setLabels(tags);
    for (const bool frame : {false, true}) {
        SCOPED_TRACE(frame ? "frame on" : "frame off");
        source.frame = frame;
        hb::RenderModel model;
        const QImage picture = renderSheet(1, 600, static_cast<float>(kLeft), static_cast<float>(kTop), &model);
        picture.copy(0, 0, 2000, 1200)
            .save(picturePath(frame ? QStringLiteral("hb_sheet_long_name_frame.png")
                                    : QStringLiteral("hb_sheet_long_name.png")));
        // The name was fitted into its box.
        for (const hb::RenderItem &item : model.items) {
            if (item.kind == hb::RenderItem::Kind::Text && item.text.endsWith(longName)) {
                EXPECT_LE(item.rect.width(), 3402.0 - 28 + 1e-6);
            }
        }
        const auto found = readSymbols({picture});
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].join('\n').toStdString(), expectedSymbols(tags).join('\n').toStdString());
    }
}

}  // namespace
