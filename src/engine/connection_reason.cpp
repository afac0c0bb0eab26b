#include "engine/connection_reason.h"

#include <algorithm>

#include "runtime/failures.h"
#include "runtime/text1252.h"

namespace ligamor {

namespace {

// isc_already_opened: "Database already opened with engine instance,
// incompatible with current": another engine holds the database file.
constexpr long kAlreadyOpened = 335545107L;

}  // namespace

std::string LocalBesideServerAdvice()
{
    return Cp1252("O banco de dados está aberto por um servidor Firebird deste computador, e SERVIDOR=LOCAL o abre "
                  "sem servidor, pelo motor embutido, que precisa do arquivo só para si. Nas configurações, use "
                  "SERVIDOR=localhost, ou o nome do computador do servidor.");
}

std::string ConnectionFailureReason(const std::string& server, const std::exception& failure)
{
    std::string reason = WholeText(failure);
    const auto* database = dynamic_cast<const DatabaseFailure*>(&failure);
    if (server == "LOCAL" && database) {
        const std::vector<long>& codes = database->AllCodes();
        if (std::find(codes.begin(), codes.end(), kAlreadyOpened) != codes.end())
            reason += "\r\n" + LocalBesideServerAdvice();
    }
    return reason;
}

}  // namespace ligamor
