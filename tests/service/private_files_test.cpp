// The integration log, the status file and the refused lines hold customers'
// personal data: each front end creates them readable by their owner and the
// folder's group alone, whatever umask it inherited; a log that exists keeps
// the mode its owner gave it.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "config/settings.h"
#include "engine/integration_health.h"
#include "engine/integration_log.h"
#include "engine/refused_files.h"
#include "runtime/text1252.h"
#include "service/service_process.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

namespace ligamor::test {
namespace {

unsigned ModeOf(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// The umask of a careless start: every bit a program asks for is given.
class OpenUmask {
public:
    OpenUmask() : old_(::umask(0)) {}
    ~OpenUmask() { ::umask(old_); }

private:
    mode_t old_;
};

struct Face {
    const char* name;
    std::string program;  // empty: not built
    std::vector<std::string> extraArgs;
};

std::vector<Face> Faces()
{
    std::vector<Face> faces = {{"service", LIGAMOR_SERVICE_EXE, {}}, {"--once", LIGAMOR_SERVICE_EXE, {"--once"}}};
#ifdef LIGAMOR_WINDOW_EXE
    faces.push_back({"window", LIGAMOR_WINDOW_EXE, {}});
#endif
    return faces;
}

class PrivateFiles : public ::testing::Test {
protected:
    static std::vector<std::string> RefusedFiles(const TempDir& dir)
    {
        std::vector<std::string> paths;
        const std::string folder = RefusedFolder(dir / "RESPOSTA/");
        if (std::filesystem::is_directory(folder))
            for (const auto& entry : std::filesystem::directory_iterator(folder)) paths.push_back(entry.path());
        return paths;
    }

    void Prepare(const TempDir& dir)
    {
        static const std::string script = ReadBytes(LIGAMOR_SCHEMA_SQL) + ReadBytes(LIGAMOR_DEMO_SQL);
        const std::string database = CreateDatabase(dir.Path(), "LOJA.FDB", 3, script);
        SystemSettings settings = ShopSettings(dir.Path(), database);
        settings.OtherLines.push_back("RECUSADAS=SEPARAR");
        SaveSettings(dir / "ConfigLigamor.csi", settings);
        std::filesystem::create_directories(dir / "ENVIO");
        // One line goes in, one is set aside: all three files are made.
        WriteBytes(dir / "ENVIO/PRODUTO.TXT",
                   "I#1#PRODUTO 1#T1#10#UN#8,20#12,90\r\nI#2#PRODUTO 2#T1#X#UN#8,20#12,90\r\n");
    }

    // Runs the face until the log, the status file and the refused line are there.
    static void Run(const Face& face, const TempDir& dir)
    {
        std::vector<std::string> args = {"--config", dir / "ConfigLigamor.csi"};
        args.insert(args.end(), face.extraArgs.begin(), face.extraArgs.end());
        const OpenUmask careless;
        ServiceProcess program(args, dir / "stderr", {.program = face.program});
        const std::string status = StatusFilePath(dir / "LOG/");
        // The refused line and its reason.
        const auto refused = [&dir] { return RefusedFiles(dir).size() == 2; };
        for (int i = 0; i < 3000 && !(std::filesystem::exists(status) && refused()); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_TRUE(refused()) << program.Err();
        if (program.Running()) program.Signal(SIGTERM);
        program.Wait();
    }
};

TEST_F(PrivateFiles, EachFaceCreatesThemForItsOwnerAndTheFolderGroupAlone)
{
    for (const Face& face : Faces()) {
        SCOPED_TRACE(face.name);
        TempDir dir;
        Prepare(dir);
        Run(face, dir);
        EXPECT_EQ(ModeOf(IntegrationLogPath(dir / "LOG/")), 0660u);
        EXPECT_EQ(ModeOf(StatusFilePath(dir / "LOG/")), 0660u);
        for (const std::string& refused : RefusedFiles(dir)) EXPECT_EQ(ModeOf(refused), 0660u) << refused;
    }
}

TEST_F(PrivateFiles, AnExistingLogKeepsItsMode)
{
    TempDir dir;
    Prepare(dir);
    std::filesystem::create_directories(dir / "LOG");
    const std::string log = IntegrationLogPath(dir / "LOG/");
    WriteBytes(log, "");
    ASSERT_EQ(::chmod(log.c_str(), 0604), 0);
    Run(Faces().front(), dir);
    EXPECT_NE(ReadBytes(log), "");
    EXPECT_EQ(ModeOf(log), 0604u);
}

}  // namespace
}  // namespace ligamor::test
