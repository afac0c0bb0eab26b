#pragma once
// A shop of the tests' and benchmarks' own: its three folders in a work
// folder, and the codes its files name (the state SP, the tax rate T1, the
// unit UN) for a fresh database.
#include <string>

#include "config/settings.h"
#include "engine/directories.h"

namespace ligamor::test {

inline constexpr const char* kShopCodes =
    "insert into UF (cduf, sguf) values (35, 'SP');"
    "insert into ALIQUOTA (cdaliquota, nmaliquota) values (3, 'T1');"
    "insert into UNIDADE (cdunidade, nmunidade, nmreduzido, usuinclusao, compinclusao, usualteracao, compalteracao) "
    "values (0, 'UN', 'UN', 'MASTER', 'MASTER', 'MASTER', 'MASTER');"
    "commit;";

// ENVIO/, RESPOSTA/ and LOG/ under prefix (which ends with a separator),
// created, and polling every 5 s.
inline void UseShopFolders(SystemSettings& settings, const std::string& prefix)
{
    settings.SendDirectory = prefix + "ENVIO/";
    settings.ResponseDirectory = prefix + "RESPOSTA/";
    settings.LogDirectory = prefix + "LOG/";
    settings.IntervalMs = 5000;
    for (const std::string& d : {settings.SendDirectory, settings.ResponseDirectory, settings.LogDirectory})
        ForceDirectoryPath(d);
}

}  // namespace ligamor::test
