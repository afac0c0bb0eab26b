#pragma once
// One customer into CLIENTE: the insert (which updates a customer already
// stored) and the update. A refused record shows its information box and
// raises SilentAbort; every other failure is raised. Both return true.
#include <string>

#include "transactions/record_context.h"

namespace ligamor {

bool InsertCliente(RecordContext& ctx, const std::string& CDCLIENTE, const std::string& NMCLIENTE,
                   const std::string& RZSOCIAL, const std::string& TPPESSOA, const std::string& Spare5,
                   const std::string& DSENDERECO, const std::string& NUCXPOSTAL, const std::string& NMBAIRRO,
                   const std::string& NMCIDADE, const std::string& CDUF, const std::string& NUCEP,
                   const std::string& NUFONE1, const std::string& NUFONE2, const std::string& NUFONE3,
                   const std::string& NUIDENTID, const std::string& NUCPF, const std::string& VLLIMITE);

bool UpdateCliente(RecordContext& ctx, const std::string& CDCLIENTE, const std::string& NMCLIENTE,
                   const std::string& RZSOCIAL, const std::string& TPPESSOA, const std::string& Spare5,
                   const std::string& DSENDERECO, const std::string& NUCXPOSTAL, const std::string& NMBAIRRO,
                   const std::string& NMCIDADE, const std::string& CDUF, const std::string& NUCEP,
                   const std::string& NUFONE1, const std::string& NUFONE2, const std::string& NUFONE3,
                   const std::string& NUIDENTID, const std::string& NUCPF, const std::string& VLLIMITE);

}  // namespace ligamor
