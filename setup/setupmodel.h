#pragma once

#include "core/programstate.h"
#include "setup/setupimage.h"

#include <QString>
#include <array>
#include <optional>
#include <span>

// The nineteen setups: what each byte means, which controls edit it, and what
// every user action on those controls does to the image. The window builds its
// spinners from this table and its named handlers call the functions below;
// altorin-setup edits files with the same functions, so both always agree.

// How a setup's controls work, and so how its byte is edited.
enum class SetupKind {
    Channel,      // setup 0: spinner; channel and frequency displays
    Spinner,      // the byte is the spinner's position
    Interval,     // setup 3: spinner and "keine Ansage" box, which stores 60
    Choice,       // radio buttons, one byte value each
    Threshold,    // spinner with a box that switches the alarm off (byte 0)
    Announcement, // setup 13: value-mode buttons, box and step spinner
    Capacity,     // setup 17: spinner and a box for the percent bit
};

// How a byte (or a spinner position) reads in its value display.
enum class Shown { Whole, Tenths, NegativeTenths, Halves };

// Which firmware variants have a control: firmware up to V407x lacks some.
enum class Offered { Always, FromV500 };
bool isOffered(Offered offered, const FirmwareVariant& firmware);

struct SpinnerRange {
    int min = 0;
    int max = 0; // below min for setup 7: the up arrow heads for 0
    int increment = 1;
    int position = 0; // at creation
};

// One radio button of a choice: the byte value it stands for (setup 13: the
// value mode), and the setup whose alarm it switches off (-1: none).
struct SetupOption {
    const char* button;
    quint8 value;
    Offered offered = Offered::Always;
    int switchesOff = -1;
};

struct SetupDefinition {
    int number; // also its byte
    SetupKind kind;
    const char* group; // the group box, whose caption names the setup
    quint8 defaultByte;
    Offered offered = Offered::Always;
    const char* spinner = nullptr;
    SpinnerRange range = {};
    Shown shown = Shown::Whole;
    const char* display = nullptr;
    const char* unit = nullptr;         // the label after the display
    const char* displayLabel = nullptr; // setup 0: the label naming the channel display
    const char* box = nullptr;
    quint8 offByte = 0;    // what a ticked box stores (setup 3), or the flag bit (setup 17)
    int resetPosition = 0; // where the box's handler puts the spinner; 0: it stays
    // A threshold's cleared box stores the spinner's value at once; otherwise
    // the byte stays 0 until the spinner is clicked.
    bool clearingStoresPosition = false;
    Offered spinnerOffered = Offered::Always; // spinner, box, display and labels
    std::span<const char* const> labels = {}; // other labels of the spinner part
    std::span<const SetupOption> options = {};
    const char* frequencyDisplay = nullptr; // setup 0
};

inline constexpr int SetupCount = 19;

std::span<const SetupDefinition> setupDefinitions();
const SetupDefinition& setupDefinition(int setup);
// The setup whose spinner has that name; nullptr for none.
const SetupDefinition* setupOfSpinner(const char* name);
// Every control that firmware up to V407x does not show, by name.
QStringList lateFirmwareControls();

// What the controls of one setup group show.
struct GroupState {
    int position = 0; // of its spinner
    bool ticked = false;
    int option = 0; // index of the selected radio button
    QString shown;  // value display; not setup 13's, see announcementStepText
    QString frequency;
};

// The image with everything its controls show. A spinner position may differ
// from its byte (a box ticked, or a byte outside the range), and a display may
// keep an older text, so handlers work on the whole state. Setup 13's "n"
// display shows announcementStepText of the image's step: the window puts it
// there after showing an image and after its step's spinner and box.
struct EditorState {
    SetupImage image;
    std::array<GroupState, SetupCount> groups;
};

// The window right after start: default setup shown on the design-time controls.
EditorState startState();

// Shows the image on every control and sets the setup-13 state from byte 13.
// Changes no byte: no handler runs meanwhile.
void showImage(EditorState& state);

// The handlers. Each takes the controls as they are after the user's action:
// the spinner already moved, the box already ticked or cleared, the button
// already selected.
void spinnerClicked(EditorState& state, int setup);
void boxChanged(EditorState& state, int setup);
void optionSelected(EditorState& state, int setup, int option);

// The program ticks or clears a box: its handler runs when the tick changes.
void setBox(EditorState& state, int setup, bool ticked);

// The clamped position a spinner takes when the program sets it.
int spinnerPosition(const SetupDefinition& setup, int position);
// Whether the spinner can stand at a position: in its range and on its steps.
bool spinnerReaches(const SetupDefinition& setup, int position);

// Setup 13's "n" display for an announcement step; nothing: left as it is.
std::optional<QString> announcementStepText(qint32 step);

// Firmware up to V407x has no additional announcement: choosing it sets the
// step to 0 and rebuilds byte 13 from the value mode. Other firmware: no change.
void fitImageToFirmware(SetupImage& image, const FirmwareVariant& firmware);

// What one spinner step is worth in the display (0.1 for tenths, 1 for whole).
double shownScale(Shown format);
// The text of a display for a value (locale's separator, like the window).
QString shownText(Shown format, int value);
