#include "log/datalines.h"

FirmwareVariant fittingFirmware(const FirmwareVariant& chosen, const LayoutCounts& counts) {
    return wrongFirmwareLikely(counts.dataLines, counts.otherLayoutLines) ? chosen.otherLayout()
                                                                          : chosen;
}

Result<FirmwareVariant> logLayoutOf(const QString& path) {
    LogReader reader;
    if (auto failure = reader.open(path))
        return *failure;
    const FirmwareVariant early{}; // the 407's layout
    LayoutCounts counts;
    if (auto failure = forEachDataLine(reader, early, counts, [](std::string&) { return true; }))
        return *failure;
    return counts.otherLayoutLines > counts.dataLines ? early.otherLayout() : early;
}

QString otherLayoutText(const FirmwareVariant& otherLayout) {
    return QStringLiteral("die Log-Datei hat Zeilen mit %1 Feldern")
        .arg(otherLayout.logFieldCount());
}
