#pragma once
// Driving windows in tests as a person would: find controls, click them, move the focus, type
// (Japanese too), act on a modal window a procedure opens, and save a window's picture.

#include "common/scriptedui.h"

#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QSize>
#include <gtest/gtest.h>
#include <QString>
#include <QWidget>
#include <functional>

class QComboBox;

namespace hbtest {

// Lets queued work run (zero timers, activation, deferred deletes).
void settle();

// The child control of that objectName, or nullptr.
template <class T = QWidget>
T *child(QWidget *root, const QString &name)
{
    return root ? root->findChild<T *>(name) : nullptr;
}

// The child control of that objectName, expected to exist.
template <class T = QWidget>
T *ctl(QWidget *root, const char *name)
{
    T *c = child<T>(root, QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

// Shows a window (when hidden), makes it the active window and waits until it is.
bool activate(QWidget *window);
// A left click in the middle of the widget, through the window as the mouse would.
void click(QWidget *w);
// Gives a control the focus as a person does: a click into it.
void focusByClick(QWidget *w);
// Key strokes sent to the focused widget (or to w).
void pressKey(Qt::Key key, QWidget *w = nullptr, Qt::KeyboardModifiers mods = Qt::NoModifier);
// Key strokes as the keyboard gives them: to the window that holds the keyboard (an open pop-up's,
// such as a combo box's list, else the focused control's), which hands them to its focused control.
void strike(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier);
void strike(const char *keys, Qt::KeyboardModifiers mods = Qt::NoModifier);
// Turns the mouse wheel over the middle of a widget, `notches` towards the grower (down; negative
// away), through the window as the wheel's arrive: to the widget under the pointer.
void turnWheel(QWidget *over, int notches);
// Types text into a widget as committed input-method text (any script).
void typeText(QWidget *w, const QString &text);
// The most characters a person may type into the box when it is empty, as its validator lets
// them (at most 1,000); 0 when it takes more.
int characterLimit(QLineEdit *box);
// Resizes a shown window so that its outer size (as its scaling counts it) is `outer`.
void resizeOuter(QWidget *window, const QSize &outer);
// Closes every open popup (a combo box's list that its focus opened, say).
void closePopups();
// Types into a box as a person does (Latin text by keys, other text through the input method;
// the empty text deletes what is there), its text selected first, and leaves it with Tab.
void enter(QWidget *box, const QString &text);
// Gives a combo box the focus; the list it opens (and any other popup) is closed again.
void focusCombo(QComboBox *box);
// Types a text into an editable combo box as a person does (a click into it, which may open its
// list; all selected; typed) and leaves it with Tab.
void enterCombo(QComboBox *box, const QString &text);
// Chooses the entry of that text in a combo box and leaves it with Tab.
void choose(QComboBox *box, const QString &text);

// Saves what the window shows as a PNG file.
bool savePicture(QWidget *w, const QString &path);
// The pixels of an area of a picture that are clearly coloured (text is black or grey; a colour
// emoji is not).
int colourfulPixels(const QImage &picture, const QRect &area);

// Runs a modal dialog that a procedure opened: shows it, lets `drive` act on it, closes it as
// the window system would when it is still open, and returns its result.
int driveModal(QDialog *dialog, const std::function<void(QDialog *)> &drive);
// The scripted UI runs `drive` (through driveModal) whenever the dialog of that name is shown
// modally.
void onModal(ScriptedUi &ui, const QString &name, std::function<void(QDialog *)> drive);

}  // namespace hbtest
