#include "engine/set_aside_claims.h"

#include "engine/record_file.h"
#include "engine/record_kinds.h"

namespace ligamor {

namespace {

// One record a claim: where it stands, its input file's identity, that of the
// folder's file before it, its line's texts, then the input file's path.
constexpr std::size_t kFieldsBeforePath = 14;

RecordFileWriter Writer(const std::vector<SetAsideClaim>& claims)
{
    RecordFileWriter writer(kSetAsideClaimsName);
    for (const SetAsideClaim& c : claims) {
        const FileIdentity& id = c.folderBefore;
        writer.Unsigned(c.row).Flag(c.inFolder).Signed(c.line.lineNumber).Unsigned(c.input.device);
        writer.Unsigned(c.input.inode).Unsigned(id.device).Unsigned(id.inode).Signed(id.size).Signed(id.mtimeNs);
        writer.Signed(id.ctimeNs).Text(c.line.bytes).Text(c.line.fromFile).Text(c.line.since).Text(c.line.reason);
        writer.Text(c.path).EndRecord();
    }
    return writer;
}

}  // namespace

std::vector<SetAsideClaim> ParseSetAsideClaims(std::string_view bytes, const std::string& path)
{
    std::vector<SetAsideClaim> claims;
    ParseRecordFile(bytes, path, kSetAsideClaimsName, kFieldsBeforePath, [&claims](RecordFields& fields) {
        SetAsideClaim c;
        FileIdentity& id = c.folderBefore;
        c.row = fields.Unsigned(kRecordKindCount - 1);
        c.inFolder = fields.Flag();
        c.line.lineNumber = fields.Signed(1);
        c.input.device = fields.Unsigned();
        c.input.inode = fields.Unsigned();
        id.device = fields.Unsigned();
        id.inode = fields.Unsigned();
        id.size = fields.Signed(0);
        id.mtimeNs = fields.Signed();
        id.ctimeNs = fields.Signed();
        c.line.bytes = fields.Text();
        c.line.fromFile = fields.Text();
        c.line.since = fields.Text();
        c.line.reason = fields.Text();
        c.path = fields.Path();
        claims.push_back(std::move(c));
    });
    return claims;
}

std::string SetAsideClaimsText(const std::vector<SetAsideClaim>& claims)
{
    return Writer(claims).Bytes();
}

std::vector<SetAsideClaim> LoadSetAsideClaims(const std::string& sendDirectory)
{
    const std::string path = sendDirectory + kSetAsideClaimsName;
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return {};
    return ParseSetAsideClaims(bytes, path);
}

void SaveSetAsideClaims(const std::string& sendDirectory, const std::vector<SetAsideClaim>& claims)
{
    // Only the integration holding the send directory's lock reads or writes it.
    SaveRecordFile(sendDirectory + kSetAsideClaimsName, Writer(claims));
}

}  // namespace ligamor
