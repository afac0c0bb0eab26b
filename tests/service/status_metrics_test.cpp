// ligamor-service --status --prometheus as a textfile collector reads it:
// parsed back line by line after real cycles.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <sstream>

#include "config/settings.h"
#include "service/service_process.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

namespace ligamor::test {
namespace {

struct Exposition {
    std::map<std::string, std::string> types;  // name: gauge, counter
    std::map<std::string, std::string> helps;
    std::map<std::string, double> samples;  // name with its labels: value
    std::vector<std::string> faults;
};

// The text format's rules that a collector enforces: every sample after its
// own HELP and TYPE, names of the project's own, nothing else on a line.
Exposition Parse(const std::string& text)
{
    Exposition e;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string first, name;
        words >> first;
        if (first.empty()) e.faults.push_back(line);
        if (first == "#") {
            std::string kind, rest;
            words >> kind >> name;
            std::getline(words, rest);
            if (kind == "HELP") e.helps[name] = rest;
            else if (kind == "TYPE") e.types[name] = rest.substr(1);
            else e.faults.push_back(line);
            continue;
        }
        // A label's value may hold spaces: the value follows the last one.
        const std::size_t space = line.rfind(' ');
        const std::string series = line.substr(0, space);
        name = series.substr(0, series.find('{'));
        if (name.rfind("ligamor_", 0) != 0 || !e.types.count(name) || !e.helps.count(name)) e.faults.push_back(line);
        std::size_t end = 0;
        const std::string value = line.substr(space + 1);
        e.samples[series] = std::stod(value, &end);
        if (end != value.size()) e.faults.push_back(line);
    }
    return e;
}

int StatusMetrics(const std::string& settingsFile, Exposition& metrics)
{
    std::string out;
    const int status = RunStatus({"--prometheus", "--config", settingsFile}, out);
    metrics = Parse(out);
    EXPECT_EQ(metrics.faults, std::vector<std::string>{}) << out;
    return status;
}

SystemSettings Settings(const TempDir& dir, const std::string& database)
{
    SystemSettings settings = ShopSettings(dir.Path(), database);
    settings.OtherLines.push_back("RECUSADAS=SEPARAR");
    return settings;
}

TEST(StatusMetrics, NamesTypesAndValuesAfterRealCycles)
{
    TempDir dir;
    const std::string script = ReadBytes(LIGAMOR_SCHEMA_SQL) + ReadBytes(LIGAMOR_DEMO_SQL);
    SaveSettings(dir / "ConfigLigamor.csi", Settings(dir, CreateDatabase(dir.Path(), "LOJA.FDB", 3, script)));
    std::filesystem::create_directories(dir / "ENVIO");
    Exposition m;
    const int before = StatusMetrics(dir / "ConfigLigamor.csi", m);
    EXPECT_EQ(m.samples["ligamor_running"], 0);
    EXPECT_EQ(m.samples["ligamor_state{state=\"nenhuma\"}"], 1);
    EXPECT_EQ(m.samples["ligamor_status_code"], before);

    ServiceProcess service({"--config", dir / "ConfigLigamor.csi"}, dir / "stderr");
    // Two cycles: three lines in, one set aside.
    WriteBytes(dir / "PRODUTO.TXT", "I#1#UM#T1#10#UN#8,20#12,90\r\nI#2#DOIS#T1#X#UN#8,20#12,90\r\n");
    std::filesystem::rename(dir / "PRODUTO.TXT", dir / "ENVIO/PRODUTO.TXT");
    ASSERT_TRUE(service.WaitForText("PRODUTO.TXT (2 linhas).")) << service.Err();
    const std::string customer = "#MERCADO BOA VISTA LTDA#MERCADO BOA VISTA#RUA DAS FLORES 10#CP 12#CENTRO#PORTO "
                                 "ALEGRE#RS#90010000#5133334444#5199998888#1234567890#12345678000190#1500,00\r\n";
    WriteBytes(dir / "CLIENTE.TXT", "I#25" + customer + "I#27" + customer);
    std::filesystem::rename(dir / "CLIENTE.TXT", dir / "ENVIO/CLIENTE.TXT");
    ASSERT_TRUE(service.WaitForText("CLIENTE.TXT (2 linhas).")) << service.Err();
    const double now = static_cast<double>(std::time(nullptr));

    const int late = StatusMetrics(dir / "ConfigLigamor.csi", m);
    EXPECT_EQ(late, 1);  // a line set aside: late
    EXPECT_EQ(m.types["ligamor_lines_applied_total"], "counter");
    EXPECT_EQ(m.types["ligamor_state"], "gauge");
    EXPECT_EQ(m.samples["ligamor_status_code"], 1);
    EXPECT_EQ(m.samples["ligamor_running"], 1);
    EXPECT_EQ(m.samples["ligamor_state{state=\"atrasada\"}"], 1);
    EXPECT_EQ(m.samples["ligamor_state{state=\"normal\"}"], 0);
    EXPECT_EQ(m.samples["ligamor_state{state=\"com falha\"}"], 0);
    EXPECT_EQ(m.samples["ligamor_state{state=\"parada\"}"], 0);
    EXPECT_EQ(m.samples["ligamor_state{state=\"nenhuma\"}"], 0);
    EXPECT_EQ(m.samples["ligamor_lines_applied_total"], 3);
    EXPECT_EQ(m.samples["ligamor_lines_set_aside"], 1);
    EXPECT_EQ(m.samples["ligamor_polling"], 1);
    EXPECT_EQ(m.samples["ligamor_polling_interval_seconds"], 0.2);
    EXPECT_EQ(m.samples["ligamor_oldest_waiting_file_age_seconds"], 0);
    EXPECT_EQ(m.samples["ligamor_last_failure_timestamp_seconds"], 0);
    EXPECT_NEAR(m.samples["ligamor_last_success_timestamp_seconds"], now, 60);
    EXPECT_NEAR(m.samples["ligamor_status_timestamp_seconds"], now, 60);

    service.Signal(SIGTERM);
    EXPECT_EQ(service.Wait(), 0) << service.Err();
}

TEST(StatusMetrics, AFailedConnectionIsFailingWithItsTime)
{
    TempDir dir;
    SaveSettings(dir / "ConfigLigamor.csi", Settings(dir, dir / "NENHUM.FDB"));
    // The shop's folders are there; only the database is not.
    std::filesystem::create_directories(dir / "ENVIO");
    std::filesystem::create_directories(dir / "LOG");
    ServiceProcess service({"--config", dir / "ConfigLigamor.csi", "--retry-first", "600000"}, dir / "stderr");
    ASSERT_TRUE(service.WaitForText("Nova ativação em 600 s.")) << service.Err();
    Exposition m;
    EXPECT_EQ(StatusMetrics(dir / "ConfigLigamor.csi", m), 2);
    EXPECT_EQ(m.samples["ligamor_state{state=\"com falha\"}"], 1);
    EXPECT_NEAR(m.samples["ligamor_last_failure_timestamp_seconds"], static_cast<double>(std::time(nullptr)), 60);
    EXPECT_EQ(m.samples["ligamor_lines_applied_total"], 0);
    service.Signal(SIGTERM);
    EXPECT_EQ(service.Wait(), 0) << service.Err();
}

}  // namespace
}  // namespace ligamor::test
