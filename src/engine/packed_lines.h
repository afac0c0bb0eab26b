#pragma once
// The lines of a file applied in one transaction, their statements run
// together a block at a time. What a shop sees stays what each line alone
// gives: the same statements, the same refusals with the same boxes and line
// numbers, the same lines set aside; only the round trips and the prepares
// are shared.
#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "db/statement_pack.h"
#include "engine/input_file_table.h"

namespace ligamor {

class FileTransaction;
class FileOnTrial;
class MessageGate;

// Measured (bench_file_transaction --block): the engine's compile of a block
// costs more per statement the longer the block, so that on the embedded
// engine 16 to 50 lines do best and 200 a third worse; on a server, fewer
// than 25 lines pay for their round trips. An update takes two of the
// engine's 256 contexts of a request: 50 stays far below.
inline constexpr std::size_t kLinesPerBlock = 50;

struct PackedFile {
    FileTransaction& transaction;
    const RecordProcessor& processor;
    const BlockQuestions* questions;  // none, or empty: each line asks its own
    std::size_t row;                  // the record kind's row
    FileOnTrial* setAside;            // RECUSADAS=SEPARAR; else none
    MessageGate& boxes;               // where a gathered line's boxes are held, then dropped
    std::size_t linesPerBlock;
    // A line applied on its own, by the rules of a line in the file's
    // transaction: its refusal stops the file, or sets it aside.
    std::function<void(std::size_t number, const std::string& line)> alone;
    // The log text of a line that went in with its block.
    std::function<void(std::string text)> applied;
};

class PackedLines {
public:
    explicit PackedLines(const PackedFile& file) : file_(file) {}

    // The next line of the file; a block runs when enough lines wait.
    void Add(std::size_t number, std::string line);
    // The file was read to its end: the lines still waiting run.
    void Finish();

private:
    struct Waiting {
        std::size_t number;
        std::string line;
    };
    struct Gathered {
        std::vector<std::string> texts;
        std::vector<bool> withStatement;
    };
    void Round();
    std::size_t BlockSize();
    void Ask(std::size_t size);
    void Gather(std::size_t size, Gathered& gathered);
    std::size_t RunBlock(std::size_t size);
    void RunAlone();

    PackedFile file_;
    std::deque<Waiting> waiting_;
    StatementPack pack_;
};

}  // namespace ligamor
