#include "app/Gbk.h"
#include "app/Text.h"

#include <gtest/gtest.h>

using namespace pb;

TEST(Text, TrimRemovesAsciiAndFullWidthSpacesOnly) {
    EXPECT_EQ(trimSpaces("  \xE3\x80\x80" "abc \xE3\x80\x80 "), "abc");
    EXPECT_EQ(trimSpaces("\tabc\r\n"), "\tabc\r\n");
    EXPECT_EQ(trimSpaces("a b"), "a b");
    EXPECT_EQ(trimSpaces("   "), "");
}

TEST(Text, SplitKeepsInnerEmptyFieldsAndAddsNoneAfterTrailingSeparator) {
    struct Case {
        const char* text;
        const char* sep;
        std::vector<std::string> parts;
    } cases[] = {
        {"a,,b", ",", {"a", "", "b"}},
        {"a,b,", ",", {"a", "b"}},
        {",a", ",", {"", "a"}},
        {"", ",", {}},
        {"a\r\nb\r\n", "\r\n", {"a", "b"}},
        {"one", "\r\n", {"one"}},
    };
    for (const auto& c : cases) EXPECT_EQ(splitText(c.text, c.sep), c.parts) << c.text;
}

TEST(Text, NumbersAndMoney) {
    EXPECT_EQ(formatNumber(0.5), "0.5");
    EXPECT_EQ(formatNumber(100), "100");
    EXPECT_EQ(formatNumber(12345678901234.0), "1.234567890123e+13");
    EXPECT_EQ(formatNumber(1234567890123.0), "1234567890123");
    EXPECT_EQ(formatMoney(3), "3.00");
    EXPECT_EQ(formatMoney(0.1 + 0.2), "0.30");
}

TEST(Text, PercentEncodeUtf8) {
    EXPECT_EQ(percentEncodeUtf8("广东"), "%E5%B9%BF%E4%B8%9C");
    EXPECT_EQ(percentEncodeUtf8("a b#c%d&e+f~"), "a%20b%23c%25d%26e%2Bf~");
    EXPECT_EQ(percentEncodeUtf8(std::string("\x7F\x01", 2)), "%7F%01");
}

TEST(Text, ParseIntegerIsStrict) {
    long long v = 0;
    EXPECT_TRUE(parseInteger("12", v));
    EXPECT_EQ(v, 12);
    EXPECT_TRUE(parseInteger("-7", v));
    EXPECT_EQ(v, -7);
    for (const char* bad : {"", "1a", " 1", "+-1", "1.5", "99999999999999999999"})
        EXPECT_FALSE(parseInteger(bad, v)) << bad;
}

TEST(Gbk, ChineseRoundTripsThroughGbkBytes) {
    const std::string text = "叮叮摩卡 新酷卡 洗刷刷：余额￥3.00";
    const std::string bytes = encodeGbk(text);
    EXPECT_EQ(bytes.substr(0, 4), "\xB6\xA3\xB6\xA3"); // 叮叮 in GBK
    EXPECT_EQ(decodeGbk(bytes), text);
}

TEST(Gbk, DecodingLosesNoValidSequenceAndSurvivesGarbage) {
    // A four-byte GB18030 sequence (U+20AC's neighbour range) decodes too.
    EXPECT_EQ(decodeGbk("\x81\x30\x81\x30"), "\xC2\x80");
    // A lone lead byte at the end becomes U+FFFD; the text before it stays.
    EXPECT_EQ(decodeGbk("ab\xB6"), "ab\xEF\xBF\xBD");
    // A character GBK lacks becomes '?'.
    EXPECT_EQ(encodeGbk("a\xF0\x9F\x98\x80" "b"), "a?b");
    EXPECT_EQ(encodeGbk("a\xFF" "b"), "a?b");
}

TEST(Gbk, Base64OfChinesePasswordIsOfItsGbkBytes) {
    EXPECT_EQ(base64OfGbk("密码123"), "w9zC6zEyMw==");
    EXPECT_EQ(textFromBase64Gbk("w9zC6zEyMw=="), "密码123");
    EXPECT_EQ(base64Encode(""), "");
    EXPECT_EQ(base64Encode("ab"), "YWI=");
    std::string out;
    EXPECT_FALSE(base64Decode("YW=I", out));
    EXPECT_FALSE(base64Decode("YWI", out));
    EXPECT_FALSE(base64Decode("Y*I=", out));
    EXPECT_EQ(textFromBase64Gbk("not base64!"), "");
}

TEST(Gbk, Utf8Validation) {
    EXPECT_TRUE(isValidUtf8("广东abc"));
    EXPECT_FALSE(isValidUtf8("\xC0\x80"));     // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80")); // surrogate
    EXPECT_FALSE(isValidUtf8("\xE5\xB9"));     // cut off
}
