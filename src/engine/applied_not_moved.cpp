#include "engine/applied_not_moved.h"

#include "engine/record_file.h"
#include "engine/record_kinds.h"

namespace ligamor {

namespace {

// One record a file: its row in the table, its identity, then its path.
constexpr std::size_t kFieldsBeforePath = 6;

RecordFileWriter Writer(const ReadInputFiles& files)
{
    RecordFileWriter writer(kAppliedNotMovedName);
    for (const ReadInputFile& file : files) {
        const FileIdentity& id = file.identity;
        writer.Unsigned(file.row).Unsigned(id.device).Unsigned(id.inode).Signed(id.size).Signed(id.mtimeNs);
        writer.Signed(id.ctimeNs).Text(file.path);
        // The name its set-aside lines' reasons give it, when it has one.
        if (!file.target.empty()) writer.Text(file.target);
        writer.EndRecord();
    }
    return writer;
}

}  // namespace

ReadInputFiles ParseAppliedNotMoved(std::string_view bytes, const std::string& path)
{
    ReadInputFiles files;
    ParseRecordFile(bytes, path, kAppliedNotMovedName, kFieldsBeforePath, [&files](RecordFields& fields) {
        ReadInputFile file{};
        FileIdentity& id = file.identity;
        file.row = fields.Unsigned(kRecordKindCount - 1);
        id.device = fields.Unsigned();
        id.inode = fields.Unsigned();
        id.size = fields.Signed(0);
        id.mtimeNs = fields.Signed();
        id.ctimeNs = fields.Signed();
        file.path = fields.Path();
        if (!fields.AllRead()) file.target = fields.Text();
        files.push_back(file);
    });
    return files;
}

std::string AppliedNotMovedText(const ReadInputFiles& files)
{
    return Writer(files).Bytes();
}

ReadInputFiles LoadAppliedNotMoved(const std::string& sendDirectory)
{
    const std::string path = sendDirectory + kAppliedNotMovedName;
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return {};
    return ParseAppliedNotMoved(bytes, path);
}

void SaveAppliedNotMoved(const std::string& sendDirectory, const ReadInputFiles& files)
{
    // The owner alone: the folder's group may be one the user is not in. Another
    // user's integration then fails its cycle on reading it, never guesses.
    SaveRecordFile(sendDirectory + kAppliedNotMovedName, Writer(files));
}

}  // namespace ligamor
