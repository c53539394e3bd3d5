// Starting other programs, the registry and file tests, on Qt.
#pragma once

#include "core/ports/system_tools.h"

namespace orlix::platform {

class QtSystemTools : public SystemTools {
public:
    bool startProgram(std::string_view commandLine) override;
    std::optional<std::string> registryValue(std::string_view key, std::string_view name) override;
    bool fileExists(std::string_view path) override;
};

} // namespace orlix::platform
