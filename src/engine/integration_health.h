#pragma once
// The health of a running integration: kept by activation and the cycle,
// written to the status file beside the integration log when it changes, and
// worked out again by whoever asks.
#include <cstddef>
#include <string>

#include "engine/health.h"
#include "engine/input_file_table.h"
#include "engine/integration.h"

namespace ligamor {

inline constexpr const char* kStatusFileName = "EstadoLigamor.txt";

// The log directory immediately followed by the status file's name.
std::string StatusFilePath(const std::string& logDirectory);

// The input file of the table that changed longest ago; none when none waits.
WaitingFile OldestWaitingFile(const std::string& sendDirectory, const InputFileTable& table);

// The health now, from what activation and the cycle noted and the send directory as it is.
Health IntegrationHealth(const Integration& integration);

// Writes the status file when the health's state or reason changed, and at
// least every half of the late threshold while cycles end, so that a reader
// never takes a stale end of cycle for a late one. A status file that cannot
// be written fails nothing: the integration goes on, and asking says so.
// Only an integration that holds its send directory writes it. Returns the
// health it worked out.
Health NoteHealth(Integration& integration);

// A run with --once ends: the status file keeps its outcome, marked as a
// single run's, for --status to tell between two scheduled runs. Written, as
// ever, only while the run holds its send directory. utf8Failure: what the
// run found wrong after a cycle that went well (a file left in the send
// directory); a failure already noted comes first.
void NoteOnceEnded(Integration& integration, const std::string& utf8Failure = {});

// The progress of the running cycle into the status file, over what it last
// said: a window beside the integration shows it.
void NoteProgress(Integration& integration, const std::string& fileName, std::size_t done, std::size_t total);

// "maria em CAIXA2": who switched reading off, as the health names them.
std::string RequesterText(const std::string& user, const std::string& computer);

// The front end stops the timer for a reason of its own ("&Desativar", the
// settings dialog): the health says who, and the status file says so before
// the dialog opens.
void SwitchPollingOff(Integration& integration, PollingOff why);

// The facts of the status file in the log directory; false when there is none.
// Raises RecordFileFailure when it is cut or damaged, IoFailure when it
// cannot be read.
bool ReadStatusFile(const std::string& logDirectory, HealthFacts& facts);

}  // namespace ligamor
