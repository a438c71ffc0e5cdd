#include "bridge/WorkerPool.h"

namespace pb {

WorkerPool::~WorkerPool() { stop(); }

void WorkerPool::start(int threadCount) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!threads_.empty()) return;
    stopping_ = false;
    for (int i = 0; i < threadCount; ++i) threads_.emplace_back([this] { run(); });
}

bool WorkerPool::started() const {
    std::lock_guard<std::mutex> guard(lock_);
    return !threads_.empty();
}

void WorkerPool::stop() {
    std::vector<std::thread> threads;
    {
        std::lock_guard<std::mutex> guard(lock_);
        stopping_ = true;
        for (const auto& [routine, task] : queue_) --active_[routine];
        queue_.clear();
        threads.swap(threads_);
    }
    wake_.notify_all();
    for (std::thread& t : threads) t.join();
}

void WorkerPool::post(const std::string& routine, std::function<void()> task) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (stopping_) return;
        ++active_[routine];
        queue_.emplace_back(routine, std::move(task));
    }
    wake_.notify_one();
}

int WorkerPool::activeTasks(const std::string& routine) const {
    std::lock_guard<std::mutex> guard(lock_);
    auto it = active_.find(routine);
    return it == active_.end() ? 0 : it->second;
}

void WorkerPool::run() {
    for (;;) {
        std::pair<std::string, std::function<void()>> item;
        {
            std::unique_lock<std::mutex> guard(lock_);
            wake_.wait(guard, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_) return;
            item = std::move(queue_.front());
            queue_.pop_front();
        }
        item.second();
        std::lock_guard<std::mutex> guard(lock_);
        --active_[item.first];
    }
}

} // namespace pb
