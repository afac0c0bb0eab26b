#include <cerrno>

#include "support/os_codes.h"

namespace ligamor::test {

const int kFileInTheWayCode = EEXIST;
const IoFailureSeen kMissingFolder{ENOENT, "File not found"};

}  // namespace ligamor::test
