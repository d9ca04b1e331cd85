#pragma once
// The program's start-up.

#include <QString>
#include <functional>

class QApplication;

namespace hb {

// Registers the shell's windows that the foundation opens (the connection settings dialog on a
// failed connection, the main menu from the calendar).
void installAppHooks();

// The start-up: creates missing databases, opens the four, makes sure a default grower and shop
// exist, resets unused pesticide use, and shows the main window that USE_TYPE names. An error
// that none of these traps is reported (critical) and ends the program.
void Main();

// The whole program: the start-up, then the main window's events until the window system closes
// the program's last window (its close box, Alt+F4); the program then ends as its own end does
// (EndApp: windows unloaded, databases closed, exit status 0).
[[noreturn]] void runProgram(QApplication &app);

// Called with the name of each step as the start-up begins it ("settings", "data", "master",
// "work", "grower", "shop", "pesticide", "window"); tests make a step fail through it.
std::function<void(const QString &)> &startUpStepHook();

}  // namespace hb
