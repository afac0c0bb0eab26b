#include "window/window_appearance.h"

namespace ligamor {

namespace {

std::string GroupThousands(std::size_t n)
{
    const std::string digits = std::to_string(n);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += '.';
        grouped += digits[i];
    }
    return grouped;
}

}  // namespace

std::string MakerBanner()
{
    return std::string("VELDOR SISTEMAS ") + kMakerPhone + " - Ligamor PAF-ECF";
}

std::optional<HealthColours> HealthColoursOf(HealthState state)
{
    if (state == HealthState::Falha) return HealthColours{0xc62828, 0xffffff, true};
    if (state == HealthState::Atrasada) return HealthColours{0xf9a825, 0x000000, false};
    return std::nullopt;
}

std::string ProgressText(const std::string& fileName, std::size_t done, std::size_t total)
{
    return fileName + ": " + GroupThousands(done) + " de " + GroupThousands(total) + " linhas";
}

}  // namespace ligamor
