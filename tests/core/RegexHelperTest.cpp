#include "net/RegexHelper.h"

#include <gtest/gtest.h>

using namespace pb;

namespace {
const char* const kCharset = "<meta.+?charset=[^\\w]?([-\\w]+)";
std::string charsetOf(const std::string& page) {
    RegexHelper r;
    return r.create(kCharset, page) ? r.subMatchText(1, 1) : "?";
}
} // namespace

TEST(RegexHelper, InvalidPatternReadsEmpty) {
    RegexHelper r;
    EXPECT_FALSE(r.create("(unclosed", "subject"));
    EXPECT_EQ(r.matchCount(), 0);
    EXPECT_EQ(r.matchText(1), "");
    EXPECT_EQ(r.replace(), "");
    EXPECT_TRUE(r.create("zzz", "subject"));
    EXPECT_EQ(r.matchCount(), 0);
    EXPECT_EQ(r.replace("x"), "subject");
}

TEST(RegexHelper, CharsetDeclaration) {
    EXPECT_EQ(charsetOf("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; CHARSET=GB2312\">"),
              "GB2312");
    EXPECT_EQ(charsetOf("<meta charset=\"utf-8\">"), "utf-8");
    EXPECT_EQ(charsetOf("<meta http-equiv=x\ncharset=gbk>"), "");
}

TEST(RegexHelper, DigitsInOrderAndNumberingFromOne) {
    RegexHelper r;
    ASSERT_TRUE(r.create("[0-9]", "a1中2b３4"));
    std::string digits;
    for (int i = 1; i <= r.matchCount(); ++i) digits += r.matchText(i);
    EXPECT_EQ(digits, "124");
    EXPECT_EQ(r.matchText(0), "");
    ASSERT_TRUE(r.create("(a)(x)?", "ab"));
    EXPECT_EQ(r.subMatchText(1, 0), "");
    EXPECT_EQ(r.subMatchText(1, 1), "a");
    EXPECT_EQ(r.subMatchText(1, 2), ""); // group took no part
    EXPECT_EQ(r.subMatchCount(), 2);
}

TEST(RegexHelper, CharactersNotBytes) {
    RegexHelper r;
    ASSERT_TRUE(r.create("^.$", "中"));
    EXPECT_EQ(r.matchCount(), 1);
    ASSERT_TRUE(r.create("中", "x中y中"));
    EXPECT_EQ(r.replace("-"), "x-y-");
}

TEST(RegexHelper, LineEdgePattern) {
    RegexHelper r;
    ASSERT_TRUE(r.create("(?:^\\r|\\n$)", "text\n"));
    EXPECT_EQ(r.replace(), "text");
    ASSERT_TRUE(r.create("(?:^\\r|\\n$)", "\rtext"));
    EXPECT_EQ(r.replace(), "text");
}

TEST(RegexHelper, OptionsAndPlaceholder) {
    RegexHelper r;
    RegexHelper::Options caseSensitive;
    caseSensitive.caseSensitive = true;
    ASSERT_TRUE(r.create("abc", "ABC abc", caseSensitive));
    EXPECT_EQ(r.matchCount(), 1);
    RegexHelper::Options once;
    once.global = false;
    ASSERT_TRUE(r.create("a", "aaa", once));
    EXPECT_EQ(r.replace("b"), "baa");
    RegexHelper::Options quotes;
    quotes.quotePlaceholder = true;
    ASSERT_TRUE(r.create("#引号([0-9]+)#引号", R"({"id":"42"})", quotes));
    EXPECT_EQ(r.matchText(1), "\"42\"");
    EXPECT_EQ(r.pattern(), "\"([0-9]+)\"");
}

TEST(RegexHelper, ReplacementReferences) {
    RegexHelper r;
    ASSERT_TRUE(r.create("(\\d+)-(\\d+)", "1-2 3-4"));
    EXPECT_EQ(r.replace("$2+$1 $$ [$&]"), "2+1 $ [1-2] 4+3 $ [3-4]");
}
