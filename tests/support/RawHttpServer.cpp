#include "RawHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

namespace pb::test {

namespace {
int bindLoopback(int& port) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    port = ntohs(addr.sin_port);
    return fd;
}
} // namespace

int unusedPort() {
    int port = 0;
    int fd = bindLoopback(port);
    close(fd); // bound but never listening, then released: connections are refused
    return port;
}

RawHttpServer::RawHttpServer(Responder responder) : responder_(std::move(responder)) {
    listener_ = bindLoopback(port_);
    listen(listener_, 16);
    thread_ = std::thread([this] { serve(); });
}

RawHttpServer::~RawHttpServer() {
    stopping_ = true;
    thread_.join();
    close(listener_);
    for (int fd : openClients_) close(fd);
}

std::string RawHttpServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<RawRequest> RawHttpServer::requests() const {
    std::lock_guard<std::mutex> guard(lock_);
    return requests_;
}

std::string RawHttpServer::reply(const std::string& body, const std::string& status,
                                 const std::vector<std::string>& headers) {
    std::string out = "HTTP/1.1 " + status + "\r\n";
    for (const std::string& h : headers) out += h + "\r\n";
    out += "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
    return out + body;
}

void RawHttpServer::serve() {
    while (!stopping_) {
        pollfd p{listener_, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0) continue;
        int client = accept(listener_, nullptr, nullptr);
        if (client >= 0) handle(client);
    }
}

void RawHttpServer::handle(int client) {
    std::string data;
    char buffer[4096];
    size_t headerEnd = std::string::npos;
    size_t contentLength = 0;
    for (;;) {
        pollfd p{client, POLLIN, 0};
        if (poll(&p, 1, 2000) <= 0) break;
        ssize_t n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        data.append(buffer, static_cast<size_t>(n));
        if (headerEnd == std::string::npos) {
            headerEnd = data.find("\r\n\r\n");
            if (headerEnd != std::string::npos) {
                std::string lower = data.substr(0, headerEnd);
                for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                size_t at = lower.find("\r\ncontent-length:");
                if (at != std::string::npos)
                    contentLength = std::stoul(lower.substr(at + 17));
            }
        }
        if (headerEnd != std::string::npos && data.size() >= headerEnd + 4 + contentLength) break;
    }
    RawRequest request;
    if (headerEnd != std::string::npos) {
        std::string head = data.substr(0, headerEnd);
        size_t start = 0;
        bool first = true;
        while (start <= head.size()) {
            size_t end = head.find("\r\n", start);
            std::string line = head.substr(start, end == std::string::npos ? std::string::npos
                                                                           : end - start);
            if (first)
                request.requestLine = line;
            else
                request.headerLines.push_back(line);
            first = false;
            if (end == std::string::npos) break;
            start = end + 2;
        }
        request.body = data.substr(headerEnd + 4);
    }
    {
        std::lock_guard<std::mutex> guard(lock_);
        requests_.push_back(request);
    }
    Script script = responder_(request);
    if (script.silent) {
        openClients_.push_back(client); // closed when the server goes away
        return;
    }
    send(client, script.response.data(), script.response.size(), MSG_NOSIGNAL);
    shutdown(client, SHUT_WR);
    close(client);
}

} // namespace pb::test
