// The remembered login: "Qirra.ini", section "merchantLogin", every value the
// Base64 of the GBK bytes of the plain text. The file holds a password, so it
// lives in a per-user directory that only its owner can enter.
#pragma once

#include <string>

namespace pb {

// The folder of the settings file: $POOLBRIDGE_CONFIG_DIR when set, else the
// per-user configuration directory ($XDG_CONFIG_HOME or ~/.config) + "/PoolBridge".
std::string settingsDirectory();
std::string settingsFilePath();

struct RememberedLogin {
    bool remembered = false; // autoSelect decoded to exactly "true"
    std::string userName;
    std::string password;
};

RememberedLogin readRememberedLogin();
// After a successful login: with remember, userName and password are written
// and autoSelect becomes "true"; without, only autoSelect is written ("false").
bool writeRememberedLogin(bool remember, const std::string& userName, const std::string& password);

} // namespace pb
