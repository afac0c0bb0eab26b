#include <windows.h>

#include "support/os_codes.h"

namespace ligamor::test {

const int kFileInTheWayCode = ERROR_ALREADY_EXISTS;
const IoFailureSeen kMissingFolder{ERROR_PATH_NOT_FOUND, "Invalid filename"};

}  // namespace ligamor::test
