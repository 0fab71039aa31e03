#include "core/firmwaretable.h"

namespace {

constexpr FirmwareRow Rows[] = {
    {{407, 0}, "407", "bisV407x1", " für   Altorin   bis Version 407x", V407LogFields},
    {{500, 0}, "500", "abV408x1", " für   Altorin   ab Version 500", V500LogFields},
    {{500, 1}, "duo", "Duo_ab50x", " für   Altorin Duo   ab Version 500", V500LogFields},
};

constexpr const FirmwareRow& Row407 = Rows[0];
constexpr const FirmwareRow& Row500 = Rows[1];
constexpr const FirmwareRow& RowDuo = Rows[2];

} // namespace

FirmwareVariant FirmwareVariant::otherLayout() const {
    return hasV500Layout() ? Row407.variant : Row500.variant;
}

std::span<const FirmwareRow> firmwareTable() {
    return Rows;
}

const FirmwareRow* firmwareRowNamed(const QString& optionValue) {
    for (const FirmwareRow& row : Rows)
        if (optionValue.compare(QLatin1String(row.optionValue), Qt::CaseInsensitive) == 0)
            return &row;
    return nullptr;
}

const FirmwareRow& firmwareRowOf(const FirmwareVariant& firmware) {
    if (!firmware.hasV500Layout())
        return Row407;
    return firmware.isDuo() ? RowDuo : Row500;
}

const FirmwareRow* titleRowOf(const FirmwareVariant& firmware) {
    if (firmware.version == Row407.variant.version)
        return &Row407;
    for (const FirmwareRow* row : {&Row500, &RowDuo})
        if (firmware == row->variant)
            return row;
    return nullptr;
}
