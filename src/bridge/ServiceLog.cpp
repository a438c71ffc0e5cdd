#include "bridge/ServiceLog.h"

#include "app/DateTimeFormat.h"

#include <algorithm>

namespace pb {

ServiceLog::ServiceLog() : clock_(localNow) {}

void ServiceLog::appendLog(const std::string& text) {
    std::lock_guard<std::mutex> guard(logLock_);
    pendingLogLines_.push_back("[" + formatDateTime(clock_(), "", "hh:mm:ss", true) + "] " + text);
}

std::vector<std::string> ServiceLog::takePending() {
    std::vector<std::string> taken;
    std::lock_guard<std::mutex> guard(logLock_);
    taken.swap(pendingLogLines_);
    return taken;
}

int countLogLines(const std::string& text) {
    if (text.empty()) return 0;
    int n = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    return text.back() == '\n' ? n : n + 1;
}

std::string logBlock(const std::vector<std::string>& lines) {
    std::string block;
    for (const std::string& line : lines) block += line + "\r\n";
    return block;
}

std::string logBoxAfterAppend(const std::string& boxText, const std::string& block) {
    if (block.empty()) return boxText;
    auto dropOldest = [](std::string& text, int lines) {
        size_t cut = 0;
        while (lines-- > 0 && cut < text.size()) {
            size_t lf = text.find('\n', cut);
            cut = lf == std::string::npos ? text.size() : lf + 1;
        }
        text.erase(0, cut);
    };
    std::string box = boxText;
    std::string added = block;
    const int total = countLogLines(added) + countLogLines(box);
    if (total > kLogBoxMaxLines) {
        dropOldest(box, total - kLogBoxMaxLines);
        if (!box.empty() && box.back() != '\n') box += "\r\n";
        // A single batch larger than the box keeps only its newest lines.
        const int excess = countLogLines(added) - kLogBoxMaxLines;
        if (excess > 0) dropOldest(added, excess);
    }
    return box + added;
}

} // namespace pb
