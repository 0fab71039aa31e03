// Fuzz target: the 3D KML path with the barometric altitude from arbitrary log bytes.
#include "convertfuzz.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("TZ", "UTC", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzConversion("kml3d-baro", data, size);
}
