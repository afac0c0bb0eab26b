#include "engine/refused_files.h"

#include <charconv>

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
    bool used = false;
};

std::vector<ReasonsEntry> ParseReasons(const std::vector<std::string>& lines)
{
    std::vector<ReasonsEntry> entries;
    const std::string linha = "Linha ", de = " de ", em = ", separada em ";
    for (const std::string& raw : lines) {
        if (raw.rfind("    ", 0) == 0) {
            if (!entries.empty()) entries.back().line.bytes = raw.substr(4);
            continue;
        }
        const std::string text = Utf8FromCp1252(raw);
        ReasonsEntry entry;
        const std::size_t deAt = text.find(de);
        const std::size_t emAt = text.find(em);
        const std::size_t colon = emAt == std::string::npos ? std::string::npos : text.find(": ", emAt);
        if (text.rfind(linha, 0) != 0 || deAt == std::string::npos || colon == std::string::npos) continue;
        std::from_chars(text.data() + linha.size(), text.data() + deAt, entry.line.lineNumber);
        entry.line.fromFile = text.substr(deAt + de.size(), emAt - deAt - de.size());
        entry.line.since = text.substr(emAt + em.size(), colon - emAt - em.size());
        entry.line.reason = text.substr(colon + 2);
        entries.push_back(entry);
    }
    return entries;
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
    const std::string from = line.fromFile.empty() ? "arquivo desconhecido" : line.fromFile;
    return "Linha " + std::to_string(line.lineNumber) + " de " + from + ", separada em " + line.since + ": " +
           line.reason;
}

std::vector<RefusedLine> LoadRefusedLines(const std::string& folder, const std::string& inputFileName)
{
    const std::vector<std::string> texts = ReadLines(folder + inputFileName);
    std::vector<ReasonsEntry> entries = ParseReasons(ReadLines(folder + ReasonsFileName(inputFileName)));
    std::vector<RefusedLine> lines;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        ReasonsEntry* found = nullptr;
        for (ReasonsEntry& e : entries)
            if (!e.used && e.line.bytes == texts[i]) {
                found = &e;
                break;
            }
        if (!found && i < entries.size() && !entries[i].used) found = &entries[i];
        RefusedLine line;
        if (found) {
            found->used = true;
            line = found->line;
        }
        line.bytes = texts[i];
        lines.push_back(line);
    }
    return lines;
}

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
    std::string bytes, reasons;
    for (const RefusedLine& line : lines) {
        bytes += line.bytes + "\r\n";
        reasons += Cp1252(RefusedLineEntry(line)) + "\r\n    " + line.bytes + "\r\n";
    }
    // The lines are what must never be lost; the reasons can be told again.
    ReplaceShared(linesPath, bytes);
    ReplaceShared(reasonsPath, reasons);
}

}  // namespace ligamor
