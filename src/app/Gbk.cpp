#include "app/Gbk.h"

#include <cerrno>
#include <iconv.h>

#include <algorithm>
#include <array>
#include <memory>

namespace pb {

namespace {

struct IconvCloser {
    void operator()(void* cd) const {
        if (cd) iconv_close(static_cast<iconv_t>(cd));
    }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle openIconv(const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
    return IconvHandle(cd);
}

// Converts with `cd`; on an invalid or unconvertible input sequence emits
// `replacement` and skips `skip(input)` bytes.
template <typename Skip>
std::string convert(iconv_t cd, std::string_view input, std::string_view replacement, Skip skip) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    out.reserve(input.size() * 3 / 2 + 8);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    std::array<char, 4096> buffer;
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        size_t outLeft = buffer.size();
        size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer.data(), buffer.size() - outLeft);
        if (rc != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL (a sequence cut off at the end): replace and resync.
        out.append(replacement);
        size_t n = std::min(inLeft, skip(std::string_view(in, inLeft)));
        in += n;
        inLeft -= n;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    char* outPtr = buffer.data();
    size_t outLeft = buffer.size();
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer.data(), buffer.size() - outLeft);
    return out;
}

size_t utf8SequenceLength(std::string_view s) {
    unsigned char c = static_cast<unsigned char>(s[0]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
    if (n > s.size()) return 1;
    for (size_t i = 1; i < n; ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 1;
    return n;
}

} // namespace

std::string decodeGbk(std::string_view gbkBytes) {
    thread_local IconvHandle cd = openIconv("UTF-8", "GB18030");
    if (!cd) return std::string(gbkBytes);
    return convert(static_cast<iconv_t>(cd.get()), gbkBytes, "\xEF\xBF\xBD",
                   [](std::string_view) { return size_t{1}; });
}

std::string encodeGbk(std::string_view utf8) {
    thread_local IconvHandle cd = openIconv("GBK", "UTF-8");
    if (!cd) return std::string(utf8);
    return convert(static_cast<iconv_t>(cd.get()), utf8, "?", utf8SequenceLength);
}

bool decodeCharset(std::string_view bytes, const std::string& charset, std::string& utf8Out) {
    IconvHandle cd = openIconv("UTF-8", charset.c_str());
    if (!cd) return false;
    utf8Out = convert(static_cast<iconv_t>(cd.get()), bytes, "\xEF\xBF\xBD",
                      [](std::string_view) { return size_t{1}; });
    return true;
}

bool isValidUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t n;
        unsigned int cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c >> 5) == 0x6) {
            n = 2;
            cp = c & 0x1F;
        } else if ((c >> 4) == 0xE) {
            n = 3;
            cp = c & 0x0F;
        } else if ((c >> 3) == 0x1E) {
            n = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + n > text.size()) return false;
        for (size_t k = 1; k < n; ++k) {
            unsigned char cc = static_cast<unsigned char>(text[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        bool overlong = (n == 2 && cp < 0x80) || (n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000);
        if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += n;
    }
    return true;
}

namespace {
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}
} // namespace

std::string base64Encode(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                     (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                     static_cast<unsigned char>(bytes[i + 2]);
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += kAlphabet[v & 63];
    }
    size_t rest = bytes.size() - i;
    if (rest) {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        if (rest == 2) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += rest == 2 ? kAlphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

bool base64Decode(std::string_view text, std::string& bytesOut) {
    std::string clean;
    clean.reserve(text.size());
    for (char c : text)
        if (c != ' ' && c != '\r' && c != '\n' && c != '\t') clean += c;
    if (clean.size() % 4 != 0) return false;
    std::string out;
    out.reserve(clean.size() / 4 * 3);
    for (size_t i = 0; i < clean.size(); i += 4) {
        int v[4];
        int pad = 0;
        for (int k = 0; k < 4; ++k) {
            char c = clean[i + k];
            if (c == '=' && i + 4 == clean.size() && k >= 2) {
                v[k] = 0;
                ++pad;
            } else {
                if (pad) return false; // data after padding
                v[k] = base64Value(c);
                if (v[k] < 0) return false;
            }
        }
        unsigned bits = (v[0] << 18) | (v[1] << 12) | (v[2] << 6) | v[3];
        out += static_cast<char>((bits >> 16) & 0xFF);
        if (pad < 2) out += static_cast<char>((bits >> 8) & 0xFF);
        if (pad < 1) out += static_cast<char>(bits & 0xFF);
    }
    bytesOut = std::move(out);
    return true;
}

std::string base64OfGbk(std::string_view utf8) { return base64Encode(encodeGbk(utf8)); }

std::string textFromBase64Gbk(std::string_view base64) {
    std::string bytes;
    if (!base64Decode(base64, bytes)) return {};
    return decodeGbk(bytes);
}

} // namespace pb
