#include "core/log/visible_text.h"

#include <cstdio>

namespace orlix {

std::string visibleText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\r') {
            out += "<CR>";
        } else if (c == '\n') {
            out += "<LF>";
        } else if (u < 0x20 || u == 0x7f) {
            char code[8];
            std::snprintf(code, sizeof code, "<%02X>", u);
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace orlix
