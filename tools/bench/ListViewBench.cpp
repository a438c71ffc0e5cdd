// Reads a modem-pool double's list view under Wine the per-cell way (two
// remote blocks allocated, written, read and freed for every cell) and the
// batched way (one kept block, one write, one message per cell, one read),
// for 64, 256 and 512 rows of two cells. A benchmark, not a test.
//   WINEPREFIX=... DISPLAY=... list-view-bench DOUBLES_DIR
#include "platform/wine/WineModemPoolHost.h"
#include "bridge/ModemPool.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

extern char** environ;

namespace {
using Clock = std::chrono::steady_clock;

double bestMs(int runs, const std::function<void()>& read) {
    double best = 1e18;
    for (int i = 0; i < runs; ++i) {
        auto start = Clock::now();
        read();
        best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return best;
}
} // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    const fs::path doubles = argc > 1 ? argv[1] : "build/win32/doubles";
    const fs::path exe = doubles / "CoolCard" / "CoolCard.exe";
    const fs::path rows = fs::temp_directory_path() / "pb-bench-rows.txt";
    {
        std::ofstream out(rows);
        for (int i = 0; i < 512; ++i) out << "COM" << i + 1 << "\t在线\t移动\t138" << 10000000 + i << "\t-60\n";
    }
    std::string control = "Z:" + rows.string();
    std::replace(control.begin(), control.end(), '/', '\\');
    std::string wine = pb::findWineLoader(), exeText = exe.string(), flag = "--control";
    char* args[] = {wine.data(), exeText.data(), flag.data(), control.data(), nullptr};
    pid_t pid = -1;
    if (wine.empty() || posix_spawn(&pid, wine.c_str(), nullptr, nullptr, args, environ) != 0) {
        std::fprintf(stderr, "cannot start the double under Wine\n");
        return 1;
    }
    pb::WineModemPoolHost host;
    pb::DetectedProgram found;
    for (int i = 0; i < 100 && (found.kind == 0 || host.itemCount() < 512); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        if (found.kind == 0) found = pb::detectModemPool(host);
    }
    if (host.itemCount() < 512) {
        std::fprintf(stderr, "the double did not come up\n");
        kill(pid, SIGKILL);
        return 1;
    }
    std::printf("List view of a 64-bit double under Wine, two cells a row (best of 3, ms)\n");
    std::printf("%6s %12s %12s %10s %14s\n", "rows", "per-cell", "batched", "same",
                "bare messages");
    for (int n : {64, 256, 512}) {
        std::vector<std::string> slow, fast;
        double slowMs = bestMs(3, [&] { slow = host.readCellsOneByOne(n, {0, 3}); });
        double fastMs = bestMs(3, [&] { fast = host.readCells(n, {0, 3}); });
        double floorMs = bestMs(3, [&] { host.sendCountMessages(2 * n); });
        std::printf("%6d %12.1f %12.1f %10s %14.1f\n", n, slowMs, fastMs,
                    slow == fast ? "yes" : "NO", floorMs);
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return 0;
}
