#pragma once
#include <QApplication>
#include <functional>

namespace hb {
// The UI font every window uses; Japanese text needs a CJK face.
inline constexpr const char *kUiFontFamily = "Noto Sans CJK JP";
// Installs the Japanese translation of Qt's standard buttons and sets the UI font.
void initApplication(QApplication &app);

// Delivers one event; an error that no procedure trapped on its way out is reported (critical,
// its description) and the event counts as not handled. Program exit passes through.
bool deliverTrapped(const std::function<bool()> &deliver);

// The program's application object: every event is delivered through deliverTrapped, so no
// error ends the program abruptly from inside the event loop.
class Application : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override;
};
}
