// How every feature talks to the platform: request fields in a JMap (token
// first), posted to baseUrl + action name, the JSON reply read as an
// envelope whose status "0" means success.
#pragma once

#include "app/Session.h"
#include "net/JsonDocument.h"

#include <functional>
#include <string>
#include <vector>

namespace pb {

inline constexpr const char* kFallbackReply = "{'status':1,'message':'抱歉，暂时连接不上服务器'}";

struct RouteList {
    std::vector<std::string> names;
    std::vector<std::string> urls;
    std::string status;
    std::string message;
    std::string reg;
    bool succeeded() const { return status == "0"; }
};

// GET defaultServer + "clientRoute"; an unreachable server or a reply that is
// not JSON reads as the fallback reply (status 1).
RouteList fetchRouteList(const std::string& defaultServer);
// Stores the routes and the registration path in the session and chooses
// row 0 when there is one.
void applyRouteList(Session& session, const RouteList& routes);
void chooseRoute(Session& session, int row);

// 32 lower-case hex digits: the MD5 of a fresh random GUID.
std::string makeMachineToken();

JMap callFormApi(const Session& session, const std::string& action, const JMap& fields);

// Keeps repeating (about once a second) while the reply is not JSON and
// keepTrying answers true; with repeatUntilJson off it sends once.
using KeepTrying = std::function<bool()>;
JMap callStructuredApi(const Session& session, const std::string& action, const JMap& fields,
                       bool repeatUntilJson, const KeepTrying& keepTrying = {});

// Posts the body unchanged (as GBK bytes) and returns the reply text.
std::string callRawApi(const std::string& url, const std::string& body);

// A flat JSON object to name=value pairs joined by "&": strings without their
// quotes, everything else as compact JSON. Not URL-encoded.
std::string jsonToFormBody(const std::string& jsonText);

std::string jsonOrFallback(const std::string& replyText);
bool replySucceeded(const JMap& reply);

} // namespace pb
