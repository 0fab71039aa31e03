#include "cli/commandline.h"
#include "core/failure.h"
#include "core/settingsfile.h"

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// Descriptions start in this column when the option fits before it.
constexpr int DescriptionColumn = 26;
constexpr int MinimumColumns = 20;

void print(FILE* stream, const QString& text) {
    std::fputs(text.toUtf8().constData(), stream);
}

QString optionSynopsis(const QCommandLineOption& option) {
    QStringList names;
    for (const QString& name : option.names())
        names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    QString synopsis = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        synopsis += QStringLiteral(" <") + option.valueName() + QLatin1Char('>');
    return synopsis;
}

} // namespace

int terminalColumns() {
    winsize size{};
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    bool ok = false;
    const int columns = qEnvironmentVariableIntValue("COLUMNS", &ok);
    return ok && columns > 0 ? columns : 80;
}

QString wrapText(const QString& text, int columns, int indent, int hangingIndent) {
    if (hangingIndent < 0)
        hangingIndent = indent;
    QString wrapped;
    QString line(indent, QLatin1Char(' '));
    qsizetype lineStart = line.size(); // where the line's first word goes
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const bool empty = line.size() == lineStart;
        if (!empty && line.size() + 1 + word.size() > columns) {
            wrapped += line + QLatin1Char('\n');
            line = QString(hangingIndent, QLatin1Char(' '));
            lineStart = line.size();
        } else if (!empty) {
            line += QLatin1Char(' ');
        }
        line += word;
    }
    if (line.size() > lineStart)
        wrapped += line + QLatin1Char('\n');
    return wrapped;
}

QString helpText(const CommandHelp& help, int columns) {
    columns = std::max(columns, MinimumColumns);
    // On a narrow terminal the descriptions keep at least two thirds of it.
    const int column = std::min(DescriptionColumn, columns / 3);
    QString text;
    const QStringList forms = help.usage.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < forms.size(); ++i)
        text += i == 0 ? wrapText(QStringLiteral("Usage: ") + forms[i], columns, 0, 4)
                       : wrapText(QStringLiteral("or: ") + forms[i], columns, 3, 4);
    for (const QString& paragraph : help.description.split(QLatin1Char('\n')))
        text += QLatin1Char('\n') + wrapText(paragraph, columns);
    text += QStringLiteral("\nOptions:\n");
    for (const QCommandLineOption& option : help.options) {
        const QString synopsis = QStringLiteral("  ") + optionSynopsis(option);
        const QString description = wrapText(option.description(), columns, column);
        if (synopsis.size() + 2 <= column)
            text += synopsis + description.mid(synopsis.size());
        else
            text += synopsis + QLatin1Char('\n') + description;
    }
    if (!help.examples.isEmpty())
        text += QStringLiteral("\nExamples:\n");
    for (const CommandExample& example : help.examples)
        text +=
            wrapText(example.command, columns, 2, 4) + wrapText(example.explanation, columns, 6);
    return text;
}

QCommandLineOption helpOption() {
    return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                              QStringLiteral("Shows this help."));
}

QCommandLineOption versionOption() {
    return QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")},
                              QStringLiteral("Shows the version."));
}

void printHelp(const CommandHelp& help) {
    print(stdout, helpText(help, terminalColumns()));
}

void printVersion() {
    print(stdout, QCoreApplication::applicationName() + QLatin1Char(' ') +
                      QCoreApplication::applicationVersion() + QLatin1Char('\n'));
}

int usageError(const QString& text) {
    const QString program = QCoreApplication::applicationName();
    print(stderr, QStringLiteral("%1: %2\nTry '%1 --help'.\n").arg(program, text));
    return 2;
}

int finishOutput(int status) {
    const bool flushed = std::fflush(stdout) == 0;
    const int error = flushed ? EIO : errno;
    if (flushed && !std::ferror(stdout))
        return status;
    print(stderr, QStringLiteral("%1: standard output: %2\n")
                      .arg(QCoreApplication::applicationName(), fileFailure(error).message));
    return std::max(status, 1);
}

namespace {

void addOptions(QCommandLineParser& parser, const CommandHelp& help) {
    for (const QCommandLineOption& option : help.options)
        parser.addOption(option);
}

std::optional<int> answered(const QCommandLineParser& parser, const CommandHelp& help) {
    if (parser.isSet(helpOption().names().constLast())) {
        printHelp(help);
        return finishOutput(0);
    }
    if (parser.isSet(versionOption().names().constLast())) {
        printVersion();
        return finishOutput(0);
    }
    return std::nullopt;
}

} // namespace

std::optional<int> parseCommandLine(QCommandLineParser& parser, const CommandHelp& help) {
    addOptions(parser, help);
    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    return answered(parser, help);
}

std::optional<int> answerHelpOrVersion(const CommandHelp& help, const QStringList& arguments) {
    QCommandLineParser parser;
    // Qt's options are words after one dash: -stylesheet is no -s -t ... -h.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    addOptions(parser, help);
    // Unknown options wait for parseCommandLine(); the known ones are set anyway.
    (void)parser.parse(arguments);
    return answered(parser, help);
}

QCommandLineOption firmwareOption(const QString& description) {
    QStringList values;
    for (const FirmwareRow& row : firmwareTable())
        values << QLatin1String(row.optionValue);
    return QCommandLineOption(QStringLiteral("firmware"), description,
                              values.join(QLatin1Char('|')));
}

std::optional<FirmwareVariant> firmwareNamed(const QString& value) {
    if (const FirmwareRow* row = firmwareRowNamed(value))
        return row->variant;
    return std::nullopt;
}

QString firmwareOptionValue(const FirmwareVariant& firmware) {
    // A Duo flag no row of that layout has (407 with Duo) is named by its number.
    const FirmwareRow& row = firmwareRowOf(firmware);
    if (row.variant.isDuo() == firmware.isDuo())
        return QLatin1String(row.optionValue);
    return QString::number(firmware.version);
}

QString fittingFirmwareHint(const FirmwareVariant& layout) {
    QString hint = QStringLiteral(", passend ist --firmware ") + firmwareOptionValue(layout);
    // The Duo writes the same layout as the 500.
    if (layout.hasV500Layout())
        hint += QStringLiteral(" (Duo: --firmware ") +
                firmwareOptionValue(FirmwareVariant{layout.version, 1}) + QLatin1Char(')');
    return hint;
}

std::optional<FirmwareVariant> chosenFirmwareVariant(const QCommandLineParser& parser,
                                                     const QCommandLineOption& option) {
    return parser.isSet(option) ? firmwareNamed(parser.value(option)) : storedFirmwareVariant();
}
