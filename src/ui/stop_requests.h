#pragma once
// SIGTERM and SIGINT (kill, a session or service manager ending the program)
// close the window as "&Fechar" does: a running cycle stops after its current
// line first. Without this the Firebird client's own handler would take the
// signal, shut its engine down under a running cycle and leave the window up.
#include <QWidget>

#include <chrono>

#include "runtime/service_events.h"

namespace ligamor {

// Looks for a stop request every `every` while the event loop runs (also
// between the lines of a cycle) and closes window once one came.
void CloseOnStopRequest(QWidget& window, const ServiceEvents& requests,
                        std::chrono::milliseconds every = std::chrono::milliseconds(200));

}  // namespace ligamor
