#include "ui/Dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace pb::ui {

namespace {
void makeDialog(FramedWindow* dialog, QWidget* mainWindow) {
    dialog->setWindowFlag(Qt::Dialog, true);
    dialog->setWindowModality(Qt::ApplicationModal);
    QObject::connect(dialog, &FramedWindow::closeMarkPressed, dialog, &QWidget::close);
    centerOnMainWindow(dialog, mainWindow);
}
} // namespace

CreateDockingDialog::CreateDockingDialog(QWidget* mainWindow)
    : FramedWindow(QStringLiteral("创建对接"), 470, 210, 35, mainWindow) {
    placeLabel(this, "透明标签3", QStringLiteral("项目名称："), 10, 50, 60, 20);
    projectBox = placeWidget<QComboBox>(this, "项目选择框", 80, 50, 180, 20);
    projectBox->setEditable(true);
    projectBox->lineEdit()->setPlaceholderText(QStringLiteral("请搜索项目关键字或者ID"));
    projectBox->setEditText(QStringLiteral("请搜索项目关键字或者ID"));
    searchEdit = placeWidget<QLineEdit>(this, "项目搜索框", 270, 50, 80, 20);
    searchButton = placeButton(this, "搜索按钮1", QStringLiteral("搜索"), 360, 50);
    placeLabel(this, "透明标签4", QStringLiteral("卡商实收："), 10, 80, 60, 20);
    priceEdit = placeWidget<QLineEdit>(this, "卡商价框", 80, 80, 80, 20);
    publicBox = placeWidget<QCheckBox>(this, "选择框1", 170, 80, 120, 20);
    publicBox->setText(QStringLiteral("设置为公开对接"));
    placeLabel(this, "透明标签6", QStringLiteral("对接留言："), 10, 108, 60, 20);
    messageEdit = placeWidget<QPlainTextEdit>(this, "项目留言框", 80, 110, 370, 60);
    confirmButton = placeButton(this, "确认添加按钮", QStringLiteral("确认创建"), 250, 180);
    cancelButton = placeButton(this, "确认添加按钮1", QStringLiteral("取消"), 360, 180);
    connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);
    makeDialog(this, mainWindow);
}

ChangePasswordDialog::ChangePasswordDialog(QWidget* mainWindow)
    : FramedWindow(QStringLiteral("修改密码"), 300, 170, 35, mainWindow) {
    placeLabel(this, "透明标签1", QStringLiteral("旧密码："), 10, 50, 60, 20);
    oldPassword = placeWidget<QLineEdit>(this, "编辑框1", 80, 50, 200, 20);
    placeLabel(this, "透明标签2", QStringLiteral("新密码："), 10, 80, 60, 20);
    newPassword = placeWidget<QLineEdit>(this, "编辑框2", 80, 80, 200, 20);
    newPassword->setEchoMode(QLineEdit::Password);
    placeLabel(this, "透明标签3", QStringLiteral("确认密码："), 10, 110, 60, 20);
    confirmPassword = placeWidget<QLineEdit>(this, "编辑框3", 80, 110, 200, 20);
    confirmPassword->setEchoMode(QLineEdit::Password);
    confirmButton = placeButton(this, "按钮1", QStringLiteral("确认修改"), 80, 140);
    cancelButton = placeButton(this, "按钮2", QStringLiteral("取消"), 190, 140);
    connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);
    makeDialog(this, mainWindow);
}

QStringList securityQuestions() {
    return {QStringLiteral("你爸爸的名字叫什么？"), QStringLiteral("你妈妈的名字叫什么？"),
            QStringLiteral("你配偶的名字叫什么？"), QStringLiteral("你初恋的名字叫什么？"),
            QStringLiteral("你的出生地在哪里？")};
}

ChangeSecurityDialog::ChangeSecurityDialog(QWidget* mainWindow)
    : FramedWindow(QStringLiteral("修改密保"), 300, 200, 35, mainWindow) {
    placeLabel(this, "透明标签2", QStringLiteral("旧密保："), 10, 50, 60, 20);
    oldQuestion = placeWidget<QComboBox>(this, "组合框1", 80, 50, 200, 20);
    placeLabel(this, "透明标签1", QStringLiteral("旧答案："), 10, 80, 60, 20);
    oldAnswer = placeWidget<QLineEdit>(this, "编辑框1", 80, 80, 200, 20);
    placeLabel(this, "透明标签3", QStringLiteral("新密保："), 10, 110, 60, 20);
    newQuestion = placeWidget<QComboBox>(this, "组合框2", 80, 110, 200, 20);
    placeLabel(this, "透明标签4", QStringLiteral("新答案："), 10, 140, 60, 20);
    newAnswer = placeWidget<QLineEdit>(this, "编辑框2", 80, 140, 200, 20);
    for (QComboBox* box : {oldQuestion, newQuestion}) {
        box->addItems(securityQuestions());
        box->setCurrentIndex(0);
    }
    confirmButton = placeButton(this, "按钮1", QStringLiteral("确认修改"), 80, 170);
    cancelButton = placeButton(this, "按钮2", QStringLiteral("取消"), 190, 170);
    connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);
    makeDialog(this, mainWindow);
}

} // namespace pb::ui
