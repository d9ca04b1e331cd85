#pragma once
// The databases of the voucher tests: grower 1 current, the shared voucher array empty before and
// after each test, the windows gone after it (the run's globals are reset by GlobalDbs).

#include "bookkeeping/ledger.h"
#include "common/globaldbs.h"
#include "common/harness.h"
#include "core/forms.h"
#include "core/globals.h"

namespace ledgetest {

class LedgeDb : public hbtest::GlobalDbs {
protected:
    void SetUp() override
    {
        GlobalDbs::SetUp();
        if (IsSkipped())
            return;
        hb::gFmrID = hb::Value(1);
        hb::gLedge.assign(1, hb::LedgeRec());
    }
    void TearDown() override
    {
        hb::destroyForms();
        hbtest::settle();
        hb::gLedge.assign(1, hb::LedgeRec());
        GlobalDbs::TearDown();
    }
};

}  // namespace ledgetest
