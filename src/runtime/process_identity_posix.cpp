#include <pwd.h>
#include <unistd.h>

#include <climits>
#include <vector>

#include "runtime/process_identity.h"

namespace ligamor {

ProcessIdentity ThisProcess()
{
    ProcessIdentity me;
    me.pid = static_cast<long long>(getpid());
    const uid_t uid = geteuid();
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name)
        me.user = found->pw_name;
    else
        me.user = std::to_string(uid);
    char host[HOST_NAME_MAX + 1] = {};
    if (gethostname(host, sizeof host - 1) == 0) me.computer = host;
    return me;
}

}  // namespace ligamor
