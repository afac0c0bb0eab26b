#include <gtest/gtest.h>

#include "db/firebird/fb_client.h"
#include "runtime/failures.h"

namespace ligamor {
namespace {

TEST(WindowsClientLoader, TriesFbclientThenGds32AndSaysTheClientIsMissing)
{
    EXPECT_EQ(DefaultFbClientNames(), (std::vector<std::string>{"fbclient.dll", "gds32.dll"}));
    // No Firebird client is installed in the tests' Wine prefix: what the user
    // of such a PC sees.
    FbClientLoader loader;
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
