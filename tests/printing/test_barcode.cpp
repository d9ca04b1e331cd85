// The EAN-13 and QR symbols of a price tag, drawn on a canvas in twips and read back by a bar-code
// reader (zbarimg) from the picture.

#include "printing/barcode.h"
#include "printing/canvas.h"
#include "printing/printfixture.h"
#include "printing/ptag.h"
#include "printing/qrmodel.h"

#include "core/value.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <vector>

namespace {

using hbtest::readSymbols;

// A white picture with a painter whose units are twips, `scale` pixels a twip.
struct TwipsCanvas {
    TwipsCanvas(double widthTwips, double heightTwips, double scale)
        : image(qRound(widthTwips * scale), qRound(heightTwips * scale), QImage::Format_RGB32)
    {
        image.fill(Qt::white);
        painter.begin(&image);
        painter.scale(scale, scale);
        painter.setFont(QFont(QStringLiteral("Noto Sans CJK JP")));
    }
    operator hb::Canvas &() { return canvas; }
    QImage finish()
    {
        painter.end();
        return image;
    }
    QImage image;
    QPainter painter;
    hb::PictureCanvas canvas{painter};
};

bool allWhite(const QImage &img)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) != Qt::white)
                return false;
    return true;
}

bool dark(const QImage &img, double x, double y)
{
    return img.pixelColor(static_cast<int>(x), static_cast<int>(y)).lightness() < 128;
}

// A code with each leading digit, so every parity pattern is drawn.
QStringList sampleCodes()
{
    QStringList codes = {QStringLiteral("4901234567894"), QStringLiteral("9780201379624"),
                         QStringLiteral("0000000000000")};
    for (int lead = 0; lead <= 9; ++lead)
        codes << hb::GetCheckDigit(QString::number(lead) + QStringLiteral("12345678%1").arg(lead * 37 % 100, 3, 10,
                                                                                            QLatin1Char('0')));
    return codes;
}

TEST(JanCode, RefusedCodesDrawNothing)
{
    struct Case {
        QString code;
        long result;
    };
    const Case cases[] = {
        {"490123456789", -1}, {"49012345678941", -1}, {"", -1}, {"490123456789A", -2}, {"-490123456789", -2},
        {"4901234 67894", -2}, {QStringLiteral("490123456789４"), -2},
    };
    for (const Case &c : cases) {
        TwipsCanvas canvas(2000, 800, 0.5);
        int printed = 0;
        const auto count = [&](hb::Canvas &, double, double, const QString &, long, long, double) {
            ++printed;
            return 0L;
        };
        EXPECT_EQ(hb::DrawJanCode(canvas, c.code, 100, 50, 1728, 680.4, count), c.result) << c.code.toStdString();
        EXPECT_EQ(printed, 0);
        EXPECT_TRUE(allWhite(canvas.finish())) << c.code.toStdString();
        EXPECT_TRUE(hb::JanModules(c.code).isEmpty());
    }
}

TEST(JanCode, BarsAndDigitsStandWhereTheTagExpectsThem)
{
    // On a tag the symbol is 1728 x 680.4 twips: modules of 12 twips, here 6 pixels.
    const double x0 = 100, y0 = 50, scale = 0.5;
    TwipsCanvas canvas(2000, 800, scale);
    struct Printed {
        double x, y;
        QString text;
        long align, size;
        double box;
    };
    std::vector<Printed> printed;
    const auto record = [&](hb::Canvas &, double x, double y, const QString &t, long align, long size, double box) {
        printed.push_back({x, y, t, align, size, box});
        return 0L;
    };
    const QString code = QStringLiteral("4901234567894");
    ASSERT_EQ(hb::DrawJanCode(canvas, code, x0, y0, 1728, 680.4, record), 0);
    const QImage img = canvas.finish();

    const int digitModules[13] = {16, 27, 34, 41, 48, 55, 62, 74, 81, 88, 95, 102, 109};
    ASSERT_EQ(printed.size(), 13u);
    for (int k = 0; k < 13; ++k) {
        SCOPED_TRACE(k);
        EXPECT_DOUBLE_EQ(printed[k].x, x0 + digitModules[k] * 12.0);
        EXPECT_NEAR(printed[k].y, y0 + 544.32, 1e-9);
        EXPECT_EQ(printed[k].text, code.mid(k, 1));
        EXPECT_EQ(printed[k].align, 0);
        EXPECT_EQ(printed[k].size, 7);
        EXPECT_EQ(printed[k].box, 180);
    }
    // Each module's centre: dark exactly where the module string has "1"; guards reach the
    // full height, the other bars stop at four fifths.
    const QString m = hb::JanModules(code);
    ASSERT_EQ(m.size(), 143);
    EXPECT_EQ(m.left(27), QString(24, QLatin1Char('0')) + "101");
    EXPECT_EQ(m.mid(69, 5), "01010");
    EXPECT_EQ(m.mid(116), "101" + QString(24, QLatin1Char('0')));
    const auto px = [&](double twips) { return twips * scale; };
    for (int i = 0; i < 143; ++i) {
        SCOPED_TRACE(i);
        const double cx = px(x0 + i * 12 + 6);
        EXPECT_EQ(dark(img, cx, px(y0 + 10)), m.at(i) == QLatin1Char('1'));
        const bool guard = (i >= 22 && i <= 26) || (i >= 69 && i <= 73) || (i >= 116 && i <= 120);
        EXPECT_EQ(dark(img, cx, px(y0 + 600)), guard && m.at(i) == QLatin1Char('1'));
    }
    EXPECT_FALSE(dark(img, px(x0 + 143 * 12 + 6), px(y0 + 10)));
}

TEST(JanCode, ReaderDecodesEveryDrawnCode)
{
    REQUIRE_READER();
    const QStringList codes = sampleCodes();
    std::vector<QImage> pictures;
    for (const QString &code : codes) {
        TwipsCanvas canvas(2200, 1000, 0.5);
        EXPECT_EQ(hb::DrawJanCode(canvas, code, 200, 100, 1728, 680.4), 0);
        pictures.push_back(canvas.finish());
    }
    pictures.front().save(QDir::temp().filePath(QStringLiteral("hb_ptag_jancode.png")));
    const auto found = readSymbols(pictures);
    ASSERT_EQ(found.size(), static_cast<size_t>(codes.size()));
    for (int i = 0; i < codes.size(); ++i)
        EXPECT_EQ(found[i], QStringList{QStringLiteral("EAN-13:") + codes[i]});
}

TEST(QrVersion, SmallestVersionWhoseCapacityExceedsTwiceTheLength)
{
    struct Case {
        int chars;
        long level, version;
    };
    const Case cases[] = {
        {0, 3, 1},  {7, 3, 1},  {8, 3, 2},    {40, 3, 5},   {43, 3, 5},  {44, 3, 6},  {110, 3, 10},
        {111, 3, 11}, {300, 3, 11}, {12, 1, 1}, {13, 1, 2}, {4, 4, 1},  {5, 4, 2},  {197, 1, 10},
        {198, 1, 11}, {155, 2, 10}, {86, 4, 10}, {87, 4, 11},
    };
    for (const Case &c : cases)
        EXPECT_EQ(hb::GetQRVersion(QString(c.chars, QLatin1Char('a')), c.level), c.version)
            << c.chars << " at " << c.level;
    EXPECT_EQ(hb::GetQRVersion(QStringLiteral("山田農園"), 3), 1);  // 8 bytes in memory
    for (long bad : {0L, 5L, -1L})
        EXPECT_THROW(hb::GetQRVersion(QStringLiteral("x"), bad), hb::HbError);
}

TEST(QrModel, ResultCodesAndColumnMajorMatrix)
{
    const std::vector<std::int32_t> url = hb::AnsiCharCodes(QStringLiteral("http://e.jp/cropsight/1/2/"));
    std::vector<std::int32_t> matrix(41 * 41, -7);
    struct Case {
        std::int32_t length, version, level, result;
    };
    const Case cases[] = {
        {26, 0, 3, hb::kQrBadVersion}, {26, 41, 3, hb::kQrBadVersion}, {26, 3, 0, hb::kQrBadLevel},
        {26, 3, 5, hb::kQrBadLevel},   {0, 3, 3, hb::kQrBadLength},    {-1, 3, 3, hb::kQrBadLength},
        {26, 1, 3, hb::kQrTooMuchData},  // needs version 3 at Q: a larger symbol is no answer
        {26, 2, 4, hb::kQrTooMuchData},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(hb::QRmodel2(url.data(), c.length, c.version, c.level, matrix.data()), c.result)
            << c.length << "/" << c.version << "/" << c.level;
        EXPECT_EQ(matrix[0], -7);  // untouched
    }
    std::vector<std::int32_t> big(7090, 'A');
    EXPECT_EQ(hb::QRmodel2(big.data(), 7090, 40, 1, matrix.data()), hb::kQrBadLength);

    const int n = hb::qrSide(6);
    matrix.assign(static_cast<size_t>(n) * n, -7);
    ASSERT_EQ(hb::QRmodel2(url.data(), static_cast<std::int32_t>(url.size()), 6, 3, matrix.data()), hb::kQrOk);
    const auto at = [&](int col, int row) { return matrix[static_cast<size_t>(col) * n + row]; };
    for (int i = 0; i < n * n; ++i)
        ASSERT_TRUE(matrix[i] == 0 || matrix[i] == 1);
    // Finder patterns top-left, top-right and bottom-left.
    for (auto [c, r] : {std::pair{0, 0}, {n - 7, 0}, {0, n - 7}}) {
        EXPECT_EQ(at(c, r), 1);
        EXPECT_EQ(at(c + 3, r + 3), 1);
        EXPECT_EQ(at(c + 1, r + 1), 0);
    }
    // The module that is always dark stands in column 8, row 4 x version + 9: column-major.
    EXPECT_EQ(at(8, n - 8), 1);
    EXPECT_EQ(matrix[static_cast<size_t>(8) * n + (n - 8)], 1);
    // Timing pattern along row 6 from column 8.
    for (int c = 8; c < n - 8; ++c)
        EXPECT_EQ(at(c, 6), c % 2 == 0 ? 1 : 0) << c;
}

TEST(QrModel, AnsiCodesOfJapaneseTextAreDoubleByteCodes)
{
    const std::vector<std::int32_t> codes = hb::AnsiCharCodes(QStringLiteral("A山ｱ～\U0001F600"));
    ASSERT_EQ(codes.size(), 5u);
    EXPECT_EQ(codes[0], 0x41);
    EXPECT_EQ(codes[1], static_cast<std::int16_t>(0x8E52));  // 山, negative as a 16-bit value
    EXPECT_LT(codes[1], 0);
    EXPECT_EQ(codes[2], 0xB1);                                // half-width katakana: one byte
    EXPECT_EQ(codes[3], static_cast<std::int16_t>(0x8160));  // the wave dash of code page 932
    EXPECT_EQ(codes[4], '?');                                 // not in the code page
}

class QrPicture : public ::testing::Test {
protected:
    // The tag's square: 850 twips at 1 pixel a twip, with room around it for the quiet zone.
    static QImage drawOnTag(hb::QrScratch &scratch, const QString &text, long version, long level = 3)
    {
        TwipsCanvas canvas(1250, 1250, 1.0);
        hb::DrawQRCode(canvas, scratch, text, 200, 200, 850, version, level);
        return canvas.finish();
    }
    // At the version the tag chooses for the text.
    static QImage drawOnTag(hb::QrScratch &scratch, const QString &text)
    {
        return drawOnTag(scratch, text, hb::GetQRVersion(text, 3));
    }
};

TEST_F(QrPicture, ReaderDecodesTheTraceAddresses)
{
    REQUIRE_READER();
    const QStringList texts = {
        QStringLiteral("http://trace.example.jp/cropsight.php?fmr=12?plant=34"),
        QStringLiteral("http://e.jp/cropsight/1/2/"),
        QStringLiteral("https://trace.example.jp/farm/") + QString(90, QLatin1Char('x')) + QStringLiteral("/1/2/"),
        QStringLiteral("山田農園の大根"),
    };
    std::vector<QImage> pictures;
    hb::QrScratch scratch;
    for (const QString &t : texts)
        pictures.push_back(drawOnTag(scratch, t));
    pictures.front().save(QDir::temp().filePath(QStringLiteral("hb_ptag_qr.png")));
    pictures[2].save(QDir::temp().filePath(QStringLiteral("hb_ptag_qr_v11.png")));
    EXPECT_EQ(hb::GetQRVersion(texts[2], 3), 11);
    const auto found = readSymbols(pictures);
    ASSERT_EQ(found.size(), static_cast<size_t>(texts.size()));
    for (int i = 0; i < texts.size(); ++i)
        EXPECT_EQ(found[i], QStringList{QStringLiteral("QR-Code:") + texts[i]}) << i;
}

TEST_F(QrPicture, TheSymbolIsEncodedOncePerText)
{
    const QString a = QStringLiteral("http://e.jp/cropsight/1/2/");
    const QString b = QStringLiteral("http://e.jp/cropsight/1/3/");
    hb::QrScratch scratch;
    const long before = hb::qrModelCalls();
    const QImage first = drawOnTag(scratch, a);
    const QImage second = drawOnTag(scratch, a);
    EXPECT_EQ(hb::qrModelCalls() - before, 1);
    EXPECT_EQ(first, second);
    const QImage other = drawOnTag(scratch, b);
    EXPECT_EQ(hb::qrModelCalls() - before, 2);
    EXPECT_NE(other, first);
    drawOnTag(scratch, QStringLiteral("HTTP://E.JP/CROPSIGHT/1/3/"));  // the comparison is case-sensitive
    EXPECT_EQ(hb::qrModelCalls() - before, 3);
    // A new scratch picture renders again, the same text included.
    hb::QrScratch fresh;
    EXPECT_EQ(drawOnTag(fresh, QStringLiteral("HTTP://E.JP/CROPSIGHT/1/3/")),
              drawOnTag(scratch, QStringLiteral("HTTP://E.JP/CROPSIGHT/1/3/")));
    EXPECT_EQ(hb::qrModelCalls() - before, 4);
}

TEST_F(QrPicture, SymbolTakesTheTopLeftOfThePictureWithModulesOfSideOverNPlusTen)
{
    // 40 characters at level Q: version 5, 37 modules, module side = the picture's side / 47.
    const QString text = QStringLiteral("http://trace.example.jp/cropsight/12/3/");
    ASSERT_EQ(text.size(), 39);
    const QString forty = text + QLatin1Char('x');
    ASSERT_EQ(hb::GetQRVersion(forty, 3), 5);
    hb::QrScratch scratch;
    drawOnTag(scratch, forty);
    const QImage &pic = scratch.picture();
    const int side = scratch.side();
    ASSERT_EQ(pic.width(), side);
    ASSERT_EQ(pic.height(), side);
    EXPECT_EQ(pic.format(), QImage::Format_Mono);  // a sheet keeps 24 of them until it is sent
    const double m = side / 47.0;
    // Finder corners dark: top-left, top-right of the symbol, bottom-left.
    EXPECT_TRUE(dark(pic, m / 2, m / 2));
    EXPECT_TRUE(dark(pic, 36 * m + m / 2, m / 2));
    EXPECT_TRUE(dark(pic, m / 2, 36 * m + m / 2));
    EXPECT_FALSE(dark(pic, m + m / 2, m + m / 2));
    // Right of and below the symbol: the quiet zone of 10 modules.
    const QImage right = pic.copy(qCeil(37 * m) + 1, 0, side - qCeil(37 * m) - 1, side);
    const QImage below = pic.copy(0, qCeil(37 * m) + 1, side, side - qCeil(37 * m) - 1);
    EXPECT_TRUE(allWhite(right));
    EXPECT_TRUE(allWhite(below));

    // On the tag's square (850 twips at (200, 200), a pixel a twip): every module of the
    // encoder's matrix in its place, the symbol 37 modules of 850 / 47 from the corner, the
    // quiet zone white to the square's edges.
    const QImage tag = drawOnTag(scratch, forty);
    const std::vector<std::int32_t> codes = hb::AnsiCharCodes(forty);
    std::vector<std::int32_t> matrix(37 * 37);
    ASSERT_EQ(hb::QRmodel2(codes.data(), static_cast<std::int32_t>(codes.size()), 5, 3, matrix.data()), hb::kQrOk);
    const double t = 850 / 47.0;
    int wrong = 0;
    for (int i = 0; i < 37; ++i)
        for (int j = 0; j < 37; ++j)
            wrong += dark(tag, 200 + (i + 0.5) * t, 200 + (j + 0.5) * t) != (matrix[i * 37 + j] == 1);
    EXPECT_EQ(wrong, 0);
    const int across = qRound(200 + t / 2);  // through the top finders; down: through the left ones
    int first[2] = {-1, -1}, last[2] = {-1, -1};
    for (int k = 0; k < tag.width(); ++k)
        for (int d : {0, 1})
            if (d == 0 ? dark(tag, k, across) : dark(tag, across, k)) {
                first[d] = first[d] < 0 ? k : first[d];
                last[d] = k;
            }
    for (int d : {0, 1}) {
        EXPECT_NEAR(first[d], 200, 1) << d;
        EXPECT_NEAR(last[d] + 1, 200 + 37 * t, 1) << d;
    }
    EXPECT_TRUE(allWhite(tag.copy(last[0] + 2, 200, 1050 - last[0] - 2, 850)));
    EXPECT_TRUE(allWhite(tag.copy(200, last[1] + 2, 850, 1050 - last[1] - 2)));
}

TEST_F(QrPicture, EmptyTextGivesABlankSquareWithoutEncoding)
{
    hb::QrScratch scratch;
    const long before = hb::qrModelCalls();
    TwipsCanvas canvas(1250, 1250, 1.0);
    canvas.painter.fillRect(QRectF(0, 0, 1250, 1250), Qt::gray);
    hb::DrawQRCode(canvas, scratch, QString(), 200, 200, 850, 1, 3);
    const QImage img = canvas.finish();
    EXPECT_EQ(hb::qrModelCalls(), before);
    EXPECT_TRUE(allWhite(img.copy(200, 200, 850, 850)));  // opaque: covers what was under it
    EXPECT_FALSE(allWhite(img.copy(0, 0, 199, 199)));
}

TEST_F(QrPicture, RefusalsAreWrittenOnThePicture)
{
    struct Case {
        const char *what;
        QString text;
        long version, level;
        bool encoderCalled;
    };
    const Case cases[] = {
        {"level", QStringLiteral("http://e.jp/"), 2, 7, true},
        {"version", QStringLiteral("http://e.jp/"), 0, 3, true},
        {"too much data", QString(60, QLatin1Char('x')), 1, 3, true},
        {"too long", QString(7090, QLatin1Char('x')), 11, 3, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        hb::QrScratch scratch;
        const long before = hb::qrModelCalls();
        drawOnTag(scratch, c.text, c.version, c.level);
        EXPECT_EQ(hb::qrModelCalls() - before, c.encoderCalled ? 1 : 0);
        EXPECT_FALSE(allWhite(scratch.picture()));
        scratch.picture().save(QDir::temp().filePath(QStringLiteral("hb_ptag_qr_refused_%1.png")
                                                         .arg(QString::fromLatin1(c.what).replace(' ', '_'))));
    }
    EXPECT_EQ(hb::qrFailureMessage(2), QStringLiteral("誤り訂正レベルの指定がおかしいです。"));
    EXPECT_EQ(hb::qrFailureMessage(-5), QStringLiteral("この条件ではデータ量が多すぎます。"));
}

// The two symbols as they stand on a tag: bar code 1728 x 680.4 at (170.1, 1134), QR 850 at
// (2948.4, 56.7) of a 3742.2 x 1922.13 tag.
TEST(TagSymbols, BothReadFromOneTag)
{
    REQUIRE_READER();
    TwipsCanvas canvas(3742.2 + 400, 1922.13 + 400, 0.5);
    canvas.painter.translate(200, 200);
    canvas.painter.setPen(Qt::black);
    canvas.painter.drawRect(QRectF(0, 0, 3742.2, 1922.13));
    hb::QrScratch scratch;
    const QString url = QStringLiteral("http://trace.example.jp/cropsight/1/5/");
    hb::DrawQRCode(canvas, scratch, url, 2948.4, 56.7, 850, hb::GetQRVersion(url, 3), 3);
    const QString code = hb::GetCheckDigit(QStringLiteral("012300198001"));
    ASSERT_EQ(hb::DrawJanCode(canvas, code, 170.1, 1134, 1728, 680.4), 0);
    const QImage img = canvas.finish();
    img.save(QDir::temp().filePath(QStringLiteral("hb_ptag_tag_symbols.png")));
    const auto found = readSymbols({img});
    ASSERT_EQ(found.size(), 1u);
    QStringList got = found[0];
    got.sort();
    EXPECT_EQ(got, (QStringList{QStringLiteral("EAN-13:") + code, QStringLiteral("QR-Code:") + url}));
}

}  // namespace
