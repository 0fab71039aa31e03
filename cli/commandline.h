#pragma once

#include "core/programstate.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// What the command-line programs share: their help text, usage errors and the
// firmware option. Each program names itself through
// QCoreApplication::applicationName().

// The width of the terminal on stdout (TIOCGWINSZ), else $COLUMNS, else 80.
int terminalColumns();

// `text` broken at blanks into lines of at most `columns` characters: the
// first started by `indent` blanks, the others by `hangingIndent` (default:
// `indent`). A word longer than a line stands on its own.
QString wrapText(const QString& text, int columns, int indent = 0, int hangingIndent = -1);

struct CommandExample {
    QString command;
    QString explanation;
};

struct CommandHelp {
    QString usage;       // after "Usage: "; one line per form of the command
    QString description; // paragraphs separated by "\n"
    QList<QCommandLineOption> options;
    QList<CommandExample> examples;
};

// The help text for a terminal of `columns` columns.
QString helpText(const CommandHelp& help, int columns);

// -h, --help and --version, the same in every program.
QCommandLineOption helpOption();
QCommandLineOption versionOption();
// Prints the help for the terminal in use, or "PROGRAM VERSION", on stdout.
void printHelp(const CommandHelp& help);
void printVersion();

// Prints "PROGRAM: text" and a pointer to --help on stderr; returns 2, the
// exit status of a usage error.
int usageError(const QString& text);

// The exit status once all is printed: `status`, but at least 1, with
// "PROGRAM: standard output: message" on stderr, when stdout could not be
// written (a full disk), so that no script takes a lost listing for success.
int finishOutput(int status);

// Parses the program's arguments with the help's options and answers --help
// and --version. Nothing when the program goes on; else the exit status to
// end with: 0 after the help or the version (1 when they could not be
// printed), 2 for a mistyped option (a usage error like the others, not a
// failed file).
std::optional<int> parseCommandLine(QCommandLineParser& parser, const CommandHelp& help);

// For the window program, whose QApplication needs a display: answers --help
// and --version among `arguments` (argv as given) before that exists. Other
// options are judged by parseCommandLine() once Qt has taken its own (-style,
// -platform ...) out of the arguments.
std::optional<int> answerHelpOrVersion(const CommandHelp& help, const QStringList& arguments);

// The option that names the device's firmware: 407 (up to V407x), 500 (from
// V500) or duo (Duo from V500), in any letter case.
QCommandLineOption firmwareOption(const QString& description);
std::optional<FirmwareVariant> firmwareNamed(const QString& value);
// The option value of a variant: "407", "500" or "duo".
QString firmwareOptionValue(const FirmwareVariant& firmware);
// ", passend ist --firmware 500 (Duo: --firmware duo)": the options that fit
// a log of that layout, for the report of a log read with the other one.
QString fittingFirmwareHint(const FirmwareVariant& layout);
// The variant the option names, else the one the window's settings file
// stores (407 without one); nothing for a name that is no variant.
std::optional<FirmwareVariant> chosenFirmwareVariant(const QCommandLineParser& parser,
                                                     const QCommandLineOption& option);
