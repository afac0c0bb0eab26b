#include "service/console_messages.h"

#include <cstdio>

#include "config/settings.h"
#include "runtime/console.h"
#include "runtime/system_log.h"
#include "runtime/text1252.h"

namespace ligamor {

namespace {

// The word a reader sees, the syslog priority the journal reads
// (informational, warning, error) and the level of the system's log, by
// severity.
struct SeverityText {
    const char* word;
    const char* journalPrefix;
    SystemLogLevel systemLog;
};
constexpr SeverityText kSeverityTexts[] = {{"INFO", "<6>", SystemLogLevel::Information},
                                           {"AVISO", "<4>", SystemLogLevel::Warning},
                                           {"ERRO", "<3>", SystemLogLevel::Error}};

const SeverityText& TextOf(Severity severity)
{
    return kSeverityTexts[static_cast<int>(severity)];
}

}  // namespace

ConsoleMessages::ConsoleMessages(const Clock& clock) : clock_(clock), journal_(ErrorStreamIsJournal()) {}

std::string OneLine(const std::string& text)
{
    std::string line;
    bool lineEnd = false;
    for (const char c : text) {
        if (c == '\r' || c == '\n') {
            lineEnd = true;
            continue;
        }
        // Blank lines between paragraphs make one separator, not several.
        if (lineEnd && !line.empty()) line += " | ";
        lineEnd = false;
        line += c;
    }
    return line;
}

void ConsoleMessages::Write(Severity severity, const std::string& cp1252Text)
{
    SystemLogEvent event = doing_;
    if (cp1252Text == Cp1252("Erro ao Conectar em Banco de Dados.")) event = SystemLogEvent::ConnectionFailed;
    else if (cp1252Text == NotConfiguredMessage()) event = SystemLogEvent::SettingsUnusable;
    WriteUtf8(severity, Utf8FromCp1252(cp1252Text), event);
}

void ConsoleMessages::WriteUtf8(Severity severity, const std::string& utf8Text, SystemLogEvent event)
{
    // The journal stamps each line itself.
    std::string line;
    if (journal_) {
        line = TextOf(severity).journalPrefix;
    } else {
        const DateTime t = clock_.Now();
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d ", t.year, t.month, t.day, t.hour, t.minute,
                      t.second);
        line = stamp;
    }
    if (severity == Severity::Error) ++errors_;
    WriteErrorLine(line + TextOf(severity).word + " " + OneLine(utf8Text));
    // The event log keeps its own time and level: the text alone, its lines kept.
    WriteSystemLog(TextOf(severity).systemLog, utf8Text, event);
}

}  // namespace ligamor
