#include "engine/record_processors.h"

#include <array>
#include <initializer_list>
#include <utility>

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
std::string RecordLogText(const RecordContext& ctx, RecordKindId kind, const std::string& operation,
                          const std::string& values)
{
    if (operation == "I") return ComposeLogText(LogTitle(kind, LogOperation::Insert), ctx.clock, ctx.regional, values);
    if (operation == "U") return ComposeLogText(LogTitle(kind, LogOperation::Update), ctx.clock, ctx.regional, values);
    return {};
}

}  // namespace

std::string ProcessClienteLine(RecordContext& ctx, const std::string& line)
{
    const RecordLine record = SplitRecordLine(line, KindOf(RecordKindId::Cliente).fields);
    const auto& f = record.fields;
    ClienteRecord c;
    c.CDCLIENTE = f[0];
    c.RZSOCIAL = f[1];
    c.NMCLIENTE = f[2];
    c.DSENDERECO = f[3];
    c.NUCXPOSTAL = f[4];
    c.NMBAIRRO = f[5];
    c.NMCIDADE = f[6];
    c.CDUF = f[7];
    c.NUCEP = f[8];
    c.NUFONE1 = f[9];
    c.NUFONE3 = f[10];  // the second phone goes to NUFONE3: deliberate
    c.NUIDENTID = f[11];
    c.NUCPF = f[12];
    c.VLLIMITE = CommaToPoint(f[13]);
    const std::string none;

    // The log keeps the places of the person type, the spare and NUFONE2.
    const std::string values =
        JoinValues({&c.CDCLIENTE, &c.NMCLIENTE, &c.RZSOCIAL, &none, &none, &c.DSENDERECO, &c.NUCXPOSTAL}, " ") +
        kLogFieldGap +
        JoinValues({&c.NMBAIRRO, &c.NMCIDADE, &c.CDUF, &c.NUCEP, &c.NUFONE1, &none, &c.NUFONE3, &c.NUIDENTID,
                    &c.NUCPF, &c.VLLIMITE},
                   " ");
    std::string logText = RecordLogText(ctx, RecordKindId::Cliente, record.operation, values);

    if (record.operation == "I") InsertCliente(ctx, c);
    else if (record.operation == "U") UpdateCliente(ctx, c);
    return logText;
}

std::string ProcessProdutoLine(RecordContext& ctx, const std::string& line)
{
    const RecordLine record = SplitRecordLine(line, KindOf(RecordKindId::Produto).fields);
    const auto& f = record.fields;
    DetalheRecord p;
    p.CDDETALHE = f[0];
    p.NMDETALHE = f[1];
    p.CDALIQUOTA = f[2];
    p.QTESTOQUE = CommaToPoint(f[3]);
    p.CDUNIDADE = f[4];
    p.VLCOMPRA = CommaToPoint(f[5]);
    p.VLVENDA = CommaToPoint(f[6]);
    const std::string none;

    // Fifteen places joined by "-" as the log has always had them, the field
    // gap after the tenth one's "-".
    const std::string values =
        JoinValues({&p.CDDETALHE, &p.NMDETALHE, &p.CDALIQUOTA, &p.QTESTOQUE, &p.CDUNIDADE, &none, &none, &none,
                    &none, &none},
                   "-") +
        "-" + kLogFieldGap + JoinValues({&none, &none, &p.VLCOMPRA, &p.VLVENDA, &none}, "-");
    std::string logText = RecordLogText(ctx, RecordKindId::Produto, record.operation, values);

    if (record.operation == "I") InsertDetalhe(ctx, p);
    else if (record.operation == "U") UpdateDetalhe(ctx, p);
    return logText;
}

std::string ProcessPreVendaLine(RecordContext& ctx, const std::string& line)
{
    const RecordLine record = SplitRecordLine(line, KindOf(RecordKindId::PreVenda).fields);
    const auto& f = record.fields;
    PreVendaRecord v;
    v.CDPEDIDOCOMPRACLIENTE = f[0];
    v.NUDAV = f[1];
    v.NUPREVENDA = f[2];
    v.CDCLIENTE = f[3];
    v.DTEMISSAO = f[4];
    v.DTPREVENTREGA = f[5];
    v.VLTOTAL = CommaToPoint(f[6]);
    const std::string none;

    // The issue date is not part of the log text.
    const std::string values =
        JoinValues({&v.CDPEDIDOCOMPRACLIENTE, &v.NUDAV, &v.NUPREVENDA, &v.CDCLIENTE, &none, &none}, " ") +
        kLogFieldGap + JoinValues({&v.DTPREVENTREGA, &v.VLTOTAL}, " ");
    std::string logText = RecordLogText(ctx, RecordKindId::PreVenda, record.operation, values);

    InsertPreVenda(ctx, v);
    return logText;
}

std::string ProcessItemPreVendaLine(RecordContext& ctx, const std::string& line)
{
    const RecordLine record = SplitRecordLine(line, KindOf(RecordKindId::ItemPreVenda).fields);
    const auto& f = record.fields;
    ItemPreVendaRecord i;
    i.CDPEDIDOCOMPRACLIENTE = f[0];
    i.NUITPEDIDOCOMPRACLIENTE = f[1];
    i.CDDETALHE = f[2];
    i.QTITEM = CommaToPoint(f[3]);
    i.VLUNITARIO = CommaToPoint(f[4]);
    i.VLTOTAL = CommaToPoint(f[5]);

    const std::string values = JoinValues(
        {&i.CDPEDIDOCOMPRACLIENTE, &i.NUITPEDIDOCOMPRACLIENTE, &i.CDDETALHE, &i.QTITEM, &i.VLUNITARIO, &i.VLTOTAL},
        " ");
    std::string logText = RecordLogText(ctx, RecordKindId::ItemPreVenda, record.operation, values);

    InsertItemPreVenda(ctx, i);
    return logText;
}

namespace {

// The fields of each line that name its record.
std::vector<std::string> RecordCodes(RecordKindId id, const std::vector<std::string>& lines, bool part)
{
    const RecordKind& kind = KindOf(id);
    std::vector<std::string> codes;
    codes.reserve(lines.size());
    for (const std::string& line : lines)
        codes.push_back(SplitRecordLine(line, kind.fields).fields[part ? kind.part.field : kind.own.field]);
    return codes;
}

void AskItems(RecordContext& ctx, const std::vector<std::string>& lines)
{
    const std::vector<std::string> preVendas = RecordCodes(RecordKindId::ItemPreVenda, lines, false);
    const std::vector<std::string> items = RecordCodes(RecordKindId::ItemPreVenda, lines, true);
    std::vector<std::pair<std::string, std::string>> pairs;
    pairs.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) pairs.emplace_back(preVendas[i], items[i]);
    AskItensPreVenda(ctx, pairs);
}

}  // namespace

InputFileTable StandardInputFileTable(RecordContext& ctx)
{
    // In the rows' order; a kind without its processor does not compile.
    using Processor = std::string (*)(RecordContext&, const std::string&);
    constexpr auto processors = std::to_array<Processor>(
        {ProcessClienteLine, ProcessProdutoLine, ProcessPreVendaLine, ProcessItemPreVendaLine});
    static_assert(processors.size() == kRecordKindCount, "one processor per record kind, in the rows' order");
    std::array<RecordProcessor, kRecordKindCount> bound;
    for (std::size_t i = 0; i < kRecordKindCount; ++i)
        bound[i] = [&ctx, process = processors[i]](const std::string& line) { return process(ctx, line); };
    InputFileTable table = MakeInputFileTable(std::move(bound));
    using Ask = void (*)(RecordContext&, const std::vector<std::string>&);
    constexpr auto asks = std::to_array<std::pair<RecordKindId, Ask>>(
        {{RecordKindId::Cliente, AskClientes}, {RecordKindId::Produto, AskDetalhes},
         {RecordKindId::PreVenda, AskPreVendas}});
    for (const auto& kindAsk : asks) {
        const RecordKindId id = kindAsk.first;
        const Ask ask = kindAsk.second;
        table[static_cast<std::size_t>(id)].questions = [&ctx, id, ask](const std::vector<std::string>& lines) {
            ask(ctx, RecordCodes(id, lines, false));
        };
    }
    for (InputFileRow& row : table) row.records = &ctx;
    table[static_cast<std::size_t>(RecordKindId::ItemPreVenda)].questions =
        [&ctx](const std::vector<std::string>& lines) { AskItems(ctx, lines); };
    return table;
}

}  // namespace ligamor
