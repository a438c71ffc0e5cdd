// The service's thread pool: a fixed number of threads, and for each task
// routine the number of its tasks waiting or running, so that a producer can
// hold back while its previous tasks are still under way.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pb {

class WorkerPool {
public:
    WorkerPool() = default;
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Starts the threads; a second call does nothing.
    void start(int threadCount);
    // Lets the running tasks finish, drops the waiting ones, joins the threads.
    void stop();
    bool started() const;

    void post(const std::string& routine, std::function<void()> task);
    // Tasks of the routine that wait or run.
    int activeTasks(const std::string& routine) const;

private:
    void run();

    mutable std::mutex lock_;
    std::condition_variable wake_;
    std::deque<std::pair<std::string, std::function<void()>>> queue_;
    std::map<std::string, int> active_;
    std::vector<std::thread> threads_;
    bool stopping_ = false;
};

} // namespace pb
