#include "printing/canvas.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace hb {

namespace {

// Under a painter whose units are twips a point is 20 units: the font's pixel size.
constexpr double kTwipsPerPoint = 20.0;
// Sizes of the fitting loops.
constexpr double kFitStep = 0.25;
constexpr int kMaxGrowSteps = 400;
// The box's inner margin: the text stands 14 twips in and keeps 14 twips from the right edge.
constexpr double kBoxInset = 14.0;

QRectF corners(double x1, double y1, double x2, double y2)
{
    return QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
}

RenderItem itemOf(RenderItem::Kind kind, const QRectF &rect, const QColor &color = QColor())
{
    RenderItem item;
    item.kind = kind;
    item.rect = rect;
    item.color = color;
    return item;
}

}  // namespace

void RenderModel::clear()
{
    items.clear();
    tags.clear();
}

std::vector<RenderItem> RenderModel::itemsOf(const RenderTag &tag) const
{
    return std::vector<RenderItem>(items.begin() + static_cast<std::ptrdiff_t>(tag.first),
                                   items.begin() + static_cast<std::ptrdiff_t>(tag.end));
}

Canvas::Canvas() : font_(QString::fromLatin1(kSheetFontFamily))
{
    // One layout on every device: metrics come from the font alone, unhinted.
    font_.setHintingPreference(QFont::PreferNoHinting);
    setFontSize(9);
}

Canvas::~Canvas() = default;

bool Canvas::isPrinter() const
{
    return TypeName() == QLatin1String("Printer");
}

void Canvas::setFontSize(double points)
{
    font_.setPixelSize(std::max(1, static_cast<int>(std::lround(points * kTwipsPerPoint))));
}

double Canvas::fontSize() const
{
    return font_.pixelSize() / kTwipsPerPoint;
}

void Canvas::setBold(bool bold)
{
    font_.setBold(bold);
}

double Canvas::TextHeight(const QString &) const
{
    return QFontMetricsF(font_).height();
}

double Canvas::TextWidth(const QString &text) const
{
    return QFontMetricsF(font_).horizontalAdvance(text);
}

void Canvas::Print(const QString &text)
{
    const QFontMetricsF fm(font_);
    RenderItem item = itemOf(RenderItem::Kind::Text,
                             QRectF(CurrentX, CurrentY, fm.horizontalAdvance(text), fm.height()), Qt::black);
    item.text = text;
    item.fontSize = fontSize();
    item.bold = font_.bold();
    item.font = font_;
    record(std::move(item));
}

void Canvas::Box(double x1, double y1, double x2, double y2, const QColor &color)
{
    if (DrawStyle == 5)
        return;  // an invisible outline draws nothing
    RenderItem item = itemOf(RenderItem::Kind::Box, corners(x1, y1, x2, y2), color);
    item.lineWidth = std::max(1, DrawWidth);
    record(std::move(item));
}

void Canvas::FilledBox(double x1, double y1, double x2, double y2, const QColor &color)
{
    record(itemOf(RenderItem::Kind::FilledBox, corners(x1, y1, x2, y2), color));
}

void Canvas::PaintPicture(const QImage &picture, const QString &name, double x, double y, double width,
                          double height)
{
    RenderItem item = itemOf(RenderItem::Kind::Picture, QRectF(x, y, width, height));
    item.text = name;
    item.picture = picture;
    record(std::move(item));
}

void Canvas::paintItem(QPainter &p, const RenderItem &item)
{
    switch (item.kind) {
    case RenderItem::Kind::Text: {
        p.setPen(item.color);
        const QPointF baseline(item.rect.x(), item.rect.y() + QFontMetricsF(item.font).ascent());
        const QTransform t = p.worldTransform();
        if (item.bold && p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Raster && t.type() == QTransform::TxScale
            && t.m11() == t.m22() && t.m11() > 0) {
            // A bold text on a picture (the preview) is drawn at the scaled size in the picture's
            // own pixels: under a scaling transform the glyphs are outlines, and the sheet's face,
            // which has no bold of its own and is emboldened, would show regular.
            QFont scaled = item.font;
            // A point size keeps the fraction of the scaled pixel size (a pixel size is whole).
            scaled.setPointSizeF(item.font.pixelSize() * t.m11() * 72.0 / p.device()->logicalDpiY());
            p.save();
            p.resetTransform();
            p.setFont(scaled);
            p.drawText(t.map(baseline), item.text);
            p.restore();
        } else {
            p.setFont(item.font);
            p.drawText(baseline, item.text);
        }
        break;
    }
    case RenderItem::Kind::Box: {
        QPen pen(item.color);
        pen.setCosmetic(true);
        pen.setWidthF(item.lineWidth);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(item.rect);
        break;
    }
    case RenderItem::Kind::FilledBox:
        p.fillRect(item.rect, item.color);
        break;
    case RenderItem::Kind::Picture:
        if (!item.picture.isNull())
            p.drawImage(item.rect, item.picture);
        break;
    }
}

void Canvas::beginTag(double x, double y)
{
    model_.tags.push_back({QPointF(x, y), model_.items.size(), model_.items.size()});
    inTag_ = true;
}

void Canvas::endTag()
{
    if (inTag_ && !model_.tags.empty())
        model_.tags.back().end = model_.items.size();
    inTag_ = false;
}

void Canvas::record(RenderItem item)
{
    draw(item);
    model_.items.push_back(std::move(item));
    if (inTag_)
        model_.tags.back().end = model_.items.size();
}

long PrintFitText(Canvas &canvas, double x, double y, const QString &text, long align, long sizePt, double boxWidth)
{
    // Smaller in steps until the measure is within the limit, or the size would reach 0.
    const auto shrink = [&](double s, double (Canvas::*measure)(const QString &) const, double limit) {
        double m = (canvas.*measure)(text);
        while (m > limit) {
            s -= kFitStep;
            if (s <= 0)
                break;
            canvas.setFontSize(s);
            m = (canvas.*measure)(text);
        }
    };
    canvas.setFontSize(sizePt);

    // Height: the size in points taken as the wanted line height.
    const double target = sizePt * kTwipsPerPoint;
    if (target != 0) {
        if (canvas.TextHeight(text) > target) {
            shrink(sizePt, &Canvas::TextHeight, target);
        } else {
            double s = sizePt;
            double h = canvas.TextHeight(text);
            for (int step = 0; step < kMaxGrowSteps && h < target; ++step) {
                canvas.setFontSize(s);
                h = canvas.TextHeight(text);
                s += kFitStep;
            }
        }
    }

    // Width: only ever smaller.
    const double usable = boxWidth - 2 * kBoxInset;
    if (usable != 0)
        shrink(canvas.fontSize(), &Canvas::TextWidth, usable);

    const double w = canvas.TextWidth(text);
    switch (align) {
    case 0:
        canvas.CurrentX = x + kBoxInset;
        break;
    case 1:
        canvas.CurrentX = x + usable - w;
        break;
    case 2:
        canvas.CurrentX = x + (usable - w) / 2;
        break;
    default:
        break;
    }
    canvas.CurrentY = y;
    canvas.Print(text);
    canvas.setFontSize(sizePt);
    return 0;
}

}  // namespace hb
