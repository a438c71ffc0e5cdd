#include "app/Credentials.h"

#include "app/Gbk.h"
#include "app/IniFile.h"

#include <QDir>
#include <QFile>

#include <cstdlib>

namespace pb {

namespace {
constexpr const char* kSection = "merchantLogin";

bool ensurePrivateDirectory(const std::string& dir) {
    QDir d;
    if (!d.mkpath(QString::fromStdString(dir))) return false;
    return QFile::setPermissions(QString::fromStdString(dir),
                                 QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                     QFileDevice::ExeOwner);
}
} // namespace

std::string settingsDirectory() {
    if (const char* dir = std::getenv("POOLBRIDGE_CONFIG_DIR"); dir && *dir) return dir;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        return std::string(xdg) + "/PoolBridge";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : ".") + "/.config/PoolBridge";
}

std::string settingsFilePath() { return settingsDirectory() + "/Qirra.ini"; }

RememberedLogin readRememberedLogin() {
    IniFile ini(settingsFilePath());
    RememberedLogin login;
    login.remembered = textFromBase64Gbk(ini.read(kSection, "autoSelect")) == "true";
    if (login.remembered) {
        login.userName = textFromBase64Gbk(ini.read(kSection, "userName"));
        login.password = textFromBase64Gbk(ini.read(kSection, "password"));
    }
    return login;
}

bool writeRememberedLogin(bool remember, const std::string& userName,
                          const std::string& password) {
    if (!ensurePrivateDirectory(settingsDirectory())) return false;
    IniFile ini(settingsFilePath());
    bool ok = true;
    if (remember) {
        ok = ini.write(kSection, "userName", base64OfGbk(userName)) &&
             ini.write(kSection, "password", base64OfGbk(password));
    }
    ok = ini.write(kSection, "autoSelect", base64OfGbk(remember ? "true" : "false")) && ok;
    QFile::setPermissions(QString::fromStdString(ini.path()),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return ok;
}

} // namespace pb
