#pragma once
// One shop of a test's own, run through whole cycles, and what it shows
// afterwards: rows, log, folders and boxes, to set one way of running against
// another.
#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/integration_log.h"
#include "engine/integration_parts.h"
#include "engine/refused_files.h"
#include "engine/untfuncoes.h"
#include "support/recording_seams.h"
#include "support/shop_folders.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

namespace ligamor::test {

inline const char* kTables[] = {"CLIENTE", "UNIDADE", "DETALHE", "PEDIDOCOMPRACLIENTE", "ITPEDIDOCOMPRACLIENTE"};

// Input files by name and bytes, in the order they are written.
using Files = std::vector<std::pair<std::string, std::string>>;

// What a shop sees after the cycles: the rows, the log, the folders, the boxes.
struct Outcome {
    std::string rows;
    std::string log;
    std::set<std::string> sent;
    std::set<std::string> moved;
    std::map<std::string, std::string> movedBytes;  // the moved files by name
    std::string refused;                            // RECUSADAS/: each name, ":", its bytes
    std::vector<Shown> boxes;
};

// One shop of its own: database, folders and the integration as the programs
// build it.
struct Shop {
    // model: a database to start from, copied (a fresh shop database with
    // its codes when empty).
    Shop(TransactionMode mode, RefusedLinesMode refused, std::size_t linesPerBlock, const std::string& model = "")
    {
        if (model.empty()) {
            database = CreateShopDatabase(work.Path(), "LOJA.FDB");
            RunIsql(database, kShopCodes);
        } else {
            database = work / "LOJA.FDB";
            std::filesystem::copy_file(model, database);
        }
        ConnectDatabase(parts.dtmain, database, "SYSDBA", "masterkey");
        UseShopFolders(settings, work / "");
        settings.Transaction = mode;
        settings.RefusedLines = refused;
        parts.integration.quietTime = std::chrono::milliseconds(0);
        parts.integration.linesPerBlock = linesPerBlock;
        for (const char* table : kTables) queries.push_back(std::string("select * from ") + table + " order by 1, 2;");
    }

    // Each file in a cycle of its own, in the order given; a refused line
    // stops its cycle, as it does for the shop.
    Outcome Run(const Files& files)
    {
        for (const auto& file : files) Cycle({file});
        return Collect();
    }

    // The files written together, then one cycle (none: a cycle that only
    // tries the set-aside lines again).
    void Cycle(const Files& files)
    {
        for (const auto& [name, bytes] : files) WriteBytes(settings.SendDirectory + name, bytes);
        ++clock.now.second;
        try {
            RunIntegrationCycle(parts.integration, view);
        } catch (...) {
            // The boxes say what a user saw.
        }
    }

    // What the shop holds now; the integration's connection is closed.
    Outcome Collect()
    {
        Outcome out;
        parts.dtmain.conmain.Disconnect();
        std::string script;
        for (const std::string& query : queries) script += query + "\n";
        out.rows = RunIsql(database, script);
        const std::string log = IntegrationLogPath(settings.LogDirectory);
        if (std::filesystem::exists(log)) out.log = ReadBytes(log);
        out.sent = ListDir(settings.SendDirectory);
        out.sent.erase(kSendDirectoryLockName);
        out.moved = ListDir(settings.ResponseDirectory);
        for (const std::string& name : out.moved) out.movedBytes[name] = ReadBytes(settings.ResponseDirectory + name);
        out.refused = RefusedFiles();
        out.boxes = messages.shown;
        return out;
    }

    // RECUSADAS/: each name, ":", its bytes.
    std::string RefusedFiles() const
    {
        std::string out;
        const std::string folder = RefusedFolder(settings.ResponseDirectory);
        if (std::filesystem::exists(folder))
            for (const std::string& name : ListDir(folder)) out += name + ":" + ReadBytes(folder + name);
        return out;
    }

    TempDir work;
    std::string database;
    std::vector<std::string> queries;  // read back by Collect, in this order
    RecordingMessages messages;
    FakeTimer timer;
    FixedClock clock;
    IntegrationParts parts{{.messages = messages, .timer = timer, .clock = clock, .regional = RegionalSettings{}}};
    SystemSettings& settings = parts.settings;
    NoLogView view;
};

}  // namespace ligamor::test
