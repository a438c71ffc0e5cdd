// Modem-pool doubles running under Wine for the tests: each double is a real
// Win32 program with a real list view, started with its rows in a control
// file. The tests skip themselves on a machine without Wine or a display.
#pragma once

#include "platform/wine/WineModemPoolHost.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace pb::test {

namespace fs = std::filesystem;

inline std::string windowsPathOf(const fs::path& path) {
    std::string p = "Z:" + path.string();
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
}

inline bool eventually(const std::function<bool()>& done, int timeoutMs = 20000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

// One running double; it is asked to quit (and killed if it will not) on destruction.
class DoubleProgram {
public:
    DoubleProgram(const fs::path& exe, const fs::path& workDir, const std::vector<std::string>& rows,
                  const std::string& listClass = {})
        : control_(workDir / (exe.stem().string() + "-rows.txt")),
          commands_(workDir / (exe.stem().string() + "-commands.txt")) {
        setRows(rows);
        std::ofstream(commands_).close();
        std::vector<std::string> args = {findWineLoader(), exe.string(), "--control",
                                         windowsPathOf(control_), "--commands",
                                         windowsPathOf(commands_)};
        if (!listClass.empty()) {
            args.push_back("--class");
            args.push_back(listClass);
        }
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) env.emplace_back(*e);
        env.emplace_back("LC_ALL=zh_CN.UTF-8");
        env.emplace_back("WINEDEBUG=-all");
        std::vector<char*> argv, envp;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        for (std::string& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), envp.data());
    }

    ~DoubleProgram() { quit(); }

    void setRows(const std::vector<std::string>& rows) {
        std::ofstream out(control_, std::ios::trunc | std::ios::binary);
        for (const std::string& r : rows) out << r << "\n";
    }

    void command(const std::string& line) {
        std::ofstream(commands_, std::ios::app | std::ios::binary) << line << "\n";
    }

    void quit() {
        if (pid_ <= 0) return;
        command("quit");
        for (int i = 0; i < 50; ++i) {
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    fs::path control_;
    fs::path commands_;
    pid_t pid_ = -1;
};

class WineFixture : public ::testing::Test {
protected:
    void SetUp() override {
        if (findWineLoader().empty()) GTEST_SKIP() << "Wine is not installed";
        if (findWineHelper().empty()) GTEST_SKIP() << "the Wine helper was not built";
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display (run under Xvfb)";
        if (!fs::exists(doublesDir())) GTEST_SKIP() << "the modem-pool doubles were not built";
        work = fs::temp_directory_path() / ("pb-wine-" + std::to_string(getpid()));
        fs::create_directories(work);
    }

    void TearDown() override {
        std::error_code ec;
        fs::remove_all(work, ec);
    }

    static fs::path doublesDir() { return POOLBRIDGE_DOUBLES_DIR; }
    static fs::path doubleExe(const std::string& name) {
        return doublesDir() / name / (name + ".exe");
    }

    // Waits until the host sees the program with a visible window.
    bool waitForProgram(WineModemPoolHost& host, const std::string& processName,
                        int timeoutMs = 20000) {
        return eventually(
            [&] {
                long pid = host.findProcessByName(processName);
                return pid != -1 && host.findVisibleWindowOfProcess(pid) != 0;
            },
            timeoutMs);
    }

    fs::path work;
};

} // namespace pb::test
