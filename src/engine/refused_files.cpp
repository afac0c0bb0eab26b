#include "engine/refused_files.h"

#include <algorithm>
#include <charconv>
#include <deque>
#include <map>
#include <string_view>

#include "runtime/failures.h"
#include "runtime/paths.h"
#include "runtime/text1252.h"
#include "runtime/text_file.h"

namespace ligamor {

namespace {

bool IsSeparator(char c)
{
    return c == '/' || c == kPathSeparator;
}

std::vector<std::string> ReadLines(const std::string& path)
{
    std::vector<std::string> lines;
    if (!FileExists(path)) return lines;
    TextFileReader reader(path);
    std::string line;
    while (reader.ReadLine(line)) lines.push_back(line);
    return lines;
}

// Two lines an entry: its header, then the line's text indented by four blanks,
// so that the entry can still be told when the technician edits or reorders.
struct ReasonsEntry {
    RefusedLine line;
    bool hasText = false;
    bool used = false;
};

constexpr std::string_view kUnknownFile = "arquivo desconhecido";

// "Linha 3 de CLIENTE_....TXT, separada em 07/12/2026 15:30:12: reason"; false
// for any other line. Read as written, in Windows-1252: a file that an editor
// saved in UTF-8 keeps its entries, and its accents look odd until the lines
// are tried again and get their reasons anew.
bool ParseHeader(std::string raw, RefusedLine& line)
{
    if (raw.rfind("\xEF\xBB\xBF", 0) == 0) raw.erase(0, 3);  // an editor's byte order mark
    const std::string text = Utf8FromCp1252(raw);
    const std::string linha = "Linha ", de = " de ", em = ", separada em ";
    const std::size_t deAt = text.find(de);
    const std::size_t emAt = text.find(em);
    const std::size_t colon = emAt == std::string::npos ? std::string::npos : text.find(": ", emAt);
    if (text.rfind(linha, 0) != 0 || deAt == std::string::npos || colon == std::string::npos || deAt > emAt)
        return false;
    const char* first = text.data() + linha.size();
    const char* last = text.data() + deAt;
    const auto [end, error] = std::from_chars(first, last, line.lineNumber);
    if (first == last || end != last || error != std::errc{} || line.lineNumber < 0) return false;
    line.fromFile = text.substr(deAt + de.size(), emAt - deAt - de.size());
    if (line.fromFile == kUnknownFile) line.fromFile.clear();
    line.since = text.substr(emAt + em.size(), colon - emAt - em.size());
    line.reason = text.substr(colon + 2);
    return true;
}

std::vector<ReasonsEntry> ParseReasons(const std::vector<std::string>& lines)
{
    std::vector<ReasonsEntry> entries;
    bool afterHeader = false;
    for (const std::string& raw : lines) {
        if (afterHeader && raw.rfind("    ", 0) == 0) {
            entries.back().line.bytes = raw.substr(4);
            entries.back().hasText = true;
            afterHeader = false;
            continue;
        }
        ReasonsEntry entry;
        afterHeader = ParseHeader(raw, entry.line);
        if (afterHeader) entries.push_back(entry);
    }
    return entries;
}

// The entry of each line, or none. By text first: the k-th line of a text takes
// the k-th entry of that text, so a line added, deleted, duplicated or moved
// elsewhere shifts no other line's reason. Then a line the technician changed
// in place keeps its entry: where the lines between two lines matched by text
// are as many as the entries between theirs, all unmatched, they pair in order.
std::vector<const ReasonsEntry*> MatchReasons(const std::vector<std::string>& texts,
                                              std::vector<ReasonsEntry>& entries)
{
    const std::size_t none = static_cast<std::size_t>(-1);
    std::vector<std::size_t> of(texts.size(), none);
    std::map<std::string_view, std::deque<std::size_t>> byText;
    for (std::size_t e = 0; e < entries.size(); ++e)
        if (entries[e].hasText) byText[entries[e].line.bytes].push_back(e);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const auto found = byText.find(texts[i]);
        if (found == byText.end() || found->second.empty()) continue;
        of[i] = found->second.front();
        found->second.pop_front();
        entries[of[i]].used = true;
    }
    std::size_t gapLine = 0, gapEntry = 0;  // the first line and entry after the last match
    for (std::size_t i = 0; i <= texts.size(); ++i) {
        if (i < texts.size() && of[i] == none) continue;
        const std::size_t entryEnd = i < texts.size() ? of[i] : entries.size();
        if (entryEnd >= gapEntry && entryEnd - gapEntry == i - gapLine &&
            std::none_of(entries.begin() + static_cast<long>(gapEntry), entries.begin() + static_cast<long>(entryEnd),
                         [](const ReasonsEntry& e) { return e.used; }))
            for (std::size_t k = 0; k < i - gapLine; ++k) {
                of[gapLine + k] = gapEntry + k;
                entries[gapEntry + k].used = true;
            }
        gapLine = i + 1;
        gapEntry = entryEnd + 1;
    }
    std::vector<const ReasonsEntry*> matched(texts.size(), nullptr);
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (of[i] != none) matched[i] = &entries[of[i]];
    return matched;
}

// The technician's user may be in the folder's group only; a folder whose
// group this user is not in keeps the files to their owner.
void ReplaceShared(const std::string& path, const std::string& bytes)
{
    try {
        ReplaceWholeFile(path, bytes, FileAccess::FolderDefault);
    } catch (const IoFailure&) {
        ReplaceWholeFile(path, bytes, FileAccess::Owner);
    }
}

}  // namespace

std::string RefusedFolder(const std::string& responseDirectory)
{
    std::string folder = responseDirectory;
    // The response directory is a prefix of the moved names: its folder is
    // what stands up to its last separator.
    while (!folder.empty() && !IsSeparator(folder.back())) folder.pop_back();
    while (folder.size() > 1 && IsSeparator(folder.back())) folder.pop_back();
    while (!folder.empty() && !IsSeparator(folder.back())) folder.pop_back();
    return folder + kRefusedFolderName + kPathSeparator;
}

std::string ReasonsFileName(const std::string& inputFileName)
{
    const std::size_t dot = inputFileName.rfind('.');
    return inputFileName.substr(0, dot) + "_MOTIVOS" + (dot == std::string::npos ? "" : inputFileName.substr(dot));
}

std::string RefusedLineEntry(const RefusedLine& line)
{
    const std::string from = line.fromFile.empty() ? std::string(kUnknownFile) : line.fromFile;
    return "Linha " + std::to_string(line.lineNumber) + " de " + from + ", separada em " + line.since + ": " +
           line.reason;
}

std::vector<RefusedLine> LoadRefusedLines(const std::string& folder, const std::string& inputFileName,
                                          bool* staleReasons)
{
    const std::vector<std::string> texts = ReadLines(folder + inputFileName);
    std::vector<ReasonsEntry> entries = ParseReasons(ReadLines(folder + ReasonsFileName(inputFileName)));
    const std::vector<const ReasonsEntry*> matched = MatchReasons(texts, entries);
    std::vector<RefusedLine> lines;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        RefusedLine line = matched[i] ? matched[i]->line : RefusedLine{};
        line.bytes = texts[i];
        lines.push_back(line);
    }
    if (staleReasons)
        *staleReasons = std::any_of(entries.begin(), entries.end(), [](const ReasonsEntry& e) { return !e.used; });
    return lines;
}

namespace {

struct RefusedFilesBytes {
    std::string lines;
    std::string reasons;
};

RefusedFilesBytes BytesOf(const std::vector<RefusedLine>& lines)
{
    RefusedFilesBytes out;
    for (const RefusedLine& line : lines) {
        out.lines += line.bytes + "\r\n";
        out.reasons += Cp1252(RefusedLineEntry(line)) + "\r\n    " + line.bytes + "\r\n";
    }
    return out;
}

}  // namespace

void SaveRefusedLines(const std::string& folder, const std::string& inputFileName,
                      const std::vector<RefusedLine>& lines)
{
    const std::string linesPath = folder + inputFileName;
    const std::string reasonsPath = folder + ReasonsFileName(inputFileName);
    if (lines.empty()) {
        for (const std::string& path : {linesPath, reasonsPath})
            if (const int error = RemoveFileIfPresent(path); error != 0) throw IoFailure(OsErrorCode(error));
        return;
    }
    const RefusedFilesBytes bytes = BytesOf(lines);
    ReplaceShared(linesPath, bytes.lines);
    ReplaceShared(reasonsPath, bytes.reasons);
}

void AddRefusedLines(const std::string& folder, const std::string& inputFileName,
                     const std::vector<RefusedLine>& added)
{
    if (added.empty()) return;
    std::vector<RefusedLine> all = LoadRefusedLines(folder, inputFileName);
    all.insert(all.end(), added.begin(), added.end());
    const RefusedFilesBytes bytes = BytesOf(all);
    ReplaceShared(folder + ReasonsFileName(inputFileName), bytes.reasons);
    ReplaceShared(folder + inputFileName, bytes.lines);
}

}  // namespace ligamor
