// A running platform simulator, a private settings folder, scripted message
// boxes and a window flow whose exit and browser are recorded, not real.
#pragma once

#include "PlatformSim.h"
#include "app/Deployment.h"
#include "ui/AppShell.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace pb::test {

inline bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

// Lets deleteLater and queued calls run.
inline void settle() {
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

class ShellFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(configDir.isValid() && runDir.isValid());
        qputenv("POOLBRIDGE_CONFIG_DIR", configDir.path().toUtf8());
        ASSERT_TRUE(sim.start());
        setDefaultServerAddress(sim.baseUrl());
        ui::MessageBox::setScripted(true);
        ui::MessageBox::clearShown();
    }

    void TearDown() override {
        shell.reset();
        settle();
        ui::MessageBox::setScripted(false);
        ui::MessageBox::clearShown();
    }

    ui::ShellOptions options() {
        ui::ShellOptions o;
        o.exitHandler = [this](int code) { exitCodes.push_back(code); };
        o.urlOpener = [this](const std::string& url) { openedUrls.push_back(url); };
        o.refreshInterval = std::chrono::milliseconds(refreshMs);
        o.drainInterval = std::chrono::milliseconds(100);
        o.updateSite.runDirectory = runDir.path().toStdString();
        o.updateSite.executablePath = runDir.path().toStdString() + "/poolbridge";
        o.updateSite.startCleanup = [this](const std::string& exe) {
            cleanedUp.push_back(exe);
            return true;
        };
        return o;
    }

    // Logs the demo account in from the open login window.
    void logInAsDemo();

    ui::AppShell& start() {
        shell = std::make_unique<ui::AppShell>(options());
        shell->startUp();
        settle();
        return *shell;
    }

    QTemporaryDir configDir;
    QTemporaryDir runDir;
    sim::PlatformSim sim;
    std::unique_ptr<ui::AppShell> shell;
    std::vector<int> exitCodes;
    std::vector<std::string> openedUrls;
    std::vector<std::string> cleanedUp;
    int refreshMs = 30'000;
};

} // namespace pb::test

#include "ui/ShellWindows.h"

#include <QLineEdit>
#include <QPushButton>

inline void pb::test::ShellFixture::logInAsDemo() {
    ui::LoginWindow* login = shell->loginWindow();
    ASSERT_NE(login, nullptr);
    login->accountEdit->setText("demo");
    login->passwordEdit->setText("demo123");
    login->loginButton->click();
    settle();
}
