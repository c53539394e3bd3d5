// Waiting on the Qt event loop for a condition, for end-to-end tests and
// benchmarks that run the tool on real time. Header-only.
#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

namespace orlix::test {

// Runs the event loop until `done` holds or `ms` have passed; between two
// looks it sleeps in the loop instead of spinning.
inline bool waitFor(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) {
            return false;
        }
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

} // namespace orlix::test
