#include "engine/line_trial.h"

#include "engine/line_refusal.h"

namespace ligamor {

LineTried TryLine(HeldMessages& boxes, const RecordProcessor& processor, FileTransaction* transaction,
                  const std::string& line)
{
    // In one transaction the savepoint is part of the trial: a connection
    // lost there ends it as any failure that is not the line's own.
    std::optional<LineSavepoint> savepoint;
    try {
        if (transaction) savepoint.emplace(*transaction);
        LineTried tried{processor(line), {}};
        if (savepoint) savepoint->Release();
        return tried;
    } catch (...) {
        const std::optional<std::string> reason = LineRefusalReason(std::current_exception());
        if (!reason) throw;
        boxes.Drop();
        // A refused statement already went back to the savepoint; a failure
        // elsewhere in the line (a lookup) did not.
        if (savepoint) savepoint->Undo();
        return {std::nullopt, *reason};
    }
}

}  // namespace ligamor
