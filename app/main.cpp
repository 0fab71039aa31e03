#include "app/tform1.h"
#include "app/ui/qttranslations.h"
#include "cli/commandline.h"
#include "core/programstate.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[]) {
    // The command line speaks as the command; the window takes its own name
    // once the arguments are judged.
    QCoreApplication::setApplicationName(QStringLiteral("altorintool"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(VersionText));
    const CommandHelp help{QStringLiteral("altorintool [LOGFILE...]"),
                           QStringLiteral("Opens the AltorinTool window; each LOGFILE named opens "
                                          "in the flight view after the firmware reminder."),
                           {helpOption(), versionOption()},
                           {}};
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const auto done = answerHelpOrVersion(help, arguments))
        return *done;

    QApplication app(argc, argv);
    installQtTranslations(&app);
    QCommandLineParser parser;
    if (const auto done = parseCommandLine(parser, help))
        return *done;
    QApplication::setApplicationName(QStringLiteral("AltorinTool"));
    // Lets the desktop match the window to its installed entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.altorintool.AltorinTool"));
    TForm1 form;
    form.show();
    // The flight view takes the arguments after the program's name.
    form.OpenLogsOfCommandLine(QStringList{arguments.first()} + parser.positionalArguments());
    return QApplication::exec();
}
