#pragma once
// The operating system's error codes that tests of either build expect.

namespace ligamor::test {

// Making a folder where a file of that name is: EEXIST, ERROR_ALREADY_EXISTS.
extern const int kFileInTheWayCode;

}  // namespace ligamor::test
