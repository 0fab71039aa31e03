#include "convert/cli/summaries.h"
#include "cli/commandline.h"
#include "flight/flightlog.h"
#include "flight/summarytext.h"
#include "log/datalines.h"

namespace {

void print(std::FILE* file, const QString& text) {
    std::fputs(text.toUtf8().constData(), file);
    std::fflush(file);
}

} // namespace

int printSummaries(const QStringList& logs, const FirmwareVariant& firmware, SummaryForm form,
                   std::FILE* out, std::FILE* err) {
    int status = 0;
    std::vector<FlightSummary> summaries;
    for (const QString& path : logs) {
        const Result<FlightLog> log = readFlightLog(path, firmware);
        if (!log) {
            print(err, path + QStringLiteral(": ") + log.failure().message + QLatin1Char('\n'));
            status = 1;
            continue;
        }
        // As for the conversions: a log of the other layout is no empty flight.
        if (wrongFirmwareLikely(log->dataLines, log->otherLayoutLines)) {
            print(err, path + QStringLiteral(": Keine Datenzeilen: ") +
                           otherLayoutText(firmware.otherLayout()) +
                           fittingFirmwareHint(firmware.otherLayout()) + QLatin1Char('\n'));
            status = 1;
            continue;
        }
        FlightSummary summary = summarizeFlight(*log);
        if (form == SummaryForm::Json)
            print(out, summaryJson(summary) + QLatin1Char('\n'));
        else
            summaries.push_back(std::move(summary));
    }
    if (form == SummaryForm::Table && !summaries.empty())
        print(out, summaryTable(summaries));
    return status;
}
