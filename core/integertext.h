#pragma once

#include <QtGlobal>
#include <optional>
#include <string_view>

// The integer texts the tool reads: the values of the settings file and the
// fields of the device's logs. Both take a signed 32-bit integer with an
// optional sign, in decimal, or in hexadecimal after "$", "x" or "X"; blanks
// (' ', not tabs) before it are skipped, nothing may follow it. They differ in
// the two points below.
struct IntegerTextRules {
    // Where "0x" introduces hexadecimal digits.
    enum class ZeroX {
        // As the first two characters of a longer text only, in either case,
        // with neither blanks nor a sign before it ("0X1f4").
        TextStartEitherCase,
        // In lower case only, after the blanks and the sign ("-0x10").
        AfterSignLowerCase,
    };
    // How hexadecimal digits become the value.
    enum class Hex {
        RangeChecked, // a signed value like a decimal one: $80000000 is too big
        BitPattern,   // up to eight digits as the 32-bit pattern: $FFFFFFFF is -1
    };
    ZeroX zeroX;
    Hex hex;
};

// The settings file, read as the platform's INI facility reads integers.
inline constexpr IntegerTextRules SettingsIntegerRules{IntegerTextRules::ZeroX::TextStartEitherCase,
                                                       IntegerTextRules::Hex::RangeChecked};
// The log fields, read as the device's own tools read them.
inline constexpr IntegerTextRules LogIntegerRules{IntegerTextRules::ZeroX::AfterSignLowerCase,
                                                  IntegerTextRules::Hex::BitPattern};

namespace integertext_detail {
// Every form the rules allow, for the texts that are not plain digits.
std::optional<qint32> parseAnyForm(std::string_view text, const IntegerTextRules& rules);
} // namespace integertext_detail

// The text's value; nothing when it is none under the rules.
inline std::optional<qint32> parseIntegerText(std::string_view text,
                                              const IntegerTextRules& rules) {
    // Most texts are a few plain digits, read alike by both rules; every
    // field of every log line comes here.
    if (text.size() - 1 < 9) {
        qint32 value = 0;
        size_t k = 0;
        for (; k < text.size(); ++k) {
            const unsigned digit = unsigned(static_cast<unsigned char>(text[k])) - '0';
            if (digit > 9)
                break;
            value = value * 10 + qint32(digit);
        }
        if (k == text.size())
            return value;
    }
    return integertext_detail::parseAnyForm(text, rules);
}
