#include "core/startup.h"

#include "core/apphooks.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/uiservices.h"

#include <cstdlib>

namespace hb {

void EndApp()
{
    unloadAll();
    releaseDatabases();
    ui().endProgram(0);
    std::abort();  // not reached: ending the program does not return
}

void showMainMenu(QWidget *owner)
{
    if (appHooks().mainMenu)
        appHooks().mainMenu(owner);
}

void cancelDialog(Form &dialog)
{
    if (IsFormLoaded(QStringLiteral("fmnMain")))
        dialog.Unload();
    else
        EndApp();
}

}  // namespace hb
