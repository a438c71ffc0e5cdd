#include "platform/wine/WineModemPoolHost.h"

#include "app/Text.h"
#include "platform/HexText.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <vector>

extern char** environ;

#ifndef POOLBRIDGE_BUILD_HELPER
#define POOLBRIDGE_BUILD_HELPER ""
#endif

namespace pb {

namespace {

namespace fs = std::filesystem;

std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string w;
    while (in >> w) out.push_back(w);
    return out;
}

bool executable(const std::string& path) { return !path.empty() && ::access(path.c_str(), X_OK) == 0; }

std::string onPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    for (const std::string& dir : splitText(path ? path : "", ":"))
        if (executable(dir + "/" + name)) return dir + "/" + name;
    return {};
}

std::string selfDirectory() {
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : self.parent_path().string();
}

} // namespace

std::string findWineLoader() {
    if (const char* wine = std::getenv("POOLBRIDGE_WINE"); wine && *wine) return wine;
    // The 64-bit loader, directly: Debian's "wine" wrapper tries the 32-bit
    // one first, which machines without 32-bit support cannot start.
    if (executable("/usr/lib/wine/wine64")) return "/usr/lib/wine/wine64";
    std::string found = onPath("wine64");
    return found.empty() ? onPath("wine") : found;
}

std::string findWineHelper() {
    if (const char* helper = std::getenv("POOLBRIDGE_WINE_HELPER"); helper && *helper) return helper;
    const std::string beside = selfDirectory() + "/poolbridge-wine-helper.exe";
    if (fs::exists(beside)) return beside;
    return fs::exists(POOLBRIDGE_BUILD_HELPER) ? POOLBRIDGE_BUILD_HELPER : std::string();
}

// The helper process with its two pipes; ended (and reaped) on destruction.
class WineModemPoolHost::Helper {
public:
    static std::unique_ptr<Helper> start(const std::string& wine, const std::string& helper) {
        if (wine.empty() || helper.empty()) return nullptr;
        int toChild[2], fromChild[2];
        if (::pipe2(toChild, O_CLOEXEC) != 0) return nullptr;
        if (::pipe2(fromChild, O_CLOEXEC) != 0) {
            ::close(toChild[0]);
            ::close(toChild[1]);
            return nullptr;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, toChild[0], 0);
        posix_spawn_file_actions_adddup2(&actions, fromChild[1], 1);
        // The programs' texts are GBK: Wine takes its ANSI code page from the locale.
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e)
            if (std::strncmp(*e, "LC_ALL=", 7) != 0) env.emplace_back(*e);
        env.emplace_back("LC_ALL=zh_CN.UTF-8");
        if (!std::getenv("WINEDEBUG")) env.emplace_back("WINEDEBUG=-all");
        std::vector<char*> envp;
        for (std::string& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        std::string wineArg = wine, helperArg = helper;
        char* argv[] = {wineArg.data(), helperArg.data(), nullptr};
        pid_t pid = -1;
        int rc = posix_spawn(&pid, wine.c_str(), &actions, nullptr, argv, envp.data());
        posix_spawn_file_actions_destroy(&actions);
        ::close(toChild[0]);
        ::close(fromChild[1]);
        if (rc != 0) {
            ::close(toChild[1]);
            ::close(fromChild[0]);
            return nullptr;
        }
        auto h = std::unique_ptr<Helper>(new Helper);
        h->pid_ = pid;
        h->in_ = toChild[1];
        h->out_ = fromChild[0];
        return h;
    }

    ~Helper() {
        if (in_ >= 0) {
            static const char quit[] = "quit\n";
            (void)!::write(in_, quit, sizeof quit - 1);
            ::close(in_);
        }
        if (out_ >= 0) ::close(out_);
        if (pid_ > 0) {
            for (int i = 0; i < 20; ++i) {
                if (::waitpid(pid_, nullptr, WNOHANG) == pid_) return;
                ::usleep(10'000);
            }
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    // One line out, one line back; nothing when the helper is gone or silent.
    std::optional<std::string> request(const std::string& line, std::chrono::milliseconds timeout) {
        const std::string out = line + "\n";
        size_t sent = 0;
        while (sent < out.size()) {
            ssize_t n = ::write(in_, out.data() + sent, out.size() - sent);
            if (n <= 0) return std::nullopt;
            sent += static_cast<size_t>(n);
        }
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            size_t lf = buffer_.find('\n');
            if (lf != std::string::npos) {
                std::string reply = buffer_.substr(0, lf);
                buffer_.erase(0, lf + 1);
                if (!reply.empty() && reply.back() == '\r') reply.pop_back();
                return reply;
            }
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return std::nullopt;
            pollfd p{out_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) return std::nullopt;
            char chunk[65536];
            ssize_t n = ::read(out_, chunk, sizeof chunk);
            if (n <= 0) return std::nullopt;
            buffer_.append(chunk, static_cast<size_t>(n));
        }
    }

    bool answered = false;

private:
    Helper() = default;
    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    std::string buffer_;
};

WineModemPoolHost::WineModemPoolHost(WineSetup setup) : setup_(std::move(setup)) {
    signal(SIGPIPE, SIG_IGN);
    if (setup_.wine.empty()) setup_.wine = findWineLoader();
    if (setup_.helper.empty()) setup_.helper = findWineHelper();
}

WineModemPoolHost::~WineModemPoolHost() = default;

std::optional<std::string> WineModemPoolHost::ask(const std::string& line) {
    std::lock_guard<std::mutex> guard(lock_);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!helper_) {
            helper_ = Helper::start(setup_.wine, setup_.helper);
            if (!helper_) return std::nullopt; // no Wine or no helper: nothing to find
            ++starts_;
            if (attachedWindow_) {
                // A restarted helper knows no attachment: make it again.
                auto again = helper_->request("attach " + std::to_string(attachedWindow_) + " " +
                                                  toHex(attachedClass_),
                                              setup_.startTimeout);
                helper_->answered = again.has_value();
            }
        }
        auto reply = helper_->request(line, helper_->answered ? setup_.replyTimeout
                                                              : setup_.startTimeout);
        if (reply && startsWith(*reply, "ok")) {
            helper_->answered = true;
            return reply->size() > 3 ? reply->substr(3) : std::string();
        }
        if (reply) return std::nullopt; // the helper refused the request itself
        helper_.reset(); // dead or silent: start a fresh one once
    }
    return std::nullopt;
}

long WineModemPoolHost::findProcessByName(const std::string& name) {
    auto reply = ask("pid " + toHex(name));
    long long pid = -1;
    return reply && parseInteger(trimSpaces(*reply), pid) ? static_cast<long>(pid) : -1;
}

WindowId WineModemPoolHost::findVisibleWindowOfProcess(long pid) {
    auto reply = ask("window " + std::to_string(pid));
    return reply ? std::strtoull(reply->c_str(), nullptr, 10) : 0;
}

std::vector<WindowId> WineModemPoolHost::listDescendantWindows(WindowId window) {
    std::vector<WindowId> out;
    if (auto reply = ask("children " + std::to_string(window)))
        for (const std::string& w : words(*reply)) out.push_back(std::strtoull(w.c_str(), nullptr, 10));
    return out;
}

std::string WineModemPoolHost::windowClassName(WindowId window) {
    auto reply = ask("class " + std::to_string(window));
    return reply ? fromHex(trimSpaces(*reply)) : std::string();
}

std::string WineModemPoolHost::executablePathOf(long pid) {
    auto reply = ask("path " + std::to_string(pid));
    return reply ? fromHex(trimSpaces(*reply)) : std::string();
}

bool WineModemPoolHost::attach(WindowId window, const std::string& expectedClass) {
    auto reply = ask("attach " + std::to_string(window) + " " + toHex(expectedClass));
    if (!reply) return false;
    std::vector<std::string> w = words(*reply);
    if (w.empty() || w[0] != "1") return false;
    std::lock_guard<std::mutex> guard(lock_);
    attachedWindow_ = window;
    attachedClass_ = expectedClass;
    attached32_ = w.size() > 1 && w[1] == "32";
    return true;
}

int WineModemPoolHost::itemCount() {
    auto reply = ask("count");
    long long n = 0;
    return reply && parseInteger(trimSpaces(*reply), n) ? static_cast<int>(n) : 0;
}

std::string WineModemPoolHost::itemText(int row, int column, int bufferSize) {
    auto reply = ask("cell " + std::to_string(row) + " " + std::to_string(column) + " " +
                     std::to_string(bufferSize));
    return reply ? fromHex(trimSpaces(*reply)) : std::string();
}

std::vector<std::string> WineModemPoolHost::readCells(int rows, const std::vector<int>& columns,
                                                      int bufferSize) {
    return cellsRequest("cells", rows, columns, bufferSize);
}

std::vector<std::string> WineModemPoolHost::readCellsOneByOne(int rows,
                                                              const std::vector<int>& columns,
                                                              int bufferSize) {
    return cellsRequest("slowcells", rows, columns, bufferSize);
}

std::vector<std::string> WineModemPoolHost::cellsRequest(const std::string& verb, int rows,
                                                         const std::vector<int>& columns,
                                                         int bufferSize) {
    std::string line = verb + " " + std::to_string(rows) + " " + std::to_string(bufferSize);
    for (int c : columns) line += " " + std::to_string(c);
    std::vector<std::string> texts;
    if (auto reply = ask(line))
        for (const std::string& w : words(*reply)) texts.push_back(fromHex(w));
    const size_t expected = rows > 0 ? static_cast<size_t>(rows) * columns.size() : 0;
    texts.resize(expected); // a short or missing answer reads as empty cells
    return texts;
}

std::string WineModemPoolHost::localPathOf(const std::string& windowsPath) {
    auto reply = ask("local " + toHex(windowsPath));
    return reply ? fromHex(trimSpaces(*reply)) : std::string();
}

} // namespace pb
