// The one start-up that every face and the benchmarks build the integration
// with: what a face would lose by wiring it by hand.
#include "engine/integration_parts.h"

#include <gtest/gtest.h>

#include "runtime/text1252.h"
#include "support/recording_seams.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

namespace ligamor::test {
namespace {

// With RECUSADAS=SEPARAR a refused customer is set aside without its box;
// the pre-sale's dates are read as the settings file's FORMATO_DATA says
// (month first), not as this account's regional settings (day first), which
// would refuse "12/25/2026".
TEST(IntegrationParts, TheRecordsBoxesGoThroughTheGateAndTheirDatesFollowTheSettingsFile)
{
    TempDir dir;
    const std::string database = CreateShopDatabase(dir.Path());
    RunIsql(database, "insert into UF (cduf, sguf) values (21, 'RS'); commit;");
    const std::string send = dir / "ENVIO/";
    SaveSettings(SettingsFilePath(dir.Path()),
                 {.Server = "LOCAL",
                  .DatabasePath = database,
                  .UserName = "SYSDBA",
                  .Password = "masterkey",
                  .SendDirectory = send,
                  .ResponseDirectory = dir / "RESPOSTA/",
                  .LogDirectory = dir / "LOG/",
                  .IntervalText = "5000",
                  .OtherLines = {"RECUSADAS=SEPARAR"}},
                 {DateOrder::MonthDayYear, '/', ':'});
    RecordingMessages messages;
    FakeTimer timer;
    FixedClock clock;
    IntegrationParts parts({.messages = messages,
                            .timer = timer,
                            .clock = clock,
                            .settingsFile = SettingsFilePath(dir.Path()),
                            .regional = RegionalSettings{}});
    parts.integration.quietTime = std::chrono::milliseconds(0);
    ActivateIntegration(parts.integration);
    WriteBytes(send + "CLIENTE.TXT",
               "I#25#MERCADO BOA VISTA LTDA#MERCADO BOA VISTA#RUA DAS FLORES 10#CP 12#CENTRO#PORTO ALEGRE#RS#"
               "90010000#5133334444#5199998888#1234567890#12345678000190#1500,00\r\n"
               "I#26#PADARIA LTDA#PADARIA#RUA B#CP#VILA#PORTO ALEGRE#RS##1###12345#0\r\n");
    WriteBytes(send + "PREVENDA.TXT", "I#70#55#123#25#12/25/2026#12/30/2026#34,29\r\n");
    NoLogView view;
    RunIntegrationCycle(parts.integration, view);

    EXPECT_TRUE(messages.shown.empty()) << (messages.shown.empty() ? "" : Utf8FromCp1252(messages.shown[0].text));
    EXPECT_EQ(OpenQuery(parts.dtmain, "select count(*) from CLIENTE")->FirstAsInteger(), 1);
    EXPECT_EQ(OpenQuery(parts.dtmain, "select DTEMISSAO || ' ' || DTPREVENTREGA from PEDIDOCOMPRACLIENTE")
                  ->FirstAsText(),
              "2026-12-25 2026-12-30");
}

}  // namespace
}  // namespace ligamor::test
