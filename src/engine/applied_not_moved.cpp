#include "engine/applied_not_moved.h"

#include <sstream>

#include "runtime/failures.h"
#include "runtime/text_file.h"

namespace ligamor {

// One line a file: its row in the table, its identity, then its path, last
// because it may hold blanks.
ReadInputFiles LoadAppliedNotMoved(const std::string& sendDirectory)
{
    ReadInputFiles files;
    const std::string path = sendDirectory + kAppliedNotMovedName;
    if (!FileExists(path)) return files;
    TextFileReader reader(path);
    std::string line;
    while (reader.ReadLine(line)) {
        std::istringstream fields(line);
        ReadInputFile file{};
        FileIdentity& id = file.identity;
        if (!(fields >> file.row >> id.device >> id.inode >> id.size >> id.mtimeNs >> id.ctimeNs)) continue;
        fields.get();  // the blank before the path
        std::getline(fields, file.path);
        if (!file.path.empty()) files.push_back(file);
    }
    return files;
}

void SaveAppliedNotMoved(const std::string& sendDirectory, const ReadInputFiles& files)
{
    const std::string path = sendDirectory + kAppliedNotMovedName;
    if (files.empty()) {
        const int error = RemoveFileIfPresent(path);
        if (error != 0) throw IoFailure(OsErrorCode(error));
        return;
    }
    std::string bytes;
    for (const ReadInputFile& file : files) {
        const FileIdentity& id = file.identity;
        bytes += std::to_string(file.row) + " " + std::to_string(id.device) + " " + std::to_string(id.inode) + " " +
                 std::to_string(id.size) + " " + std::to_string(id.mtimeNs) + " " + std::to_string(id.ctimeNs) +
                 " " + file.path + "\r\n";
    }
    // The owner alone: the folder's group may be one the user is not in. Another
    // user's integration then fails its cycle on reading it, never guesses.
    ReplaceWholeFile(path, bytes, FileAccess::Owner);
}

}  // namespace ligamor
