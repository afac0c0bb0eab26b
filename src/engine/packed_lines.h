#pragma once
// The lines of a file applied in one transaction, their statements run
// together a block at a time.
#include <cstddef>

namespace ligamor {

inline constexpr std::size_t kLinesPerBlock = 100;

}  // namespace ligamor
