#pragma once
// Turns the client library's status vector into the failure the user sees.
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

// Raises FbStatusFailure when the status vector holds an error.
void FbCheck(FbApi& api, const ISC_STATUS* status);

}  // namespace ligamor
