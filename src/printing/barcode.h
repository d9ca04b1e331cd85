#pragma once
// The machine-readable symbols of a price tag: the EAN-13 bar code with its digits, and the QR
// code of the trace address, drawn on a canvas in twips.

#include <QImage>
#include <QString>
#include <functional>

namespace hb {

class Canvas;

// Prints one text fitted into a box (PrintFitText by default): the bar code's digits go through
// it. Arguments: canvas, x, y (top of the line), text, align (0 left, 1 right, 2 centred),
// size in points, box width.
using FitTextPrinter = std::function<long(Canvas &canvas, double x, double y, const QString &text, long align,
                                          long sizePt, double boxWidth)>;

// The 143 modules of an EAN-13 symbol ("1" dark, "0" light), quiet zones of 24 modules
// included; "" when the code is not 13 digits.
QString JanModules(const QString &code);

// Draws the EAN-13 symbol of a 13-digit code with its top-left corner at (x, y): modules of
// width / 144, guards `height` high, the other bars 4/5 of it, the digits under the bars.
// Returns 0 when drawn, -1 when the code is not 13 characters long, -2 when a character is
// no digit (nothing drawn then). The canvas is left with DrawStyle 5 and the font at 7 points.
long DrawJanCode(Canvas &canvas, const QString &code, double x, double y, double width, double height,
                 const FitTextPrinter &printText = {});

// The scratch picture a QR symbol is rendered into before it is painted onto a tag, and the
// text whose symbol it holds. The picture is drawn again only when the text changes, so the
// copies of one tag cost one encoding; a new scratch starts without picture. A symbol is kept
// one bit a pixel (Format_Mono, black and white), a refusal's message in full colour.
class QrScratch {
public:
    // Pixels a side: about 700 dpi on the tag's 15 mm square, enough for any printer, and a
    // small picture in every printed document.
    static constexpr int kDefaultSide = 425;
    explicit QrScratch(int side = kDefaultSide) : side_(side) {}

    int side() const { return side_; }
    const QImage &picture() const { return picture_; }
    const QString &text() const { return text_; }

private:
    friend void DrawQRCode(Canvas &, QrScratch &, const QString &, double, double, long, long, long);
    int side_;
    QImage picture_;
    QString text_;
};

// Paints the QR symbol of the text as a size x size square at (x, y) on the canvas, rendering it
// into the scratch picture first when the picture is missing or holds another text: the text
// encoded through QRmodel2 on a white picture of the scratch's side, modules of side / (n + 10)
// for a symbol n modules a side; nothing drawn when the text is empty; when the encoder refuses,
// or the text is longer than it takes, the reason written on the picture instead.
void DrawQRCode(Canvas &canvas, QrScratch &picQR, const QString &text, double x, double y, long size,
                long version, long ecLevel);

// The version (1 to 10) whose capacity at the level (1 L to 4 H) exceeds twice the text's
// length; 11 when none does. A level outside 1 to 4 raises a range error (9).
long GetQRVersion(const QString &text, long ecLevel);

// The messages written on the scratch picture in place of a symbol.
inline const QString kQrTextTooLong = QStringLiteral("QRコード文字数が限度を超えています");
QString qrFailureMessage(long result);

}  // namespace hb
