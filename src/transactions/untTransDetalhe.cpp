#include "transactions/untTransDetalhe.h"

#include "db/sql_values.h"
#include "db/untTransacao.h"
#include "runtime/blanks.h"
#include "transactions/record_statement.h"

namespace ligamor {

namespace {

std::string ZeroWhenBlank(const std::string& s) { return IsBlank(s) ? "0" : s; }

const auto Q = DoubledQuotes;

const std::string kTable = "DETALHE";
const std::string kKey = "CDDETALHE";

}  // namespace

void AskDetalhes(RecordContext& ctx, const std::vector<std::string>& codes)
{
    AskExistence(ctx.Work(), kTable, kKey, codes);
}

void InsertDetalhe(RecordContext& ctx, const DetalheRecord& p)
{
    if (RecordExists(ctx.Work(), kTable, kKey, p.CDDETALHE)) {
        // The update takes the unit and the tax rate by code.
        DetalheRecord stored = p;
        stored.CDUNIDADE = std::to_string(FindOrCreateUnidade(ctx.Work(), p.CDUNIDADE));
        stored.CDALIQUOTA = std::to_string(FindAliquotaCode(ctx.Work(), p.CDALIQUOTA));
        UpdateDetalhe(ctx, stored);
        return;
    }

    const std::string QTESTOQUE = ZeroWhenBlank(p.QTESTOQUE);
    const std::string VLCOMPRA = ZeroWhenBlank(p.VLCOMPRA);
    const std::string VLVENDA = ZeroWhenBlank(p.VLVENDA);
    const std::string aliquota = std::to_string(FindAliquotaCode(ctx.Work(), p.CDALIQUOTA));
    const std::string unidade = std::to_string(FindOrCreateUnidade(ctx.Work(), p.CDUNIDADE));

    const std::string statement =
        " INSERT INTO DETALHE(CDDETALHE, NMDETALHE, CDALIQUOTA, QTESTOQUE, CDUNIDADE, CDTPPRODUTO,  QTESTMIN, "
        "QTESTMAX, VLCOMPRA, VLVENDA, CDPRODUTO, CDTPSEXO, USUINCLUSAO,  COMPINCLUSAO, USUALTERACAO, COMPALTERACAO, "
        "CDFORMAPECA, CDTAMANHO, CDALTERNATIVO) VALUES(" +
        p.CDDETALHE + ", '" + Q(p.NMDETALHE) + "', '" + aliquota + "', '" + Q(QTESTOQUE) + "', " + unidade +
        ", 1,'0', '0','" + Q(VLCOMPRA) + "', '" + Q(VLVENDA) +
        "', 1,1,'MIGRACAO', 'MIGRACAO', 'MIGRACAO', 'MIGRACAO', 1,1,1)";
    ExecuteRecordStatement(ctx, statement, {&p.CDDETALHE});
}

void UpdateDetalhe(RecordContext& ctx, const DetalheRecord& p)
{
    const std::string aliquota = LookupAliquotaByCode(ctx.Work(), p.CDALIQUOTA);
    const std::string unidade = LookupUnidadeByCode(ctx.Work(), p.CDUNIDADE);
    const std::string CDALTERNATIVO = IsBlank(p.CDALTERNATIVO) ? p.CDDETALHE : p.CDALTERNATIVO;
    const std::string QTESTOQUE = ZeroWhenBlank(p.QTESTOQUE);
    const std::string VLCOMPRA = ZeroWhenBlank(p.VLCOMPRA);
    const std::string VLVENDA = ZeroWhenBlank(p.VLVENDA);

    // The blank runs are the statement as the shop has always run it: deliberate.
    const std::string statement =
        " UPDATE DETALHE SET                     NMDETALHE     = '" + Q(p.NMDETALHE) +
        "',         CDALIQUOTA    = '" + Q(aliquota) + "',     QTESTOQUE     = " + QTESTOQUE +
        ",        CDUNIDADE     = " + unidade +
        " ,         CDTPPRODUTO   = 1,                     CDTPSEXO      = 1,                     CDPRODUTO     "
        "= 1,                     CDFORMAPECA   = 1,                     CDTAMANHO     = 1,                     "
        "CDALTERNATIVO =  '" +
        Q(CDALTERNATIVO) + "',   QTESTMIN      = 0,               QTESTMAX      = 0,               VLCOMPRA      = " +
        VLCOMPRA + ",         VLVENDA       = " + VLVENDA + "           WHERE CDDETALHE = " + p.CDDETALHE +
        "         ";
    ExecuteRecordStatement(ctx, statement, {&QTESTOQUE, &unidade, &VLCOMPRA, &VLVENDA, &p.CDDETALHE});
}

}  // namespace ligamor
