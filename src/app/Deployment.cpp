#include "app/Deployment.h"

#include <cstdlib>
#include <mutex>

#ifndef POOLBRIDGE_DEFAULT_SERVER
#define POOLBRIDGE_DEFAULT_SERVER "http://127.0.0.1:18080/"
#endif

namespace pb {

namespace {
std::mutex& addressLock() {
    static std::mutex lock;
    return lock;
}
std::string& overrideAddress() {
    static std::string address;
    return address;
}
} // namespace

std::string withTrailingSlash(std::string url) {
    if (!url.empty() && url.back() != '/') url += '/';
    return url;
}

std::string defaultServerAddress() {
    {
        std::lock_guard<std::mutex> guard(addressLock());
        if (!overrideAddress().empty()) return overrideAddress();
    }
    if (const char* env = std::getenv("POOLBRIDGE_SERVER"); env && *env)
        return withTrailingSlash(env);
    return withTrailingSlash(POOLBRIDGE_DEFAULT_SERVER);
}

void setDefaultServerAddress(const std::string& url) {
    std::lock_guard<std::mutex> guard(addressLock());
    overrideAddress() = withTrailingSlash(url);
}

} // namespace pb
