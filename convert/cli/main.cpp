// altorin-convert: the window's five log conversions for a whole memory card
// at once, or for scripts.
#include "cli/commandline.h"
#include "convert/cli/picturecommand.h"
#include "convert/cli/summaries.h"
#include "convert/conversions.h"
#include "log/datalines.h"
#include "log/logfiles.h"
#include "map/mapsettings.h"
#include "map/tileurl.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

const QString AutoFirmware = QStringLiteral("auto");

QString formatNames(const QString& separator) {
    QStringList names;
    for (const ConversionFormat& format : conversionFormats())
        names << QLatin1String(format.name);
    return names.join(separator);
}

void report(const QString& log, qint64 line, const QString& message) {
    const QString where = line > 0 ? log + QLatin1Char(':') + QString::number(line) : log;
    std::fprintf(stderr, "%s: %s\n", where.toUtf8().constData(), message.toUtf8().constData());
}

// Converts one log; false when it failed.
bool convertLog(const ConversionFormat& format, const QString& log, const FirmwareVariant& firmware,
                const ConversionOptions& options) {
    const Result<Conversion> result = format.convert(log, firmware, options);
    if (!result) {
        const Failure& failure = result.failure();
        QString message = failure.message;
        if (failure.kind == FailureKind::WrongFirmware)
            message += fittingFirmwareHint(firmware.otherLayout());
        report(log, failure.line, message);
        return false;
    }
    std::printf("%s\n", result->outputPath.toUtf8().constData());
    std::fflush(stdout);
    if (result->trackPoints == 0)
        report(log, 0, QStringLiteral("Warnung: keine Trackpunkte, die Spur ist leer"));
    return true;
}

// The layout the log has; a log that cannot be read fails in the conversion,
// which reports it.
FirmwareVariant layoutOrDefault(const QString& log) {
    const Result<FirmwareVariant> layout = logLayoutOf(log);
    return layout ? *layout : FirmwareVariant{};
}

// Pictures need fonts, so a QGuiApplication; without a display it runs on
// the offscreen platform, so a script on a server can make them too.
std::unique_ptr<QCoreApplication> application(int& argc, char* argv[]) {
    bool picture = false;
    for (int i = 1; i < argc; ++i)
        picture = picture || std::strcmp(argv[i], "--picture") == 0;
    if (!picture)
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

int main(int argc, char* argv[]) {
    const std::unique_ptr<QCoreApplication> app = application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("altorin-convert"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(VersionText));

    const QCommandLineOption help = helpOption();
    const QCommandLineOption version = versionOption();
    QCommandLineOption firmwareChoice = firmwareOption(
        QStringLiteral("Firmware of the device that wrote the logs: 407 (up to V407x), 500 "
                       "(from V500) or duo (Duo from V500), or auto: each log with the layout "
                       "it has, 407 or 500 (never duo, whose logs have the 500's layout but "
                       "altitudes in tenths). Default: the variant stored by AltorinTool, else "
                       "407."));
    firmwareChoice.setValueName(firmwareChoice.valueName() + QLatin1Char('|') + AutoFirmware);
    const QCommandLineOption formatOption(
        QStringLiteral("format"),
        QStringLiteral("Output: %1.").arg(formatNames(QStringLiteral(", "))),
        formatNames(QStringLiteral("|")));
    const QCommandLineOption outputDirOption(
        QStringLiteral("output-dir"),
        QStringLiteral("Write the outputs into DIR instead of next to each log (for a card that "
                       "is read-only). Existing files of the same name are replaced, except one "
                       "written in this run from another log: that log fails."),
        QStringLiteral("DIR"));
    const QCommandLineOption summaryOption(
        QStringLiteral("summary"),
        QStringLiteral("Print a summary of each log (altitudes, climb, speed, distances) instead "
                       "of converting it; writes no file."));
    const QCommandLineOption jsonOption(
        QStringLiteral("json"),
        QStringLiteral("With --summary: one JSON object per log and line."));
    const QCommandLineOption pictureOption(
        QStringLiteral("picture"),
        QStringLiteral("Write one picture of each flight, LOGnnnnn.png (title, altitude plot, "
                       "track, summary), beside the log or into DIR; waits for map tiles at "
                       "most 5 s per run."));
    const QCommandLineOption sizeOption(
        QStringLiteral("size"), QStringLiteral("With --picture: its size (default 1200x800)."),
        QStringLiteral("WIDTHxHEIGHT"));
    const QCommandLineOption mapUrlOption(
        QStringLiteral("map-url"),
        QStringLiteral("With --picture: draw the track on map tiles from this address template "
                       "with {z}, {x} and {y} (http, https or file). Without it the map is used "
                       "when it is switched on in AltorinTool, else the grid."),
        QStringLiteral("TEMPLATE"));
    const CommandHelp helpText{
        QStringLiteral("altorin-convert [--firmware 407|500|duo|auto] [--output-dir DIR] --format "
                       "FORMAT LOGFILE|FOLDER...\n"
                       "altorin-convert --summary [--json] [--firmware 407|500|duo|auto] "
                       "LOGFILE|FOLDER...\n"
                       "altorin-convert --picture [--size WIDTHxHEIGHT] [--map-url TEMPLATE] "
                       "[--firmware 407|500|duo|auto] [--output-dir DIR] LOGFILE|FOLDER..."),
        QStringLiteral(
            "Converts Altorin log files (LOG?????.CSV) into track files written next to each "
            "log. A FOLDER stands for every LOG?????.CSV in it, in any letter case, in name "
            "order.\n"
            "Prints each output path on its own line; errors go to stderr as \"LOGFILE: "
            "message\" or \"LOGFILE:LINE: message\", and the next log is converted. A log that "
            "holds only lines of the other firmware's layout is an error and leaves no output. "
            "With --summary each log is read and its flight summarised instead (a table, or one "
            "JSON object per line with --json); no file is written. A log of the other layout "
            "is summarised as read with the layout it has, and \"LOGFILE: gelesen als ...\" on "
            "stderr names that firmware.\n"
            "Exit status: 0 when every log converted, 1 when one failed or the output could not be "
            "printed, 2 for a usage error."),
        {help, version, firmwareChoice, formatOption, outputDirOption, summaryOption, jsonOption,
         pictureOption, sizeOption, mapUrlOption},
        {{QStringLiteral("altorin-convert --firmware 500 --format gpx LOG00012.CSV"),
          QStringLiteral("One log of a device from V500 to GPX: LOG00012.GPX beside it.")},
         {QStringLiteral("altorin-convert --format kml2d --output-dir ~/flights /media/card"),
          QStringLiteral("Every log of a read-only card to KML in ~/flights, read with the "
                         "firmware last chosen in the window.")},
         {QStringLiteral("altorin-convert --firmware 500 --summary /media/card"),
          QStringLiteral("A table of every flight on the card: duration, altitudes, climb, "
                         "distances.")}}};

    QCommandLineParser parser;
    if (const auto done = parseCommandLine(parser, helpText))
        return *done;

    const bool summary = parser.isSet(summaryOption);
    const bool picture = parser.isSet(pictureOption);
    if (picture && (summary || parser.isSet(formatOption)))
        return usageError(QStringLiteral("--picture excludes --format and --summary"));
    if (!picture && (parser.isSet(sizeOption) || parser.isSet(mapUrlOption)))
        return usageError(QStringLiteral("--size and --map-url go with --picture"));
    PictureOptions pictureOptions;
    if (parser.isSet(sizeOption)) {
        const auto size = pictureSize(parser.value(sizeOption));
        if (!size)
            return usageError(QStringLiteral("--size '%1' is no WIDTHxHEIGHT from 200x150 to "
                                             "8000x8000")
                                  .arg(parser.value(sizeOption)));
        pictureOptions.size = *size;
    }
    if (parser.isSet(mapUrlOption)) {
        const Result<TileUrl> url = TileUrl::parse(parser.value(mapUrlOption));
        if (!url)
            return usageError(url.failure().message);
        pictureOptions.mapTemplate = url->pattern();
    } else if (picture && readMapSettings().enabled) {
        pictureOptions.mapTemplate = readMapSettings().effectiveTemplate();
    }
    if (summary && parser.isSet(formatOption))
        return usageError(QStringLiteral("--summary and --format exclude each other"));
    if (summary && parser.isSet(outputDirOption))
        return usageError(QStringLiteral("--summary writes no file: --output-dir does not apply"));
    if (parser.isSet(jsonOption) && !summary)
        return usageError(QStringLiteral("--json goes with --summary"));
    if (!summary && !picture && !parser.isSet(formatOption))
        return usageError(QStringLiteral("--format is required"));
    const ConversionFormat* format = conversionFormatNamed(parser.value(formatOption));
    if (!summary && !picture && !format)
        return usageError(QStringLiteral("unknown format '%1'").arg(parser.value(formatOption)));
    // auto: each log read with the layout it has, so that a card with logs
    // from before and after a firmware update converts in one run.
    const bool autoLayout =
        parser.value(firmwareChoice).compare(AutoFirmware, Qt::CaseInsensitive) == 0;
    const auto chosen = autoLayout ? std::optional<FirmwareVariant>(FirmwareVariant{})
                                   : chosenFirmwareVariant(parser, firmwareChoice);
    if (!chosen)
        return usageError(
            QStringLiteral("unknown firmware '%1'").arg(parser.value(firmwareChoice)));
    const FirmwareVariant firmware = *chosen;
    // Scripts read the exit status; a log of the other layout must not pass
    // for an empty flight there, nor may a second card's LOG00001.CSV silently
    // replace the first card's output in one --output-dir.
    OutputsOfRun outputs;
    ConversionOptions options{QString(), true, &outputs};
    if (parser.isSet(outputDirOption)) {
        options.outputFolder = parser.value(outputDirOption);
        if (!QFileInfo(options.outputFolder).isDir())
            return usageError(
                QStringLiteral("--output-dir '%1' is no folder").arg(options.outputFolder));
    }
    const QStringList arguments = parser.positionalArguments();
    if (arguments.isEmpty())
        return usageError(QStringLiteral("no LOGFILE given"));

    int status = 0;
    QStringList summaryLogs;
    for (const QString& argument : arguments) {
        const Result<QStringList> logs = logFilesNamedBy(argument);
        if (!logs) {
            report(argument, 0, logs.failure().message);
            status = 1;
            continue;
        }
        if (summary || picture) {
            summaryLogs += *logs;
            continue;
        }
        for (const QString& log : *logs)
            if (!convertLog(*format, log, autoLayout ? layoutOrDefault(log) : firmware, options))
                status = 1;
    }
    if (picture)
        status = std::max(status, writePictures(summaryLogs, firmware, autoLayout, pictureOptions,
                                                options.outputFolder));
    if (summary && !summaryLogs.isEmpty()) {
        const SummaryForm form = parser.isSet(jsonOption) ? SummaryForm::Json : SummaryForm::Table;
        status = std::max(status,
                          printSummaries(summaryLogs, firmware, form, stdout, stderr, !autoLayout));
    }
    return finishOutput(status);
}
