// JMap and JList: the key-value and list documents that carry requests and
// replies. Keys are plain (taken literally) or paths: "//" followed by member
// names joined by "." with indices in brackets counted from 1. A plain key
// that itself begins with "//" is written "////".
#pragma once

#include "net/JsonText.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace pb {

class JMap;
class JList;

// A value stored into a document; documents are copied in (deep copy).
class JValue {
public:
    JValue(const char* text) : json_(text) {}
    JValue(std::string text) : json_(std::move(text)) {}
    JValue(std::string_view text) : json_(std::string(text)) {}
    JValue(int value) : json_(value) {}
    JValue(long long value) : json_(value) {}
    JValue(double value) : json_(value) {}
    JValue(bool value) : json_(value) {}
    JValue(std::nullptr_t) : json_(nullptr) {}
    JValue(const JMap& map);
    JValue(const JList& list);

    const Json& json() const { return json_; }

private:
    Json json_;
};

class JMap {
public:
    JMap() : json_(Json::object()) {}

    // Clears the document, then adds the pairs in order.
    bool CreateByDatas(std::initializer_list<std::pair<std::string, JValue>> pairs);
    // Replaces the content with the parsed object. With sourceIsUtf8 the text
    // is the wire's UTF-8; without it the text is GBK bytes. False (and an
    // empty document) when the text is not a JSON object.
    bool FromJSON(std::string_view text, bool sourceIsUtf8 = true);
    std::string ToJSON(bool pretty = false) const;
    // key=value pairs in insertion order, UTF-8 percent-encoded, joined by "&".
    std::string ToFormString(std::string_view encoding = "UTF-8") const;

    std::string GetString(std::string_view key) const;
    long long GetInt(std::string_view key) const;
    int Count(std::string_view key = {}) const;
    bool Setter(std::string_view key, const JValue& value);
    void Clear() { json_ = Json::object(); }

    const Json& json() const { return json_; }
    Json& json() { return json_; }

private:
    Json json_;
};

class JList {
public:
    JList() : json_(Json::array()) {}

    void Appender(const JValue& value) { json_.push_back(value.json()); }
    // position counts from 1; column (from 1) picks inside an element that is
    // itself a list; column 0 takes the element itself.
    std::string GetString(int position, int column = 0) const;
    long long GetInt(int position, int column = 0) const;
    int Count(std::string_view path = {}) const;
    void Clear() { json_ = Json::array(); }
    // Rows at every row separator, columns at every column separator; a
    // separator at the very end adds no empty row. Returns the row count.
    int FromSplitString(std::string_view text, std::string_view rowSeparator,
                        std::string_view columnSeparator);

    const Json& json() const { return json_; }
    Json& json() { return json_; }

private:
    const Json* element(int position, int column) const;
    Json json_;
};

// A new JMap holding the pairs; packages the data handed to a worker task.
JMap CreateStoreMap(std::initializer_list<std::pair<std::string, JValue>> pairs);

// Value conversions shared by both document types.
std::string jsonValueText(const Json& value);
long long jsonValueInt(const Json& value);

// Resolves a "//" path (without the leading "//") inside a document; nullptr
// when the path does not lead to a value.
const Json* resolveJsonPath(const Json& root, std::string_view path);

} // namespace pb
