#include "net/RegexHelper.h"

#include "app/Text.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

namespace pb {

struct RegexHelper::Compiled {
    pcre2_code* code = nullptr;
    ~Compiled() { pcre2_code_free(code); }
};

namespace {
struct MatchData {
    pcre2_match_data* data;
    explicit MatchData(const pcre2_code* code)
        : data(pcre2_match_data_create_from_pattern(code, nullptr)) {}
    ~MatchData() { pcre2_match_data_free(data); }
    MatchData(const MatchData&) = delete;
    MatchData& operator=(const MatchData&) = delete;
};

size_t nextCodePoint(std::string_view s, size_t at) {
    ++at;
    while (at < s.size() && (static_cast<unsigned char>(s[at]) & 0xC0) == 0x80) ++at;
    return at;
}
} // namespace

RegexHelper::RegexHelper() = default;
RegexHelper::~RegexHelper() = default;

void RegexHelper::reset() {
    compiled_.reset();
    matches_.clear();
    subject_.clear();
}

bool RegexHelper::create(std::string_view pattern, std::string_view subject) {
    return create(pattern, subject, Options{});
}

bool RegexHelper::create(std::string_view pattern, std::string_view subject,
                         const Options& options) {
    reset();
    pattern_ = options.quotePlaceholder ? replaceAll(pattern, "#引号", "\"") : std::string(pattern);
    subject_ = std::string(subject);
    global_ = options.global;

    // Line terminators are CR and LF as in ECMAScript; "." never crosses them
    // (there is no dot-all option), and "\w" keeps to ASCII (no UCP).
    uint32_t flags = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_ALT_BSUX;
    if (!options.caseSensitive) flags |= PCRE2_CASELESS;
    if (options.multiline) flags |= PCRE2_MULTILINE;
    pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
    if (!context) return false;
    pcre2_set_newline(context, PCRE2_NEWLINE_ANYCRLF);
    int error = 0;
    PCRE2_SIZE errorOffset = 0;
    pcre2_code* code =
        pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern_.data()), pattern_.size(), flags,
                      &error, &errorOffset, context);
    pcre2_compile_context_free(context);
    if (!code) return false;
    compiled_ = std::make_unique<Compiled>();
    compiled_->code = code;

    MatchData md(code);
    if (!md.data) {
        reset();
        return false;
    }
    size_t start = 0;
    while (start <= subject_.size()) {
        int rc = pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(subject_.data()), subject_.size(),
                             start, 0, md.data, nullptr);
        if (rc == PCRE2_ERROR_NOMATCH) break;
        if (rc < 0) { // matching failed (for example resource limits): no result at all
            matches_.clear();
            compiled_.reset();
            return false;
        }
        PCRE2_SIZE* ov = pcre2_get_ovector_pointer(md.data);
        uint32_t pairs = pcre2_get_ovector_count(md.data);
        Match m;
        m.begin = ov[0];
        m.end = ov[1];
        uint32_t groupCount = 0;
        pcre2_pattern_info(code, PCRE2_INFO_CAPTURECOUNT, &groupCount);
        for (uint32_t g = 1; g <= groupCount; ++g) {
            if (g < pairs && static_cast<int>(g) < rc && ov[2 * g] != PCRE2_UNSET)
                m.groups.emplace_back(ov[2 * g], ov[2 * g + 1]);
            else
                m.groups.emplace_back(std::string::npos, std::string::npos);
        }
        matches_.push_back(std::move(m));
        if (!global_) break;
        // An empty match moves on by one character, as ECMAScript's lastIndex does.
        start = ov[1] > ov[0] ? ov[1] : nextCodePoint(subject_, ov[1]);
    }
    return true;
}

int RegexHelper::matchCount() const { return static_cast<int>(matches_.size()); }

std::string RegexHelper::matchText(int match) const {
    if (match < 1 || match > matchCount()) return {};
    const Match& m = matches_[match - 1];
    return subject_.substr(m.begin, m.end - m.begin);
}

std::string RegexHelper::subMatchText(int match, int group) const {
    if (match < 1 || match > matchCount()) return {};
    const Match& m = matches_[match - 1];
    if (group < 1 || group > static_cast<int>(m.groups.size())) return {};
    auto [b, e] = m.groups[group - 1];
    if (b == std::string::npos) return {};
    return subject_.substr(b, e - b);
}

int RegexHelper::subMatchCount() const {
    return matches_.empty() ? 0 : static_cast<int>(matches_.front().groups.size());
}

std::string RegexHelper::replace(std::string_view replacement) const {
    if (!compiled_) return {};
    std::string out;
    size_t last = 0;
    for (const Match& m : matches_) {
        out.append(subject_, last, m.begin - last);
        for (size_t i = 0; i < replacement.size(); ++i) {
            char c = replacement[i];
            if (c != '$' || i + 1 >= replacement.size()) {
                out += c;
                continue;
            }
            char next = replacement[i + 1];
            if (next == '$') {
                out += '$';
                ++i;
            } else if (next == '&') {
                out.append(subject_, m.begin, m.end - m.begin);
                ++i;
            } else if (next >= '0' && next <= '9') {
                size_t digits = 1;
                int number = next - '0';
                if (i + 2 < replacement.size() && replacement[i + 2] >= '0' &&
                    replacement[i + 2] <= '9') {
                    int two = number * 10 + (replacement[i + 2] - '0');
                    if (two >= 1 && two <= static_cast<int>(m.groups.size())) {
                        number = two;
                        digits = 2;
                    }
                }
                if (number >= 1 && number <= static_cast<int>(m.groups.size())) {
                    auto [b, e] = m.groups[number - 1];
                    if (b != std::string::npos) out.append(subject_, b, e - b);
                    i += digits;
                } else {
                    out += c;
                }
            } else {
                out += c;
            }
        }
        last = m.end;
    }
    out.append(subject_, last, std::string::npos);
    return out;
}

} // namespace pb
