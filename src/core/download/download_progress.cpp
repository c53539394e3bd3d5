#include "core/download/download_progress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace orlix {

double percentDone(std::uint32_t sent, std::uint32_t total) {
    if (total == 0) {
        return 0;
    }
    return std::clamp(100.0 * static_cast<double>(sent) / static_cast<double>(total), 0.0, 100.0);
}

std::int64_t remainingSeconds(std::int64_t elapsedSeconds, std::uint32_t sent,
                              std::uint32_t total) {
    double estimate = static_cast<double>(kFirstEstimateSeconds);
    if (sent > 0 && total > 0) {
        const double done = static_cast<double>(sent) / static_cast<double>(total);
        estimate = static_cast<double>(elapsedSeconds) / std::min(done, 1.0);
    }
    const double remaining = estimate - static_cast<double>(elapsedSeconds);
    return std::max<std::int64_t>(0, std::llround(remaining));
}

std::string minutesAndSeconds(std::int64_t seconds) {
    seconds = std::max<std::int64_t>(0, seconds);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld:%02lld", static_cast<long long>(seconds / 60),
                  static_cast<long long>(seconds % 60));
    return buf;
}

std::string timeRemainingCaption(std::int64_t seconds) {
    return "Time Remaining: " + minutesAndSeconds(seconds);
}

std::string oneDecimal(double value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", value);
    return buf;
}

} // namespace orlix
