#include "platform/win32/Win32ModemPool.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <cstring>

namespace pb::win32 {

namespace {

constexpr DWORD kAllAccess = 0x1F0FFF;
constexpr UINT kGetItemCount = 0x1004; // LVM_GETITEMCOUNT
constexpr UINT kGetItemA = 0x1005;     // LVM_GETITEMA: the control answers in its ANSI code page
constexpr UINT kMessageTimeoutMs = 5000;

// The request record as the target's list view reads it: the 40-byte
// LVITEMA of a 32-bit program, the 64-bit layout otherwise (the tail is room
// for the later members, left zero).
constexpr size_t kRecord32 = 40;
constexpr size_t kRecord64 = 88;

struct Handle {
    HANDLE h = INVALID_HANDLE_VALUE;
    explicit Handle(HANDLE value) : h(value) {}
    ~Handle() {
        if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return h && h != INVALID_HANDLE_VALUE; }
};

template <typename T> void put(std::string& record, size_t offset, T value) {
    std::memcpy(&record[offset], &value, sizeof value);
}

template <typename T> T get(const std::string& record, size_t offset) {
    T value{};
    if (offset + sizeof value <= record.size()) std::memcpy(&value, &record[offset], sizeof value);
    return value;
}

std::string makeRecord(bool target32, int row, int column, std::uint64_t textAddress, int size) {
    std::string record(target32 ? kRecord32 : kRecord64, '\0');
    put<std::uint32_t>(record, 0, LVIF_TEXT);
    put<std::int32_t>(record, 4, row);
    put<std::int32_t>(record, 8, column);
    if (target32) {
        put<std::uint32_t>(record, 20, static_cast<std::uint32_t>(textAddress));
        put<std::int32_t>(record, 24, size);
    } else {
        put<std::uint64_t>(record, 24, textAddress);
        put<std::int32_t>(record, 32, size);
    }
    return record;
}

std::uint64_t recordTextAddress(bool target32, const std::string& record) {
    return target32 ? get<std::uint32_t>(record, 20) : get<std::uint64_t>(record, 24);
}

// The text up to the first NUL of the buffer's first size - 1 bytes: the
// last byte is the terminator's place, even where a control fills the buffer
// to the brim without one.
std::string upToNul(const std::string& bytes) {
    const std::string usable = bytes.substr(0, bytes.empty() ? 0 : bytes.size() - 1);
    return usable.substr(0, usable.find('\0'));
}

// Where the kernel cannot run 32-bit code, a 32-bit program under Wine runs
// on qemu-user, which keeps the program's memory at a fixed distance from the
// addresses the program itself sees; Wine's server reads and writes the host
// side. The distance is given by whoever started the emulator (hexadecimal).
std::uintptr_t emulatedMemoryBase() {
    char value[32] = {};
    DWORD n = GetEnvironmentVariableA("POOLBRIDGE_EMULATED_32BIT_BASE", value, sizeof value);
    if (n == 0 || n >= sizeof value) return 0;
    return static_cast<std::uintptr_t>(std::strtoull(value, nullptr, 16));
}

LRESULT sendWithTimeout(HWND window, UINT message, WPARAM w, LPARAM l) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, w, l, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                             kMessageTimeoutMs, &result))
        return 0;
    return static_cast<LRESULT>(result);
}

struct WindowSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK takeVisibleWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->pid && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK collectWindow(HWND window, LPARAM data) {
    reinterpret_cast<std::vector<WindowId>*>(data)->push_back(
        static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(window)));
    return TRUE;
}

HWND toHwnd(WindowId id) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(id)); }

} // namespace

std::wstring widen(const std::string& utf8) {
    if (utf8.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string narrow(const std::wstring& wide) {
    if (wide.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

void* RemoteMemory::allocate(HANDLE process, size_t size) {
    return VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
}

void RemoteMemory::free(HANDLE process, void* address) {
    if (address) VirtualFreeEx(process, address, 0, MEM_RELEASE);
}

bool RemoteMemory::write(HANDLE process, void* address, const void* bytes, size_t size) {
    SIZE_T written = 0;
    return WriteProcessMemory(process, address, bytes, size, &written) && written == size;
}

std::string RemoteMemory::read(HANDLE process, const void* address, size_t size) {
    std::string bytes(size, '\0');
    SIZE_T got = 0;
    ReadProcessMemory(process, address, bytes.data(), size, &got);
    return bytes; // what the read did not reach stays zero
}

void* RemoteMemory::reserve(HANDLE process, size_t size) {
    if (process == process_ && address_ && size <= size_) return address_;
    release();
    address_ = allocate(process, size);
    if (!address_) return nullptr;
    process_ = process;
    size_ = size;
    return address_;
}

void RemoteMemory::release() {
    if (address_) free(process_, address_);
    address_ = nullptr;
    process_ = nullptr;
    size_ = 0;
}

Win32ModemPool::~Win32ModemPool() { closeTarget(); }

void Win32ModemPool::closeTarget() {
    batch_.release();
    if (process_) CloseHandle(process_);
    process_ = nullptr;
}

long Win32ModemPool::findProcessByName(const std::string& name) {
    Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.valid()) return -1;
    const std::wstring wanted = widen(name);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.h, &entry); more;
         more = Process32NextW(snapshot.h, &entry)) {
        if (wanted == entry.szExeFile) return static_cast<long>(entry.th32ProcessID);
    }
    return -1;
}

WindowId Win32ModemPool::findVisibleWindowOfProcess(long pid) {
    // A program that has only just started may not show its window yet: look
    // again for a short while, but never wait without end.
    const DWORD start = GetTickCount();
    for (;;) {
        WindowSearch search{static_cast<DWORD>(pid), nullptr};
        EnumWindows(takeVisibleWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(search.found));
        if (GetTickCount() - start > 2000) return 0;
        Sleep(100);
    }
}

std::vector<WindowId> Win32ModemPool::listDescendantWindows(WindowId window) {
    std::vector<WindowId> windows;
    EnumChildWindows(toHwnd(window), collectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::string Win32ModemPool::windowClassName(WindowId window) {
    char buffer[50] = {};
    int n = GetClassNameA(toHwnd(window), buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

std::string Win32ModemPool::executablePathOf(long pid) {
    if (pid == 4) {
        wchar_t dir[MAX_PATH] = {};
        GetSystemDirectoryW(dir, MAX_PATH);
        std::string path = narrow(dir);
        if (path.empty() || path.back() != '\\') path += '\\';
        return path;
    }
    Handle snapshot(
        CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, static_cast<DWORD>(pid)));
    if (!snapshot.valid()) return {};
    MODULEENTRY32W module{};
    module.dwSize = sizeof module;
    if (!Module32FirstW(snapshot.h, &module)) return {};
    std::string path = narrow(module.szExePath);
    if (path.rfind("\\SystemRoot", 0) == 0) {
        wchar_t root[MAX_PATH] = {};
        GetEnvironmentVariableW(L"SystemRoot", root, MAX_PATH);
        path = narrow(root) + path.substr(std::strlen("\\SystemRoot"));
    } else if (path.rfind("\\??\\", 0) == 0) {
        path = path.substr(4);
    }
    return path;
}

bool Win32ModemPool::attach(WindowId window, const std::string& expectedClass) {
    if (windowClassName(window) != expectedClass) return false;
    closeTarget();
    target_ = toHwnd(window);
    DWORD pid = 0;
    GetWindowThreadProcessId(target_, &pid);
    process_ = OpenProcess(kAllAccess, FALSE, pid);
    target32_ = true;
#ifdef _WIN64
    BOOL wow64 = FALSE;
    if (process_ && IsWow64Process(process_, &wow64)) target32_ = wow64 != FALSE;
    else target32_ = false;
#endif
    memoryBase_ = target32_ ? emulatedMemoryBase() : 0;
    return true;
}

int Win32ModemPool::itemCount() {
    if (!target_) return 0;
    return static_cast<int>(sendWithTimeout(target_, kGetItemCount, 0, 0));
}

std::string Win32ModemPool::itemText(int row, int column, int bufferSize) {
    if (!target_ || !process_ || bufferSize <= 0) return {};
    const size_t recordSize = target32_ ? kRecord32 : kRecord64;
    void* recordBlock = RemoteMemory::allocate(process_, recordSize);
    void* textBlock = RemoteMemory::allocate(process_, static_cast<size_t>(bufferSize));
    std::string text;
    if (recordBlock && textBlock) {
        const std::string record = makeRecord(
            target32_, row, column, reinterpret_cast<std::uintptr_t>(textBlock), bufferSize);
        RemoteMemory::write(process_, seenFromHere(recordBlock), record.data(), record.size());
        if (sendWithTimeout(target_, kGetItemA, 0, reinterpret_cast<LPARAM>(recordBlock)))
            text = upToNul(RemoteMemory::read(process_, seenFromHere(textBlock),
                                              static_cast<size_t>(bufferSize)));
    }
    RemoteMemory::free(process_, textBlock);
    RemoteMemory::free(process_, recordBlock);
    return text;
}

std::vector<std::string> Win32ModemPool::readCells(int rows, const std::vector<int>& columns,
                                                   int bufferSize) {
    std::vector<std::string> texts;
    if (!target_ || !process_ || rows <= 0 || columns.empty() || bufferSize <= 0) return texts;
    const size_t cells = static_cast<size_t>(rows) * columns.size();
    const size_t recordSize = target32_ ? kRecord32 : kRecord64;
    const size_t textSize = static_cast<size_t>(bufferSize);
    const size_t recordsBytes = cells * recordSize;
    // One block for the pass: every record, then every text buffer.
    auto* block = static_cast<char*>(batch_.reserve(process_, recordsBytes + cells * textSize));
    if (!block) return std::vector<std::string>(cells);
    std::string image(recordsBytes + cells * textSize, '\0');
    for (size_t i = 0; i < cells; ++i) {
        const int row = static_cast<int>(i / columns.size());
        const int column = columns[i % columns.size()];
        const auto textAddress = reinterpret_cast<std::uintptr_t>(block + recordsBytes + i * textSize);
        image.replace(i * recordSize, recordSize,
                      makeRecord(target32_, row, column, textAddress, bufferSize));
    }
    RemoteMemory::write(process_, seenFromHere(block), image.data(), image.size());
    std::vector<bool> answered(cells);
    for (size_t i = 0; i < cells; ++i)
        answered[i] = sendWithTimeout(target_, kGetItemA, 0,
                                      reinterpret_cast<LPARAM>(block + i * recordSize)) != 0;
    const std::string back = RemoteMemory::read(process_, seenFromHere(block), image.size());
    texts.reserve(cells);
    for (size_t i = 0; i < cells; ++i) {
        if (!answered[i]) {
            texts.emplace_back();
            continue;
        }
        const std::uint64_t expected =
            reinterpret_cast<std::uintptr_t>(block + recordsBytes + i * textSize);
        const std::uint64_t actual =
            recordTextAddress(target32_, back.substr(i * recordSize, recordSize));
        if (actual != expected && actual != 0) {
            // The control pointed the record at text of its own instead of copying.
            void* text = reinterpret_cast<void*>(static_cast<std::uintptr_t>(actual));
            texts.push_back(upToNul(RemoteMemory::read(process_, seenFromHere(text), textSize)));
        } else {
            texts.push_back(upToNul(back.substr(recordsBytes + i * textSize, textSize)));
        }
    }
    return texts;
}

void* Win32ModemPool::seenFromHere(void* targetAddress) const {
    return reinterpret_cast<void*>(reinterpret_cast<std::uintptr_t>(targetAddress) + memoryBase_);
}

std::string Win32ModemPool::localPathOf(const std::string& windowsPath) {
    // Under Wine, kernel32 names the Unix file behind a Windows path.
    using UnixName = char*(CDECL*)(LPCWSTR);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto unixName = kernel ? reinterpret_cast<UnixName>(reinterpret_cast<void*>(
                                 GetProcAddress(kernel, "wine_get_unix_file_name")))
                           : nullptr;
    if (!unixName) return windowsPath;
    char* name = unixName(widen(windowsPath).c_str());
    if (!name) return {};
    std::string path = name;
    HeapFree(GetProcessHeap(), 0, name);
    return path;
}

} // namespace pb::win32
