#include "core/integertext.h"

namespace {
int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
} // namespace

std::optional<qint32> integertext_detail::parseAnyForm(std::string_view s,
                                                       const IntegerTextRules& rules) {
    using Rules = IntegerTextRules;
    size_t i = 0;
    bool negative = false;
    bool hex = false;
    if (rules.zeroX == Rules::ZeroX::TextStartEitherCase && s.size() > 2 && s[0] == '0' &&
        (s[1] == 'x' || s[1] == 'X')) {
        hex = true;
        i = 2;
    } else {
        while (i < s.size() && s[i] == ' ')
            ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            negative = s[i++] == '-';
        if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
            hex = true;
            ++i;
        } else if (rules.zeroX == Rules::ZeroX::AfterSignLowerCase && i + 1 < s.size() &&
                   s[i] == '0' && s[i + 1] == 'x') {
            hex = true;
            i += 2;
        }
    }
    if (i == s.size())
        return std::nullopt;

    // The magnitude, given up as soon as it leaves 32 bits.
    const quint64 base = hex ? 16 : 10;
    const quint64 most = hex && rules.hex == Rules::Hex::BitPattern ? 0xFFFFFFFFu : 0x80000000u;
    quint64 magnitude = 0;
    for (; i < s.size(); ++i) {
        const int digit = hexValue(s[i]);
        if (digit < 0 || quint64(digit) >= base)
            return std::nullopt;
        magnitude = magnitude * base + quint64(digit);
        if (magnitude > most)
            return std::nullopt;
    }
    if (hex && rules.hex == Rules::Hex::BitPattern) {
        const quint32 bits = quint32(magnitude);
        return qint32(negative ? 0u - bits : bits);
    }
    if (magnitude > (negative ? 0x80000000u : 0x7FFFFFFFu))
        return std::nullopt;
    return negative ? qint32(-qint64(magnitude)) : qint32(magnitude);
}
