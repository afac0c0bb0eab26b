#include "config/command_line.h"

#include <charconv>

#include "config/settings.h"
#include "runtime/paths.h"
#include "runtime/service_events.h"
#include "runtime/system_folders.h"
#include "runtime/text1252.h"

#ifndef LIGAMOR_VERSION
#error LIGAMOR_VERSION must name the version of the project
#endif

namespace ligamor {

namespace {

const char* ProgramName(FrontEnd frontEnd)
{
    return frontEnd == FrontEnd::Window ? "ligamor" : "ligamor-service";
}

std::chrono::milliseconds Milliseconds(const std::string& option, const std::string& text)
{
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value <= 0)
        throw UsageError(option + " espera um número positivo de milissegundos, não \"" + Utf8FromLocal(text) + "\"");
    return std::chrono::milliseconds(value);
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args, FrontEnd frontEnd, bool lenient)
{
    CommandLine line;
    const bool service = frontEnd == FrontEnd::Service;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // "--config=FILE" or "--config FILE".
        const std::size_t equals = arg.find('=');
        const std::string name = arg.rfind("--", 0) == 0 ? arg.substr(0, equals) : arg;
        const bool takesValue = name == "--config" || (service && (name == "--retry-first" || name == "--retry-max" ||
                                                                   name == "--servico" || name == "--instalar" ||
                                                                   name == "--remover"));
        std::string value;
        if (takesValue) {
            if (equals != std::string::npos) value = arg.substr(equals + 1);
            else if (i + 1 < args.size()) value = args[++i];
            else throw UsageError(name + " precisa de um valor");
        }
        // A switch takes no value: "--once=no" must not run once.
        const auto is = [&](const char* option) {
            if (name != option) return false;
            if (name != arg)
                throw UsageError(name + " não leva valor: " + Utf8FromLocal(arg));
            return true;
        };
        if (name == "--config") {
            if (value.empty()) throw UsageError("--config precisa do caminho do arquivo de configurações");
            line.settingsFile = AbsolutePath(value);
        } else if (is("--help") || is("-h")) {
            line.help = true;
        } else if (is("--version")) {
            line.version = true;
        } else if (service && is("--once")) {
            line.once = true;
        } else if (service && is("--status")) {
            line.status = true;
        } else if (service && is("--json")) {
            line.json = true;
        } else if (service && is("--prometheus")) {
            line.prometheus = true;
        } else if (service && name == "--servico") {
            line.serviceName = value;
        } else if (service && name == "--instalar") {
            line.install = value;
        } else if (service && name == "--remover") {
            line.remove = value;
        } else if (service && name == "--retry-first") {
            line.retryFirst = Milliseconds(name, value);
        } else if (service && name == "--retry-max") {
            line.retryMost = Milliseconds(name, value);
        } else if (!lenient) {
            throw UsageError("opção desconhecida: " + Utf8FromLocal(arg));
        }
    }
    if (line.json && !line.status) throw UsageError("--json só vale com --status");
    if (line.prometheus && (!line.status || line.json))
        throw UsageError("--prometheus só vale com --status, sem --json");
    if (!line.install.empty() && line.settingsFile.empty())
        throw UsageError("--instalar precisa de --config com o arquivo de configurações do serviço");
    if (line.retryMost < line.retryFirst) line.retryMost = line.retryFirst;
    return line;
}

std::string UsageText(FrontEnd frontEnd)
{
    std::string text = std::string("Uso: ") + ProgramName(frontEnd) + " [opções]\n";
    if (frontEnd == FrontEnd::Window) {
        text += "Integra os arquivos do PAF-ECF ao banco de dados Firebird, com a janela do log.\n";
    } else {
        text += "Integra os arquivos do PAF-ECF ao banco de dados Firebird sem janela: as mensagens vão\n"
                "para a saída de erros, e depois de uma falha a integração é ativada de novo sozinha.\n" +
                StopAndReloadUsage();
    }
    text += "\nOpções:\n"
            "  --config ARQUIVO   o arquivo de configurações (sem esta opção: ConfigLigamor.csi\n"
            "                     no diretório do programa; para o programa instalado numa pasta\n"
            "                     do sistema, em " + Utf8FromLocal(SharedSettingsDirectory()) + ")\n";
    if (frontEnd == FrontEnd::Service) {
        text += "  --once             uma ativação e um ciclo, e termina. Saída: 0 todos os arquivos\n"
                "                     presentes integrados e movidos (ou nenhum presente); com\n"
                "                     RECUSADAS=SEPARAR também quando linhas recusadas foram separadas\n"
                "                     em RECUSADAS e o resto do arquivo foi integrado e movido (veja\n"
                "                     --status), 1 o ciclo ou a conexão falhou, 2 uso errado ou\n"
                "                     configurações inutilizáveis, 3 outra integração usa o mesmo\n"
                "                     diretório de envio\n"
                "  --status           como vai a integração em execução neste diretório de envio, numa\n"
                "                     linha. Saída: 0 normal, 1 atrasada (também com linhas separadas),\n"
                "                     2 com falha, parada ou nenhuma integração em execução, 3 o estado\n"
                "                     não pode ser dito (configurações ilegíveis, uso errado)\n"
                "  --json             com --status: o estado inteiro em JSON\n"
                "  --prometheus       com --status: as métricas no formato de texto do Prometheus\n"
                "  --instalar NOME    (Windows) cria o serviço NOME, automático, para o arquivo de --config,\n"
                "                     com a origem de eventos NOME: uma integração por diretório de envio\n"
                "  --remover NOME     (Windows) para e remove o serviço NOME e a sua origem de eventos\n"
                "  --servico NOME     roda como o serviço NOME (o que --instalar grava no serviço)\n"
                "  --retry-first MS   primeira espera antes de ativar de novo após uma falha (" +
                std::to_string(kRetryFirstDefault.count()) + ")\n" +
                "  --retry-max MS     espera mais longa; cada falha seguida dobra a espera (" +
                std::to_string(kRetryMostDefault.count()) + ")\n";
    }
    text += "  --help             mostra este texto\n"
            "  --version          mostra a versão\n";
    return text;
}

std::string VersionText(FrontEnd frontEnd)
{
    return std::string(ProgramName(frontEnd)) + " " + LIGAMOR_VERSION;
}

std::string SettingsFileOf(const CommandLine& line, const std::string& executableDirectory)
{
    return line.settingsFile.empty() ? DefaultSettingsFile(executableDirectory) : line.settingsFile;
}

}  // namespace ligamor
