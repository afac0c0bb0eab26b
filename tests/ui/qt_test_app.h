#pragma once
// The QApplication the UI tests share, and a way to act on a modal window
// (a dialog or a message box) from inside its own event loop.
#include <QApplication>
#include <functional>

namespace ligamor::test {

QApplication& TestApp();

// Runs action on the next modal window once its event loop is running.
void OnNextModal(std::function<void(QWidget*)> action);

}  // namespace ligamor::test
