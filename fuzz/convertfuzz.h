#pragma once

#include <cstddef>
#include <cstdint>

// One of the five log conversions on arbitrary bytes. The first byte picks the
// firmware variant (bit 0: V500 instead of V407x, bit 1: Duo), the rest is the
// log. Checks that the log stays untouched, that a failed conversion leaves
// nothing beside it, and that a finished one is a complete file of its format.
enum class FuzzedFormat { Kml2d, Kml3dGps, Kml3dBaro, Gpx, Trakmond };

int fuzzConversion(FuzzedFormat format, const uint8_t* data, size_t size);
