// The GBK edge: passwords, security answers, the settings file, structured and
// raw bodies, record files, socket messages and list-view cells are GBK bytes.
#pragma once

#include <string>
#include <string_view>

namespace pb {

// GBK (or any GB18030) bytes to UTF-8. Decoding uses GB18030, a superset of
// GBK, so every valid sequence survives; an invalid byte becomes U+FFFD and
// decoding goes on after it.
std::string decodeGbk(std::string_view gbkBytes);

// UTF-8 to GBK bytes. A character GBK cannot hold becomes '?', as the
// Windows ANSI conversion does; invalid UTF-8 bytes become '?' too.
std::string encodeGbk(std::string_view utf8);

// Any iconv charset to UTF-8; false when the charset is unknown.
bool decodeCharset(std::string_view bytes, const std::string& charset, std::string& utf8Out);

bool isValidUtf8(std::string_view text);

// Standard Base64 (RFC 4648 alphabet, '=' padding).
std::string base64Encode(std::string_view bytes);
// Ignores ASCII white space; false for any other character outside the alphabet
// or for a malformed length.
bool base64Decode(std::string_view text, std::string& bytesOut);

// What passwords, answers and the settings file carry: Base64 of the GBK bytes.
std::string base64OfGbk(std::string_view utf8);
// The reverse; the empty text when the value is not Base64.
std::string textFromBase64Gbk(std::string_view base64);

} // namespace pb
