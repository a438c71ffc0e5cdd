// The platform simulator: a real HTTP server on 127.0.0.1 that answers the
// route list, the version check, every action, the registration and service
// pages and the phone-number location service. It records every request and
// can be told, per action, to misbehave.
#pragma once

#include "SimState.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

namespace pb::sim {

struct RecordedRequest {
    std::string method;
    std::string path;
    std::string query;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body; // raw bytes as received
    std::string action;
};

enum class FaultKind { None, Delay, NotJson, Refuse, Drop, Http500 };

struct Fault {
    FaultKind kind = FaultKind::None;
    int delayMs = 0;         // Delay: wait, then answer normally
    std::string status = "1"; // Refuse
    std::string message = "服务器繁忙";
    int remaining = -1; // how many requests it applies to; -1 for ever
};

class PlatformSim {
public:
    PlatformSim();
    ~PlatformSim();
    PlatformSim(const PlatformSim&) = delete;
    PlatformSim& operator=(const PlatformSim&) = delete;

    // Binds 127.0.0.1:port (0 for any free port) and serves on a thread.
    bool start(int port = 0);
    void stop();
    int port() const { return port_; }
    std::string baseUrl() const;

    SimState& state() { return state_; }
    void setFault(const std::string& action, Fault fault);
    void clearFaults();
    std::vector<RecordedRequest> requests() const;
    std::vector<RecordedRequest> requestsFor(const std::string& action) const;
    void clearRequests();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    SimState state_;
    int port_ = 0;
};

// Splits a request body into its pairs. `&` inside brackets or quotes does
// not split (structured bodies carry raw JSON); form values are URL-decoded.
Fields parseBody(const std::string& body, bool urlDecode);

} // namespace pb::sim
