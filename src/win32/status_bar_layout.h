#pragma once
// The status bar's parts, left to right: the maker's banner, the health
// (HealthPanel) and, while a cycle runs, the cycle's bar (CycleProgressBar).
// Both children are found by their ids and laid over their parts.
#include <windows.h>

namespace ligamor {

inline constexpr int kHealthPanelId = 11;
inline constexpr int kCycleBarId = 12;

// The parts and the children's places, with or without the cycle's bar.
void LayOutStatusBar(HWND statusBar, bool cycleBarShown);

}  // namespace ligamor
