// Firmware version texts such as "2.24": the number the unit's own code
// branches on (version times 100) and the generation whose reply layouts
// it uses.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orlix::sim {

struct FirmwareVersion {
    std::string text;       // "2.24"
    int code = 0;           // 224
    int generation() const; // 1, 2 or 3 (a major number above 3 answers as 3)
    bool is224() const { return code == 224; }
};

// Reads "major.minor" with one or two minor digits ("1.5" is 1.50). Returns
// nothing for anything else, and for a major number of 0.
std::optional<FirmwareVersion> parseFirmwareVersion(std::string_view text);

// The first "V d.dd" text inside a firmware image, the way the firmware
// prints its own version; nothing when the image carries none.
std::optional<FirmwareVersion> findVersionInImage(std::string_view image);

} // namespace orlix::sim
