#include "transactions/untTransCliente.h"

#include "db/sql_values.h"
#include "db/untTransacao.h"
#include "runtime/blanks.h"
#include "transactions/record_statement.h"

namespace ligamor {

namespace {


// The checks both operations run, in this order. Gives the customer name to
// store (the legal name when empty) and sets the person type.
std::string CheckCliente(RecordContext& ctx, const ClienteRecord& c, std::string& TPPESSOA)
{
    if (c.CDCLIENTE.empty()) RefuseRecord(ctx, "O campo Codigo esta limpo. ");
    if (IsBlank(c.RZSOCIAL)) RefuseRecord(ctx, "O campo Razão Social esta limpo. ");
    std::string NMCLIENTE = c.NMCLIENTE.empty() ? c.RZSOCIAL : c.NMCLIENTE;
    if (IsBlank(c.NUCPF)) RefuseRecord(ctx, "O campo Tipo Cpf esta limpo. ");
    if (c.NUCPF.size() != 11 && c.NUCPF.size() != 14) RefuseRecord(ctx, "O campo Tipo Cpf fora dos padrões. ");
    TPPESSOA.assign(1, c.NUCPF.size() == 11 ? 'F' : 'J');
    if (IsBlank(c.DSENDERECO)) RefuseRecord(ctx, "O campo Tipo Endereco esta limpo. ");
    if (c.CDUF.empty()) RefuseRecord(ctx, "O campo Tipo UF esta limpo. ");
    return NMCLIENTE;
}

const auto Q = DoubledQuotes;

const std::string kTable = "CLIENTE";
const std::string kKey = "CDCLIENTE";

}  // namespace

void AskClientes(RecordContext& ctx, const std::vector<std::string>& codes)
{
    AskExistence(ctx.Work(), kTable, kKey, codes);
}

void InsertCliente(RecordContext& ctx, const ClienteRecord& c)
{
    std::string TPPESSOA;
    const std::string NMCLIENTE = CheckCliente(ctx, c, TPPESSOA);

    if (RecordExists(ctx.Work(), kTable, kKey, c.CDCLIENTE)) {
        UpdateCliente(ctx, c);
        return;
    }

    const std::string stateCode = std::to_string(FindUfCode(ctx.Work(), c.CDUF));
    // The blank runs inside the statements are the texts as the shop has always
    // run and logged them: deliberate.
    const std::string statement =
        " INSERT INTO CLIENTE(CDCLIENTE, CDSTCLIENTE, NMCLIENTE, RZSOCIAL, TPPESSOA, DSENDERECO, NUCXPOSTAL, "
        "NMBAIRRO, NMCIDADE, CDUF, NUCEP, NUFONE1, NUFONE2,                                    NUFONE3, NUIDENTID, "
        "NUCPF, VLLIMITE, USUINCLUSAO, COMPINCLUSAO, USUALTERACAO, COMPALTERACAO)                                 "
        "                                 VALUES(" +
        c.CDCLIENTE + ",1, '" + Q(NMCLIENTE) + "', '" + Q(c.RZSOCIAL) + "', '" + Q(TPPESSOA) + "', '" +
        Q(c.DSENDERECO) + "', '" + Q(c.NUCXPOSTAL) + "', '" + Q(c.NMBAIRRO) + "', '" + Q(c.NMCIDADE) + "','" +
        stateCode + "', '" + Q(c.NUCEP) + "', '" + Q(c.NUFONE1) + "', '" + Q(c.NUFONE2) + "', '" + Q(c.NUFONE3) +
        "', '" + Q(c.NUIDENTID) +
        "', '" + Q(c.NUCPF) + "', " + c.VLLIMITE +
        ", 'MIGRACAO',     'MIGRACAO', 'MIGRACAO', 'MIGRACAO')                                                     "
        "                                                 ";
    ExecuteRecordStatement(ctx, statement, {&c.CDCLIENTE, &c.VLLIMITE});
}

// NUFONE3 keeps what is stored.
void UpdateCliente(RecordContext& ctx, const ClienteRecord& c)
{
    std::string TPPESSOA;
    const std::string NMCLIENTE = CheckCliente(ctx, c, TPPESSOA);

    const std::string stateCode = LookupUfBySigla(ctx.Work(), c.CDUF);
    const std::string statement =
        " UPDATE CLIENTE                                   SET                                              "
        "CDSTCLIENTE =  1,                                NMCLIENTE   =  '" +
        Q(NMCLIENTE) + "',                    RZSOCIAL    =  '" + Q(c.RZSOCIAL) + "',             TPPESSOA    =  '" +
        Q(TPPESSOA) + "',              DSENDERECO  =  '" + Q(c.DSENDERECO) + "',              NUCXPOSTAL  =  '" +
        Q(c.NUCXPOSTAL) + "',                  NMBAIRRO    =  '" + Q(c.NMBAIRRO) +
        "',                  NMCIDADE    =  '" + Q(c.NMCIDADE) + "',                  CDUF        =  '" +
        Q(stateCode) + "',                      NUCEP       =  '" + Q(c.NUCEP) +
        "',                     NUFONE1     =  '" + Q(c.NUFONE1) + "',                   NUFONE2     =  '" +
        Q(c.NUFONE2) + "',                   NUIDENTID   =  '" + Q(c.NUIDENTID) + "',              NUCPF       =  '" +
        Q(c.NUCPF) + "',                     VLLIMITE    =  " + c.VLLIMITE + "                     WHERE CDCLIENTE = " +
        c.CDCLIENTE + "                   ";
    ExecuteRecordStatement(ctx, statement, {&c.VLLIMITE, &c.CDCLIENTE});
}

}  // namespace ligamor
