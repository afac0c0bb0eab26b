#include "engine/integration_parts.h"

#include <utility>

#include "engine/record_processors.h"

namespace ligamor {

IntegrationParts::IntegrationParts(FrontEndSeams seams)
    : loader(std::move(seams.clientLibraries)),
      dtmain(loader),
      recordMessages(seams.messages),
      records{dtmain, recordMessages, seams.clock, seams.regional},
      integration{settings,      dtmain, seams.messages, seams.timer, seams.clock, seams.regional,
                  std::move(seams.settingsFile), StandardInputFileTable(records)}
{
    // Takes effect when the library loads, at the first connection.
    if (seams.takesStopSignals) loader.LeaveStopSignalsToTheProgram();
    integration.recordMessages = &recordMessages;
    integration.records = &records;
}

}  // namespace ligamor
