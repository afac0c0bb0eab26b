#include "engine/set_aside_claims.h"

#include <sstream>

#include "runtime/failures.h"

namespace ligamor {

namespace {

// Texts go as hexadecimal: a line may hold any byte but its terminator.
std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out = "x";
    for (const unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string Unhex(const std::string& text)
{
    std::string out;
    const auto value = [](char c) { return c <= '9' ? c - '0' : c - 'a' + 10; };
    for (std::size_t i = 1; i + 1 < text.size(); i += 2)
        out += static_cast<char>(value(text[i]) * 16 + value(text[i + 1]));
    return out;
}

}  // namespace

// One line a claim; its path last, because it may hold blanks.
std::vector<SetAsideClaim> LoadSetAsideClaims(const std::string& sendDirectory)
{
    std::vector<SetAsideClaim> claims;
    const std::string path = sendDirectory + kSetAsideClaimsName;
    if (!FileExists(path)) return claims;
    TextFileReader reader(path);
    std::string text;
    while (reader.ReadLine(text)) {
        std::istringstream fields(text);
        SetAsideClaim c;
        FileIdentity& id = c.folderBefore;
        std::string bytes, from, since, reason;
        int inFolder = 0;
        if (!(fields >> c.row >> inFolder >> c.line.lineNumber >> c.input.device >> c.input.inode >> id.device >> id.inode >> id.size >> id.mtimeNs >>
              id.ctimeNs >> bytes >> from >> since >> reason))
            continue;
        c.inFolder = inFolder != 0;
        c.line.bytes = Unhex(bytes);
        c.line.fromFile = Unhex(from);
        c.line.since = Unhex(since);
        c.line.reason = Unhex(reason);
        fields.get();
        std::getline(fields, c.path);
        if (!c.path.empty()) claims.push_back(c);
    }
    return claims;
}

void SaveSetAsideClaims(const std::string& sendDirectory, const std::vector<SetAsideClaim>& claims)
{
    const std::string path = sendDirectory + kSetAsideClaimsName;
    if (claims.empty()) {
        if (const int error = RemoveFileIfPresent(path); error != 0) throw IoFailure(OsErrorCode(error));
        return;
    }
    std::string bytes;
    for (const SetAsideClaim& c : claims) {
        const FileIdentity& id = c.folderBefore;
        bytes += std::to_string(c.row) + " " + (c.inFolder ? "1" : "0") + " " + std::to_string(c.line.lineNumber) +
                 " " + std::to_string(c.input.device) + " " + std::to_string(c.input.inode) + " " +
                 std::to_string(id.device) + " " + std::to_string(id.inode) + " " + std::to_string(id.size) +
                 " " + std::to_string(id.mtimeNs) + " " + std::to_string(id.ctimeNs) + " " + Hex(c.line.bytes) +
                 " " + Hex(c.line.fromFile) + " " + Hex(c.line.since) + " " + Hex(c.line.reason) + " " + c.path +
                 "\r\n";
    }
    // Only the integration holding the send directory's lock reads or writes it.
    ReplaceWholeFile(path, bytes, FileAccess::Owner);
}

}  // namespace ligamor
