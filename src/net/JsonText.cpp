#include "net/JsonText.h"

namespace pb {

namespace {

// Rewrites single-quoted strings to double-quoted ones and checks the nesting
// depth in the same pass; false when a string is left open or nesting is too deep.
bool normalise(std::string_view text, std::string& out, bool allowSingleQuotes) {
    out.clear();
    out.reserve(text.size() + 8);
    int depth = 0;
    size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == '"') {
            size_t start = i++;
            while (i < text.size() && text[i] != '"') i += text[i] == '\\' ? 2 : 1;
            if (i >= text.size()) return false;
            out.append(text.substr(start, i - start + 1));
            ++i;
        } else if (c == '\'' && allowSingleQuotes) {
            out += '"';
            ++i;
            while (i < text.size() && text[i] != '\'') {
                if (text[i] == '\\' && i + 1 < text.size()) {
                    if (text[i + 1] == '\'') {
                        out += '\'';
                    } else {
                        out += text[i];
                        out += text[i + 1];
                    }
                    i += 2;
                } else if (text[i] == '"') {
                    out += "\\\"";
                    ++i;
                } else {
                    out += text[i++];
                }
            }
            if (i >= text.size()) return false;
            out += '"';
            ++i;
        } else {
            if (c == '[' || c == '{') {
                if (++depth > kMaxJsonDepth) return false;
            } else if (c == ']' || c == '}') {
                --depth;
            }
            out += c;
            ++i;
        }
    }
    return true;
}

} // namespace

bool parseJsonText(std::string_view text, Json& out, bool allowSingleQuotes) {
    std::string normalised;
    if (!normalise(text, normalised, allowSingleQuotes)) return false;
    Json parsed = Json::parse(normalised, nullptr, /*allow_exceptions=*/false);
    if (parsed.is_discarded()) return false;
    out = std::move(parsed);
    return true;
}

std::string dumpCompact(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace pb
