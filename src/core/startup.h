#pragma once
// Start-up and shutdown of the program.

class QWidget;

namespace hb {

// The start-up: creates missing databases, opens the four, makes sure a default grower and shop
// exist, resets unused pesticide use, and shows the main window that USE_TYPE names.
void Main();

// Unloads every loaded window, releases the four database objects and ends the program.
[[noreturn]] void EndApp();

// The main menu shown modally from the month calendar (single-grower mode).
void showMainMenu(QWidget *owner);

// Cancel of a settings, master, print or export dialog: unloads the dialog when the main menu is
// loaded, otherwise ends the program (during start-up, or while the calendar is the main window).
class Form;
void cancelDialog(Form &dialog);

}  // namespace hb
