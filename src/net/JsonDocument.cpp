#include "net/JsonDocument.h"

#include "app/Gbk.h"
#include "app/Text.h"

#include <cmath>

namespace pb {

namespace {

// A key names a path when it starts with "//" but not with the "////" escape.
bool isPath(std::string_view key) { return startsWith(key, "//") && !startsWith(key, "////"); }

std::string plainKey(std::string_view key) {
    return startsWith(key, "////") ? std::string(key.substr(2)) : std::string(key);
}

struct Step {
    std::string name;         // may be empty before a leading index
    std::vector<long long> indices; // counted from 1
};

bool parseSteps(std::string_view path, std::vector<Step>& steps) {
    for (const std::string& part : splitText(path, ".")) {
        Step step;
        size_t bracket = part.find('[');
        step.name = part.substr(0, bracket);
        while (bracket != std::string::npos) {
            size_t close = part.find(']', bracket);
            if (close == std::string::npos) return false;
            long long index = 0;
            if (!parseInteger(std::string_view(part).substr(bracket + 1, close - bracket - 1),
                              index))
                return false;
            step.indices.push_back(index);
            bracket = close + 1 < part.size() ? part.find('[', close) : std::string::npos;
            if (bracket != std::string::npos && bracket != close + 1) return false;
        }
        if (step.name.empty() && step.indices.empty()) return false;
        steps.push_back(std::move(step));
    }
    return !steps.empty();
}

} // namespace

const Json* resolveJsonPath(const Json& root, std::string_view path) {
    std::vector<Step> steps;
    if (!parseSteps(path, steps)) return nullptr;
    const Json* current = &root;
    for (const Step& step : steps) {
        if (!step.name.empty()) {
            if (!current->is_object()) return nullptr;
            auto it = current->find(step.name);
            if (it == current->end()) return nullptr;
            current = &*it;
        }
        for (long long index : step.indices) {
            if (!current->is_array() || index < 1 ||
                index > static_cast<long long>(current->size()))
                return nullptr;
            current = &(*current)[static_cast<size_t>(index - 1)];
        }
    }
    return current;
}

std::string jsonValueText(const Json& value) {
    switch (value.type()) {
    case Json::value_t::string:
        return value.get_ref<const std::string&>();
    case Json::value_t::number_integer:
        return std::to_string(value.get<long long>());
    case Json::value_t::number_unsigned:
        return std::to_string(value.get<unsigned long long>());
    case Json::value_t::number_float:
        return formatNumber(value.get<double>());
    case Json::value_t::boolean:
        return value.get<bool>() ? "true" : "false";
    case Json::value_t::object:
    case Json::value_t::array:
        return dumpCompact(value);
    default:
        return {};
    }
}

long long jsonValueInt(const Json& value) {
    long long out = 0;
    switch (value.type()) {
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
        return value.get<long long>();
    case Json::value_t::number_float: {
        double d = value.get<double>();
        return std::isfinite(d) && std::fabs(d) < 9.2e18 ? static_cast<long long>(d) : 0;
    }
    case Json::value_t::string:
        return parseInteger(trimSpaces(value.get_ref<const std::string&>()), out) ? out : 0;
    default:
        return 0;
    }
}

JValue::JValue(const JMap& map) : json_(map.json()) {}
JValue::JValue(const JList& list) : json_(list.json()) {}

bool JMap::CreateByDatas(std::initializer_list<std::pair<std::string, JValue>> pairs) {
    Clear();
    for (const auto& [key, value] : pairs) json_[plainKey(key)] = value.json();
    return true;
}

bool JMap::FromJSON(std::string_view text, bool sourceIsUtf8) {
    Json parsed;
    bool ok = sourceIsUtf8 ? parseJsonText(text, parsed, false)
                           : parseJsonText(decodeGbk(text), parsed, false);
    if (!ok || !parsed.is_object()) {
        Clear();
        return false;
    }
    json_ = std::move(parsed);
    return true;
}

std::string JMap::ToJSON(bool pretty) const {
    return pretty ? json_.dump(2, ' ', false, Json::error_handler_t::replace) : dumpCompact(json_);
}

std::string JMap::ToFormString(std::string_view encoding) const {
    std::string out;
    bool gbk = toLowerAscii(encoding) == "gbk";
    for (auto it = json_.begin(); it != json_.end(); ++it) {
        if (!out.empty()) out += '&';
        std::string key = it.key();
        std::string value = jsonValueText(it.value());
        if (gbk) {
            key = encodeGbk(key);
            value = encodeGbk(value);
        }
        out += urlEncodeComponent(key);
        out += '=';
        out += urlEncodeComponent(value);
    }
    return out;
}

std::string JMap::GetString(std::string_view key) const {
    if (isPath(key)) {
        const Json* v = resolveJsonPath(json_, key.substr(2));
        return v ? jsonValueText(*v) : std::string();
    }
    auto it = json_.find(plainKey(key));
    return it == json_.end() ? std::string() : jsonValueText(*it);
}

long long JMap::GetInt(std::string_view key) const {
    if (isPath(key)) {
        const Json* v = resolveJsonPath(json_, key.substr(2));
        return v ? jsonValueInt(*v) : 0;
    }
    auto it = json_.find(plainKey(key));
    return it == json_.end() ? 0 : jsonValueInt(*it);
}

int JMap::Count(std::string_view key) const {
    const Json* v = &json_;
    if (!key.empty()) {
        if (isPath(key)) {
            v = resolveJsonPath(json_, key.substr(2));
        } else {
            auto it = json_.find(plainKey(key));
            v = it == json_.end() ? nullptr : &*it;
        }
    }
    if (!v || !(v->is_object() || v->is_array())) return 0;
    return static_cast<int>(v->size());
}

bool JMap::Setter(std::string_view key, const JValue& value) {
    if (!isPath(key)) {
        json_[plainKey(key)] = value.json();
        return true;
    }
    std::vector<Step> steps;
    if (!parseSteps(key.substr(2), steps)) return false;
    Json* current = &json_;
    for (const Step& step : steps) {
        if (!step.name.empty()) {
            if (current->is_null()) *current = Json::object();
            if (!current->is_object()) return false;
            current = &(*current)[step.name];
        }
        for (long long index : step.indices) {
            if (!current->is_array() || index < 1 ||
                index > static_cast<long long>(current->size()))
                return false;
            current = &(*current)[static_cast<size_t>(index - 1)];
        }
    }
    *current = value.json();
    return true;
}

const Json* JList::element(int position, int column) const {
    if (position < 1 || position > static_cast<int>(json_.size())) return nullptr;
    const Json* v = &json_[static_cast<size_t>(position - 1)];
    if (column == 0) return v;
    if (!v->is_array() || column < 1 || column > static_cast<int>(v->size())) return nullptr;
    return &(*v)[static_cast<size_t>(column - 1)];
}

std::string JList::GetString(int position, int column) const {
    const Json* v = element(position, column);
    return v ? jsonValueText(*v) : std::string();
}

long long JList::GetInt(int position, int column) const {
    const Json* v = element(position, column);
    return v ? jsonValueInt(*v) : 0;
}

int JList::Count(std::string_view path) const {
    const Json* v = &json_;
    if (!path.empty()) v = resolveJsonPath(json_, startsWith(path, "//") ? path.substr(2) : path);
    if (!v || !(v->is_object() || v->is_array())) return 0;
    return static_cast<int>(v->size());
}

int JList::FromSplitString(std::string_view text, std::string_view rowSeparator,
                           std::string_view columnSeparator) {
    Clear();
    for (const std::string& row : splitText(text, rowSeparator)) {
        Json columns = Json::array();
        for (std::string& column : splitText(row, columnSeparator)) columns.push_back(column);
        json_.push_back(std::move(columns));
    }
    return static_cast<int>(json_.size());
}

JMap CreateStoreMap(std::initializer_list<std::pair<std::string, JValue>> pairs) {
    JMap map;
    map.CreateByDatas(pairs);
    return map;
}

} // namespace pb
