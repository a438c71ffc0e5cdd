#include "net/ScriptJson.h"

#include "app/Text.h"

#include <cstdlib>

namespace pb {

namespace {

bool isIdentifierStart(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '$' || c >= 0x80;
}

bool isIdentifierPart(unsigned char c) { return isIdentifierStart(c) || (c >= '0' && c <= '9'); }

struct Access {
    bool byIndex = false;
    std::string name;
    size_t index = 0;
};

// Splits a member-access chain ".a[0].b" into accesses; false for anything a
// script engine would reject as syntax, or could not evaluate without
// running arbitrary code.
bool parseAccesses(std::string_view chain, std::vector<Access>& out) {
    size_t i = 0;
    while (i < chain.size()) {
        if (chain[i] == '.') {
            size_t start = ++i;
            if (i >= chain.size() || !isIdentifierStart(static_cast<unsigned char>(chain[i])))
                return false;
            while (i < chain.size() && isIdentifierPart(static_cast<unsigned char>(chain[i]))) ++i;
            out.push_back({false, std::string(chain.substr(start, i - start)), 0});
        } else if (chain[i] == '[') {
            size_t close = chain.find(']', i);
            if (close == std::string_view::npos) return false;
            std::string inner = trimSpaces(chain.substr(i + 1, close - i - 1));
            if (inner.size() >= 2 && (inner.front() == '\'' || inner.front() == '"') &&
                inner.back() == inner.front()) {
                out.push_back({false, inner.substr(1, inner.size() - 2), 0});
            } else {
                long long index = 0;
                if (!parseInteger(inner, index) || index < 0 || inner.front() == '+') return false;
                out.push_back({true, {}, static_cast<size_t>(index)});
            }
            i = close + 1;
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

bool ScriptJson::parse(std::string_view text) {
    root_ = nullptr;
    Json parsed;
    if (!parseJsonText(text, parsed, true) || parsed.is_null()) return false;
    root_ = std::move(parsed);
    return true;
}

ScriptJson::Lookup ScriptJson::evaluate(std::string_view separator,
                                        std::string_view path) const {
    Lookup result;
    std::vector<Access> accesses;
    std::string chain = std::string(separator) + std::string(path);
    if (!path.empty() && !parseAccesses(chain, accesses)) return result; // Failed
    const Json* current = &root_;
    bool undefined = false;
    for (const Access& access : accesses) {
        // Reading a member of null or undefined is a script error.
        if (undefined || current->is_null()) return Lookup{};
        const Json* next = nullptr;
        if (access.byIndex) {
            if (current->is_array() && access.index < current->size()) {
                next = &(*current)[access.index];
            } else if (current->is_object()) {
                auto it = current->find(std::to_string(access.index));
                if (it != current->end()) next = &*it;
            }
        } else if (current->is_object()) {
            auto it = current->find(access.name);
            if (it != current->end()) next = &*it;
        } else if (access.name == "length" && (current->is_array() || current->is_string())) {
            result.computed = current->is_array()
                                  ? current->size()
                                  : current->get_ref<const std::string&>().size();
            result.outcome = Outcome::Found;
            result.value = nullptr;
            current = &result.computed;
            continue;
        }
        if (next) {
            current = next;
        } else {
            undefined = true;
        }
    }
    if (undefined) {
        result.outcome = Outcome::Undefined;
        return result;
    }
    result.outcome = Outcome::Found;
    if (current != &result.computed) result.value = current;
    return result;
}

std::string ScriptJson::getText(std::string_view path, bool asJson) const {
    Lookup found = evaluate(startsWith(path, "[") ? "" : ".", path);
    if (found.outcome != Outcome::Found) return {};
    const Json& v = found.get();
    if (asJson) return dumpCompact(v);
    switch (v.type()) {
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
    case Json::value_t::number_float:
        return formatNumber(v.get<double>());
    case Json::value_t::string:
        return v.get_ref<const std::string&>();
    case Json::value_t::boolean:
        return v.get<bool>() ? "true" : "false";
    case Json::value_t::object:
    case Json::value_t::array:
        return dumpCompact(v);
    default:
        return {};
    }
}

double ScriptJson::getNumber(std::string_view path) const {
    Lookup found = evaluate(".", path);
    if (found.outcome != Outcome::Found) return 0;
    const Json& v = found.get();
    if (v.is_number()) return v.get<double>();
    if (v.is_boolean()) return v.get<bool>() ? 1 : 0;
    if (v.is_string()) {
        const std::string& s = v.get_ref<const std::string&>();
        char* end = nullptr;
        double d = std::strtod(s.c_str(), &end);
        return end && *end == '\0' && !s.empty() ? d : 0;
    }
    return 0;
}

int ScriptJson::count(std::string_view path) const {
    Lookup found = evaluate(startsWith(path, "[") ? "" : ".", path);
    if (found.outcome != Outcome::Found) return 0;
    const Json& v = found.get();
    return v.is_object() || v.is_array() ? static_cast<int>(v.size()) : 0;
}

int ScriptJson::keys(std::vector<std::string>& out, std::string_view path) const {
    out.clear();
    Lookup found = evaluate(startsWith(path, "[") ? "" : ".", path);
    if (found.outcome != Outcome::Found) return 0;
    const Json& v = found.get();
    if (v.is_object()) {
        for (auto it = v.begin(); it != v.end(); ++it) out.push_back(it.key());
    } else if (v.is_array()) {
        for (size_t i = 0; i < v.size(); ++i) out.push_back(std::to_string(i));
    }
    return static_cast<int>(out.size());
}

int ScriptJson::typeOf(std::string_view path) const {
    // The type test always joins with ".", so the leading "[" form is a syntax error.
    Lookup found = evaluate(".", path);
    if (found.outcome == Outcome::Failed) return kUnreachable;
    if (found.outcome == Outcome::Undefined) return kNull;
    switch (found.get().type()) {
    case Json::value_t::null:
        return kNull;
    case Json::value_t::boolean:
        return kBoolean;
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
    case Json::value_t::number_float:
        return kNumber;
    case Json::value_t::object:
        return kObject;
    case Json::value_t::array:
        return kArray;
    case Json::value_t::string:
        return kString;
    default:
        return kUnreachable;
    }
}

} // namespace pb
