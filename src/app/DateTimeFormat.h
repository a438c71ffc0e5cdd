// Date-time rendering with Windows-style picture strings.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace pb {

struct DateTime {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31
    int hour = 0;  // 0..23
    int minute = 0;
    int second = 0;
};

bool isValidDateTime(const DateTime& value);

DateTime localDateTime(std::chrono::system_clock::time_point when);
DateTime localNow();

// Pictures: "yyyy" "yy" "y" "MM" "M" "dd" "d" for the date; "HH" "H" "hh" "h"
// "mm" "m" "ss" "s" "tt" "t" for the time; text in single quotes and any
// other character stand as they are. Each part is rendered only when its
// picture has at least 3 characters and is cut to 49 bytes; the date part is
// followed directly by the time part. forceTwentyFourHour writes "hh" and "h"
// on the 24-hour clock. An invalid date-time gives the empty text.
std::string formatDateTime(const DateTime& value, std::string_view datePicture,
                           std::string_view timePicture, bool forceTwentyFourHour);

} // namespace pb
