#pragma once
// The one start-up of the integration for every face (the Qt window, the
// Windows window, the service) and the benchmarks: the client loader, the
// data module, the message gate, the record context and the integration,
// wired together. A front end brings only its own seams; a part added to the
// integration is added here once.
#include <string>
#include <vector>

#include "config/settings.h"
#include "db/dtmmain.h"
#include "db/firebird/fb_client.h"
#include "engine/untfuncoes.h"
#include "runtime/clock.h"
#include "runtime/messages.h"
#include "runtime/timer.h"
#include "transactions/record_context.h"

namespace ligamor {

// What the front end brings.
struct FrontEndSeams {
    Messages& messages;
    Timer& timer;
    const Clock& clock;
    std::string settingsFile{};  // none: activation finds no settings (the benchmarks set them directly)
    // Those of the account that runs the program; the settings file's date
    // rule replaces them at activation.
    RegionalSettings regional = PlatformRegionalSettings();
    // A front end that takes SIGINT and SIGTERM itself (fb_client.h).
    bool takesStopSignals = false;
    // The client library names tried in order.
    std::vector<std::string> clientLibraries = DefaultFbClientNames();
};

// Built in place and never moved: the parts refer to one another.
struct IntegrationParts {
    explicit IntegrationParts(FrontEndSeams seams);
    IntegrationParts(const IntegrationParts&) = delete;
    IntegrationParts& operator=(const IntegrationParts&) = delete;

    FbClientLoader loader;
    DataModule dtmain;  // nothing connects until activation
    SystemSettings settings;
    // The record processors show their boxes through it, so that the boxes
    // of a line set aside are dropped instead of shown.
    MessageGate recordMessages;
    RecordContext records;
    Integration integration;
};

}  // namespace ligamor
