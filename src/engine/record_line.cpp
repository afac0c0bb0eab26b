#include "engine/record_line.h"

namespace ligamor {

namespace {

// Cuts the text before the first "#" off rest, together with the "#". Without
// a "#" the piece is empty and rest stays as it is.
std::string CutField(std::string& rest)
{
    std::size_t hash = rest.find('#');
    if (hash == std::string::npos) return {};
    std::string piece = rest.substr(0, hash);
    rest.erase(0, hash + 1);
    return piece;
}

}  // namespace

RecordLine SplitRecordLine(const std::string& line, std::size_t n)
{
    RecordLine result;
    std::string rest = line;
    if (!line.empty() && (line[0] == 'U' || line[0] == 'I'))
        result.operation = CutField(rest);
    else
        result.operation.assign(1, 'I');

    result.fields.reserve(n);
    for (std::size_t i = 0; i + 1 < n; ++i) result.fields.push_back(CutField(rest));
    if (n > 0) result.fields.push_back(rest.substr(0, rest.find('#')));
    return result;
}

std::string CommaToPoint(std::string text)
{
    std::size_t comma = text.find(',');
    if (comma != std::string::npos) text[comma] = '.';
    return text;
}

}  // namespace ligamor
