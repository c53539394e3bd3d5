// Starting other programs, the registry and file tests, on Qt. Has no
// windows of its own: the windows layer adds the manual and the system
// information window.
#pragma once

#include "core/ports/system_tools.h"

namespace orlix::platform {

class QtSystemTools : public SystemTools {
public:
    bool startProgram(std::string_view program, const std::vector<std::string>& arguments) override;
    std::optional<std::string> registryValue(std::string_view key, std::string_view name) override;
    bool fileExists(std::string_view path) override;
    bool showManual() override { return false; }
    bool showSystemInfo() override { return false; }
};

} // namespace orlix::platform
