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
    // silent guess. Short enough for one line of the journal or the event log.
    const std::string why = source == DateRuleSource::Account
                                ? "FORMATO_DATA não está nas configurações"
                                : "FORMATO_DATA=" + Utf8FromLocal(dateFormat) + " não é um formato de data";
    return {Severity::Warning, why + ": datas lidas como " + format +
                                   ", a ordem da conta do serviço, que pode não ser a da loja. Para gravar a da "
                                   "loja: OK nas Configurações da janela, como usuário da loja."};
}

}  // namespace ligamor
