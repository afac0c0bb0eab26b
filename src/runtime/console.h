#pragma once
// The standard streams of a front end without a window: its --help on the
// output, its messages on the error stream, where a service manager, a
// journal, a container's log collector or a console window reads them.
#include <string>

namespace ligamor {

enum class StandardStream { Output, Error };

// Writes the UTF-8 text (lines ended by "\n") in one write, so that lines
// never mix with another writer's, and with no buffer left behind if the
// process is killed. A failure to write is ignored: there is nowhere to tell
// it. On Windows a console window gets the text as UTF-16, so that it shows
// right whatever the console's code page, and a file or a pipe gets UTF-8
// with "\r\n" line ends.
void WriteText(StandardStream stream, const std::string& utf8Text);

// The line and a line end on the error stream.
inline void WriteErrorLine(const std::string& utf8Line)
{
    WriteText(StandardStream::Error, utf8Line + "\n");
}

// True when the standard error stream is connected to the system journal,
// which stamps the time itself and reads a "<N>" priority prefix. Never on
// Windows.
bool ErrorStreamIsJournal();

}  // namespace ligamor
