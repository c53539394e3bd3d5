// Version replies: DE (EPROM version) and DF (firmware version). The data
// file reader feeds stored versions through the same handlers.
//
// DF also sets FirmwareVersionCode, the version times 100, which picks the
// analog and N-group reply layouts.
#include "core/protocol/reply_handlers.h"
#include "core/protocol/text_helpers.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <system_error>

namespace orlix {

namespace {

constexpr std::string_view kVersionPrefix = "V ";

// The version after the first upper-case "V" and the character after it,
// cut at its first line end and without trailing non-digits. nullopt when
// the reply is to be ignored: it holds "!" (the unit asks for a repeat),
// holds no "V", or (DF) does not start with "V".
std::optional<std::string> versionText(std::string_view body, bool mustStartWithV) {
    if (Contains(body, "!")) {
        return std::nullopt;
    }
    if (mustStartWithV && FirstUpper(SkipWhiteSpace(body)) != 'V') {
        return std::nullopt;
    }
    const auto v = body.find('V');
    if (v == std::string_view::npos) {
        return std::nullopt;
    }
    // A line break inside the version would break the data file's lines;
    // the text is made storable before its trailing non-digits go, so that a
    // version read back from a file is the version that was written.
    std::string version = storableText(CutAtLineEnd(DropFront(body, v + 2)));
    while (!version.empty() &&
           !IsDecimalDigit(std::string_view(version).substr(version.size() - 1))) {
        version.pop_back();
    }
    return version;
}

} // namespace

std::int16_t VersionCode(std::string_view versionText) {
    std::size_t intEnd = 0;
    while (intEnd < versionText.size() && IsDecimalDigit(versionText.substr(intEnd, 1))) {
        ++intEnd;
    }
    if (intEnd == 0) {
        return 0; // not a number: the generation is unknown
    }
    std::size_t fracEnd = intEnd;
    if (intEnd < versionText.size() && versionText[intEnd] == '.') {
        ++fracEnd;
        while (fracEnd < versionText.size() && IsDecimalDigit(versionText.substr(fracEnd, 1))) {
            ++fracEnd;
        }
    }
    const std::string_view number = versionText.substr(0, fracEnd);
    float version = 0.0f;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), version,
                                        std::chars_format::fixed);
    if (result.ec != std::errc{}) {
        return 0;
    }
    // The single-precision value times 100, plus 0.4 so that 1.39 (just
    // below 1.39 in single precision, 138.99999... times 100) gives 139.
    const double code = std::floor(static_cast<double>(version) * 100.0 + 0.4);
    if (!std::isfinite(code) || !FitsInt16(code)) {
        return 0;
    }
    return static_cast<std::int16_t>(code);
}

void EpromVersionReply(ReplyContext& ctx, std::string_view body) {
    const auto version = versionText(body, false);
    if (!version) {
        return;
    }
    const std::string text = std::string(kVersionPrefix) + *version;
    ctx.events.epromVersionLabel(text);
    ctx.data.RomVersion = text;
}

void FirmwareVersionReply(ReplyContext& ctx, std::string_view body) {
    const auto version = versionText(body, true);
    if (!version) {
        return;
    }
    const std::string text = std::string(kVersionPrefix) + *version;
    ctx.events.firmwareVersionLabel(text);
    ctx.data.FirmwareVersion = text;
    ctx.data.FirmwareVersionCode = VersionCode(*version);
    ctx.show("lblFlashVersion.Caption", text);
}

} // namespace orlix
