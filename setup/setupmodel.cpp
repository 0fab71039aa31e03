#include "setup/setupmodel.h"
#include "setup/displayformat.h"

#include <QStringList>
#include <algorithm>

namespace {

quint8 asByte(int value) {
    return static_cast<quint8>(value);
}

// Setup 0 shows the channel and its transmit frequency.
void showChannel(GroupState& group, int channel) {
    group.frequency = frequencyText(channelFrequency(channel));
    group.shown = wholeNumberText(channel);
}

void storeCapacity(EditorState& state) {
    const SetupDefinition& s = setupDefinition(17);
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
    group.position = spinnerPosition(setupDefinition(setup), setupDefinition(setup).resetPosition);
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
    if (isOffered(setupDefinition(13).spinnerOffered, firmware))
        return;
    image.announcementStep = 0;
    storeByte13(image);
}

EditorState startState() {
    EditorState state;
    for (const SetupDefinition& s : setupDefinitions())
        state.groups[s.number].position = s.range.position;
    LoadDefaultSetup(state.image);
    showImage(state);
    return state;
}

void showImage(EditorState& state) {
    SetupImage& image = state.image;
    for (const SetupDefinition& s : setupDefinitions()) {
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
    const SetupDefinition& s = setupDefinition(setup);
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
    const SetupDefinition& s = setupDefinition(setup);
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
    const SetupOption& chosen = setupDefinition(setup).options[option];
    state.groups[setup].option = option;
    if (setupDefinition(setup).kind == SetupKind::Announcement) {
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
