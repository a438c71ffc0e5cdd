// The four modem-pool programs the service can bind to, and how the service
// finds the one that runs.
#pragma once

#include "bridge/ModemPoolHost.h"

#include <string>
#include <vector>

namespace pb {

enum ModemPoolKind : int {
    kDingDingMoka = 1, // 丁丁摩卡 (叮叮摩卡)
    kCoolCard = 2,     // 酷卡
    kNewCoolCard = 3,  // 新酷卡
    kPowerMms = 4,     // 洗刷刷
};

struct ModemPoolProgram {
    int kind;
    std::string processName;
    std::vector<std::string> listClasses; // accepted list-view classes
    int portColumn;                       // -1: the kind reads its number file instead
    int numberColumn;
};

// Kinds 1..4 in the order the service tries them.
const std::vector<ModemPoolProgram>& modemPoolPrograms();
const ModemPoolProgram* modemPoolProgram(int kind);

struct DetectedProgram {
    int kind = 0; // 0: none found
    long pid = -1;
    WindowId listWindow = 0;
    std::string listClass;
    std::string executablePath;
};

// Tries the kinds in order: the process by name, its first visible window,
// the first descendant of an accepted class; attaches the host's reader to
// it. kind stays 0 when no program is found.
DetectedProgram detectModemPool(ModemPoolHost& host);

// The text between the start and the first occurrence of the process name
// (case-sensitive): "D:\猫池\叮叮摩卡.exe" gives "D:\猫池\"; empty when the
// name does not occur.
std::string programDirectory(const std::string& executablePath, const std::string& processName);

} // namespace pb
