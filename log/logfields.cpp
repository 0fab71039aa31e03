#include "log/logfields.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)
// Sixteen bytes at a time (every byte of every line is looked at twice).
using Chunk = __m128i;
constexpr size_t ChunkSize = 16;
Chunk loadChunk(const char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
Chunk bytesEqual(Chunk chunk, char c) {
    return _mm_cmpeq_epi8(chunk, _mm_set1_epi8(c));
}
// One bit per byte, the first byte lowest.
unsigned maskOf(Chunk bytes) {
    return unsigned(_mm_movemask_epi8(bytes));
}
#endif

// The number of ';' bytes.
size_t countSemicolons(std::string_view line) {
    const char* p = line.data();
    const size_t size = line.size();
    size_t count = 0;
    size_t i = 0;
#if defined(__SSE2__)
    while (i + ChunkSize <= size) {
        // Each ';' adds one to its byte's counter, which holds 255 at most:
        // the counters are summed every 255 chunks.
        Chunk counters = _mm_setzero_si128();
        const size_t chunks = std::min((size - i) / ChunkSize, size_t(255));
        for (size_t k = 0; k < chunks; ++k, i += ChunkSize)
            counters = _mm_sub_epi8(counters, bytesEqual(loadChunk(p + i), ';'));
        const Chunk sums = _mm_sad_epu8(counters, _mm_setzero_si128());
        count += size_t(_mm_cvtsi128_si32(sums)) + size_t(_mm_extract_epi16(sums, 4));
    }
    // The rest as the line's last chunk, less the bytes counted already.
    if (i < size && size >= ChunkSize) {
        const size_t from = size - ChunkSize;
        const unsigned counted = (1u << (i - from)) - 1;
        return count +
               size_t(std::popcount(maskOf(bytesEqual(loadChunk(p + from), ';')) & ~counted));
    }
#endif
    for (; i < size; ++i)
        count += p[i] == ';';
    return count;
}

// Splits a line without quotes and bytes of codes 0 to 32 at every ';', as
// the general rules do for such a line. False, with some fields set, for any
// other line.
bool splitPlainLine(const std::string& line, std::vector<std::string_view>& fields,
                    size_t maxFields) {
    const char* p = line.data();
    const size_t size = line.size();
    if (size == 0 || maxFields == 0)
        return true;
    size_t start = 0;
#if defined(__SSE2__)
    if (size >= ChunkSize) {
        for (size_t at = 0; at < size;) {
            // The last chunk ends with the line; the bytes it shares with the
            // chunk before are left out.
            const size_t from = std::min(at, size - ChunkSize);
            const unsigned seen = (1u << (at - from)) - 1;
            const Chunk chunk = loadChunk(p + from);
            // Codes 0 to 32 are the bytes whose unsigned maximum with 32 is 32.
            const Chunk low = bytesEqual(_mm_max_epu8(chunk, _mm_set1_epi8(32)), 32);
            if ((maskOf(_mm_or_si128(low, bytesEqual(chunk, '"'))) & ~seen) != 0)
                return false;
            for (unsigned semicolons = maskOf(bytesEqual(chunk, ';')) & ~seen; semicolons != 0;
                 semicolons &= semicolons - 1) {
                const size_t end = from + size_t(std::countr_zero(semicolons));
                fields.emplace_back(p + start, end - start);
                start = end + 1;
                if (fields.size() == maxFields)
                    return true;
            }
            at = from + ChunkSize;
        }
        fields.emplace_back(p + start, size - start);
        return true;
    }
#endif
    for (size_t i = 0; i < size; ++i) {
        const auto c = static_cast<unsigned char>(p[i]);
        if (c <= 32 || c == '"')
            return false;
        if (c == ';') {
            fields.emplace_back(p + start, i - start);
            start = i + 1;
            if (fields.size() == maxFields)
                return true;
        }
    }
    fields.emplace_back(p + start, size - start);
    return true;
}

} // namespace

bool IsLogDataLine(std::string_view line, const FirmwareVariant& firmware) {
    const size_t wanted = size_t(firmware.logFieldCount() - 1);
    return countSemicolons(line) == wanted;
}

void SplitLogLine(std::string& line, std::vector<std::string_view>& fields, size_t maxFields) {
    fields.clear();
    // Most lines: plain fields between ';'.
    if (splitPlainLine(line, fields, maxFields))
        return;
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

Failure notAnInteger(std::string_view field) {
    return Failure{FailureKind::NotANumber,
                   QStringLiteral("'%1' ist kein gültiger Integerwert").arg(fieldText(field))};
}

Failure notAFloat(std::string_view field) {
    return Failure{FailureKind::NotANumber,
                   QStringLiteral("'%1' ist kein gültiger Gleitkommawert").arg(fieldText(field))};
}

double coordDegrees(qint32 coordinate) {
    const qint64 m = coordinate < 0 ? -qint64(coordinate) : qint64(coordinate);
    const double q = double(m) / 1000000.0;
    // The whole degrees and the minutes part are single precision.
    const float deg = float(m / 1000000); // the whole part of q, exactly
    const float frac = float(q - double(deg));
    const double r = double(frac) * 100.0 / 60.0 + double(deg);
    return coordinate < 0 ? -r : r;
}
