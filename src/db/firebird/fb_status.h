#pragma once
// Turns the client library's status vector into the failure the user sees.
#include <list>
#include <string>
#include <vector>

#include "runtime/failures.h"
#include "db/firebird/fb_client.h"

namespace ligamor {

// The call failed: status[0] == 1 and status[1] > 0.
bool FbStatusIsError(const ISC_STATUS* status);

// "ISC ERROR CODE:<code>" CR LF, CR LF, "ISC ERROR MESSAGE:" CR LF, then each
// message line trimmed (a line repeated back to back kept once) with CR LF,
// cut to 255 characters. For an exception defined in the database (SQL code
// -836) only the exception's own message line.
DatabaseFailure FbStatusFailure(FbApi& api, const ISC_STATUS* status);

// The status vector of a statement that failed inside an EXECUTE BLOCK, as
// the statement alone fails: the block's "At block line: ..." lines dropped
// from the trace (a trigger's stay), and the trace with them when nothing
// else is left. The vector points into the original's texts: valid while it is.
struct FbStatusCopy {
    std::vector<ISC_STATUS> words;
    std::list<std::string> texts;  // nodes stay put when the copy moves
    const ISC_STATUS* data() const { return words.data(); }
};
FbStatusCopy FbWithoutBlockTrace(const ISC_STATUS* status);

// Raises FbStatusFailure when the status vector holds an error.
void FbCheck(FbApi& api, const ISC_STATUS* status);

}  // namespace ligamor
