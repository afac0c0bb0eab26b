#include "engine/line_journal.h"

#include <sstream>
#include <utility>

#include "engine/record_file.h"
#include "engine/record_kinds.h"
#include "runtime/text_file.h"

namespace ligamor {

namespace {

constexpr char kHex[] = "0123456789abcdef";

std::string Hex(const std::string& bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out += kHex[c >> 4];
        out += kHex[c & 15];
    }
    return out;
}

bool FromHex(const std::string& hex, std::string& out)
{
    if (hex.size() % 2 != 0) return false;
    out.clear();
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const auto digit = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1; };
        const int hi = digit(hex[i]), lo = digit(hex[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out += static_cast<char>(hi * 16 + lo);
    }
    return true;
}

// A line with its own checksum: what a kill cut short reads as no line.
std::string Sealed(const std::string& fields)
{
    return fields + " " + ChecksumText(fields) + "\r\n";
}

bool Unseal(const std::string& line, std::string& fields)
{
    const std::size_t blank = line.rfind(' ');
    if (blank == std::string::npos) return false;
    fields = line.substr(0, blank);
    return line.substr(blank + 1) == ChecksumText(fields);
}

}  // namespace

std::optional<LineJournalRecord> LoadLineJournal(const std::string& sendDirectory)
{
    std::string bytes;
    if (!ReadWholeFile(sendDirectory + kLineJournalName, bytes)) return std::nullopt;
    std::istringstream lines(bytes);
    std::string line, fields;
    if (!std::getline(lines, line) || line.empty() || line.back() != '\r') return std::nullopt;
    line.pop_back();
    if (!Unseal(line, fields)) return std::nullopt;
    LineJournalRecord record;
    std::istringstream header(fields);
    std::string name, path;
    FileIdentity& id = record.file.identity;
    if (!(header >> name >> record.file.row >> id.device >> id.inode >> id.size >> id.mtimeNs >> id.ctimeNs >>
          record.logSize >> path) ||
        name != kLineJournalName || record.file.row >= kRecordKindCount || !FromHex(path, record.file.path))
        return std::nullopt;
    // Each whole, sound line; the first that is not ends what the journal says.
    while (std::getline(lines, line) && !line.empty() && line.back() == '\r') {
        line.pop_back();
        if (!Unseal(line, fields)) break;
        std::istringstream entry(fields);
        std::size_t number = 0;
        std::string hex, text;
        if (!(entry >> number >> hex) || !FromHex(hex, text)) break;
        record.applied[number] = text;
    }
    return record;
}

void RemoveLineJournal(const std::string& sendDirectory)
{
    RemoveFileIfPresent(sendDirectory + kLineJournalName);
}

void LineJournal::Begin(const ReadInputFile& file, std::uint64_t logSize, bool goOn)
{
    if (goOn) return;
    const FileIdentity& id = file.identity;
    std::ostringstream header;
    header << kLineJournalName << ' ' << file.row << ' ' << id.device << ' ' << id.inode << ' ' << id.size << ' '
           << id.mtimeNs << ' ' << id.ctimeNs << ' ' << logSize << ' ' << Hex(file.path);
    header_ = Sealed(header.str());
}

void LineJournal::Applied(std::size_t number, const std::string& text)
{
    if (!header_.empty()) ReplaceWholeFile(path_, std::exchange(header_, std::string()), FileAccess::Owner);
    AppendToFile(path_, Sealed(std::to_string(number) + " " + Hex(text)));
}

}  // namespace ligamor
