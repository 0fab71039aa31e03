// altorin-setup: reads and edits the device's setup file SETUPUPL.HEX without
// the window, with the window's own rules.
#include "app/commandline.h"
#include "setup/setupfile.h"
#include "setup/setuptext.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <cstdio>

namespace {

constexpr int FileError = 1;
constexpr int UsageError = 2;

const char* const Description =
    "Shows and edits Altorin setup files (SETUPUPL.HEX) as the AltorinTool window does.\n"
    "\n"
    "Commands:\n"
    "  show [--english] [--firmware V] [--json] FILE\n"
    "      Each setup the firmware offers: its caption, SETUP=VALUE as 'set' takes it,\n"
    "      the value as the window shows it, and the byte; a choice lists its options.\n"
    "  set [--firmware V] FILE SETUP=VALUE...\n"
    "      Applies the assignments in order, each with the effect of the window's\n"
    "      controls (the alarms they switch off included), then writes FILE.\n"
    "      VALUE is a value as shown (60, 4.7 or 4,7, -0.3), 'off' or 'on' for a\n"
    "      'keine Ansage' box, an option number, MODE or MODE/N for setup 13 (N: an\n"
    "      additional altitude announcement at every 2nd, 5th or 10th time), and\n"
    "      CAPACITY or CAPACITY% for setup 17. A refused assignment writes nothing.\n"
    "  default FILE\n"
    "      Writes the default setup.\n"
    "  diff [--english] A B\n"
    "      Lists the setups in which two files differ, '-' for A and '+' for B;\n"
    "      nothing when they are the same. Exit status 0 either way.\n"
    "\n"
    "A file of 16 to 19 bytes is read as the window reads it: the rest is the\n"
    "default setup. Exit status: 0 done, 1 a file could not be read or written\n"
    "or is no setup file, 2 a usage error or a refused value.";

void printLine(const QString& text) {
    std::printf("%s\n", text.toUtf8().constData());
}

int usageError(const QString& text) {
    std::fprintf(stderr, "altorin-setup: %s\n", text.toUtf8().constData());
    std::fprintf(stderr, "Try 'altorin-setup --help'.\n");
    return UsageError;
}

int fileError(const QString& path, const Failure& failure) {
    std::fprintf(stderr, "altorin-setup: %s: %s\n", path.toUtf8().constData(),
                 failure.message.toUtf8().constData());
    return FileError;
}

QString firmwareName(const FirmwareVariant& firmware) {
    if (firmware.isDuo())
        return QStringLiteral("duo");
    return QString::number(firmware.version);
}

// "  1=60  60 Sekunden  (byte 60)"; a byte without a form shows "1:".
QString valueLine(const EditorState& state, int setup, CaptionLanguage language) {
    const QString form = valueForm(state, setup);
    const QString head = form.isEmpty() ? QStringLiteral("%1:").arg(setup)
                                        : QStringLiteral("%1=%2").arg(setup).arg(form);
    return QStringLiteral("%1  %2  (byte %3)")
        .arg(head, shownValue(state, setup, language))
        .arg(state.image[setup]);
}

void showText(const EditorState& state, CaptionLanguage language, const FirmwareVariant& firmware) {
    for (const SetupDefinition& s : setupDefinitions()) {
        if (!isOffered(s.offered, firmware))
            continue;
        printLine(setupCaption(s.number, language));
        printLine(QStringLiteral("  ") + valueLine(state, s.number, language));
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
        const QString form = valueForm(state, s.number);
        QJsonObject setup{{"setup", s.number},
                          {"caption", setupCaption(s.number, language)},
                          {"value", form.isEmpty() ? QJsonValue() : QJsonValue(form)},
                          {"shown", shownValue(state, s.number, language)},
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
                               {"firmware", firmwareName(firmware)},
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
        printLine(QStringLiteral("  - ") + valueLine(a, s.number, language));
        printLine(QStringLiteral("  + ") + valueLine(b, s.number, language));
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

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(Description));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption englishOption(
        QStringLiteral("english"), QStringLiteral("Captions as the window shows them in English."));
    const QCommandLineOption firmwareOption(
        QStringLiteral("firmware"),
        QStringLiteral("Firmware of the device: 407 (up to V407x), 500 (from V500) or duo (Duo "
                       "from V500); it decides which setups there are. Default: the variant "
                       "stored by AltorinTool, else 407."),
        QStringLiteral("407|500|duo"));
    const QCommandLineOption jsonOption(QStringLiteral("json"),
                                        QStringLiteral("show: one JSON document."));
    parser.addOptions({englishOption, firmwareOption, jsonOption});
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("show, set, default or diff (see above)."),
                                 QStringLiteral("COMMAND ARGUMENTS..."));
    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    parser.process(app); // --help, --help-all and --version

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
    if (!allowed(englishOption, {"show", "diff"}) || !allowed(firmwareOption, {"show", "set"}) ||
        !allowed(jsonOption, {"show"}))
        return usageError(QStringLiteral("an option that '%1' does not take").arg(command));

    const auto chosen = chosenFirmwareVariant(parser, firmwareOption);
    if (!chosen)
        return usageError(
            QStringLiteral("unknown firmware '%1'").arg(parser.value(firmwareOption)));
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
        return 0;
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
        return 0;
    }
    return usageError(QStringLiteral("unknown command '%1'").arg(command));
}
