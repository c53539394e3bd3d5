#include "cli/commands.h"

namespace orlix::cli {

const std::vector<CommandEntry>& commands() {
    static const std::vector<CommandEntry> all{portsCommand(),  pingCommand(), readCommand(),
                                               showCommand(),   diffCommand(), flashCommand(),
                                               consoleCommand()};
    return all;
}

QString expectArguments(const Invocation& invocation, qsizetype count, const char* what) {
    if (invocation.arguments.size() == count) {
        return {};
    }
    if (count == 0) {
        return QStringLiteral("%1 takes no arguments, not '%2'")
            .arg(invocation.entry->name, invocation.arguments.join(' '));
    }
    return QStringLiteral("%1 wants %2").arg(invocation.entry->name, what);
}

} // namespace orlix::cli
