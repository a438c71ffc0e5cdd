#include "bridge/ModemPool.h"

namespace pb {

const std::vector<ModemPoolProgram>& modemPoolPrograms() {
    static const std::vector<ModemPoolProgram> programs = {
        {kDingDingMoka, "叮叮摩卡.exe",
         {"ListView20WndClass", "WindowsForms10.SysListView32.app.0.33c0d9d"}, -1, -1},
        {kCoolCard, "CoolCard.exe",
         {"ListView20WndClass", "WindowsForms10.SysListView32.app.0.33c0d9d"}, 0, 3},
        {kNewCoolCard, "新酷卡.exe",
         {"ListView20WndClass", "WindowsForms10.SysListView32.app.0.33c0d9d", "SysListView32"}, 1, 4},
        {kPowerMms, "PowerMMS.exe",
         {"ListView20WndClass", "WindowsForms10.SysListView32.app.0.33c0d9d", "SysListView32"}, 0, 3},
    };
    return programs;
}

const ModemPoolProgram* modemPoolProgram(int kind) {
    for (const ModemPoolProgram& p : modemPoolPrograms())
        if (p.kind == kind) return &p;
    return nullptr;
}

DetectedProgram detectModemPool(ModemPoolHost& host) {
    for (const ModemPoolProgram& program : modemPoolPrograms()) {
        const long pid = host.findProcessByName(program.processName);
        if (pid == -1) continue;
        const WindowId top = host.findVisibleWindowOfProcess(pid);
        if (top == 0) continue;
        for (WindowId window : host.listDescendantWindows(top)) {
            const std::string cls = host.windowClassName(window);
            bool accepted = false;
            for (const std::string& name : program.listClasses) accepted = accepted || name == cls;
            if (!accepted) continue;
            if (!host.attach(window, cls)) break;
            return {program.kind, pid, window, cls, host.executablePathOf(pid)};
        }
    }
    return {};
}

std::string programDirectory(const std::string& executablePath, const std::string& processName) {
    const size_t at = executablePath.find(processName);
    return at == std::string::npos ? std::string() : executablePath.substr(0, at);
}

} // namespace pb
