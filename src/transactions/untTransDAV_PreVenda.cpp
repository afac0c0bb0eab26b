#include "transactions/untTransDAV_PreVenda.h"

#include "db/sql_values.h"
#include "db/untTransacao.h"
#include "transactions/record_statement.h"

namespace ligamor {

namespace {

const auto Q = DoubledQuotes;

const std::string kPreVendas = "PEDIDOCOMPRACLIENTE";
const std::string kItens = "ITPEDIDOCOMPRACLIENTE";
const std::string kPreVenda = "CDPEDIDOCOMPRACLIENTE";
const std::string kItem = "NUITPEDIDOCOMPRACLIENTE";

// The blank runs are the statements as the shop has always run them: deliberate.
std::string NudavStatement(const PreVendaRecord& v, const std::string& DTEMISSAO, const std::string& DTPREVENTREGA,
                           const std::string& today, const std::string& now)
{
    return " INSERT INTO PEDIDOCOMPRACLIENTE(CDFUNCIONARIO, CDPEDIDOCOMPRACLIENTE, NUDAV, CDCLIENTE, "
           "CDSTPEDIDOCOMPRACLIENTE, CDCONDPAGTO, DTEMISSAO,                                                     "
           "DTPREVENTREGA, VLTOTAL, USUINCLUSAO, COMPINCLUSAO, USUALTERACAO, COMPALTERACAO, DTINCLUSAO, HRINCLUSAO, "
           "                                      DTALTERACAO, HRALTERACAO)                                       "
           "                                                                       VALUES(110," +
           v.CDPEDIDOCOMPRACLIENTE + ", '" + Q(v.NUDAV) + "', " + v.CDCLIENTE +
           ", 1, 1,                                                       '" + DTEMISSAO + "', '" + DTPREVENTREGA +
           "', '" + Q(v.VLTOTAL) +
           "', 'MIGRACAO',                                                            'MIGRACAO', 'MIGRACAO', "
           "'MIGRACAO', '" +
           today + "', '" + now + "', '" + today + "',                                      '" + now +
           "')                                                                                         ";
}

std::string NuprevendaStatement(const PreVendaRecord& v, const std::string& DTEMISSAO,
                                const std::string& DTPREVENTREGA, const std::string& today, const std::string& now)
{
    return " INSERT INTO PEDIDOCOMPRACLIENTE(CDFUNCIONARIO, CDPEDIDOCOMPRACLIENTE,  NUPREVENDA, CDCLIENTE, "
           "CDSTPEDIDOCOMPRACLIENTE, CDCONDPAGTO, DTEMISSAO,                                 DTPREVENTREGA, VLTOTAL, "
           "USUINCLUSAO, COMPINCLUSAO, USUALTERACAO, COMPALTERACAO, DTINCLUSAO, HRINCLUSAO,                        "
           "                DTALTERACAO, HRALTERACAO)                                                             "
           "                                                  VALUES(110," +
           v.CDPEDIDOCOMPRACLIENTE + ", '" + Q(v.NUPREVENDA) + "', " + v.CDCLIENTE +
           ", 1, 1,                                            '" + DTEMISSAO + "', '" + DTPREVENTREGA + "', " +
           v.VLTOTAL +
           ", 'MIGRACAO',                                                             'MIGRACAO', 'MIGRACAO', "
           "'MIGRACAO', '" +
           today + "', '" + now + "', '" + today + "',                                       '" + now +
           "')                                                                                          ";
}

}  // namespace

void AskPreVendas(RecordContext& ctx, const std::vector<std::string>& codes)
{
    AskExistence(ctx.Work(), kPreVendas, kPreVenda, codes);
}

void AskItensPreVenda(RecordContext& ctx, const std::vector<std::pair<std::string, std::string>>& items)
{
    AskExistenceByPair(ctx.Work(), kItens, kPreVenda, kItem, items);
}

void InsertPreVenda(RecordContext& ctx, const PreVendaRecord& v)
{
    const std::string emissao = SqlDate(ParseShortDate(v.DTEMISSAO, ctx.regional));
    const std::string entrega = SqlDate(ParseShortDate(v.DTPREVENTREGA, ctx.regional));
    // One reading, so that a stamp taken at midnight pairs its date with its time.
    const DateTime stamp = ctx.clock.Now();
    const std::string today = SqlDate(stamp);
    const std::string now = SqlTime(stamp);

    if (RecordExists(ctx.Work(), kPreVendas, kPreVenda, v.CDPEDIDOCOMPRACLIENTE))
        return;

    if (!v.NUDAV.empty())
        ExecuteRecordStatement(ctx, NudavStatement(v, emissao, entrega, today, now),
                               {&v.CDPEDIDOCOMPRACLIENTE, &v.CDCLIENTE});
    else
        ExecuteRecordStatement(ctx, NuprevendaStatement(v, emissao, entrega, today, now),
                               {&v.CDPEDIDOCOMPRACLIENTE, &v.CDCLIENTE, &v.VLTOTAL});
}

void InsertItemPreVenda(RecordContext& ctx, const ItemPreVendaRecord& i)
{
    if (i.CDPEDIDOCOMPRACLIENTE.empty()) RefuseRecord(ctx, "Informe o codigo da pre venda. ");
    if (i.NUITPEDIDOCOMPRACLIENTE.empty()) RefuseRecord(ctx, "Informe o numero do item. ");
    if (i.CDDETALHE.empty()) RefuseRecord(ctx, "Informe o codigo do produto ");
    if (i.QTITEM.empty()) RefuseRecord(ctx, "Informe a quantidade. ");
    if (i.VLUNITARIO.empty()) RefuseRecord(ctx, "Informe o valor unitario. ");
    if (i.VLTOTAL.empty()) RefuseRecord(ctx, "Informe o valor total. ");

    if (RecordExistsByPair(ctx.Work(), kItens, kPreVenda, kItem, i.CDPEDIDOCOMPRACLIENTE, i.NUITPEDIDOCOMPRACLIENTE))
        return;

    const std::string& produto = Numeric(i.CDDETALHE);
    const std::string unidade = SelectValue(
        ctx.Work(),
        "select un.cdunidade from unidade un, detalhe d where un.cdunidade = d.cdunidade and cddetalhe = " + produto);
    const std::string alternativo =
        SelectValue(ctx.Work(), "select cdalternativo from detalhe where cddetalhe = " + produto);
    const DateTime stamp = ctx.clock.Now();
    const std::string today = SqlDate(stamp);
    const std::string now = SqlTime(stamp);

    // The blank runs are the statement as the shop has always run it: deliberate.
    const std::string statement =
        " INSERT INTO ITPEDIDOCOMPRACLIENTE(CDPEDIDOCOMPRACLIENTE, NUITPEDIDOCOMPRACLIENTE, CDDETALHE, CDUNIDADE, "
        "CDDIGITADO, QTITEM, VLUNITARIO, VLTOTAL,                                     USUINCLUSAO, COMPINCLUSAO, "
        "USUALTERACAO, COMPALTERACAO, DTINCLUSAO, HRINCLUSAO,                                                      "
        "              DTALTERACAO, HRALTERACAO)                                                                  "
        "                                                 VALUES(" +
        i.CDPEDIDOCOMPRACLIENTE + ", " + i.NUITPEDIDOCOMPRACLIENTE + ", " + i.CDDETALHE + ", " + unidade + ", " +
        alternativo + ", " + i.QTITEM + ", " + i.VLUNITARIO + ",                                    " + i.VLTOTAL +
        ", 'MIGRACAO', 'MIGRACAO', 'MIGRACAO', 'MIGRACAO', '" + today +
        "',                                                      '" + now + "', '" + today + "',  '" + now +
        "')                                                 ";
    ExecuteRecordStatement(ctx, statement,
                           {&i.CDPEDIDOCOMPRACLIENTE, &i.NUITPEDIDOCOMPRACLIENTE, &i.CDDETALHE, &unidade,
                            &alternativo, &i.QTITEM, &i.VLUNITARIO, &i.VLTOTAL});
}

}  // namespace ligamor
