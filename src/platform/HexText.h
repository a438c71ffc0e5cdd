// Bytes as lower-case hex and back: how texts cross the pipe between the
// client and its Win32 helper, whatever bytes they hold.
#pragma once

#include <cstdlib>
#include <string>

namespace pb {

inline std::string toHex(const std::string& bytes) {
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out += kHex[c >> 4];
        out += kHex[c & 15];
    }
    return out;
}

// "-" stands for the empty text where an empty word would vanish.
inline std::string fromHex(const std::string& hex) {
    if (hex == "-") return {};
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::strtol(hex.substr(i, 2).c_str(), nullptr, 16));
    return out;
}

} // namespace pb
