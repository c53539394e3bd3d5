#include "core/dataview/last_reply_texts.h"

#include "core/link/link_flags.h"
#include "core/protocol/protocol_events.h"
#include "core/protocol/reply_protocol.h"
#include "core/protocol/text_helpers.h"

namespace orlix {

namespace {

// The first `count` routing letters, each taken as the dispatcher takes
// them: after white space, upper-cased.
std::string routingLetters(std::string_view text, std::size_t count) {
    std::string letters;
    while (letters.size() < count) {
        text = SkipWhiteSpace(text);
        if (text.empty()) {
            break;
        }
        letters.push_back(UpperAscii(text.front()));
        text.remove_prefix(1);
    }
    return letters;
}

struct KindLetters {
    std::string_view letters;
    ReplyKind kind;
};

constexpr KindLetters kKinds[] = {
    {"DA", ReplyKind::Analog},     {"DH", ReplyKind::Limits},    {"DV", ReplyKind::SyncFrequency},
    {"DZ", ReplyKind::Parameters}, {"DDL", ReplyKind::CurrentL}, {"DDB", ReplyKind::CurrentB},
    {"DDH", ReplyKind::CurrentH},  {"DDV", ReplyKind::CurrentV}, {"DDS", ReplyKind::NGroupS},
    {"DDT", ReplyKind::NGroupT},
};

} // namespace

ReplyKind LastReplyTexts::kindOf(std::string_view reply) {
    const std::string letters = routingLetters(reply, 3);
    for (const KindLetters& k : kKinds) {
        if (letters.starts_with(k.letters)) {
            return k.kind;
        }
    }
    return ReplyKind::Count;
}

void LastReplyTexts::afterReply(std::string_view reply, const MonitorData& data) {
    const ReplyKind kind = kindOf(reply);
    if (kind == ReplyKind::Count) {
        return;
    }
    MonitorData copy = data;
    LinkFlags link;
    ProtocolEvents none;
    ReplyProtocol protocol(copy, link, none);
    protocol.ReplyDispatcher(reply);
    m_kept[static_cast<std::size_t>(kind)] = protocol.display().entries();
}

const DisplayModel::Entries& LastReplyTexts::entries(ReplyKind kind) const {
    static const DisplayModel::Entries kNone;
    return kind == ReplyKind::Count ? kNone : m_kept[static_cast<std::size_t>(kind)];
}

std::string_view LastReplyTexts::text(ReplyKind kind, std::string_view key) const {
    const DisplayModel::Entries& kept = entries(kind);
    const auto it = kept.find(key);
    return it == kept.end() ? std::string_view{} : std::string_view(it->second);
}

} // namespace orlix
