#pragma once
// The run's globals (core/globals.h) as a start of the program finds them: the one reset every
// fixture uses before and after its test.

namespace hbtest {

void resetRunGlobals();

}  // namespace hbtest
