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
    const qint64 ms = QDateTime::currentMSecsSinceEpoch();
    const qint64 second = ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
    if (second != m_cachedSecond) {
        const QDateTime now = QDateTime::fromMSecsSinceEpoch(second * 1000);
        const QDate d = now.date();
        const QTime t = now.time();
        m_cached = DateTime{d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), 0};
        m_cachedSecond = second;
    }
    DateTime result = m_cached;
    result.millisecond = static_cast<int>(ms - second * 1000);
    return result;
}

} // namespace orlix::platform
