// Windows private-profile files: "[section]" headers and "key=value" lines,
// CR LF line ends, GBK bytes on disk. Reads never fail (a missing file or
// key reads empty); a write keeps every other section and key as it was.
#pragma once

#include <string>

namespace pb {

class IniFile {
public:
    explicit IniFile(std::string path) : path_(std::move(path)) {}

    // The value, cut to the given buffer size less the terminating NUL as the
    // Windows call does; empty when the file, section or key is missing.
    std::string read(const std::string& section, const std::string& key,
                     size_t bufferSize = 10240) const;
    // False when the file cannot be written.
    bool write(const std::string& section, const std::string& key, const std::string& value);

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

} // namespace pb
