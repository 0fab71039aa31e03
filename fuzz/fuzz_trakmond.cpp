// Fuzz target: the Trakmond plotter file from arbitrary log bytes.
#include "convertfuzz.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("TZ", "UTC", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzConversion("trakmond", data, size);
}
