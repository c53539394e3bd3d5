#include "platform/qt_timers.h"

#include <QDateTime>

namespace orlix::platform {

QtTimers::QtTimers(QObject* parent) : QObject(parent) {
    for (std::size_t i = 0; i < kTimerCount; ++i) {
        auto timer = std::make_unique<QTimer>(this);
        // The protocol's timings are part of its contract.
        timer->setTimerType(Qt::PreciseTimer);
        const auto id = static_cast<TimerId>(i);
        connect(timer.get(), &QTimer::timeout, this, [this, id] {
            if (m_onTick) {
                m_onTick(id);
            }
        });
        m_timers[i] = std::move(timer);
    }
}

void QtTimers::start(TimerId id, int intervalMs) {
    m_timers[static_cast<std::size_t>(id)]->start(intervalMs < 1 ? 1 : intervalMs);
}

void QtTimers::stop(TimerId id) {
    m_timers[static_cast<std::size_t>(id)]->stop();
}

DateTime QtClock::localNow() const {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return DateTime{d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec()};
}

} // namespace orlix::platform
