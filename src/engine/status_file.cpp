// The status file EstadoLigamor.txt: KEY=value lines that a person or a
// monitoring agent can read, in a fixed order, between VERSAO=2 and the CRC-32
// of all the bytes before it. Read as strictly as our record files
// (record_file.h): a file that stops before its check is cut.
#include <array>
#include <cstdint>
#include <string_view>

#include "engine/health.h"
#include "engine/record_file.h"
#include "runtime/blanks.h"

namespace ligamor {

namespace {

// In the order written. The released version wrote the first seven alone,
// without version or check; the others came with the version line.
constexpr std::array<std::string_view, 10> kKeys = {
    "LEITURA",   "INTERVALO_MS",         "ATIVADA_NS", "ULTIMO_CICLO_NS", "FALHA",
    "SEPARADAS", "SEPARADA_MAIS_ANTIGA", "DESLIGADA",  "ULTIMA_FALHA_NS", "LINHAS_APLICADAS"};
constexpr std::size_t kRequiredKeys = 7;
constexpr std::string_view kVersionLine = "VERSAO=2\r\n";
constexpr std::string_view kCheckKey = "VERIFICACAO";

const char* SwitchedOffKey(PollingOff off)
{
    switch (off) {
    case PollingOff::Desativar: return "DESATIVAR";
    case PollingOff::Configuracoes: return "CONFIGURACOES";
    case PollingOff::None: break;
    }
    return "";
}

std::int64_t Number(std::string_view value, std::int64_t min, std::int64_t max)
{
    RecordFields fields({value}, {}, false);
    return fields.Signed(min, max);
}

// The value of kKeys[key] into facts; raises BadField.
void Take(std::size_t key, std::string_view value, HealthFacts& facts)
{
    switch (key) {
    case 0:
        if (value != "0" && value != "1") throw BadField{"LEITURA não é 0 nem 1"};
        facts.polling = value == "1";
        break;
    case 1: facts.intervalMs = Number(value, INT32_MIN, INT32_MAX); break;
    case 2: facts.activatedNs = Number(value, INT64_MIN, INT64_MAX); break;
    case 3: facts.lastCycleEndNs = Number(value, INT64_MIN, INT64_MAX); break;
    case 4: facts.failure = value; break;
    case 5: facts.setAsideLines = Number(value, 0, INT64_MAX); break;
    case 6: facts.oldestSetAside = value; break;
    case 7:
        if (value == "DESATIVAR") facts.switchedOff = PollingOff::Desativar;
        else if (value == "CONFIGURACOES") facts.switchedOff = PollingOff::Configuracoes;
        else if (value.empty()) facts.switchedOff = PollingOff::None;
        else throw BadField{"DESLIGADA desconhecida"};
        break;
    case 8: facts.lastFailureNs = Number(value, INT64_MIN, INT64_MAX); break;
    default: facts.linesApplied = Number(value, 0, INT64_MAX); break;
    }
}

}  // namespace

std::string HealthFactsText(const HealthFacts& facts)
{
    const std::string text =
        std::string(kVersionLine) + "LEITURA=" + std::string(facts.polling ? "1" : "0") +
        "\r\nINTERVALO_MS=" + std::to_string(facts.intervalMs) +
        "\r\nATIVADA_NS=" + std::to_string(facts.activatedNs) + "\r\nULTIMO_CICLO_NS=" +
        std::to_string(facts.lastCycleEndNs) + "\r\nFALHA=" + InOneLine(facts.failure) +
        "\r\nSEPARADAS=" + std::to_string(facts.setAsideLines) +
        "\r\nSEPARADA_MAIS_ANTIGA=" + InOneLine(facts.oldestSetAside) + "\r\nDESLIGADA=" +
        SwitchedOffKey(facts.switchedOff) + "\r\nULTIMA_FALHA_NS=" + std::to_string(facts.lastFailureNs) +
        "\r\nLINHAS_APLICADAS=" + std::to_string(facts.linesApplied) + "\r\n";
    return text + std::string(kCheckKey) + "=" + ChecksumText(text) + "\r\n";
}

HealthFacts ParseHealthFacts(const std::string& bytes, const std::string& path)
{
    std::string_view text(bytes);
    while (!text.empty() && text.back() == '\0') text.remove_suffix(1);
    HealthFacts facts;
    const bool current = text.substr(0, kVersionLine.size()) == kVersionLine;
    std::size_t at = current ? kVersionLine.size() : 0, line = current ? 1 : 0, key = 0;
    bool checked = false;
    const auto fail = [&](RecordFileFailure::Kind kind, const std::string& detail) {
        throw RecordFileFailure(kind, path, line, detail, {});
    };
    while (at < text.size()) {
        ++line;
        if (checked) fail(RecordFileFailure::Kind::Damaged, "bytes depois de VERIFICACAO");
        const std::size_t lf = text.find('\n', at);
        if (lf == std::string_view::npos) fail(RecordFileFailure::Kind::Cut, {});
        std::string_view content = text.substr(at, lf - at);
        if (content.empty() || content.back() != '\r') fail(RecordFileFailure::Kind::Damaged, "linha sem CR LF");
        content.remove_suffix(1);
        const std::size_t eq = content.find('=');
        const std::string_view name = content.substr(0, eq), value = content.substr(eq + 1);
        if (eq == std::string_view::npos) {
            fail(RecordFileFailure::Kind::Damaged, "linha sem =");
        } else if (current && name == kCheckKey && key == kKeys.size()) {
            if (value != ChecksumText(text.substr(0, at)))
                fail(RecordFileFailure::Kind::Damaged, "soma de verificação errada");
            checked = true;
        } else if (key < kKeys.size() && name == kKeys[key]) {
            try {
                Take(key++, value, facts);
            } catch (const BadField& bad) {
                fail(RecordFileFailure::Kind::Damaged, bad.detail);
            }
        } else {
            fail(RecordFileFailure::Kind::Damaged, "chave inesperada ou fora de ordem");
        }
        at = lf + 1;
    }
    if (current ? !checked : key < kRequiredKeys) {
        ++line;
        fail(RecordFileFailure::Kind::Cut, {});
    }
    return facts;
}

}  // namespace ligamor
