#include "setup/setuptext.h"
#include "setup/setupfile.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace {

using Language = CaptionLanguage;

QString caption(Language language, const char* name) {
    return toolCaption(language, name).trimmed();
}

QString withUnit(const QString& value, Language language, const char* unit) {
    return value + QLatin1Char(' ') + caption(language, unit);
}

// The option whose value the setup's byte (setup 13: the value mode) holds.
int chosenOption(const EditorState& state, const SetupDefinition& s) {
    const qint32 value =
        s.kind == SetupKind::Announcement ? state.image.valueMode : state.image[s.number];
    for (size_t k = 0; k < s.options.size(); ++k)
        if (s.options[k].value == value)
            return static_cast<int>(k);
    return -1;
}

// Setup 13's step as the "n" it announces at (2, 5, 10); 0: none, -1: no step
// the spinner can reach.
int everyNth(qint32 step) {
    if (step == 0)
        return 0;
    const auto text = announcementStepText(step);
    return text ? text->toInt() : -1;
}

Failure refused(const QString& assignment, const QString& why) {
    return {FailureKind::InvalidValue, QStringLiteral("'%1': %2").arg(assignment, why)};
}

// The spinner position that shows the number, or why there is none.
Result<int> positionFor(const QString& assignment, const SetupDefinition& s, const QString& text) {
    static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]+([.,][0-9]+)?$"));
    const double scale = shownScale(s.shown);
    if (number.match(text).hasMatch()) {
        const double value = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
        const double position = std::round(value / scale);
        if (std::abs(position) <= 255 && std::abs(position * scale - value) < 1e-9 &&
            spinnerReaches(s, static_cast<int>(position)))
            return static_cast<int>(position);
    }
    QString first = shownText(s.shown, std::min(s.range.min, s.range.max));
    QString last = shownText(s.shown, std::max(s.range.min, s.range.max));
    if (scale < 0)
        std::swap(first, last);
    return refused(
        assignment,
        QStringLiteral("setup %1 takes %2 to %3 in steps of %4")
            .arg(s.number)
            .arg(first, last, shownText(scale < 0 ? Shown::Tenths : s.shown, s.range.increment)));
}

Result<int> optionFor(const QString& assignment, const SetupDefinition& s, const QString& text,
                      const FirmwareVariant& firmware) {
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    const int count = static_cast<int>(s.options.size());
    if (!isNumber || number < 1 || number > count)
        return refused(
            assignment,
            QStringLiteral("setup %1 takes an option from 1 to %2").arg(s.number).arg(count));
    if (!isOffered(s.options[number - 1].offered, firmware))
        return refused(assignment, QStringLiteral("option %1 of setup %2 is not offered by "
                                                  "firmware %3")
                                       .arg(number)
                                       .arg(s.number)
                                       .arg(firmware.version));
    return number - 1;
}

// Clearing the box of setups 11 and 12 stores nothing until a threshold is
// set, as in the window: "on" alone would report success and leave the alarm
// off, so these take their threshold instead.
bool switchesOnByBox(const SetupDefinition& s) {
    return s.kind != SetupKind::Threshold || s.clearingStoresPosition;
}

Failure refusedOn(const QString& assignment, const SetupDefinition& s) {
    const int low = std::min(s.range.min, s.range.max);
    const int high = std::max(s.range.min, s.range.max);
    const int steps = (high - low) / s.range.increment;
    const QString example = shownText(s.shown, low + steps / 2 * s.range.increment);
    return refused(assignment,
                   QStringLiteral("setup %1 is switched on by its threshold, not by 'on': "
                                  "for example %1=%2 switches it on at %2 %3 (%4 to %5 in "
                                  "steps of %6)")
                       .arg(s.number)
                       .arg(example, caption(Language::English, s.unit), shownText(s.shown, low),
                            shownText(s.shown, high), shownText(s.shown, s.range.increment)));
}

void moveSpinner(EditorState& state, int setup, int position) {
    state.groups[setup].position = position;
    spinnerClicked(state, setup);
}

Status applyAnnouncement(EditorState& state, const QString& assignment, const SetupDefinition& s,
                         const QString& text, const FirmwareVariant& firmware) {
    const QStringList parts = text.split(QLatin1Char('/'));
    if (parts.size() > 2)
        return refused(assignment, QStringLiteral("setup 13 takes MODE or MODE/N"));
    const auto option = optionFor(assignment, s, parts[0], firmware);
    if (!option)
        return option.status();
    const bool hasStep = isOffered(s.spinnerOffered, firmware);
    int step = 0;
    if (parts.size() == 2) {
        if (!hasStep)
            return refused(assignment,
                           QStringLiteral("the additional announcement of setup 13 is not "
                                          "offered by firmware %1")
                               .arg(firmware.version));
        for (int k = s.range.min; k <= s.range.max; ++k)
            if (announcementStepText(k) == parts[1])
                step = k;
        if (step == 0)
            return refused(assignment, QStringLiteral("setup 13 announces additionally at every "
                                                      "N-th time, N being %1")
                                           .arg(announcementStepChoices()));
    }
    optionSelected(state, s.number, *option);
    // Without the step's controls (hidden, not gone) the option alone is
    // chosen, as in the window, and byte 13 keeps the step it holds.
    if (!hasStep)
        return {};
    if (step != 0 && state.groups[s.number].ticked) {
        moveSpinner(state, s.number, step);
        return {};
    }
    if (step != 0)
        state.groups[s.number].position = step;
    setBox(state, s.number, step != 0);
    return {};
}

Status applyValue(EditorState& state, const QString& assignment, const SetupDefinition& s,
                  QString text, const FirmwareVariant& firmware) {
    const int setup = s.number;
    if (s.kind == SetupKind::Choice) {
        const auto option = optionFor(assignment, s, text, firmware);
        if (!option)
            return option.status();
        optionSelected(state, setup, *option);
        return {};
    }
    if (s.kind == SetupKind::Announcement)
        return applyAnnouncement(state, assignment, s, text, firmware);
    // A box set to what it shows runs no handler, as in the window.
    const bool hasOffBox = s.kind == SetupKind::Interval || s.kind == SetupKind::Threshold;
    if (hasOffBox && (text == QLatin1String("off") || text == QLatin1String("on"))) {
        if (text == QLatin1String("on") && !switchesOnByBox(s))
            return refusedOn(assignment, s);
        setBox(state, setup, text == QLatin1String("off"));
        return {};
    }
    const bool percent = s.kind == SetupKind::Capacity && text.endsWith(QLatin1Char('%'));
    if (percent)
        text.chop(1);
    const auto position = positionFor(assignment, s, text);
    if (!position)
        return position.status();
    // A threshold behind a ticked box is set by clearing the box first.
    if (hasOffBox)
        setBox(state, setup, false);
    if (s.kind == SetupKind::Capacity)
        state.groups[setup].ticked = percent;
    moveSpinner(state, setup, *position);
    return {};
}

} // namespace

Result<EditorState> readSetupEditor(const QString& path) {
    EditorState state = startState();
    const auto loaded = loadSetupFile(state.image, path);
    if (!loaded)
        return loaded.failure();
    if (!isValidSetupLength(*loaded))
        return Failure{FailureKind::NotASetupFile, QString::fromUtf8(NotASetupFileText)};
    showImage(state);
    return state;
}

QString setupCaption(int setup, CaptionLanguage language) {
    return caption(language, setupDefinition(setup).group);
}

QString announcementStepChoices() {
    const SpinnerRange& steps = setupDefinition(13).range;
    QStringList texts;
    for (int k = steps.min; k <= steps.max; ++k)
        texts << announcementStepText(k).value_or(QString());
    const QString last = texts.takeLast();
    return texts.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

QString valueForm(const EditorState& state, int setup, const FirmwareVariant& firmware) {
    const SetupDefinition& s = setupDefinition(setup);
    const GroupState& group = state.groups[setup];
    const quint8 byte = state.image[setup];
    switch (s.kind) {
    case SetupKind::Choice:
    case SetupKind::Announcement: {
        const int option = chosenOption(state, s);
        if (option < 0 || !isOffered(s.options[option].offered, firmware))
            return QString();
        const QString mode = QString::number(option + 1);
        if (s.kind == SetupKind::Choice || !isOffered(s.spinnerOffered, firmware))
            return mode;
        const int nth = everyNth(state.image.announcementStep);
        if (nth < 0)
            return QString();
        return nth == 0 ? mode : mode + QLatin1Char('/') + QString::number(nth);
    }
    case SetupKind::Interval:
        // A byte of 0 shows the box ticked too, but the box stores another.
        if (group.ticked)
            return byte == s.offByte ? QStringLiteral("off") : QString();
        break;
    case SetupKind::Threshold:
        if (group.ticked)
            return QStringLiteral("off");
        break;
    case SetupKind::Capacity:
        if (!spinnerReaches(s, byte & ~s.offByte))
            return QString();
        return group.ticked ? group.shown + QLatin1Char('%') : group.shown;
    case SetupKind::Channel:
    case SetupKind::Spinner:
        break;
    }
    return spinnerReaches(s, byte) ? group.shown : QString();
}

QString shownValue(const EditorState& state, int setup, CaptionLanguage language,
                   const FirmwareVariant& firmware) {
    const SetupDefinition& s = setupDefinition(setup);
    const GroupState& group = state.groups[setup];
    switch (s.kind) {
    case SetupKind::Channel:
        return QStringLiteral("%1 (%2 %3)")
            .arg(withUnit(group.frequency, language, s.unit), caption(language, s.displayLabel),
                 group.shown);
    case SetupKind::Choice:
    case SetupKind::Announcement: {
        const int option = chosenOption(state, s);
        const int nth = everyNth(state.image.announcementStep);
        const bool hasStep =
            s.kind == SetupKind::Announcement && isOffered(s.spinnerOffered, firmware);
        if (option < 0 || (hasStep && nth < 0))
            return caption(language, "UnknownValue");
        QString text = caption(language, s.options[option].button);
        if (hasStep && nth > 0)
            text += QStringLiteral(", %1 %2=%3")
                        .arg(caption(language, s.box), caption(language, s.unit))
                        .arg(nth);
        return text;
    }
    case SetupKind::Interval:
    case SetupKind::Threshold:
        if (group.ticked)
            return caption(language, s.box);
        break;
    case SetupKind::Capacity:
        if (state.image[setup] == 0)
            return caption(language, "NotGiven");
        if (group.ticked)
            return withUnit(group.shown, language, s.unit) + QStringLiteral(", ") +
                   caption(language, s.box);
        break;
    case SetupKind::Spinner:
        break;
    }
    return withUnit(group.shown, language, s.unit);
}

QList<OptionText> optionTexts(const EditorState& state, int setup, CaptionLanguage language,
                              const FirmwareVariant& firmware) {
    const SetupDefinition& s = setupDefinition(setup);
    const int chosen = chosenOption(state, s);
    QList<OptionText> texts;
    for (size_t k = 0; k < s.options.size(); ++k)
        if (isOffered(s.options[k].offered, firmware))
            texts.append({static_cast<int>(k) + 1, caption(language, s.options[k].button),
                          static_cast<int>(k) == chosen});
    return texts;
}

Status applyAssignment(EditorState& state, const QString& assignment,
                       const FirmwareVariant& firmware) {
    static const QRegularExpression form(QStringLiteral("^([0-9]+)=(.+)$"));
    const QRegularExpressionMatch match = form.match(assignment);
    if (!match.hasMatch())
        return refused(assignment, QStringLiteral("not of the form SETUP=VALUE"));
    bool isNumber = false;
    const int setup = match.captured(1).toInt(&isNumber);
    if (!isNumber || setup >= SetupCount)
        return refused(assignment,
                       QStringLiteral("no setup %1 (setups are 0 to 18)").arg(match.captured(1)));
    const SetupDefinition& s = setupDefinition(setup);
    if (!isOffered(s.offered, firmware))
        return refused(assignment, QStringLiteral("setup %1 is not offered by firmware %2")
                                       .arg(setup)
                                       .arg(firmware.version));
    // Refused values leave the state untouched, so work on a copy.
    EditorState edited = state;
    if (auto failure = applyValue(edited, assignment, s, match.captured(2).trimmed(), firmware))
        return failure;
    state = edited;
    return {};
}
