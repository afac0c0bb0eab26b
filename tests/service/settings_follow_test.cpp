// The service and the settings file that the window saves: it reads a saved
// file again while it runs, and it reads the input files' dates as the user
// who saved the settings writes them, whatever its own locale.
#include <gtest/gtest.h>

#include <locale.h>
#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>

#include "config/settings.h"
#include "engine/untfuncoes.h"
#include "runtime/instance_lock.h"
#include "runtime/text1252.h"
#include "service/service_process.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

namespace ligamor::test {
namespace {

// Environment variables set for one scope, then as they were.
class ScopedEnvironment {
public:
    ~ScopedEnvironment()
    {
        for (const auto& [name, value] : saved_) {
            if (value) ::setenv(name.c_str(), value->c_str(), 1);
            else ::unsetenv(name.c_str());
        }
    }
    void Set(const std::string& name, const char* value)
    {
        if (!saved_.count(name)) {
            const char* old = std::getenv(name.c_str());
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value) ::setenv(name.c_str(), value, 1);
        else ::unsetenv(name.c_str());
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

const std::string kCliente = "I#25#MERCADO BOA VISTA LTDA#MERCADO BOA VISTA#RUA DAS FLORES 10#CP 12#CENTRO#PORTO "
                             "ALEGRE#RS#90010000#5133334444#5199998888#1234567890#12345678000190#1500,00\r\n";

class ServiceSettings : public ::testing::Test {
protected:
    ServiceSettings()
    {
        static const std::string script = ReadBytes(LIGAMOR_SCHEMA_SQL) + ReadBytes(LIGAMOR_DEMO_SQL);
        database = CreateDatabase(dir.Path(), "LOJA.FDB", 3, script);
        std::filesystem::create_directories(send);
    }

    SystemSettings Shop(const std::string& interval) const
    {
        return ShopSettings(dir.Path(), database, interval);
    }

    // As the dialog's OK: the file as it reads it, one field changed, saved.
    void SaveAsTheDialog(std::string SystemSettings::*field, const std::string& value) const
    {
        SystemSettings settings = *ReadSettingsForDialog(settingsFile);
        settings.*field = value;
        SaveSettings(settingsFile, settings);
    }

    // Dropped whole: written aside, then renamed.
    void Drop(const std::string& folder, const std::string& name, const std::string& bytes) const
    {
        WriteBytes(dir / "drop.tmp", bytes);
        std::filesystem::rename(dir / "drop.tmp", folder + name);
    }

    std::vector<std::string> Args(std::vector<std::string> more = {}) const
    {
        more.insert(more.begin(), {"--config", settingsFile});
        return more;
    }

    TempDir dir;
    std::string database;
    std::string settingsFile = dir / "ConfigLigamor.csi";
    std::string send = dir / "ENVIO/";
};

std::size_t Occurrences(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// A technician changes the interval, then the send directory, then types an
// interval that is no number: the running service follows each save, and
// refuses the last as a start would.
TEST_F(ServiceSettings, ARunningServiceReadsEachSavedFileAgain)
{
    // Saved and read day first, whatever the machine's locale.
    ScopedEnvironment environment;
    environment.Set("LC_ALL", "C.UTF-8");
    // What a start says of the last file.
    SystemSettings bad = Shop("5 s");
    SaveSettings(dir / "RUIM.csi", bad);
    std::string start;
    EXPECT_EQ(RunService({"--config", dir / "RUIM.csi", "--once"}, start), 2) << start;
    const std::string refused = "ERRO '5 s' is not a valid integer value";
    EXPECT_NE(start.find(refused), std::string::npos) << start;

    SaveSettings(settingsFile, Shop("600000"), RegionalSettings{});
    ServiceProcess service(Args(), dir / "stderr");
    ASSERT_TRUE(service.WaitForText(", a cada 600 s.")) << service.Err();
    Drop(send, "CLIENTE.TXT", Cp1252(kCliente));

    SaveAsTheDialog(&SystemSettings::IntervalText, "200");
    ASSERT_TRUE(service.WaitForText("INFO O arquivo de configurações mudou: lendo as configurações de novo."))
        << service.Err();
    ASSERT_TRUE(service.WaitForText(", a cada 0,2 s.")) << service.Err();
    ASSERT_TRUE(service.WaitForText("Ciclo concluído: CLIENTE.TXT (1 linha).")) << service.Err();

    const std::string other = dir / "OUTRO ENVIO/";
    SaveAsTheDialog(&SystemSettings::SendDirectory, other);
    ASSERT_TRUE(service.WaitForText("Integração ativa: diretório de envio " + other + ", a cada 0,2 s."))
        << service.Err();
    Drop(other, "PRODUTO.TXT", "I#1001#ARROZ 5KG#T1#100#UN#8,20#12,90\r\n");
    ASSERT_TRUE(service.WaitForText("Ciclo concluído: PRODUTO.TXT (1 linha).")) << service.Err();
    // The directory it left is free for another integration.
    InstanceLock old;
    EXPECT_EQ(old.Acquire(send + kSendDirectoryLockName), InstanceLock::Outcome::Held);
    old.Release();

    SaveAsTheDialog(&SystemSettings::IntervalText, "5 s");
    ASSERT_TRUE(service.WaitForText(refused)) << service.Err();
    ASSERT_TRUE(service.WaitForText("AVISO Nova ativação em")) << service.Err();

    service.Signal(SIGTERM);
    EXPECT_EQ(service.Wait(), 0) << service.Err();
    const std::string text = service.Err();
    EXPECT_EQ(Occurrences(text, "O arquivo de configurações mudou"), 3u) << text;
    // Said once: the rule stayed the same through every reading.
    EXPECT_EQ(Occurrences(text, "Datas dos arquivos lidas como dd/mm/aaaa, conforme FORMATO_DATA"), 1u) << text;
}

// Locales of the test's own (the machine may have generated none), through
// LOCPATH, which the C library reads whenever a locale is loaded.
std::string PrivateLocales(const TempDir& dir)
{
    const std::string root = dir / "locales";
    std::filesystem::create_directories(root);
    for (const char* name : {"pt_BR", "en_US"}) {
        const std::string command =
            "localedef -i " + std::string(name) + " -f UTF-8 '" + root + "/" + name + ".UTF-8' >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        static_cast<void>(status);  // localedef also warns with a non-zero status: judged by loading it below
    }
    return root;
}

bool Loads(const char* locale)
{
    locale_t loaded = ::newlocale(LC_TIME_MASK, locale, static_cast<locale_t>(nullptr));
    if (loaded == static_cast<locale_t>(nullptr)) return false;
    ::freelocale(loaded);
    return true;
}

// The window's user writes dates day first (pt_BR); the service runs under
// systemd's en_US, month first. Settings saved by the window make the service
// read "05/12/2026" as the 5th of December; without FORMATO_DATA it reads
// them as its locale says, as it always did, and warns.
TEST_F(ServiceSettings, DatesAreReadAsTheUserWhoSavedTheSettingsWritesThem)
{
    ScopedEnvironment environment;
    environment.Set("LOCPATH", PrivateLocales(dir).c_str());
    environment.Set("LC_ALL", nullptr);
    environment.Set("LANG", "pt_BR.UTF-8");
    environment.Set("LC_TIME", "pt_BR.UTF-8");
    ASSERT_TRUE(Loads("pt_BR.UTF-8") && Loads("en_US.UTF-8"))
        << "localedef could not make pt_BR.UTF-8 and en_US.UTF-8 (Debian package locales, scripts/install-deps)";
    SaveSettings(settingsFile, Shop("200"));
    EXPECT_NE(ReadBytes(settingsFile).find("\r\nFORMATO_DATA=dd/mm/aaaa hh:mm:ss\r\n"), std::string::npos);

    environment.Set("LANG", "en_US.UTF-8");
    environment.Set("LC_TIME", "en_US.UTF-8");
    Drop(send, "CLIENTE.TXT", Cp1252(kCliente));
    Drop(send, "PREVENDA.TXT", "I#70#55#123#25#05/12/2026#25/12/2026#34,29\r\n");
    std::string text;
    EXPECT_EQ(RunService(Args({"--once"}), text), 0) << text;
    EXPECT_NE(text.find("INFO Datas dos arquivos lidas como dd/mm/aaaa, conforme FORMATO_DATA nas configurações."),
              std::string::npos)
        << text;

    // A file that an older version saved.
    std::string bytes = ReadBytes(settingsFile);
    bytes.erase(bytes.find("FORMATO_DATA="));
    WriteBytes(settingsFile, bytes);
    Drop(send, "PREVENDA.TXT", "I#71#56#124#25#05/12/2026#10/12/2026#34,29\r\n");
    EXPECT_EQ(RunService(Args({"--once"}), text), 0) << text;
    EXPECT_EQ(Occurrences(text, "AVISO FORMATO_DATA não está nas configurações: datas lidas como mm/dd/aaaa, a "
                                "ordem da conta do serviço, que pode não ser a da loja."),
              1u)
        << text;

    const std::string dates = "select DTEMISSAO || ' ' || DTPREVENTREGA from PEDIDOCOMPRACLIENTE where CDPEDIDOCOMPRACLIENTE = ";
    EXPECT_EQ(ReadValue(database, dates + "70"), "2026-12-05 2026-12-25");
    EXPECT_EQ(ReadValue(database, dates + "71"), "2026-05-12 2026-10-12");
}

}  // namespace
}  // namespace ligamor::test
