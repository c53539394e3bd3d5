#include "sim/pty/arguments.h"

#include "sim/firmware_version.h"

#include <charconv>
#include <string_view>

namespace orlix::sim::pty {

const char* const kUsage =
    "usage: orlix6-sim --link PATH [options]\n"
    "\n"
    "Simulates the display unit behind a pseudo-terminal whose slave device\n"
    "is linked at PATH; point the tool's serial port at PATH.\n"
    "\n"
    "  --firmware X.YY      application firmware version (default 2.24;\n"
    "                       1.xx, 2.xx and 3.xx choose the reply layouts)\n"
    "  --rom X.YY           boot EPROM version (default 1.05)\n"
    "  --boot               start in the boot loader\n"
    "  --no-auto-boot       report auto boot OFF\n"
    "  --model TEXT         model number (also --part, --crt-part, --serial,\n"
    "                       --crt-serial)\n"
    "  --software-control   backlight under software control at power-on\n"
    "  --reply-delay MS     time between a command's end and its answer\n"
    "  --no-wire-rate       send at once instead of 1/1920 s per character\n"
    "  --dds-reports c|f|p  what dds reports: current values, F or P set\n"
    "  --fault CMD          run a console command at start (repeatable),\n"
    "                       for example --fault 'reject 3'\n"
    "  --replug-after MS    after a hangup, offer a new line after MS\n"
    "                       (default: wait for the console command plug)\n"
    "  --quiet              do not print the command lines received\n"
    "  --trace              print every byte in both directions\n"
    "\n"
    "Console commands on standard input (type help): silent on|off, reject N,\n"
    "drop N, drop-in N, nul N, garbage N [TEXT], inject TEXT, hangup, plug,\n"
    "reboot, dac G S K V, delay MS, wire on|off, status.\n";

namespace {

bool toInt(std::string_view text, int& value) {
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && value >= 0;
}

bool isVersion(const std::string& text) {
    return parseFirmwareVersion(text).has_value();
}

} // namespace

bool parseArguments(int argc, char** argv, Arguments& args, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view opt = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                error = std::string(opt) + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        auto number = [&](int& out) {
            std::string text;
            if (!value(text)) {
                return false;
            }
            if (!toInt(text, out)) {
                error = std::string(opt) + " needs a whole number, not '" + text + "'";
                return false;
            }
            return true;
        };
        auto& u = args.unit;
        bool ok = true;
        if (opt == "--help" || opt == "-h") {
            args.help = true;
        } else if (opt == "--link") {
            ok = value(args.linkPath);
        } else if (opt == "--firmware") {
            ok = value(u.firmwareVersion);
            if (ok && !isVersion(u.firmwareVersion)) {
                error = "--firmware needs a version such as 2.24";
                ok = false;
            }
        } else if (opt == "--rom") {
            ok = value(u.identity.romVersion);
        } else if (opt == "--boot") {
            u.startInBootLoader = true;
        } else if (opt == "--no-auto-boot") {
            u.autoBoot = false;
        } else if (opt == "--model") {
            ok = value(u.identity.modelNumber);
        } else if (opt == "--part") {
            ok = value(u.identity.partNumber);
        } else if (opt == "--crt-part") {
            ok = value(u.identity.crtPartNumber);
        } else if (opt == "--serial") {
            ok = value(u.identity.serialNumber);
        } else if (opt == "--crt-serial") {
            ok = value(u.identity.crtSerialNumber);
        } else if (opt == "--software-control") {
            u.softwareControl = true;
        } else if (opt == "--reply-delay") {
            ok = number(u.replyDelayMs);
        } else if (opt == "--no-wire-rate") {
            u.wireRate = false;
        } else if (opt == "--dds-reports") {
            std::string which;
            ok = value(which);
            if (ok && (which == "c" || which == "f" || which == "p")) {
                u.ddsReports = static_cast<char>(which[0] - 'a' + 'A');
            } else if (ok) {
                error = "--dds-reports takes c, f or p";
                ok = false;
            }
        } else if (opt == "--fault") {
            std::string command;
            ok = value(command);
            args.faultCommands.push_back(command);
        } else if (opt == "--replug-after") {
            ok = number(args.replugAfterMs);
        } else if (opt == "--quiet") {
            args.quiet = true;
        } else if (opt == "--trace") {
            args.trace = true;
        } else {
            error = "unknown option " + std::string(opt);
            ok = false;
        }
        if (!ok) {
            return false;
        }
    }
    if (!args.help && args.linkPath.empty()) {
        error = "--link PATH is required";
        return false;
    }
    return true;
}

} // namespace orlix::sim::pty
