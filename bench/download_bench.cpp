// A firmware download of a 2,000-record image against the simulated boot
// loader at the line rate (19200 baud, ten bits a character, the unit's
// echo sent as each character arrives), on the virtual clock, which keeps
// the line's timing exactly. Reports records per second and the ratio to
// the protocol's limit, and the processor time the tool spent.
//
// The limit is reckoned in bench/support/download_limit.h; the plainer
// reckoning, with the record out and its echo back one after the other, is
// printed beside it.
//
//   bench_download [records (default 2000)]
#include "bench/support/download_limit.h"
#include "support/hex_images.h"
#include "support/sim_harness.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

using namespace orlix;

int main(int argc, char** argv) {
    const int records = argc > 1 ? std::max(3, std::atoi(argv[1])) : 2000;
    auto options = test::SimHarness::quickUnit();
    options.startInBootLoader = true;
    options.wireRate = true;
    options.replyDelayMs = 0;
    test::SimHarness h(options);
    test::ScratchDir dir;
    const auto image = test::firmwareRecords(records - 2);

    h.start();
    h.run(3000);
    if (!h.app.link.BootMode) {
        std::fprintf(stderr, "the simulated unit did not answer in its boot loader\n");
        return 1;
    }
    h.port.clearWrites();
    h.dialogs.openChoices.push_back(FileChoice{dir.write("fw.hex", test::joined(image)), "fw.hex"});
    h.dialogs.choices.push_back(0);

    const auto recordsWritten = [&] {
        int n = 0;
        for (const auto& w : h.port.writes()) {
            n += w.bytes.starts_with(":") ? 1 : 0;
        }
        return n;
    };
    const auto cpuStart = std::chrono::steady_clock::now();
    h.act([&] { h.app.frmMain.mnuMonitorDownload_Click(); });
    while (recordsWritten() < records &&
           h.app.download.outcome() == FirmwareDownload::Outcome::None) {
        h.run(1000);
    }
    // The end to the millisecond: the end record's reply.
    while (h.app.download.outcome() == FirmwareDownload::Outcome::None) {
        h.run(1);
    }
    const double cpuSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - cpuStart).count();
    if (h.app.download.outcome() != FirmwareDownload::Outcome::Done) {
        std::fprintf(stderr, "the download did not complete: %s\n",
                     h.dialogs.messages.empty() ? "" : h.dialogs.messages.back().text.c_str());
        return 1;
    }

    // Each record costs its pause, so the span starts a pause before the
    // first record's write.
    std::int64_t firstWrite = 0;
    for (const auto& w : h.port.writes()) {
        if (w.bytes.starts_with(":")) {
            firstWrite = w.at;
            break;
        }
    }
    const double span =
        static_cast<double>(h.clock.nowMs() - firstWrite) / 1000.0 + bench::kPauseSeconds;
    const double limit = bench::downloadLimitSeconds(image);
    const double plainLimit = bench::plainDownloadLimitSeconds(image);
    const double rate = records / span;
    std::printf("Firmware download, %d records, simulated boot loader at 19200 baud "
                "(virtual clock)\n",
                records);
    std::printf("  measured     %8.2f s  %7.3f records/s\n", span, rate);
    std::printf("  limit        %8.2f s  %7.3f records/s  ratio %6.2f%%  (echo overlapped)\n",
                limit, records / limit, 100.0 * limit / span);
    std::printf("  plain limit  %8.2f s  %7.3f records/s  ratio %6.2f%%  (out, then echo back)\n",
                plainLimit, records / plainLimit, 100.0 * plainLimit / span);
    std::printf("  tool and simulated unit: %.3f s of processor time, %.1f us a record\n",
                cpuSeconds, 1e6 * cpuSeconds / records);
    return 0;
}
