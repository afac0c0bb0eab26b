#include "transactions/untTransCliente.h"

#include "db/sql_values.h"
#include "db/untTransacao.h"
#include "runtime/blanks.h"
#include "transactions/record_statement.h"

namespace ligamor {

namespace {


// The checks both operations run, in this order; gives the customer name to
// store and the person type.
void CheckCliente(RecordContext& ctx, const std::string& CDCLIENTE, std::string& NMCLIENTE,
                  const std::string& RZSOCIAL, std::string& TPPESSOA, const std::string& DSENDERECO,
                  const std::string& CDUF, const std::string& NUCPF)
{
    if (CDCLIENTE.empty()) RefuseRecord(ctx, "O campo Codigo esta limpo. ");
    if (IsBlank(RZSOCIAL)) RefuseRecord(ctx, "O campo Razão Social esta limpo. ");
    if (NMCLIENTE.empty()) NMCLIENTE = RZSOCIAL;
    if (IsBlank(NUCPF)) RefuseRecord(ctx, "O campo Tipo Cpf esta limpo. ");
    if (NUCPF.size() != 11 && NUCPF.size() != 14) RefuseRecord(ctx, "O campo Tipo Cpf fora dos padrões. ");
    TPPESSOA.assign(1, NUCPF.size() == 11 ? 'F' : 'J');
    if (IsBlank(DSENDERECO)) RefuseRecord(ctx, "O campo Tipo Endereco esta limpo. ");
    if (CDUF.empty()) RefuseRecord(ctx, "O campo Tipo UF esta limpo. ");
}

const auto Q = DoubledQuotes;

}  // namespace

bool InsertCliente(RecordContext& ctx, const std::string& CDCLIENTE, const std::string& NMCLIENTE_,
                   const std::string& RZSOCIAL, const std::string& TPPESSOA_, const std::string& Spare5,
                   const std::string& DSENDERECO, const std::string& NUCXPOSTAL, const std::string& NMBAIRRO,
                   const std::string& NMCIDADE, const std::string& CDUF, const std::string& NUCEP,
                   const std::string& NUFONE1, const std::string& NUFONE2, const std::string& NUFONE3,
                   const std::string& NUIDENTID, const std::string& NUCPF, const std::string& VLLIMITE)
{
    std::string NMCLIENTE = NMCLIENTE_, TPPESSOA = TPPESSOA_;
    CheckCliente(ctx, CDCLIENTE, NMCLIENTE, RZSOCIAL, TPPESSOA, DSENDERECO, CDUF, NUCPF);

    if (RecordExists(ctx.dtmain, "CLIENTE", "CDCLIENTE", CDCLIENTE))
        return UpdateCliente(ctx, CDCLIENTE, NMCLIENTE, RZSOCIAL, TPPESSOA, Spare5, DSENDERECO, NUCXPOSTAL,
                             NMBAIRRO, NMCIDADE, CDUF, NUCEP, NUFONE1, NUFONE2, NUFONE3, NUIDENTID, NUCPF,
                             VLLIMITE);

    const std::string stateCode = std::to_string(FindUfCode(ctx.dtmain, CDUF));
    const std::string statement =
        " INSERT INTO CLIENTE(CDCLIENTE, CDSTCLIENTE, NMCLIENTE, RZSOCIAL, TPPESSOA, DSENDERECO, NUCXPOSTAL, "
        "NMBAIRRO, NMCIDADE, CDUF, NUCEP, NUFONE1, NUFONE2,                                    NUFONE3, NUIDENTID, "
        "NUCPF, VLLIMITE, USUINCLUSAO, COMPINCLUSAO, USUALTERACAO, COMPALTERACAO)                                 "
        "                                 VALUES(" +
        CDCLIENTE + ",1, '" + Q(NMCLIENTE) + "', '" + Q(RZSOCIAL) + "', '" + Q(TPPESSOA) + "', '" + Q(DSENDERECO) +
        "', '" + Q(NUCXPOSTAL) + "', '" + Q(NMBAIRRO) + "', '" + Q(NMCIDADE) + "','" + stateCode + "', '" +
        Q(NUCEP) + "', '" + Q(NUFONE1) + "', '" + Q(NUFONE2) + "', '" + Q(NUFONE3) + "', '" + Q(NUIDENTID) +
        "', '" + Q(NUCPF) + "', " + VLLIMITE +
        ", 'MIGRACAO',     'MIGRACAO', 'MIGRACAO', 'MIGRACAO')                                                     "
        "                                                 ";
    return ExecuteRecordStatement(ctx, statement, {&CDCLIENTE, &VLLIMITE});
}

bool UpdateCliente(RecordContext& ctx, const std::string& CDCLIENTE, const std::string& NMCLIENTE_,
                   const std::string& RZSOCIAL, const std::string& TPPESSOA_, const std::string& /*Spare5*/,
                   const std::string& DSENDERECO, const std::string& NUCXPOSTAL, const std::string& NMBAIRRO,
                   const std::string& NMCIDADE, const std::string& CDUF, const std::string& NUCEP,
                   const std::string& NUFONE1, const std::string& NUFONE2, const std::string& /*NUFONE3*/,
                   const std::string& NUIDENTID, const std::string& NUCPF, const std::string& VLLIMITE)
{
    std::string NMCLIENTE = NMCLIENTE_, TPPESSOA = TPPESSOA_;
    CheckCliente(ctx, CDCLIENTE, NMCLIENTE, RZSOCIAL, TPPESSOA, DSENDERECO, CDUF, NUCPF);

    const std::string stateCode = LookupUfBySigla(ctx.dtmain, CDUF);
    const std::string statement =
        " UPDATE CLIENTE                                   SET                                              "
        "CDSTCLIENTE =  1,                                NMCLIENTE   =  '" +
        Q(NMCLIENTE) + "',                    RZSOCIAL    =  '" + Q(RZSOCIAL) + "',             TPPESSOA    =  '" +
        Q(TPPESSOA) + "',              DSENDERECO  =  '" + Q(DSENDERECO) + "',              NUCXPOSTAL  =  '" +
        Q(NUCXPOSTAL) + "',                  NMBAIRRO    =  '" + Q(NMBAIRRO) +
        "',                  NMCIDADE    =  '" + Q(NMCIDADE) + "',                  CDUF        =  '" +
        Q(stateCode) + "',                      NUCEP       =  '" + Q(NUCEP) +
        "',                     NUFONE1     =  '" + Q(NUFONE1) + "',                   NUFONE2     =  '" +
        Q(NUFONE2) + "',                   NUIDENTID   =  '" + Q(NUIDENTID) + "',              NUCPF       =  '" +
        Q(NUCPF) + "',                     VLLIMITE    =  " + VLLIMITE + "                     WHERE CDCLIENTE = " +
        CDCLIENTE + "                   ";
    return ExecuteRecordStatement(ctx, statement, {&VLLIMITE, &CDCLIENTE});
}

}  // namespace ligamor
