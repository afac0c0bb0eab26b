#pragma once
// ligamor-service --status: asks, from outside, how the integration on the
// settings' send directory is doing, as a monitoring agent does; between two
// scheduled runs with --once, how the last one ended.
#include <string>

#include "engine/health.h"

namespace ligamor {

// Prints one line (or, with json, the whole status) on the output and gives
// the exit status that monitoring agents read (health.h): 0 normal, 1 late,
// 2 failing, stopped or none running, 3 when the state cannot be told. With
// prometheus, the metrics in Prometheus' text format instead (health_metrics.h).
int ShowStatus(const std::string& settingsFile, bool json, bool prometheus = false);

// The exit status and line (or JSON, or metrics) of a --status whose
// arguments are wrong.
int StatusUsageError(const std::string& utf8Reason, bool json, bool prometheus);

}  // namespace ligamor
