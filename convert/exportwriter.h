#pragma once

#include "convert/conversion.h"
#include "convert/outputfile.h"
#include "core/failure.h"
#include "core/programstate.h"
#include "core/result.h"
#include "log/logreader.h"

#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a Data line gave: a track point, or nothing for want of a position.
enum class LineOutcome { Point, NoPosition };

// One export format behind the shared log reading loop.
class ExportWriter {
  public:
    virtual ~ExportWriter() = default;
    // Once the log is open, before the head: what the writer takes from the
    // log file itself (the GPX export its date), noted in `conversion` too.
    virtual void begin(const LogReader& log, Conversion& conversion) {
        (void)log;
        (void)conversion;
    }
    virtual void writeHead(OutputText& out) = 0;
    // One Data line of the variant (the ';' count already matched). May
    // change `line` (fields are unquoted in place). A failure stops the export.
    virtual Result<LineOutcome> writeDataLine(std::string& line, OutputText& out) = 0;
    virtual void writeTail(OutputText& out) = 0;
};

// The steps every conversion shares: opens the log at `logPath`, reads it
// from its first line and writes the output `outputName` through `writer`;
// the output replaces an older file only when everything went well. Gives
// what was written with the line counts, or the failure with the line it
// stopped at.
Result<Conversion> runExport(const QString& logPath, const QString& outputName,
                             const FirmwareVariant& firmware, const ConversionOptions& options,
                             ExportWriter& writer);

// The log's folder as given, with `outputName` in place of the log's name.
QString outputPathBeside(const QString& logPath, const QString& outputName);
// The output's path: in the options' folder when one is given, else beside the log.
QString outputPathFor(const QString& logPath, const QString& outputName,
                      const ConversionOptions& options);
QString fileNameOf(const QString& path);
// The log's name with its extension (from the last '.') replaced.
QString withExtension(const QString& name, const QString& extension);

using Fields = std::vector<std::string_view>;

// Splits a Data line into the first `needed` fields. A line whose quoted
// fields swallowed some ';' has fewer: that stops the export with a message
// whose failure the export gives the line's number.
Status splitDataLine(std::string& line, size_t needed, Fields& fields);
