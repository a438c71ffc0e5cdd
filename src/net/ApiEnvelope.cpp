#include "net/ApiEnvelope.h"

#include "app/Gbk.h"
#include "app/Text.h"
#include "app/UiThread.h"
#include "app/Waiting.h"
#include "net/HttpRequest.h"
#include "net/ScriptJson.h"

#include <openssl/evp.h>

#include <random>

namespace pb {

namespace {

std::string randomGuidText() {
    thread_local std::mt19937_64 rng{std::random_device{}()};
    unsigned char bytes[16];
    for (int i = 0; i < 16; i += 8) {
        uint64_t v = rng();
        for (int k = 0; k < 8; ++k) bytes[i + k] = static_cast<unsigned char>(v >> (8 * k));
    }
    bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40); // version 4
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80); // RFC 4122 variant
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) out += '-';
        out += kHex[bytes[i] >> 4];
        out += kHex[bytes[i] & 0x0F];
    }
    return out;
}

std::string md5LowerHex(const std::string& data) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(data.data(), data.size(), digest, &length, EVP_md5(), nullptr) != 1) return {};
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (unsigned int i = 0; i < length; ++i) {
        out += kHex[digest[i] >> 4];
        out += kHex[digest[i] & 0x0F];
    }
    return out;
}

std::string postBytes(const std::string& url, const std::string& bytes) {
    return httpRequest({.url = url, .method = kPost, .bodyBytes = bytes}).text;
}

} // namespace

RouteList fetchRouteList(const std::string& defaultServer) {
    RouteList routes;
    ScriptJson doc;
    doc.parse(jsonOrFallback(httpRequest({.url = defaultServer + "clientRoute"}).text));
    int n = doc.count("data");
    for (int i = 0; i < n; ++i) {
        std::string row = "data[" + std::to_string(i) + "]";
        routes.names.push_back(doc.getText(row + ".name"));
        routes.urls.push_back(doc.getText(row + ".url"));
        pumpUiEvents();
    }
    routes.status = doc.getText("status");
    routes.message = doc.getText("message");
    routes.reg = doc.getText("reg");
    return routes;
}

void applyRouteList(Session& session, const RouteList& routes) {
    session.routeUrls = routes.urls;
    session.registerPath = routes.reg;
    if (!session.routeUrls.empty()) chooseRoute(session, 0);
}

void chooseRoute(Session& session, int row) {
    if (row >= 0 && row < static_cast<int>(session.routeUrls.size()))
        session.baseUrl = session.routeUrls[static_cast<size_t>(row)];
}

std::string makeMachineToken() {
    return md5LowerHex(replaceAll(randomGuidText(), "-", ""));
}

JMap callFormApi(const Session& session, const std::string& action, const JMap& fields) {
    const HttpReply reply = httpRequest(
        {.url = session.baseUrl + action, .method = kPost, .bodyText = fields.ToFormString("UTF-8")});
    JMap result;
    result.FromJSON(reply.text, true);
    return result;
}

JMap callStructuredApi(const Session& session, const std::string& action, const JMap& fields,
                       bool repeatUntilJson, const KeepTrying& keepTrying) {
    const std::string body = encodeGbk(jsonToFormBody(fields.ToJSON()));
    const std::string url = session.baseUrl + action;
    std::string text = postBytes(url, body);
    while (repeatUntilJson) {
        ScriptJson check;
        if (check.parse(text)) break;
        if (keepTrying && !keepTrying()) break;
        // A pause between attempts keeps an unreachable server from being
        // hammered, and lets a stop request be noticed.
        delayWithEvents(1000);
        if (keepTrying && !keepTrying()) break;
        text = postBytes(url, body);
    }
    JMap result;
    result.FromJSON(text, true);
    return result;
}

std::string callRawApi(const std::string& url, const std::string& body) {
    return postBytes(url, encodeGbk(body));
}

std::string jsonToFormBody(const std::string& jsonText) {
    ScriptJson doc;
    doc.parse(jsonText);
    std::vector<std::string> names;
    doc.keys(names);
    std::string out;
    for (const std::string& name : names) {
        int type = doc.typeOf(name);
        if (type == ScriptJson::kUnreachable) continue;
        std::string value = doc.getText(name, true);
        if (type == ScriptJson::kString) value = replaceAll(value, "\"", "");
        if (!out.empty()) out += '&';
        out += name + "=" + value;
    }
    return out;
}

std::string jsonOrFallback(const std::string& replyText) {
    ScriptJson check;
    return check.parse(replyText) ? replyText : std::string(kFallbackReply);
}

bool replySucceeded(const JMap& reply) { return reply.GetString("status") == "0"; }

} // namespace pb
