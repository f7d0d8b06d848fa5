#include "platform/EventWait.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace marlo {

bool waitWhileDispatching(const std::function<bool()>& condition, int timeoutMs) {
    if (condition()) {
        return true;
    }
    QEventLoop loop;
    QElapsedTimer elapsed;
    elapsed.start();
    // Polling keeps this independent of which notice makes the condition true.
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (condition() || elapsed.hasExpired(timeoutMs)) {
            loop.quit();
        }
    });
    poll.start();
    loop.exec();
    return condition();
}

}  // namespace marlo
