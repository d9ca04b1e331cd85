#pragma once
#include <QApplication>
#include <functional>

namespace hb {
// The UI font every window uses; Japanese text needs a CJK face.
inline constexpr const char *kUiFontFamily = "Noto Sans CJK JP";
// Names the computer's time zone to the C library in TZ (":/etc/localtime", the zone an unset TZ
// means) when TZ is unset, so the zone is read once: with TZ unset every local-time conversion
// (one for each date a server row brings) looks at /etc/localtime again. A change of the
// computer's zone is seen at the next start. Call it first thing in main(), before any other
// thread runs (it changes the environment).
void readTimeZoneOnce();
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
