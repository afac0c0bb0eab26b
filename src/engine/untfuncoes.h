#pragma once
// Activation and the timed integration cycle.
#include <chrono>
#include <string>
#include <vector>

#include "config/settings.h"
#include "db/dtmmain.h"
#include "engine/input_file_table.h"
#include "engine/log_view.h"
#include "runtime/clock.h"
#include "runtime/messages.h"
#include "runtime/text_file.h"
#include "runtime/timer.h"

namespace ligamor {

// Everything activation and the cycle act on; created once by the front end.
struct Integration {
    SystemSettings& settings;
    DataModule& dtmain;
    Messages& messages;
    Timer& timer;
    const Clock& clock;
    RegionalSettings regional;
    std::string settingsDirectory;  // where ConfigLigamor.csi lives, ending with "/"
    InputFileTable table;
    // A file changed more recently than this is still being written: left for
    // the next cycle.
    std::chrono::milliseconds quietTime{2000};
};

void ActivateIntegration(Integration& integration);
void RunIntegrationCycle(Integration& integration, LogView& rce);

}  // namespace ligamor
