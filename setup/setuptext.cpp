#include "setup/setuptext.h"
#include "setup/setupfile.h"

#include <QRegularExpression>
#include <cmath>
#include <cstring>

namespace {

using Language = CaptionLanguage;

// English for what the window only says in German.
constexpr const char* NoAnnouncement = "no announcement";
struct EnglishText {
    const char* name;
    const char* english;
};
constexpr EnglishText BoxesInEnglish[] = {{"CheckBox1", NoAnnouncement},
                                          {"CheckBox2", NoAnnouncement},
                                          {"CheckBox3", NoAnnouncement},
                                          {"CheckBox5", "no capacity alarm"}};

QString ownText(Language language, const char* german, const char* english) {
    return QString::fromUtf8(language == Language::English ? english : german);
}

QString unknownValue(Language language) {
    return ownText(language, "unbekannter Wert", "unknown value");
}

// What a ticked off box says: its caption, in English ours.
QString boxText(Language language, const char* box) {
    if (language == Language::English)
        for (const EnglishText& text : BoxesInEnglish)
            if (std::strcmp(text.name, box) == 0)
                return QString::fromUtf8(text.english);
    return captionIn(language, box);
}

QString caption(Language language, const char* name) {
    return captionIn(language, name).trimmed();
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

double scaleOf(Shown shown) {
    switch (shown) {
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

Failure refused(const QString& assignment, const QString& why) {
    return {FailureKind::InvalidValue, QStringLiteral("'%1': %2").arg(assignment, why)};
}

// The spinner position that shows the number, or why there is none.
Result<int> positionFor(const QString& assignment, const SetupDefinition& s, const QString& text) {
    static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]+([.,][0-9]+)?$"));
    const int low = std::min(s.range.min, s.range.max);
    const int high = std::max(s.range.min, s.range.max);
    const double scale = scaleOf(s.shown);
    if (number.match(text).hasMatch()) {
        const double value = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
        for (int p = low; p <= high; p += s.range.increment)
            if (std::abs(p * scale - value) < 1e-9)
                return p;
    }
    QString first = shownText(s.shown, low);
    QString last = shownText(s.shown, high);
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

// The box ticked or cleared with its handler run, as a click on it does.
void clickBox(EditorState& state, int setup, bool ticked) {
    state.groups[setup].ticked = ticked;
    boxChanged(state, setup);
}

void moveSpinner(EditorState& state, int setup, int position) {
    state.groups[setup].position = position;
    spinnerClicked(state, setup);
}

Status applyAnnouncement(EditorState& state, const QString& assignment, const SetupDefinition& s,
                         const QString& text, const FirmwareVariant& firmware) {
    const QStringList parts = text.split(QLatin1Char('/'));
    const auto option = optionFor(assignment, s, parts[0], firmware);
    if (!option)
        return option.status();
    int step = 0;
    if (parts.size() > 2)
        return refused(assignment, QStringLiteral("setup 13 takes MODE or MODE/N"));
    if (parts.size() == 2) {
        if (!isOffered(s.spinnerOffered, firmware))
            return refused(assignment,
                           QStringLiteral("the additional announcement of setup 13 is not "
                                          "offered by firmware %1")
                               .arg(firmware.version));
        for (int k = s.range.min; k <= s.range.max; ++k)
            if (QString::number(everyNth(k)) == parts[1])
                step = k;
        if (step == 0)
            return refused(assignment, QStringLiteral("setup 13 announces at every 2nd, 5th "
                                                      "or 10th time: N is 2, 5 or 10"));
    }
    optionSelected(state, s.number, *option);
    if (step != 0)
        state.groups[s.number].position = step;
    clickBox(state, s.number, step != 0);
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
    const bool hasOffBox = s.kind == SetupKind::Interval || s.kind == SetupKind::Threshold;
    if (hasOffBox && (text == QLatin1String("off") || text == QLatin1String("on"))) {
        clickBox(state, setup, text == QLatin1String("off"));
        return {};
    }
    const bool percent = s.kind == SetupKind::Capacity && text.endsWith(QLatin1Char('%'));
    if (percent)
        text.chop(1);
    const auto position = positionFor(assignment, s, text);
    if (!position)
        return position.status();
    // A threshold behind a ticked box is set by clearing the box first.
    if (hasOffBox && state.groups[setup].ticked)
        clickBox(state, setup, false);
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

QString valueForm(const EditorState& state, int setup) {
    const SetupDefinition& s = setupDefinition(setup);
    const GroupState& group = state.groups[setup];
    switch (s.kind) {
    case SetupKind::Choice: {
        const int option = chosenOption(state, s);
        return option < 0 ? QString() : QString::number(option + 1);
    }
    case SetupKind::Announcement: {
        const int option = chosenOption(state, s);
        const int nth = everyNth(state.image.announcementStep);
        if (option < 0 || nth < 0)
            return QString();
        const QString mode = QString::number(option + 1);
        return nth == 0 ? mode : mode + QLatin1Char('/') + QString::number(nth);
    }
    case SetupKind::Interval:
    case SetupKind::Threshold:
        return group.ticked ? QStringLiteral("off") : group.shown;
    case SetupKind::Capacity:
        if (state.image[setup] == 0)
            return QString();
        return group.ticked ? group.shown + QLatin1Char('%') : group.shown;
    case SetupKind::Channel:
    case SetupKind::Spinner:
        break;
    }
    return group.shown;
}

QString shownValue(const EditorState& state, int setup, CaptionLanguage language) {
    const SetupDefinition& s = setupDefinition(setup);
    const GroupState& group = state.groups[setup];
    switch (s.kind) {
    case SetupKind::Channel:
        return QStringLiteral("%1 (%2 %3)")
            .arg(withUnit(group.frequency, language, s.unit), caption(language, "Label1"),
                 group.shown);
    case SetupKind::Choice: {
        const int option = chosenOption(state, s);
        return option < 0 ? unknownValue(language) : caption(language, s.options[option].button);
    }
    case SetupKind::Announcement: {
        const int option = chosenOption(state, s);
        const int nth = everyNth(state.image.announcementStep);
        if (option < 0 || nth < 0)
            return unknownValue(language);
        QString text = caption(language, s.options[option].button);
        if (nth > 0)
            text += QStringLiteral(", %1 %2=%3")
                        .arg(caption(language, s.box), caption(language, s.unit), group.shown);
        return text;
    }
    case SetupKind::Interval:
    case SetupKind::Threshold:
        if (group.ticked)
            return boxText(language, s.box);
        break;
    case SetupKind::Capacity:
        if (state.image[setup] == 0)
            return ownText(language, "keine Angabe", "not given");
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
