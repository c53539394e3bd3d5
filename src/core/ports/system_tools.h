// Port: what the help and About windows need of the system: starting
// another program, a value from the system registry, whether a file
// exists, and the tool's own manual and system information windows, which
// stand in where the system has no help viewer or information tool.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orlix {

class SystemTools {
public:
    virtual ~SystemTools() = default;
    // Starts `program` (one path, blanks and all) with its arguments; false
    // when it could not be started.
    virtual bool startProgram(std::string_view program,
                              const std::vector<std::string>& arguments) = 0;
    // A text value under the local-machine root; nothing where the system
    // has no such value (or no registry).
    virtual std::optional<std::string> registryValue(std::string_view key,
                                                     std::string_view name) = 0;
    virtual bool fileExists(std::string_view path) = 0;
    // The manual that comes with the tool, in a window of the tool's own;
    // false when it cannot be shown.
    virtual bool showManual() = 0;
    // What the tool can tell about this system (for a support request), in
    // a window of its own; false when it cannot be shown.
    virtual bool showSystemInfo() = 0;
};

} // namespace orlix
