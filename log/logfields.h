#pragma once

#include "core/failure.h"
#include "core/integertext.h"
#include "core/programstate.h"

#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Field rules of the device's log lines: which lines are Data lines, how they
// split into fields and how a field reads as a number. Log text is handled as
// bytes: fields that an export copies are written exactly as read. The number
// texts the exports write are in convert/numbertext.h.

// The fields of a Data line by number (0-based), the same in both layouts;
// the speed is only in lines of 17 fields.
namespace LogField {
inline constexpr size_t Elapsed = 2;      // seconds since the log started
inline constexpr size_t BaroAltitude = 4; // metres, tenths of a metre on the Duo
inline constexpr size_t Longitude = 10;   // degrees x 1e6 + minutes x 1e4
inline constexpr size_t Latitude = 11;
inline constexpr size_t GpsAltitude = 12; // metres
inline constexpr size_t Speed = 13;       // km/h
} // namespace LogField

// True when the line holds as many ';' as a log line of the variant: 12 up to
// V407x (13 fields), 16 from V500 (17 fields).
bool IsLogDataLine(std::string_view line, const FirmwareVariant& firmware);

// Splits a line into fields: blanks and control characters around fields are
// skipped, a blank ends an unquoted field, "..." quotes a field with "" for one
// quote, and a ';' as the very last character adds a final empty field.
// Unquoting is done in place in `line`; the views point into it. Splitting
// stops after `maxFields` fields (the ones an export reads).
void SplitLogLine(std::string& line, std::vector<std::string_view>& fields,
                  size_t maxFields = size_t(-1));
std::vector<std::string> SplitLogLine(std::string_view line);

// The field read as a 32-bit signed whole number: decimal, or hexadecimal after
// "$", "x", "X" or "0x", with an optional sign. Nothing when it is not one.
inline std::optional<qint32> parseLogInteger(std::string_view field) {
    return parseIntegerText(field, LogIntegerRules);
}
// The field read as a decimal number with '.' as separator and an optional
// exponent, whatever the machine's regional settings.
std::optional<double> parseLogFloat(std::string_view field);

// Fix test: a coordinate field of exactly "0" means the device had no
// position for the line; "00" is a position like any other.
inline bool isNoPosition(std::string_view coordinate) {
    return coordinate == "0";
}

// Degrees from the coordinate form (degrees x 1e6 + minutes x 1e4); the
// fraction goes through single precision as the device's tools always did,
// and the lost digits show (48123456 gives 48.2057600021362).
double coordDegrees(qint32 coordinate);

// The failures for a field that is no whole number ("'%s' ist kein gültiger
// Integerwert") or no decimal number ("... Gleitkommawert").
Failure notAnInteger(std::string_view field);
Failure notAFloat(std::string_view field);
