#include "core/link/prompt_watch.h"

#include "core/protocol/reply_protocol.h"

namespace orlix {

namespace {

bool routesToDownload(char letter) {
    return letter == ':' || letter == 'A' || letter == 'B';
}

} // namespace

void PromptWatch::onReply(const std::string& reply) {
    const char prompt = reply.empty() ? '\0' : reply.back();
    const char letter = RoutingLetter(reply);
    const bool download = routesToDownload(letter);
    if (prompt != '$' || download || letter == 'P') {
        m_deps.dispatch(reply);
    }
    if (download || m_deps.download.DownloadActive) {
        return;
    }
    if (prompt == '$' && m_deps.link.OnlineMode) {
        m_deps.modeChanged(true);
    } else if (prompt == '#' && m_deps.link.BootMode) {
        m_deps.modeChanged(false);
    }
}

} // namespace orlix
