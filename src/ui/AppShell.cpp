#include "ui/AppShell.h"

#include "net/HttpRequest.h"
#include "ui/LoginController.h"
#include "ui/MainController.h"
#include "ui/MainWindow.h"
#include "ui/ShellWindows.h"

#include <QPushButton>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

namespace pb::ui {

AppShell::AppShell(ShellOptions options)
    : options_(std::move(options)), session_(std::make_unique<Session>()) {
    if (!options_.exitHandler) options_.exitHandler = [](int code) { QCoreApplication::exit(code); };
    if (!options_.urlOpener)
        options_.urlOpener = [](const std::string& url) {
            QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
        };
}

AppShell::~AppShell() {
    shutDown();
    delete login_;
    delete agreement_;
    delete notice_;
    delete main_;
}

void AppShell::startUp() { openLogin(); }

LoginWindow* AppShell::loginWindow() const { return login_; }
AgreementWindow* AppShell::agreementWindow() const { return agreement_; }
NoticeWindow* AppShell::noticeWindow() const { return notice_; }
MainWindow* AppShell::mainWindow() const { return main_; }
MainController* AppShell::mainController() const { return mainController_; }

void AppShell::openUrl(const std::string& url) const { options_.urlOpener(url); }

void AppShell::openLogin() {
    auto* window = new LoginWindow;
    auto* controller = new LoginController(*this, window);
    login_ = window;
    if (!controller->runCreation()) {
        // The creation ended the program (no route list, or an update).
        delete window;
        return;
    }
    window->show();
    if (agreement_) agreement_->close();
}

void AppShell::openAgreement() {
    agreement_ = new AgreementWindow;
    connect(agreement_, &FramedWindow::closeMarkPressed, agreement_, &QWidget::close);
    connect(agreement_->acceptButton, &QAbstractButton::clicked, this, &AppShell::openLogin);
    agreement_->show();
    if (login_) login_->close();
}

void AppShell::loginSucceeded() {
    notice_ = new NoticeWindow(displayText(session_->noticeText));
    connect(notice_, &NoticeWindow::gone, this, &AppShell::openMainOnce);
    connect(notice_, &QObject::destroyed, this, &AppShell::openMainOnce);
    notice_->show();
    if (login_) login_->close();
}

void AppShell::openMainOnce() {
    if (main_ || mainWindowsOpened_ > 0 || exited_) return;
    ++mainWindowsOpened_;
    main_ = new MainWindow;
    mainController_ = new MainController(*this, main_);
    main_->show();
    mainController_->onMainWindowCreated();
}

void AppShell::exitProgram() {
    if (exited_) return;
    exited_ = true;
    shutDown();
    options_.exitHandler(0);
}

void AppShell::shutDown() {
    if (shutDown_) return;
    shutDown_ = true;
    abortAllHttpExchanges();
    if (mainController_) mainController_->stopBackgroundWork();
    session_->workerPool.stop();
    resumeHttpExchanges();
}

} // namespace pb::ui
