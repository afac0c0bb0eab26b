#include <sys/stat.h>

#include <cstdio>
#include <stdexcept>

#include "support/isql_process.h"

namespace ligamor::test {

namespace {

std::string ShellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') quoted += "'\\''";
        else quoted += c;
    }
    return quoted + "'";
}

}  // namespace

IsqlResult RunIsqlFb(const std::vector<std::string>& arguments, const TempDir&)
{
    std::string command = "isql-fb";
    for (const std::string& argument : arguments) command += " " + ShellQuoted(argument);
    command += " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("isql-fb could not be started");
    IsqlResult result;
    char buffer[4096];
    std::size_t read;
    while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, read);
    result.status = pclose(pipe);
    return result;
}

std::string IsqlPath(const std::string& path)
{
    return path;
}

void OpenToServer(const std::string& path)
{
    if (chmod(path.c_str(), 0666) != 0) throw std::runtime_error("chmod failed on " + path);
}

}  // namespace ligamor::test
