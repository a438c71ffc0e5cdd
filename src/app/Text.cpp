#include "app/Text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace pb {

namespace {
constexpr std::string_view kFullWidthSpace = "\xE3\x80\x80";

bool isHexPassByte(unsigned char c) {
    return c >= 0x21 && c <= 0x7E && c != '#' && c != '%' && c != '&' && c != '+';
}

void appendPercent(std::string& out, unsigned char c) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 0x0F];
}
} // namespace

std::string trimSpaces(std::string_view text) {
    for (;;) {
        if (startsWith(text, " ")) {
            text.remove_prefix(1);
        } else if (startsWith(text, kFullWidthSpace)) {
            text.remove_prefix(kFullWidthSpace.size());
        } else {
            break;
        }
    }
    for (;;) {
        if (endsWith(text, " ")) {
            text.remove_suffix(1);
        } else if (endsWith(text, kFullWidthSpace)) {
            text.remove_suffix(kFullWidthSpace.size());
        } else {
            break;
        }
    }
    return std::string(text);
}

std::vector<std::string> splitText(std::string_view text, std::string_view separator) {
    std::vector<std::string> parts;
    if (text.empty()) return parts;
    if (separator.empty()) {
        parts.emplace_back(text);
        return parts;
    }
    size_t start = 0;
    for (;;) {
        size_t pos = text.find(separator, start);
        if (pos == std::string_view::npos) {
            if (start < text.size()) parts.emplace_back(text.substr(start));
            break;
        }
        parts.emplace_back(text.substr(start, pos - start));
        start = pos + separator.size();
    }
    return parts;
}

std::string joinText(const std::vector<std::string>& parts, std::string_view separator) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) out += separator;
        out += parts[i];
    }
    return out;
}

std::string formatNumber(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.13g", value);
    return buffer;
}

std::string formatMoney(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return buffer;
}

std::string percentEncodeUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (unsigned char c : text) {
        if (isHexPassByte(c))
            out += static_cast<char>(c);
        else
            appendPercent(out, c);
    }
    return out;
}

std::string urlEncodeComponent(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (unsigned char c : text) {
        bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                     c == '-' || c == '_' || c == '.' || c == '~';
        if (plain)
            out += static_cast<char>(c);
        else
            appendPercent(out, c);
    }
    return out;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::string toLowerAscii(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    });
    return out;
}

bool containsNoCase(std::string_view text, std::string_view needle) {
    return toLowerAscii(text).find(toLowerAscii(needle)) != std::string::npos;
}

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(text);
    std::string out;
    size_t start = 0;
    for (;;) {
        size_t pos = text.find(from, start);
        if (pos == std::string_view::npos) break;
        out.append(text.substr(start, pos - start));
        out.append(to);
        start = pos + from.size();
    }
    out.append(text.substr(start));
    return out;
}

bool parseInteger(std::string_view text, long long& out) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() == '-') return false;
    }
    if (text.empty()) return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size();
}

} // namespace pb
