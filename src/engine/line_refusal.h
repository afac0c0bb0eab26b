#pragma once
// Whether a line failed for its own data, which a technician can fix in the
// line, or for something around it (the connection, a lock, the disk), which
// must stop the cycle as it always has.
#include <exception>
#include <optional>
#include <string>

namespace ligamor {

// The refusal's text in one line, UTF-8, when the failure is the line's own:
// one of the records' checks, a value that cannot be converted, or the
// database refusing the statement for its values (a constraint, a conversion,
// a missing reference, a value that breaks the statement, a trigger's
// exception). Nothing for any other failure.
std::optional<std::string> LineRefusalReason(const std::exception_ptr& failure);

}  // namespace ligamor
