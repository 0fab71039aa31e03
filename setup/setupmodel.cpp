#include "setup/setupmodel.h"
#include "setup/displayformat.h"

#include <QStringList>
#include <algorithm>
#include <cstring>

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

quint8 asByte(int value) {
    return static_cast<quint8>(value);
}

// Setup 0 shows the channel and its transmit frequency.
void showChannel(GroupState& group, int channel) {
    group.frequency = frequencyText(channelFrequency(channel));
    group.shown = wholeNumberText(channel);
}

void storeCapacity(EditorState& state) {
    const SetupDefinition& s = Setups[17];
    GroupState& group = state.groups[17];
    const int position = group.position;
    state.image[17] = asByte(group.ticked ? position + s.offByte : position);
    group.shown = shownText(s.shown, position);
}

void storeAnnouncementStep(EditorState& state) {
    GroupState& group = state.groups[13];
    state.image.announcementStep = group.ticked ? group.position : 0;
    storeByte13(state.image);
}

// An alarm that cannot work is ticked off; the box's own handler, run by the
// tick, has the same effect.
void switchOffAlarm(EditorState& state, int setup) {
    setBox(state, setup, true);
    GroupState& group = state.groups[setup];
    state.image[setup] = 0;
    group.shown.clear();
    group.position = spinnerPosition(Setups[setup], Setups[setup].resetPosition);
}

void showThreshold(EditorState& state, const SetupDefinition& s) {
    GroupState& group = state.groups[s.number];
    const quint8 value = state.image[s.number];
    group.ticked = value == 0;
    if (value == 0) {
        group.shown.clear();
        return;
    }
    group.position = spinnerPosition(s, value);
    group.shown = shownText(s.shown, value);
}

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

double shownScale(Shown format) {
    switch (format) {
    case Shown::Tenths:
        return 0.1;
    case Shown::NegativeTenths:
        return -0.1;
    case Shown::Halves:
        return 0.5;
    case Shown::Whole:
        break;
    }
    return 1.0;
}

QString shownText(Shown format, int value) {
    if (format == Shown::Whole)
        return wholeNumberText(value);
    return generalNumberText(value * shownScale(format));
}

int spinnerPosition(const SetupDefinition& setup, int position) {
    const SpinnerRange& r = setup.range;
    return std::clamp(position, std::min(r.min, r.max), std::max(r.min, r.max));
}

bool spinnerReaches(const SetupDefinition& setup, int position) {
    const SpinnerRange& r = setup.range;
    const int low = std::min(r.min, r.max);
    const int high = std::max(r.min, r.max);
    return position >= low && position <= high && (position - low) % r.increment == 0;
}

std::optional<QString> announcementStepText(qint32 step) {
    switch (step) {
    case 0:
        return QString();
    case 1:
        return QStringLiteral("2");
    case 2:
        return QStringLiteral("5");
    case 3:
        return QStringLiteral("10");
    default:
        return std::nullopt; // a step the spinner cannot reach keeps the display
    }
}

void fitImageToFirmware(SetupImage& image, const FirmwareVariant& firmware) {
    if (isOffered(Setups[13].spinnerOffered, firmware))
        return;
    image.announcementStep = 0;
    storeByte13(image);
}

EditorState startState() {
    EditorState state;
    for (const SetupDefinition& s : Setups)
        state.groups[s.number].position = s.range.position;
    LoadDefaultSetup(state.image);
    showImage(state);
    return state;
}

void showImage(EditorState& state) {
    SetupImage& image = state.image;
    for (const SetupDefinition& s : Setups) {
        GroupState& group = state.groups[s.number];
        const quint8 value = image[s.number];
        switch (s.kind) {
        case SetupKind::Channel:
            group.position = spinnerPosition(s, value);
            showChannel(group, value);
            break;
        case SetupKind::Spinner:
            group.position = spinnerPosition(s, value);
            group.shown = shownText(s.shown, value);
            break;
        case SetupKind::Interval:
            // 60 is what the box stores, so a saved setup shows as it was saved.
            group.ticked = value == 0 || value == s.offByte;
            if (group.ticked) {
                group.shown.clear();
            } else {
                group.shown = wholeNumberText(value);
                group.position = spinnerPosition(s, value);
            }
            break;
        case SetupKind::Choice:
        case SetupKind::Announcement: {
            if (s.kind == SetupKind::Announcement) {
                const Setup13State decoded = decodeByte13(value);
                image.valueMode = decoded.valueMode;
                image.announcementStep = decoded.announcementStep;
                group.position = spinnerPosition(s, image.announcementStep);
                group.ticked = value >= 3;
            }
            const qint32 chosen = s.kind == SetupKind::Choice ? value : image.valueMode;
            // A value without a button leaves the selection as it was.
            for (size_t k = 0; k < s.options.size(); ++k)
                if (s.options[k].value == chosen)
                    group.option = static_cast<int>(k);
            break;
        }
        case SetupKind::Threshold:
            showThreshold(state, s);
            break;
        case SetupKind::Capacity: {
            const int capacity = value & ~s.offByte;
            group.position = spinnerPosition(s, capacity);
            if (value != 0)
                group.shown = shownText(s.shown, capacity);
            else
                group.shown.clear();
            group.ticked = (value & s.offByte) != 0;
            break;
        }
        }
    }
}

void spinnerClicked(EditorState& state, int setup) {
    const SetupDefinition& s = Setups[setup];
    GroupState& group = state.groups[setup];
    const int position = group.position;
    switch (s.kind) {
    case SetupKind::Channel:
        state.image[setup] = asByte(position);
        showChannel(group, position);
        break;
    case SetupKind::Spinner:
        state.image[setup] = asByte(position);
        group.shown = shownText(s.shown, position);
        break;
    case SetupKind::Interval:
        // The spinner moves under a ticked box, but the byte stays "no announcement".
        state.image[setup] = group.ticked ? s.offByte : asByte(position);
        if (!group.ticked)
            group.shown = wholeNumberText(state.image[setup]);
        break;
    case SetupKind::Threshold:
        state.image[setup] = group.ticked ? 0 : asByte(position);
        group.shown = group.ticked ? QString() : shownText(s.shown, position);
        break;
    case SetupKind::Announcement:
        storeAnnouncementStep(state);
        break;
    case SetupKind::Capacity:
        storeCapacity(state);
        break;
    case SetupKind::Choice:
        break;
    }
}

void boxChanged(EditorState& state, int setup) {
    const SetupDefinition& s = Setups[setup];
    GroupState& group = state.groups[setup];
    switch (s.kind) {
    case SetupKind::Interval:
        if (group.ticked) {
            state.image[setup] = s.offByte;
            group.shown.clear();
        } else {
            state.image[setup] = asByte(s.resetPosition);
            group.position = spinnerPosition(s, s.resetPosition);
            group.shown = wholeNumberText(s.resetPosition);
        }
        break;
    case SetupKind::Threshold:
        if (group.ticked) {
            state.image[setup] = 0;
            group.shown.clear();
        } else {
            if (s.clearingStoresPosition)
                state.image[setup] = asByte(group.position);
            group.shown = shownText(s.shown, state.image[setup]);
        }
        if (s.resetPosition != 0)
            group.position = spinnerPosition(s, s.resetPosition);
        break;
    case SetupKind::Announcement:
        storeAnnouncementStep(state);
        break;
    case SetupKind::Capacity:
        storeCapacity(state);
        break;
    case SetupKind::Channel:
    case SetupKind::Spinner:
    case SetupKind::Choice:
        break;
    }
}

void optionSelected(EditorState& state, int setup, int option) {
    const SetupOption& chosen = Setups[setup].options[option];
    state.groups[setup].option = option;
    if (Setups[setup].kind == SetupKind::Announcement) {
        state.image.valueMode = chosen.value;
        storeByte13(state.image);
        return;
    }
    state.image[setup] = chosen.value;
    if (chosen.switchesOff >= 0)
        switchOffAlarm(state, chosen.switchesOff);
}

void setBox(EditorState& state, int setup, bool ticked) {
    GroupState& group = state.groups[setup];
    if (group.ticked == ticked)
        return;
    group.ticked = ticked;
    boxChanged(state, setup);
}
