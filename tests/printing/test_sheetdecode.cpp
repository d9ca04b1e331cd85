// Full sheets of price tags read back: drawn at 600 dpi on a picture and written as PDF pages,
// every EAN-13 and QR symbol decodes to the tag's text; the texts print at the sizes the sheet
// was laid out for, their ink meets no other item's on the PDF's raster, and the PDF's text layer
// gives back the texts as stored.

#include "printing/printfixture.h"
#include "printing/printsetup.h"

#include <QFileInfo>
#include <QFontInfo>
#include <map>
#include <set>

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

// Short and long texts, each fitting its box at the size it asks for, in turn on n tags; the
// kanji whose PDF text once read back as radicals among them.
std::vector<hb::PtagLabelRec> variedLabels(int n)
{
    struct Texts {
        const char *grower, *phone, *product, *place;
        double price;
    };
    const Texts table[] = {
        {"山田太郎", "12-3456", "大根", "長野", 100},
        {"白石長子", "", "白菜", "山形", 1200},
        {"大子町白田長生農園", "", "子持ち高菜漬け", "大子", 12345},
        {"生田", "090-1234-5678", "生しいたけ(大)", "生", 5},
        {"長田子", "0263-12-3456", "山東菜と白菜の子株", "", 98765},
    };
    std::vector<hb::PtagLabelRec> out;
    for (int i = 0; i < n; ++i) {
        const Texts &t = table[i % std::size(table)];
        hb::PtagLabelRec l = tagLabel(i);
        l.FMR_NM = QString::fromUtf8(t.grower);
        l.TEL_NO_S = QString::fromUtf8(t.phone);
        l.PRD_NM = QString::fromUtf8(t.product);
        l.LOCATE = QString::fromUtf8(t.place);
        l.SHOP_PRC = hb::Currency::fromDouble(t.price);
        out.push_back(l);
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

// The least size each text of a tag prints at, and whether it is bold. The caption "価格: " is
// held by its box's width: 11 points of it are wider than 567 twips less the margins.
struct TextSize {
    const char *what;
    double atLeast;
    bool bold;
};
TextSize sizeOf(const QString &text)
{
    if (text.startsWith(QStringLiteral("生産者：")))
        return {"producer", 9, false};
    if (text.startsWith(QStringLiteral("品名：")))
        return {"product", 11, false};
    if (text == QStringLiteral("価格: "))
        return {"caption", 10.25, false};
    if (text.startsWith(QStringLiteral("￥")))
        return {"price", 14.75, true};
    if (text.endsWith(QStringLiteral("産")))
        return {"origin", 8.25, false};
    if (text.size() == 1 && text.at(0).isDigit())
        return {"digit", 6.25, false};
    return {"unknown", 1e9, false};
}

// A tag's part of a page at `dpi`, with the reach of its QR symbol past the tag's right edge.
QRect tagArea(const QImage &page, const hb::RenderTag &tag, double dpi)
{
    const double scale = dpi / 1440.0;
    return QRectF(tag.corner * scale, QSizeF(hb::kTagPitchX + 60, hb::kTagPitchY) * scale).toAlignedRect() & page.rect();
}

// The items of a tag whose ink meets on a page at `dpi`, and the page's dark pixels of the tag
// that no item's ink explains. Each item of the tag is painted alone to find its ink (the bars
// and the digits of the bar code are one item); a dark pixel of the page is explained by ink
// within 3 pixels (the PDF's synthesized bold of the price is a little wider than a picture's).
struct Ink {
    std::set<QString> meeting;
    int unexplained = 0;
};
Ink inkOf(const QImage &page, const hb::RenderModel &model, const hb::RenderTag &tag, double dpi)
{
    const double scale = dpi / 1440.0;
    const QRect area = tagArea(page, tag, dpi);
    std::map<QString, std::vector<hb::RenderItem>> items;
    for (const hb::RenderItem &item : model.itemsOf(tag)) {
        const bool barCode = item.kind == hb::RenderItem::Kind::FilledBox || sizeOf(item.text).what == std::string("digit");
        items[barCode ? QStringLiteral("bar code") : item.kind == hb::RenderItem::Kind::Box ? QStringLiteral("box") : item.text]
            .push_back(item);
    }
    std::vector<const QString *> owner(static_cast<size_t>(area.width() * area.height()), nullptr);
    const auto at = [&](int x, int y) -> const QString *& { return owner[static_cast<size_t>(y * area.width() + x)]; };
    Ink ink;
    for (const auto &[name, group] : items) {
        QRectF bound;
        for (const hb::RenderItem &item : group)
            bound |= QRectF(item.rect.topLeft() * scale, item.rect.size() * scale);
        const QRect box = bound.toAlignedRect().adjusted(-3, -3, 3, 3) & area;
        QImage alone(box.size(), QImage::Format_RGB32);
        alone.fill(Qt::white);
        QPainter p(&alone);
        p.translate(-box.topLeft());
        p.scale(scale, scale);
        for (const hb::RenderItem &item : group)
            hb::Canvas::paintItem(p, item);
        p.end();
        for (int y = 0; y < box.height(); ++y)
            for (int x = 0; x < box.width(); ++x) {
                if (qGray(alone.pixel(x, y)) >= 128)
                    continue;
                const QString *&o = at(box.x() - area.x() + x, box.y() - area.y() + y);
                if (o && o != &name)
                    ink.meeting.insert(*o + QStringLiteral(" / ") + name);
                o = &name;
            }
    }
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x) {
            if (qGray(page.pixel(area.x() + x, area.y() + y)) >= 128)
                continue;
            bool explained = false;
            for (int v = std::max(0, y - 3); v <= std::min(area.height() - 1, y + 3) && !explained; ++v)
                for (int u = std::max(0, x - 3); u <= std::min(area.width() - 1, x + 3) && !explained; ++u)
                    explained = at(u, v) != nullptr;
            ink.unexplained += explained ? 0 : 1;
        }
    return ink;
}

class SheetDecode : public PrintFixture {
protected:
    // The PDF files of the sheets where no printer is installed; the last one kept to look at.
    QStringList printedPdfs(int fromPage, int toPage)
    {
        storeMargins(kLeft, kTop);
        const QStringList files = hb::PrintOnPrinter(hb::kPtagReport, fromPage, toPage);
        EXPECT_EQ(files.size(), toPage - fromPage + 1);
        if (!files.isEmpty()) {
            QFile::remove(picturePath(QStringLiteral("hb_sheet.pdf")));
            QFile::copy(files.first(), picturePath(QStringLiteral("hb_sheet.pdf")));
        }
        return files;
    }
    // Sheet 1 as a PDF page at 600 dpi.
    QImage printedPdfPage()
    {
        const QStringList files = printedPdfs(1, 1);
        return files.isEmpty() ? QImage() : pdfPage(files.first(), 600);
    }
};

// 25 tags with long and short texts on two sheets: the sizes the render model holds, the ink on
// each PDF page at 300 dpi, the PDF's text and faces, and every symbol read back.
TEST_F(SheetDecode, FullSheetsPrintAtTheirSizesAndReadBack)
{
    REQUIRE_READER();
    if (!haveTool("pdftoppm") || !haveTool("pdftotext") || !haveTool("pdffonts"))
        GTEST_SKIP() << "poppler-utils is not installed";
    const auto tags = variedLabels(25);
    setLabels(tags);
    source.frame = false;

    const QImage picture = renderSheet(1, 600, static_cast<float>(kLeft), static_cast<float>(kTop));
    picture.save(picturePath(QStringLiteral("hb_sheet_600dpi.png")));
    const QStringList pdfs = printedPdfs(1, 2);
    ASSERT_EQ(pdfs.size(), 2);
    std::vector<QImage> pages;
    for (const QString &pdf : pdfs) {
        pages.push_back(pdfPage(pdf, 300));
        ASSERT_FALSE(pages.back().isNull());
    }
    pages[0].save(picturePath(QStringLiteral("hb_sheet_pdf_300dpi.png")));
    std::vector<hb::RenderModel> models(2);
    for (int sheet = 1; sheet <= 2; ++sheet)
        renderSheet(sheet, 30, static_cast<float>(kLeft), static_cast<float>(kTop), &models[sheet - 1]);

    // The picture whole; on the PDF pages each tag on its own, as the reader of a shop sees it.
    std::vector<QImage> pictures{picture};
    for (size_t s = 0; s < 2; ++s)
        for (const hb::RenderTag &tag : models[s].tags)
            pictures.push_back(pages[s].copy(tagArea(pages[s], tag, 300)));
    ASSERT_EQ(pictures.size(), 26u);
    const auto found = readSymbols(pictures);
    ASSERT_EQ(found.size(), 26u);
    EXPECT_EQ(found[0].join('\n').toStdString(),
              expectedSymbols({tags.begin(), tags.begin() + 24}).join('\n').toStdString());
    for (size_t i = 0; i < 25; ++i)
        EXPECT_EQ(found[i + 1], expectedSymbols({tags[i]})) << "tag " << i;

    for (int sheet = 1; sheet <= 2; ++sheet) {
        SCOPED_TRACE(sheet);
        const QString pdf = pdfs[sheet - 1];
        const hb::RenderModel &model = models[sheet - 1];
        ASSERT_EQ(model.tags.size(), sheet == 1 ? 24u : 1u);
        const QString text = toolOutput(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")});
        qsizetype at = 0;
        for (const hb::RenderTag &tag : model.tags) {
            for (const hb::RenderItem &item : model.itemsOf(tag)) {
                if (item.kind != hb::RenderItem::Kind::Text)
                    continue;
                const TextSize size = sizeOf(item.text);
                SCOPED_TRACE(item.text.toStdString());
                EXPECT_GE(item.fontSize, size.atLeast) << size.what;
                EXPECT_EQ(item.bold, size.bold) << size.what;
                // The texts of each tag in the order drawn; of the price, its digits (the face
                // shares one glyph between the two yen signs).
                if (size.what == std::string("digit") || size.what == std::string("caption"))
                    continue;
                const QString wanted = size.what == std::string("price") ? item.text.mid(1) : item.text;
                at = text.indexOf(wanted, at);
                ASSERT_GE(at, 0) << text.toStdString();
            }
            const Ink ink = inkOf(pages[sheet - 1], model, tag, 300);
            EXPECT_TRUE(ink.meeting.empty()) << QStringList(ink.meeting.begin(), ink.meeting.end()).join(QLatin1Char('|')).toStdString();
            EXPECT_EQ(ink.unexplained, 0);
        }
        // The face is embedded, and no other.
        const QStringList faces =
            toolOutput(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
        ASSERT_FALSE(faces.isEmpty());
        for (const QString &face : faces)
            EXPECT_TRUE(face.section(QLatin1Char(' '), 0, 0).endsWith(QStringLiteral("IPAPGothic"))) << face.toStdString();
    }
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
