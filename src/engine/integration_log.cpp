#include "engine/integration_log.h"

#include "runtime/failures.h"
#include "runtime/text1252.h"
#include "runtime/text_file.h"

namespace ligamor {

std::string IntegrationLogPath(const std::string& logDirectory)
{
    return logDirectory + kIntegrationLogName;
}

void AppendToIntegrationLog(const std::string& logDirectory, const std::vector<std::string>& texts)
{
    const std::string path = IntegrationLogPath(logDirectory);
    if (texts.empty()) {
        AppendToFile(path, "");
        return;
    }
    // One open per text: every text is in the file before the next is written.
    for (const std::string& text : texts) AppendToFile(path, text + "\r\n");
}

namespace {

constexpr std::size_t kTailSize = 4096;

[[noreturn]] void ThrowCannotOpen(const std::string& path, const std::string& reason)
{
    throw Failure("Cannot open file \"" + Cp1252FromLocal(path) + "\". " + Cp1252FromLocal(reason));
}

// From offset to the end of the file as it is while reading.
std::string ReadFrom(const ReadOnlyFile& file, std::size_t offset)
{
    return file.Read(static_cast<long long>(offset), std::string::npos);
}

std::string LastBytes(const std::string& bytes)
{
    return bytes.size() <= kTailSize ? bytes : bytes.substr(bytes.size() - kTailSize);
}

}  // namespace

void ReloadLogView(LogView& view, const std::string& path)
{
    LogFillState& state = view.FillState();
    const ReadOnlyFile file(path);
    if (file.OpenError() != 0) {
        state = {};
        view.Clear();
        if (file.Missing()) return;  // no log yet: an empty view
        ThrowCannotOpen(path, file.OpenErrorText());
    }
    if (!file.IsRegular()) {
        state = {};
        view.Clear();
        return;
    }
    const FileIdentity& id = file.Identity();

    // The log is append-only: when it is the same file, not shorter, and the
    // bytes before the old end are still those shown, only its end is new.
    const bool grown = state.filled && !view.EditedSinceFill() && id.device == state.device &&
                       id.inode == state.inode && static_cast<std::size_t>(id.size) >= state.size &&
                       file.Read(static_cast<long long>(state.size - state.tail.size()), state.tail.size()) ==
                           state.tail;
    if (grown) {
        std::string added = ReadFrom(file, state.size);
        if (!added.empty()) {
            view.AppendTail(added);
            state.size += added.size();
            state.tail = LastBytes(state.tail + added);
        }
        return;
    }

    state = {};
    std::string whole = ReadFrom(file, 0);
    view.Clear();
    view.SetWhole(whole);
    state.filled = true;
    state.device = id.device;
    state.inode = id.inode;
    state.size = whole.size();
    state.tail = LastBytes(whole);
}

}  // namespace ligamor
