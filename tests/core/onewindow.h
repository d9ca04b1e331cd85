#pragma once
// A test of one window shown modeless and active, with scripted prompts; the window is
// destroyed after the test.

#include "common/harness.h"
#include "common/scriptedui.h"
#include "core/forms.h"

#include <gtest/gtest.h>

namespace lt {

template <class W>
class OneWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        f = &hb::form<W>();
        f->showModeless();
        hbtest::activate(f);
        hbtest::settle();
    }
    void TearDown() override
    {
        hb::destroyForms();
        hbtest::settle();
    }

    hbtest::ScopedScriptedUi ui;
    W *f = nullptr;
};

}  // namespace lt
