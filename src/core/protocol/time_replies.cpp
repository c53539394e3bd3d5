// Running totals and properties: operating time and cycles (DT, DU), sync
// frequencies (DV), model type bits (DW) and capability bits (DX).
#include "core/protocol/number_format.h"
#include "core/protocol/reply_handlers.h"
#include "core/protocol/text_helpers.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace orlix {

namespace {

constexpr std::int32_t kSecondsPerMinute = 60;
constexpr std::int32_t kMinutesPerHour = 60;
constexpr std::int32_t kHoursPerDay = 24;
constexpr double kFrequencyMax = 300;
constexpr double kHsyncScale = 1.024;

struct Time {
    std::int32_t days = 0, hours = 0, minutes = 0, seconds = 0;
};

// One "days,hours,minutes,seconds" line. A missing number reads -1 and the
// text is not moved past it, so the next field reads the same place.
Time readTime(std::string_view& s) {
    Time t;
    t.days = ParseNumber(s);
    if (t.days >= 0) {
        s = AfterComma(s);
    }
    t.hours = ParseNumber(s);
    if (t.hours >= 0) {
        s = AfterComma(s);
    }
    t.minutes = ParseNumber(s);
    if (t.minutes >= 0) {
        s = AfterComma(s);
    }
    t.seconds = ParseNumber(s);
    if (t.seconds >= 0) {
        s = AfterLineFeed(s);
    }
    s = SkipWhiteSpace(s);
    return t;
}

// A value of at least one `unit` is reduced below it; returns how many
// units were taken off (the carry into the next field).
std::int32_t carry(std::int32_t& value, std::int32_t unit) {
    if (value < unit) {
        return 0;
    }
    const std::int32_t carried = value / unit;
    value %= unit;
    return carried;
}

// Adds in 32 bits, so that no sum overflows; whether each field of the total
// fits the unit's 16-bit fields is for the caller to check.
Time addTimes(Time a, const Time& b) {
    Time sum;
    sum.seconds = a.seconds + b.seconds;
    a.minutes += carry(sum.seconds, kSecondsPerMinute);
    sum.minutes = a.minutes + b.minutes;
    a.hours += carry(sum.minutes, kMinutesPerHour);
    sum.hours = b.hours + a.hours;
    a.days += carry(sum.hours, kHoursPerDay);
    sum.days = a.days + b.days;
    return sum;
}

// A field that reads -1 was missing and none can be negative: such a time
// is unreadable, not a time.
bool readable(const Time& t) {
    return t.days >= 0 && t.hours >= 0 && t.minutes >= 0 && t.seconds >= 0;
}

bool fits(const Time& t) {
    return FitsInt16(std::int64_t{t.days}) && FitsInt16(std::int64_t{t.hours}) &&
           FitsInt16(std::int64_t{t.minutes}) && FitsInt16(std::int64_t{t.seconds});
}

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A number text as written by FormatGeneral, exponent form included.
double readGeneral(std::string_view text) {
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc{} ? value : 0.0;
}

struct ModelTypeBit {
    std::int32_t bit;
    std::string_view set;
    std::string_view clear;
};

constexpr ModelTypeBit kModelTypeBits[] = {
    {32, "BIT_Enabled_opt", "BIT_Disabled_opt"},
    {16, "Terabit_Commands_Enabled_Opt", "Terabit_Commands_Disabled_Opt"},
    {8, "MonochromeOption", "ColorOption"},
    {4, "DacUpdatingEnabledOptionButton", "DACUpdatingDisabledOptionButton"},
    {2, "UserBrightnessDisabledOption", "UserBrightnessEnabledOption"},
    {1, "UserContrastDisabledOption", "UserContrastEnabledOption"},
};

} // namespace

void OperatingTimeReply(ReplyContext& ctx, std::string_view body) {
    std::string_view s = SkipWhiteSpace(body);
    const Time first = readTime(s);
    const Time second = readTime(s);
    const Time total = addTimes(first, second);
    // The cycle count is a 32-bit number: no cap at 6553x.
    const std::int32_t cycles = ParseWideNumber(s);

    // An unreadable reply (noise where the numbers should be, the boot
    // loader's "?") keeps both previous texts: past an unreadable time the
    // count is not where the layout puts it either.
    if (!readable(first) || !readable(second)) {
        return;
    }
    // A time whose fields do not fit 16 bits keeps the previous text.
    if (fits(total)) {
        ctx.data.OperatingHours =
            FormatNumber(total.days, "0") + ":" + FormatNumber(total.hours, "00") + ":" +
            FormatNumber(total.minutes, "00") + ":" + FormatNumber(total.seconds, "00");
        ctx.show("lblOperatingTimeValue.Caption", ctx.data.OperatingHours);
        ctx.show("OperatingDaysTextBox.Text", FormatNumber(total.days, "0"));
        ctx.show("OperatingHoursTextBox.Text", FormatNumber(total.hours, "0"));
        ctx.show("OperatingMinutesTextBox.Text", FormatNumber(total.minutes, "0"));
        ctx.show("OperatingSecondsTextBox.Text", FormatNumber(total.seconds, "0"));
    }
    if (cycles < 0) {
        return; // a count is never negative: the previous one stays
    }
    ctx.data.OperatingCycles = std::to_string(cycles);
    ctx.show("lblOperatingCyclesValue.Caption", ctx.data.OperatingCycles);
    ctx.show("OperatingCyclesTextBox.Text", ctx.data.OperatingCycles);
}

void SyncFrequencyReply(ReplyContext& ctx, std::string_view body) {
    float vertical = 0.0f;
    if (const auto v = After(trimBlanks(body), "Vsync Frequency = ")) {
        vertical = static_cast<float>(LeadingNumber(*v));
        if (vertical > kFrequencyMax) {
            vertical = 0.0f;
        }
    }
    ctx.show("VertFreqBox.Text", FormatNumber(vertical, "0.00", 7));

    // The horizontal label is looked for after the body's first line end.
    std::string text = "0";
    double number = 0;
    if (const auto h = After(AfterLineFeed(body), "Hsync Frequency = ")) {
        text = FormatGeneral(LeadingNumber(*h) * kHsyncScale);
        number = readGeneral(text);
        if (number > kFrequencyMax) {
            text = "0";
            number = 0;
        }
    }
    MonitorData& data = ctx.data;
    data.HsyncFrequencyText = text;
    double whole = std::floor(number);
    const double hundredths = std::min(std::floor((number - whole) * 100), 99.0);
    if (whole > 999) {
        whole = 255;
    }
    if (FitsInt16(whole)) {
        data.HsyncFrequencyWhole = static_cast<std::int16_t>(whole);
    }
    if (FitsInt16(hundredths)) {
        data.HsyncFrequencyHundredths = static_cast<std::int16_t>(hundredths);
    }
    ctx.show("HFreqTextBox.Text", FormatNumber(number, "0.00"));
}

void ModelTypeReply(ReplyContext& ctx, std::string_view body) {
    if (ctx.display == nullptr || !Contains(body, "Model Type = ")) {
        return;
    }
    // The label is expected at the start: its 13 characters are cut off.
    std::string_view number = DropFront(body, 13);
    const std::int32_t m = ParseCNumber(number);
    if (m < 1 || m > 63) {
        return;
    }
    for (const ModelTypeBit& b : kModelTypeBits) {
        if ((m & b.bit) != 0) {
            ctx.display->selectOption(b.set, b.clear);
        } else {
            ctx.display->selectOption(b.clear, b.set);
        }
    }
}

void CapabilityReply(ReplyContext& ctx, std::string_view body) {
    auto rest = After(body, "Capability = ");
    if (!rest) {
        return;
    }
    std::string_view number = *rest;
    const std::int32_t c = ParseCNumber(number);
    for (int k = 0; k < 8; ++k) {
        const bool set = ((c >> k) & 1) != 0;
        ctx.data.Capability[static_cast<std::size_t>(k)] = set ? 1 : 0;
        ctx.show(ShownKey("Capability", k, "Value"), set ? kTrueText : kFalseText);
    }
}

} // namespace orlix
