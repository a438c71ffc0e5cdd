#include "app/DateTimeFormat.h"

#include <gtest/gtest.h>

using namespace pb;

TEST(FormatDateTime, PicturesAndTwentyFourHourSwitch) {
    const DateTime afternoon{2019, 3, 8, 16, 5, 7};
    struct Case {
        const char* date;
        const char* time;
        bool force24;
        const char* expected;
    } cases[] = {
        {"", "hh:mm:ss", true, "16:05:07"},
        {"", "hh:mm:ss", false, "04:05:07"},
        {"", "HH:mm:ss", false, "16:05:07"},
        {"yyyy-MM-dd ", "HH:mm:ss", false, "2019-03-08 16:05:07"},
        {"yyyy-M-d", "", false, "2019-3-8"},
        {"yy", "HH:mm", false, "16:05"}, // a date picture under 3 characters is not rendered
        {"yyyy-MM-dd", "ss", false, "2019-03-08"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatDateTime(afternoon, c.date, c.time, c.force24), c.expected)
            << c.date << "|" << c.time;
    EXPECT_EQ(formatDateTime({2019, 3, 8, 0, 0, 0}, "", "hh:mm:ss", false), "12:00:00");
    EXPECT_EQ(formatDateTime({2019, 3, 8, 12, 40, 0}, "", "hh:mm:ss", false), "12:40:00");
}

TEST(FormatDateTime, InvalidDateGivesEmptyText) {
    EXPECT_EQ(formatDateTime({2019, 2, 29, 0, 0, 0}, "yyyy-MM-dd", "", false), "");
    EXPECT_EQ(formatDateTime({2020, 2, 29, 0, 0, 0}, "yyyy-MM-dd", "", false), "2020-02-29");
    EXPECT_EQ(formatDateTime({2019, 13, 1, 0, 0, 0}, "yyyy-MM-dd", "", false), "");
    EXPECT_EQ(formatDateTime({2019, 1, 1, 24, 0, 0}, "", "HH:mm:ss", false), "");
}

TEST(FormatDateTime, EachPartIsCutTo49Bytes) {
    std::string longPicture(60, '-');
    longPicture = "yyyy" + longPicture;
    EXPECT_EQ(formatDateTime({2019, 1, 1, 0, 0, 0}, longPicture, "", false).size(), 49u);
}
