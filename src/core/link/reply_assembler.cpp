#include "core/link/reply_assembler.h"

namespace orlix {

std::size_t ReplyAssembler::receive(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\0') {
            continue;
        }
        if (c == '\n') {
            continue;
        }
        if (c == '\r') {
            if (m_afterPrompt == 2 || m_afterPrompt == 3) {
                m_afterPrompt = 0;
            } else {
                m_buffer += "\r\n";
                m_deps.xmit.onReplyText();
            }
            if (m_deps.link.CommLogWindowEnabled) {
                m_deps.logRxLineEnd();
            }
        } else {
            if (m_deps.link.CommLogWindowEnabled) {
                m_deps.logRxChar(c);
            }
            m_buffer += c;
            if (c == '#' || c == '$') {
                onPrompt();
                if (m_deps.gate.holding()) {
                    return i + 1;
                }
            } else if (c == '!') {
                onReject();
                if (m_deps.gate.holding()) {
                    return i + 1;
                }
            } else {
                m_deps.xmit.onReplyText();
            }
        }
        if (m_buffer.size() > kMaxReplyLength) {
            if (!m_overflowNoticeGiven) {
                m_overflowNoticeGiven = true;
                m_deps.notice("Reply longer than " + std::to_string(kMaxReplyLength) +
                              " characters without a prompt: text dropped");
            }
            m_buffer.clear();
        }
    }
    return bytes.size();
}

void ReplyAssembler::onPrompt() {
    m_deps.timers.stop(TimerId::tmrConnect);
    if (m_deps.link.MonitorConnected) {
        m_deps.timers.start(TimerId::tmrKeepAlive, kKeepAliveAfterPromptMs);
    }
    m_afterPrompt = 2;
    m_overflowNoticeGiven = false;
    std::string reply;
    reply.swap(m_buffer);
    m_deps.dispatch(reply);
    m_deps.xmit.onPrompt();
}

void ReplyAssembler::onReject() {
    m_deps.timers.stop(TimerId::tmrConnect);
    if (m_deps.link.MonitorConnected) {
        m_deps.timers.start(TimerId::tmrKeepAlive, kKeepAliveAfterRejectMs);
    }
    m_afterPrompt = 3;
    m_overflowNoticeGiven = false;
    m_rejected.swap(m_buffer);
    m_buffer.clear();
    m_deps.xmit.onReject();
}

} // namespace orlix
