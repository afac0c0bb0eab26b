#include "engine/record_processors.h"

#include <initializer_list>

#include "engine/log_text.h"
#include "engine/record_line.h"
#include "transactions/untTransCliente.h"
#include "transactions/untTransDAV_PreVenda.h"
#include "transactions/untTransDetalhe.h"

namespace ligamor {

namespace {

// The values joined by the separator.
std::string JoinValues(std::initializer_list<const std::string*> values, const std::string& separator)
{
    std::string out;
    bool first = true;
    for (const std::string* v : values) {
        if (!first) out += separator;
        out += *v;
        first = false;
    }
    return out;
}

// The line's log text for the operations "I" and "U"; the empty text for any
// other operation, so that such a line never repeats an earlier line's text.
std::string RecordLogText(const RecordContext& ctx, LogRecordKind kind, const std::string& operation,
                          const std::string& values)
{
    if (operation == "I") return ComposeLogText(LogTitle(kind, LogOperation::Insert), ctx.clock, ctx.regional, values);
    if (operation == "U") return ComposeLogText(LogTitle(kind, LogOperation::Update), ctx.clock, ctx.regional, values);
    return {};
}

}  // namespace

std::string ProcessClienteLine(RecordContext& ctx, const std::string& line)
{
    RecordLine record = SplitRecordLine(line, 14);
    const auto& f = record.fields;
    const std::string& CDCLIENTE = f[0];
    const std::string& RZSOCIAL = f[1];
    const std::string& NMCLIENTE = f[2];
    const std::string& DSENDERECO = f[3];
    const std::string& NUCXPOSTAL = f[4];
    const std::string& NMBAIRRO = f[5];
    const std::string& NMCIDADE = f[6];
    const std::string& CDUF = f[7];
    const std::string& NUCEP = f[8];
    const std::string& NUFONE1 = f[9];
    const std::string& NUFONE3 = f[10];
    const std::string& NUIDENTID = f[11];
    const std::string& NUCPF = f[12];
    const std::string VLLIMITE = CommaToPoint(f[13]);
    const std::string none;

    const std::string values =
        JoinValues({&CDCLIENTE, &NMCLIENTE, &RZSOCIAL, &none, &none, &DSENDERECO, &NUCXPOSTAL}, " ") + kLogFieldGap +
        JoinValues({&NMBAIRRO, &NMCIDADE, &CDUF, &NUCEP, &NUFONE1, &none, &NUFONE3, &NUIDENTID, &NUCPF, &VLLIMITE},
                   " ");
    std::string logText = RecordLogText(ctx, LogRecordKind::Cliente, record.operation, values);

    if (record.operation == "I")
        InsertCliente(ctx, CDCLIENTE, NMCLIENTE, RZSOCIAL, none, NUCXPOSTAL, DSENDERECO, NUCXPOSTAL, NMBAIRRO,
                      NMCIDADE, CDUF, NUCEP, NUFONE1, none, NUFONE3, NUIDENTID, NUCPF, VLLIMITE);
    else if (record.operation == "U")
        UpdateCliente(ctx, CDCLIENTE, NMCLIENTE, RZSOCIAL, none, NUCXPOSTAL, DSENDERECO, NUCXPOSTAL, NMBAIRRO,
                      NMCIDADE, CDUF, NUCEP, NUFONE1, none, NUFONE3, NUIDENTID, NUCPF, VLLIMITE);
    return logText;
}

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

InputFileTable StandardInputFileTable(RecordContext& ctx)
{
    return MakeInputFileTable([&ctx](const std::string& line) { return ProcessClienteLine(ctx, line); },
                              [&ctx](const std::string& line) { return ProcessProdutoLine(ctx, line); },
                              [&ctx](const std::string& line) { return ProcessPreVendaLine(ctx, line); },
                              [&ctx](const std::string& line) { return ProcessItemPreVendaLine(ctx, line); });
}

}  // namespace ligamor
