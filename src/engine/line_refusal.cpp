#include "engine/line_refusal.h"

#include <algorithm>
#include <array>

#include "runtime/blanks.h"
#include "runtime/failures.h"
#include "runtime/text1252.h"

namespace ligamor {

namespace {

// The server's codes for a statement refused for what it carries.
constexpr std::array<long, 17> kLineDataCodes = {
    335544665,  // isc_unique_key_violation
    335544349,  // isc_no_dup
    335544466,  // isc_foreign_key
    335544838,  // isc_foreign_key_target_doesnt_exist
    335544347,  // isc_not_valid
    335544879,  // isc_not_valid_for_var
    335544880,  // isc_not_valid_for
    335544558,  // isc_check_constraint
    335544334,  // isc_convert_error
    335544321,  // isc_arith_except
    335544914,  // isc_string_truncation
    335544916,  // isc_numeric_out_of_range
    335544634,  // isc_dsql_token_unk_err: an empty number leaves a gap in the statement
    335544851,  // isc_command_end_err2
    335544517,  // isc_except
    335544848,  // isc_except2
    335544779,  // isc_exception_integer_overflow
};

// A conflict with another transaction passes when that one ends: never the
// line's fault, even when the server names a constraint beside it.
constexpr std::array<long, 3> kPassingCodes = {
    335544345,  // isc_lock_conflict
    335544336,  // isc_deadlock
    335544451,  // isc_update_conflict
};

template <std::size_t N>
bool AnyOf(const std::vector<long>& codes, const std::array<long, N>& wanted)
{
    return std::any_of(codes.begin(), codes.end(),
                       [&](long c) { return std::find(wanted.begin(), wanted.end(), c) != wanted.end(); });
}

// The text without the server's code header, in one line.
std::string RefusalText(const std::string& cp1252)
{
    std::string text = Utf8FromCp1252(cp1252);
    const std::string header = "ISC ERROR MESSAGE:";
    if (const std::size_t at = text.find(header); at != std::string::npos) text = text.substr(at + header.size());
    return TrimBlanks(InOneLine(text));
}

}  // namespace

std::optional<std::string> LineRefusalReason(const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const RecordRefused& refused) {
        return RefusalText(refused.text);
    } catch (const ConversionFailure& f) {
        return RefusalText(f.Message());
    } catch (const DatabaseFailure& f) {
        const std::vector<long>& codes = f.AllCodes();
        if (AnyOf(codes, kLineDataCodes) && !AnyOf(codes, kPassingCodes))
            return "recusada pelo banco de dados: " + RefusalText(f.Message());
        return std::nullopt;
    } catch (...) {
        return std::nullopt;
    }
}

}  // namespace ligamor
