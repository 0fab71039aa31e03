#include "convert/conversion.h"
#include "convert/exportwriter.h"
#include "convert/logfields.h"
#include "convert/outputfile.h"

Status runExport(LogReader& log, const QString& outputPath, const FirmwareVariant& firmware,
                 ExportWriter& writer) {
    OutputFile output;
    if (auto failure = output.open(outputPath, log.status()))
        return failure;
    OutputText& out = output.text();
    writer.writeHead(out);
    std::string line;
    while (log.readLine(line)) {
        if (!IsLogDataLine(line, firmware))
            continue;
        const Result<LineOutcome> outcome = writer.writeDataLine(line, log.lineNumber(), out);
        if (!outcome)
            return outcome.failure();
        if (auto failure = output.writeIfFull())
            return failure;
    }
    if (log.failure())
        return log.failure();
    writer.writeTail(out);
    return output.commit();
}

QString fileNameOf(const QString& path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString outputPathBeside(const QString& logPath, const QString& outputName) {
    return logPath.left(logPath.lastIndexOf(QLatin1Char('/')) + 1) + outputName;
}

QString withExtension(const QString& name, const QString& extension) {
    const auto dot = name.lastIndexOf(QLatin1Char('.'));
    return (dot < 0 ? name : name.left(dot)) + extension;
}

Status splitDataLine(std::string& line, qint64 lineNumber, size_t needed, Fields& fields) {
    SplitLogLine(line, fields, needed);
    if (fields.size() >= needed)
        return std::nullopt;
    return Failure{FailureKind::TooFewFields,
                   QStringLiteral("Zeile %1: nur %2 Felder, die Konvertierung braucht %3 "
                                  "(Anführungszeichen um ';'?)")
                       .arg(lineNumber)
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
