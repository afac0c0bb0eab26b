#pragma once
// The health as metrics in Prometheus' text exposition format, for the
// textfile collectors of node_exporter and windows_exporter
// (ligamor-service --status --prometheus).
#include <string>

#include "engine/health.h"

namespace ligamor {

// Every metric of a running integration: its state as one gauge per state,
// times of the last good cycle and of the last failure, lines applied and
// set aside, the oldest waiting file's age, polling. statusCode is the exit
// status --status gives; running is false for the health that the last run
// with --once left behind.
std::string HealthMetrics(const Health& health, int statusCode, bool running = true);

// When no health can be read: no integration runs on the send directory
// (the state "nenhuma"), or the status cannot be told (statusCode
// kStatusUnknown, the state "desconhecido"). Only whether one runs, the state
// and the status code, so that an alert on them fires.
std::string NoHealthMetrics(bool running, int statusCode);

}  // namespace ligamor
