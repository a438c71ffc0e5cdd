// The windows before the main window: login, user agreement and notice.
// Views only: their behaviour lives in the controllers and the window flow.
#pragma once

#include "ui/FramedWindow.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace pb::ui {

class LoginWindow : public FramedWindow {
    Q_OBJECT
public:
    explicit LoginWindow(QWidget* parent = nullptr);

    QComboBox* routeBox;           // 组合框1
    QLineEdit* accountEdit;        // 编辑框1
    QLineEdit* passwordEdit;       // 编辑框2
    QCheckBox* rememberBox;        // 选择框1
    ClickableLabel* registerLink;  // 透明标签4
    QCheckBox* agreeBox;           // 选择框2
    ClickableLabel* agreementLink; // 透明标签6
    QPushButton* loginButton;      // 登录按钮
};

inline const QString kAgreementText = QStringLiteral(
    "使用前，你应知晓任何人都可以接收平台的电话号码并查看短信内容。\r\n"
    "请不要用这些电话号码接收重要内容，他人可以用这些电话号码找回密码，注册时应注意个人信息！\r\n"
    "请不要将这些电话号码用于非法用途！由此造成的经济损失本平台概不负责！\r\n"
    "请不要将这些电话号码用于银行、证券、保险、支付、借贷等操作！\r\n"
    "平台的电话号码仅用于注册一些网站，防止被骚扰！\r\n"
    "在使用时即代表以上条款你已同意。");

class AgreementWindow : public FramedWindow {
    Q_OBJECT
public:
    explicit AgreementWindow(QWidget* parent = nullptr);

    QPlainTextEdit* agreementText; // 编辑框1
    QPushButton* acceptButton;     // 按钮1
};

class NoticeWindow : public FramedWindow {
    Q_OBJECT
public:
    explicit NoticeWindow(const QString& notice, QWidget* parent = nullptr);

    QPlainTextEdit* noticeText; // 编辑框1

signals:
    // Emitted once when the window closes ("×" or any other close); the
    // window flow also watches destruction, for a window deleted unclosed.
    void gone();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void reportGone();
    bool reported_ = false;
};

// Texts cross into widgets here: CR LF becomes the toolkit's line break.
QString displayText(const std::string& text);

} // namespace pb::ui
