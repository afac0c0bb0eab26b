#pragma once
// What a record line is, and what must have gone in before it: a set-aside
// line holds back the later lines of its record and the records that need it
// (an item needs its pre-sale and its product, a pre-sale its customer).
#include <cstddef>
#include <string>
#include <vector>

namespace ligamor {

struct LineKeys {
    std::string own;                 // "o cliente 25"; empty when the line names no record
    std::vector<std::string> needs;  // "a pré-venda 70", "o produto 1001"
};

// The keys of a line of the record kind of that row (record_kinds.h), in UTF-8. Blanks around a code do not count;
// an empty code names nothing.
LineKeys KeysOfLine(std::size_t row, const std::string& line);

// "aguardando a pré-venda 70"
std::string WaitingFor(const std::string& key);

}  // namespace ligamor
