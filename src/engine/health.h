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
    Parada,    // polling off: TEMPO_COMUNICACAO is 0 or below
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

// The exit status that monitoring agents read: 0 normal, 1 late, 2 failing or stopped.
int HealthExitCode(HealthState state);
// "normal", "atrasada", "com falha", "parada".
const char* HealthWord(HealthState state);
// "Integração atrasada: ..." in one line, UTF-8.
std::string HealthLine(const Health& health);
// The whole status as one JSON object, for scripts.
std::string HealthJson(const Health& health);

// The status file's text and back; unknown or damaged lines are skipped.
std::string HealthFactsText(const HealthFacts& facts);
HealthFacts ParseHealthFacts(const std::string& text);

}  // namespace ligamor
