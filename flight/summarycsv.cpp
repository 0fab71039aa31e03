#include "flight/summarycsv.h"

namespace {

QByteArray csvCell(const QString& text) {
    QByteArray cell = text.toUtf8();
    if (cell.contains(',') || cell.contains('"') || cell.contains('\n') || cell.contains('\r'))
        cell = '"' + cell.replace("\"", "\"\"") + '"';
    return cell;
}

} // namespace

QByteArray summaryCsv(std::span<const FlightSummary> summaries) {
    QByteArray csv;
    auto endLine = [&csv] {
        csv.chop(1); // the last ','
        csv += "\r\n";
    };
    for (const SummaryField& field : summaryFields())
        csv += QByteArray(field.key) + ',';
    endLine();
    for (const FlightSummary& summary : summaries) {
        for (const SummaryField& field : summaryFields())
            csv += csvCell(summaryText(field, summary)) + ',';
        endLine();
    }
    return csv;
}
