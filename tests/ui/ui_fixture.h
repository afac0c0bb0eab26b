#pragma once
// A window's world on a fresh embedded shop database in a temporary folder:
// the settings file, the working directories and the log live in that folder.
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>

#include "config/settings.h"
#include "db/dtmmain.h"
#include "transactions/record_context.h"
#include "engine/record_processors.h"
#include "engine/untfuncoes.h"
#include "qt_test_app.h"
#include "db/firebird/fb_client.h"
#include "support/recording_seams.h"
#include "support/temp_dir.h"
#include "support/test_database.h"
#include "ui/qt_timer.h"

namespace ligamor::test {

// Records the boxes and, for each, whether the window was on screen then.
class WatchingMessages : public RecordingMessages {
public:
    void InformationBox(const std::string& text) override
    {
        Note();
        RecordingMessages::InformationBox(text);
    }
    void ErrorBox(const std::string& text) override
    {
        Note();
        RecordingMessages::ErrorBox(text);
    }
    void PlainMessage(const std::string& text) override
    {
        Note();
        RecordingMessages::PlainMessage(text);
    }
    void ErrorReport(const std::string& text) override
    {
        Note();
        RecordingMessages::ErrorReport(text);
    }
    QWidget* watched = nullptr;
    std::vector<bool> windowOnScreen;

private:
    void Note()
    {
        QWindow* handle = watched ? watched->windowHandle() : nullptr;
        windowOnScreen.push_back(handle && handle->isVisible());
    }
};

class UiTest : public ::testing::Test {
protected:
    void WriteSettings(const std::string& interval = "600000")
    {
        SaveSettings(settingsPath, {.Server = "LOCAL",
                                    .DatabasePath = database,
                                    .UserName = "SYSDBA",
                                    .Password = "masterkey",
                                    .SendDirectory = dir / "ENVIO/",
                                    .ResponseDirectory = dir / "RESPOSTA/",
                                    .LogDirectory = dir / "LOG/",
                                    .IntervalText = interval});
    }

    // The attachment conmain is on now; a new connection gets a new one.
    long long ConnectionId()
    {
        return OpenQuery(dtmain, "SELECT CURRENT_CONNECTION FROM RDB$DATABASE")->FirstAsInteger();
    }

    QApplication& app = TestApp();
    TempDir dir;
    std::string database = CreateShopDatabase(dir.Path());
    std::string settingsPath = SettingsFilePath(dir.Path());
    WatchingMessages messages;
    QtTimer timer;
    FixedClock clock;
    FbClientLoader loader;
    DataModule dtmain{loader};
    SystemSettings settings;
    RecordContext records{dtmain, messages, clock, RegionalSettings{}};
    Integration integration{settings, dtmain,     messages,
                            timer,    clock,      RegionalSettings{},
                            SettingsFilePath(dir.Path()), StandardInputFileTable(records)};
};

}  // namespace ligamor::test
