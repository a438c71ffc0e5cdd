#include "app/DateTimeFormat.h"

#include <ctime>

namespace pb {

namespace {

bool isLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeapYear(y) ? 29 : kDays[m - 1];
}

std::string padded(int value, size_t width) {
    std::string digits = std::to_string(value);
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return digits;
}

size_t runLength(std::string_view picture, size_t at) {
    size_t n = 1;
    while (at + n < picture.size() && picture[at + n] == picture[at]) ++n;
    return n;
}

std::string cutTo49Bytes(std::string text) {
    if (text.size() > 49) text.resize(49);
    return text;
}

std::string renderDate(const DateTime& v, std::string_view picture) {
    std::string out;
    for (size_t i = 0; i < picture.size();) {
        char c = picture[i];
        if (c == '\'') {
            size_t end = picture.find('\'', i + 1);
            if (end == std::string_view::npos) end = picture.size();
            out.append(picture.substr(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        size_t n = runLength(picture, i);
        if (c == 'y') {
            out += n >= 3 ? padded(v.year, 4) : n == 2 ? padded(v.year % 100, 2)
                                                       : std::to_string(v.year % 100);
        } else if (c == 'M' && n <= 2) {
            out += padded(v.month, n);
        } else if (c == 'd' && n <= 2) {
            out += padded(v.day, n);
        } else {
            out.append(picture.substr(i, n));
        }
        i += n;
    }
    return out;
}

std::string renderTime(const DateTime& v, std::string_view picture, bool force24) {
    std::string out;
    for (size_t i = 0; i < picture.size();) {
        char c = picture[i];
        if (c == '\'') {
            size_t end = picture.find('\'', i + 1);
            if (end == std::string_view::npos) end = picture.size();
            out.append(picture.substr(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        size_t n = runLength(picture, i);
        size_t width = n >= 2 ? 2 : 1;
        if (c == 'H' || (c == 'h' && force24)) {
            out += padded(v.hour, width);
        } else if (c == 'h') {
            int h12 = v.hour % 12 == 0 ? 12 : v.hour % 12;
            out += padded(h12, width);
        } else if (c == 'm') {
            out += padded(v.minute, width);
        } else if (c == 's') {
            out += padded(v.second, width);
        } else if (c == 't') {
            out += n >= 2 ? (v.hour < 12 ? "AM" : "PM") : (v.hour < 12 ? "A" : "P");
        } else {
            out.append(picture.substr(i, n));
        }
        i += n;
    }
    return out;
}

} // namespace

bool isValidDateTime(const DateTime& v) {
    return v.year >= 1601 && v.year <= 30827 && v.month >= 1 && v.month <= 12 && v.day >= 1 &&
           v.day <= daysInMonth(v.year, v.month) && v.hour >= 0 && v.hour <= 23 &&
           v.minute >= 0 && v.minute <= 59 && v.second >= 0 && v.second <= 59;
}

DateTime localDateTime(std::chrono::system_clock::time_point when) {
    std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm parts{};
    localtime_r(&t, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
            parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

DateTime localNow() { return localDateTime(std::chrono::system_clock::now()); }

std::string formatDateTime(const DateTime& value, std::string_view datePicture,
                           std::string_view timePicture, bool forceTwentyFourHour) {
    if (!isValidDateTime(value)) return {};
    std::string out;
    if (datePicture.size() >= 3) out += cutTo49Bytes(renderDate(value, datePicture));
    if (timePicture.size() >= 3)
        out += cutTo49Bytes(renderTime(value, timePicture, forceTwentyFourHour));
    return out;
}

} // namespace pb
