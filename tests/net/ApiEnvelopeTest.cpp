#include "net/ApiEnvelope.h"

#include "app/Gbk.h"
#include "net/ScriptJson.h"
#include "PlatformSim.h"
#include "support/RawHttpServer.h"

#include <gtest/gtest.h>

#include <regex>

using namespace pb;
using pb::sim::Fault;
using pb::sim::FaultKind;

namespace {

class Envelope : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim.start());
        session.baseUrl = sim.baseUrl();
    }

    void logIn() {
        JMap fields;
        fields.CreateByDatas(
            {{"userName", "demo"}, {"password", base64OfGbk("demo123")}, {"from", "merchant"}});
        JMap reply = callFormApi(session, "login", fields);
        ASSERT_TRUE(replySucceeded(reply)) << reply.ToJSON();
        session.token = reply.GetString("token");
        session.machineToken = makeMachineToken();
    }

    pb::sim::PlatformSim sim;
    Session session;
};

} // namespace

TEST_F(Envelope, RouteListFillsRoutesAndChoosingARowMovesLaterRequests) {
    sim.state().setRoutes({{"电信线路", ""}, {"联通线路", "line2/"}, {"移动线路", "line3/"}});
    RouteList routes = fetchRouteList(sim.baseUrl());
    ASSERT_TRUE(routes.succeeded());
    EXPECT_EQ(routes.names, (std::vector<std::string>{"电信线路", "联通线路", "移动线路"}));
    EXPECT_EQ(routes.reg, "register.html");
    Session s;
    applyRouteList(s, routes);
    EXPECT_EQ(s.baseUrl, sim.baseUrl());
    EXPECT_EQ(s.registerPath, "register.html");
    chooseRoute(s, 1);
    EXPECT_EQ(s.baseUrl, sim.baseUrl() + "line2/");
    callFormApi(s, "getUserInfo", JMap());
    EXPECT_EQ(sim.requestsFor("getUserInfo").at(0).path, "/line2/getUserInfo");
    chooseRoute(s, 7); // no such row: nothing changes
    EXPECT_EQ(s.baseUrl, sim.baseUrl() + "line2/");
}

TEST_F(Envelope, EmptyRouteListChoosesNothing) {
    sim.state().setRoutes({});
    RouteList routes = fetchRouteList(sim.baseUrl());
    EXPECT_TRUE(routes.succeeded());
    EXPECT_TRUE(routes.names.empty());
    Session s;
    s.baseUrl = "http://default.example/";
    applyRouteList(s, routes);
    EXPECT_EQ(s.baseUrl, "http://default.example/");
}

TEST_F(Envelope, UnreachableOrGarbledRouteListReadsAsTheFallback) {
    const std::string dead = "http://127.0.0.1:" + std::to_string(pb::test::unusedPort()) + "/";
    sim.setFault("clientRoute", Fault{FaultKind::NotJson});
    for (const std::string& server : {dead, sim.baseUrl()}) {
        RouteList routes = fetchRouteList(server);
        EXPECT_FALSE(routes.succeeded());
        EXPECT_EQ(routes.status, "1");
        EXPECT_EQ(routes.message, "抱歉，暂时连接不上服务器");
        EXPECT_TRUE(routes.names.empty());
    }
}

TEST(MachineToken, Is32LowerHexAndFreshEachTime) {
    const std::string a = makeMachineToken();
    const std::string b = makeMachineToken();
    EXPECT_TRUE(std::regex_match(a, std::regex("[0-9a-f]{32}"))) << a;
    EXPECT_NE(a, b);
}

TEST_F(Envelope, FormBodiesArePercentEncodedUtf8InInsertionOrder) {
    JMap fields;
    fields.CreateByDatas({{"token", "t"}, {"message", "验证码+/=&1"}, {"mobile", "13800138000"}});
    callFormApi(session, "uploadMessage", fields);
    auto seen = sim.requestsFor("uploadMessage").at(0);
    EXPECT_EQ(seen.body,
              "token=t&message=%E9%AA%8C%E8%AF%81%E7%A0%81%2B%2F%3D%261&mobile=13800138000");
    bool formType = false;
    for (const auto& [k, v] : seen.headers)
        formType = formType || (k == "Content-Type" && v == "application/x-www-form-urlencoded");
    EXPECT_TRUE(formType);
}

TEST(JsonToFormBody, StringsLoseTheirQuotesOtherValuesStayJson) {
    EXPECT_EQ(jsonToFormBody(R"({"token":"ab","autoSelect":1,"data":[{"id":"5"}]})"),
              R"(token=ab&autoSelect=1&data=[{"id":"5"}])");
    EXPECT_EQ(jsonToFormBody(R"({"say":"a \"b\"","n":null,"f":false})"), "say=a \\b\\&n=null&f=false");
    EXPECT_EQ(jsonToFormBody("not json"), "");
}

TEST(ReplySucceeded, OnlyStatusZeroAsTextSucceeds) {
    struct Case {
        const char* reply;
        bool succeeded;
    } cases[] = {
        {R"({"status":0})", true},    {R"({"status":"0"})", true},  {R"({"status":"00"})", false},
        {R"({"status":false})", false}, {R"({"message":"x"})", false}, {"", false},
        {R"({"status":1})", false},
    };
    for (const auto& c : cases) {
        JMap reply;
        reply.FromJSON(c.reply);
        EXPECT_EQ(replySucceeded(reply), c.succeeded) << c.reply;
    }
}

TEST(JsonOrFallback, KeepsJsonReplacesTheRest) {
    EXPECT_EQ(jsonOrFallback(R"({"status":"0"})"), R"({"status":"0"})");
    EXPECT_EQ(jsonOrFallback("<html>"), kFallbackReply);
    EXPECT_EQ(jsonOrFallback(""), kFallbackReply);
}

TEST_F(Envelope, LoginRefusedAndAccepted) {
    JMap wrong;
    wrong.CreateByDatas({{"userName", "demo"}, {"password", base64OfGbk("nope")}, {"from", "merchant"}});
    JMap refused = callFormApi(session, "login", wrong);
    EXPECT_FALSE(replySucceeded(refused));
    EXPECT_EQ(refused.GetString("message"), "账号或密码错误");
    logIn();
    EXPECT_EQ(session.token.size(), 32u);
}

TEST_F(Envelope, StructuredBodyIsRawGbkAndRepeatsUntilJson) {
    logIn();
    sim.setFault("uploadMobile", Fault{.kind = FaultKind::NotJson, .remaining = 2});
    JList data;
    JMap entry;
    entry.CreateByDatas({{"mobile", "13800138000"}, {"remark", 3}, {"operator", "2"},
                         {"province", "%E5%B9%BF%E4%B8%9C"}, {"city", "%E5%B9%BF%E5%B7%9E"}});
    data.Appender(entry);
    JMap fields;
    fields.CreateByDatas({{"token", session.token}, {"machineToken", session.machineToken},
                          {"data", data}, {"type", "first"}, {"note", "广东"}});
    JMap reply = callStructuredApi(session, "uploadMobile", fields, true);
    EXPECT_TRUE(replySucceeded(reply)) << reply.ToJSON();
    EXPECT_EQ(reply.GetString("//data[1].mobile"), "13800138000");
    auto sent = sim.requestsFor("uploadMobile");
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[2].body, "token=" + session.token + "&machineToken=" + session.machineToken +
                                R"(&data=[{"mobile":"13800138000","remark":3,"operator":"2",)"
                                R"("province":"%E5%B9%BF%E4%B8%9C","city":"%E5%B9%BF%E5%B7%9E"}])"
                                "&type=first&note=" + encodeGbk("广东"));
    ASSERT_EQ(sim.state().onlineNumbers().size(), 1u);
    EXPECT_EQ(sim.state().onlineNumbers()[0].city, "广州");
}

TEST_F(Envelope, RepetitionEndsWhenToldToStop) {
    logIn();
    sim.setFault("downloadMobile", Fault{FaultKind::NotJson});
    int asked = 0;
    JMap reply = callStructuredApi(session, "downloadMobile", JMap(), true,
                                   [&] { return ++asked < 3; });
    EXPECT_FALSE(replySucceeded(reply));
    EXPECT_EQ(sim.requestsFor("downloadMobile").size(), 2u);
}

TEST_F(Envelope, RawRequestCarriesTheBodyUnchanged) {
    logIn();
    sim.state().setNotice("今日公告\r\n第二行");
    std::string text = callRawApi(session.baseUrl + "getNotice", "token=" + session.token);
    EXPECT_EQ(sim.requestsFor("getNotice").at(0).body, "token=" + session.token);
    ScriptJson doc;
    ASSERT_TRUE(doc.parse(text));
    EXPECT_EQ(textFromBase64Gbk(doc.getText("notice")), "今日公告\r\n第二行");
}

TEST_F(Envelope, SimulatorFaultsReachTheCallerAsFailures) {
    logIn();
    JMap fields;
    fields.CreateByDatas({{"token", session.token}, {"machineToken", session.machineToken}});
    struct Case {
        Fault fault;
        std::string message;
    } cases[] = {
        {Fault{.kind = FaultKind::Refuse, .status = "2", .message = "维护中"}, "维护中"},
        {Fault{FaultKind::Drop}, ""},
        {Fault{FaultKind::Http500}, ""},
        {Fault{FaultKind::NotJson}, ""},
    };
    for (const auto& c : cases) {
        sim.setFault("getUserInfo", c.fault);
        JMap reply = callFormApi(session, "getUserInfo", fields);
        EXPECT_FALSE(replySucceeded(reply));
        EXPECT_EQ(reply.GetString("message"), c.message);
    }
    sim.clearFaults();
    JMap reply = callFormApi(session, "getUserInfo", fields);
    EXPECT_TRUE(replySucceeded(reply));
    EXPECT_EQ(reply.GetString("userName"), "demo");
}
