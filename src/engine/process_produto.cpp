#include "engine/process_produto.h"

#include "engine/process_common.h"
#include "engine/record_line.h"
#include "transactions/untTransDetalhe.h"

namespace ligamor {

std::string ProcessProdutoLine(RecordContext& ctx, const std::string& line)
{
    RecordLine record = SplitRecordLine(line, 7);
    const auto& f = record.fields;
    const std::string& CDDETALHE = f[0];
    const std::string& NMDETALHE = f[1];
    const std::string& CDALIQUOTA = f[2];
    const std::string QTESTOQUE = CommaToPoint(f[3]);
    const std::string& CDUNIDADE = f[4];
    const std::string VLCOMPRA = CommaToPoint(f[5]);
    const std::string VLVENDA = CommaToPoint(f[6]);
    const std::string none;

    // The fifteen transaction arguments, the field gap after the tenth one's "-".
    const std::string values =
        JoinValues({&CDDETALHE, &NMDETALHE, &CDALIQUOTA, &QTESTOQUE, &CDUNIDADE, &none, &none, &none, &none, &none},
                   "-") +
        "-" + kLogFieldGap + JoinValues({&none, &none, &VLCOMPRA, &VLVENDA, &none}, "-");
    std::string logText = RecordLogText(ctx, LogRecordKind::Produto, record.operation, values);

    if (record.operation == "I")
        InsertDetalhe(ctx, CDDETALHE, NMDETALHE, CDALIQUOTA, QTESTOQUE, CDUNIDADE, none, none, none, none, none,
                      none, none, VLCOMPRA, VLVENDA, none);
    else if (record.operation == "U")
        UpdateDetalhe(ctx, CDDETALHE, NMDETALHE, CDALIQUOTA, QTESTOQUE, CDUNIDADE, none, none, none, none, none,
                      none, none, VLCOMPRA, VLVENDA, none);
    return logText;
}

}  // namespace ligamor
