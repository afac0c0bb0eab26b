#pragma once
// What the window shows alike whichever toolkit draws it: its caption, the
// maker's banner, its size, the health's colours beside the banner and the
// cycle's progress text. Texts in UTF-8 unless said otherwise.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/health.h"

namespace ligamor {

inline constexpr const char* kWindowCaption = "Ligamor Versão: 31/05/2012 10:42 Novo Layout";

// The maker's telephone number in the banner; a deployment value.
inline constexpr const char* kMakerPhone = "(51) 0000-0000";
// "VELDOR SISTEMAS (51) 0000-0000 - Ligamor PAF-ECF"
std::string MakerBanner();

// The client area in pixels, which keeps its size: the log view above the
// status bar.
inline constexpr int kWindowWidth = 581;
inline constexpr int kWindowHeight = 541;
inline constexpr int kStatusBarHeight = 19;
inline constexpr int kLogViewHeight = kWindowHeight - kStatusBarHeight;
// The cycle's bar at the right end of the status bar, shown while a cycle
// runs: this wide where the status bar has room (status_bar_rule.h).
inline constexpr int kCycleBarWidth = 260;
inline constexpr int kCycleBarHeight = 15;

// The health's colours, each 0xRRGGBB. A failure is white on red and bold,
// so that it is seen from across the room; a delay black on amber.
struct HealthColours {
    std::uint32_t background;
    std::uint32_t text;
    bool bold;
};
// Nothing: the window's own colours (normal, parada).
std::optional<HealthColours> HealthColoursOf(HealthState state);

// "PRODUTO.TXT: 4.500 de 20.000 linhas" in Windows-1252, the file name's
// bytes as they are; the point groups thousands, as the shop reads numbers.
std::string ProgressText(const std::string& fileName, std::size_t done, std::size_t total);

}  // namespace ligamor
