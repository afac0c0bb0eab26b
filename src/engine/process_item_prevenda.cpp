#include "engine/process_item_prevenda.h"

#include "engine/process_common.h"
#include "engine/record_line.h"
#include "transactions/untTransDAV_PreVenda.h"

namespace ligamor {

std::string ProcessItemPreVendaLine(RecordContext& ctx, const std::string& line)
{
    RecordLine record = SplitRecordLine(line, 6);
    const auto& f = record.fields;
    const std::string& CDPEDIDOCOMPRACLIENTE = f[0];
    const std::string& NUITPEDIDOCOMPRACLIENTE = f[1];
    const std::string& CDDETALHE = f[2];
    const std::string QTITEM = CommaToPoint(f[3]);
    const std::string VLUNITARIO = CommaToPoint(f[4]);
    const std::string VLTOTAL = CommaToPoint(f[5]);

    const std::string values = JoinValues(
        {&CDPEDIDOCOMPRACLIENTE, &NUITPEDIDOCOMPRACLIENTE, &CDDETALHE, &QTITEM, &VLUNITARIO, &VLTOTAL}, " ");
    std::string logText = RecordLogText(ctx, LogRecordKind::ItemPreVenda, record.operation, values);

    InsertItemPreVenda(ctx, CDPEDIDOCOMPRACLIENTE, NUITPEDIDOCOMPRACLIENTE, CDDETALHE, QTITEM, VLUNITARIO, VLTOTAL);
    return logText;
}

}  // namespace ligamor
