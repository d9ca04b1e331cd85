#include "common/harness.h"

#include "core/formbase.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTest>
#include <QValidator>
#include <QWheelEvent>
#include <QWindow>
#include <cstdlib>
#include <qpa/qwindowsysteminterface.h>

namespace hbtest {

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

bool activate(QWidget *window)
{
    window = window->window();
    if (!window->isVisible())
        window->show();
    window->activateWindow();
    // A window that closes at once (its load failed) is not waited for.
    bool active = false;
    if (!QTest::qWaitFor([&] { return (active = QTest::qWaitForWindowActive(window, 20)) || !window->isVisible(); }, 2000))
        active = false;
    settle();
    return active;
}

void click(QWidget *w)
{
    // Through the window, as the mouse does: the window sees the press before the focus moves.
    QWidget *top = w->window();
    QWindow *window = top->windowHandle();
    const QPoint pos = w->mapTo(top, w->rect().center());
    if (window)
        QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, pos);
    else
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
    settle();
}

void focusByClick(QWidget *w)
{
    click(w);
}

void pressKey(Qt::Key key, QWidget *w, Qt::KeyboardModifiers mods)
{
    QWidget *target = w ? w : QApplication::focusWidget();
    if (!target)
        return;
    QTest::keyClick(target, key, mods);
    settle();
}

namespace {
QWindow *keyboardWindow()
{
    if (QWidget *popup = QApplication::activePopupWidget())
        return popup->windowHandle();
    QWidget *focus = QApplication::focusWidget();
    return focus ? focus->window()->windowHandle() : QGuiApplication::focusWindow();
}
}  // namespace

void strike(Qt::Key key, Qt::KeyboardModifiers mods)
{
    if (QWindow *window = keyboardWindow())
        QTest::keyClick(window, key, mods);
    settle();
}

void strike(const char *keys, Qt::KeyboardModifiers mods)
{
    for (const char *k = keys; *k; ++k) {
        if (QWindow *window = keyboardWindow())
            QTest::keyClick(window, *k, mods);
    }
    settle();
}

void turnWheel(QWidget *over, int notches)
{
    QWindow *window = over->window()->windowHandle();
    const QPoint local = over->mapTo(over->window(), over->rect().center());
    for (int i = 0; i < std::abs(notches); ++i) {
        QWindowSystemInterface::handleWheelEvent(
            window, QPointF(local), QPointF(over->mapToGlobal(over->rect().center())), QPoint(),
            QPoint(0, notches > 0 ? -QWheelEvent::DefaultDeltasPerStep : QWheelEvent::DefaultDeltasPerStep));
        QWindowSystemInterface::flushWindowSystemEvents();
    }
    settle();
}

int characterLimit(QLineEdit *box)
{
    const QValidator *v = box->validator();
    if (!v)
        return 0;
    const QString kept = box->text();
    const bool modified = box->isModified();
    box->setText(QString());
    box->setModified(true);  // typed by a person
    int limit = 0;
    for (QString typed = QStringLiteral("a"); typed.size() <= 1000; typed += QLatin1Char('a')) {
        int pos = typed.size();
        if (v->validate(typed, pos) == QValidator::Invalid) {
            limit = typed.size() - 1;
            break;
        }
    }
    box->setText(kept);
    box->setModified(modified);
    return limit;
}

void typeText(QWidget *w, const QString &text)
{
    QInputMethodEvent e;
    e.setCommitString(text);
    QApplication::sendEvent(w, &e);
    settle();
}

void resizeOuter(QWidget *window, const QSize &outer)
{
    const auto *form = qobject_cast<const hb::Form *>(window);
    const QSize frame = (form ? form->outerSize() : window->frameGeometry().size()) - window->size();
    window->resize(outer - frame);
    settle();
}

void closePopups()
{
    for (int i = 0; i < 10 && QApplication::activePopupWidget(); ++i) {
        QApplication::activePopupWidget()->close();
        settle();
    }
}

namespace {
// Latin text by keys, other text through the input method; the empty text deletes the selection.
void typeInto(QWidget *target, const QString &text)
{
    bool latin = true;
    for (QChar c : text)
        latin = latin && c.unicode() < 0x80;
    if (text.isEmpty())
        pressKey(Qt::Key_Delete, target);
    else if (latin)
        QTest::keyClicks(target, text);
    else
        typeText(target, text);
}
}  // namespace

void enter(QWidget *box, const QString &text)
{
    closePopups();
    focusByClick(box);
    settle();
    closePopups();
    if (auto *e = qobject_cast<QLineEdit *>(box))
        e->selectAll();
    if (auto *p = qobject_cast<QPlainTextEdit *>(box))
        p->selectAll();
    typeInto(box, text);
    pressKey(Qt::Key_Tab, box);
    settle();
    closePopups();
}

void focusCombo(QComboBox *box)
{
    closePopups();
    box->setFocus();
    settle();
    closePopups();
}

void enterCombo(QComboBox *box, const QString &text)
{
    closePopups();
    focusByClick(box);
    // Keys go where the window system sends them: to the list when the focus opened it.
    QWidget *typing = QApplication::focusWidget();
    QTest::keyClick(typing, Qt::Key_A, Qt::ControlModifier);
    typeInto(typing, text);
    pressKey(Qt::Key_Tab);
    closePopups();
}

void choose(QComboBox *box, const QString &text)
{
    focusCombo(box);
    const int i = box->findText(text);
    EXPECT_GE(i, 0) << text.toStdString();
    box->setCurrentIndex(i);
    pressKey(Qt::Key_Tab, box);
    settle();
    closePopups();
}

bool savePicture(QWidget *w, const QString &path)
{
    return w->grab().save(path, "PNG");
}

int colourfulPixels(const QImage &picture, const QRect &area)
{
    int n = 0;
    const QRect in = area.intersected(picture.rect());
    for (int y = in.top(); y <= in.bottom(); ++y) {
        for (int x = in.left(); x <= in.right(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            n += c.hsvSaturation() > 120 && c.value() > 80;
        }
    }
    return n;
}

int driveModal(QDialog *dialog, const std::function<void(QDialog *)> &drive)
{
    dialog->show();
    activate(dialog);
    if (drive)
        drive(dialog);
    if (dialog->isVisible())
        dialog->close();
    settle();
    return dialog->result();
}

void onModal(ScriptedUi &ui, const QString &name, std::function<void(QDialog *)> drive)
{
    ui.modalHandlers[name] = [drive = std::move(drive)](QDialog *d) { return driveModal(d, drive); };
}

}  // namespace hbtest
