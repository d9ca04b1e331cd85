// libFuzzer entry: the target is chosen when the driver is built (HB_FUZZ_TARGET).
#include "oracle.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const hbfuzz::Check check = hbfuzz::checkByName(HB_FUZZ_TARGET);
    const std::string finding = check(data, size);
    if (!finding.empty()) {
        std::fprintf(stderr, "finding (%s): %s\n", HB_FUZZ_TARGET, finding.c_str());
        std::abort();
    }
    return 0;
}
