#pragma once
// The status bar's parts, left to right: the maker's banner, the health
// (HealthPanel) and, while a cycle runs, the cycle's bar (CycleProgressBar),
// shared between them as the status-bar rule says (window/status_bar_rule.h).
// Both children are found by their ids and asked what width their text needs.
#include <windows.h>

#include <string>

namespace ligamor {

inline constexpr int kHealthPanelId = 11;
inline constexpr int kCycleBarId = 12;
// Answered by both children: the width their whole text needs, their own
// margins included; 0 for none.
inline constexpr UINT kNeededWidthMessage = WM_USER + 1;

// The width of text in font, as drawn in window.
int TextWidth(HWND window, HFONT font, const std::wstring& text);

// The parts and the children's places, again after a child's text changed
// or the cycle's bar was shown or hidden.
void LayOutStatusBar(HWND statusBar);

}  // namespace ligamor
