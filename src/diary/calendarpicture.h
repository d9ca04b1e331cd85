#pragma once
// The picture area of the month calendar: paints a month's render model into an image kept
// between paints (so what is drawn stays when the window is covered and uncovered), and reports
// the pointer position of a press and the click, in twips of its inner area.

#include "diary/calendargrid.h"

#include <QFrame>
#include <QImage>
#include <functional>

namespace hb {

class CalendarPicture : public QFrame {
    Q_OBJECT
public:
    explicit CalendarPicture(QWidget *parent = nullptr);

    // The inner area in twips (15 per logical pixel).
    double innerHeightTwips() const;
    double innerWidthTwips() const;

    // Clears the picture to its background.
    void clearPicture();
    // Paints a month over the cleared picture.
    void drawMonth(const CalView &view);
    // What the picture holds now (tests look at it).
    const QImage &image() const { return image_; }

    // A press of any button at (X, Y) twips, and a click of the left button.
    std::function<void(double X, double Y)> onMouseDown;
    std::function<void()> onClicked;

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;

private:
    QImage image_;
    bool pressed_ = false;
};

// The weather images (1..10) and the marks (1 money, 2 pesticide, 3 shipment); a null image
// for any other index.
const QImage &weatherImage(int id);
const QImage &markImage(int id);

// Paints a month's render model; the painter works in twips.
void paintCalView(QPainter &p, const CalView &view, const QFont &face);

}  // namespace hb
