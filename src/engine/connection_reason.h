#pragma once
// Why activation could not connect, as the service and the health tell it:
// the client's text, and where a setting of the shop's is the cause, what
// to change.
#include <exception>
#include <string>

namespace ligamor {

// The failure's text (Windows-1252). With SERVIDOR=LOCAL on a database that
// a Firebird server of the computer holds open, the embedded engine is
// refused the file ("incompatible with current"): a line follows that names
// the fix, SERVIDOR=localhost or the server's name.
std::string ConnectionFailureReason(const std::string& server, const std::exception& failure);

// That line, Windows-1252.
std::string LocalBesideServerAdvice();

}  // namespace ligamor
