// The Windows file system as the core uses it: roots, the ANSI code page,
// share modes, the instance lock and the move that never replaces.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include "runtime/failures.h"
#include "runtime/file_move.h"
#include "runtime/instance_lock.h"
#include "runtime/paths.h"
#include "runtime/text_file.h"
#include "support/temp_dir.h"

namespace ligamor {
namespace {

// The names in a folder but "." and "..", sorted.
std::vector<std::string> NamesIn(const std::string& folder)
{
    std::vector<std::string> names;
    EXPECT_TRUE(ListDirectory(folder, names));
    names.erase(std::remove_if(names.begin(), names.end(),
                               [](const std::string& n) { return n == "." || n == ".."; }),
                names.end());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(WindowsPaths, RootsOfDriveLetterUncAndRelativePaths)
{
    const std::pair<const char*, std::size_t> rows[] = {
        {"C:\\ENVIO\\", 3}, {"c:", 2}, {"C:ENVIO\\", 2}, {"\\\\SERVIDOR\\PAF\\ENVIO\\", 15},
        {"\\\\SERVIDOR\\PAF", 14}, {"\\ENVIO\\", 1}, {"ENVIO\\", 0}, {"", 0},
    };
    for (const auto& [path, root] : rows) EXPECT_EQ(PathRootLength(path), root) << path;
    EXPECT_EQ(kPathSeparator, '\\');
    EXPECT_EQ(DirectoryOf("C:\\RESPOSTA\\CLIENTE_1.TXT"), "C:\\RESPOSTA\\");
    EXPECT_EQ(DirectoryOf("CLIENTE_1.TXT"), ".\\");

    // The settings file lives beside the executable.
    const std::string exe = ExecutableDirectory();
    ASSERT_GE(exe.size(), 3u);
    EXPECT_EQ(exe[1], ':');
    EXPECT_EQ(exe.back(), '\\');
    EXPECT_TRUE(DirectoryExists(exe));
}

TEST(WindowsPaths, ANonAsciiDirectoryInTheAnsiCodePageWorks)
{
    ASSERT_EQ(GetACP(), 1252u);
    test::TempDir temp;
    const std::string dir = temp / "Integra\xE7\xE3o\\";  // "Integração\" in Windows-1252
    ASSERT_EQ(MakeDirectory(dir), 0);
    EXPECT_TRUE(DirectoryExists(dir));
    AppendToFile(dir + "CLIENTE.TXT", "I#1\r\n");
    TextFileReader reader(dir + "CLIENTE.TXT");
    std::string line;
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "I#1");
    EXPECT_EQ(NamesIn(temp.Path()), std::vector<std::string>{"Integra\xE7\xE3o"});
    // The name reached Windows as the letters, not as their bytes.
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, temp.Path().c_str(), -1, wide, MAX_PATH);
    EXPECT_NE(GetFileAttributesW((std::wstring(wide) + L"Integra\u00E7\u00E3o").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(WindowsFiles, AFileHeldOpenForWritingIsLeftAloneAndAFileBeingReadCannotBeWritten)
{
    test::TempDir dir;
    const std::string path = dir / "CLIENTE.TXT";
    test::WriteBytes(path, "I#1\r\n");
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(HeldOpenForWriting(path));
    try {
        TextFileReader reader(path);
        FAIL() << "opened";
    } catch (const IoFailure& f) {
        EXPECT_EQ(f.Code(), ERROR_SHARING_VIOLATION);
    }
    CloseHandle(writer);
    EXPECT_FALSE(HeldOpenForWriting(path));
    TextFileReader reader(path);
    // While it reads, the point of sale cannot open the file for writing.
    EXPECT_EQ(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
}

// One integration per send directory, "Integração" among them: a second
// holder is refused until the first lets go; the holder itself keeps it under
// another spelling of the path.
TEST(WindowsFiles, TheInstanceLockRefusesASecondHolderUntilTheFirstLetsGo)
{
    test::TempDir temp;
    const std::string dir = temp / "Integra\xE7\xE3o\\";
    ASSERT_EQ(MakeDirectory(dir), 0);
    InstanceLock first, second;
    EXPECT_EQ(first.Acquire(dir + ".ligamor.lock"), InstanceLock::Outcome::Held);
    EXPECT_EQ(first.Acquire(dir + ".LIGAMOR.LOCK"), InstanceLock::Outcome::Held);
    EXPECT_EQ(second.Acquire(dir + ".ligamor.lock"), InstanceLock::Outcome::TakenByAnother);
    EXPECT_FALSE(second.Holds());
    first.Release();
    EXPECT_EQ(second.Acquire(dir + ".ligamor.lock"), InstanceLock::Outcome::Held);
    EXPECT_EQ(first.Acquire(dir + ".ligamor.lock"), InstanceLock::Outcome::TakenByAnother);
}

// Into the same folder and, when the test script gives one, into a folder on
// another volume (a copy then): never replacing, "_2" and "_3" for taken names,
// no temporary file left, the original gone.
TEST(WindowsMove, NeverReplacesOnTheSameOrAnotherVolume)
{
    test::TempDir dir;
    std::vector<std::string> targets = {dir.Path()};
    const char* other = std::getenv("LIGAMOR_OTHER_VOLUME");
    if (other && *other) targets.push_back(other);
    for (const std::string& folder : targets) {
        SCOPED_TRACE(folder);
        test::TempDir response(folder);
        const std::string target = response / "CLIENTE_01022027_090507.TXT";
        test::WriteBytes(target, "earlier");
        for (const char* contents : {"second", "third"}) {
            test::WriteBytes(dir / "CLIENTE.TXT", contents);
            const MoveResult moved = MoveFileNoReplace(dir / "CLIENTE.TXT", target);
            EXPECT_EQ(moved.osError, 0);
            EXPECT_EQ(test::ReadBytes(moved.movedTo), contents);
            EXPECT_FALSE(FileExists(dir / "CLIENTE.TXT"));
        }
        EXPECT_EQ(NamesIn(response.Path()),
                  (std::vector<std::string>{"CLIENTE_01022027_090507.TXT", "CLIENTE_01022027_090507_2.TXT",
                                            "CLIENTE_01022027_090507_3.TXT"}));
        EXPECT_EQ(test::ReadBytes(target), "earlier");
        EXPECT_EQ(test::ReadBytes(response / "CLIENTE_01022027_090507_3.TXT"), "third");

        // A response folder that does not exist: the file stays, the reason is told.
        test::WriteBytes(dir / "c", "kept");
        const MoveResult failed = MoveFileNoReplace(dir / "c", response / "gone\\B.TXT");
        EXPECT_EQ(failed.osError, ERROR_PATH_NOT_FOUND);
        EXPECT_EQ(OsErrorReason(failed.osError), "arquivo ou diret\xF3rio inexistente");
        EXPECT_EQ(test::ReadBytes(dir / "c"), "kept");
    }
}

}  // namespace
}  // namespace ligamor
