#pragma once
// Creating a window's controls at their design geometry (pixels = design twips / 15).

#include <QAbstractButton>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QWidget>

#include "core/textlimit.h"

namespace hb {

// Twips in a pixel of the design.
inline constexpr double kTwipsPerPixel = 15.0;

// A design rectangle in twips as pixels, each side rounded.
inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(qRound(left / kTwipsPerPixel), qRound(top / kTwipsPerPixel), qRound(width / kTwipsPerPixel),
                 qRound(height / kTwipsPerPixel));
}

template <class T>
T *makeControl(QWidget *parent, const QString &name, int x, int y, int w, int h)
{
    auto *c = new T(parent);
    c->setObjectName(name);
    c->setGeometry(x, y, w, h);
    return c;
}

// A control with a caption (label, button, check box, option button, frame).
template <class T>
T *makeCaptioned(QWidget *parent, const QString &name, const QString &caption, int x, int y, int w, int h)
{
    auto *c = makeControl<T>(parent, name, x, y, w, h);
    if constexpr (std::is_base_of_v<QLabel, T> || std::is_base_of_v<QAbstractButton, T>)
        c->setText(caption);
    else
        c->setTitle(caption);
    return c;
}

// A window's title label: bold, 14 points.
inline QLabel *makeTitleLabel(QWidget *parent, const QString &name, const QString &caption, int x, int y, int w, int h)
{
    auto *label = makeCaptioned<QLabel>(parent, name, caption, x, y, w, h);
    QFont f = label->font();
    f.setPointSize(14);
    f.setBold(true);
    label->setFont(f);
    return label;
}

// A font at that size in points, bold or not.
inline QFont sizedFont(QFont font, double points, bool bold = false)
{
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// A text box of dates, numbers or paths: its font, at most maxLength characters, aligned, and
// without the input method.
inline QLineEdit *makePlainBox(QWidget *parent, const QString &name, const QRect &geometry, const QFont &font,
                               int maxLength, Qt::Alignment align)
{
    auto *box = makeControl<QLineEdit>(parent, name, geometry.x(), geometry.y(), geometry.width(), geometry.height());
    box->setFont(font);
    limitCharacters(box, maxLength);
    box->setAlignment(align);
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    return box;
}

// A password box: every character is shown as "*", whatever the platform's own mask.
inline void makePasswordBox(QLineEdit *box)
{
    box->setEchoMode(QLineEdit::Password);
    box->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
}

}  // namespace hb
