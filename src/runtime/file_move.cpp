#include "runtime/file_move.h"

namespace ligamor {

std::string SuffixedName(const std::string& to, int n)
{
    const std::size_t slash = to.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::size_t dot = to.rfind('.');
    if (dot == std::string::npos || dot <= nameStart) dot = to.size();
    return to.substr(0, dot) + "_" + std::to_string(n) + to.substr(dot);
}

}  // namespace ligamor
