// Parsing of reply texts into nlohmann documents, hardened for hostile input.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

namespace pb {

using Json = nlohmann::ordered_json;

// Deeper nesting than this is refused before parsing: nothing the platform
// sends comes close, and it keeps recursion in dumps and copies bounded.
inline constexpr int kMaxJsonDepth = 256;

// Parses one JSON value. With allowSingleQuotes, strings may also stand in
// single quotes (the client's own fallback reply is written that way).
// False for malformed text, invalid UTF-8 in strings and excessive nesting.
bool parseJsonText(std::string_view text, Json& out, bool allowSingleQuotes);

// Compact JSON without \u escapes; invalid UTF-8 is replaced, never thrown.
std::string dumpCompact(const Json& value);

} // namespace pb
