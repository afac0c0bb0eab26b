#pragma once
// Reading what the client library hands back: fetched columns as the lookups
// need them, and the integers of its information buffers.
#include <string>

#include "db/firebird/fb_client.h"

namespace ligamor {

bool FbColumnIsNull(const XSQLVAR& column);

// NULL gives ""; integers their decimal digits; NUMERIC and DECIMAL their exact
// value with the column's scale ("1500.00"); CHAR and VARCHAR their bytes
// unchanged (CHAR keeps its blank padding); DATE "yyyy-mm-dd", TIME
// "hh:mm:ss", TIMESTAMP both with a blank between.
std::string FbColumnText(const XSQLVAR& column);

// NULL gives 0; a text blank after trimming gives 0, otherwise its integer
// value, or InvalidInteger when it has none; a scaled number is rounded.
long long FbColumnInteger(const XSQLVAR& column);

// The little-endian integer of length bytes in an information buffer.
int FbVaxInteger(const char* bytes, int length);

// The scaled integer as exact decimal text: (150000, -2) gives "1500.00".
std::string FbScaledText(long long value, int scale);

}  // namespace ligamor
