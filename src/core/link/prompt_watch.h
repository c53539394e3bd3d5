// What the prompt that ends each reply says about the unit.
//
// '$' is the boot loader's prompt and '#' the application's. A '$' while
// Online means the unit now runs its boot loader (it rebooted); a '#' in
// Boot mode means its application has started. Either way the link follows
// the unit. Replies that belong to a firmware download never switch the
// mode, nor does anything while a download runs: the boot loader's own
// go-ahead for a download ends in '#'.
//
// A '$'-ended reply is the boot loader's ("?" to an application command,
// its banner after a reset): it reaches only the ping and download
// handlers, never the handlers that store the application's data.
#pragma once

#include "core/download/download_state.h"
#include "core/link/link_flags.h"

#include <functional>
#include <string>

namespace orlix {

class PromptWatch {
public:
    struct Deps {
        const LinkFlags& link;
        const DownloadState& download;
        // The reply dispatcher.
        std::function<void(const std::string&)> dispatch;
        // The unit answers in the other mode; true: its boot loader.
        std::function<void(bool bootLoader)> modeChanged;
    };

    explicit PromptWatch(Deps deps) : m_deps(std::move(deps)) {}

    // One complete reply, ending in its prompt.
    void onReply(const std::string& reply);

private:
    Deps m_deps;
};

} // namespace orlix
