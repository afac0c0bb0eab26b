#include "transactions/untTransDAV_PreVenda.h"

#include "db/sql_values.h"
#include "db/untTransacao.h"
#include "transactions/record_statement.h"

namespace ligamor {

namespace {

const auto Q = DoubledQuotes;

std::string NudavStatement(const std::string& CDPEDIDOCOMPRACLIENTE, const std::string& NUDAV,
                           const std::string& CDCLIENTE, const std::string& DTEMISSAO,
                           const std::string& DTPREVENTREGA, const std::string& VLTOTAL, const std::string& today,
                           const std::string& now)
{
    return " INSERT INTO PEDIDOCOMPRACLIENTE(CDFUNCIONARIO, CDPEDIDOCOMPRACLIENTE, NUDAV, CDCLIENTE, "
           "CDSTPEDIDOCOMPRACLIENTE, CDCONDPAGTO, DTEMISSAO,                                                     "
           "DTPREVENTREGA, VLTOTAL, USUINCLUSAO, COMPINCLUSAO, USUALTERACAO, COMPALTERACAO, DTINCLUSAO, HRINCLUSAO, "
           "                                      DTALTERACAO, HRALTERACAO)                                       "
           "                                                                       VALUES(110," +
           CDPEDIDOCOMPRACLIENTE + ", '" + Q(NUDAV) + "', " + CDCLIENTE +
           ", 1, 1,                                                       '" + DTEMISSAO + "', '" + DTPREVENTREGA +
           "', '" + Q(VLTOTAL) +
           "', 'MIGRACAO',                                                            'MIGRACAO', 'MIGRACAO', "
           "'MIGRACAO', '" +
           today + "', '" + now + "', '" + today + "',                                      '" + now +
           "')                                                                                         ";
}

std::string NuprevendaStatement(const std::string& CDPEDIDOCOMPRACLIENTE, const std::string& NUPREVENDA,
                                const std::string& CDCLIENTE, const std::string& DTEMISSAO,
                                const std::string& DTPREVENTREGA, const std::string& VLTOTAL,
                                const std::string& today, const std::string& now)
{
    return " INSERT INTO PEDIDOCOMPRACLIENTE(CDFUNCIONARIO, CDPEDIDOCOMPRACLIENTE,  NUPREVENDA, CDCLIENTE, "
           "CDSTPEDIDOCOMPRACLIENTE, CDCONDPAGTO, DTEMISSAO,                                 DTPREVENTREGA, VLTOTAL, "
           "USUINCLUSAO, COMPINCLUSAO, USUALTERACAO, COMPALTERACAO, DTINCLUSAO, HRINCLUSAO,                        "
           "                DTALTERACAO, HRALTERACAO)                                                             "
           "                                                  VALUES(110," +
           CDPEDIDOCOMPRACLIENTE + ", '" + Q(NUPREVENDA) + "', " + CDCLIENTE +
           ", 1, 1,                                            '" + DTEMISSAO + "', '" + DTPREVENTREGA + "', " +
           VLTOTAL +
           ", 'MIGRACAO',                                                             'MIGRACAO', 'MIGRACAO', "
           "'MIGRACAO', '" +
           today + "', '" + now + "', '" + today + "',                                       '" + now +
           "')                                                                                          ";
}


}  // namespace

bool InsertPreVenda(RecordContext& ctx, const std::string& CDPEDIDOCOMPRACLIENTE, const std::string& NUDAV,
                    const std::string& NUPREVENDA, const std::string& CDCLIENTE, const std::string& /*Spare5*/,
                    const std::string& /*Spare6*/, const std::string& DTEMISSAO, const std::string& DTPREVENTREGA,
                    const std::string& VLTOTAL)
{
    const std::string emissao = SqlDate(ParseShortDate(DTEMISSAO, ctx.regional));
    const std::string entrega = SqlDate(ParseShortDate(DTPREVENTREGA, ctx.regional));
    // One reading, so that a stamp taken at midnight pairs its date with its time.
    const DateTime stamp = ctx.clock.Now();
    const std::string today = SqlDate(stamp);
    const std::string now = SqlTime(stamp);

    if (RecordExists(ctx.dtmain, "PEDIDOCOMPRACLIENTE", "CDPEDIDOCOMPRACLIENTE", CDPEDIDOCOMPRACLIENTE))
        return true;

    if (!NUDAV.empty())
        return ExecuteRecordStatement(
            ctx,
            NudavStatement(CDPEDIDOCOMPRACLIENTE, NUDAV, CDCLIENTE, emissao, entrega, VLTOTAL, today, now),
            {&CDPEDIDOCOMPRACLIENTE, &CDCLIENTE});
    return ExecuteRecordStatement(
        ctx,
        NuprevendaStatement(CDPEDIDOCOMPRACLIENTE, NUPREVENDA, CDCLIENTE, emissao, entrega, VLTOTAL, today, now),
        {&CDPEDIDOCOMPRACLIENTE, &CDCLIENTE, &VLTOTAL});
}

bool InsertItemPreVenda(RecordContext& ctx, const std::string& CDPEDIDOCOMPRACLIENTE,
                        const std::string& NUITPEDIDOCOMPRACLIENTE, const std::string& CDDETALHE,
                        const std::string& QTITEM, const std::string& VLUNITARIO, const std::string& VLTOTAL)
{
    if (CDPEDIDOCOMPRACLIENTE.empty()) RefuseRecord(ctx, "Informe o codigo da pre venda. ");
    if (NUITPEDIDOCOMPRACLIENTE.empty()) RefuseRecord(ctx, "Informe o numero do item. ");
    if (CDDETALHE.empty()) RefuseRecord(ctx, "Informe o codigo do produto ");
    if (QTITEM.empty()) RefuseRecord(ctx, "Informe a quantidade. ");
    if (VLUNITARIO.empty()) RefuseRecord(ctx, "Informe o valor unitario. ");
    if (VLTOTAL.empty()) RefuseRecord(ctx, "Informe o valor total. ");

    if (RecordExistsByPair(ctx.dtmain, "ITPEDIDOCOMPRACLIENTE", "CDPEDIDOCOMPRACLIENTE", "NUITPEDIDOCOMPRACLIENTE",
                           CDPEDIDOCOMPRACLIENTE, NUITPEDIDOCOMPRACLIENTE))
        return true;

    const std::string& produto = Numeric(CDDETALHE);
    const std::string unidade = SelectValue(
        ctx.dtmain,
        "select un.cdunidade from unidade un, detalhe d where un.cdunidade = d.cdunidade and cddetalhe = " + produto);
    const std::string alternativo =
        SelectValue(ctx.dtmain, "select cdalternativo from detalhe where cddetalhe = " + produto);
    const DateTime stamp = ctx.clock.Now();
    const std::string today = SqlDate(stamp);
    const std::string now = SqlTime(stamp);

    const std::string statement =
        " INSERT INTO ITPEDIDOCOMPRACLIENTE(CDPEDIDOCOMPRACLIENTE, NUITPEDIDOCOMPRACLIENTE, CDDETALHE, CDUNIDADE, "
        "CDDIGITADO, QTITEM, VLUNITARIO, VLTOTAL,                                     USUINCLUSAO, COMPINCLUSAO, "
        "USUALTERACAO, COMPALTERACAO, DTINCLUSAO, HRINCLUSAO,                                                      "
        "              DTALTERACAO, HRALTERACAO)                                                                  "
        "                                                 VALUES(" +
        CDPEDIDOCOMPRACLIENTE + ", " + NUITPEDIDOCOMPRACLIENTE + ", " + CDDETALHE + ", " + unidade + ", " +
        alternativo + ", " + QTITEM + ", " + VLUNITARIO + ",                                    " + VLTOTAL +
        ", 'MIGRACAO', 'MIGRACAO', 'MIGRACAO', 'MIGRACAO', '" + today +
        "',                                                      '" + now + "', '" + today + "',  '" + now +
        "')                                                 ";
    return ExecuteRecordStatement(ctx, statement,
                                  {&CDPEDIDOCOMPRACLIENTE, &NUITPEDIDOCOMPRACLIENTE, &CDDETALHE, &unidade,
                                   &alternativo, &QTITEM, &VLUNITARIO, &VLTOTAL});
}

}  // namespace ligamor
