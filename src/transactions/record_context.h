#pragma once
// What a record processor and its record transaction work with: the data
// module, the message seam, the clock and the regional settings.
#include "db/dtmmain.h"
#include "runtime/clock.h"
#include "runtime/messages.h"

namespace ligamor {

struct RecordContext {
    DataModule& dtmain;
    Messages& messages;
    const Clock& clock;
    RegionalSettings regional;
};

}  // namespace ligamor
