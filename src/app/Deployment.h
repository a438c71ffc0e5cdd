// The platform's default server address is a deployment setting: a build-time
// default, overridden by POOLBRIDGE_SERVER or by --server.
#pragma once

#include <string>

namespace pb {

// Always ends in "/".
std::string defaultServerAddress();
void setDefaultServerAddress(const std::string& url);

// Adds the trailing "/" a base URL needs.
std::string withTrailingSlash(std::string url);

} // namespace pb
