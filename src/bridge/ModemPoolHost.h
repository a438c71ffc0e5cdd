// What the service engine needs from the machine the modem-pool program runs
// on: find its process and window, name window classes, locate its
// executable, and read its list view. On Windows the Win32 backend answers
// directly; on Linux the same backend answers from a helper under Wine.
// Standard C++ only: the Win32 helper is built from this header too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pb {

using WindowId = std::uint64_t;

class ModemPoolHost {
public:
    virtual ~ModemPoolHost() = default;

    // The first process whose executable name equals `name` exactly
    // (case-sensitive, UTF-8); -1 when there is none.
    virtual long findProcessByName(const std::string& name) = 0;
    // The first visible top-level window of the process in the system's
    // window order; 0 when it has none.
    virtual WindowId findVisibleWindowOfProcess(long pid) = 0;
    // Every descendant window, in the order the system enumerates them.
    virtual std::vector<WindowId> listDescendantWindows(WindowId window) = 0;
    // The class name as read into a 50-byte buffer (at most 49 characters).
    virtual std::string windowClassName(WindowId window) = 0;
    // The executable's full path as the system names it (a Windows path);
    // empty when it cannot be had.
    virtual std::string executablePathOf(long pid) = 0;

    // The list-view reader: attach fails, changing nothing, when the window's
    // class is not `expectedClass`.
    virtual bool attach(WindowId window, const std::string& expectedClass) = 0;
    virtual int itemCount() = 0;
    // One cell's text as the control's ANSI (GBK) bytes, cut at the first NUL
    // of a `bufferSize`-byte buffer; empty when the control refuses.
    virtual std::string itemText(int row, int column, int bufferSize = 260) = 0;
    // Several cells of rows 0..rows-1 in one pass, row by row, the given
    // columns in order; the same texts as itemText would give one by one.
    virtual std::vector<std::string> readCells(int rows, const std::vector<int>& columns,
                                               int bufferSize = 260) = 0;

    // The program's directory as a path this process can open (a Linux path
    // under Wine); empty when it cannot be translated.
    virtual std::string localPathOf(const std::string& windowsPath) = 0;
};

} // namespace pb
