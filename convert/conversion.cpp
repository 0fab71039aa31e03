#include "convert/conversion.h"
#include "convert/exportwriter.h"
#include "convert/outputfile.h"
#include "log/datalines.h"
#include "log/logfields.h"

namespace {

Status exportLines(const QString& logPath, LogReader& log, const FirmwareVariant& firmware,
                   const ConversionOptions& options, ExportWriter& writer, Conversion& result) {
    if (options.run)
        if (auto clash = options.run->checkTarget(result.outputPath, log.status()))
            return clash;
    OutputFile output;
    if (auto failure = output.open(result.outputPath, log.status()))
        return failure;
    OutputText& out = output.text();
    writer.writeHead(out);
    result.otherLayout = firmware.otherLayout();
    LayoutCounts counts;
    Status stopped;
    const Status readFailure = forEachDataLine(log, firmware, counts, [&](std::string& line) {
        const Result<LineOutcome> outcome = writer.writeDataLine(line, out);
        if (!outcome) {
            stopped = outcome.failure();
            stopped->line = log.lineNumber();
            return false;
        }
        if (*outcome == LineOutcome::Point)
            ++result.trackPoints;
        stopped = output.writeIfFull();
        return !stopped;
    });
    if (stopped)
        return stopped;
    if (readFailure)
        return readFailure;
    result.otherLayoutLines = counts.otherLayoutLines;
    writer.writeTail(out);
    // Not committed, the older output of that name stays as it was.
    if (options.refuseWrongFirmware && result.wrongFirmware())
        return Failure{FailureKind::WrongFirmware, wrongFirmwareText(result)};
    if (auto failure = output.commit())
        return failure;
    if (options.run)
        options.run->add(result.outputPath, logPath, log.status());
    return std::nullopt;
}

} // namespace

Result<Conversion> runExport(const QString& logPath, const QString& outputName,
                             const FirmwareVariant& firmware, const ConversionOptions& options,
                             ExportWriter& writer) {
    LogReader log;
    if (auto failure = log.open(logPath))
        return *failure;
    Conversion conversion;
    conversion.outputPath = outputPathFor(logPath, outputName, options);
    writer.begin(log, conversion);
    if (auto failure = exportLines(logPath, log, firmware, options, writer, conversion))
        return *failure;
    return conversion;
}

QString wrongFirmwareText(const Conversion& conversion) {
    return QStringLiteral("Keine Trackpunkte: ") + otherLayoutText(conversion.otherLayout);
}

QString conversionFailureText(const Failure& failure) {
    if (failure.kind == FailureKind::TooFewFields && failure.line > 0)
        return QStringLiteral("Zeile %1: ").arg(failure.line) + failure.message;
    return failure.message;
}

QString fileNameOf(const QString& path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString outputPathBeside(const QString& logPath, const QString& outputName) {
    return logPath.left(logPath.lastIndexOf(QLatin1Char('/')) + 1) + outputName;
}

QString outputPathFor(const QString& logPath, const QString& outputName,
                      const ConversionOptions& options) {
    if (options.outputFolder.isEmpty())
        return outputPathBeside(logPath, outputName);
    QString folder = options.outputFolder;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder + outputName;
}

QString withExtension(const QString& name, const QString& extension) {
    const auto dot = name.lastIndexOf(QLatin1Char('.'));
    return (dot < 0 ? name : name.left(dot)) + extension;
}

Status splitDataLine(std::string& line, size_t needed, Fields& fields) {
    SplitLogLine(line, fields, needed);
    if (fields.size() >= needed)
        return std::nullopt;
    return Failure{FailureKind::TooFewFields,
                   QStringLiteral("nur %1 Felder, die Konvertierung braucht %2 "
                                  "(Anführungszeichen um ';'?)")
                       .arg(fields.size())
                       .arg(needed)};
}

QString kmlOutputName(const QString& logName) {
    return withExtension(logName, QStringLiteral(".kml"));
}

QString gpxOutputName(const QString& logName) {
    return withExtension(logName, QStringLiteral(".GPX"));
}

QString trakmondOutputName(const QString& logName) {
    return QStringLiteral("TMD") + logName.mid(3);
}
