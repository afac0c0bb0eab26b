#pragma once
// Every front-end handler (window event, timer tick, menu command, the console
// loop) runs its work through RunHandler: the silent abort ends the handler
// quietly, any other failure ends it in the error report, and nothing escapes.
#include <functional>

#include "runtime/messages.h"

namespace ligamor {

// Returns true when the work ran to its end.
bool RunHandler(Messages& messages, const std::function<void()>& work);

}  // namespace ligamor
