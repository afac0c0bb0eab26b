// The status file EstadoLigamor.txt: KEY=value lines that a person or a
// monitoring agent can read, in a fixed order, between the version line and
// the CRC-32 of all the bytes before it. Read as strictly as our record files
// (record_file.h): a file that stops before its check is cut.
#include <array>
#include <cstdint>
#include <string_view>

#include "engine/health.h"
#include "engine/record_file.h"
#include "runtime/blanks.h"

namespace ligamor {

namespace {

// In the order written. Each version added keys at the end.
constexpr std::array<std::string_view, 21> kKeys = {
    "LEITURA",   "INTERVALO_MS",         "ATIVADA_NS", "ULTIMO_CICLO_NS", "FALHA",
    "SEPARADAS", "SEPARADA_MAIS_ANTIGA", "DESLIGADA",  "ULTIMA_FALHA_NS", "LINHAS_APLICADAS",
    "EXECUCAO_UNICA_NS", "INTEGRADOR", "USUARIO", "COMPUTADOR", "PROCESSO", "DESDE_NS", "DESATIVADA_POR",
    "ARQUIVO_ATUAL", "LINHA_ATUAL", "LINHAS_ARQUIVO", "PROGRESSO_NS"};
constexpr std::string_view kCheckKey = "VERIFICACAO";

// The shapes that a status file may have been left in, the one written
// first: an older version's file is still there after an update, until the
// integration writes it again.
struct Shape {
    std::string_view versionLine;  // empty: none
    std::size_t fewestKeys, mostKeys;
};
constexpr Shape kShapes[] = {
    {"VERSAO=4\r\n", 21, 21},
    {"VERSAO=3\r\n", 11, 11},
    {"VERSAO=2\r\n", 10, 10},
    // The released version wrote the first seven alone, without version or check.
    {"", 7, 10},
};

const char* SwitchedOffKey(PollingOff off)
{
    switch (off) {
    case PollingOff::Desativar: return "DESATIVAR";
    case PollingOff::Configuracoes: return "CONFIGURACOES";
    case PollingOff::None: break;
    }
    return "";
}

constexpr std::array<std::string_view, 4> kHolders = {"", "SERVICO", "JANELA", "UNICA"};

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
    case 9: facts.linesApplied = Number(value, 0, INT64_MAX); break;
    case 10: facts.onceEndedNs = Number(value, INT64_MIN, INT64_MAX); break;
    case 11: {
        std::size_t kind = 0;
        while (kind < kHolders.size() && kHolders[kind] != value) ++kind;
        if (kind == kHolders.size()) throw BadField{"INTEGRADOR desconhecido"};
        facts.holder = static_cast<HolderKind>(kind);
        break;
    }
    case 12: facts.holderUser = value; break;
    case 13: facts.holderComputer = value; break;
    case 14: facts.holderPid = Number(value, 0, INT64_MAX); break;
    case 15: facts.holderSinceNs = Number(value, INT64_MIN, INT64_MAX); break;
    case 16: facts.pausedBy = value; break;
    case 17: facts.progressFile = value; break;
    case 18: facts.progressDone = Number(value, 0, INT64_MAX); break;
    case 19: facts.progressTotal = Number(value, 0, INT64_MAX); break;
    default: facts.progressNs = Number(value, INT64_MIN, INT64_MAX); break;
    }
}

}  // namespace

std::string HealthFactsText(const HealthFacts& facts)
{
    const std::string text =
        std::string(kShapes[0].versionLine) + "LEITURA=" + std::string(facts.polling ? "1" : "0") +
        "\r\nINTERVALO_MS=" + std::to_string(facts.intervalMs) +
        "\r\nATIVADA_NS=" + std::to_string(facts.activatedNs) + "\r\nULTIMO_CICLO_NS=" +
        std::to_string(facts.lastCycleEndNs) + "\r\nFALHA=" + InOneLine(facts.failure) +
        "\r\nSEPARADAS=" + std::to_string(facts.setAsideLines) +
        "\r\nSEPARADA_MAIS_ANTIGA=" + InOneLine(facts.oldestSetAside) + "\r\nDESLIGADA=" +
        SwitchedOffKey(facts.switchedOff) + "\r\nULTIMA_FALHA_NS=" + std::to_string(facts.lastFailureNs) +
        "\r\nLINHAS_APLICADAS=" + std::to_string(facts.linesApplied) +
        "\r\nEXECUCAO_UNICA_NS=" + std::to_string(facts.onceEndedNs) +
        "\r\nINTEGRADOR=" + std::string(kHolders[static_cast<std::size_t>(facts.holder)]) +
        "\r\nUSUARIO=" + InOneLine(facts.holderUser) + "\r\nCOMPUTADOR=" + InOneLine(facts.holderComputer) +
        "\r\nPROCESSO=" + std::to_string(facts.holderPid) + "\r\nDESDE_NS=" + std::to_string(facts.holderSinceNs) +
        "\r\nDESATIVADA_POR=" + InOneLine(facts.pausedBy) + "\r\nARQUIVO_ATUAL=" + InOneLine(facts.progressFile) +
        "\r\nLINHA_ATUAL=" + std::to_string(facts.progressDone) +
        "\r\nLINHAS_ARQUIVO=" + std::to_string(facts.progressTotal) +
        "\r\nPROGRESSO_NS=" + std::to_string(facts.progressNs) + "\r\n";
    return text + std::string(kCheckKey) + "=" + ChecksumText(text) + "\r\n";
}

HealthFacts ParseHealthFacts(const std::string& bytes, const std::string& path)
{
    std::string_view text(bytes);
    while (!text.empty() && text.back() == '\0') text.remove_suffix(1);
    HealthFacts facts;
    const Shape* shape = kShapes;
    while (!shape->versionLine.empty() && !text.starts_with(shape->versionLine)) ++shape;
    const bool versioned = !shape->versionLine.empty();
    std::size_t at = shape->versionLine.size(), line = versioned ? 1 : 0, key = 0;
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
        } else if (versioned && name == kCheckKey && key == shape->mostKeys) {
            if (value != ChecksumText(text.substr(0, at)))
                fail(RecordFileFailure::Kind::Damaged, "soma de verificação errada");
            checked = true;
        } else if (key < shape->mostKeys && name == kKeys[key]) {
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
    if (versioned ? !checked : key < shape->fewestKeys) {
        ++line;
        fail(RecordFileFailure::Kind::Cut, {});
    }
    return facts;
}

}  // namespace ligamor
