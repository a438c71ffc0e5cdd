#include "net/ScriptJson.h"

#include <gtest/gtest.h>

using namespace pb;

TEST(ScriptJson, FallbackReplyWithSingleQuotesParses) {
    ScriptJson doc;
    ASSERT_TRUE(doc.parse("{'status':1,'message':'抱歉，暂时连接不上服务器'}"));
    EXPECT_EQ(doc.getText("status"), "1");
    EXPECT_EQ(doc.getText("message"), "抱歉，暂时连接不上服务器");
    ASSERT_TRUE(doc.parse(R"({'say':'he said "hi"','it\'s':'ok'})"));
    EXPECT_EQ(doc.getText("say"), "he said \"hi\"");
}

TEST(ScriptJson, TextsThatAreNoDocumentDoNotParse) {
    ScriptJson doc;
    for (const char* text : {"", "null", "<html><body>502 Bad Gateway</body></html>",
                             "{\"status\":0", "   "})
        EXPECT_FALSE(doc.parse(text)) << text;
}

TEST(ScriptJson, SecondParseForgetsTheFirst) {
    ScriptJson doc;
    ASSERT_TRUE(doc.parse(R"({"a":1})"));
    ASSERT_TRUE(doc.parse(R"({"b":2})"));
    EXPECT_EQ(doc.getText("a"), "");
    EXPECT_EQ(doc.getText("b"), "2");
    EXPECT_FALSE(doc.parse("garbage"));
    EXPECT_EQ(doc.getText("b"), "");
    EXPECT_EQ(doc.typeOf(), ScriptJson::kNull);
}

TEST(ScriptJson, PathsCountFromZero) {
    ScriptJson doc;
    ASSERT_TRUE(doc.parse(R"({"data":[{"name":"A"},{"name":"B"}]})"));
    EXPECT_EQ(doc.count("data"), 2);
    EXPECT_EQ(doc.getText("data[1].name"), "B");
    EXPECT_EQ(doc.getText("data[2].name"), "");
    EXPECT_EQ(doc.typeOf("data"), ScriptJson::kArray);
    EXPECT_EQ(doc.typeOf("data[0]"), ScriptJson::kObject);
    EXPECT_EQ(doc.typeOf("data[2]"), ScriptJson::kNull);
    EXPECT_EQ(doc.typeOf("data[2].name"), ScriptJson::kUnreachable);

    ASSERT_TRUE(doc.parse(R"([{"x":"first"},{"x":"second"}])"));
    EXPECT_EQ(doc.getText("[1].x"), "second");
    EXPECT_EQ(doc.count("[0]"), 1);
    EXPECT_EQ(doc.typeOf("[0]"), ScriptJson::kUnreachable); // the type test always joins with "."
}

TEST(ScriptJson, NumbersAsText) {
    ScriptJson doc;
    ASSERT_TRUE(doc.parse(R"({"half":0.5,"hundred":100,"big":12345678901234,"v":"1.0.3"})"));
    EXPECT_EQ(doc.getText("half"), "0.5");
    EXPECT_EQ(doc.getText("hundred"), "100");
    EXPECT_EQ(doc.getText("big"), "1.234567890123e+13");
    EXPECT_EQ(doc.getText("v"), "1.0.3");
    EXPECT_DOUBLE_EQ(doc.getNumber("half"), 0.5);
}

TEST(ScriptJson, AbsentMembersAndUnreachablePaths) {
    ScriptJson doc;
    ASSERT_TRUE(doc.parse(R"({"x":{"y":null},"n":5})"));
    EXPECT_EQ(doc.getText("a.b.c"), "");
    EXPECT_EQ(doc.typeOf("a.b.c"), ScriptJson::kUnreachable);
    EXPECT_EQ(doc.typeOf("a"), ScriptJson::kNull);
    EXPECT_EQ(doc.typeOf("x.y"), ScriptJson::kNull);
    EXPECT_EQ(doc.typeOf("x.y.z"), ScriptJson::kUnreachable);
    EXPECT_EQ(doc.typeOf("n.z"), ScriptJson::kNull); // a member of a number is undefined
    EXPECT_EQ(doc.typeOf("bad-name"), ScriptJson::kUnreachable);
    EXPECT_EQ(doc.typeOf("n"), ScriptJson::kNumber);
    EXPECT_EQ(doc.typeOf(""), ScriptJson::kObject);
}

TEST(ScriptJson, AsJsonText) {
    ScriptJson doc;
    ASSERT_TRUE(doc.parse(R"({"s":"say \"x\"","o":{"k":[1,true,null]},"c":"广州"})"));
    EXPECT_EQ(doc.getText("s", true), R"("say \"x\"")");
    EXPECT_EQ(doc.getText("o", true), R"({"k":[1,true,null]})");
    EXPECT_EQ(doc.getText("c", true), "\"广州\"");
    EXPECT_EQ(doc.getText("missing", true), "");
    EXPECT_EQ(doc.typeOf("o.k[1]"), ScriptJson::kBoolean);
    EXPECT_EQ(doc.typeOf("s"), ScriptJson::kString);
}

TEST(ScriptJson, KeysInDocumentOrderAndCounts) {
    ScriptJson doc;
    ASSERT_TRUE(doc.parse(R"({"b":1,"a":2})"));
    std::vector<std::string> names;
    EXPECT_EQ(doc.keys(names), 2);
    EXPECT_EQ(names, (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(doc.keys(names, "missing.x"), 0);
    EXPECT_TRUE(names.empty());
    ASSERT_TRUE(doc.parse(R"({"o":{},"l":[]})"));
    EXPECT_EQ(doc.count("o"), 0);
    EXPECT_EQ(doc.count("l"), 0);
    EXPECT_LE(doc.count("nothing"), 0);
}
