#include "service/date_rule_notice.h"

#include "runtime/text1252.h"

namespace ligamor {

Notice DateRuleNotice(DateRuleSource source, const RegionalSettings& regional, const std::string& dateFormat)
{
    // The date part alone: the order is what decides which day a date is.
    std::string format = DateFormatValue(regional);
    format = format.substr(0, format.find(' '));
    if (source == DateRuleSource::SettingsFile)
        return {Severity::Info, "Datas dos arquivos lidas como " + format + ", conforme FORMATO_DATA nas configurações."};
    // The service runs under an account of its own (LocalSystem, systemd's
    // locale), whose regional settings may well not be the shop's: never a
    // silent guess.
    const std::string why = source == DateRuleSource::Account
                                ? "As configurações não dizem como a loja escreve as datas (FORMATO_DATA)"
                                : "FORMATO_DATA=" + Utf8FromLocal(dateFormat) +
                                      " nas configurações não é um formato de data conhecido (como dd/mm/aaaa)";
    return {Severity::Warning,
            why + ": as datas dos arquivos são lidas como " + format +
                ", conforme as configurações regionais da conta que executa o serviço, que podem não ser as da "
                "loja. Para gravar as da loja, clique em OK nas Configurações da janela do Ligamor aberta pelo "
                "usuário da loja."};
}

}  // namespace ligamor
