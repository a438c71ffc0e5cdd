#include "app/PeriodicTask.h"

namespace pb {

PeriodicTask::~PeriodicTask() { stop(); }

void PeriodicTask::start(std::chrono::milliseconds interval, std::function<void()> pass) {
    stop();
    stopping_ = false;
    thread_ = std::thread([this, interval, pass = std::move(pass)] {
        for (;;) {
            pass();
            std::unique_lock<std::mutex> guard(lock_);
            if (wake_.wait_for(guard, interval, [this] { return stopping_; })) return;
        }
    });
}

void PeriodicTask::stop() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard<std::mutex> guard(lock_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

} // namespace pb
