// The price-tag sheet as its canvas recorded it: where each tag stands, what it carries, what
// the skip count and the label counts make of a print, and the fitting of texts into boxes.

#include "printing/printfixture.h"
#include "printing/printsetup.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <algorithm>

using namespace hbtest;

namespace {

hb::RenderModel drawPage(int page, float x = 0, float y = 0)
{
    hb::RenderModel model;
    renderSheet(page, 30, x, y, &model);
    return model;
}

const hb::RenderItem *textStarting(const std::vector<hb::RenderItem> &items, const QString &start)
{
    for (const hb::RenderItem &i : items)
        if (i.kind == hb::RenderItem::Kind::Text && i.text.startsWith(start))
            return &i;
    return nullptr;
}

int countKind(const std::vector<hb::RenderItem> &items, hb::RenderItem::Kind kind, const QString &name = QString())
{
    return static_cast<int>(std::count_if(items.begin(), items.end(), [&](const hb::RenderItem &i) {
        return i.kind == kind && (name.isNull() || i.text == name);
    }));
}

class Sheet : public PrintFixture {};

TEST_F(Sheet, TagsFillTheColumnsOneAfterTheOther)
{
    setTags(0, 24);
    const hb::RenderModel m = drawPage(1);
    ASSERT_EQ(m.tags.size(), 24u);
    struct Case {
        int position;
        double x, y;
    };
    const Case cases[] = {{0, 0, 0}, {7, 0, 13454.91}, {8, 3742.2, 0}, {23, 7484.4, 13454.91}, {15, 3742.2, 13454.91}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.position);
        EXPECT_NEAR(m.tags[c.position].corner.x(), c.x, 1e-3);
        EXPECT_NEAR(m.tags[c.position].corner.y(), c.y, 1e-3);
    }
    // The origin is the sheet's top-left corner.
    const hb::RenderModel moved = drawPage(1, 340.2f, 731.43f);
    EXPECT_NEAR(moved.tags[23].corner.x(), 340.2 + 7484.4, 1e-2);
    EXPECT_NEAR(moved.tags[23].corner.y(), 731.43 + 13454.91, 1e-2);
}

TEST_F(Sheet, SkipAndLabelCountsPlaceTheTags)
{
    struct Case {
        const char *what;
        int skip;
        std::vector<long> counts;  // labels of each row
        int page;
        std::vector<int> positions;
        std::vector<int> rowOfTag;  // which row's label each tag carries
    };
    const Case cases[] = {
        {"counts 2, 0, 1", 0, {2, 0, 1}, 1, {0, 1, 2}, {0, 0, 2}},
        {"skip 5, 3 tags", 5, {1, 1, 1}, 1, {5, 6, 7}, {0, 1, 2}},
        {"skip 30, 10 tags: sheet 1", 30, {10}, 1, {}, {}},
        {"skip 30, 10 tags: sheet 2", 30, {10}, 2, {6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"25 tags: sheet 2", 0, {25}, 2, {0}, {0}},
        {"25 tags: sheet 3", 0, {25}, 3, {}, {}},
        {"a negative count prints none", 0, {-3, 2}, 1, {0, 1}, {1, 1}},
        {"a negative skip counts as 0", -4, {2}, 1, {0, 1}, {0, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<TagRow> rows;
        for (size_t r = 0; r < c.counts.size(); ++r)
            rows.push_back({c.counts[r], tagLabel(static_cast<int>(r))});
        setTagRows(c.skip, rows);
        const hb::RenderModel m = drawPage(c.page);
        EXPECT_EQ(tagPositions(m), c.positions);
        for (size_t t = 0; t < m.tags.size() && t < c.rowOfTag.size(); ++t) {
            const QString code = tagLabel(c.rowOfTag[t]).JAN_CD;
            EXPECT_TRUE(texts(m.itemsOf(m.tags[t])).join(QString()).contains(code.mid(1, 6))) << t;
        }
    }
}

TEST_F(Sheet, RowsThatAreNoShipmentOrHaveNoCodeGiveNoTag)
{
    hb::PtagLabelRec noCode = tagLabel(1);
    noCode.JAN_CD.clear();
    setTagRows(0, {{5, tagLabel(0), 0}, {5, noCode}, {1, tagLabel(2)}});
    EXPECT_EQ(tagPositions(drawPage(1)), std::vector<int>{0});
    EXPECT_EQ(hb::gPtagLabel.size(), 1u);
}

TEST_F(Sheet, EachTagCarriesItsTexts)
{
    struct Case {
        double price;
        QString phone;
        QString locate;
        QString priceText;
        QString producer;
    };
    const Case cases[] = {
        {1200, QStringLiteral("090-1"), QStringLiteral("信州"), QStringLiteral("￥１，２００"), QStringLiteral("生産者：山田農園(090-1)")},
        {0, QString(), QString(), QStringLiteral("￥０"), QStringLiteral("生産者：山田農園")},
        {12345, QString(), QStringLiteral("北海道"), QStringLiteral("￥１２，３４５"), QStringLiteral("生産者：山田農園")},
        {1234567, QString(), QString(), QStringLiteral("￥１，２３４，５６７"), QStringLiteral("生産者：山田農園")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.priceText.toStdString());
        hb::PtagLabelRec l = tagLabel(3);
        l.SHOP_PRC = hb::Currency::fromDouble(c.price);
        l.TEL_NO_S = c.phone;
        l.LOCATE = c.locate;
        setTagRows(0, {{1, l}});
        const hb::RenderModel m = drawPage(1);
        ASSERT_EQ(m.tags.size(), 1u);
        const auto items = m.itemsOf(m.tags[0]);
        const QStringList t = texts(items);
        EXPECT_TRUE(t.contains(c.producer)) << t.join(QLatin1Char('|')).toStdString();
        EXPECT_TRUE(t.contains(QStringLiteral("品名：大根")));
        EXPECT_TRUE(t.contains(QStringLiteral("価格: ")));
        const hb::RenderItem *price = textStarting(items, QStringLiteral("￥"));
        ASSERT_NE(price, nullptr);
        EXPECT_EQ(price->text, c.priceText);
        EXPECT_TRUE(price->bold);
        // On the preview's picture (a scaled painter) the price shows bold, as on paper.
        const auto ink = [&](bool bold) {
            hb::RenderItem item = *price;
            item.font.setBold(bold);
            QImage pic(price->rect.size().toSize() / 10 + QSize(8, 8), QImage::Format_RGB32);
            pic.fill(Qt::white);
            QPainter p(&pic);
            p.scale(0.1, 0.1);
            p.translate(-price->rect.topLeft());
            hb::Canvas::paintItem(p, item);
            p.end();
            int n = 0;
            for (int y = 0; y < pic.height(); ++y)
                for (int x = 0; x < pic.width(); ++x)
                    n += qGray(pic.pixel(x, y)) < 128;
            return n;
        };
        EXPECT_GT(ink(true), ink(false) * 1.2);
        const hb::RenderItem *origin = textStarting(items, c.locate.isEmpty() ? QStringLiteral("\x01") : c.locate);
        if (c.locate.isEmpty()) {
            EXPECT_FALSE(std::any_of(t.begin(), t.end(), [](const QString &s) { return s.endsWith(QStringLiteral("産")) && !s.startsWith(QStringLiteral("生産者")); }));
        } else {
            ASSERT_NE(origin, nullptr);
            EXPECT_EQ(origin->text, c.locate + QStringLiteral("産"));
            // Right-aligned: it ends 28 twips inside its box.
            EXPECT_NEAR(origin->rect.right(), 2494.8 + 623.7 - 28, 1e-6);
        }
        // Only the price is bold.
        EXPECT_EQ(std::count_if(items.begin(), items.end(), [](const hb::RenderItem &i) { return i.bold; }), 1);
    }
}

TEST_F(Sheet, PicturesAndSymbolsStandWhereTheTagHasThem)
{
    hb::PtagLabelRec plastic = tagLabel(0);
    plastic.PLAS = true;
    hb::PtagLabelRec badCode = tagLabel(1);
    badCode.PLAS = false;
    badCode.JAN_CD = QStringLiteral("49012345678");  // not 13 digits: no bar code, the rest drawn
    setTagRows(0, {{1, plastic}, {1, badCode}});
    const hb::RenderModel m = drawPage(1);
    ASSERT_EQ(m.tags.size(), 2u);
    const auto first = m.itemsOf(m.tags[0]);
    const auto second = m.itemsOf(m.tags[1]);
    struct Picture {
        const char *name;
        QRectF rect;
    };
    for (const Picture &p : {Picture{"LOGO", {170.1, 56.7, 2268, 226.8}}, Picture{"QR", {2948.4, 56.7, 850, 850}},
                             Picture{"PURA", {3231.9, 793.8, 340.2, 289.17}}}) {
        SCOPED_TRACE(p.name);
        const auto it = std::find_if(first.begin(), first.end(), [&](const hb::RenderItem &i) {
            return i.kind == hb::RenderItem::Kind::Picture && i.text == QLatin1String(p.name);
        });
        ASSERT_NE(it, first.end());
        EXPECT_NEAR(it->rect.x(), p.rect.x(), 1e-6);
        EXPECT_NEAR(it->rect.y(), p.rect.y(), 1e-6);
        EXPECT_NEAR(it->rect.width(), p.rect.width(), 1e-6);
        EXPECT_NEAR(it->rect.height(), p.rect.height(), 1e-6);
    }
    EXPECT_EQ(countKind(second, hb::RenderItem::Kind::Picture, QStringLiteral("PURA")), 0);
    // The bar code's bars and its 13 digits; none on the tag whose code is refused.
    EXPECT_GT(countKind(first, hb::RenderItem::Kind::FilledBox), 20);
    EXPECT_EQ(countKind(second, hb::RenderItem::Kind::FilledBox), 0);
    EXPECT_TRUE(texts(second).contains(QStringLiteral("品名：大根")));
    // The empty box on every tag.
    for (size_t t = 0; t < 2; ++t) {
        const auto items = m.itemsOf(m.tags[t]);
        const auto box = std::find_if(items.begin(), items.end(),
                                      [](const hb::RenderItem &i) { return i.kind == hb::RenderItem::Kind::Box; });
        ASSERT_NE(box, items.end());
        EXPECT_NEAR(box->rect.left() - m.tags[t].corner.x(), 2041.2, 1e-3);
        EXPECT_NEAR(box->rect.bottom() - m.tags[t].corner.y(), 1814.4, 1e-3);
    }
}

TEST_F(Sheet, OutlinesOnlyOnDrawnTagsWhenTheFrameOptionIsSet)
{
    setTagRows(2, {{3, tagLabel(0)}});
    for (const bool frame : {false, true}) {
        SCOPED_TRACE(frame);
        source.frame = frame;
        const hb::RenderModel m = drawPage(1);
        std::vector<QRectF> outlines;
        for (const hb::RenderItem &i : m.items)
            if (i.kind == hb::RenderItem::Kind::Box && std::abs(i.rect.width() - hb::kTagPitchX) < 1e-3)
                outlines.push_back(i.rect);
        ASSERT_EQ(outlines.size(), frame ? 3u : 0u);
        for (size_t k = 0; k < outlines.size(); ++k) {
            EXPECT_NEAR(outlines[k].top(), (2 + k) * hb::kTagPitchY, 1e-2);
            EXPECT_NEAR(outlines[k].height(), hb::kTagPitchY, 1e-3);
        }
    }
}

TEST_F(Sheet, PageZeroOrLessChangesNothing)
{
    setTags(0, 3);
    hb::gPtagLabel.assign(7, hb::PtagLabelRec());
    for (int page : {0, -1}) {
        hb::setAppTitle(QStringLiteral("before"));
        EXPECT_TRUE(drawPage(page).items.empty());
        EXPECT_EQ(hb::AppTitle(), QStringLiteral("before"));
        EXPECT_EQ(hb::gPtagLabel.size(), 7u);
    }
    hb::setAppTitle(hb::kProgramTitle);
}

TEST_F(Sheet, NoPriceTagDataBeforeAnyBuildDrawsNothing)
{
    hb::gPtagData.assign(1, hb::PtagDataRec());  // as at the start
    const hb::RenderModel m = drawPage(1);
    EXPECT_TRUE(m.items.empty());
    EXPECT_EQ(hb::AppTitle(), hb::kProgramTitle);
}

// The title names the sheet while it is drawn, and is the program's title after it, on the
// printer as on failure.
TEST_F(Sheet, TitleNamesTheSheetWhileItIsDrawn)
{
    printLog = useFakePrinters({{QStringLiteral("Lbl")}});
    setTags(0, 30);
    QStringList titles;
    printLog->onBegin = [&](const QString &title) { titles << title << hb::AppTitle(); };
    hb::PrintOnPrinter(hb::kPtagReport, 2, 2);
    EXPECT_EQ(titles, (QStringList{QStringLiteral("農産物値札 2ﾍﾟｰｼﾞ"), QStringLiteral("農産物値札 2ﾍﾟｰｼﾞ")}));
    EXPECT_EQ(hb::AppTitle(), hb::kProgramTitle);

    printLog->onBegin = [](const QString &) { throw hb::HbError(482, QStringLiteral("プリンタ エラーです。")); };
    EXPECT_THROW(hb::PrintOnPrinter(hb::kPtagReport, 1, 1), hb::HbError);
    EXPECT_EQ(hb::AppTitle(), hb::kProgramTitle);
    EXPECT_EQ(printLog->documents.size(), 1u);
}

// Input that arrives while a sheet is drawn waits until the sheet is done.
TEST_F(Sheet, InputPostedWhileDrawingRunsAfterTheSheet)
{
    struct Receiver : QObject {
        int seen = 0;
        bool event(QEvent *e) override
        {
            if (e->type() != QEvent::User)
                return QObject::event(e);
            ++seen;
            return true;
        }
    } receiver;
    // The sheet asks for the frame option once a tag: each time a click arrives.
    struct Posting : TestSheetSource {
        Receiver *receiver = nullptr;
        std::vector<int> seenWhileDrawing;
        bool frameOn() override
        {
            seenWhileDrawing.push_back(receiver->seen);
            QCoreApplication::postEvent(receiver, new QEvent(QEvent::User));
            return false;
        }
    } posting;
    posting.receiver = &receiver;
    printLog = useFakePrinters({{QStringLiteral("Lbl")}});
    setTags(0, 24);
    hb::PrintOnPrinter(hb::kPtagReport, 1, 1);
    EXPECT_EQ(posting.seenWhileDrawing, std::vector<int>(24, 0));
    EXPECT_EQ(printLog->documents.size(), 1u);
    QCoreApplication::sendPostedEvents(&receiver, QEvent::User);
    EXPECT_EQ(receiver.seen, 24);
}

TEST_F(Sheet, FittedTextsStayInTheirBoxes)
{
    struct Case {
        const char *what;
        QString text;
        long align;
        long size;
        double box;
        double fitted;  // the size printed: the sheet's face is 1.08 em high
    };
    const Case cases[] = {
        {"left", QStringLiteral("品名：大根"), 0, 12, 3402, 11},
        {"right", QStringLiteral("信州産"), 1, 9, 623.7, 8.25},
        {"centred", QStringLiteral("中央"), 2, 12, 2000, 11},
        {"too long", QStringLiteral("品名：") + QString(40, QChar(0x3042)), 0, 12, 3402, 4.25},
        {"digit", QStringLiteral("4"), 0, 7, 180, 6.5},
        {"producer", QStringLiteral("生産者：山田農園"), 0, 10, 2721.6, 9.25},
        {"caption, held by its box's width", QStringLiteral("価格: "), 0, 12, 567, 10.25},
    };
    QImage img(400, 200, QImage::Format_RGB32);
    QPainter p(&img);
    p.scale(0.05, 0.05);
    hb::PictureCanvas canvas(p);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        canvas.model().clear();
        EXPECT_EQ(hb::PrintFitText(canvas, 100, 50, c.text, c.align, c.size, c.box), 0);
        ASSERT_EQ(canvas.model().items.size(), 1u);
        const hb::RenderItem &t = canvas.model().items[0];
        EXPECT_EQ(t.fontSize, c.fitted);
        // The sheet's face itself: without it the sizes above mean nothing.
        const QFontInfo face(t.font);
        EXPECT_EQ(face.family(), QStringLiteral("IPAPGothic"));
        EXPECT_TRUE(face.exactMatch());
        const double usable = c.box - 28;
        EXPECT_LE(t.rect.width(), usable + 1e-6);
        EXPECT_LE(t.rect.height(), c.size * 20 + 1e-6);  // the line height reaches at most the size in twips
        EXPECT_NEAR(t.rect.top(), 50, 1e-9);
        switch (c.align) {
        case 0:
            EXPECT_NEAR(t.rect.left(), 114, 1e-9);
            break;
        case 1:
            EXPECT_NEAR(t.rect.right(), 100 + usable, 1e-6);
            break;
        default:
            EXPECT_NEAR(t.rect.center().x(), 100 + usable / 2, 1e-6);
        }
        // The size asked for is the canvas's size afterwards.
        EXPECT_EQ(canvas.fontSize(), c.size);
    }
}

TEST_F(Sheet, PricesAsTheTagPrintsThem)
{
    struct Case {
        double price;
        const char *text;
    };
    const Case cases[] = {{1200, "￥１，２００"}, {0, "￥０"}, {12345, "￥１２，３４５"}, {999.5, "￥１，０００"},
                          {100, "￥１００"},      {-1200, "－￥１，２００"}};
    for (const Case &c : cases)
        EXPECT_EQ(hb::PtagPriceText(hb::Currency::fromDouble(c.price)), QString::fromUtf8(c.text)) << c.price;
}

}  // namespace
