// One regular expression over one subject. ECMAScript-style dialect on
// characters (UTF-8 code points, not bytes); "\w" stays ASCII. Matches and
// groups count from 1; every failure reads as an empty result.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pb {

class RegexHelper {
public:
    struct Options {
        bool caseSensitive = false;
        bool multiline = true;
        bool global = true;
        bool quotePlaceholder = false; // "#引号" in the pattern stands for '"'
    };

    RegexHelper();
    ~RegexHelper();
    RegexHelper(const RegexHelper&) = delete;
    RegexHelper& operator=(const RegexHelper&) = delete;

    bool create(std::string_view pattern, std::string_view subject);
    bool create(std::string_view pattern, std::string_view subject, const Options& options);

    int matchCount() const;
    std::string matchText(int match) const;
    std::string subMatchText(int match, int group) const;
    int subMatchCount() const;
    // "$&", "$1".."$99" and "$$" in the replacement follow the ECMAScript rules.
    std::string replace(std::string_view replacement = {}) const;
    const std::string& pattern() const { return pattern_; }

private:
    struct Match {
        size_t begin = 0;
        size_t end = 0;
        // Per group: begin/end offsets, or npos when the group took no part.
        std::vector<std::pair<size_t, size_t>> groups;
    };
    struct Compiled;

    void reset();

    std::unique_ptr<Compiled> compiled_;
    std::string pattern_;
    std::string subject_;
    bool global_ = true;
    std::vector<Match> matches_;
};

} // namespace pb
