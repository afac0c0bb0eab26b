#pragma once
// isql-fb, the Linux program that makes and reads the test databases, run
// from a test program of either build (under Wine, a Linux process of its own).
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace ligamor::test {

struct IsqlResult {
    int status = 0;
    std::string output;  // standard output and error
};

// Runs isql-fb with the arguments; scratch is a folder for its output.
IsqlResult RunIsqlFb(const std::vector<std::string>& arguments, const TempDir& scratch);

// The path as isql-fb names the file (under Wine, the Unix path).
std::string IsqlPath(const std::string& path);

// Lets the loopback server, which runs as user firebird, open the database.
void OpenToServer(const std::string& path);

}  // namespace ligamor::test
