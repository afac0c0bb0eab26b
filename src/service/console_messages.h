#pragma once
// The message seam of the window-less front end: every box the window would
// show becomes one line on standard error, with its time and a severity
// word, in UTF-8, and nobody has to click anything; on Windows it goes to the
// event log as well.
#include <cstddef>
#include <string>

#include "runtime/clock.h"
#include "runtime/messages.h"
#include "runtime/system_log.h"

namespace ligamor {

// In the order of the table of words in console_messages.cpp.
enum class Severity { Info, Warning, Error };

class ConsoleMessages : public Messages {
public:
    explicit ConsoleMessages(const Clock& clock);

    void InformationBox(const std::string& text) override { Write(Severity::Info, text); }
    void ErrorBox(const std::string& text) override { Write(Severity::Error, text); }
    void PlainMessage(const std::string& text) override { Write(Severity::Warning, text); }
    void ErrorReport(const std::string& text) override { Write(Severity::Error, text); }

    // A Windows-1252 text, as the core's messages are. Its kind of event: the
    // one its fixed text says (the failed connection, no settings file), or
    // else what the service is doing (SetDoing).
    void Write(Severity severity, const std::string& cp1252Text);
    // A text of the service's own, already UTF-8.
    void WriteUtf8(Severity severity, const std::string& utf8Text, SystemLogEvent event = SystemLogEvent::Other);

    // The kind of event of the core's messages from now on: a failed cycle
    // while a cycle runs, unusable settings while activation reads them.
    void SetDoing(SystemLogEvent event) { doing_ = event; }

    // How many error messages were written so far.
    std::size_t ErrorsWritten() const { return errors_; }

private:
    const Clock& clock_;
    bool journal_;
    std::size_t errors_ = 0;
    SystemLogEvent doing_ = SystemLogEvent::Other;
};

// The text on one line: line ends (CR LF, LF or CR, empty lines among them)
// become one " | ", none at either end.
std::string OneLine(const std::string& text);

}  // namespace ligamor
