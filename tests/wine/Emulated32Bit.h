// A 32-bit double on a kernel without 32-bit support runs on qemu-user: its
// memory sits in the emulator's process at a fixed distance from the
// addresses the program sees. The helper must be told that distance, and this
// is where the tests find it: the host address at which the emulator mapped
// the program's executable, less the image base the executable was linked at.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace pb::test {

namespace fs = std::filesystem;

// The preferred load address written in a 32-bit PE file, or nothing.
inline std::optional<std::uint32_t> peImageBase(const fs::path& exe) {
    std::ifstream in(exe, std::ios::binary);
    auto u32 = [&](std::streamoff at) -> std::optional<std::uint32_t> {
        unsigned char b[4] = {};
        in.seekg(at);
        if (!in.read(reinterpret_cast<char*>(b), 4)) return std::nullopt;
        return b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
    };
    const auto peHeader = u32(0x3c);
    if (!peHeader || u32(*peHeader) != 0x00004550u) return std::nullopt; // "PE\0\0"
    const auto magic = u32(*peHeader + 24);
    if (!magic || (*magic & 0xffff) != 0x10b) return std::nullopt; // not PE32
    return u32(*peHeader + 24 + 28);
}

// The distance at which qemu-user keeps the memory of the running `exe`, or
// 0 when the program runs natively (or is not running).
inline std::uintptr_t emulatedMemoryBase(const fs::path& exe) {
    const auto imageBase = peImageBase(exe);
    if (!imageBase) return 0;
    const std::string wanted = fs::canonical(exe).string();
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc", ec)) {
        std::error_code linkError;
        const std::string binary = fs::read_symlink(entry.path() / "exe", linkError).string();
        if (linkError || binary.find("qemu-i386") == std::string::npos) continue;
        std::ifstream maps(entry.path() / "maps");
        std::string line;
        while (std::getline(maps, line)) {
            // "start-end perms offset dev inode path"
            std::istringstream fields(line);
            std::string range, perms, offset, dev, inode, path;
            fields >> range >> perms >> offset >> dev >> inode;
            std::getline(fields >> std::ws, path);
            if (path != wanted || std::strtoull(offset.c_str(), nullptr, 16) != 0) continue;
            const std::uintptr_t start = std::strtoull(range.c_str(), nullptr, 16);
            return start >= *imageBase ? start - *imageBase : 0;
        }
    }
    return 0;
}

// Sets an environment variable for a scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_) setenv(name_, old_->c_str(), 1);
        else unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace pb::test
