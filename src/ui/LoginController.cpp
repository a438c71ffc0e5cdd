#include "ui/LoginController.h"

#include "app/Credentials.h"
#include "app/Deployment.h"
#include "app/LoginFlow.h"
#include "net/ApiEnvelope.h"
#include "ui/AppShell.h"
#include "ui/MessageBox.h"
#include "ui/ShellWindows.h"
#include "ui/Theme.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace pb::ui {

LoginController::LoginController(AppShell& shell, LoginWindow* window)
    : QObject(window), shell_(shell), window_(window) {
    connect(window, &FramedWindow::closeMarkPressed, window, &QWidget::close);
    connect(window->routeBox, &QComboBox::activated, this,
            [this](int row) { chooseRoute(shell_.session(), row); });
    connect(window->loginButton, &QPushButton::clicked, this, &LoginController::login);
    connect(window->registerLink, &ClickableLabel::pressed, this, [this] {
        const Session& s = shell_.session();
        shell_.openUrl(s.baseUrl + s.registerPath);
    });
    connect(window->agreementLink, &ClickableLabel::pressed, &shell_, &AppShell::openAgreement);
}

bool LoginController::runCreation() {
    applyBuiltInSkin(0, 0);
    if (!loadRoutes()) return false;
    const RememberedLogin remembered = readRememberedLogin();
    if (remembered.remembered) {
        window_->accountEdit->setText(QString::fromStdString(remembered.userName));
        window_->passwordEdit->setText(QString::fromStdString(remembered.password));
        window_->rememberBox->setChecked(true);
    }
    Session& session = shell_.session();
    session.machineToken = makeMachineToken();
    session.baseUrl = defaultServerAddress();
    return checkForUpdate();
}

bool LoginController::loadRoutes() {
    Session& session = shell_.session();
    const RouteList routes = fetchRouteList(defaultServerAddress());
    window_->routeBox->clear();
    for (const std::string& name : routes.names)
        window_->routeBox->addItem(QString::fromStdString(name));
    applyRouteList(session, routes);
    if (routes.succeeded()) return true;
    MessageBox::show(window_, QString::fromStdString(routes.message), QStringLiteral("Error"),
                     BoxIcon::Warning);
    shell_.exitProgram();
    return false;
}

bool LoginController::checkForUpdate() {
    const UpdateOffer offer = fetchUpdateOffer(shell_.session());
    // A name that would leave the run directory is not an update we can take.
    if (!offersNewerVersion(offer) || updateFileName(offer).empty()) return true;
    window_->hide();
    MessageBox::show(nullptr, QStringLiteral("检测到新版本，点击确定更新"));
    const UpdateOutcome outcome = installUpdate(offer, shell_.options().updateSite);
    if (outcome != UpdateOutcome::Installed)
        MessageBox::show(nullptr, QStringLiteral("新版本下载失败，请稍后重新启动程序"),
                         kDefaultBoxTitle, BoxIcon::Warning);
    shell_.exitProgram();
    return false;
}

void LoginController::login() {
    const std::string userName = window_->accountEdit->text().toStdString();
    const std::string password = window_->passwordEdit->text().toStdString();
    if (loginInputMissing(userName, password)) {
        MessageBox::show(window_, QStringLiteral("必填项不能为空"), QStringLiteral("Error"));
        return;
    }
    window_->loginButton->setEnabled(false);
    Session& session = shell_.session();
    const LoginResult result = requestLogin(session, userName, password);
    if (!result.succeeded) {
        MessageBox::show(window_, QString::fromStdString(result.message), kDefaultBoxTitle,
                         BoxIcon::Warning);
        window_->loginButton->setEnabled(true);
        return;
    }
    writeRememberedLogin(window_->rememberBox->isChecked(), userName, password);
    session.noticeText = fetchNotice(session);
    shell_.loginSucceeded();
}

} // namespace pb::ui
