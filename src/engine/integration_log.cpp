#include "engine/integration_log.h"

#include "runtime/failures.h"
#include "runtime/text1252.h"
#include "runtime/text_file.h"

namespace ligamor {

std::string IntegrationLogPath(const std::string& logDirectory)
{
    return logDirectory + kIntegrationLogName;
}

std::uint64_t IntegrationLogSize(const std::string& logDirectory)
{
    FileIdentity log;
    return StatFile(IntegrationLogPath(logDirectory), log) ? static_cast<std::uint64_t>(log.size) : 0;
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
// A year's log is a hundred megabytes: it reaches the view a piece at a time.
constexpr std::size_t kPieceSize = std::size_t{1} << 20;

[[noreturn]] void ThrowCannotOpen(const std::string& path, const std::string& reason)
{
    throw Failure("Cannot open file \"" + Cp1252FromLocal(path) + "\". " + Cp1252FromLocal(reason));
}

void KeepLastBytes(std::string& tail, std::string_view added)
{
    if (added.size() >= kTailSize) {
        tail.assign(added.substr(added.size() - kTailSize));
        return;
    }
    tail.append(added);
    if (tail.size() > kTailSize) tail.erase(0, tail.size() - kTailSize);
}

// From the fill state's size to the end of the file as it is while reading,
// a piece at a time, the first one the whole content when whole; the state's
// size and tail follow each piece, so that they always say what the view got.
void FillFrom(const ReadOnlyFile& file, LogView& view, bool whole)
{
    LogFillState& state = view.FillState();
    for (;;) {
        const std::string piece = file.Read(static_cast<long long>(state.size), kPieceSize);
        if (whole) view.SetWhole(piece);
        else if (!piece.empty()) view.AppendTail(piece);
        whole = false;
        state.size += piece.size();
        KeepLastBytes(state.tail, piece);
        if (piece.size() < kPieceSize) return;
    }
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
        FillFrom(file, view, false);
        return;
    }

    state = {};
    view.Clear();
    state.path = path;
    state.device = id.device;
    state.inode = id.inode;
    FillFrom(file, view, true);
    // Only a fill that reached the end can be continued by appending; one
    // that failed half way is done again whole.
    state.filled = true;
}

}  // namespace ligamor
