#include "net/HttpRequest.h"

#include "app/Gbk.h"
#include "app/Text.h"
#include "app/UiThread.h"
#include "net/RegexHelper.h"

#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace pb {

namespace {

struct DefaultHeader {
    const char* line;
    const char* lookFor;
    bool postOnly;
};

constexpr DefaultHeader kDefaultHeaders[] = {
    {"User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)",
     "User-Agent: ", false},
    {"Accept: text/html, application/xhtml+xml, */*", "Accept: ", false},
    {"Accept-Encoding: gbk, GB2312", "Accept-Encoding: ", false},
    {"Accept-Language: zh-cn", "Accept-Language: ", false},
    {"Content-Type: application/x-www-form-urlencoded", "Content-Type:", true},
    {"Cache-Control: no-cache", "Cache-Control: ", false},
};

constexpr const char* kVerbs[] = {"GET", "POST", "HEAD", "PUT", "OPTIONS", "DELETE", "TRACE",
                                  "CONNECT"};

struct EasyDeleter {
    void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
struct MultiDeleter {
    void operator()(CURLM* h) const { curl_multi_cleanup(h); }
};
struct SlistDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
struct UrlDeleter {
    void operator()(CURLU* u) const { curl_url_cleanup(u); }
};
using Easy = std::unique_ptr<CURL, EasyDeleter>;
using Multi = std::unique_ptr<CURLM, MultiDeleter>;
using Slist = std::unique_ptr<curl_slist, SlistDeleter>;

std::atomic<bool> gAborting{false};

int onProgress(void*, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return gAborting.load() ? 1 : 0;
}

void initialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Splits at every "-" keeping empty parts, so "X-" stays "X-".
std::string capitaliseName(const std::string& name) {
    std::string out = name;
    bool atPartStart = true;
    for (char& c : out) {
        if (atPartStart && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        atPartStart = c == '-';
    }
    return out;
}

bool validUrl(const std::string& url) {
    std::unique_ptr<CURLU, UrlDeleter> handle(curl_url());
    if (!handle) return false;
    if (curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) return false;
    char* scheme = nullptr;
    char* host = nullptr;
    bool ok = curl_url_get(handle.get(), CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
              curl_url_get(handle.get(), CURLUPART_HOST, &host, 0) == CURLUE_OK;
    if (ok) {
        std::string s = toLowerAscii(scheme);
        ok = (s == "http" || s == "https") && host && *host;
    }
    curl_free(scheme);
    curl_free(host);
    return ok;
}

// What the transfer saw of the responses, as the callbacks report it.
struct Transfer {
    std::string headers; // the latest response's raw header lines
    std::string body;
    bool gotStatus = false;
    bool headersDone = false;
    long statusCode = 0;
    bool hasLocation = false;
    bool followsRedirects = true;

    // True when the failure happened while a response was being read, not
    // while a redirect was being followed to another request.
    bool responseInProgress() const {
        bool redirecting = followsRedirects && headersDone && statusCode >= 300 &&
                           statusCode < 400 && hasLocation;
        return gotStatus && !redirecting;
    }
};

size_t onHeader(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    std::string_view line(data, size * count);
    if (startsWith(line, "HTTP/")) {
        t->headers.clear();
        t->body.clear();
        t->gotStatus = true;
        t->headersDone = false;
        t->hasLocation = false;
        size_t space = line.find(' ');
        long long code = 0;
        if (space != std::string_view::npos && parseInteger(line.substr(space + 1, 3), code))
            t->statusCode = static_cast<long>(code);
    } else if (line == "\r\n" || line == "\n") {
        t->headersDone = true;
    } else if (line.size() >= 10 && toLowerAscii(line.substr(0, 10)) == "location: ") {
        t->hasLocation = true;
    }
    t->headers.append(line);
    return size * count;
}

size_t onBody(char* data, size_t size, size_t count, void* user) {
    static_cast<Transfer*>(user)->body.append(data, size * count);
    return size * count;
}

CURLcode perform(CURL* easy) {
    if (!onUiThread()) return curl_easy_perform(easy);
    // On the UI thread the exchange runs in small steps so that window events
    // are handled while it waits.
    Multi multi(curl_multi_init());
    if (!multi || curl_multi_add_handle(multi.get(), easy) != CURLM_OK)
        return curl_easy_perform(easy);
    int running = 1;
    while (running) {
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) break;
        if (!running) break;
        curl_multi_poll(multi.get(), nullptr, 0, 20, nullptr);
        pumpUiEvents();
    }
    CURLcode result = CURLE_RECV_ERROR;
    int queued = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi.get(), &queued))
        if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy) result = msg->data.result;
    curl_multi_remove_handle(multi.get(), easy);
    return result;
}

const char* failureText(CURLcode code, CURL* easy, const Transfer& t) {
    switch (code) {
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL:
        return http_error::kBadUrl;
    case CURLE_OUT_OF_MEMORY:
    case CURLE_FAILED_INIT:
        return http_error::kSession;
    default:
        break;
    }
    if (t.responseInProgress()) return http_error::kRead;
    curl_off_t connectTime = 0;
    curl_easy_getinfo(easy, CURLINFO_CONNECT_TIME_T, &connectTime);
    switch (code) {
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
        return http_error::kNoResponse;
    case CURLE_OPERATION_TIMEDOUT:
        return connectTime > 0 ? http_error::kNoResponse : http_error::kSend;
    default:
        return connectTime > 0 && code != CURLE_SEND_ERROR ? http_error::kNoResponse
                                                           : http_error::kSend;
    }
}

bool hasHeaderLine(const std::string& headerText, std::string_view name) {
    for (const std::string& line : splitText(headerText, "\r\n")) {
        size_t colon = line.find(':');
        if (colon != std::string::npos && toLowerAscii(trimSpaces(line.substr(0, colon))) ==
                                               toLowerAscii(name))
            return true;
    }
    return false;
}

// Removes a "Connection: keep-alive" line: the client handles connections itself.
std::string dropKeepAlive(const std::string& text) {
    if (text.find("Connection") == std::string::npos) return text;
    std::vector<std::string> kept;
    bool dropped = false;
    for (const std::string& line : splitText(text, "\r\n")) {
        if (!dropped && line == "Connection: keep-alive") {
            dropped = true;
            continue;
        }
        kept.push_back(line);
    }
    if (!dropped) return text;
    std::string out = joinText(kept, "\r\n");
    if (endsWith(text, "\r\n") && !out.empty()) out += "\r\n";
    return out;
}

void readResponseHeaders(const Transfer& t, const std::string& cookiesIn, bool merge,
                         HttpReply& reply, bool keepErrorStatus) {
    reply.headersOut = isValidUtf8(t.headers) ? t.headers : decodeGbk(t.headers);
    std::string_view first(reply.headersOut);
    first = first.substr(0, first.find_first_of("\r\n"));
    size_t space = first.find(' ');
    if (!keepErrorStatus)
        reply.statusOut = space == std::string_view::npos ? std::string()
                                                          : std::string(first.substr(space + 1));
    for (std::string line : splitText(reply.headersOut, "\r\n")) {
        size_t sep = line.find(": ");
        if (sep != std::string::npos && line.substr(0, sep) == "Set-Cookie") {
            std::string rest = line.substr(std::string("Set-Cookie:").size());
            size_t semicolon = rest.find(';');
            if (semicolon != std::string::npos) rest = rest.substr(0, semicolon);
            reply.cookiesOut += trimSpaces(rest) + "; ";
        }
        if (line.size() >= 10 && toLowerAscii(line.substr(0, 10)) == "location: ")
            reply.locationOut = line.substr(10);
    }
    if (endsWith(reply.cookiesOut, "; ")) reply.cookiesOut.resize(reply.cookiesOut.size() - 2);
    if (merge && !cookiesIn.empty()) reply.cookiesOut = mergeCookies(cookiesIn, reply.cookiesOut);
}

std::string applyDeclaredCharset(const std::string& text) {
    RegexHelper regex;
    if (!regex.create("<meta.+?charset=[^\\w]?([-\\w]+)", std::string_view(text).substr(0, 1024)))
        return text;
    std::string charset = regex.subMatchText(1, 1);
    if (charset.empty()) return text;
    std::string decoded;
    return decodeCharset(text, charset, decoded) ? decoded : text;
}

} // namespace

void abortAllHttpExchanges() { gAborting = true; }
void resumeHttpExchanges() { gAborting = false; }

std::string normaliseHeaderNames(const std::string& headerLines) {
    std::vector<std::string> out;
    for (const std::string& line : splitText(headerLines, "\r\n")) {
        size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        out.push_back(capitaliseName(line.substr(0, colon)) + line.substr(colon));
    }
    return joinText(out, "\r\n");
}

std::string mergeCookies(const std::string& sent, const std::string& returned) {
    auto prepare = [](const std::string& text) {
        std::string t = trimSpaces(text);
        if (endsWith(t, ";")) t += ' ';
        return splitText(t, "; ");
    };
    auto nameOf = [](const std::string& item) {
        return trimSpaces(std::string_view(item).substr(0, item.find('=')));
    };
    std::vector<std::string> sentItems = prepare(sent);
    std::vector<std::string> items = prepare(returned);
    const size_t returnedCount = items.size();
    for (const std::string& item : sentItems) {
        bool present = false;
        for (size_t i = 0; i < returnedCount && !present; ++i)
            present = nameOf(items[i]) == nameOf(item);
        if (!present) items.push_back(item);
    }
    std::vector<std::string> result;
    for (const std::string& item : items) {
        if (endsWith(item, "=deleted")) continue;
        bool repeated = false;
        for (const std::string& earlier : result) repeated = repeated || earlier == item;
        if (!repeated) result.push_back(item);
    }
    return joinText(result, "; ");
}

std::string buildRequestHeaders(const HttpRequestParams& p) {
    std::string text = p.extraHeaders.empty() ? std::string() : p.extraHeaders + "\r\n";
    if (p.addDefaultHeaders) {
        for (const DefaultHeader& h : kDefaultHeaders) {
            if (h.postOnly && p.method != kPost) continue;
            if (!containsNoCase(text, h.lookFor)) text += std::string(h.line) + "\r\n";
        }
    }
    if (p.normaliseHeaderNames) text = normaliseHeaderNames(text);
    text = dropKeepAlive(text);
    if (!containsNoCase(text, "Cookie:") && !p.cookiesIn.empty()) {
        if (p.cookiesIn.find("Cookie:") != std::string::npos)
            text += "\r\n" + p.cookiesIn + "\r\n";
        else
            text += "\r\nCookie: " + p.cookiesIn + "\r\n";
    }
    return text;
}

HttpReply httpRequest(const HttpRequestParams& p) {
    HttpReply reply;
    initialiseCurlOnce();
    if (gAborting) {
        reply.statusOut = http_error::kSend;
        return reply;
    }
    if (p.method < kGet || p.method > kConnect || !validUrl(p.url)) {
        reply.statusOut = http_error::kBadUrl;
        return reply;
    }
    Easy easy(curl_easy_init());
    if (!easy) {
        reply.statusOut = http_error::kSession;
        return reply;
    }
    CURL* h = easy.get();
    Transfer transfer;
    transfer.followsRedirects = !p.noRedirect;
    const long timeoutMs = p.timeoutSeconds > 0 ? p.timeoutSeconds * 1000L : 30'000L;

    curl_easy_setopt(h, CURLOPT_URL, p.url.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(h, CURLOPT_FRESH_CONNECT, 1L);
    // An empty proxy means a direct connection, whatever http_proxy and its
    // friends say in the environment.
    std::string proxy = p.proxy.empty() ? std::string() : "http://" + p.proxy;
    curl_easy_setopt(h, CURLOPT_PROXY, proxy.c_str());
    if (p.proxy.empty()) curl_easy_setopt(h, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, timeoutMs);
    // The time-out bounds every phase, not the whole exchange: a reply that
    // keeps arriving is never cut off, a silent server is.
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, std::max(1L, timeoutMs / 1000));
    if (!p.serverUser.empty() && !p.serverPassword.empty()) {
        curl_easy_setopt(h, CURLOPT_HTTPAUTH, CURLAUTH_BASIC);
        curl_easy_setopt(h, CURLOPT_USERNAME, p.serverUser.c_str());
        curl_easy_setopt(h, CURLOPT_PASSWORD, p.serverPassword.c_str());
    }
    if (!p.proxyUser.empty() && !p.proxyPassword.empty()) {
        curl_easy_setopt(h, CURLOPT_PROXYAUTH, CURLAUTH_BASIC);
        curl_easy_setopt(h, CURLOPT_PROXYUSERNAME, p.proxyUser.c_str());
        curl_easy_setopt(h, CURLOPT_PROXYPASSWORD, p.proxyPassword.c_str());
    }
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, p.noRedirect ? 0L : 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);

    const std::string& body = p.bodyBytes.empty() ? p.bodyText : p.bodyBytes;
    switch (p.method) {
    case kGet:
        if (body.empty()) {
            curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
            break;
        }
        [[fallthrough]];
    default:
        if (p.method != kPost) curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, kVerbs[p.method]);
        if (p.method == kPost || !body.empty()) {
            curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
            curl_easy_setopt(h, CURLOPT_POSTFIELDS, body.data());
        }
        break;
    case kHead:
        curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
        break;
    }

    // The header text is the whole truth: suppress whatever curl would add on
    // its own beyond Host and the length.
    const std::string headerText = buildRequestHeaders(p);
    Slist list;
    auto append = [&list](const std::string& line) {
        curl_slist* head = curl_slist_append(list.get(), line.c_str());
        if (!head) return false;
        if (!list) list.reset(head);
        return true;
    };
    bool headersOk = true;
    for (const std::string& line : splitText(headerText, "\r\n"))
        if (!line.empty()) headersOk = headersOk && append(line);
    for (const char* name : {"Accept", "Content-Type", "Expect"})
        if (!hasHeaderLine(headerText, name)) headersOk = headersOk && append(std::string(name) + ":");
    if (!headersOk || curl_easy_setopt(h, CURLOPT_HTTPHEADER, list.get()) != CURLE_OK) {
        reply.statusOut = http_error::kHeaders;
        return reply;
    }

    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);

    CURLcode code = perform(h);
    if (code != CURLE_OK) {
        const char* failure = failureText(code, h, transfer);
        reply.statusOut = failure;
        if (failure != http_error::kRead) return reply;
    }
    // A body cut short keeps "713" in statusOut: the headers may say 200, but
    // the exchange did not deliver what they announced.
    readResponseHeaders(transfer, p.cookiesIn, p.mergeCookies, reply, code != CURLE_OK);
    pumpUiEvents();
    reply.bodyBytesOut = transfer.body;
    std::string text = transfer.body.substr(0, transfer.body.find('\0'));
    reply.text = applyDeclaredCharset(text);
    pumpUiEvents();
    return reply;
}

} // namespace pb
