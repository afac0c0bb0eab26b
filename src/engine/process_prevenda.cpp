#include "engine/process_prevenda.h"

#include "engine/process_common.h"
#include "engine/record_line.h"
#include "transactions/untTransDAV_PreVenda.h"

namespace ligamor {

std::string ProcessPreVendaLine(RecordContext& ctx, const std::string& line)
{
    RecordLine record = SplitRecordLine(line, 7);
    const auto& f = record.fields;
    const std::string& CDPEDIDOCOMPRACLIENTE = f[0];
    const std::string& NUDAV = f[1];
    const std::string& NUPREVENDA = f[2];
    const std::string& CDCLIENTE = f[3];
    const std::string& DTEMISSAO = f[4];
    const std::string& DTPREVENTREGA = f[5];
    const std::string VLTOTAL = CommaToPoint(f[6]);
    const std::string none;

    // The issue date is not part of the log text.
    const std::string values =
        JoinValues({&CDPEDIDOCOMPRACLIENTE, &NUDAV, &NUPREVENDA, &CDCLIENTE, &none, &none}, " ") + kLogFieldGap +
        JoinValues({&DTPREVENTREGA, &VLTOTAL}, " ");
    std::string logText = RecordLogText(ctx, LogRecordKind::PreVenda, record.operation, values);

    InsertPreVenda(ctx, CDPEDIDOCOMPRACLIENTE, NUDAV, NUPREVENDA, CDCLIENTE, none, none, DTEMISSAO, DTPREVENTREGA,
                   VLTOTAL);
    return logText;
}

}  // namespace ligamor
