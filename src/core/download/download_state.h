// State of a firmware download that other parts read: the comm log stops
// echoing from the fifth record on, the link leaves the mode alone while a
// download runs. Only the download's own steps change it.
#pragma once

#include <cstdint>

namespace orlix {

struct DownloadState {
    bool DownloadActive = false;
    // The number of the record on the wire, from 1; 32 bits, since an image
    // of the largest size holds far more than 32767 records.
    std::int32_t DownloadRecordCount = 0;
    std::int16_t RecordRetries = 0;
    std::int16_t RecordRetryLimit = 5;
    std::int16_t DownloadKeepAliveMs = 7000;

    bool echoSuppressed() const { return DownloadActive && DownloadRecordCount >= 5; }
};

} // namespace orlix
