// The arithmetic of the progress window: percent done, the time estimate
// and the texts that show them. Pure functions of counts and seconds.
//
// The estimate starts at 3540 s (59 minutes) until the first record's
// characters are counted, then scales the time so far by the share of the
// image's characters already sent.
#pragma once

#include <cstdint>
#include <string>

namespace orlix {

inline constexpr std::int64_t kFirstEstimateSeconds = 3540;

// Percent of `total` characters sent, as a fraction, never above 100.
double percentDone(std::uint32_t sent, std::uint32_t total);

// Seconds left, rounded, never negative: the estimate (3540 s while
// nothing is counted yet, else elapsed / share done) less the elapsed time.
std::int64_t remainingSeconds(std::int64_t elapsedSeconds, std::uint32_t sent, std::uint32_t total);

// "58:55", "1:00", "0:07": whole minutes, then the seconds in two digits.
std::string minutesAndSeconds(std::int64_t seconds);

// "Time Remaining: 58:55".
std::string timeRemainingCaption(std::int64_t seconds);

// "12.5": one decimal.
std::string oneDecimal(double value);

} // namespace orlix
