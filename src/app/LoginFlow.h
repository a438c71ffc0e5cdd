// What the login window asks of the platform: the login itself and the
// notice that follows it.
#pragma once

#include "app/Session.h"

#include <string>

namespace pb {

// True when the account or the password is empty once ASCII and full-width
// spaces are trimmed (tabs and line breaks count as content).
bool loginInputMissing(const std::string& userName, const std::string& password);

struct LoginResult {
    bool succeeded = false;
    std::string message;
};

// Sends the untrimmed texts; the password travels as Base64 of its GBK bytes.
// The reply's token is stored in the session whatever the status says.
LoginResult requestLogin(Session& session, const std::string& userName,
                         const std::string& password);

// The platform's notice (Base64 of GBK text); empty when it cannot be had.
std::string fetchNotice(const Session& session);

} // namespace pb
