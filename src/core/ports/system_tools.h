// Port: what the help and About windows need of the system: starting
// another program, a value from the system registry, whether a file exists.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orlix {

class SystemTools {
public:
    virtual ~SystemTools() = default;
    // Starts the program of a command line ("program arguments"); false
    // when it could not be started.
    virtual bool startProgram(std::string_view commandLine) = 0;
    // A text value under the local-machine root; nothing where the system
    // has no such value (or no registry).
    virtual std::optional<std::string> registryValue(std::string_view key,
                                                     std::string_view name) = 0;
    virtual bool fileExists(std::string_view path) = 0;
};

} // namespace orlix
