// Shows a line with its control characters spelled out, for notices in the
// comm log ("da<CR><LF>").
#pragma once

#include <string>
#include <string_view>

namespace orlix {

std::string visibleText(std::string_view text);

} // namespace orlix
