// Text rules shared by every module. Texts inside the program are UTF-8;
// GBK bytes exist only where bytes leave or enter the program (see Gbk.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pb {

// Removes ASCII spaces and the full-width space U+3000 at both ends.
// Tabs and line breaks are kept: the platform's texts rely on that.
std::string trimSpaces(std::string_view text);

// Splits at every separator. Empty fields between adjacent separators are
// kept; a separator at the very end adds no empty field; the empty text
// gives no field at all.
std::vector<std::string> splitText(std::string_view text, std::string_view separator);

std::string joinText(const std::vector<std::string>& parts, std::string_view separator);

// A number as text: at most 13 significant digits, no trailing zeros ("%.13g").
std::string formatNumber(double value);

// Prices and balances: exactly two decimals.
std::string formatMoney(double value);

// Percent-encodes the UTF-8 bytes of the text: bytes 0x21..0x7E pass except
// '#', '%', '&' and '+'; every other byte becomes %XX (upper-case hex).
std::string percentEncodeUtf8(std::string_view text);

// Form encoding: letters, digits and "-_.~" pass, every other byte is %XX.
std::string urlEncodeComponent(std::string_view text);

bool startsWith(std::string_view text, std::string_view prefix);
bool endsWith(std::string_view text, std::string_view suffix);
bool containsNoCase(std::string_view text, std::string_view needle);
std::string toLowerAscii(std::string_view text);

// Replaces every occurrence of `from` (non-empty) by `to`.
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to);

// Parses an optionally signed decimal integer that fills the whole text.
bool parseInteger(std::string_view text, long long& out);

} // namespace pb
