#pragma once
// An integration over a temporary folder, with processors that record the
// lines they are given and a view that keeps its text.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "engine/directories.h"
#include "engine/integration_log.h"
#include "engine/untfuncoes.h"
#include "text_view.h"
#include "db/firebird/fb_client.h"
#include "support/recording_seams.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

namespace ligamor::test {

class EngineTest : public ::testing::Test {
protected:
    EngineTest()
    {
        settings.SendDirectory = dir / "ENVIO/";
        settings.ResponseDirectory = dir / "RESPOSTA/";
        settings.LogDirectory = dir / "LOG/";
        settings.IntervalMs = 5000;
        ForceDirectoryPath(settings.SendDirectory);
        ForceDirectoryPath(settings.ResponseDirectory);
        ForceDirectoryPath(settings.LogDirectory);
        integration.quietTime = std::chrono::milliseconds(0);
    }

    // Each processor notes "<file letter>:<line>" and gives "<letter>|<line>".
    RecordProcessor Recorder(const std::string& letter)
    {
        return [this, letter](const std::string& line) {
            seen.push_back(letter + ":" + line);
            if (hook) hook(letter, line);
            return letter + "|" + line;
        };
    }

    std::string Send(const std::string& name) const { return settings.SendDirectory + name; }
    std::string Response(const std::string& name) const { return settings.ResponseDirectory + name; }
    std::string Log() const { return ReadBytes(IntegrationLogPath(settings.LogDirectory)); }


    TempDir dir;
    SystemSettings settings;
    RecordingMessages messages;
    FakeTimer timer;
    FixedClock clock;
    FbClientLoader loader;
    DataModule dtmain{loader};
    std::vector<std::string> seen;
    std::function<void(const std::string& letter, const std::string& line)> hook;
    Integration integration{settings,
                            dtmain,
                            messages,
                            timer,
                            clock,
                            RegionalSettings{},
                            SettingsFilePath(dir.Path()),
                            MakeInputFileTable({Recorder("C"), Recorder("P"), Recorder("V"), Recorder("I")})};
    TextView view{"before"};
};

// An engine test whose suite shares one shop database, made once.
class ShopDatabaseTest : public EngineTest {
protected:
    static void SetUpTestSuite()
    {
        folder = new TempDir;
        database = CreateShopDatabase(folder->Path());
    }
    static void TearDownTestSuite()
    {
        delete folder;
        folder = nullptr;
    }
    static inline TempDir* folder = nullptr;
    static inline std::string database;
};

}  // namespace ligamor::test

namespace ligamor {
using test::ListDir;  // the engine's tests stand in namespace ligamor
}  // namespace ligamor
