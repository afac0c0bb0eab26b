#include "engine/temporary_sweep.h"

#include "engine/file_commit.h"
#include "engine/line_journal.h"

#include <map>
#include <string_view>
#include <vector>

#include "engine/applied_not_moved.h"
#include "engine/control_request.h"
#include "engine/integration_health.h"
#include "engine/refused_files.h"
#include "engine/set_aside_claims.h"
#include "runtime/paths.h"
#include "runtime/temporary_files.h"
#include "runtime/text_file.h"

namespace ligamor {

namespace {

struct TemporaryName {
    std::string stem;
    std::string_view end;
};

// The directory values are prefixes that names are glued to: each file's own
// path says which folder its temporary files are in.
std::vector<TemporaryName> OurTemporaryNames(const SystemSettings& settings, const InputFileTable& table)
{
    std::vector<TemporaryName> names;
    if (!settings.SendDirectory.empty()) {
        for (const char* record : {kAppliedNotMovedName, kSetAsideClaimsName, kFileCommitName, kLineJournalName})
            names.push_back({ReplacementStemOf(settings.SendDirectory + record), {}});
        // A window killed while it wrote its request to the holder.
        names.push_back({ReplacementStemOf(SendDirectoryRequestPath(settings.SendDirectory)), {}});
    }
    if (!settings.LogDirectory.empty()) {
        names.push_back({ReplacementStemOf(StatusFilePath(settings.LogDirectory)), {}});
        names.push_back({ScratchStemIn(settings.LogDirectory), kScratchEnd});
    }
    if (!settings.ResponseDirectory.empty()) {
        // A move's copy goes to the folder of the name it is moved under.
        names.push_back({ScratchStemIn(DirectoryOf(settings.ResponseDirectory + "x")), kScratchEnd});
        const std::string refused = RefusedFolder(settings.ResponseDirectory);
        for (const InputFileRow& row : table)
            for (const std::string& file : {row.fileName, ReasonsFileName(row.fileName)})
                names.push_back({ReplacementStemOf(refused + file), {}});
    }
    return names;
}

}  // namespace

void SweepOurTemporaryFiles(const SystemSettings& settings, const InputFileTable& table,
                            const InstanceLock& sendDirectoryLock)
{
    if (!sendDirectoryLock.Holds()) return;
    std::map<std::string, std::vector<TemporaryName>> byFolder;
    for (TemporaryName& name : OurTemporaryNames(settings, table))
        byFolder[DirectoryOf(name.stem)].push_back(std::move(name));
    for (const auto& [folder, names] : byFolder) {
        std::vector<std::string> entries;
        if (!ListDirectory(folder, entries)) continue;
        for (const std::string& entry : entries) {
            const std::string path = folder + entry;
            for (const TemporaryName& name : names)
                if (IsTemporaryOf(path, name.stem, name.end)) {
                    (void)RemoveFileIfPresent(path);
                    break;
                }
        }
    }
}

}  // namespace ligamor
