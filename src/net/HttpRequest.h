// The program's single way of making an HTTP or HTTPS exchange: one
// synchronous request per call on its own libcurl handle, no connection reuse.
// Failures come back as a numbered text in statusOut and an empty result.
#pragma once

#include <string>

namespace pb {

enum HttpMethod : int {
    kGet = 0,
    kPost = 1,
    kHead = 2,
    kPut = 3,
    kOptions = 4,
    kDelete = 5,
    kTrace = 6,
    kConnect = 7,
};

struct HttpRequestParams {
    std::string url;
    int method = kGet;
    std::string bodyText;     // sent as its bytes
    std::string cookiesIn;    // "a=1; b=2"
    std::string extraHeaders; // lines separated by CR LF
    bool noRedirect = false;
    std::string serverUser;
    std::string serverPassword;
    std::string proxy; // host:port; empty means a direct connection, never a system proxy
    std::string proxyUser;
    std::string proxyPassword;
    int timeoutSeconds = 0; // 0 or less: 30 seconds
    bool mergeCookies = true;
    bool addDefaultHeaders = true;
    std::string bodyBytes; // when not empty, sent instead of bodyText
    bool normaliseHeaderNames = true;
};

struct HttpReply {
    std::string text;        // body (charset-decoded when an HTML meta tag says so)
    std::string cookiesOut;  // cookies set by the response, merged with cookiesIn
    std::string headersOut;  // raw response header lines, CR LF separated, status line first
    std::string locationOut; // target of a "Location: " header
    std::string statusOut;   // "200 OK", or the error text of the failing step
    std::string bodyBytesOut;
};

// Error texts of the failing step.
namespace http_error {
inline constexpr const char* kUnavailable = "700 当前系统不支持WinHttp服务!";
inline constexpr const char* kBadUrl = "701 解析URL地址失败!";
inline constexpr const char* kSession = "702 创建WinHttp会话失败!";
inline constexpr const char* kConnection = "703 创建WinHttp连接失败!";
inline constexpr const char* kRequest = "704 创建WinHttp请求失败!";
inline constexpr const char* kTimeouts = "705 设置超时时间失败!";
inline constexpr const char* kCredentials = "707 设置代理凭证失败!";
inline constexpr const char* kCertificates = "忽略错误/证书错误  失败！";
inline constexpr const char* kCookies = "708 禁止自动设置Cookies失败!";
inline constexpr const char* kRedirects = "709 重定向设置失败!";
inline constexpr const char* kHeaders = "710 设置协议头失败!";
inline constexpr const char* kSend = "711 发送请求失败!";
inline constexpr const char* kNoResponse = "712 服务器未响应!";
inline constexpr const char* kRead = "713 读取数据失败!";
} // namespace http_error

// On the UI thread the call keeps the windows responsive while it waits.
HttpReply httpRequest(const HttpRequestParams& params);

// Ends every exchange under way and refuses new ones until resumed: while the
// program shuts down no thread may be kept waiting on a silent server.
void abortAllHttpExchanges();
void resumeHttpExchanges();

// Header lines with capital initials ("user-agent: x" -> "User-Agent: x");
// lines without ':' are dropped; joined by CR LF without a trailing one.
std::string normaliseHeaderNames(const std::string& headerLines);

// Cookies sent merged with cookies returned: returned ones win, sent ones
// not returned are kept, "=deleted" ones drop out, exact repeats go.
std::string mergeCookies(const std::string& sent, const std::string& returned);

// The header text the facility sends, before the client adds Host and length.
std::string buildRequestHeaders(const HttpRequestParams& params);

} // namespace pb
