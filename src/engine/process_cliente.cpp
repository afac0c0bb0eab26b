#include "engine/process_cliente.h"

#include "engine/process_common.h"
#include "engine/record_line.h"
#include "transactions/untTransCliente.h"

namespace ligamor {

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

}  // namespace ligamor
