// altorin-convert: the window's five log conversions for a whole memory card
// at once, or for scripts.
#include "app/settingsfile.h"
#include "convert/conversions.h"
#include "flight/summarytext.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>
#include <optional>

namespace {

std::optional<FirmwareVariant> firmwareNamed(const QString& name) {
    if (name == QLatin1String("407"))
        return FirmwareVariant{407, 0};
    if (name == QLatin1String("500"))
        return FirmwareVariant{500, 0};
    if (name == QLatin1String("duo"))
        return FirmwareVariant{500, 1};
    return std::nullopt;
}

int usageError(const QString& text) {
    std::fprintf(stderr, "altorin-convert: %s\n", text.toUtf8().constData());
    std::fprintf(stderr, "Try 'altorin-convert --help'.\n");
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("altorin-convert"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(VersionText));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Converts Altorin log files (LOG?????.CSV) into track files written next "
                       "to each log. Prints each output path on its own line; errors go to "
                       "stderr as \"LOGFILE: message\". Exit status 0 only when every log "
                       "converted."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption firmwareOption(
        QStringLiteral("firmware"),
        QStringLiteral("Firmware of the device that wrote the logs: 407 (up to V407x), 500 "
                       "(from V500) or duo (Duo from V500). Default: the variant stored by "
                       "AltorinTool, else 407."),
        QStringLiteral("407|500|duo"));
    QStringList formatNames;
    for (const ConversionFormat& format : conversionFormats())
        formatNames << QLatin1String(format.name);
    const QCommandLineOption formatOption(
        QStringLiteral("format"),
        QStringLiteral("Output: %1 or %2.")
            .arg(formatNames.mid(0, formatNames.size() - 1).join(QStringLiteral(", ")),
                 formatNames.last()),
        formatNames.join(QLatin1Char('|')));
    const QCommandLineOption summaryOption(
        QStringLiteral("summary"),
        QStringLiteral("Print a summary of each log (altitudes, climb, speed, distances) instead "
                       "of converting it; writes no file."));
    const QCommandLineOption jsonOption(
        QStringLiteral("json"),
        QStringLiteral("With --summary: one JSON object per log and line."));
    parser.addOption(firmwareOption);
    parser.addOption(formatOption);
    parser.addOption(summaryOption);
    parser.addOption(jsonOption);
    parser.addPositionalArgument(QStringLiteral("LOGFILE"), QStringLiteral("Log files to convert."),
                                 QStringLiteral("LOGFILE..."));
    // A mistyped option is a usage error (2) like the others, not a failed log (1).
    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    parser.process(app); // --help, --help-all and --version

    const bool summary = parser.isSet(summaryOption);
    if (summary && parser.isSet(formatOption))
        return usageError(QStringLiteral("--summary and --format exclude each other"));
    if (parser.isSet(jsonOption) && !summary)
        return usageError(QStringLiteral("--json goes with --summary"));
    if (!summary && !parser.isSet(formatOption))
        return usageError(QStringLiteral("--format is required"));
    const ConversionFormat* format = conversionFormatNamed(parser.value(formatOption));
    if (!summary && !format)
        return usageError(QStringLiteral("unknown format '%1'").arg(parser.value(formatOption)));
    FirmwareVariant firmware;
    if (parser.isSet(firmwareOption)) {
        const auto named = firmwareNamed(parser.value(firmwareOption));
        if (!named)
            return usageError(
                QStringLiteral("unknown firmware '%1'").arg(parser.value(firmwareOption)));
        firmware = *named;
    } else {
        firmware = storedFirmwareVariant();
    }
    const QStringList logs = parser.positionalArguments();
    if (logs.isEmpty())
        return usageError(QStringLiteral("no LOGFILE given"));
    if (summary)
        return printSummaries(logs, firmware,
                              parser.isSet(jsonOption) ? SummaryForm::Json : SummaryForm::Table,
                              stdout, stderr);

    int status = 0;
    for (const QString& log : logs) {
        const ConversionResult result = format->convert(log, firmware);
        if (result.failure) {
            std::fprintf(stderr, "%s: %s\n", log.toUtf8().constData(),
                         result.failure->message.toUtf8().constData());
            status = 1;
            continue;
        }
        std::printf("%s\n", result.outputPath.toUtf8().constData());
        std::fflush(stdout);
    }
    return status;
}
