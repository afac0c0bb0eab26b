#pragma once
// One line tried on its own, its boxes held until the outcome is known: what
// the line came to, whichever way its statements run.
#include <optional>
#include <string>

#include "db/file_transaction.h"
#include "engine/input_file_table.h"
#include "runtime/messages.h"

namespace ligamor {

// Its log text when it went in, or the reason it was refused for its own
// data, with its boxes dropped and all it did undone. Any other failure
// leaves with its boxes shown.
struct LineTried {
    std::optional<std::string> text;
    std::string reason;
};
// In a file's transaction (transaction given) the line runs behind a savepoint.
LineTried TryLine(HeldMessages& boxes, const RecordProcessor& processor, FileTransaction* transaction,
                  const std::string& line);

}  // namespace ligamor
