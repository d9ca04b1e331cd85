#pragma once
// Shutdown of the program and what the foundation opens through the program's shell.

class QWidget;

namespace hb {

// Unloads every loaded window, releases the four database objects and ends the program.
[[noreturn]] void EndApp();

// The main menu shown modally from the month calendar (single-grower mode), as the program's
// shell registered it; nothing when none is registered.
void showMainMenu(QWidget *owner);

// Cancel of a settings, master, print or export dialog: unloads the dialog when the main menu is
// loaded, otherwise ends the program (during start-up, or while the calendar is the main window).
class Form;
void cancelDialog(Form &dialog);

}  // namespace hb
