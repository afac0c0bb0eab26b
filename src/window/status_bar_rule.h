#pragma once
// How the status bar shares its width, whichever toolkit draws it: the maker's
// banner at the left, the integration's health beside it and, while a cycle
// runs, the cycle's progress at the right end. A catalogue of tens of
// thousands of lines takes minutes, and its progress is all the shop sees of
// the cycle then: the progress text has its room first, the health is
// shortened before it, and the banner, which says nothing new, yields first.
// Widths in pixels, measured by the face in the fonts it draws with.

namespace ligamor {

// What each part needs to show its text whole, its margins included.
struct StatusBarNeeds {
    int width = 0;  // the status bar's, for all its parts together
    int banner = 0;
    int health = 0;
    // The widest text of the running file ("20.000 de 20.000"), so that the
    // parts do not move as the count grows; 0 between cycles.
    int progress = 0;
    // The banner says who integrates (a window watching another integration)
    // rather than the maker's name: news, that keeps a share of its own.
    bool bannerSaysWho = false;
};

struct StatusBarShare {
    int left = 0;
    int width = 0;        // 0: the part is not shown
    bool elided = false;  // narrower than its need: the face shortens its text
    bool operator==(const StatusBarShare&) const = default;
};

struct StatusBarShares {
    StatusBarShare banner;
    StatusBarShare health;
    StatusBarShare progress;
    bool operator==(const StatusBarShares&) const = default;
};

// The progress takes the room for its text, then the health for its own,
// then the bar grows towards kCycleBarWidth; the banner has whatever is left,
// or, when it says who integrates, first up to two fifths of the width.
StatusBarShares ShareStatusBar(const StatusBarNeeds& needs);

}  // namespace ligamor
