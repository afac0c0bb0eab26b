#include <cerrno>

#include "support/os_codes.h"

namespace ligamor::test {

const int kFileInTheWayCode = EEXIST;

}  // namespace ligamor::test
