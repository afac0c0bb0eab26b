#include "engine/health.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "runtime/blanks.h"
#include "runtime/text1252.h"

namespace ligamor {

namespace {

constexpr long long kNsPerMs = 1'000'000;

// "45 s", "12 min", "3 h 5 min": ages as a person reads them.
std::string Age(long long ns)
{
    const long long s = std::max(ns, 0LL) / 1'000'000'000;
    if (s < 120) return std::to_string(s) + " s";
    const long long min = s / 60;
    if (min < 120) return std::to_string(min) + " min";
    return std::to_string(min / 60) + " h " + std::to_string(min % 60) + " min";
}

std::string FileName(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Json(const std::string& text)
{
    std::string out = "\"";
    for (const char c : Utf8Repaired(text)) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (b < 0x20 || b == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", b);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// Differences and products of times read back from a status file that may be
// damaged: saturated instead of overflowing.
long long Minus(long long a, long long b)
{
    long long d = 0;
    if (__builtin_sub_overflow(a, b, &d)) return a < 0 ? std::numeric_limits<long long>::min()
                                                       : std::numeric_limits<long long>::max();
    return d;
}

long long Times(long long a, long long b)
{
    long long p = 0;
    if (__builtin_mul_overflow(a, b, &p))
        return (a < 0) != (b < 0) ? std::numeric_limits<long long>::min() : std::numeric_limits<long long>::max();
    return p;
}

// "a cada 5 s" tells a running interval; "o intervalo é de 5 s" a stopped one.
std::string SwitchedOffReason(const HealthFacts& facts)
{
    if (facts.intervalMs <= 0) return "a leitura dos arquivos está desligada (TEMPO_COMUNICACAO 0)";
    const std::string back = "; Ativar volta a ler a cada " + IntervalText(facts.intervalMs);
    if (facts.switchedOff == PollingOff::Configuracoes)
        return "a leitura dos arquivos foi desligada para as Configurações" + back;
    const std::string who = facts.pausedBy.empty() ? "" : " por " + InOneLine(facts.pausedBy);
    return "a leitura dos arquivos foi desligada no menu (Desativar)" + who + back;
}

std::string JsonOrNull(const std::string& text) { return text.empty() ? "null" : Json(text); }
std::string SecondsOrNull(long long ns) { return ns == 0 ? "null" : std::to_string(ns / 1'000'000'000); }

// Who holds the send directory; null where an older version's file did not say.
std::string HolderJson(const HealthFacts& f)
{
    static const char* const kinds[] = {"", "servico", "janela", "execucao_unica"};
    if (f.holder == HolderKind::Unknown) return "null";
    return std::string("{\"tipo\": ") + Json(kinds[static_cast<int>(f.holder)]) + ", \"usuario\": " +
           Json(f.holderUser) + ", \"computador\": " + Json(f.holderComputer) +
           ", \"processo\": " + std::to_string(f.holderPid) + ", \"desde\": " + SecondsOrNull(f.holderSinceNs) + "}";
}

// The running cycle's file and line; null between cycles.
std::string ProgressJson(const HealthFacts& f)
{
    if (f.progressFile.empty()) return "null";
    return std::string("{\"arquivo\": ") + Json(f.progressFile) + ", \"linha\": " + std::to_string(f.progressDone) +
           ", \"linhas\": " + std::to_string(f.progressTotal) + ", \"em\": " + SecondsOrNull(f.progressNs) + "}";
}

}  // namespace

std::string AgeText(long long ns)
{
    return Age(ns);
}

std::string IntervalText(long long ms)
{
    ms = std::max(ms, 0LL);
    std::string out;
    const auto part = [&out](long long value, const char* unit) {
        if (!out.empty()) out += ' ';
        out += std::to_string(value) + unit;
    };
    if (ms >= 3'600'000) part(ms / 3'600'000, " h");
    if (ms >= 60'000 && ms / 60'000 % 60) part(ms / 60'000 % 60, " min");
    const long long secondMs = ms % 60'000;
    if (secondMs || out.empty()) {
        std::string seconds = std::to_string(secondMs / 1000);
        if (secondMs % 1000) {
            // Milliseconds as a decimal fraction, with the comma a Brazilian reader expects.
            std::string fraction = std::to_string(1000 + secondMs % 1000).substr(1);
            while (fraction.back() == '0') fraction.pop_back();
            seconds += "," + fraction;
        }
        if (!out.empty()) out += ' ';
        out += seconds + " s";
    }
    return out;
}

std::string OneUtf8Line(const std::string& text)
{
    const std::string utf8 = Utf8Repaired(text);
    std::string line;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        // C1 controls (U+0080 to U+009F, NEL among them) are C2 80 to C2 9F.
        const bool c1 = c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) <= 0x9F &&
                        static_cast<unsigned char>(utf8[i + 1]) >= 0x80;
        if (c1) ++i;
        line += c < 0x20 || c == 0x7F || c1 ? ' ' : utf8[i];
    }
    return InOneLine(line);
}

long long LateAfterMs(long long intervalMs)
{
    return std::max(Times(5, intervalMs), 120'000LL);
}

Health WorkOutHealth(const HealthFacts& facts, const WaitingFile& oldest, long long nowNs)
{
    Health health{HealthState::Normal, {}, facts, oldest, nowNs};
    const long long lateNs = Times(LateAfterMs(facts.intervalMs), kNsPerMs);
    // A run with --once polls nothing: the schedule that starts it is its
    // timer, and its end counts as a cycle's.
    const bool once = facts.onceEndedNs != 0;
    const long long cycleNs = once ? facts.onceEndedNs : facts.lastCycleEndNs ? facts.lastCycleEndNs : facts.activatedNs;
    if (!facts.failure.empty()) {
        health.state = HealthState::Falha;
        health.reason = once ? "a última execução com --once falhou há " + Age(Minus(nowNs, cycleNs)) + ": " +
                                   InOneLine(facts.failure)
                             : InOneLine(facts.failure);
    } else if (!facts.polling && !once) {
        health.state = HealthState::Parada;
        health.reason = SwitchedOffReason(facts);
    } else if (!oldest.path.empty() && Minus(nowNs, oldest.sinceNs) > lateNs) {
        health.state = HealthState::Atrasada;
        health.reason =
            FileName(oldest.path) + " espera há " + Age(Minus(nowNs, oldest.sinceNs)) + " no diretório de envio";
    } else if (facts.setAsideLines > 0) {
        // Nothing stops, but a customer or a pre-sale may be missing at the
        // cashier until someone fixes the line.
        health.state = HealthState::Atrasada;
        health.reason = std::to_string(facts.setAsideLines) +
                        (facts.setAsideLines == 1 ? " linha separada em RECUSADAS" : " linhas separadas em RECUSADAS") +
                        "; a mais antiga: " + InOneLine(facts.oldestSetAside);
    } else if (cycleNs != 0 && Minus(nowNs, cycleNs) > lateNs) {
        health.state = HealthState::Atrasada;
        health.reason = (once ? "nenhuma execução com --once terminou há " : "nenhum ciclo terminou há ") +
                        Age(Minus(nowNs, cycleNs));
    } else if (once) {
        health.reason = "a última execução com --once terminou bem há " + Age(Minus(nowNs, cycleNs));
    } else {
        health.reason = "lendo os arquivos a cada " + IntervalText(facts.intervalMs);
    }
    return health;
}

int HealthExitCode(HealthState state)
{
    switch (state) {
    case HealthState::Normal: return 0;
    case HealthState::Atrasada: return 1;
    case HealthState::Falha:
    case HealthState::Parada: break;
    }
    return 2;
}

const char* HealthWord(HealthState state)
{
    switch (state) {
    case HealthState::Normal: return "normal";
    case HealthState::Atrasada: return "atrasada";
    case HealthState::Falha: return "com falha";
    case HealthState::Parada: break;
    }
    return "parada";
}

std::string HealthLine(const Health& health)
{
    // A reason that is a message of the system's own has its period already.
    const std::string reason = OneUtf8Line(health.reason);
    const bool ended = !reason.empty() && reason.back() == '.';
    return std::string("Integração ") + HealthWord(health.state) + ": " + reason + (ended ? "" : ".");
}

std::string StatusWithoutHealthJson(const char* state, int code, const std::string& line)
{
    return std::string("{\"estado\": ") + Json(state) + ", \"codigo\": " + std::to_string(code) +
           ", \"linha\": " + Json(OneUtf8Line(line)) + "}\n";
}

std::string HealthJson(const Health& h)
{
    const long long waited = h.oldest.path.empty() ? 0 : std::max(Minus(h.nowNs, h.oldest.sinceNs), 0LL);
    return std::string("{\"estado\": ") + Json(HealthWord(h.state)) +
           ", \"codigo\": " + std::to_string(HealthExitCode(h.state)) + ", \"motivo\": " + Json(h.reason) +
           ", \"linha\": " + Json(HealthLine(h)) + ", \"leitura_ligada\": " + (h.facts.polling ? "true" : "false") +
           ", \"intervalo_ms\": " + std::to_string(h.facts.intervalMs) +
           ", \"atrasada_apos_ms\": " + std::to_string(LateAfterMs(h.facts.intervalMs)) +
           ", \"ativada_em\": " + SecondsOrNull(h.facts.activatedNs) +
           ", \"ultimo_ciclo_em\": " + SecondsOrNull(h.facts.lastCycleEndNs) +
           ", \"arquivo_mais_antigo\": " + JsonOrNull(h.oldest.path) +
           ", \"espera_s\": " + (h.oldest.path.empty() ? "null" : std::to_string(waited / 1'000'000'000)) +
           ", \"falha\": " + JsonOrNull(h.facts.failure) +
           ", \"linhas_separadas\": " + std::to_string(h.facts.setAsideLines) +
           ", \"separada_mais_antiga\": " + JsonOrNull(h.facts.oldestSetAside) +
           ", \"execucao_unica_em\": " + SecondsOrNull(h.facts.onceEndedNs) + ", \"integrador\": " + HolderJson(h.facts) +
           ", \"desativada_por\": " + JsonOrNull(h.facts.pausedBy) + ", \"progresso\": " + ProgressJson(h.facts) +
           ", \"agora\": " + SecondsOrNull(h.nowNs) + "}\n";
}

}  // namespace ligamor
