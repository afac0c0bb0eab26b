#include "qt_test_app.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace ligamor::test {

QApplication& TestApp()
{
    static int argc = 1;
    static char name[] = "ligamor";
    static char* argv[] = {name, nullptr};
    // Never destroyed: at exit Qt's own statics may already be gone.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

namespace {

void Poll(std::function<void(QWidget*)> action, int triesLeft)
{
    QTimer::singleShot(0, [action = std::move(action), triesLeft]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            action(modal);
        } else if (triesLeft > 0) {
            Poll(std::move(action), triesLeft - 1);
        } else {
            ADD_FAILURE() << "no modal window appeared";
        }
    });
}

}  // namespace

void OnNextModal(std::function<void(QWidget*)> action)
{
    Poll(std::move(action), 1000);
}

}  // namespace ligamor::test
