// One long-lived thread that runs a pass, waits, and runs the next, until it
// is stopped: the cadence of the log drain and the account refresh. The wait
// ends at once when the task is stopped, so shut-down never hangs.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace pb {

class PeriodicTask {
public:
    PeriodicTask() = default;
    ~PeriodicTask();
    PeriodicTask(const PeriodicTask&) = delete;
    PeriodicTask& operator=(const PeriodicTask&) = delete;

    void start(std::chrono::milliseconds interval, std::function<void()> pass);
    void stop();

private:
    std::mutex lock_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace pb
