#pragma once
// What the foundation must open but may not know: windows of the program's shell, registered by
// the shell at start-up (tests may register their own).

#include <functional>

class QWidget;

namespace hb {

struct AppHooks {
    // The connection settings dialog, run modally without owner, when the data or master
    // database cannot be opened and the user asks to correct the settings.
    std::function<void()> connectionSettings;
    // The main menu, shown modally over its owner (the calendar's menu button).
    std::function<void(QWidget *)> mainMenu;
};

AppHooks &appHooks();

}  // namespace hb
