#include "window/status_bar_rule.h"

#include <algorithm>

#include "window/window_appearance.h"

namespace ligamor {

StatusBarShares ShareStatusBar(const StatusBarNeeds& needs)
{
    int rest = std::max(needs.width, 0);
    const auto take = [&rest](int want) {
        const int got = std::clamp(want, 0, rest);
        rest -= got;
        return got;
    };
    int progress = take(needs.progress);
    // Cut to "A integr", who integrates would not be said at all.
    const int who = needs.bannerSaysWho ? take(std::min(needs.banner, std::max(needs.width, 0) * 2 / 5)) : 0;
    const int health = take(needs.health);
    // A bar only as wide as its text would hardly show how far it is.
    if (needs.progress > 0) progress += take(kCycleBarWidth - progress);
    const int banner = who + rest;
    return {{0, banner, banner < needs.banner},
            {banner, health, health < needs.health},
            {banner + health, progress, progress < needs.progress}};
}

}  // namespace ligamor
