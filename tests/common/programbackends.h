#pragma once
// A program folder whose data and master databases are of the kind under test (SQLite files, or
// a database of its own on the private MariaDB server), with scripted prompts: for the windows
// and procedures that run on the four global database objects.

#include "common/backends.h"
#include "common/harness.h"
#include "common/programdir.h"
#include "common/scriptedui.h"
#include "core/forms.h"

namespace hbtest {

class ProgramBackends : public BothBackends {
protected:
    void SetUp() override
    {
        BothBackends::SetUp();
        if (IsSkipped())
            return;
        dir.createAndOpen();
        if (GetParam() == Backend::MariaDb)
            dir.useServer(fresh().serverParams().dsn, fresh().serverParams().database);
    }
    void TearDown() override
    {
        hb::destroyForms();
        settle();
        ProgramDir::releaseGlobals();
        BothBackends::TearDown();
    }

    ProgramDir dir;
    ScopedScriptedUi ui;
};

}  // namespace hbtest
