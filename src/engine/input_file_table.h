#pragma once
// The input files, one per record kind, in the one order every step of the
// cycle uses, each with the processor its lines go to.
#include <array>
#include <functional>
#include <string>

#include "engine/record_kinds.h"

namespace ligamor {

// Takes one record line (without terminator) and gives its log text.
using RecordProcessor = std::function<std::string(const std::string& line)>;

struct InputFileRow {
    std::string fileName;     // "CLIENTE.TXT"
    RecordProcessor processor;
    std::string movedPrefix;  // "CLIENTE_"
};

using InputFileTable = std::array<InputFileRow, kRecordKindCount>;

// The record kinds' files and prefixes, with the processors in the kinds' order.
InputFileTable MakeInputFileTable(std::array<RecordProcessor, kRecordKindCount> processors);

}  // namespace ligamor
