#include "engine/health_metrics.h"

#include <algorithm>

#include "runtime/clock.h"

namespace ligamor {

namespace {

constexpr long long kNsPerS = 1'000'000'000;

// Besides the health's four, the words --json gives when there is none: no
// integration runs, or its state cannot be told.
constexpr const char* kNoState = "nenhuma";
constexpr const char* kUnknownState = "desconhecido";
constexpr HealthState kStates[] = {HealthState::Normal, HealthState::Atrasada, HealthState::Falha,
                                   HealthState::Parada};

std::string Metric(const std::string& name, const char* type, const char* help, const std::string& samples)
{
    return "# HELP " + name + " " + help + "\n# TYPE " + name + " " + type + "\n" + samples;
}

std::string Sample(const std::string& name, long long value)
{
    return name + " " + std::to_string(value) + "\n";
}

// Milliseconds as seconds, with no more digits than they have: "5", "0.2".
std::string Seconds(long long ms)
{
    std::string text = std::to_string(ms / 1000);
    if (ms % 1000 == 0) return text;
    std::string fraction = std::to_string(1000 + ms % 1000).substr(1);
    while (fraction.back() == '0') fraction.pop_back();
    return text + "." + fraction;
}

// One sample per state, 1 for the one the integration is in.
std::string States(const char* current)
{
    std::string samples;
    for (const HealthState state : kStates) {
        const std::string word = HealthWord(state);
        samples += "ligamor_state{state=\"" + word + "\"} " + (word == current ? "1" : "0") + "\n";
    }
    for (const std::string word : {kNoState, kUnknownState})
        samples += "ligamor_state{state=\"" + word + "\"} " + (word == current ? "1" : "0") + "\n";
    return Metric("ligamor_state", "gauge",
                  "1 for the state the integration is in (normal, atrasada, com falha, parada; nenhuma: "
                  "none runs; desconhecido: it cannot be told), 0 for the others.",
                  samples);
}

std::string Common(bool running, const char* state, int statusCode)
{
    return Metric("ligamor_running", "gauge", "1 while an integration runs on the send directory.",
                  Sample("ligamor_running", running ? 1 : 0)) +
           States(state) +
           Metric("ligamor_status_code", "gauge",
                  "The exit status of --status: 0 normal, 1 late, 2 failing, stopped or not running, 3 unknown.",
                  Sample("ligamor_status_code", statusCode));
}

}  // namespace

std::string HealthMetrics(const Health& h, int statusCode, bool running)
{
    const HealthFacts& f = h.facts;
    // Saturated, as the line and the JSON are: a file may be dated anywhere.
    const long long waitedNs = h.oldest.path.empty() ? 0 : std::max(ElapsedNs(h.oldest.sinceNs, h.nowNs), 0LL);
    return Common(running, HealthWord(h.state), statusCode) +
           Metric("ligamor_polling", "gauge", "1 while the files are read at every interval, 0 when polling is off.",
                  Sample("ligamor_polling", f.polling ? 1 : 0)) +
           Metric("ligamor_polling_interval_seconds", "gauge", "The polling interval (TEMPO_COMUNICACAO).",
                  "ligamor_polling_interval_seconds " + Seconds(std::max(f.intervalMs, 0LL)) + "\n") +
           Metric("ligamor_activated_timestamp_seconds", "gauge", "When the integration last started polling.",
                  Sample("ligamor_activated_timestamp_seconds", f.activatedNs / kNsPerS)) +
           Metric("ligamor_last_success_timestamp_seconds", "gauge",
                  "When the last cycle ended well since activation; 0: none yet.",
                  Sample("ligamor_last_success_timestamp_seconds", f.lastCycleEndNs / kNsPerS)) +
           Metric("ligamor_last_failure_timestamp_seconds", "gauge",
                  "When an activation or a cycle last failed since the program started; 0: never.",
                  Sample("ligamor_last_failure_timestamp_seconds", f.lastFailureNs / kNsPerS)) +
           Metric("ligamor_lines_applied_total", "counter",
                  "Lines applied to the database and written to the log since the program started.",
                  Sample("ligamor_lines_applied_total", f.linesApplied)) +
           Metric("ligamor_lines_set_aside", "gauge", "Lines waiting in the folder of refused lines (RECUSADAS).",
                  Sample("ligamor_lines_set_aside", f.setAsideLines)) +
           Metric("ligamor_oldest_waiting_file_age_seconds", "gauge",
                  "How long the oldest input file has waited in the send directory; 0: none waits.",
                  Sample("ligamor_oldest_waiting_file_age_seconds", waitedNs / kNsPerS)) +
           Metric("ligamor_once_ended_timestamp_seconds", "gauge",
                  "When the last run with --once ended, its status left behind it; 0: the status of a daemon "
                  "or a window.",
                  Sample("ligamor_once_ended_timestamp_seconds", f.onceEndedNs / kNsPerS)) +
           Metric("ligamor_status_timestamp_seconds", "gauge", "When this status was taken.",
                  Sample("ligamor_status_timestamp_seconds", h.nowNs / kNsPerS));
}

std::string NoHealthMetrics(bool running, int statusCode)
{
    return Common(running, statusCode == kStatusUnknown ? kUnknownState : kNoState, statusCode);
}

}  // namespace ligamor
