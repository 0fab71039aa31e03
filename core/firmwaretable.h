#pragma once

#include <QString>
#include <QtGlobal>
#include <span>

// Fields of a log line in the two layouts.
inline constexpr int V407LogFields = 13;
inline constexpr int V500LogFields = 17;

// Which firmware the device runs; decides the window's setups and the log
// layout. The settings file may hold any number, so a variant need not be one
// of the table's rows: the predicates below say what each number means.
struct FirmwareVariant {
    qint32 version = 407; // 407: up to V407x, 500: from V500
    qint32 duo = 0;       // 1 only for the Duo model

    bool isDuo() const { return duo == 1; }
    QString duoText() const { return isDuo() ? QStringLiteral("Duo ") : QString(); }
    // Log lines of 17 fields above 407 (the Duo shares the 500's layout), of
    // 13 fields up to it.
    bool hasV500Layout() const { return version > 407; }
    // Inline: the Data line test asks it for every line of a log.
    int logFieldCount() const { return hasV500Layout() ? V500LogFields : V407LogFields; }
    // Only firmware 407 itself lacks setups 16 to 18, the fourth option of
    // setup 5 and setup 13's additional announcement: a stored 408 shows them.
    bool lacksLateSetups() const { return version == 407; }
    // A variant with the other log layout (never the Duo: the layout cannot
    // tell it from the 500).
    FirmwareVariant otherLayout() const;

    bool operator==(const FirmwareVariant&) const = default;
};

// Everything that names a variant or tells it apart, one row per variant.
struct FirmwareRow {
    FirmwareVariant variant;
    const char* optionValue; // the command lines' --firmware value
    const char* menuItem;    // its menu item; the caption tables hold the text
    const char* titleSuffix; // after "AltorinTool " and the version in the title
    int logFieldCount;
};

std::span<const FirmwareRow> firmwareTable();

// The row an option value names, in any letter case; nullptr for no variant.
const FirmwareRow* firmwareRowNamed(const QString& optionValue);

// The row that reads logs as `firmware` does: the 407's for every version up
// to 407, else the Duo's or the 500's by the Duo flag.
const FirmwareRow& firmwareRowOf(const FirmwareVariant& firmware);

// The row whose title the window shows: 407 whatever the Duo flag, 500 with
// Duo flag 0 or 1; nullptr for any other number, which keeps the form's title.
const FirmwareRow* titleRowOf(const FirmwareVariant& firmware);
