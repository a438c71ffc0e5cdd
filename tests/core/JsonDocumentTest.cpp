#include "net/JsonDocument.h"

#include <gtest/gtest.h>

using namespace pb;

TEST(JMap, PathsCountFromOneAndAbsentPathsReadEmpty) {
    JMap reply;
    ASSERT_TRUE(reply.FromJSON(R"({"status":0,"data":[{"name":"A"},{"name":"B"}],"id":"12"})"));
    EXPECT_EQ(reply.GetString("status"), "0");
    EXPECT_EQ(reply.GetInt("id"), 12);
    EXPECT_EQ(reply.Count("//data"), 2);
    EXPECT_EQ(reply.GetString("//data[1].name"), "A");
    EXPECT_EQ(reply.GetString("//data[2].name"), "B");
    EXPECT_EQ(reply.GetString("//data[3].name"), "");
    EXPECT_EQ(reply.GetString("//data[0].name"), "");
    EXPECT_EQ(reply.GetString("//missing.deeper[1]"), "");
    EXPECT_EQ(reply.GetInt("//missing"), 0);
    EXPECT_EQ(reply.GetString("message"), "");

    JMap empty;
    ASSERT_TRUE(empty.FromJSON(R"({"status":"0","data":[]})"));
    EXPECT_EQ(empty.GetString("//data[1].name"), "");
    EXPECT_EQ(empty.Count("//data"), 0);
}

TEST(JMap, ConversionsOnReading) {
    JMap m;
    ASSERT_TRUE(m.FromJSON(R"({"t":true,"f":1.5,"n":null,"s":" 42","big":12345678901234})"));
    EXPECT_EQ(m.GetString("t"), "true");
    EXPECT_EQ(m.GetString("f"), "1.5");
    EXPECT_EQ(m.GetString("n"), "");
    EXPECT_EQ(m.GetString("big"), "12345678901234");
    EXPECT_EQ(m.GetInt("s"), 42);
    EXPECT_EQ(m.GetInt("t"), 0);
}

TEST(JMap, PlainKeysAreLiteralAndTheEscapeNamesALiteralSlashKey) {
    JMap m;
    m.CreateByDatas({{"13800138000.detail", "literal"}, {"////odd", "slashes"}});
    m.Setter("13800138000", JMap());
    EXPECT_EQ(m.GetString("13800138000.detail"), "literal");
    EXPECT_EQ(m.GetString("//13800138000.detail"), "");
    EXPECT_EQ(m.GetString("////odd"), "slashes");
    EXPECT_EQ(m.json().begin().key(), "13800138000.detail");
    ASSERT_TRUE(m.Setter("//response.x", 5));
    EXPECT_EQ(m.GetInt("//response.x"), 5);
}

TEST(JMap, CreateByDatasReplacesAReplyAndKeepsOrder) {
    JMap m;
    ASSERT_TRUE(m.FromJSON(R"({"status":"1","message":"old"})"));
    JList list;
    JMap entry;
    entry.CreateByDatas({{"id", "5"}});
    list.Appender(entry);
    m.CreateByDatas({{"token", "tk"}, {"count", 2}, {"price", 1.25}, {"data", list}});
    EXPECT_EQ(m.GetString("status"), "");
    EXPECT_EQ(m.ToJSON(), R"({"token":"tk","count":2,"price":1.25,"data":[{"id":"5"}]})");
    // The list was copied in: changing the original leaves the document alone.
    list.Appender(7);
    EXPECT_EQ(m.Count("//data"), 1);
}

TEST(JMap, FormStringIsUtf8PercentEncodedInInsertionOrder) {
    JMap m;
    m.CreateByDatas({{"username", "张三"}, {"password", "a+b/c=="}, {"x&y", "1 2"}});
    EXPECT_EQ(m.ToFormString("UTF-8"),
              "username=%E5%BC%A0%E4%B8%89&password=a%2Bb%2Fc%3D%3D&x%26y=1%202");
    EXPECT_EQ(JMap().ToFormString(), "");
}

TEST(JMap, ToJsonKeepsChineseUnescaped) {
    JMap m;
    m.CreateByDatas({{"city", "广州"}});
    EXPECT_EQ(m.ToJSON(), "{\"city\":\"广州\"}");
}

TEST(JMap, FromJsonSwitchSelectsUtf8OrGbkSource) {
    JMap m;
    EXPECT_TRUE(m.FromJSON("{\"a\":\"\xB9\xE3\xB6\xAB\"}", false)); // 广东 as GBK bytes
    EXPECT_EQ(m.GetString("a"), "广东");
    EXPECT_FALSE(m.FromJSON("{\"a\":\"\xB9\xE3\xB6\xAB\"}", true)); // not UTF-8
    EXPECT_FALSE(m.FromJSON("[1,2]"));
    EXPECT_EQ(m.Count(), 0);
}

TEST(JList, FromSplitStringRowsAndColumns) {
    JList list;
    EXPECT_EQ(list.FromSplitString("1,13800000001,a\r\n2,13800000002,b\r\n", "\r\n", ","), 2);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.GetString(2, 3), "b");
    EXPECT_EQ(list.GetInt(2, 1), 2);
    EXPECT_EQ(list.GetString(3, 1), "");
    EXPECT_EQ(list.GetString(1, 4), "");
    EXPECT_EQ(list.FromSplitString("", "\r\n", ","), 0);
}

TEST(Documents, CopiesAreDeep) {
    JMap a;
    a.CreateByDatas({{"k", "v"}});
    JMap b = a;
    b.Setter("k", "changed");
    EXPECT_EQ(a.GetString("k"), "v");
    JMap store = CreateStoreMap({{"猫池程序", 2}, {"猫池路径", "C:\\pool"}});
    EXPECT_EQ(store.GetInt("猫池程序"), 2);
    EXPECT_EQ(store.GetString("猫池路径"), "C:\\pool");
}
