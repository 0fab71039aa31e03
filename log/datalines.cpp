#include "log/datalines.h"

QString otherLayoutText(const FirmwareVariant& otherLayout) {
    return QStringLiteral("die Log-Datei hat Zeilen mit %1 Feldern")
        .arg(otherLayout.logFieldCount());
}
