// libFuzzer's entry points for one target; HW_FUZZ_BODY names its body in FuzzTargets.h.
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    hw::fuzz::initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return hw::fuzz::HW_FUZZ_BODY(data, size);
}
