// The values pasted into statements: a quoted text can never end early, so a
// value never runs as SQL, and gives back the value; a value written without
// quotes is one numeric literal, as a simple model reads it, or refused.
#include <cstdint>
#include <string>

#include "db/sql_values.h"
#include "fuzz_support.h"
#include "runtime/text1252.h"

using namespace ligamor;

namespace {

// Blanks, a sign, digits with at most one point (one digit at least), blanks.
bool ModelNumeric(const std::string& v)
{
    std::size_t first = v.find_first_not_of(' '), last = v.find_last_not_of(' ');
    if (first == std::string::npos) return false;
    std::string core = v.substr(first, last - first + 1);
    if (core[0] == '+' || core[0] == '-') core.erase(0, 1);
    int digits = 0, points = 0;
    for (const char c : core) {
        if (c >= '0' && c <= '9') ++digits;
        else if (c == '.') ++points;
        else return false;
    }
    return digits > 0 && points <= 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string value(reinterpret_cast<const char*>(data), size);

    // Read as the database reads a literal: two quotes are one, the first
    // lone quote ends it.
    const std::string quoted = QuotedText(value);
    FUZZ_EXPECT(quoted.size() >= 2 && quoted.front() == '\'' && quoted.back() == '\'');
    std::string read;
    std::size_t i = 1;
    for (; i < quoted.size(); ++i) {
        if (quoted[i] != '\'') {
            read += quoted[i];
        } else if (i + 1 < quoted.size() && quoted[i + 1] == '\'') {
            read += '\'';
            ++i;
        } else {
            break;
        }
    }
    FUZZ_EXPECT(i == quoted.size() - 1);
    FUZZ_EXPECT(read == value);
    FUZZ_EXPECT(DoubledQuotes(value) == quoted.substr(1, quoted.size() - 2));

    const bool numeric = IsNumericLiteral(value);
    FUZZ_EXPECT(numeric == ModelNumeric(value));
    if (numeric) FUZZ_EXPECT(value.find_first_not_of(" +-.0123456789") == std::string::npos);
    const bool accepted = value.empty() || numeric;
    try {
        FUZZ_EXPECT(&Numeric(value) == &value);
        FUZZ_EXPECT(accepted);
    } catch (const ConversionFailure& f) {
        FUZZ_EXPECT(!accepted);
        const std::string message = "'" + value + Cp1252("' não é um valor numérico válido");
        FUZZ_EXPECT(f.Message() == message);  // whole, a NUL byte included
    }
    const std::string empty, one = "1";
    FUZZ_EXPECT(FirstNotNumeric({&one, &value, &empty}) == (accepted ? nullptr : &value));
    return 0;
}
