#pragma once
// The lines of a file applied in one transaction, their statements run
// together a block at a time. What a shop sees stays what each line alone
// gives: the same statements, each run once, the same refusals with the same
// boxes and line numbers, the same lines set aside; only the round trips and
// the prepares are shared.
#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "db/statement_pack.h"
#include "engine/file_lines.h"
#include "engine/input_file_table.h"
#include "runtime/messages.h"
#include "transactions/record_context.h"

namespace ligamor {

struct PackedFile {
    FileLines& lines;                 // in the file's transaction
    const BlockQuestions* questions;  // none, or empty: each line asks its own
    std::size_t row;                  // the record kind's row
    MessageGate& boxes;               // where a gathered line's boxes are held, then dropped
    std::size_t linesPerBlock;
    RecordContext& records;           // handed the block's unit of work while its lines are gathered
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
    void RunAlone(std::size_t index);

    PackedFile file_;
    std::deque<Waiting> waiting_;
    StatementPack pack_;
};

}  // namespace ligamor
