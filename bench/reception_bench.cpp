// Reception throughput: a long stream of realistic replies through the
// whole receive path (reply assembly, comm log echo, dispatch, queue step),
// in reads of the size a serial port delivers. The time per byte must not
// grow with the length of the stream.
#include "bench/support/null_ports.h"

#include <benchmark/benchmark.h>

namespace {

using namespace orlix;

void feed(benchmark::State& state, std::size_t readSize) {
    const auto total = static_cast<std::size_t>(state.range(0));
    const std::string stream = bench::mixedReplyStream(total);
    for (auto _ : state) {
        state.PauseTiming();
        bench::NullPorts ports;
        App app(ports.ports());
        app.Main();
        app.onTimer(TimerId::WritePause); // the first ping goes out
        state.ResumeTiming();
        for (std::size_t at = 0; at < stream.size(); at += readSize) {
            app.onSerialBytes(std::string_view(stream).substr(at, readSize));
        }
        benchmark::DoNotOptimize(app.data);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(stream.size()));
    state.SetComplexityN(static_cast<std::int64_t>(stream.size()));
}

void BM_ReceptionSmallReads(benchmark::State& state) {
    feed(state, 8);
}
void BM_ReceptionLargeReads(benchmark::State& state) {
    feed(state, 4096);
}

BENCHMARK(BM_ReceptionSmallReads)->RangeMultiplier(8)->Range(1 << 14, 1 << 23)->Complexity();
BENCHMARK(BM_ReceptionLargeReads)->RangeMultiplier(8)->Range(1 << 14, 1 << 23)->Complexity();

// A line that never sends a prompt: bounded buffer, still linear.
void BM_ReceptionWithoutPrompts(benchmark::State& state) {
    const std::string noise(static_cast<std::size_t>(state.range(0)), 'x');
    for (auto _ : state) {
        state.PauseTiming();
        bench::NullPorts ports;
        App app(ports.ports());
        app.Main();
        app.onTimer(TimerId::WritePause);
        state.ResumeTiming();
        for (std::size_t at = 0; at < noise.size(); at += 4096) {
            app.onSerialBytes(std::string_view(noise).substr(at, 4096));
        }
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReceptionWithoutPrompts)->RangeMultiplier(8)->Range(1 << 14, 1 << 23)->Complexity();

} // namespace

BENCHMARK_MAIN();
