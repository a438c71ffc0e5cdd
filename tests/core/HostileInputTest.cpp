// Replies come from the network: whatever arrives, the documents answer
// false or absent and never crash or hang.
#include "net/JsonDocument.h"
#include "net/ScriptJson.h"

#include <gtest/gtest.h>

#include <random>

using namespace pb;

namespace {
std::vector<std::string> hostileTexts() {
    std::vector<std::string> texts = {
        R"({"status":"0","data":[{"na)",              // cut off
        std::string(100000, '[') + std::string(100000, ']'), // deeply nested
        std::string(100000, '{'),
        std::string("{\"a\":\"\xC3\x28\"}"),            // invalid UTF-8
        std::string("{\"a\":\"x\0y\"}", 11),             // NUL inside
        "{'a':'unterminated",
        "{\"a\":1}trailing",
        "\xEF\xBB\xBF",
    };
    std::mt19937 rng(7);
    std::string binary(4096, '\0');
    for (char& c : binary) c = static_cast<char>(rng());
    texts.push_back(binary);
    return texts;
}
} // namespace

TEST(HostileInput, DocumentsRefuseWithoutCrashing) {
    for (const std::string& text : hostileTexts()) {
        JMap map;
        EXPECT_FALSE(map.FromJSON(text)) << text.substr(0, 40);
        EXPECT_EQ(map.GetString("status"), "");
        ScriptJson doc;
        EXPECT_FALSE(doc.parse(text)) << text.substr(0, 40);
        EXPECT_EQ(doc.getText("status"), "");
        EXPECT_EQ(doc.typeOf("data"), ScriptJson::kUnreachable);
    }
}

TEST(HostileInput, HugeButValidReplyIsRead) {
    std::string big = R"({"status":"0","data":[)";
    for (int i = 0; i < 100000; ++i) big += (i ? "," : "") + std::string(R"({"id":)") +
                                            std::to_string(i) + "}";
    big += "]}";
    JMap map;
    ASSERT_TRUE(map.FromJSON(big));
    EXPECT_EQ(map.Count("//data"), 100000);
    EXPECT_EQ(map.GetInt("//data[100000].id"), 99999);
}

TEST(HostileInput, ModerateNestingStillParses) {
    std::string nested = std::string(200, '[') + std::string(200, ']');
    ScriptJson doc;
    EXPECT_TRUE(doc.parse(nested));
}
