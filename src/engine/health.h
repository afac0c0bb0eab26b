#pragma once
// The integration's health in one word and one reason, worked out the same
// way for the window, the service and a monitoring agent that asks the service
// (--status) from outside.
#include <string>

namespace ligamor {

enum class HealthState {
    Normal,    // polling, nothing waiting for long, the last activation and cycle went well
    Atrasada,  // a file waits much longer than the interval, lines are set aside, or no cycle ended for long
    Falha,     // the last activation or cycle failed; the reason says why
    Parada,    // polling off: TEMPO_COMUNICACAO is 0 or below, or switched off in the window
};

// Who switched polling off while the interval would run it; the reason of
// "parada" says so, so that a technician is not sent to the settings file.
enum class PollingOff {
    None,           // not switched off: polling follows the interval
    Desativar,      // the menu's "&Desativar"
    Configuracoes,  // "&Configurações": stopped for the dialog, until "&Ativar" or a new start
};

// Which front end holds the send directory and integrates it.
enum class HolderKind {
    Unknown,  // a status file of a version that did not say
    Servico,  // the daemon
    Janela,   // a window
    Unica,    // a run with --once
};

// What the running integration knows of itself, kept by activation and the
// cycle and written to the status file. Texts in UTF-8.
struct HealthFacts {
    bool polling = false;
    long long intervalMs = 0;
    long long activatedNs = 0;     // when polling started, nanoseconds since 1970
    long long lastCycleEndNs = 0;  // 0: no cycle ran to its end since
    std::string failure;           // empty when the last activation or cycle went well
    long long setAsideLines = 0;   // lines in the folder of refused lines
    std::string oldestSetAside;    // "CLIENTE.TXT: Linha 3 de ..." of the oldest of them
    PollingOff switchedOff = PollingOff::None;
    // For the metrics; kept across activations while the program runs.
    long long lastFailureNs = 0;  // when an activation or a cycle last failed; 0: never
    long long linesApplied = 0;   // lines in the log blocks written since the program started
    // When the run with --once that noted these facts ended; 0 until it
    // ends, and always for the daemon and the window. Its status file
    // outlives it: between two scheduled runs, the age of the last one tells
    // whether the schedule still runs it.
    long long onceEndedNs = 0;
    // Who holds the send directory, and since when: a window beside it shows
    // whose integration it watches.
    HolderKind holder = HolderKind::Unknown;
    std::string holderUser{};
    std::string holderComputer{};
    long long holderPid = 0;
    long long holderSinceNs = 0;
    // Who switched reading off with "&Desativar" ("maria em CAIXA2"); empty:
    // nobody said, or reading is on.
    std::string pausedBy{};
    // The file the running cycle reads and how far it got, as of progressNs;
    // no file between cycles.
    std::string progressFile{};
    long long progressDone = 0;
    long long progressTotal = 0;
    long long progressNs = 0;
    bool operator==(const HealthFacts&) const = default;
};

// The input file that waits longest in the send directory.
struct WaitingFile {
    std::string path;  // empty: none waits
    long long sinceNs = 0;  // its last change
};

struct Health {
    HealthState state = HealthState::Normal;
    std::string reason;  // one line, UTF-8
    HealthFacts facts;
    WaitingFile oldest;
    long long nowNs = 0;
};

// A shop's cashier waits for a pre-sale: late after five intervals, but
// never before two minutes, so that a short interval and a large file do not
// raise a false alarm.
long long LateAfterMs(long long intervalMs);

Health WorkOutHealth(const HealthFacts& facts, const WaitingFile& oldest, long long nowNs);

// The exit statuses of --status, as monitoring agents (Nagios, Icinga,
// NSClient++) read them: OK, WARNING, CRITICAL; UNKNOWN only when the state
// cannot be told at all.
inline constexpr int kStatusNormal = 0;
inline constexpr int kStatusLate = 1;
inline constexpr int kStatusCritical = 2;  // failing, stopped, or no integration running
inline constexpr int kStatusUnknown = 3;   // settings unreadable, wrong arguments

// 0 normal, 1 late, 2 failing or stopped.
int HealthExitCode(HealthState state);
// "normal", "atrasada", "com falha", "parada".
const char* HealthWord(HealthState state);
// "Integração atrasada: ..." in one line, UTF-8.
std::string HealthLine(const Health& health);
// The whole status as one JSON object, for scripts. Valid JSON whatever bytes
// a failure's text or a path holds.
std::string HealthJson(const Health& health);
// A status without a health (no integration runs, or none can be told):
// {"estado": state, "codigo": code, "linha": line}.
std::string StatusWithoutHealthJson(const char* state, int code, const std::string& line);
// Any text as one line of valid UTF-8: line ends and other control
// characters as blanks.
std::string OneUtf8Line(const std::string& text);

// How long ago, as the reasons say it: "45 s", "12 min", "3 h 5 min".
std::string AgeText(long long ns);

// An interval as a person reads it: "0,5 s", "5 s", "1 min", "1 min 30 s".
std::string IntervalText(long long ms);

// The status file's text and back (status_file.cpp). A text that is cut or
// damaged raises RecordFileFailure (record_file.h) naming path.
std::string HealthFactsText(const HealthFacts& facts);
HealthFacts ParseHealthFacts(const std::string& text, const std::string& path = "EstadoLigamor.txt");

}  // namespace ligamor
