#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// One of the five log conversions, by its command-line name, on arbitrary bytes. The first byte
// picks the firmware variant (bit 0: V500 instead of V407x, bit 1: Duo), the rest is the log.
// Checks that the log stays untouched, that a failed conversion leaves nothing beside it, and that
// a finished one is a complete file of its format.
int fuzzConversion(std::string_view formatName, const uint8_t* data, size_t size);
