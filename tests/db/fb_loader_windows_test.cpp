#include <gtest/gtest.h>

#include "db/firebird/fb_client.h"
#include "runtime/failures.h"

namespace ligamor {
namespace {

TEST(WindowsClientLoader, TriesFbclientThenGds32AndSaysTheClientIsMissing)
{
    EXPECT_EQ(DefaultFbClientNames(), (std::vector<std::string>{"fbclient.dll", "gds32.dll"}));
    // What the user of a PC without a client sees (the tests reach one
    // through the bridge, so its names are left out here; scripts/test-windows
    // runs ligamor-service.exe without any).
    FbClientLoader loader({"fbclient-ausente.dll", "gds32-ausente.dll"});
    try {
        loader.Api();
        FAIL() << "loaded";
    } catch (const DatabaseFailure& f) {
        EXPECT_EQ(f.Message(), "O cliente InterBase (GDS32.DLL) n\xE3o est\xE1 instalado");
    }

    // A system DLL standing second loads, and lacks the client's entry points.
    FbClientLoader second({"fbclient-ausente.dll", "kernel32.dll"});
    try {
        second.Api();
        FAIL() << "loaded";
    } catch (const DatabaseFailure& f) {
        EXPECT_EQ(f.Message(), "Ponto de entrada isc_attach_database ausente em kernel32.dll");
    }
}

}  // namespace
}  // namespace ligamor
