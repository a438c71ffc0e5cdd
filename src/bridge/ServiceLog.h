// The service log: lines queued from any thread, shown in batches by the
// drain, the log box kept at 1000 lines.
#pragma once

#include "app/DateTimeFormat.h"

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace pb {

inline constexpr int kLogBoxMaxLines = 1000;

class ServiceLog {
public:
    using Clock = std::function<DateTime()>; // the local time of now; a seam for tests

    ServiceLog();
    explicit ServiceLog(Clock clock) : clock_(std::move(clock)) {}

    void setClock(Clock clock) {
        std::lock_guard<std::mutex> guard(logLock_);
        clock_ = std::move(clock);
    }

    // Queues "[HH:mm:ss] text" and returns at once; callable from any thread.
    void appendLog(const std::string& text);
    // Takes every pending line, oldest first, leaving none.
    std::vector<std::string> takePending();

private:
    Clock clock_;
    std::mutex logLock_;
    std::vector<std::string> pendingLogLines_;
};

// Lines as the log box counts them: LF characters, plus one when the text
// does not end with LF; the empty text has none.
int countLogLines(const std::string& text);

// The block of taken lines, each followed by CR LF.
std::string logBlock(const std::vector<std::string>& lines);

// The new text of the log box after appending the block: the oldest lines
// are dropped so that at most 1000 remain.
std::string logBoxAfterAppend(const std::string& boxText, const std::string& block);

} // namespace pb
