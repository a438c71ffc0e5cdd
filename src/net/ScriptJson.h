// A JSON document read by JavaScript-style paths: members joined by ".",
// array elements in brackets counted from 0, or a leading "[" for a root
// that is an array. It stands where the platform client once evaluated
// replies as script; here the reply is parsed, never run. Strings in single
// quotes are accepted, since the client's own fallback reply uses them.
#pragma once

#include "net/JsonText.h"

#include <string>
#include <string_view>
#include <vector>

namespace pb {

class ScriptJson {
public:
    enum TypeCode : int {
        kUnreachable = -1,
        kNull = 0, // null, absent or undefined
        kBoolean = 1,
        kNumber = 2,
        kObject = 4,
        kArray = 5,
        kString = 6,
    };

    ScriptJson() : root_(Json::object()) {}

    // True when the text yields a value that is neither null nor absent. Every
    // parse forgets the previous document; a failed one leaves the root null.
    bool parse(std::string_view text);
    std::string getText(std::string_view path, bool asJson = false) const;
    double getNumber(std::string_view path) const;
    int count(std::string_view path = {}) const;
    int keys(std::vector<std::string>& out, std::string_view path = {}) const;
    int typeOf(std::string_view path = {}) const;

private:
    enum class Outcome { Failed, Undefined, Found };
    struct Lookup {
        Outcome outcome = Outcome::Failed;
        const Json* value = nullptr;
        Json computed; // holds values that are not stored, such as an array's length
        const Json& get() const { return value ? *value : computed; }
    };

    // Evaluates root + separator + path as the script engine would.
    Lookup evaluate(std::string_view separator, std::string_view path) const;

    Json root_;
};

} // namespace pb
