// What the firmware (application or boot loader) answers to one command
// line, after the echo that the line discipline has already sent.
#pragma once

#include <string>

namespace orlix::sim {

inline constexpr char kApplicationPrompt = '#';
inline constexpr char kBootLoaderPrompt = '$';
inline constexpr char kRejectPrompt = '!';

struct Response {
    std::string data; // data lines, each ended by CR LF
    char prompt = kApplicationPrompt;
    int workMs = 0; // time the command takes before the answer starts
};

// The answer to a line the firmware does not understand.
inline constexpr const char* kUnknownCommandLine = "?\r\n";

} // namespace orlix::sim
