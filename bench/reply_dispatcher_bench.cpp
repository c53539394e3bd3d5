// Replies per second through ReplyDispatcher for a mixed corpus of replies
// as the unit sends them (every reply family and all three analog
// layouts), with the display model on, as the tool runs, and off; and with
// the display on but every reply read for it afresh, as a reply seen for
// the first time (or with new values) is.
#include "core/data/monitor_data.h"
#include "core/link/link_flags.h"
#include "core/protocol/protocol_events.h"
#include "core/protocol/reply_corpus.h"
#include "core/protocol/reply_protocol.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <iterator>
#include <string_view>

namespace {

using namespace orlix;

void runCorpus(benchmark::State& state, bool displayOn, bool memo = true) {
    MonitorData data;
    SetDefaultCountsAndNames(data);
    LinkFlags link;
    ProtocolEvents events;
    ReplyProtocol protocol(data, link, events);
    protocol.setDisplayEnabled(displayOn);
    protocol.setDisplayMemoEnabled(memo);

    std::int64_t bytes = 0;
    for (std::string_view reply : prototest::kRealisticReplies) {
        bytes += static_cast<std::int64_t>(reply.size());
    }
    const auto replies = static_cast<std::int64_t>(std::size(prototest::kRealisticReplies));

    for (auto _ : state) {
        for (std::string_view reply : prototest::kRealisticReplies) {
            protocol.ReplyDispatcher(reply);
        }
        benchmark::DoNotOptimize(data);
    }
    state.SetItemsProcessed(state.iterations() * replies);
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["replies_per_pass"] = static_cast<double>(replies);
}

void BM_ReplyDispatcher_MixedCorpus(benchmark::State& state) {
    runCorpus(state, true);
}

void BM_ReplyDispatcher_MixedCorpus_DisplayOff(benchmark::State& state) {
    runCorpus(state, false);
}

void BM_ReplyDispatcher_MixedCorpus_EveryReplyReadAfresh(benchmark::State& state) {
    runCorpus(state, true, false);
}

// The one reply the walk sends most often: an F-set of seven values.
void BM_ReplyDispatcher_FSetReply(benchmark::State& state) {
    MonitorData data;
    SetDefaultCountsAndNames(data);
    LinkFlags link;
    ProtocolEvents events;
    ReplyProtocol protocol(data, link, events);
    constexpr std::string_view reply = "ddfv\r\n151,127,111,61,127,129,127\r\n#";
    for (auto _ : state) {
        protocol.ReplyDispatcher(reply);
        benchmark::DoNotOptimize(data.V.FValue);
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_ReplyDispatcher_MixedCorpus);
BENCHMARK(BM_ReplyDispatcher_MixedCorpus_DisplayOff);
BENCHMARK(BM_ReplyDispatcher_MixedCorpus_EveryReplyReadAfresh);
BENCHMARK(BM_ReplyDispatcher_FSetReply);

} // namespace

BENCHMARK_MAIN();
