#include "engine/integration_health.h"

#include "engine/input_files.h"
#include "engine/record_file.h"
#include "engine/set_aside.h"
#include "runtime/clock.h"
#include "runtime/failures.h"
#include "runtime/process_identity.h"
#include "runtime/text_file.h"

namespace ligamor {

std::string StatusFilePath(const std::string& logDirectory)
{
    return logDirectory + kStatusFileName;
}

WaitingFile OldestWaitingFile(const std::string& sendDirectory, const InputFileTable& table)
{
    WaitingFile oldest;
    for (const InputFileRow& row : table) {
        std::string path;
        FileIdentity id;
        if (!FindInputFile(sendDirectory, row.fileName, path) || !StatFile(path, id)) continue;
        if (oldest.path.empty() || id.mtimeNs < oldest.sinceNs) oldest = {path, id.mtimeNs};
    }
    return oldest;
}

Health IntegrationHealth(const Integration& integration)
{
    // Polling is off too while the front end keeps the timer stopped: the
    // window after "&Desativar", or while its settings dialog waits for a restart.
    HealthFacts facts = integration.state.health;
    facts.polling = facts.polling && (integration.timer.Interval() > 0 || integration.state.cycling);
    // Counted from the folder itself: a technician's fix shows at once.
    try {
        const SetAsideSummary setAside = SummariseSetAside(integration.settings.ResponseDirectory, integration.table);
        facts.setAsideLines = setAside.lines;
        facts.oldestSetAside = setAside.oldest;
    } catch (const Failure&) {
        // An unreadable folder is told by the cycle that needs it.
    }
    return WorkOutHealth(facts, OldestWaitingFile(integration.settings.SendDirectory, integration.table),
                         WallClockNs());
}

namespace {

void WriteStatusFile(const std::string& logDirectory, const std::string& text)
{
    const std::string path = StatusFilePath(logDirectory);
    // The folder's group too, where a monitoring agent's user may be; a
    // user outside that group keeps the file to itself. On Windows the
    // folder's inherited access, as the log and the refused lines have.
    try {
        ReplaceWholeFile(path, text, FileAccess::FolderDefault);
    } catch (const IoFailure&) {
        ReplaceWholeFile(path, text, FileAccess::Owner);
    }
}

}  // namespace

Health NoteHealth(Integration& integration)
{
    const Health health = IntegrationHealth(integration);
    if (integration.healthNoted) integration.healthNoted(health);
    // The status file is the send directory's integration's: a window or a
    // run refused because another one holds the directory must not overwrite
    // what that one says.
    const std::string& logDirectory = integration.settings.LogDirectory;
    if (!integration.state.sendDirectoryLock.Holds() || logDirectory.empty() || !DirectoryExists(logDirectory))
        return health;
    // New lines applied are news for the metrics too, not only a new state.
    const std::string line = HealthLine(health) + "\n" + std::to_string(health.facts.linesApplied);
    const long long refreshNs = LateAfterMs(integration.state.health.intervalMs) * 1'000'000 / 2;
    if (!integration.state.progressPublished && line == integration.state.statusWritten &&
        ElapsedNs(integration.state.statusWrittenCycleNs, integration.state.health.lastCycleEndNs) < refreshNs)
        return health;
    try {
        WriteStatusFile(logDirectory, HealthFactsText(health.facts));
        integration.state.statusWritten = line;
        integration.state.statusWrittenCycleNs = integration.state.health.lastCycleEndNs;
        integration.state.statusFacts = health.facts;
        integration.state.progressPublished = false;
    } catch (const Failure&) {
        integration.state.statusWritten.clear();  // tried again at the next change or cycle
    }
    return health;
}

void NoteProgress(Integration& integration, const std::string& fileName, std::size_t done, std::size_t total)
{
    CycleState& state = integration.state;
    // Only over a status file this holder wrote: its facts are the ones shown.
    if (!state.sendDirectoryLock.Holds() || state.statusWritten.empty()) return;
    HealthFacts facts = state.statusFacts;
    facts.progressFile = fileName;
    facts.progressDone = static_cast<long long>(done);
    facts.progressTotal = static_cast<long long>(total);
    facts.progressNs = WallClockNs();
    try {
        WriteStatusFile(integration.settings.LogDirectory, HealthFactsText(facts));
        state.progressPublished = true;
    } catch (const Failure&) {
        // Progress is news for a window only: the cycle goes on.
    }
}

void NoteOnceEnded(Integration& integration, const std::string& utf8Failure)
{
    HealthFacts& health = integration.state.health;
    health.onceEndedNs = WallClockNs();
    if (health.failure.empty() && !utf8Failure.empty()) {
        health.failure = utf8Failure;
        health.lastFailureNs = health.onceEndedNs;
    }
    // Written whether or not the line changed: the mark is the news.
    integration.state.statusWritten.clear();
    NoteHealth(integration);
}

std::string RequesterText(const std::string& user, const std::string& computer)
{
    if (computer.empty()) return user;
    return (user.empty() ? std::string("alguém") : user) + " em " + computer;
}

void SwitchPollingOff(Integration& integration, PollingOff why)
{
    integration.timer.SetInterval(0);
    integration.state.health.switchedOff = why;
    // Whoever looks at the health beside it (a window, --status) is told who.
    const ProcessIdentity me = ThisProcess();
    integration.state.health.pausedBy = why == PollingOff::Desativar ? RequesterText(me.user, me.computer) : "";
    NoteHealth(integration);
}

bool ReadStatusFile(const std::string& logDirectory, HealthFacts& facts)
{
    const std::string path = StatusFilePath(logDirectory);
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return false;
    facts = ParseHealthFacts(bytes, path);
    return true;
}

}  // namespace ligamor
