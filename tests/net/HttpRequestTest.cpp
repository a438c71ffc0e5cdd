#include "net/HttpRequest.h"

#include "app/Gbk.h"
#include "support/RawHttpServer.h"
#include "support/SelfSignedTls.h"

#include <QTimer>
#include <gtest/gtest.h>
#include <httplib.h>

#include <cstdlib>

using namespace pb;
using pb::test::RawHttpServer;

namespace {

RawHttpServer::Responder answer(std::string response) {
    return [response](const pb::test::RawRequest&) { return RawHttpServer::Script{response}; };
}

std::vector<std::string> withoutClientLines(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const std::string& l : lines)
        if (l.rfind("Host:", 0) != 0 && l.rfind("Content-Length:", 0) != 0) out.push_back(l);
    return out;
}

const std::vector<std::string> kDefaultPostLines = {
    "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)",
    "Accept: text/html, application/xhtml+xml, */*",
    "Accept-Encoding: gbk, GB2312",
    "Accept-Language: zh-cn",
    "Content-Type: application/x-www-form-urlencoded",
    "Cache-Control: no-cache",
};

} // namespace

TEST(HttpWire, PostSendsTheSixDefaultLinesInOrderAndGetFive) {
    RawHttpServer server(answer(RawHttpServer::reply("ok")));
    HttpReply post = httpRequest({.url = server.url("/login"), .method = kPost, .bodyText = "a=1"});
    EXPECT_EQ(post.text, "ok");
    HttpReply get = httpRequest({.url = server.url("/clientRoute")});
    EXPECT_EQ(get.statusOut, "200 OK");

    auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].requestLine, "POST /login HTTP/1.1");
    EXPECT_EQ(withoutClientLines(requests[0].headerLines), kDefaultPostLines);
    EXPECT_EQ(requests[0].body, "a=1");
    std::vector<std::string> getLines = kDefaultPostLines;
    getLines.erase(getLines.begin() + 4);
    EXPECT_EQ(requests[1].requestLine, "GET /clientRoute HTTP/1.1");
    EXPECT_EQ(withoutClientLines(requests[1].headerLines), getLines);
}

TEST(HttpWire, CallerHeadersAreNormalisedAndSuppressDefaults) {
    RawHttpServer server(answer(RawHttpServer::reply("ok")));
    httpRequest({.url = server.url("/x"),
                 .extraHeaders = "user-agent: probe/1\r\nreferer: http://a/\r\nx-my-header: 1\r\n"
                                 "Connection: keep-alive"});
    auto lines = server.requests().at(0).headerLines;
    auto has = [&](const std::string& l) {
        return std::find(lines.begin(), lines.end(), l) != lines.end();
    };
    EXPECT_TRUE(has("User-Agent: probe/1"));
    EXPECT_TRUE(has("Referer: http://a/"));
    EXPECT_TRUE(has("X-My-Header: 1"));
    for (const std::string& l : lines) {
        EXPECT_EQ(l.find("Mozilla"), std::string::npos) << l;
        EXPECT_NE(l, "Connection: keep-alive");
    }
}

TEST(HttpWire, UrlWithoutPathRequestsRoot) {
    RawHttpServer server(answer(RawHttpServer::reply("root")));
    EXPECT_EQ(httpRequest({.url = "http://127.0.0.1:" + std::to_string(server.port())}).text,
              "root");
    EXPECT_EQ(server.requests().at(0).requestLine, "GET / HTTP/1.1");
}

TEST(HttpWire, CookiesAreSentAndMergedWithTheReturnedOnes) {
    RawHttpServer server(answer(RawHttpServer::reply(
        "", "200 OK", {"Set-Cookie: a=1; path=/", "Set-Cookie: b=2"})));
    HttpReply r = httpRequest({.url = server.url("/"), .cookiesIn = "a=0; c=3"});
    EXPECT_EQ(r.cookiesOut, "a=1; b=2; c=3");
    auto lines = server.requests().at(0).headerLines;
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Cookie: a=0; c=3"), lines.end());

    RawHttpServer deleting(answer(RawHttpServer::reply("", "200 OK", {"Set-Cookie: c=deleted"})));
    EXPECT_EQ(httpRequest({.url = deleting.url("/"), .cookiesIn = "a=0; c=3"}).cookiesOut, "a=0");
}

TEST(HttpWire, MergeCookiesRules) {
    struct Case {
        const char* sent;
        const char* returned;
        const char* merged;
    } cases[] = {
        {"a=0; c=3", "a=1; b=2", "a=1; b=2; c=3"},
        {"a=0;", "", "a=0"},
        {"a=0; c=3", "c=deleted", "a=0"},
        {"x=1", "x=1; x=1", "x=1"},
        {" s=1 ", "t", "t; s=1"},
    };
    for (const auto& c : cases) EXPECT_EQ(mergeCookies(c.sent, c.returned), c.merged) << c.sent;
}

TEST(HttpWire, StatusLocationAndRedirects) {
    RawHttpServer target(answer(RawHttpServer::reply("landed")));
    RawHttpServer redirecting(
        answer(RawHttpServer::reply("moved", "302 Found", {"Location: " + target.url("/t")})));
    HttpReply followed = httpRequest({.url = redirecting.url("/")});
    EXPECT_EQ(followed.text, "landed");
    EXPECT_EQ(followed.statusOut, "200 OK");
    HttpReply stopped = httpRequest({.url = redirecting.url("/"), .noRedirect = true});
    EXPECT_EQ(stopped.text, "moved");
    EXPECT_EQ(stopped.statusOut, "302 Found");
    EXPECT_EQ(stopped.locationOut, target.url("/t"));
    EXPECT_EQ(stopped.headersOut.rfind("HTTP/1.1 302 Found\r\n", 0), 0u);
}

TEST(HttpWire, ErrorStatusesAreRepliesNotFailures) {
    RawHttpServer server(answer(RawHttpServer::reply("nope", "404 Not Found")));
    HttpReply r = httpRequest({.url = server.url("/")});
    EXPECT_EQ(r.text, "nope");
    EXPECT_EQ(r.statusOut, "404 Not Found");
}

TEST(HttpCharset, MetaDeclarationWithinTheFirstKilobyteDecides) {
    const std::string gbkChinese = encodeGbk("广东");
    struct Case {
        std::string body;
        std::string expected;
    } cases[] = {
        {"<html><meta charset=\"utf-8\">广东</html>", "<html><meta charset=\"utf-8\">广东</html>"},
        {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">" + gbkChinese,
         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">广东"},
        // A declaration after byte 1,024 is not seen: the bytes stay as they came.
        {std::string(1100, ' ') + "<meta charset=gbk>" + gbkChinese,
         std::string(1100, ' ') + "<meta charset=gbk>" + gbkChinese},
        {"{\"city\":\"广州\"}", "{\"city\":\"广州\"}"},
    };
    for (const auto& c : cases) {
        RawHttpServer server(answer(RawHttpServer::reply(c.body)));
        HttpReply r = httpRequest({.url = server.url("/")});
        EXPECT_EQ(r.text, c.expected);
        EXPECT_EQ(r.bodyBytesOut, c.body);
    }
}

TEST(HttpErrors, FailingStepsGiveTheirNumberedTextAndNoResult) {
    HttpReply bad = httpRequest({.url = "not a url"});
    EXPECT_EQ(bad.statusOut, http_error::kBadUrl);
    EXPECT_EQ(httpRequest({.url = "ftp://127.0.0.1/x"}).statusOut, http_error::kBadUrl);
    EXPECT_EQ(bad.text, "");

    HttpReply refused =
        httpRequest({.url = "http://127.0.0.1:" + std::to_string(pb::test::unusedPort()) + "/"});
    EXPECT_EQ(refused.statusOut, http_error::kSend);
    EXPECT_EQ(refused.text, "");

    RawHttpServer silent([](const pb::test::RawRequest&) {
        return RawHttpServer::Script{{}, /*silent=*/true};
    });
    HttpReply timedOut = httpRequest({.url = silent.url("/"), .timeoutSeconds = 1});
    EXPECT_EQ(timedOut.statusOut, http_error::kNoResponse);
    EXPECT_EQ(timedOut.text, "");

    RawHttpServer hangsUp(answer(""));
    EXPECT_EQ(httpRequest({.url = hangsUp.url("/")}).statusOut, http_error::kNoResponse);
}

TEST(HttpErrors, BodyCutShortKeepsWhatArrivedAndSays713) {
    RawHttpServer server(answer("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n{\"status\":"));
    HttpReply r = httpRequest({.url = server.url("/")});
    EXPECT_EQ(r.statusOut, http_error::kRead);
    EXPECT_EQ(r.text, "{\"status\":");
    EXPECT_EQ(r.headersOut.rfind("HTTP/1.1 200 OK", 0), 0u);
}

TEST(HttpProxy, EnvironmentProxyIsIgnored) {
    RawHttpServer server(answer(RawHttpServer::reply("direct")));
    const std::string deadProxy = "http://127.0.0.1:" + std::to_string(pb::test::unusedPort());
    setenv("http_proxy", deadProxy.c_str(), 1);
    setenv("HTTP_PROXY", deadProxy.c_str(), 1);
    setenv("no_proxy", "", 1);
    HttpReply r = httpRequest({.url = server.url("/")});
    unsetenv("http_proxy");
    unsetenv("HTTP_PROXY");
    unsetenv("no_proxy");
    EXPECT_EQ(r.text, "direct");
}

TEST(HttpTls, SelfSignedCertificateIsAcceptedAndEmptyPathIsRoot) {
    auto tls = pb::test::makeSelfSignedTls();
    httplib::SSLServer server(tls.certificate.get(), tls.key.get());
    std::string seenPath;
    server.Get(".*", [&](const httplib::Request& req, httplib::Response& res) {
        seenPath = req.path;
        res.set_content("secure", "text/plain");
    });
    int port = server.bind_to_any_port("127.0.0.1");
    std::thread thread([&] { server.listen_after_bind(); });
    while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    HttpReply r = httpRequest({.url = "https://127.0.0.1:" + std::to_string(port)});
    server.stop();
    thread.join();
    EXPECT_EQ(r.text, "secure");
    EXPECT_EQ(r.statusOut, "200 OK");
    EXPECT_EQ(seenPath, "/");
}

TEST(HttpUiThread, WindowEventsRunWhileAnExchangeWaits) {
    RawHttpServer silent([](const pb::test::RawRequest&) {
        return RawHttpServer::Script{{}, /*silent=*/true};
    });
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(50);
    httpRequest({.url = silent.url("/"), .timeoutSeconds = 1});
    EXPECT_GE(ticks, 5);
}
