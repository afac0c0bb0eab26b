// A file's log texts wait in a spool file beside the log, never in memory as a
// whole: a file of a million lines costs a buffer and a piece, not its block.
#include "engine/log_block.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "engine/integration_log.h"
#include "runtime/failures.h"
#include "runtime/file_move.h"
#include "runtime/spool_file.h"
#include "runtime/text1252.h"
#include "runtime/text_file.h"

namespace ligamor {

namespace {

// Texts gather in memory up to this much, then reach the spool in one write.
constexpr std::size_t kBufferSize = std::size_t{64} << 10;
// The spool reaches the log this much at a time.
constexpr std::size_t kPieceSize = std::size_t{1} << 20;
// The code of "Read beyond end of file".
constexpr int kEndOfFileCode = 100;

[[noreturn]] void ThrowSpoolFailure(const char* what, const std::string& directory, int code,
                                    const std::string& reason)
{
    throw IoFailure(code, Cp1252("Não foi possível ") + Cp1252(what) +
                              Cp1252(" o arquivo temporário do log no diretório \"") + Cp1252FromLocal(directory) +
                              "\": " + reason);
}

[[noreturn]] void ThrowSpoolFailure(const char* what, const std::string& directory, int osError)
{
    ThrowSpoolFailure(what, directory, OsErrorCode(osError), OsErrorReason(osError));
}

// Where a piece of the block is cut: after its last CR LF, unless it is the
// block's last piece or holds no line end. A failure to open the log between
// two pieces leaves whole lines, and another program appending to the same log
// meanwhile puts its lines between ours, never inside one: as when each text
// was appended on its own.
std::size_t PieceEnd(std::string_view piece, bool last)
{
    if (last) return piece.size();
    const std::size_t lineEnd = piece.rfind("\r\n");
    return lineEnd == std::string_view::npos ? piece.size() : lineEnd + 2;
}

// The buffer's rest to the spool, then the spool to the log a piece at a time.
void CopySpoolToLog(SpoolFile& file, std::string& buffer, const std::string& directory, const std::string& path)
{
    if (const int err = file.Write(buffer.data(), buffer.size())) ThrowSpoolFailure("gravar", directory, err);
    std::string().swap(buffer);
    const std::uint64_t total = file.Size();
    std::string piece;
    for (std::uint64_t at = 0; at < total;) {
        const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(kPieceSize, total - at));
        piece.resize(wanted);
        std::size_t got = 0;
        if (const int err = file.Read(at, piece.data(), wanted, got)) ThrowSpoolFailure("ler", directory, err);
        // Never a block cut short without a word: the spool lost bytes.
        if (got < wanted)
            ThrowSpoolFailure("ler", directory, kEndOfFileCode,
                              "terminou com " + std::to_string(at + got) + " de " + std::to_string(total) + " bytes");
        piece.resize(PieceEnd(piece, at + wanted == total));
        AppendToFile(path, piece);
        at += piece.size();
    }
}

}  // namespace

struct LogBlock::Spool {
    std::string buffer;
    // Made at the first text.
    std::optional<SpoolFile> file;
    bool appended = false;
    // What stopped an Add: the spool then misses texts, and AppendToLog
    // raises it again rather than append a block with a hole.
    std::exception_ptr failed;
};

LogBlock::LogBlock(const std::string& logDirectory) : logDirectory_(logDirectory), spool_(new Spool) {}

// Closing the spool removes it: a block never appended leaves nothing.
LogBlock::~LogBlock()
{
    delete spool_;
}

void LogBlock::Add(const std::string& text)
{
    Spool& spool = *spool_;
    if (spool.appended) throw std::logic_error("LogBlock::Add after AppendToLog");
    if (spool.failed) std::rethrow_exception(spool.failed);
    try {
        if (!spool.file) {
            spool.file.emplace();
            if (const int err = spool.file->Create(logDirectory_)) {
                spool.file.reset();
                ThrowSpoolFailure("criar", logDirectory_, err);
            }
            spool.buffer.reserve(kBufferSize);
        }
        spool.buffer += text;
        spool.buffer += "\r\n";
        if (spool.buffer.size() < kBufferSize) return;
        if (const int err = spool.file->Write(spool.buffer.data(), spool.buffer.size()))
            ThrowSpoolFailure("gravar", logDirectory_, err);
        spool.buffer.clear();
    } catch (...) {
        spool.failed = std::current_exception();
        throw;
    }
}

void LogBlock::AppendToLog()
{
    Spool& spool = *spool_;
    if (spool.appended) return;
    // Whatever happens below, the block is never appended a second time.
    spool.appended = true;
    if (spool.failed) std::rethrow_exception(spool.failed);
    const std::string path = IntegrationLogPath(logDirectory_);
    if (!spool.file) {
        AppendToFile(path, "");
        return;
    }
    try {
        CopySpoolToLog(*spool.file, spool.buffer, logDirectory_, path);
    } catch (...) {
        spool.file.reset();
        throw;
    }
    // Closing the spool removes it at once.
    spool.file.reset();
}

}  // namespace ligamor
