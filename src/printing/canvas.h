#pragma once
// The drawing surface of the reports: the preview's picture or the printer. Both take the same
// drawing operations, all in twips, and both record what they drew (the render model), so the
// same painting code serves the preview, the printed page and the PDF page alike.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <cstddef>
#include <vector>

class QPainter;

namespace hb {

// The face the sheet is drawn in, on the preview, the printer and the PDF alike. Its line height
// is 1.08 em, close to one em as the layout's sizes take it, and its PDF text layer gives back
// the characters drawn. The windows keep the program's own font.
inline constexpr const char *kSheetFontFamily = "IPAPGothic";

// One drawing operation as the canvas carried it out, in twips.
struct RenderItem {
    enum class Kind { Text, Box, FilledBox, Picture };
    Kind kind = Kind::Text;
    QRectF rect;          // a text's line cell: top-left at (CurrentX, CurrentY), TextWidth x TextHeight
    QString text;         // the text printed, or the name of the picture painted
    double fontSize = 0;  // points, for texts
    bool bold = false;
    QColor color;
    QFont font;           // what a text is printed in
    int lineWidth = 1;    // an outline's width in device pixels
    QImage picture;       // what a picture item paints
};

// A group of items drawn for one price tag, with the tag's top-left corner.
struct RenderTag {
    QPointF corner;
    std::size_t first = 0;  // its items: [first, end)
    std::size_t end = 0;
};

struct RenderModel {
    std::vector<RenderItem> items;
    std::vector<RenderTag> tags;

    void clear();
    // The items of one tag.
    std::vector<RenderItem> itemsOf(const RenderTag &tag) const;
};

class Canvas {
public:
    virtual ~Canvas();

    // "Printer" for the printer; the preview's picture box answers "PictureBox".
    virtual QString TypeName() const = 0;
    bool isPrinter() const;

    int DrawWidth = 1;      // line width in pixels of the device
    int DrawStyle = 0;      // 0 solid, 5 invisible outline
    double CurrentX = 0;    // where Print places the next text (top of the line)
    double CurrentY = 0;

    // The font size in points; the canvas holds it in whole twentieths of a point (a pixel of
    // the twips scale), and fontSize() reports what it holds.
    void setFontSize(double points);
    double fontSize() const;
    void setBold(bool bold);
    bool bold() const { return font_.bold(); }
    // The line height and the advance of a text in the current font, in twips.
    double TextHeight(const QString &text) const;
    double TextWidth(const QString &text) const;

    // Prints the text with the top of its line at (CurrentX, CurrentY).
    void Print(const QString &text);
    // A rectangle's outline (invisible with DrawStyle 5) or a filled rectangle, corners given.
    void Box(double x1, double y1, double x2, double y2, const QColor &color);
    void FilledBox(double x1, double y1, double x2, double y2, const QColor &color);
    // Paints a picture stretched into the rectangle; the name goes into the render model.
    void PaintPicture(const QImage &picture, const QString &name, double x, double y, double width, double height);

    // Ends the printer's document, which sends what was drawn; nothing on a picture.
    virtual void EndDoc() {}

    // What was drawn since the last clear.
    RenderModel &model() { return model_; }
    const RenderModel &model() const { return model_; }
    // Marks the items drawn from now on as one tag with its corner, until endTag().
    void beginTag(double x, double y);
    void endTag();

    // Carries out one drawing item with a painter whose user units are twips.
    static void paintItem(QPainter &painter, const RenderItem &item);

protected:
    Canvas();
    // Draws an item now (a picture) or keeps it for the document (the printer).
    virtual void draw(const RenderItem &item) = 0;

private:
    void record(RenderItem item);
    QFont font_;
    RenderModel model_;
    bool inTag_ = false;
};

// A canvas over a painter that draws on a picture, its user units already twips.
class PictureCanvas : public Canvas {
public:
    explicit PictureCanvas(QPainter &painter) : painter_(painter) {}
    QString TypeName() const override { return QStringLiteral("PictureBox"); }

protected:
    void draw(const RenderItem &item) override { paintItem(painter_, item); }

private:
    QPainter &painter_;
};

// Prints one text fitted into a box of the given width: the font is brought to the first size,
// in steps of 0.25 points, whose line height reaches sizePt x 20 twips (smaller while it is
// above it), then shrunk until the text fits the box less 28 twips; the text stands 14 twips in
// (align 0), ends 28 twips inside the right edge (1) or is centred (2), with the top of its line
// at y. The font size goes back to sizePt afterwards. Returns 0.
long PrintFitText(Canvas &canvas, double x, double y, const QString &text, long align, long sizePt, double boxWidth);

}  // namespace hb
