#include "app/Waiting.h"

#include "app/Text.h"
#include "app/UiThread.h"
#include "net/RegexHelper.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <thread>

namespace pb {

bool delayWithEvents(long long duration, DelayUnit unit) {
    static constexpr long long kFactor[] = {1, 1000, 60'000, 3'600'000};
    long long ms = duration * kFactor[static_cast<int>(unit)];
    if (ms <= 0) return true;
    if (!onUiThread()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return true;
    }
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    bool fired = false;
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        fired = true;
        loop.quit();
    });
    // QTimer takes an int of milliseconds; longer waits run in slices.
    auto started = std::chrono::steady_clock::now();
    for (;;) {
        auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - started)
                           .count();
        long long left = ms - elapsed;
        if (left <= 0) break;
        fired = false;
        timer.start(static_cast<int>(std::min<long long>(left, 24LL * 3600 * 1000)));
        loop.exec();
        // The application asked every loop to end (it is quitting): stop waiting.
        if (!fired) break;
    }
    return true;
}

std::string trimLineBreaks(std::string_view text) {
    if (startsWith(text, "\r\n")) text.remove_prefix(2);
    if (endsWith(text, "\r\n")) text.remove_suffix(2);
    RegexHelper regex;
    regex.create("(?:^\\r|\\n$)", text);
    return regex.replace();
}

} // namespace pb
