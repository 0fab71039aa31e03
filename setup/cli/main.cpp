// altorin-setup: reads and edits the device's setup file SETUPUPL.HEX without
// the window, with the window's own rules.
#include "cli/commandline.h"
#include "setup/setupfile.h"
#include "setup/setuptext.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <cstdio>

namespace {

constexpr int FileError = 1;

void printLine(const QString& text) {
    std::printf("%s\n", text.toUtf8().constData());
}

int fileError(const QString& path, const Failure& failure) {
    std::fprintf(stderr, "altorin-setup: %s: %s\n", path.toUtf8().constData(),
                 failure.message.toUtf8().constData());
    return FileError;
}

// diff compares every byte, so it reads them as the firmware with every control.
const FirmwareVariant EveryControl{500, 0};

// "  1=60  60 Sekunden  (byte 60)"; a byte that the controls cannot set
// shows "1:", no assignment to type back.
QString valueLine(const EditorState& state, int setup, CaptionLanguage language,
                  const FirmwareVariant& firmware) {
    const QString form = valueForm(state, setup, firmware);
    const QString head = form.isEmpty() ? QStringLiteral("%1:").arg(setup)
                                        : QStringLiteral("%1=%2").arg(setup).arg(form);
    return QStringLiteral("%1  %2  (byte %3)")
        .arg(head, shownValue(state, setup, language, firmware))
        .arg(state.image[setup]);
}

void showText(const EditorState& state, CaptionLanguage language, const FirmwareVariant& firmware) {
    for (const SetupDefinition& s : setupDefinitions()) {
        if (!isOffered(s.offered, firmware))
            continue;
        printLine(setupCaption(s.number, language));
        printLine(QStringLiteral("  ") + valueLine(state, s.number, language, firmware));
        for (const OptionText& option : optionTexts(state, s.number, language, firmware))
            printLine(QStringLiteral("    %1 %2  %3")
                          .arg(option.chosen ? QLatin1Char('*') : QLatin1Char(' '))
                          .arg(option.number)
                          .arg(option.caption));
    }
}

void showJson(const QString& path, const EditorState& state, CaptionLanguage language,
              const FirmwareVariant& firmware) {
    QJsonArray setups;
    for (const SetupDefinition& s : setupDefinitions()) {
        if (!isOffered(s.offered, firmware))
            continue;
        const QString form = valueForm(state, s.number, firmware);
        QJsonObject setup{{"setup", s.number},
                          {"caption", setupCaption(s.number, language)},
                          {"value", form.isEmpty() ? QJsonValue() : QJsonValue(form)},
                          {"shown", shownValue(state, s.number, language, firmware)},
                          {"byte", state.image[s.number]}};
        QJsonArray options;
        for (const OptionText& option : optionTexts(state, s.number, language, firmware))
            options.append(QJsonObject{
                {"option", option.number}, {"caption", option.caption}, {"chosen", option.chosen}});
        if (!options.isEmpty())
            setup.insert(QStringLiteral("options"), options);
        setups.append(setup);
    }
    const QJsonObject document{{"file", path},
                               {"firmware", firmwareOptionValue(firmware)},
                               {"language", language == CaptionLanguage::English ? "en" : "de"},
                               {"setups", setups},
                               {"spareByte", state.image[SetupCount]}};
    std::printf("%s", QJsonDocument(document).toJson().constData());
}

void showDiff(const EditorState& a, const EditorState& b, CaptionLanguage language) {
    for (const SetupDefinition& s : setupDefinitions()) {
        if (a.image[s.number] == b.image[s.number])
            continue;
        printLine(setupCaption(s.number, language));
        printLine(QStringLiteral("  - ") + valueLine(a, s.number, language, EveryControl));
        printLine(QStringLiteral("  + ") + valueLine(b, s.number, language, EveryControl));
    }
    const int spare = SetupCount;
    if (a.image[spare] != b.image[spare]) {
        printLine(QStringLiteral("Byte %1").arg(spare));
        printLine(QStringLiteral("  - %1").arg(a.image[spare]));
        printLine(QStringLiteral("  + %1").arg(b.image[spare]));
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("altorin-setup"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(VersionText));
    // Values are printed with a '.', whatever the user's locale.
    QLocale::setDefault(QLocale::c());

    const QCommandLineOption help = helpOption();
    const QCommandLineOption version = versionOption();
    const QCommandLineOption englishOption(
        QStringLiteral("english"), QStringLiteral("Captions as the window shows them in English."));
    const QCommandLineOption firmwareChoice = firmwareOption(
        QStringLiteral("Firmware of the device: 407 (up to V407x), 500 (from V500) or duo (Duo "
                       "from V500); it decides which setups there are. Default: the variant "
                       "stored by AltorinTool, else 407."));
    const QCommandLineOption jsonOption(QStringLiteral("json"),
                                        QStringLiteral("show: one JSON document."));
    const CommandHelp helpText{
        QStringLiteral("altorin-setup show [--english] [--firmware 407|500|duo] [--json] FILE\n"
                       "altorin-setup set [--firmware 407|500|duo] FILE SETUP=VALUE...\n"
                       "altorin-setup default FILE\n"
                       "altorin-setup diff [--english] A B"),
        QStringLiteral(
            "Shows and edits Altorin setup files (SETUPUPL.HEX) as the AltorinTool window does.\n"
            "show: each setup the firmware offers, its caption, SETUP=VALUE as 'set' takes it, "
            "the value as the window shows it, and the byte; a choice lists its options. "
            "'SETUP:' without a value marks a byte that the controls cannot set.\n"
            "set: applies the assignments in order, each with the effect of the window's "
            "controls (the alarms they switch off included), then writes FILE. VALUE is a value "
            "as shown (60, 4.7 or 4,7, -0.3), 'off' or 'on' for a 'keine Ansage' box (setups 11 "
            "and 12 "
            "take 'off' or their threshold: 12=11.5 switches the alarm on at 11.5 V), an "
            "option number, MODE or MODE/N for setup 13 (N: an additional altitude announcement at "
            "every N-th time, N being %1), and CAPACITY or CAPACITY% for setup 17. A refused "
            "assignment writes nothing.\n"
            "default: writes the default setup (over a setup file, never over another file).\n"
            "diff: lists the setups in which two files differ, '-' for A and '+' for B; nothing "
            "when they are the same. Exit status 0 either way.\n"
            "A file of 16 to 19 bytes is read as the window reads it: the rest is the default "
            "setup. Exit status: 0 done, 1 a file could not be read or written or is no setup "
            "file, or the output could not be printed, 2 a usage error or a refused value.")
            .arg(announcementStepChoices()),
        {help, version, englishOption, firmwareChoice, jsonOption},
        {{QStringLiteral("altorin-setup show /media/card/SETUPUPL.HEX"),
          QStringLiteral("The setup on the card, as the window would show it.")},
         {QStringLiteral("altorin-setup set /media/card/SETUPUPL.HEX 1=70 6=4.7 3=off 8=2"),
          QStringLiteral("Altitude every 70 s, receiver alarm at 4.7 V, no integral interval "
                         "announcement, vario tone mode option 2.")},
         {QStringLiteral("altorin-setup diff --english old/SETUPUPL.HEX /media/card/SETUPUPL.HEX"),
          QStringLiteral("What changed between two setups.")}}};

    QCommandLineParser parser;
    if (const auto done = parseCommandLine(parser, helpText))
        return *done;

    QStringList arguments = parser.positionalArguments();
    if (arguments.isEmpty())
        return usageError(QStringLiteral("no command given"));
    const QString command = arguments.takeFirst();
    const auto allowed = [&](const QCommandLineOption& option,
                             std::initializer_list<const char*> in) {
        if (!parser.isSet(option))
            return true;
        for (const char* name : in)
            if (command == QLatin1String(name))
                return true;
        return false;
    };
    if (!allowed(englishOption, {"show", "diff"}) || !allowed(firmwareChoice, {"show", "set"}) ||
        !allowed(jsonOption, {"show"}))
        return usageError(QStringLiteral("an option that '%1' does not take").arg(command));

    const auto chosen = chosenFirmwareVariant(parser, firmwareChoice);
    if (!chosen)
        return usageError(
            QStringLiteral("unknown firmware '%1'").arg(parser.value(firmwareChoice)));
    const FirmwareVariant firmware = *chosen;
    const CaptionLanguage language =
        parser.isSet(englishOption) ? CaptionLanguage::English : CaptionLanguage::German;

    if (command == QLatin1String("show")) {
        if (arguments.size() != 1)
            return usageError(QStringLiteral("show takes one FILE"));
        const auto state = readSetupEditor(arguments[0]);
        if (!state)
            return fileError(arguments[0], state.failure());
        if (parser.isSet(jsonOption))
            showJson(arguments[0], *state, language, firmware);
        else
            showText(*state, language, firmware);
        return finishOutput(0);
    }
    if (command == QLatin1String("set")) {
        if (arguments.size() < 2)
            return usageError(QStringLiteral("set takes FILE and at least one SETUP=VALUE"));
        const QString path = arguments.takeFirst();
        auto state = readSetupEditor(path);
        if (!state)
            return fileError(path, state.failure());
        for (const QString& assignment : arguments)
            if (const auto failure = applyAssignment(*state, assignment, firmware))
                return usageError(failure->message);
        if (const auto failure = writeSetupFile(state->image, path))
            return fileError(path, *failure);
        return 0;
    }
    if (command == QLatin1String("default")) {
        if (arguments.size() != 1)
            return usageError(QStringLiteral("default takes one FILE"));
        // A setup file is reset; any other file (a log, a picture) is kept.
        if (QFileInfo::exists(arguments[0]))
            if (const auto present = readSetupEditor(arguments[0]); !present)
                return fileError(arguments[0], present.failure());
        if (const auto failure = writeSetupFile(startState().image, arguments[0]))
            return fileError(arguments[0], *failure);
        return 0;
    }
    if (command == QLatin1String("diff")) {
        if (arguments.size() != 2)
            return usageError(QStringLiteral("diff takes two FILEs"));
        const auto a = readSetupEditor(arguments[0]);
        if (!a)
            return fileError(arguments[0], a.failure());
        const auto b = readSetupEditor(arguments[1]);
        if (!b)
            return fileError(arguments[1], b.failure());
        showDiff(*a, *b, language);
        return finishOutput(0);
    }
    return usageError(QStringLiteral("unknown command '%1'").arg(command));
}
