// The health state from what the integration noted and the send directory:
// one row per situation a shop meets.
#include <gtest/gtest.h>

#include "engine/health.h"
#include "engine/health_metrics.h"

namespace ligamor {
namespace {

constexpr long long kMinute = 60'000'000'000LL;
constexpr long long kNow = 1'796'000'000'000'000'000LL;

TEST(Health, StateAndExitCodeForEachSituation)
{
    const HealthFacts polling{.polling = true, .intervalMs = 5000, .activatedNs = kNow - 60 * kMinute,
                              .lastCycleEndNs = kNow - kMinute / 12, .failure = {},
                              .setAsideLines = 0, .oldestSetAside = {}, .lastFailureNs = 0, .linesApplied = 0};
    struct Row {
        const char* what;
        HealthFacts facts;
        WaitingFile oldest;
        HealthState state;
        int exitCode;
    };
    HealthFacts failed = polling;
    failed.failure = "Erro ao Conectar em Banco de Dados.";
    HealthFacts off = polling;
    off.polling = false;
    off.intervalMs = 0;
    HealthFacts slowInterval = polling;
    slowInterval.intervalMs = 60'000;
    HealthFacts stuck = polling;
    stuck.lastCycleEndNs = kNow - 3 * kMinute;
    HealthFacts justStarted = polling;
    justStarted.activatedNs = kNow - kMinute / 6;
    justStarted.lastCycleEndNs = 0;
    HealthFacts setAside = polling;
    setAside.setAsideLines = 2;
    setAside.oldestSetAside = "CLIENTE.TXT: Linha 2 de CLIENTE_071226_153012.TXT, separada em 07/12/2026 15:30:12: x";
    HealthFacts neverEnded = justStarted;
    neverEnded.activatedNs = kNow - 10 * kMinute;
    // What a run with --once, scheduled every five minutes, left behind it.
    HealthFacts onceRan = polling;
    onceRan.intervalMs = 300'000;
    onceRan.activatedNs = kNow - 4 * kMinute - kMinute / 6;
    onceRan.lastCycleEndNs = kNow - 4 * kMinute;
    onceRan.onceEndedNs = kNow - 4 * kMinute;
    HealthFacts onceLong = onceRan;
    onceLong.onceEndedNs = kNow - 26 * kMinute;
    HealthFacts onceFailed = onceRan;
    onceFailed.failure = "Erro ao Conectar em Banco de Dados.";
    HealthFacts onceOff = onceRan;
    onceOff.polling = false;
    onceOff.intervalMs = 0;
    onceOff.onceEndedNs = kNow - kMinute;
    const std::vector<Row> rows = {
        {"polling, nothing waiting", polling, {}, HealthState::Normal, 0},
        {"a file that just arrived", polling, {"ENVIO/CLIENTE.TXT", kNow - kMinute / 6}, HealthState::Normal, 0},
        {"a file waiting past two minutes", polling, {"ENVIO/CLIENTE.TXT", kNow - 3 * kMinute}, HealthState::Atrasada,
         1},
        {"five intervals of a minute not yet gone", slowInterval, {"ENVIO/PRODUTO.TXT", kNow - 4 * kMinute},
         HealthState::Normal, 0},
        {"past five intervals of a minute", slowInterval, {"ENVIO/PRODUTO.TXT", kNow - 6 * kMinute},
         HealthState::Atrasada, 1},
        {"no cycle ended for three minutes", stuck, {}, HealthState::Atrasada, 1},
        {"just activated, no cycle yet", justStarted, {}, HealthState::Normal, 0},
        {"activated long ago, no cycle ever ended", neverEnded, {}, HealthState::Atrasada, 1},
        {"lines set aside", setAside, {}, HealthState::Atrasada, 1},
        {"the last activation or cycle failed", failed, {}, HealthState::Falha, 2},
        {"failed with a file waiting for long", failed, {"ENVIO/CLIENTE.TXT", kNow - 30 * kMinute},
         HealthState::Falha, 2},
        {"polling off", off, {"ENVIO/CLIENTE.TXT", kNow - 30 * kMinute}, HealthState::Parada, 2},
        {"--once ended well four minutes ago", onceRan, {}, HealthState::Normal, 0},
        {"--once ended well past five intervals", onceLong, {}, HealthState::Atrasada, 1},
        {"--once failed", onceFailed, {}, HealthState::Falha, 2},
        {"--once with TEMPO_COMUNICACAO 0: its end within two minutes", onceOff, {}, HealthState::Normal, 0},
        // Its age held at the end of 64 bits of nanoseconds.
        {"a file dated 1732", polling, {"ENVIO/CLIENTE.TXT", -7'500'000'000'000'000'000LL}, HealthState::Atrasada, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const Health health = WorkOutHealth(row.facts, row.oldest, kNow);
        EXPECT_EQ(health.state, row.state);
        EXPECT_EQ(HealthExitCode(health.state), row.exitCode);
        // What the status file holds gives the same answer to whoever asks.
        EXPECT_EQ(ParseHealthFacts(HealthFactsText(row.facts)), row.facts);
        // The metrics tell the wait that the JSON tells.
        const std::string json = HealthJson(health);
        const std::size_t at = json.find("\"espera_s\": ") + 12;
        const std::string waited = json.substr(at, json.find(',', at) - at);
        EXPECT_NE(HealthMetrics(health, row.exitCode)
                      .find("\nligamor_oldest_waiting_file_age_seconds " + (waited == "null" ? "0" : waited) + "\n"),
                  std::string::npos);
    }
}

TEST(Health, AFailureOfManyLinesIsGivenInOne)
{
    HealthFacts facts{.polling = true, .intervalMs = 5000, .failure = "primeiro\r\nsegundo", .setAsideLines = 0,
                      .oldestSetAside = {}, .lastFailureNs = 0, .linesApplied = 0};
    const Health health = WorkOutHealth(facts, {}, kNow);
    EXPECT_EQ(HealthLine(health).find('\n'), std::string::npos);
    EXPECT_EQ(ParseHealthFacts(HealthFactsText(facts)).failure, "primeiro segundo");
}

TEST(Health, TheLineEndsWithOnePeriod)
{
    HealthFacts facts;
    facts.polling = true;
    facts.intervalMs = 5000;
    facts.failure = "Erro ao Conectar em Banco de Dados.";
    EXPECT_EQ(HealthLine(WorkOutHealth(facts, {}, kNow)), "Integração com falha: Erro ao Conectar em Banco de Dados.");
    facts.failure = "uma linha foi recusada";
    EXPECT_EQ(HealthLine(WorkOutHealth(facts, {}, kNow)), "Integração com falha: uma linha foi recusada.");
}

TEST(Health, WhatARunWithOnceLeftTellsItsOutcomeAndItsAge)
{
    HealthFacts facts{.polling = true, .intervalMs = 5000, .failure = "uma linha foi recusada", .setAsideLines = 0,
                      .oldestSetAside = {}, .lastFailureNs = 0, .linesApplied = 0, .onceEndedNs = kNow - 3 * kMinute};
    EXPECT_EQ(HealthLine(WorkOutHealth(facts, {}, kNow)),
              "Integração com falha: a última execução com --once falhou há 3 min: uma linha foi recusada.");
    facts.failure.clear();
    EXPECT_EQ(HealthLine(WorkOutHealth(facts, {}, kNow)), "Integração atrasada: nenhuma execução com --once terminou há 3 min.");
    facts.onceEndedNs = kNow - kMinute;
    EXPECT_EQ(HealthLine(WorkOutHealth(facts, {}, kNow)), "Integração normal: a última execução com --once terminou bem há 60 s.");
}

}  // namespace
}  // namespace ligamor
