#include "core/programstate.h"

namespace {
ProgramState state;
}

ProgramState& programState() {
    return state;
}

void resetProgramState() {
    state = ProgramState{};
}
