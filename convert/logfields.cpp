#include "convert/logfields.h"

#include <algorithm>
#include <array>
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

Failure notAnInteger(std::string_view field) {
    return Failure{FailureKind::NotANumber,
                   QStringLiteral("'%1' ist kein gültiger Integerwert").arg(fieldText(field))};
}

Failure notAFloat(std::string_view field) {
    return Failure{FailureKind::NotANumber,
                   QStringLiteral("'%1' ist kein gültiger Gleitkommawert").arg(fieldText(field))};
}
