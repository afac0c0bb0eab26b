#include "engine/log_text.h"

#include "runtime/text1252.h"

namespace ligamor {

std::string LogTitle(LogRecordKind kind, LogOperation operation)
{
    const bool insert = operation == LogOperation::Insert;
    switch (kind) {
    case LogRecordKind::Produto:
        return Cp1252(insert ? " INSERÇÃO - PRODUTO -  Data: " : " ATUALIZAÇÃO - PRODUTO  Data: ");
    case LogRecordKind::Cliente:
        return Cp1252(insert ? " INSERÇÃO - CLIENTE -  Data: " : " ATUALIZAÇÃO - CLIENTE -  Data: ");
    case LogRecordKind::PreVenda:
        return Cp1252(insert ? "INSERÇÃO - PRE-VENDA / DAV -  Data: " : "ATUALIZAÇÃO - PRE-VENDA / DAV -  Data: ");
    case LogRecordKind::ItemPreVenda:
        return Cp1252(insert ? "INSERÇÃO - ITEM DO PRE-VENDA / DAV -  Data: "
                             : "ATUALIZAÇÃO - ITEM DO PRE-VENDA / DAV -  Data: ");
    }
    return {};
}

std::string ComposeLogText(const std::string& title, const Clock& clock, const RegionalSettings& regional,
                           const std::string& values)
{
    const DateTime now = clock.Now();
    return title + FormatDate(now, regional.dateSeparator) + " Hora: " + FormatTime(now, regional.timeSeparator) +
           kLogFieldGap + values;
}

}  // namespace ligamor
