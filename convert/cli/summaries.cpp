#include "convert/cli/summaries.h"
#include "cli/commandline.h"
#include "flight/flightlog.h"
#include "flight/summarytext.h"
#include "i18n/captiontables.h"

namespace {

void print(std::FILE* file, const QString& text) {
    std::fputs(text.toUtf8().constData(), file);
    std::fflush(file);
}

} // namespace

int printSummaries(const QStringList& logs, const FirmwareVariant& firmware, SummaryForm form,
                   std::FILE* out, std::FILE* err, bool sayLayout) {
    int status = 0;
    std::vector<FlightSummary> summaries;
    for (const QString& path : logs) {
        const Result<FlightLog> log = readFlightLogFitting(path, firmware);
        if (!log) {
            print(err, path + QStringLiteral(": ") + log.failure().message + QLatin1Char('\n'));
            status = 1;
            continue;
        }
        // A log of the other layout is read with the layout it has, and said so
        // by the caption of the fitting firmware's menu item.
        if (sayLayout && log->firmware != firmware)
            print(err, path + QStringLiteral(": gelesen als ") +
                           designCaption(firmwareRowOf(log->firmware).menuItem) +
                           QLatin1Char('\n'));
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
