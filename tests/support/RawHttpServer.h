// A bare TCP listener on 127.0.0.1 that records each request byte for byte
// and answers with a scripted reply: the wire truth, with no HTTP library in
// between.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pb::test {

struct RawRequest {
    std::string requestLine;
    std::vector<std::string> headerLines; // in the order sent
    std::string body;
};

class RawHttpServer {
public:
    // What to do with a request: the bytes to send back (then the connection
    // closes); std::nullopt-like "silent" keeps the connection open unanswered.
    struct Script {
        std::string response;
        bool silent = false;
    };
    using Responder = std::function<Script(const RawRequest&)>;

    explicit RawHttpServer(Responder responder);
    ~RawHttpServer();
    RawHttpServer(const RawHttpServer&) = delete;
    RawHttpServer& operator=(const RawHttpServer&) = delete;

    int port() const { return port_; }
    std::string url(const std::string& path = "/") const;
    std::vector<RawRequest> requests() const;

    // A complete HTTP/1.1 reply with the given extra header lines.
    static std::string reply(const std::string& body, const std::string& status = "200 OK",
                             const std::vector<std::string>& headers = {});

private:
    void serve();
    void handle(int client);

    Responder responder_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex lock_;
    std::vector<RawRequest> requests_;
    std::vector<int> openClients_;
    std::thread thread_;
};

// Returns a port on 127.0.0.1 where nothing listens.
int unusedPort();

} // namespace pb::test
