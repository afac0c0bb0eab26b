#pragma once
// The regional settings of a Windows locale by name, for the tests of the
// Windows clock.
#include "runtime/clock.h"

namespace ligamor {

// The date order of the locale's short date format (LOCALE_SSHORTDATE) and its
// date and time separators (LOCALE_SDATE, LOCALE_STIME), the user's own
// changes included for the user's default locale (nullptr). What the locale
// does not give, or gives as a blank or a character outside ASCII, stays as
// the Brazilian default.
RegionalSettings RegionalSettingsOfLocale(const wchar_t* localeName);

}  // namespace ligamor
