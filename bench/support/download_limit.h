// The protocol's limit on a firmware download at 19200 baud, ten bits a
// character, for the download benchmarks.
//
// Per record: the 100 ms pause before each write, then the line time that
// cannot overlap. The unit echoes each character as it arrives, so while
// the record and its CR go out the echo comes back one character behind;
// the prompt arrives three characters (the echoed CR LF and the prompt)
// after the CR. The unit's own work (its reply delay) adds to it. The plain
// reckoning has the record go out, then its echo, CR LF, prompt and CR LF
// come back, one after the other.
#pragma once

#include <string>
#include <vector>

namespace orlix::bench {

inline constexpr double kCharSeconds = 10.0 / 19200.0;
inline constexpr double kPauseSeconds = 0.100;

inline double downloadLimitSeconds(const std::vector<std::string>& records,
                                   double workSeconds = 0) {
    double seconds = 0;
    for (const auto& r : records) {
        seconds +=
            kPauseSeconds + (static_cast<double>(r.size()) + 1 + 3) * kCharSeconds + workSeconds;
    }
    return seconds;
}

inline double plainDownloadLimitSeconds(const std::vector<std::string>& records) {
    double seconds = 0;
    for (const auto& r : records) {
        const double chars = static_cast<double>(r.size());
        seconds += kPauseSeconds + ((chars + 2) + (chars + 2 + 1 + 2)) * kCharSeconds;
    }
    return seconds;
}

} // namespace orlix::bench
