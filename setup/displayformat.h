#pragma once

#include <QString>

// The texts of the setup value displays. Both number formats use the decimal
// separator of the default QLocale (the user's locale unless a test sets one).

// Decimal digits, no separators (60, 125).
QString wholeNumberText(qint64 value);

// Pattern "000.000": at least three digits before the separator, exactly
// three after it, rounded to the third decimal (433.075).
QString frequencyText(double value);

// The shortest text with at most 15 significant digits: no trailing zeros,
// no separator for whole values, 0 before the separator, ASCII minus; a
// negative zero gives "0" (4.7, 50, -0.3).
QString generalNumberText(double value);

// Transmit frequency of a channel in MHz: 433.050 + 0.025 x channel.
double channelFrequency(int channel);
