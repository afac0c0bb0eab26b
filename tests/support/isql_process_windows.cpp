// Under Wine a Windows program can start a Linux one through ntdll's
// __wine_unix_spawnvp, which waits for it and returns its exit status
// (CreateProcess starts one too, but gives no handle to wait on). The test
// programs run only under Wine, where these Wine entry points exist.
#include <windows.h>

#include <map>
#include <mutex>
#include <stdexcept>

#include "support/isql_process.h"

namespace ligamor::test {

namespace {

template <typename F>
F WineEntry(const wchar_t* module, const char* name)
{
    auto entry = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(module), name)));
    if (!entry) throw std::runtime_error(std::string(name) + " is missing: the Windows tests run under Wine");
    return entry;
}

int SpawnAndWait(std::vector<std::string> arguments)
{
    using Spawn = LONG(WINAPI*)(char* const*, int);
    static const Spawn spawn = WineEntry<Spawn>(L"ntdll.dll", "__wine_unix_spawnvp");
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    return static_cast<int>(spawn(argv.data(), TRUE));
}

// Wine's own name for the file: under a drive's link (".../dosdevices/c:/...").
std::string WineUnixName(const std::string& path)
{
    using UnixName = char*(CDECL*)(const wchar_t*);
    static const UnixName unixName = WineEntry<UnixName>(L"kernel32.dll", "wine_get_unix_file_name");
    // The path is in the ANSI code page; Wine's answer is UTF-8 on the heap.
    std::wstring wide(path.size() + 1, L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    if (length <= 0) throw std::runtime_error("not a path in the ANSI code page: " + path);
    char* mapped = unixName(wide.c_str());
    if (!mapped) throw std::runtime_error("no Unix path for " + path);
    std::string result = mapped;
    HeapFree(GetProcessHeap(), 0, mapped);
    return result;
}

// The real folder behind a drive's link, asked once per drive.
std::string RealDrive(const std::string& link)
{
    static std::mutex lock;
    static std::map<std::string, std::string> known;
    const std::lock_guard<std::mutex> guard(lock);
    auto found = known.find(link);
    if (found != known.end()) return found->second;
    TempDir scratch;
    const std::string answer = scratch / "drive.txt";
    if (SpawnAndWait({"/bin/sh", "-c", "realpath -- \"$1\" >\"$2\"", "sh", link, WineUnixName(answer)}) != 0)
        throw std::runtime_error("realpath failed on " + link);
    std::string real = ReadBytes(answer);
    while (!real.empty() && real.back() == '\n') real.pop_back();
    return known[link] = real;
}

}  // namespace

IsqlResult RunIsqlFb(const std::vector<std::string>& arguments, const TempDir& scratch)
{
    // The shell writes isql's output to a file, which this side then reads.
    std::vector<std::string> command{"/bin/sh", "-c", "out=$1; shift; exec isql-fb \"$@\" >\"$out\" 2>&1", "sh",
                                     IsqlPath(scratch / "isql.out")};
    command.insert(command.end(), arguments.begin(), arguments.end());
    IsqlResult result;
    result.status = SpawnAndWait(command);
    result.output = ReadBytes(scratch / "isql.out");
    return result;
}

// Firebird on Linux reads "c:" in ".../dosdevices/c:/..." as a host name:
// the drive's link is replaced by the folder it stands for.
std::string IsqlPath(const std::string& path)
{
    std::string name = WineUnixName(path);
    static const std::string devices = "/dosdevices/";
    const std::size_t at = name.find(devices);
    const std::size_t end = at + devices.size() + 2;
    if (at != std::string::npos && name.size() >= end && name[end - 1] == ':')
        name = RealDrive(name.substr(0, end)) + name.substr(end);
    return name;
}

void OpenToServer(const std::string& path)
{
    if (SpawnAndWait({"/bin/chmod", "0666", IsqlPath(path)}) != 0)
        throw std::runtime_error("chmod failed on " + path);
}

}  // namespace ligamor::test
