#pragma once
// The log texts of one input file, kept out of memory until the file is
// committed: a file of a million lines must not cost its log block in memory.
// The block reaches the log only after the commit, and only once.
//
// The texts wait in a spool file in the log directory itself (they hold
// customers' data: the log's directory, never the system's temporary folder),
// a file without a name that only this program can open and that is gone when
// the block is, appended or not, even when the program dies (spool_file.h).
// Two programs sharing one log directory each have their own.
#include <string>

namespace ligamor {

class LogBlock {
public:
    // Nothing is written before the first text.
    explicit LogBlock(const std::string& logDirectory);
    // Drops the texts not appended.
    ~LogBlock();
    LogBlock(const LogBlock&) = delete;
    LogBlock& operator=(const LogBlock&) = delete;

    // One line's text, in the order of the lines. The first one makes the
    // spool; texts reach it 64 KiB at a time. A spool that cannot be made or
    // written raises IoFailure with the system's code and
    // "Não foi possível criar|gravar o arquivo temporário do log no diretório
    // \"<dir>\": <reason>", a failure of the disk, never of the line: the
    // cycle stops as for any such failure (the file's transaction rolls back,
    // the file stays), and the block is never appended: AppendToLog raises the
    // same failure. A text after AppendToLog is a mistake: std::logic_error.
    void Add(const std::string& text);
    // After the commit: the texts, each followed by CR LF, appended to the
    // integration log; with none, the log is still created when missing.
    // Once only: a second call appends nothing, also after a failure.
    // The log is opened once per piece of at most 1 MiB, cut after a line's
    // CR LF, and raises as AppendToFile does; the lines appended before a
    // failure stay, as they did when each text was appended on its own. A
    // spool that cannot be read back whole raises IoFailure "Não foi possível
    // ler o arquivo temporário do log ...", never appends less in silence.
    void AppendToLog();

private:
    struct Spool;
    std::string logDirectory_;
    Spool* spool_ = nullptr;
};

}  // namespace ligamor
