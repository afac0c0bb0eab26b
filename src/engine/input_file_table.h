#pragma once
// The input files, one per record kind, in the one order every step of the
// cycle uses, each with the processor its lines go to.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "engine/record_kinds.h"
#include "transactions/record_context.h"

namespace ligamor {

// Takes one record line (without terminator) and gives its log text.
using RecordProcessor = std::function<std::string(const std::string& line)>;

// Asks the database at once, for a block of lines that name each record once,
// what their processors would ask line by line (whether their records exist).
using BlockQuestions = std::function<void(const std::vector<std::string>& lines)>;

struct InputFileRow {
    std::string fileName;     // "CLIENTE.TXT"
    RecordProcessor processor;
    std::string movedPrefix;  // "CLIENTE_"
    BlockQuestions questions{};  // none: each line asks its own
    // The context the processor's statements run in, handed each file's unit
    // of work; none: the processor does not reach the database.
    RecordContext* records = nullptr;
};

using InputFileTable = std::array<InputFileRow, kRecordKindCount>;

// The record kinds' files and prefixes, with the processors in the kinds' order.
InputFileTable MakeInputFileTable(std::array<RecordProcessor, kRecordKindCount> processors);

}  // namespace ligamor
