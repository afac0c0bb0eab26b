#include "ui/stop_requests.h"

#include <QTimer>

namespace ligamor {

void CloseOnStopRequest(QWidget& window, const ServiceEvents& requests, std::chrono::milliseconds every)
{
    auto* watch = new QTimer(&window);
    watch->setInterval(static_cast<int>(every.count()));
    QObject::connect(watch, &QTimer::timeout, &window, [watch, &window, &requests] {
        if (!requests.StopRequested()) return;
        watch->stop();
        window.close();
    });
    watch->start();
}

}  // namespace ligamor
