#include "transactions/untTransDetalhe.h"

#include "db/sql_values.h"
#include "db/untTransacao.h"
#include "runtime/blanks.h"
#include "transactions/record_statement.h"

namespace ligamor {

namespace {


std::string ZeroWhenBlank(const std::string& s) { return IsBlank(s) ? "0" : s; }

const auto Q = DoubledQuotes;

}  // namespace

bool InsertDetalhe(RecordContext& ctx, const std::string& CDDETALHE, const std::string& NMDETALHE,
                   const std::string& CDALIQUOTA, const std::string& QTESTOQUE_, const std::string& CDUNIDADE,
                   const std::string& Spare6, const std::string& Spare7, const std::string& NMTAMANHO,
                   const std::string& CDALTERNATIVO, const std::string& NMTPSEXO, const std::string& Spare11,
                   const std::string& Spare12, const std::string& VLCOMPRA_, const std::string& VLVENDA_,
                   const std::string& Spare15)
{
    if (RecordExists(ctx.dtmain, "DETALHE", "CDDETALHE", CDDETALHE)) {
        const std::string unidade = std::to_string(FindOrCreateUnidade(ctx.dtmain, CDUNIDADE));
        const std::string aliquota = std::to_string(FindAliquotaCode(ctx.dtmain, CDALIQUOTA));
        return UpdateDetalhe(ctx, CDDETALHE, NMDETALHE, aliquota, QTESTOQUE_, unidade, Spare6, Spare7, NMTAMANHO,
                             CDALTERNATIVO, NMTPSEXO, Spare11, Spare12, VLCOMPRA_, VLVENDA_, Spare15);
    }

    const std::string QTESTOQUE = ZeroWhenBlank(QTESTOQUE_);
    const std::string VLCOMPRA = ZeroWhenBlank(VLCOMPRA_);
    const std::string VLVENDA = ZeroWhenBlank(VLVENDA_);
    const std::string aliquota = std::to_string(FindAliquotaCode(ctx.dtmain, CDALIQUOTA));
    const std::string unidade = std::to_string(FindOrCreateUnidade(ctx.dtmain, CDUNIDADE));

    const std::string statement =
        " INSERT INTO DETALHE(CDDETALHE, NMDETALHE, CDALIQUOTA, QTESTOQUE, CDUNIDADE, CDTPPRODUTO,  QTESTMIN, "
        "QTESTMAX, VLCOMPRA, VLVENDA, CDPRODUTO, CDTPSEXO, USUINCLUSAO,  COMPINCLUSAO, USUALTERACAO, COMPALTERACAO, "
        "CDFORMAPECA, CDTAMANHO, CDALTERNATIVO) VALUES(" +
        CDDETALHE + ", '" + Q(NMDETALHE) + "', '" + aliquota + "', '" + Q(QTESTOQUE) + "', " + unidade +
        ", 1,'0', '0','" + Q(VLCOMPRA) + "', '" + Q(VLVENDA) +
        "', 1,1,'MIGRACAO', 'MIGRACAO', 'MIGRACAO', 'MIGRACAO', 1,1,1)";
    return ExecuteRecordStatement(ctx, statement, {&CDDETALHE});
}

// The size and sex names reach no column, so they are not looked up.
bool UpdateDetalhe(RecordContext& ctx, const std::string& CDDETALHE, const std::string& NMDETALHE,
                   const std::string& CDALIQUOTA, const std::string& QTESTOQUE_, const std::string& CDUNIDADE,
                   const std::string& /*Spare6*/, const std::string& /*Spare7*/, const std::string& /*NMTAMANHO*/,
                   const std::string& CDALTERNATIVO_, const std::string& /*NMTPSEXO*/,
                   const std::string& /*Spare11*/, const std::string& /*Spare12*/, const std::string& VLCOMPRA_,
                   const std::string& VLVENDA_, const std::string& /*Spare15*/)
{
    const std::string aliquota = LookupAliquotaByCode(ctx.dtmain, CDALIQUOTA);
    const std::string unidade = LookupUnidadeByCode(ctx.dtmain, CDUNIDADE);
    const std::string CDALTERNATIVO = IsBlank(CDALTERNATIVO_) ? CDDETALHE : CDALTERNATIVO_;
    const std::string QTESTOQUE = ZeroWhenBlank(QTESTOQUE_);
    const std::string VLCOMPRA = ZeroWhenBlank(VLCOMPRA_);
    const std::string VLVENDA = ZeroWhenBlank(VLVENDA_);

    const std::string statement =
        " UPDATE DETALHE SET                     NMDETALHE     = '" + Q(NMDETALHE) +
        "',         CDALIQUOTA    = '" + Q(aliquota) + "',     QTESTOQUE     = " + QTESTOQUE +
        ",        CDUNIDADE     = " + unidade +
        " ,         CDTPPRODUTO   = 1,                     CDTPSEXO      = 1,                     CDPRODUTO     "
        "= 1,                     CDFORMAPECA   = 1,                     CDTAMANHO     = 1,                     "
        "CDALTERNATIVO =  '" +
        Q(CDALTERNATIVO) + "',   QTESTMIN      = 0,               QTESTMAX      = 0,               VLCOMPRA      = " +
        VLCOMPRA + ",         VLVENDA       = " + VLVENDA + "           WHERE CDDETALHE = " + CDDETALHE +
        "         ";
    return ExecuteRecordStatement(ctx, statement, {&QTESTOQUE, &unidade, &VLCOMPRA, &VLVENDA, &CDDETALHE});
}

}  // namespace ligamor
