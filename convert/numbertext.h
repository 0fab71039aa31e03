#pragma once

#include <QtGlobal>
#include <optional>
#include <string>
#include <string_view>

// The number texts the exports write, and the three conversions of log fields
// into them.
//
// The number text form: at most 15 significant digits, no trailing zeros,
// always '.', E notation below 0.0001 ("1.66666666245874E-6"). Positional
// writes small values as plain decimals too ("0.00000166666666245874"): GPX
// coordinates are xsd:decimal, which has no exponent.
enum class NumberLayout { General, Positional };

// A number's text in a buffer of its own: composing it allocates nothing, and
// no number can run past it. The longest text, a positional one of 15 digits
// after "-0." and nine zeros, takes 27 bytes; composing moves digits in blocks
// of 16 and writes up to 33.
class NumberText {
  public:
    static constexpr size_t Capacity = 40;

    std::string_view view() const { return {m_bytes, m_size}; }
    size_t size() const { return m_size; }
    // All Capacity bytes, of which size() are the text: a writer copies them
    // in one fixed-size move.
    const char* bytes() const { return m_bytes; }

    // Composing, only for the functions below.
    char* begin() { return m_bytes; }
    void setEnd(const char* end) { m_size = static_cast<unsigned char>(end - m_bytes); }

  private:
    char m_bytes[Capacity];
    unsigned char m_size = 0;
};

// The number text form at `out`, which has room for NumberText::Capacity bytes;
// returns the text's end.
char* composeNumberText(char* out, double value, NumberLayout layout = NumberLayout::General);
NumberText numberTextOf(double value, NumberLayout layout = NumberLayout::General);
std::string numberText(double value, NumberLayout layout = NumberLayout::General);
// Plain decimal digits, '-' before negative values.
NumberText decimalText(qint64 value);

// The three conversions of a log field into number texts, composed straight
// into a writer's room: each writes its text at `out`, which has room for
// NumberText::Capacity bytes, and returns the text's end; nullptr when the
// field is no 32-bit whole number.
char* composeCoordinateText(char* out, std::string_view field,
                            NumberLayout layout = NumberLayout::General);
// Canonical decimal form: no leading zeros, no '+'.
char* composeIntFieldText(char* out, std::string_view field);
// The field divided by ten (Duo altitudes in tenths of a metre).
char* composeTenthsFieldText(char* out, std::string_view field);

// The same as std::string.
std::optional<std::string> CoordFieldToDegrees(std::string_view field);
std::optional<std::string> IntFieldToText(std::string_view field);
std::optional<std::string> TenthsFieldToText(std::string_view field);
