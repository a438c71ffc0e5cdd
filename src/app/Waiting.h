// The one way any thread of the program pauses, and the line-edge trim.
#pragma once

#include <string>
#include <string_view>

namespace pb {

enum class DelayUnit { Milliseconds = 0, Seconds = 1, Minutes = 2, Hours = 3 };

// Waits for the given time. On the UI thread a nested event loop keeps the
// windows responsive (other handlers run meanwhile); on a worker thread it
// sleeps. Returns true.
bool delayWithEvents(long long duration, DelayUnit unit = DelayUnit::Milliseconds);

// Drops a leading and a trailing CR LF, then every CR that begins a line and
// every LF that ends a line; a line break between two non-empty lines stays.
std::string trimLineBreaks(std::string_view text);

} // namespace pb
