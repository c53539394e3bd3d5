// What the Monitor Data window costs: one rebuild of its view (it rebuilds
// at most four times a second while shown), the same while comparing with
// a file, the compare alone, and the one piece of work a reply costs while
// the window is hidden (keeping the texts of a reply whose control names
// others share; most replies cost only a look at their letters).
#include "core/dataview/data_set_compare.h"
#include "core/dataview/data_set_loader.h"
#include "core/dataview/data_view.h"
#include "core/dataview/last_reply_texts.h"
#include "core/protocol/reply_corpus.h"
#include "core/protocol/reply_protocol.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace orlix;

const std::filesystem::path kGolden =
    std::filesystem::path(__FILE__).parent_path().parent_path() / "tests/core/dataview/golden";

// The tool's data after the realistic corpus, as the window sees it.
struct Live {
    MonitorData data;
    LinkFlags link;
    ProtocolEvents events;
    ReplyProtocol protocol{data, link, events};
    LastReplyTexts last;

    Live() {
        SetDefaultCountsAndNames(data);
        for (std::string_view reply : prototest::kRealisticReplies) {
            protocol.ReplyDispatcher(reply);
            last.afterReply(reply, data);
        }
        // Back to generation 2, the firmware of the simulated unit.
        protocol.ReplyDispatcher("df\r\nV 2.24\r\n#");
    }
};

void BM_BuildDataView_Live(benchmark::State& state) {
    Live live;
    for (auto _ : state) {
        DataView view = buildDataView({live.data, live.protocol.display(), &live.last, "source"});
        benchmark::DoNotOptimize(view);
    }
}

void BM_BuildDataView_Comparing(benchmark::State& state) {
    const LoadedDataSet before = loadDataSet((kGolden / "before.mdv").string());
    const LoadedDataSet after = loadDataSet((kGolden / "after.mdv").string());
    const DisplayModel none;
    DataViewOptions options;
    options.compared = &after.data;
    options.comparedTitle = "after.mdv";
    for (auto _ : state) {
        DataView view = buildDataView({before.data, none, nullptr, "source"}, options);
        benchmark::DoNotOptimize(view);
    }
}

void BM_CompareDataSets(benchmark::State& state) {
    const LoadedDataSet before = loadDataSet((kGolden / "before.mdv").string());
    const LoadedDataSet after = loadDataSet((kGolden / "after.mdv").string());
    for (auto _ : state) {
        auto differences = compareDataSets(before.data, after.data);
        benchmark::DoNotOptimize(differences);
    }
}

void BM_LastReplyTexts_LimitsReply(benchmark::State& state) {
    Live live;
    constexpr std::string_view reply =
        "dh\r\nCurrent Limit = 200\r\nUpper Limit = 250\r\nLower Limit = 180\r\n"
        "HV Control Value = 120, 35\r\nFocus Control Value = 80, 20\r\n#";
    for (auto _ : state) {
        live.last.afterReply(reply, live.data);
    }
}

void BM_LastReplyTexts_OtherReply(benchmark::State& state) {
    Live live;
    constexpr std::string_view reply = "ddfv\r\n151,127,111,61,127,129,127\r\n#";
    for (auto _ : state) {
        live.last.afterReply(reply, live.data);
    }
}

BENCHMARK(BM_BuildDataView_Live);
BENCHMARK(BM_BuildDataView_Comparing);
BENCHMARK(BM_CompareDataSets);
BENCHMARK(BM_LastReplyTexts_LimitsReply);
BENCHMARK(BM_LastReplyTexts_OtherReply);

} // namespace

BENCHMARK_MAIN();
