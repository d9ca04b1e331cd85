#pragma once
// The program's windows over a fresh program folder: grower and shop 1 current, the calendar
// at May 2024, the input windows opening to add; every window and database gone after the test.

#include "common/harness.h"
#include "common/programdir.h"
#include "common/scriptedui.h"
#include "core/forms.h"
#include "core/globals.h"

#include <QDate>
#include <gtest/gtest.h>

namespace hbtest {

class AppWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir.createAndOpen();
        hb::gFmrID = hb::Value(1);
        hb::gShopID = hb::Value(1);
        hb::gCalMonth = QDate(2024, 5, 1);
        hb::gEditMode = hb::kEditAdd;
        hb::gEditRow = -1;
    }
    void TearDown() override
    {
        hb::destroyForms();
        settle();
        ProgramDir::releaseGlobals();
    }
    ProgramDir dir;
    ScopedScriptedUi ui;
};

}  // namespace hbtest
