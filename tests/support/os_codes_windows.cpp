#include <windows.h>

#include "support/os_codes.h"

namespace ligamor::test {

const int kFileInTheWayCode = ERROR_ALREADY_EXISTS;

}  // namespace ligamor::test
