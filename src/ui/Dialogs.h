// The three dialogs opened from the main window. Each centres itself over
// the main window when it is created.
#pragma once

#include "ui/FramedWindow.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace pb::ui {

class CreateDockingDialog : public FramedWindow {
    Q_OBJECT
public:
    explicit CreateDockingDialog(QWidget* mainWindow);

    QComboBox* projectBox;        // 项目选择框
    QLineEdit* searchEdit;        // 项目搜索框
    QPushButton* searchButton;    // 搜索按钮1
    QLineEdit* priceEdit;         // 卡商价框
    QCheckBox* publicBox;         // 选择框1
    QPlainTextEdit* messageEdit;  // 项目留言框
    QPushButton* confirmButton;   // 确认添加按钮
    QPushButton* cancelButton;    // 确认添加按钮1
};

class ChangePasswordDialog : public FramedWindow {
    Q_OBJECT
public:
    explicit ChangePasswordDialog(QWidget* mainWindow);

    QLineEdit* oldPassword;     // 编辑框1
    QLineEdit* newPassword;     // 编辑框2
    QLineEdit* confirmPassword; // 编辑框3
    QPushButton* confirmButton; // 按钮1
    QPushButton* cancelButton;  // 按钮2
};

// The security questions, identified on the wire by their position from 0.
QStringList securityQuestions();

class ChangeSecurityDialog : public FramedWindow {
    Q_OBJECT
public:
    explicit ChangeSecurityDialog(QWidget* mainWindow);

    QComboBox* oldQuestion;     // 组合框1
    QLineEdit* oldAnswer;       // 编辑框1
    QComboBox* newQuestion;     // 组合框2
    QLineEdit* newAnswer;       // 编辑框2
    QPushButton* confirmButton; // 按钮1
    QPushButton* cancelButton;  // 按钮2
};

} // namespace pb::ui
