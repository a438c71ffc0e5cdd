// The one process-wide record of shared state. Texts written while
// LoginWindow is open (token, baseUrl, machineToken) are fixed before any
// worker thread starts, so workers read them without a lock.
#pragma once

#include "bridge/ServiceLog.h"
#include "bridge/WorkerPool.h"

#include <array>
#include <atomic>
#include <string>
#include <vector>

namespace pb {

struct Session {
    std::string token;
    std::string noticeText;
    std::string baseUrl;
    std::vector<std::string> routeUrls;
    std::string registerPath;
    std::string machineToken;

    // Written once by the fee thread before the pages read them.
    std::array<float, 6> feeRates{};

    std::atomic<bool> serviceRunning{false};
    std::atomic<bool> serviceStopped{false};

    ServiceLog serviceLog;
    WorkerPool workerPool;
};

} // namespace pb
