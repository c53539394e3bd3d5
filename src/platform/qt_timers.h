// Timers and the clock on Qt: one precise QTimer per TimerId; a tick is
// handed to core with its id.
#pragma once

#include "core/ports/clock.h"
#include "core/ports/timers.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>

namespace orlix::platform {

class QtTimers : public QObject, public Timers {
    Q_OBJECT
public:
    using TickHandler = std::function<void(TimerId)>;

    explicit QtTimers(QObject* parent = nullptr);
    void setTickHandler(TickHandler handler) { m_onTick = std::move(handler); }

    void start(TimerId id, int intervalMs) override;
    void stop(TimerId id) override;

private:
    std::array<std::unique_ptr<QTimer>, kTimerCount> m_timers;
    TickHandler m_onTick;
};

class QtClock : public Clock {
public:
    QtClock() { m_elapsed.start(); }
    std::int64_t nowMs() const override { return m_elapsed.elapsed(); }
    // Cheap enough to stamp every line of a flood: the local date and time
    // of day are worked out once per second, the milliseconds each time.
    DateTime localNow() const override;

private:
    QElapsedTimer m_elapsed;
    mutable qint64 m_cachedSecond = -1;
    mutable DateTime m_cached;
};

} // namespace orlix::platform
