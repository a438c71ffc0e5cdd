// The Win32 backend of the modem-pool host: Toolhelp snapshots, window
// enumeration and the cross-process list-view messages.
#pragma once

#include "bridge/ModemPoolHost.h"

#include <windows.h>

namespace pb::win32 {

// Blocks of memory inside another process, released when the owner goes.
class RemoteMemory {
public:
    RemoteMemory() = default;
    ~RemoteMemory() { release(); }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    // Keeps one block of at least `size` bytes in `process`, reusing it.
    void* reserve(HANDLE process, size_t size);
    void release();

    static void* allocate(HANDLE process, size_t size);
    static void free(HANDLE process, void* address);
    static bool write(HANDLE process, void* address, const void* bytes, size_t size);
    static std::string read(HANDLE process, const void* address, size_t size);

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_ = 0;
};

class Win32ModemPool : public ModemPoolHost {
public:
    Win32ModemPool() = default;
    ~Win32ModemPool() override;

    long findProcessByName(const std::string& name) override;
    WindowId findVisibleWindowOfProcess(long pid) override;
    std::vector<WindowId> listDescendantWindows(WindowId window) override;
    std::string windowClassName(WindowId window) override;
    std::string executablePathOf(long pid) override;

    bool attach(WindowId window, const std::string& expectedClass) override;
    int itemCount() override;
    std::string itemText(int row, int column, int bufferSize = 260) override;
    std::vector<std::string> readCells(int rows, const std::vector<int>& columns,
                                       int bufferSize = 260) override;
    std::string localPathOf(const std::string& windowsPath) override;

    // Whether the attached program is a 32-bit process (its records are the
    // 40-byte LVITEMA; a 64-bit program's are the 64-bit layout).
    bool targetIs32Bit() const { return target32_; }

private:
    void closeTarget();
    // The address this process reads and writes for memory the target sees
    // at `targetAddress` (the same, but for an emulated 32-bit program).
    void* seenFromHere(void* targetAddress) const;

    HWND target_ = nullptr;
    HANDLE process_ = nullptr;
    bool target32_ = false;
    std::uintptr_t memoryBase_ = 0;
    RemoteMemory batch_;
};

// UTF-8 <-> UTF-16 for names crossing the Win32 wide interfaces.
std::wstring widen(const std::string& utf8);
std::string narrow(const std::wstring& wide);

} // namespace pb::win32
