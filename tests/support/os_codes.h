#pragma once
// The operating system's error codes that tests of either build expect.

namespace ligamor::test {

// Making a folder where a file of that name is: EEXIST, ERROR_ALREADY_EXISTS.
extern const int kFileInTheWayCode;

// Opening a file in a folder that does not exist: ENOENT, "File not found" on
// Linux; ERROR_PATH_NOT_FOUND, "Invalid filename" on Windows.
struct IoFailureSeen {
    int code;
    const char* message;
};
extern const IoFailureSeen kMissingFolder;

}  // namespace ligamor::test
