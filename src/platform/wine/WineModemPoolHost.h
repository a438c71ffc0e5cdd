// The modem-pool host on Linux: the programs run under Wine, so the Win32
// backend runs there too, as a helper process this host talks to over a
// pipe. The helper is started on first use (WINEPREFIX and the rest of the
// environment are inherited), kept for the service and started again if it
// dies. Without Wine, or without the helper, every query answers "nothing
// found" at once.
#pragma once

#include "bridge/ModemPoolHost.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace pb {

struct WineSetup {
    std::string wine;         // the Wine loader; empty: found on this machine
    std::string helper;       // poolbridge-wine-helper.exe; empty: found beside the program
    std::chrono::milliseconds startTimeout{60'000}; // the first answer (Wine may be booting)
    std::chrono::milliseconds replyTimeout{15'000};
};

// Where the loader and the helper are looked for when the setup leaves them empty:
// $POOLBRIDGE_WINE, then /usr/lib/wine/wine64, wine64 and wine on PATH;
// $POOLBRIDGE_WINE_HELPER, then beside the executable, then the build's own copy.
std::string findWineLoader();
std::string findWineHelper();

class WineModemPoolHost : public ModemPoolHost {
public:
    explicit WineModemPoolHost(WineSetup setup = {});
    ~WineModemPoolHost() override;

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

    // readCells the per-cell way (two blocks allocated, written, read and
    // freed for every cell), for measuring against the batched read.
    std::vector<std::string> readCellsOneByOne(int rows, const std::vector<int>& columns,
                                               int bufferSize = 260);

    // Sends the item-count message n times inside the helper: the bare cost
    // of the cross-process round trips, for measuring.
    void sendCountMessages(int n) { ask("countloop " + std::to_string(n)); }

    // Whether the attached program's records are the 32-bit layout.
    bool attachedTo32Bit() const { return attached32_; }
    // How often the helper had to be started.
    int helperStarts() const { return starts_; }

private:
    class Helper;
    // One request; the words after "ok", or nothing when the helper is gone.
    std::optional<std::string> ask(const std::string& line);
    std::vector<std::string> cellsRequest(const std::string& verb, int rows,
                                          const std::vector<int>& columns, int bufferSize);

    WineSetup setup_;
    std::mutex lock_;
    std::unique_ptr<Helper> helper_;
    // The last attachment, made again if the helper has to be restarted.
    WindowId attachedWindow_ = 0;
    std::string attachedClass_;
    bool attached32_ = false;
    int starts_ = 0;
};

} // namespace pb
