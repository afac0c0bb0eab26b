#pragma once
// The line format shared by the four input files: an optional operation field,
// then "#"-separated data fields.
#include <cstddef>
#include <string>
#include <vector>

namespace ligamor {

struct RecordLine {
    std::string operation;            // "I", "U", or whatever the line carries
    std::vector<std::string> fields;  // exactly n data fields, F1 at index 0
};

// Operation and the n data fields of a line. A line whose first character is
// neither "I" nor "U" has the operation "I" and no operation field; a line
// with too few separators leaves middle fields empty and puts the text after
// its last "#" into the last field; anything after the n-th field is ignored.
RecordLine SplitRecordLine(const std::string& line, std::size_t n);

// The first "," replaced by "."; every other character unchanged.
std::string CommaToPoint(std::string text);

}  // namespace ligamor
