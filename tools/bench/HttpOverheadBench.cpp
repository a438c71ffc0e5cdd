// Reports what one exchange through the HTTP facility costs on loopback
// against the platform simulator, beside a bare libcurl request on a fresh
// handle (the floor the facility is built on). A benchmark, not a test.
#include "PlatformSim.h"
#include "net/ApiEnvelope.h"
#include "net/HttpRequest.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Stats {
    double medianUs;
    double meanUs;
};

Stats measure(int calls, const std::function<void()>& call) {
    for (int i = 0; i < 20; ++i) call(); // warm-up
    std::vector<double> samples;
    samples.reserve(calls);
    for (int i = 0; i < calls; ++i) {
        auto start = Clock::now();
        call();
        samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(samples.begin(), samples.end());
    double sum = 0;
    for (double s : samples) sum += s;
    return {samples[samples.size() / 2], sum / samples.size()};
}

size_t discard(char*, size_t size, size_t count, void*) { return size * count; }

void bareCurlGet(const std::string& url) {
    CURL* h = curl_easy_init();
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, discard);
    curl_easy_setopt(h, CURLOPT_PROXY, "");
    curl_easy_perform(h);
    curl_easy_cleanup(h);
}

} // namespace

int main(int argc, char** argv) {
    const int calls = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;
    curl_global_init(CURL_GLOBAL_DEFAULT);
    pb::sim::PlatformSim sim;
    if (!sim.start()) return 1;
    const std::string url = sim.baseUrl() + "clientRoute";
    pb::Session session;
    session.baseUrl = sim.baseUrl();

    Stats bare = measure(calls, [&] { bareCurlGet(url); });
    Stats facility = measure(calls, [&] { pb::httpRequest({.url = url}); });
    Stats envelope = measure(calls, [&] {
        pb::JMap fields;
        fields.CreateByDatas({{"token", "x"}, {"machineToken", "y"}});
        pb::callFormApi(session, "getUserInfo", fields);
    });

    std::printf("HTTP exchanges on loopback, %d calls each (microseconds)\n", calls);
    std::printf("%-44s %10s %10s\n", "", "median", "mean");
    std::printf("%-44s %10.1f %10.1f\n", "bare libcurl GET, fresh handle", bare.medianUs, bare.meanUs);
    std::printf("%-44s %10.1f %10.1f\n", "httpRequest GET clientRoute", facility.medianUs,
                facility.meanUs);
    std::printf("%-44s %10.1f %10.1f\n", "callFormApi getUserInfo (POST + JMap reply)",
                envelope.medianUs, envelope.meanUs);
    std::printf("facility overhead over bare libcurl (median): %.1f us per call\n",
                facility.medianUs - bare.medianUs);
    sim.stop();
    return 0;
}
