// platform-sim: the verification-code platform on this machine, for the
// demo and for tests driven from scripts.
#include "PlatformSim.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {
volatile std::sig_atomic_t gStop = 0;
void onSignal(int) { gStop = 1; }
} // namespace

int main(int argc, char** argv) {
    int port = 18080;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--port") && i + 1 < argc) {
            port = std::atoi(argv[++i]);
        } else {
            std::printf("usage: platform-sim [--port N]   (default 18080, 0 for any free port)\n"
                        "Serves the platform on 127.0.0.1 with demo data.\n"
                        "Demo account: demo / demo123.\n"
                        "Faults: GET /_sim/fault?action=login&kind=notjson&count=2\n"
                        "Requests seen: GET /_sim/requests\n");
            return std::strcmp(argv[i], "--help") ? 2 : 0;
        }
    }
    pb::sim::PlatformSim sim;
    if (!sim.start(port)) {
        std::fprintf(stderr, "platform-sim: cannot listen on 127.0.0.1:%d\n", port);
        return 1;
    }
    std::printf("%s\n", sim.baseUrl().c_str());
    std::fflush(stdout);
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    while (!gStop) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    sim.stop();
    return 0;
}
