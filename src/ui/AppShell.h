// The window flow: which windows are open, what opens the next one, and the
// orderly end of the program. It owns the session for the whole run.
#pragma once

#include "app/Session.h"
#include "app/Update.h"

#include <QObject>
#include <QPointer>

#include <chrono>
#include <functional>
#include <memory>

namespace pb::ui {

class AgreementWindow;
class LoginController;
class LoginWindow;
class MainController;
class MainWindow;
class NoticeWindow;

struct ShellOptions {
    std::chrono::milliseconds drainInterval{500};
    std::chrono::milliseconds refreshInterval{30'000};
    // How the process ends; the default leaves the event loop with code 0.
    std::function<void(int)> exitHandler;
    // How a web page is opened; the default is the desktop's browser.
    std::function<void(const std::string&)> urlOpener;
    UpdateSite updateSite = currentUpdateSite();
};

class AppShell : public QObject {
    Q_OBJECT
public:
    explicit AppShell(ShellOptions options = {});
    ~AppShell() override;

    // Opens LoginWindow; its creation handler runs first.
    void startUp();
    // Ends the program at once; the shut-down still runs.
    void exitProgram();
    bool exited() const { return exited_; }

    Session& session() { return *session_; }
    const ShellOptions& options() const { return options_; }
    void openUrl(const std::string& url) const;

    LoginWindow* loginWindow() const;
    AgreementWindow* agreementWindow() const;
    NoticeWindow* noticeWindow() const;
    MainWindow* mainWindow() const;
    MainController* mainController() const;
    int mainWindowsOpened() const { return mainWindowsOpened_; }

    // Steps of the flow, called by the controllers.
    void openLogin();
    void openAgreement();
    void loginSucceeded();

private:
    void openMainOnce();
    void shutDown();

    ShellOptions options_;
    std::unique_ptr<Session> session_;
    QPointer<LoginWindow> login_;
    QPointer<AgreementWindow> agreement_;
    QPointer<NoticeWindow> notice_;
    QPointer<MainWindow> main_;
    QPointer<MainController> mainController_;
    int mainWindowsOpened_ = 0;
    bool exited_ = false;
    bool shutDown_ = false;
};

} // namespace pb::ui
