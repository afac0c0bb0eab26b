#pragma once
// The four input files in the one order every step of the cycle uses.
#include <array>
#include <functional>
#include <string>

namespace ligamor {

// Takes one record line (without terminator) and gives its log text.
using RecordProcessor = std::function<std::string(const std::string& line)>;

struct InputFileRow {
    std::string fileName;     // "CLIENTE.TXT"
    RecordProcessor processor;
    std::string movedPrefix;  // "CLIENTE_"
};

using InputFileTable = std::array<InputFileRow, 4>;

// CLIENTE.TXT, PRODUTO.TXT, PREVENDA.TXT, ITEMPREVENDA.TXT with their prefixes.
InputFileTable MakeInputFileTable(RecordProcessor cliente, RecordProcessor produto, RecordProcessor prevenda,
                                  RecordProcessor itemPrevenda);

}  // namespace ligamor
