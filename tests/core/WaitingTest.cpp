#include "app/Waiting.h"

#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace pb;
using Clock = std::chrono::steady_clock;

TEST(DelayWithEvents, ZeroReturnsAtOnce) {
    auto start = Clock::now();
    EXPECT_TRUE(delayWithEvents(0));
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(50));
}

TEST(DelayWithEvents, UiThreadHandlesEventsWhileWaiting) {
    bool handled = false;
    QTimer::singleShot(50, [&] { handled = true; });
    auto start = Clock::now();
    EXPECT_TRUE(delayWithEvents(1, DelayUnit::Seconds));
    EXPECT_TRUE(handled);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(990));
}

TEST(DelayWithEvents, WorkerThreadSleeps) {
    bool result = false;
    auto start = Clock::now();
    std::thread worker([&] { result = delayWithEvents(200); });
    worker.join();
    EXPECT_TRUE(result);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(195));
}

TEST(TrimLineBreaks, EdgesGoInnerBreaksStay) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"\r\na\r\nb\r\n", "a\r\nb"},
        {"a\r\nb", "a\r\nb"},
        {"", ""},
        {"a\n", "a"},
        {"\ra", "a"},
    };
    for (const auto& c : cases) EXPECT_EQ(trimLineBreaks(c.in), c.out) << c.in;
}
