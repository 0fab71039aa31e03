#include "convert/numbertext.h"
#include "log/logfields.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

constexpr char DigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

constexpr quint64 Pow10[] = {1ull,
                             10ull,
                             100ull,
                             1000ull,
                             10000ull,
                             100000ull,
                             1000000ull,
                             10000000ull,
                             100000000ull,
                             1000000000ull,
                             10000000000ull,
                             100000000000ull,
                             1000000000000ull,
                             10000000000000ull,
                             100000000000000ull,
                             1000000000000000ull,
                             10000000000000000ull,
                             100000000000000000ull,
                             1000000000000000000ull,
                             10000000000000000000ull};

// The double as mantissa * 2^-shift (53-bit whole mantissa); nothing for
// subnormal values and those of 2^53 or more.
struct Binary {
    quint64 mantissa;
    int shift;
};
std::optional<Binary> binaryOf(double magnitude) {
    const auto bits = std::bit_cast<quint64>(magnitude);
    const int biased = int(bits >> 52);
    const int shift = 1075 - biased;
    if (biased == 0 || shift <= 0 || shift >= 127)
        return std::nullopt;
    return Binary{(bits & ((quint64(1) << 52) - 1)) | (quint64(1) << 52), shift};
}

// magnitude * 10^k rounded half to even, exactly, for 0 <= k <= 19.
std::optional<quint64> scaledExactly(const Binary& b, int k) {
    if (k < 0 || k > 19)
        return std::nullopt;
    const unsigned __int128 product = (unsigned __int128)b.mantissa * Pow10[k];
    unsigned __int128 quotient = product >> b.shift;
    const unsigned __int128 rest = product - (quotient << b.shift);
    const unsigned __int128 half = (unsigned __int128)1 << (b.shift - 1);
    if (rest > half || (rest == half && (quotient & 1)))
        ++quotient;
    if (quotient > ~quint64(0))
        return std::nullopt;
    return quint64(quotient);
}

// Powers of ten 1e-24 to 1e24 as doubles, for the first guess of a decimal
// exponent (those below 1 are not exact; the exact scaling settles it).
constexpr int Pow10DoubleLowest = -24;
constexpr double Pow10Double[] = {
    1e-24, 1e-23, 1e-22, 1e-21, 1e-20, 1e-19, 1e-18, 1e-17, 1e-16, 1e-15, 1e-14, 1e-13, 1e-12,
    1e-11, 1e-10, 1e-9,  1e-8,  1e-7,  1e-6,  1e-5,  1e-4,  1e-3,  1e-2,  1e-1,  1e0,   1e1,
    1e2,   1e3,   1e4,   1e5,   1e6,   1e7,   1e8,   1e9,   1e10,  1e11,  1e12,  1e13,  1e14,
    1e15,  1e16,  1e17,  1e18,  1e19,  1e20,  1e21,  1e22,  1e23,  1e24};

// magnitude * 10^k rounded to a whole number of 15 digits, from one
// multiplication in double precision where that is sure to round alike; else
// nothing. 10^k is exact for k up to 22, and a product below 10^15 (< 2^50)
// is within 1/16 of the exact one, so a fraction farther than that from one
// half rounds as the exact product does.
std::optional<quint64> scaledQuickly(double magnitude, int k) {
    if (k < 0 || k > 22)
        return std::nullopt;
    const double product = magnitude * Pow10Double[k - Pow10DoubleLowest];
    if (!(product >= 1e14 && product < 1e15))
        return std::nullopt;
    const auto whole = quint64(product);
    const double fraction = product - double(whole); // exact
    if (std::fabs(fraction - 0.5) <= 1.0 / 16)
        return std::nullopt;
    const quint64 n = whole + (fraction > 0.5 ? 1 : 0);
    if (n >= Pow10[15])
        return std::nullopt;
    return n;
}

// The decimal exponent of `magnitude` (mantissa * 2^-shift), guessed.
int decimalExponentGuess(double magnitude, int shift) {
    // floor(log10(2^b)) of the binade's lowest value, in whole numbers
    // (78913 / 2^18 is log10(2) closely enough), one more once the value has
    // reached the next power of ten.
    const int binaryExponent = 52 - shift;
    int e = (binaryExponent * 78913) >> 18;
    const int next = e + 1 - Pow10DoubleLowest;
    if (next >= 0 && next < int(std::size(Pow10Double)) && magnitude >= Pow10Double[next])
        ++e;
    return e;
}

// The eight digits of n < 10^8, leading zeros included: n / 10^6 as a 32.32
// fixed-point number (rounded up, which holds for every such n), then two
// digits out of each multiplication by 100.
void eightDigits(char* out, quint32 n) {
    quint64 y = ((quint64(n) * 281474977u) >> 16) + 1;
    std::memcpy(out, DigitPairs + 2 * (y >> 32), 2);
    y = quint64(quint32(y)) * 100;
    std::memcpy(out + 2, DigitPairs + 2 * (y >> 32), 2);
    y = quint64(quint32(y)) * 100;
    std::memcpy(out + 4, DigitPairs + 2 * (y >> 32), 2);
    y = quint64(quint32(y)) * 100;
    std::memcpy(out + 6, DigitPairs + 2 * (y >> 32), 2);
}

// The 15 significant digits of |value| (correctly rounded) and the decimal
// exponent of the first one. The byte before `digits` may be overwritten.
void significantDigits(double value, char* digits, int& exponent) {
    const double magnitude = std::fabs(value);
    if (const auto binary = binaryOf(magnitude)) {
        int e = decimalExponentGuess(magnitude, binary->shift);
        if (const auto n = scaledQuickly(magnitude, 14 - e)) {
            eightDigits(digits - 1, quint32(*n / 100000000u)); // a leading '0' first
            eightDigits(digits + 7, quint32(*n % 100000000u));
            exponent = e;
            return;
        }
        // The exact scaling corrects a guess that is off.
        for (int attempt = 0; attempt < 3; ++attempt) {
            const auto n = scaledExactly(*binary, 14 - e);
            if (!n)
                break;
            if (*n >= Pow10[15]) {
                ++e;
                continue;
            }
            if (*n < Pow10[14]) {
                --e;
                continue;
            }
            eightDigits(digits - 1, quint32(*n / 100000000u)); // a leading '0' first
            eightDigits(digits + 7, quint32(*n % 100000000u));
            exponent = e;
            return;
        }
    }
    // Very large or very small values: the library's correctly rounded form.
    char buf[40];
    const auto end =
        std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14).ptr;
    int count = 0;
    const char* p = buf;
    for (; p < end && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            digits[count++] = *p;
    std::from_chars(p + 1 + (p[1] == '+'), end, exponent);
}

} // namespace

char* composeNumberText(char* p, double value, NumberLayout layout) {
    if (value == 0) {
        *p++ = '0';
        return p;
    }
    // Round to 15 significant digits first; the layout follows the rounded value.
    if (value < 0)
        *p++ = '-';
    // The digits after one byte of scratch, then '0's: the fixed-size moves
    // below read past the 15.
    char buffer[33];
    char* const digits = buffer + 1;
    std::memcpy(digits + 15, "00000000000000000", 17);
    int exponent = 0;
    significantDigits(value, digits, exponent);
    int count = 15;
    while (count > 1 && digits[count - 1] == '0')
        --count;

    // `n` digits, moved as 16 bytes (at most 33 bytes into the text: sign,
    // 15 digits, '.', 16).
    auto put = [&p](const char* from, int n) {
        std::memcpy(p, from, 16);
        p += n;
    };
    // Positional stops at 1e-10 so the text stays within NumberText::Capacity; the
    // smallest coordinate (field 1) is about 1.7e-6.
    const int smallest = layout == NumberLayout::General ? -4 : -10;
    if (exponent < smallest || exponent >= 15) {
        *p++ = digits[0];
        if (count > 1) {
            *p++ = '.';
            put(digits + 1, count - 1);
        }
        *p++ = 'E';
        if (exponent < 0)
            *p++ = '-';
        return std::to_chars(p, p + 4, exponent < 0 ? -exponent : exponent).ptr;
    }
    if (exponent < 0) {
        *p++ = '0';
        *p++ = '.';
        for (int i = -exponent - 1; i > 0; --i)
            *p++ = '0';
        put(digits, count);
        return p;
    }
    const int whole = exponent + 1;
    put(digits, whole); // '0's after the digits fill an integral value
    if (count <= whole)
        return p;
    *p++ = '.';
    put(digits + whole, count - whole);
    return p;
}

NumberText numberTextOf(double value, NumberLayout layout) {
    NumberText text;
    text.setEnd(composeNumberText(text.begin(), value, layout));
    return text;
}

std::string numberText(double value, NumberLayout layout) {
    return std::string(numberTextOf(value, layout).view());
}

NumberText decimalText(qint64 value) {
    NumberText text;
    text.setEnd(std::to_chars(text.begin(), text.begin() + NumberText::Capacity, value).ptr);
    return text;
}

char* composeCoordinateText(char* out, std::string_view field, NumberLayout layout) {
    const auto coordinate = parseLogInteger(field);
    if (!coordinate)
        return nullptr;
    return composeNumberText(out, coordDegrees(*coordinate), layout);
}

char* composeIntFieldText(char* out, std::string_view field) {
    // Up to nine plain digits without a leading zero are their own canonical
    // form: copied as they are checked.
    if (field.size() - 1 < 9 && field[0] != '0') {
        size_t k = 0;
        for (; k < field.size() && unsigned(field[k] - '0') <= 9; ++k)
            out[k] = field[k];
        if (k == field.size())
            return out + k;
    }
    const auto v = parseLogInteger(field);
    if (!v)
        return nullptr;
    return std::to_chars(out, out + NumberText::Capacity, *v).ptr;
}

char* composeTenthsFieldText(char* out, std::string_view field) {
    const auto v = parseLogInteger(field);
    if (!v)
        return nullptr;
    // A tenth of a 32-bit value has at most ten digits, far fewer than 15: its
    // text is exact, the whole part and one decimal when there is one.
    char* p = out;
    qint64 m = *v;
    if (m < 0) {
        *p++ = '-';
        m = -m;
    }
    p = std::to_chars(p, p + 12, m / 10).ptr;
    if (m % 10 != 0) {
        *p++ = '.';
        *p++ = char('0' + m % 10);
    }
    return p;
}

namespace {
// The text a composer gives for `field`, as a string.
template <class Compose>
std::optional<std::string> composedString(Compose compose, std::string_view field) {
    char room[NumberText::Capacity];
    const char* end = compose(room, field);
    if (!end)
        return std::nullopt;
    return std::string(room, size_t(end - room));
}
} // namespace

std::optional<std::string> CoordFieldToDegrees(std::string_view field) {
    return composedString(
        [](char* out, std::string_view f) { return composeCoordinateText(out, f); }, field);
}

std::optional<std::string> IntFieldToText(std::string_view field) {
    return composedString(composeIntFieldText, field);
}

std::optional<std::string> TenthsFieldToText(std::string_view field) {
    return composedString(composeTenthsFieldText, field);
}
