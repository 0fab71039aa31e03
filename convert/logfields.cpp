#include "convert/logfields.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

bool isBlank(unsigned char c) {
    return c >= 1 && c <= 32;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void appendDecimal(std::string& out, qint64 value) {
    char buf[24];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, end);
}

QString fieldText(std::string_view field) {
    // Log text is Latin-1; keep every byte visible in the message.
    return QString::fromLatin1(field.data(), qsizetype(field.size()));
}

} // namespace

bool IsLogDataLine(std::string_view line, const FirmwareVariant& firmware) {
    const auto wanted = firmware.hasLongLogLines() ? 16 : 12;
    return std::count(line.begin(), line.end(), ';') == wanted;
}

void SplitLogLine(std::string& line, std::vector<std::string_view>& fields) {
    fields.clear();
    char* p = line.data();
    // A NUL ends the text, as it did for the device's own tools.
    const auto* nul = static_cast<const char*>(std::memchr(p, 0, line.size()));
    const size_t end = nul ? size_t(nul - p) : line.size();
    size_t i = 0;
    while (i < end && isBlank(p[i]))
        ++i;
    while (i < end) {
        if (p[i] == '"') {
            // Unquote in place: the write position never overtakes the read one.
            const size_t start = i;
            size_t w = i;
            size_t r = i + 1;
            while (r < end) {
                if (p[r] == '"') {
                    if (r + 1 < end && p[r + 1] == '"') {
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
            while (i<end&& static_cast<unsigned char>(p[i])> 32 && p[i] != ';')
                ++i;
            fields.emplace_back(p + start, i - start);
        }
        while (i < end && isBlank(p[i]))
            ++i;
        if (i < end && p[i] == ';') {
            if (i + 1 == end)
                fields.emplace_back();
            ++i;
            while (i < end && isBlank(p[i]))
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

std::optional<qint32> parseLogInteger(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && s[i + 1] == 'x') {
        hex = true;
        i += 2;
    }
    if (i == s.size())
        return std::nullopt;
    quint64 magnitude = 0;
    if (hex) {
        // Up to eight hex digits, taken as the 32-bit pattern ($FFFFFFFF is -1).
        for (; i < s.size(); ++i) {
            const int d = hexValue(s[i]);
            if (d < 0)
                return std::nullopt;
            magnitude = magnitude * 16 + quint64(d);
            if (magnitude > 0xFFFFFFFFu)
                return std::nullopt;
        }
        const quint32 bits = quint32(magnitude);
        return qint32(negative ? 0u - bits : bits);
    }
    const quint64 limit = negative ? 2147483648u : 2147483647u;
    for (; i < s.size(); ++i) {
        if (!isDigit(s[i]))
            return std::nullopt;
        magnitude = magnitude * 10 + quint64(s[i] - '0');
        if (magnitude > limit)
            return std::nullopt;
    }
    return negative ? qint32(-qint64(magnitude)) : qint32(magnitude);
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

void appendNumberText(std::string& out, double value) {
    if (value == 0) {
        out += '0';
        return;
    }
    // Round to 15 significant digits first; the layout follows the rounded value.
    char buf[40];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    const char* p = buf;
    if (*p == '-') {
        out += '-';
        ++p;
    }
    char digits[16];
    int count = 0;
    for (; p < end && *p != 'e'; ++p)
        if (isDigit(*p))
            digits[count++] = *p;
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+'), end, exponent);
    while (count > 1 && digits[count - 1] == '0')
        --count;

    if (exponent < -4 || exponent >= 15) {
        out += digits[0];
        if (count > 1) {
            out += '.';
            out.append(digits + 1, size_t(count - 1));
        }
        out += 'E';
        if (exponent < 0)
            out += '-';
        appendDecimal(out, exponent < 0 ? -exponent : exponent);
    } else if (exponent < 0) {
        out += "0.";
        out.append(size_t(-exponent - 1), '0');
        out.append(digits, size_t(count));
    } else {
        const int whole = exponent + 1;
        if (count <= whole) {
            out.append(digits, size_t(count));
            out.append(size_t(whole - count), '0');
        } else {
            out.append(digits, size_t(whole));
            out += '.';
            out.append(digits + whole, size_t(count - whole));
        }
    }
}

std::string numberText(double value) {
    std::string out;
    appendNumberText(out, value);
    return out;
}

bool appendCoordDegrees(std::string& out, std::string_view field) {
    const auto v = parseLogInteger(field);
    if (!v)
        return false;
    const qint64 m = *v < 0 ? -qint64(*v) : qint64(*v);
    const double q = double(m) / 1000000.0;
    // The whole degrees and the minutes part are single precision; the lost
    // digits show in the result (48123456 gives 48.2057600021362).
    const float deg = float(std::trunc(q));
    const float frac = float(q - double(deg));
    double r = double(frac) * 100.0 / 60.0 + double(deg);
    if (*v < 0)
        r = -r;
    appendNumberText(out, r);
    return true;
}

bool appendIntText(std::string& out, std::string_view field) {
    const auto v = parseLogInteger(field);
    if (!v)
        return false;
    appendDecimal(out, *v);
    return true;
}

bool appendTenthsText(std::string& out, std::string_view field) {
    const auto v = parseLogInteger(field);
    if (!v)
        return false;
    appendNumberText(out, double(*v) / 10.0);
    return true;
}

namespace {
template <typename Append>
std::optional<std::string> converted(std::string_view field, Append append) {
    std::string out;
    if (!append(out, field))
        return std::nullopt;
    return out;
}
} // namespace

std::optional<std::string> CoordFieldToDegrees(std::string_view field) {
    return converted(field, appendCoordDegrees);
}

std::optional<std::string> IntFieldToText(std::string_view field) {
    return converted(field, appendIntText);
}

std::optional<std::string> TenthsFieldToText(std::string_view field) {
    return converted(field, appendTenthsText);
}
