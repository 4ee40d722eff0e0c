#include "app/desktop/ExecutionState.h"

void ExecutionState::require(EXECUTION_STATE flags) {
    if (flags == held_) {
        return;
    }
    held_ = flags;
    setter_(flags);
}

ExecutionState& executionState() {
    static ExecutionState state;
    return state;
}
