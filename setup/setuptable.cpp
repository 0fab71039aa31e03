#include "setup/setupmodel.h"

#include <QStringList>
#include <cstring>

// The table of the nineteen setups and its look-ups; what the controls do with
// it is in setupmodel.cpp.

namespace {

using K = SetupKind;
using O = Offered;

constexpr SetupOption SpeedOptions[] = {
    {"RadioButton1", 1},  {"RadioButton30", 3}, {"RadioButton31", 4},
    {"RadioButton32", 5}, {"RadioButton33", 6}, {"RadioButton2", 2},
};
constexpr SetupOption VarioOptions[] = {
    {"RadioButton3", 1},
    {"RadioButton4", 2},
    {"RadioButton5", 3},
    {"RadioButton29", 4, O::FromV500},
};
constexpr SetupOption ToneOptions[] = {
    {"RadioButton6", 0}, {"RadioButton7", 1},  {"RadioButton8", 2},
    {"RadioButton9", 3}, {"RadioButton10", 4},
};
// Without a current sensor the motor-battery alarm cannot work, with a Pitot
// sensor on the interface the temperature alarm cannot: choosing them
// switches that alarm off.
constexpr SetupOption CurrentSensorOptions[] = {
    {"RadioButton11", 0, O::Always, 12},
    {"RadioButton12", 1},
    {"RadioButton13", 2},
    {"RadioButton14", 3},
    {"RadioButton15", 4},
    {"RadioButton16", 5},
};
constexpr SetupOption UniLogOptions[] = {
    {"RadioButton17", 0},
    {"RadioButton18", 1},
    {"RadioButton19", 2},
    {"RadioButton20", 3, O::Always, 11},
    {"RadioButton28", 4, O::Always, 11},
};
constexpr SetupOption ValueModeOptions[] = {{"RadioButton21", 1}, {"RadioButton22", 2}};
constexpr SetupOption SensorTypeOptions[] = {
    {"RadioButton23", 1}, {"RadioButton24", 2}, {"RadioButton25", 3}};
constexpr SetupOption UnitOptions[] = {{"RadioButton26", 1}, {"RadioButton27", 0}};

constexpr const char* StepLabels[] = {"Label19", "Label20"};

// Options in the window's order, top to bottom: their number on the command line.
constexpr SetupDefinition Setups[] = {
    {.number = 0,
     .kind = K::Channel,
     .group = "GroupBox1",
     .defaultByte = 1,
     .spinner = "UpDown1",
     .range = {1, 69, 1, 1},
     .display = "Memo2",
     .unit = "Label5",
     .displayLabel = "Label1",
     .frequencyDisplay = "Memo1"},
    {.number = 1,
     .kind = K::Spinner,
     .group = "GroupBox2",
     .defaultByte = 60,
     .spinner = "UpDown2",
     .range = {10, 120, 10, 60},
     .display = "Memo3",
     .unit = "Label4"},
    {.number = 2,
     .kind = K::Spinner,
     .group = "GroupBox4",
     .defaultByte = 20,
     .spinner = "UpDown3",
     .range = {10, 60, 10, 20},
     .display = "Memo4",
     .unit = "Sekunden"},
    // A ticked "keine Ansage" stores 60; clearing it goes back to 20 s.
    {.number = 3,
     .kind = K::Interval,
     .group = "GroupBox3",
     .defaultByte = 20,
     .spinner = "UpDown4",
     .range = {5, 30, 5, 20},
     .display = "Memo5",
     .unit = "Label7",
     .box = "CheckBox1",
     .offByte = 60,
     .resetPosition = 20},
    {.number = 4,
     .kind = K::Choice,
     .group = "GroupBox5",
     .defaultByte = 1,
     .options = SpeedOptions},
    {.number = 5,
     .kind = K::Choice,
     .group = "GroupBox6",
     .defaultByte = 1,
     .options = VarioOptions},
    {.number = 6,
     .kind = K::Spinner,
     .group = "GroupBox7",
     .defaultByte = 47,
     .spinner = "UpDown5",
     .range = {44, 99, 1, 47},
     .shown = Shown::Tenths,
     .display = "Memo6",
     .unit = "Label11"},
    {.number = 7,
     .kind = K::Spinner,
     .group = "GroupBox8",
     .defaultByte = 0,
     .spinner = "UpDown6",
     .range = {20, 0, 1, 0},
     .shown = Shown::NegativeTenths,
     .display = "Memo7",
     .unit = "Label13"},
    {.number = 8,
     .kind = K::Choice,
     .group = "GroupBox9",
     .defaultByte = 1,
     .options = ToneOptions},
    {.number = 9,
     .kind = K::Choice,
     .group = "GroupBox10",
     .defaultByte = 0,
     .options = CurrentSensorOptions},
    {.number = 10,
     .kind = K::Choice,
     .group = "GroupBox11",
     .defaultByte = 0,
     .options = UniLogOptions},
    {.number = 11,
     .kind = K::Threshold,
     .group = "GroupBox12",
     .defaultByte = 0,
     .spinner = "UpDown7",
     .range = {5, 125, 5, 5},
     .display = "Memo8",
     .unit = "Label16",
     .box = "CheckBox2",
     .resetPosition = 5},
    {.number = 12,
     .kind = K::Threshold,
     .group = "GroupBox13",
     .defaultByte = 0,
     .spinner = "UpDown8",
     .range = {10, 100, 1, 10},
     .shown = Shown::Halves,
     .display = "Memo9",
     .unit = "Label18",
     .box = "CheckBox3",
     .resetPosition = 10},
    // Byte 13 = 2 x announcement step + value mode; the step's controls are
    // the additional altitude announcement, which firmware 407 lacks.
    {.number = 13,
     .kind = K::Announcement,
     .group = "GroupBox14",
     .defaultByte = 1,
     .spinner = "UpDown9",
     .range = {1, 3, 1, 1},
     .display = "Memo10",
     .unit = "Label22",
     .box = "CheckBox4",
     .spinnerOffered = O::FromV500,
     .labels = StepLabels,
     .options = ValueModeOptions},
    {.number = 14,
     .kind = K::Choice,
     .group = "GroupBox15",
     .defaultByte = 2,
     .options = SensorTypeOptions},
    {.number = 15,
     .kind = K::Choice,
     .group = "GroupBox16",
     .defaultByte = 1,
     .options = UnitOptions},
    {.number = 16,
     .kind = K::Spinner,
     .group = "GroupBox19",
     .defaultByte = 3,
     .offered = O::FromV500,
     .spinner = "UpDown10",
     .range = {3, 20, 1, 3},
     .display = "Memo13",
     .unit = "Label6"},
    // Bits 0..6 the capacity in tenths of Ah, bit 7 all capacity announcements in percent.
    {.number = 17,
     .kind = K::Capacity,
     .group = "GroupBox20",
     .defaultByte = 0,
     .offered = O::FromV500,
     .spinner = "UpDown11",
     .range = {5, 99, 1, 5},
     .shown = Shown::Tenths,
     .display = "Memo14",
     .unit = "Label23",
     .box = "CheckBox6",
     .offByte = 0x80},
    // Setup 18's box is "kein Kapazitätsalarm".
    {.number = 18,
     .kind = K::Threshold,
     .group = "GroupBox21",
     .defaultByte = 0,
     .offered = O::FromV500,
     .spinner = "UpDown12",
     .range = {20, 100, 10, 20},
     .display = "Memo15",
     .unit = "Label25",
     .box = "CheckBox5",
     .clearingStoresPosition = true},
};
static_assert(std::size(Setups) == SetupCount);

} // namespace

bool isOffered(Offered offered, const FirmwareVariant& firmware) {
    return offered == Offered::Always || !firmware.lacksLateSetups();
}

std::span<const SetupDefinition> setupDefinitions() {
    return Setups;
}

const SetupDefinition& setupDefinition(int setup) {
    return Setups[setup];
}

const SetupDefinition* setupOfSpinner(const char* name) {
    for (const SetupDefinition& s : Setups)
        if (s.spinner && std::strcmp(s.spinner, name) == 0)
            return &s;
    return nullptr;
}

QStringList lateFirmwareControls() {
    QStringList names;
    for (const SetupDefinition& s : Setups) {
        for (const SetupOption& option : s.options)
            if (option.offered == Offered::FromV500)
                names << QLatin1String(option.button);
        if (s.spinnerOffered == Offered::FromV500) {
            for (const char* name : {s.box, s.spinner, s.display, s.unit})
                names << QLatin1String(name);
            for (const char* label : s.labels)
                names << QLatin1String(label);
        }
        if (s.offered == Offered::FromV500)
            names << QLatin1String(s.group);
    }
    return names;
}
