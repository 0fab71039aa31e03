#include "app/programstate.h"

namespace {
ProgramState state;
}

std::optional<FirmwareVariant> firmwareVariantNamed(const QString& name) {
    if (name == QLatin1String("407"))
        return FirmwareVariant{407, 0};
    if (name == QLatin1String("500"))
        return FirmwareVariant{500, 0};
    if (name == QLatin1String("duo"))
        return FirmwareVariant{500, 1};
    return std::nullopt;
}

ProgramState& programState() {
    return state;
}

void resetProgramState() {
    state = ProgramState{};
}
