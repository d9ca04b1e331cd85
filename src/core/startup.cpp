#include "core/startup.h"

#include "core/db.h"
#include "core/forms.h"
#include "core/uiservices.h"

namespace hb {

void EndApp()
{
    unloadAll();
    gDb.reset();
    gMst.reset();
    gWork.reset();
    gINI.reset();
    ui().endProgram(0);
}

void cancelDialog(Form &dialog)
{
    if (IsFormLoaded(QStringLiteral("fmnMain")))
        dialog.Unload();
    else
        EndApp();
}

}  // namespace hb
