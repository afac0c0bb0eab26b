#include "engine/control_request.h"

#include <array>
#include <string_view>

#include "engine/record_file.h"
#include "runtime/blanks.h"
#include "runtime/paths.h"
#include "runtime/text1252.h"
#include "runtime/text_file.h"

namespace ligamor {

namespace {

constexpr std::string_view kVersionLine = "VERSAO=1\r\n";
constexpr std::array<std::string_view, 7> kKeys = {"PEDIDO",        "USUARIO",  "COMPUTADOR", "PROCESSO",
                                                   "PARA_PROCESSO", "PARA_DESDE_NS", "FEITO_NS"};

// A number as our record files write it; false for anything else.
bool Number(std::string_view text, long long& out)
{
    try {
        RecordFields fields({text}, {}, false);
        out = fields.Signed();
        return true;
    } catch (const BadField&) {
        return false;
    }
}

std::optional<ControlRequest> ReadRequest(const std::string& path)
{
    std::string bytes;
    try {
        if (!ReadWholeFile(path, bytes)) return std::nullopt;
    } catch (const Failure&) {
        return std::nullopt;  // unreadable to the holder: as if never written
    }
    return ParseControlRequest(bytes);
}

}  // namespace

std::string SendDirectoryRequestPath(const std::string& sendDirectory)
{
    return sendDirectory + ".ligamor.pedido";
}

std::string SettingsRequestPath(const std::string& settingsFile)
{
    // A bare name has "./" for its folder, which it does not begin with.
    const std::size_t cut = settingsFile.find_last_of(kPathSeparator == '\\' ? "\\/" : "/");
    const std::string name = cut == std::string::npos ? settingsFile : settingsFile.substr(cut + 1);
    return DirectoryOf(settingsFile) + "." + name + ".pedido";
}

std::string ControlRequestText(const ControlRequest& r)
{
    const std::string text = std::string(kVersionLine) + "PEDIDO=" +
                             (r.action == ControlAction::Desativar ? "DESATIVAR" : "ATIVAR") +
                             "\r\nUSUARIO=" + InOneLine(r.user) + "\r\nCOMPUTADOR=" + InOneLine(r.computer) +
                             "\r\nPROCESSO=" + std::to_string(r.requesterPid) +
                             "\r\nPARA_PROCESSO=" + std::to_string(r.holderPid) +
                             "\r\nPARA_DESDE_NS=" + std::to_string(r.holderSinceNs) +
                             "\r\nFEITO_NS=" + std::to_string(r.madeNs) + "\r\n";
    return text + "VERIFICACAO=" + ChecksumText(text) + "\r\n";
}

std::optional<ControlRequest> ParseControlRequest(const std::string& bytes)
{
    const std::string_view text(bytes);
    if (!text.starts_with(kVersionLine)) return std::nullopt;
    ControlRequest r;
    std::size_t at = kVersionLine.size();
    for (std::size_t key = 0; key <= kKeys.size(); ++key) {
        const std::size_t end = text.find("\r\n", at);
        if (end == std::string_view::npos) return std::nullopt;
        const std::string_view line = text.substr(at, end - at);
        const std::string_view name = key < kKeys.size() ? kKeys[key] : "VERIFICACAO";
        if (!line.starts_with(name) || line.size() <= name.size() || line[name.size()] != '=') return std::nullopt;
        const std::string_view value = line.substr(name.size() + 1);
        bool good = true;
        switch (key) {
        case 0:
            good = value == "DESATIVAR" || value == "ATIVAR";
            r.action = value == "ATIVAR" ? ControlAction::Ativar : ControlAction::Desativar;
            break;
        case 1: r.user = value; break;
        case 2: r.computer = value; break;
        case 3: good = Number(value, r.requesterPid); break;
        case 4: good = Number(value, r.holderPid); break;
        case 5: good = Number(value, r.holderSinceNs); break;
        case 6: good = Number(value, r.madeNs); break;
        default:
            good = value == ChecksumText(text.substr(0, at)) && end + 2 == text.size();
            break;
        }
        if (!good) return std::nullopt;
        at = end + 2;
    }
    return r;
}

void SendControlRequest(const std::string& sendDirectory, const std::string& settingsFile,
                        const ControlRequest& request)
{
    // Readable by the holder whatever its user and group: it names only who
    // asked, and a user outside the folder's group who may write there may ask.
    const std::string text = ControlRequestText(request);
    const std::string first = SendDirectoryRequestPath(sendDirectory);
    const std::string second = SettingsRequestPath(settingsFile);
    try {
        ReplaceWholeFile(first, text, FileAccess::Readable);
        return;
    } catch (const IoFailure&) {
    }
    try {
        ReplaceWholeFile(second, text, FileAccess::Readable);
        return;
    } catch (const IoFailure&) {
    }
    throw ControlRefused(Cp1252(
        "Você não tem permissão para ativar ou desativar a integração: só pode quem grava arquivos no diretório de "
        "envio \"" + Utf8FromLocal(sendDirectory) + "\" ou no diretório das configurações \"" +
        Utf8FromLocal(DirectoryOf(settingsFile)) + "\". Nada foi alterado."));
}

std::optional<ControlRequest> NewestControlRequest(const std::string& sendDirectory, const std::string& settingsFile,
                                                   long long holderPid, long long holderSinceNs, long long afterNs)
{
    std::optional<ControlRequest> newest;
    for (const std::string& path : {SendDirectoryRequestPath(sendDirectory), SettingsRequestPath(settingsFile)}) {
        const std::optional<ControlRequest> r = ReadRequest(path);
        if (!r || r->holderPid != holderPid || r->holderSinceNs != holderSinceNs || r->madeNs <= afterNs) continue;
        if (!newest || r->madeNs > newest->madeNs) newest = r;
    }
    return newest;
}

}  // namespace ligamor
