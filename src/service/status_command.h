#pragma once
// ligamor-service --status: asks, from outside, how the integration on the
// settings' send directory is doing, as a monitoring agent does.
#include <string>

namespace ligamor {

// Exit status when no integration runs on the send directory (its lock is
// free), or its health cannot be read.
inline constexpr int kStatusNoIntegration = 3;

// Prints one line (or, with json, the whole status) on the output and gives
// the health's exit status: 0 normal, 1 late, 2 failing or stopped, 3 none running.
int ShowStatus(const std::string& settingsFile, bool json);

}  // namespace ligamor
