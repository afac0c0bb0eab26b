#pragma once
// Who this process runs as, where: what the status file says of the
// integration that holds a send directory, and what a request to pause it
// says of who asked. Texts in UTF-8.
#include <string>

namespace ligamor {

struct ProcessIdentity {
    std::string user;      // the account's name; its number when it has none
    std::string computer;  // the host's name
    long long pid = 0;
};

ProcessIdentity ThisProcess();

}  // namespace ligamor
