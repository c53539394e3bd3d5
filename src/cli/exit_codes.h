// The exit codes of orlix6-cli: one per class of failure, the same for
// every command, so that a script can tell what went wrong without reading
// the message. The table is what --help and the README list.
#pragma once

#include <array>
#include <string_view>

namespace orlix::cli {

enum class ExitCode : int {
    Ok = 0,
    // The two data sets compared are not the same (not a failure).
    Differ = 1,
    Usage = 2,
    PortError = 3,
    NoAnswer = 4,
    WrongMode = 5,
    ImageRefused = 6,
    DownloadFailed = 7,
    FileError = 8,
    // 128 + the signal's number, as shells report a program a signal ended.
    Hangup = 129,
    Interrupted = 130,
    Terminated = 143,
};

struct ExitCodeRow {
    ExitCode code;
    std::string_view meaning;
};

inline constexpr std::array kExitCodes{
    ExitCodeRow{ExitCode::Ok, "success (ping: the unit runs the firmware expected; diff: the "
                              "data sets are the same)"},
    ExitCodeRow{ExitCode::Differ, "the data sets compared differ"},
    ExitCodeRow{ExitCode::Usage, "usage error: unknown command, option or value"},
    ExitCodeRow{ExitCode::PortError, "the serial port cannot be opened"},
    ExitCodeRow{ExitCode::NoAnswer, "no answer from the unit, or the line was lost part-way"},
    ExitCodeRow{ExitCode::WrongMode,
                "the unit is in the wrong mode (boot loader instead of application, or "
                "the other way round)"},
    ExitCodeRow{ExitCode::ImageRefused, "the firmware image was refused"},
    ExitCodeRow{ExitCode::DownloadFailed, "the firmware download failed part-way"},
    ExitCodeRow{ExitCode::FileError, "a file cannot be read or written"},
    ExitCodeRow{ExitCode::Hangup, "ended by SIGHUP (terminal closed)"},
    ExitCodeRow{ExitCode::Interrupted, "interrupted by Ctrl-C (SIGINT)"},
    ExitCodeRow{ExitCode::Terminated, "ended by SIGTERM"},
};

inline constexpr int toInt(ExitCode code) {
    return static_cast<int>(code);
}

// The code for a program that a signal ended.
ExitCode signalExitCode(int signalNumber);

} // namespace orlix::cli
