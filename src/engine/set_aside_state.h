#pragma once
// What the cycle keeps between cycles about the folder of refused lines.
#include <array>

#include "engine/record_kinds.h"
#include "runtime/text_file.h"

namespace ligamor {

struct SetAsideState {
    // The set-aside lines are tried again at the next cycle: the first one of
    // a run, and after a cycle that read lines (what they wait for may have come).
    bool retryDue = true;
    // The folder's files as this integration last wrote or read them: a
    // technician's edit shows as a change, and the lines are tried again.
    std::array<FileIdentity, kRecordKindCount> seen{};
};

}  // namespace ligamor
