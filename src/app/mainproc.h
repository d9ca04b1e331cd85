#pragma once
// The program's start-up.

namespace hb {

// Registers the shell's windows that the foundation opens (the connection settings dialog on a
// failed connection, the main menu from the calendar).
void installAppHooks();

// The start-up: creates missing databases, opens the four, makes sure a default grower and shop
// exist, resets unused pesticide use, and shows the main window that USE_TYPE names.
void Main();

}  // namespace hb
