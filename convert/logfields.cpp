#include "convert/logfields.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

bool isBlank(char c) {
    return static_cast<unsigned char>(c) - 1u < 32u;
}

// Bytes that end an unquoted field: codes 0 to 32 and ';'.
constexpr auto EndsField = [] {
    std::array<bool, 256> ends{};
    for (int c = 0; c <= 32; ++c)
        ends[size_t(c)] = true;
    ends[';'] = true;
    return ends;
}();

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

QString fieldText(std::string_view field) {
    // Log text is Latin-1; keep every byte visible in the message. A field of
    // a damaged log can run for megabytes: its start names it well enough,
    // and a message box (or stderr) of that size helps nobody.
    constexpr size_t Shown = 64;
    if (field.size() > Shown)
        return QString::fromLatin1(field.data(), Shown) + QChar(0x2026);
    return QString::fromLatin1(field.data(), qsizetype(field.size()));
}

} // namespace

namespace {
// The number of ';' bytes, eight bytes at a time (every line is tested).
size_t countSemicolons(std::string_view line) {
    constexpr quint64 Ones = 0x0101010101010101u;
    constexpr quint64 Low7 = 0x7F7F7F7F7F7F7F7Fu;
    size_t count = 0;
    size_t i = 0;
    for (; i + 8 <= line.size(); i += 8) {
        quint64 word;
        std::memcpy(&word, line.data() + i, 8);
        const quint64 x = word ^ (Ones * ';');
        // High bit set in every byte of x that is not zero.
        const quint64 nonZero = ((x & Low7) + Low7) | x;
        // One in the low bit of each ';' byte, summed by the multiplication.
        count += size_t((((~nonZero & ~Low7) >> 7) * Ones) >> 56);
    }
    for (; i < line.size(); ++i)
        count += line[i] == ';';
    return count;
}
} // namespace

bool IsLogDataLine(std::string_view line, const FirmwareVariant& firmware) {
    const size_t wanted = firmware.hasLongLogLines() ? 16 : 12;
    return countSemicolons(line) == wanted;
}

void SplitLogLine(std::string& line, std::vector<std::string_view>& fields, size_t maxFields) {
    fields.clear();
    // std::string keeps a NUL after its text: every scan below stops there,
    // and at an embedded NUL too, which ended the text for the device's own
    // tools as well.
    char* p = line.data();
    size_t i = 0;
    while (isBlank(p[i]))
        ++i;
    while (p[i] != 0 && fields.size() < maxFields) {
        if (p[i] == '"') {
            // Unquote in place: the write position never overtakes the read one.
            const size_t start = i;
            size_t w = i;
            size_t r = i + 1;
            while (p[r] != 0) {
                if (p[r] == '"') {
                    if (p[r + 1] == '"') {
                        p[w++] = '"';
                        r += 2;
                        continue;
                    }
                    ++r;
                    break;
                }
                p[w++] = p[r++];
            }
            fields.emplace_back(p + start, w - start);
            i = r;
        } else {
            const size_t start = i;
            while (!EndsField[static_cast<unsigned char>(p[i])])
                ++i;
            fields.emplace_back(p + start, i - start);
        }
        while (isBlank(p[i]))
            ++i;
        if (p[i] == ';') {
            // An empty view into the line, not a null one: writers copy
            // fields with memcpy, which must not be handed a null pointer.
            if (p[i + 1] == 0 && fields.size() < maxFields)
                fields.emplace_back(p + i + 1, 0);
            ++i;
            while (isBlank(p[i]))
                ++i;
        }
    }
}

std::vector<std::string> SplitLogLine(std::string_view line) {
    std::string copy(line);
    std::vector<std::string_view> views;
    SplitLogLine(copy, views);
    return {views.begin(), views.end()};
}

std::optional<double> parseLogFloat(std::string_view s) {
    size_t begin = 0;
    size_t end = s.size();
    while (begin < end && s[begin] == ' ')
        ++begin;
    while (end > begin && s[end - 1] == ' ')
        --end;
    bool negative = false;
    if (begin < end && (s[begin] == '+' || s[begin] == '-')) {
        negative = s[begin] == '-';
        ++begin;
    }
    // Own grammar check: from_chars would also take "inf", "nan" and hex forms.
    size_t i = begin;
    size_t digits = 0;
    while (i < end && isDigit(s[i]))
        ++i, ++digits;
    if (i < end && s[i] == '.') {
        ++i;
        while (i < end && isDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < end && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < end && (s[i] == '+' || s[i] == '-'))
            ++i;
        const size_t expStart = i;
        while (i < end && isDigit(s[i]))
            ++i;
        if (i == expStart)
            return std::nullopt;
    }
    if (i != end)
        return std::nullopt;
    double value = 0;
    auto [ptr, ec] = std::from_chars(s.data() + begin, s.data() + end, value);
    if (ec != std::errc() || ptr != s.data() + end || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

QString notAnIntegerText(std::string_view field) {
    return QStringLiteral("'%1' ist kein gültiger Integerwert").arg(fieldText(field));
}

QString notAFloatText(std::string_view field) {
    return QStringLiteral("'%1' ist kein gültiger Gleitkommawert").arg(fieldText(field));
}

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

// The 15 significant digits of |value| (correctly rounded) and the decimal
// exponent of the first one.
void significantDigits(double value, char digits[15], int& exponent) {
    const double magnitude = std::fabs(value);
    if (const auto binary = binaryOf(magnitude)) {
        // log10(2^e) as a first guess; the exact scaling corrects it.
        int e = int(std::floor((53 - binary->shift) * 0.30102999566398120));
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
            // Two independent halves, two digits a step.
            auto high = quint32(*n / 100000000u);
            auto low = quint32(*n % 100000000u);
            for (int i = 13; i >= 7; i -= 2) {
                std::memcpy(digits + i, DigitPairs + 2 * (low % 100), 2);
                low /= 100;
            }
            for (int i = 5; i >= 1; i -= 2) {
                std::memcpy(digits + i, DigitPairs + 2 * (high % 100), 2);
                high /= 100;
            }
            digits[0] = char('0' + high);
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
        if (isDigit(*p))
            digits[count++] = *p;
    std::from_chars(p + 1 + (p[1] == '+'), end, exponent);
}

} // namespace

char* writeDecimal(char* p, qint64 value) {
    return std::to_chars(p, p + 24, value).ptr;
}

char* writeNumberText(char* p, double value, NumberLayout layout) {
    if (value == 0) {
        *p++ = '0';
        return p;
    }
    // Round to 15 significant digits first; the layout follows the rounded value.
    if (value < 0)
        *p++ = '-';
    char digits[15];
    int exponent = 0;
    significantDigits(value, digits, exponent);
    int count = 15;
    while (count > 1 && digits[count - 1] == '0')
        --count;

    auto put = [&p](const char* from, int n) {
        std::memcpy(p, from, size_t(n));
        p += n;
    };
    // Positional stops at 1e-10 so the text stays within MaxNumberText; the
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
        return writeDecimal(p, exponent < 0 ? -exponent : exponent);
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
    if (count <= whole) {
        put(digits, count);
        for (int i = whole - count; i > 0; --i)
            *p++ = '0';
        return p;
    }
    put(digits, whole);
    *p++ = '.';
    put(digits + whole, count - whole);
    return p;
}

std::string numberText(double value, NumberLayout layout) {
    char buf[MaxNumberText];
    return std::string(buf, writeNumberText(buf, value, layout));
}

char* writeCoordDegrees(char* p, std::string_view field, NumberLayout layout) {
    const auto v = parseLogInteger(field);
    if (!v)
        return nullptr;
    const qint64 m = *v < 0 ? -qint64(*v) : qint64(*v);
    const double q = double(m) / 1000000.0;
    // The whole degrees and the minutes part are single precision; the lost
    // digits show in the result (48123456 gives 48.2057600021362).
    const float deg = float(m / 1000000); // the whole part of q, exactly
    const float frac = float(q - double(deg));
    double r = double(frac) * 100.0 / 60.0 + double(deg);
    if (*v < 0)
        r = -r;
    return writeNumberText(p, r, layout);
}

char* writeIntText(char* p, std::string_view field) {
    const auto v = parseLogInteger(field);
    return v ? writeDecimal(p, *v) : nullptr;
}

char* writeTenthsText(char* p, std::string_view field) {
    const auto v = parseLogInteger(field);
    return v ? writeNumberText(p, double(*v) / 10.0) : nullptr;
}

namespace {
std::optional<std::string> converted(std::string_view field,
                                     char* (*write)(char*, std::string_view)) {
    char buf[MaxNumberText];
    char* end = write(buf, field);
    if (!end)
        return std::nullopt;
    return std::string(buf, end);
}
} // namespace

std::optional<std::string> CoordFieldToDegrees(std::string_view field) {
    return converted(field, [](char* p, std::string_view f) { return writeCoordDegrees(p, f); });
}

std::optional<std::string> IntFieldToText(std::string_view field) {
    return converted(field, writeIntText);
}

std::optional<std::string> TenthsFieldToText(std::string_view field) {
    return converted(field, writeTenthsText);
}
