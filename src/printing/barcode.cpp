#include "printing/barcode.h"

#include "core/value.h"
#include "printing/canvas.h"
#include "printing/qrmodel.h"

#include <QFont>
#include <QPainter>
#include <algorithm>
#include <array>
#include <vector>

namespace hb {

namespace {

// Number set A (odd parity); set C is its complement and set B the mirror image of C.
const char *const kSetA[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                               "0110001", "0101111", "0111011", "0110111", "0001011"};
// Sets of digits 2 to 7 by the leading digit: "O" set A, "E" set B.
const char *const kParity[10] = {"OOOOOO", "OOEOEE", "OOEEOE", "OOEEEO", "OEOOEE",
                                 "OEEOOE", "OEEEOO", "OEOEOE", "OEOEEO", "OEEOEO"};

QString setC(int digit)
{
    QString s = QString::fromLatin1(kSetA[digit]);
    for (QChar &c : s)
        c = c == QLatin1Char('0') ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

QString setB(int digit)
{
    QString s = setC(digit);
    std::reverse(s.begin(), s.end());
    return s;
}

// Modules under which the 13 digits stand, in order.
constexpr std::array<int, 13> kDigitModules = {16, 27, 34, 41, 48, 55, 62, 74, 81, 88, 95, 102, 109};

bool isGuard(int i)
{
    return (i >= 22 && i <= 26) || (i >= 69 && i <= 73) || (i >= 116 && i <= 120);
}

}  // namespace

QString JanModules(const QString &code)
{
    if (code.size() != 13)
        return QString();
    for (const QChar c : code)
        if (c.unicode() < '0' || c.unicode() > '9')
            return QString();
    const auto digit = [&](int k) { return code.at(k).unicode() - '0'; };
    const char *parity = kParity[digit(0)];
    QString m(24, QLatin1Char('0'));
    m += QLatin1String("101");
    for (int k = 1; k <= 6; ++k)
        m += parity[k - 1] == 'O' ? QString::fromLatin1(kSetA[digit(k)]) : setB(digit(k));
    m += QLatin1String("01010");
    for (int k = 7; k <= 12; ++k)
        m += setC(digit(k));
    m += QLatin1String("101");
    m += QString(24, QLatin1Char('0'));
    return m;
}

long DrawJanCode(Canvas &canvas, const QString &code, double x, double y, double width, double height,
                 const FitTextPrinter &printText)
{
    if (code.size() != 13)
        return -1;
    const QString modules = JanModules(code);
    if (modules.isEmpty())
        return -2;
    const double mw = width / 144.0;
    const double shortBar = height * 4.0 / 5.0;
    // Invisible outlines: each filled box covers exactly its rectangle.
    canvas.DrawWidth = 1;
    canvas.DrawStyle = 5;
    int next = 0;
    for (int i = 0; i < modules.size(); ++i) {
        if (modules.at(i) == QLatin1Char('1'))
            canvas.FilledBox(x + i * mw, y, x + (i + 1) * mw, y + (isGuard(i) ? height : shortBar), Qt::black);
        if (next < 13 && i == kDigitModules[next]) {
            const QString d = code.mid(next, 1);
            if (printText)
                printText(canvas, x + i * mw, shortBar + y, d, 0, 7, 180);
            else
                PrintFitText(canvas, x + i * mw, shortBar + y, d, 0, 7, 180);
            ++next;
        }
    }
    return 0;
}

QString qrFailureMessage(long result)
{
    switch (result) {
    case kQrBadVersion:
        return QStringLiteral("ＱＲのバージョンの指定がおかしいです。");
    case kQrBadLevel:
        return QStringLiteral("誤り訂正レベルの指定がおかしいです。");
    case kQrBadLength:
        return QStringLiteral("文字数に誤りがあります。１文字以上、７０８９文字以内でお願いします。");
    default:
        return QStringLiteral("この条件ではデータ量が多すぎます。");
    }
}

namespace {

// A message written on the scratch picture from its top-left corner, wrapped to its width.
void writeOnPicture(QImage &pic, const QString &message)
{
    QPainter p(&pic);
    QFont f(QString::fromLatin1(kSheetFontFamily));
    f.setPixelSize(std::max(1, pic.width() / 10));
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRectF(0, 0, pic.width(), pic.height()), Qt::AlignLeft | Qt::AlignTop | Qt::TextWrapAnywhere,
               message);
}

// Encodes the text through QRmodel2 and draws the symbol on pic, top-left at (x, y), modules of
// size / (n + 10); when the text is empty nothing is drawn; when the encoder refuses, or the
// text is longer than it takes, the reason is written on pic instead. False when a message
// stands on the picture instead of a symbol.
bool drawQRImage(QImage &pic, const QString &text, double x, double y, long size, long version, long ecLevel)
{
    if (text.isEmpty())
        return true;
    if (text.size() > kQrMaxChars) {
        writeOnPicture(pic, kQrTextTooLong);
        return false;
    }
    const std::vector<std::int32_t> codes = AnsiCharCodes(text);
    const bool validVersion = version >= 1 && version <= 40;
    const int n = validVersion ? qrSide(static_cast<std::int32_t>(version)) : 0;
    std::vector<std::int32_t> matrix(static_cast<size_t>(n) * static_cast<size_t>(n));
    const std::int32_t result =
        QRmodel2(codes.data(), static_cast<std::int32_t>(codes.size()), static_cast<std::int32_t>(version),
                 static_cast<std::int32_t>(ecLevel), matrix.data());
    if (result != kQrOk) {
        writeOnPicture(pic, qrFailureMessage(result));
        return false;
    }
    const double m = static_cast<double>(size) / (n + 10);
    QPainter p(&pic);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i)
            p.fillRect(QRectF(x + i * m, y + j * m, m, m), matrix[static_cast<size_t>(i) * n + j] < 1 ? Qt::white
                                                                                                    : Qt::black);
    return true;
}

}  // namespace

void DrawQRCode(Canvas &canvas, QrScratch &picQR, const QString &text, double x, double y, long size,
                long version, long ecLevel)
{
    if (picQR.picture_.isNull() || picQR.picture_.width() == 0 || text != picQR.text_) {
        picQR.text_ = text;
        QImage pic(picQR.side_, picQR.side_, QImage::Format_RGB32);
        pic.fill(Qt::white);
        // A symbol is black and white: it is kept one bit a pixel (1/32 of the drawing). A
        // message keeps the grey edges of its letters.
        if (!drawQRImage(pic, text, 0, 0, picQR.side_, version, ecLevel)) {
            picQR.picture_ = pic;
        } else {
            // White comes out as 0: inverted, black is 0 and white 1, the colour table a PDF keeps
            // as a one-bit grey image.
            picQR.picture_ = pic.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
            picQR.picture_.invertPixels();
            picQR.picture_.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        }
    }
    canvas.PaintPicture(picQR.picture_, QStringLiteral("QR"), x, y, size, size);
}

long GetQRVersion(const QString &text, long ecLevel)
{
    // Alphanumeric capacities of versions 1 to 10 at levels L, M, Q, H.
    static const int kCapacity[10][4] = {
        {25, 20, 16, 10},     {47, 38, 29, 20},     {77, 61, 47, 35},     {114, 90, 67, 50},
        {154, 122, 87, 64},   {195, 154, 108, 84},  {224, 178, 125, 93},  {279, 221, 157, 122},
        {335, 262, 189, 143}, {395, 311, 221, 174},
    };
    if (ecLevel < 1 || ecLevel > 4)
        throw HbError(kErrSubscript, QStringLiteral("インデックスが有効範囲にありません。"));
    const long bytes = 2L * text.size();
    for (int v = 1; v <= 10; ++v)
        if (kCapacity[v - 1][ecLevel - 1] > bytes)
            return v;
    return 11;
}

}  // namespace hb
