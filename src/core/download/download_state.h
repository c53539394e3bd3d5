// State of a firmware download that other parts read: the comm log stops
// echoing from the fifth record on, and the keep-alive waits longer.
#pragma once

#include <cstdint>
#include <string>

namespace orlix {

struct DownloadState {
    bool DownloadActive = false;
    std::int16_t DownloadRecordCount = 0;
    std::int16_t RecordRetries = 0;
    std::int16_t RecordRetryLimit = 5;
    std::int16_t DownloadKeepAliveMs = 7000;

    bool echoSuppressed() const { return DownloadActive && DownloadRecordCount >= 5; }
};

} // namespace orlix
