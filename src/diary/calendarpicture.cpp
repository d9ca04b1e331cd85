#include "diary/calendarpicture.h"

#include "core/controls.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <array>

namespace hb {

namespace {

const QColor kPictureBack(Qt::white);

template <std::size_t Count>
const std::array<QImage, Count + 1> &imageList(const char *const (&names)[Count])
{
    static const std::array<QImage, Count + 1> list = [&] {
        std::array<QImage, Count + 1> l;
        for (std::size_t i = 0; i < Count; ++i)
            l[i + 1] = QImage(QStringLiteral(":/images/%1.png").arg(QLatin1String(names[i])));
        return l;
    }();
    return list;
}

}  // namespace

const QImage &weatherImage(int id)
{
    static const char *const names[] = {"weather_01", "weather_02", "weather_03", "weather_04", "weather_05",
                                        "weather_06", "weather_07", "weather_08", "weather_09", "weather_10"};
    static const QImage none;
    const auto &list = imageList(names);
    return id >= 1 && id <= 10 ? list[static_cast<std::size_t>(id)] : none;
}

const QImage &markImage(int id)
{
    static const char *const names[] = {"mark_money", "mark_pesticide", "mark_shipment"};
    static const QImage none;
    const auto &list = imageList(names);
    return id >= 1 && id <= 3 ? list[static_cast<std::size_t>(id)] : none;
}

void paintCalView(QPainter &p, const CalView &v, const QFont &face)
{
    const CalGeometry &g = v.g;
    if (!g.valid())
        return;
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QPen line(Qt::black, 0);  // one pixel at any scale
    const double oneLine = kTwipsPerPixel;

    // The weekday band.
    p.fillRect(QRectF(0, 0, g.W, g.Hh), v.windowColor);

    const QFont noteFont = calFont(face, g.S);
    const QFont dayFont = calFont(face, g.Ch / 2.0);
    const QFontMetricsF noteMetrics(noteFont);
    const QFontMetricsF dayMetrics(dayFont);
    const auto image = [&p, &g](double x, double y, const QImage &img) {
        if (!img.isNull())
            p.drawImage(QRectF(x, y, g.S, g.S), img);
    };

    for (const CalCell &c : v.cells) {
        if (c.today) {
            p.fillRect(QRectF(QPointF(c.x + 40, c.y + 40), QPointF(c.x + g.Cw, c.y + g.Ch)), v.windowColor);
            p.fillRect(QRectF(QPointF(c.x + 40, c.y + 40), QPointF(c.x + g.Cw - 40, c.y + g.Ch - 40)), bgrColor(0x7FFFFF));
        }
        if (c.tempBar) {
            // Equal temperatures still draw a line.
            QRectF bar = *c.tempBar;
            if (bar.height() < oneLine)
                bar.setHeight(oneLine);
            p.fillRect(bar, bgrColor(0x00FF00));
        }
        if (c.weather)
            image(c.x, c.y, weatherImage(c.weather));
        if (!c.note.empty()) {
            p.setFont(noteFont);
            p.setPen(bgrColor(0));
            for (const CalNoteChar &ch : c.note)
                p.drawText(QPointF(ch.x, ch.y + noteMetrics.ascent()), ch.text);
        }
        if (c.money)
            image(c.x, c.y + g.S, markImage(1));
        if (c.pesticide)
            image(c.x + g.Cw - g.S, c.y, markImage(2));
        if (c.shipment)
            image(c.x + g.Cw - g.S, c.y + g.S, markImage(3));
        const QString day = QString::number(c.day);
        p.setFont(dayFont);
        p.setPen(c.dayColor);
        p.drawText(QPointF(c.x + (g.Cw - dayMetrics.horizontalAdvance(day)) / 2, c.y + dayMetrics.ascent()), day);
    }

    // Weekday names with a white shadow, and the column lines.
    const QFont headFont = calFont(face, g.Hh);
    const QFontMetricsF headMetrics(headFont);
    const QString names = QStringLiteral("日月火水木金土");
    p.setFont(headFont);
    for (int k = 0; k <= 6; ++k) {
        const double hx = k * g.Cw;
        if (k > 0) {
            p.setPen(line);
            p.drawLine(QPointF(hx, 0), QPointF(hx, g.H));
        }
        const QString name = names.mid(k, 1);
        const double left = hx + (g.Cw - headMetrics.horizontalAdvance(name)) / 2;
        p.setPen(bgrColor(0xFFFFFF));
        p.drawText(QPointF(left + 20, 20 + headMetrics.ascent()), name);
        p.setPen(k == 0 ? bgrColor(255) : (k == 6 ? bgrColor(0xFF0000) : bgrColor(0)));
        p.drawText(QPointF(left, headMetrics.ascent()), name);
    }
    // Row lines: above each row, none below the last.
    p.setPen(line);
    for (int r = 0; r < g.R; ++r)
        p.drawLine(QPointF(0, r * g.Ch + g.Hh), QPointF(g.W, r * g.Ch + g.Hh));
}

// ---- the picture widget --------------------------------------------------------------------------

CalendarPicture::CalendarPicture(QWidget *parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

double CalendarPicture::innerHeightTwips() const
{
    return contentsRect().height() * kTwipsPerPixel;
}

double CalendarPicture::innerWidthTwips() const
{
    return contentsRect().width() * kTwipsPerPixel;
}

void CalendarPicture::clearPicture()
{
    const qreal dpr = devicePixelRatioF();
    const QSize size = contentsRect().size().expandedTo(QSize(1, 1)) * dpr;
    if (image_.size() != size)
        image_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
    image_.setDevicePixelRatio(dpr);
    image_.fill(kPictureBack);
    update();
}

void CalendarPicture::drawMonth(const CalView &view)
{
    QPainter p(&image_);
    p.scale(1.0 / kTwipsPerPixel, 1.0 / kTwipsPerPixel);
    paintCalView(p, view, font());
    p.end();
    update();
}

void CalendarPicture::paintEvent(QPaintEvent *e)
{
    QFrame::paintEvent(e);
    QPainter p(this);
    const QRect inner = contentsRect();
    p.fillRect(inner, kPictureBack);
    if (!image_.isNull())
        p.drawImage(inner.topLeft(), image_);
}

void CalendarPicture::mousePressEvent(QMouseEvent *e)
{
    const QPointF at = e->position() - contentsRect().topLeft();
    pressed_ = e->button() == Qt::LeftButton;
    if (onMouseDown)
        onMouseDown(at.x() * kTwipsPerPixel, at.y() * kTwipsPerPixel);
    e->accept();
}

void CalendarPicture::mouseReleaseEvent(QMouseEvent *e)
{
    const bool click = pressed_ && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
    pressed_ = false;
    e->accept();
    if (click && onClicked)
        onClicked();
}

// The second press of a double-click is no new click.
void CalendarPicture::mouseDoubleClickEvent(QMouseEvent *e)
{
    const QPointF at = e->position() - contentsRect().topLeft();
    pressed_ = false;
    if (onMouseDown)
        onMouseDown(at.x() * kTwipsPerPixel, at.y() * kTwipsPerPixel);
    e->accept();
}

}  // namespace hb
