#pragma once
// One product into DETALHE: the insert (which updates a product already
// stored) and the update. Neither refuses a record; failures are raised. Both
// return true.
#include <string>

#include "transactions/record_context.h"

namespace ligamor {

bool InsertDetalhe(RecordContext& ctx, const std::string& CDDETALHE, const std::string& NMDETALHE,
                   const std::string& CDALIQUOTA, const std::string& QTESTOQUE, const std::string& CDUNIDADE,
                   const std::string& Spare6, const std::string& Spare7, const std::string& NMTAMANHO,
                   const std::string& CDALTERNATIVO, const std::string& NMTPSEXO, const std::string& Spare11,
                   const std::string& Spare12, const std::string& VLCOMPRA, const std::string& VLVENDA,
                   const std::string& Spare15);

bool UpdateDetalhe(RecordContext& ctx, const std::string& CDDETALHE, const std::string& NMDETALHE,
                   const std::string& CDALIQUOTA, const std::string& QTESTOQUE, const std::string& CDUNIDADE,
                   const std::string& Spare6, const std::string& Spare7, const std::string& NMTAMANHO,
                   const std::string& CDALTERNATIVO, const std::string& NMTPSEXO, const std::string& Spare11,
                   const std::string& Spare12, const std::string& VLCOMPRA, const std::string& VLVENDA,
                   const std::string& Spare15);

}  // namespace ligamor
