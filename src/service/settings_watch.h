#pragma once
// Whether the settings file changed since the service last read it: a
// window's OK, another save or a hand edit reaches the running service
// between two cycles, as SIGHUP does.
#include <chrono>
#include <string>

#include "runtime/text_file.h"

namespace ligamor {

class SettingsWatch {
public:
    explicit SettingsWatch(std::string path) : path_(std::move(path)) {}

    // Notes the file as it is now: called just before it is read, so that
    // a save during the reading counts as a change after it.
    void Reading();

    // True when the file now is another than the one last read (written,
    // replaced, made or removed) and nothing changed it for quiet: a file
    // saved in several writes is read once it is whole.
    bool Changed(std::chrono::milliseconds quiet) const;

private:
    std::string path_;
    bool existed_ = false;
    FileIdentity read_{};
};

}  // namespace ligamor
