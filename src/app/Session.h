// The one process-wide record of shared state. Texts written while
// LoginWindow is open (token, baseUrl, machineToken) are fixed before any
// worker thread starts, so workers read them without a lock.
#pragma once

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

    std::atomic<bool> serviceRunning{false};
    std::atomic<bool> serviceStopped{false};
};

} // namespace pb
