// A record line of an input file: split into its operation and fields, the
// comma of a decimal number, and the keys that hold set-aside lines back.
#include <cstdint>
#include <string>

#include "engine/line_keys.h"
#include "engine/record_line.h"
#include "fuzz_support.h"
#include "runtime/text1252.h"

using namespace ligamor;

namespace {

std::vector<std::string> SplitAll(const std::string& text)
{
    std::vector<std::string> pieces(1);
    for (const char c : text) {
        if (c == '#') pieces.emplace_back();
        else pieces.back() += c;
    }
    return pieces;
}

// The rule as the header tells it: an "I" or "U" first opens an operation
// field; middle fields missing are empty, the last takes what follows the last
// "#"; fields past the n-th are ignored.
RecordLine Model(const std::string& line, std::size_t n)
{
    RecordLine model;
    std::vector<std::string> pieces = SplitAll(line);
    const bool operation = !line.empty() && (line[0] == 'I' || line[0] == 'U') && pieces.size() > 1;
    model.operation = operation ? pieces[0] : (!line.empty() && (line[0] == 'I' || line[0] == 'U') ? "" : "I");
    if (operation) pieces.erase(pieces.begin());
    for (std::size_t i = 0; i + 1 < n; ++i) model.fields.push_back(i + 1 < pieces.size() ? pieces[i] : "");
    if (n > 0) model.fields.push_back(pieces[std::min(n, pieces.size()) - 1]);
    return model;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::size_t n = data[0] % 16;
    const std::string line(reinterpret_cast<const char*>(data) + 1, size - 1);

    const RecordLine split = SplitRecordLine(line, n);
    const RecordLine model = Model(line, n);
    FUZZ_EXPECT(split.fields.size() == n);
    FUZZ_EXPECT(split.operation == model.operation);
    FUZZ_EXPECT(split.fields == model.fields);
    // A line with exactly its fields comes back whole from them.
    const bool operationField =
        !line.empty() && (line[0] == 'I' || line[0] == 'U') && line.find('#') != std::string::npos;
    std::string joined = operationField ? split.operation + "#" : "";
    for (std::size_t i = 0; i < n; ++i) joined += (i ? "#" : "") + split.fields[i];
    if (n > 0 && SplitAll(joined).size() == SplitAll(line).size()) FUZZ_EXPECT(joined == line);

    const std::string point = CommaToPoint(line);
    const std::size_t comma = line.find(',');
    FUZZ_EXPECT(point.size() == line.size());
    for (std::size_t i = 0; i < line.size(); ++i) FUZZ_EXPECT(point[i] == (i == comma ? '.' : line[i]));

    // The keys name records in the reasons, which are UTF-8.
    for (std::size_t row = 0; row < 4; ++row) {
        const LineKeys keys = KeysOfLine(row, line);
        FUZZ_EXPECT(Utf8Repaired(keys.own) == keys.own);
        for (const std::string& need : keys.needs) FUZZ_EXPECT(!need.empty() && Utf8Repaired(need) == need);
    }
    return 0;
}
