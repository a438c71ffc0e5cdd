#include "ui/ShellWindows.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace pb::ui {

namespace {
ClickableLabel* placeLink(QWidget* parent, const char* name, const QString& text, int x, int y,
                          int w, int h) {
    auto* link = new ClickableLabel(text, parent);
    link->setObjectName(name);
    link->setGeometry(x, y, w, h);
    link->setProperty("link", true);
    link->setCursor(Qt::PointingHandCursor);
    return link;
}
} // namespace

QString displayText(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

LoginWindow::LoginWindow(QWidget* parent)
    : FramedWindow(QStringLiteral("星梭卡商端"), 310, 240, 35, parent) {
    placeLabel(this, "透明标签3", QStringLiteral("线路："), 5, 50, 60, 20);
    routeBox = placeWidget<QComboBox>(this, "组合框1", 75, 50, 200, 20);
    placeLabel(this, "透明标签1", QStringLiteral("账号："), 5, 80, 60, 20);
    accountEdit = placeWidget<QLineEdit>(this, "编辑框1", 75, 80, 200, 20);
    placeLabel(this, "透明标签2", QStringLiteral("密码："), 5, 110, 60, 20);
    passwordEdit = placeWidget<QLineEdit>(this, "编辑框2", 75, 110, 200, 20);
    passwordEdit->setEchoMode(QLineEdit::Password);
    rememberBox = placeWidget<QCheckBox>(this, "选择框1", 75, 140, 80, 20);
    rememberBox->setText(QStringLiteral("记住密码"));
    registerLink = placeLink(this, "透明标签4", QStringLiteral("注册账号"), 215, 140, 60, 20);
    agreeBox = placeWidget<QCheckBox>(this, "选择框2", 76, 170, 105, 20);
    agreeBox->setText(QStringLiteral("我已阅读并同意"));
    agreementLink = placeLink(this, "透明标签6", QStringLiteral("星梭用户协议"), 181, 170, 90, 20);
    loginButton = placeWidget<QPushButton>(this, "登录按钮", 75, 200, 200, 30);
    loginButton->setText(QStringLiteral("登录"));
    loginButton->setDefault(true);
    connect(passwordEdit, &QLineEdit::returnPressed, loginButton, &QPushButton::click);
}

AgreementWindow::AgreementWindow(QWidget* parent)
    : FramedWindow(QStringLiteral("用户协议"), 720, 220, 35, parent) {
    agreementText = placeWidget<QPlainTextEdit>(this, "编辑框1", 1, 36, 718, 130);
    agreementText->setPlainText(displayText(kAgreementText.toStdString()));
    agreementText->setReadOnly(true);
    acceptButton = placeWidget<QPushButton>(this, "按钮1", 282, 175, 150, 30);
    acceptButton->setText(QStringLiteral("我已阅读并同意此协议"));
}

NoticeWindow::NoticeWindow(const QString& notice, QWidget* parent)
    : FramedWindow(QStringLiteral("公告"), 600, 300, 35, parent) {
    noticeText = placeWidget<QPlainTextEdit>(this, "编辑框1", 1, 35, 598, 264);
    noticeText->setPlainText(notice);
    noticeText->setReadOnly(true);
    connect(this, &FramedWindow::closeMarkPressed, this, &QWidget::close);
}

void NoticeWindow::closeEvent(QCloseEvent* event) {
    FramedWindow::closeEvent(event);
    if (event->isAccepted()) reportGone();
}

void NoticeWindow::reportGone() {
    if (reported_) return;
    reported_ = true;
    emit gone();
}

} // namespace pb::ui
