#include "ui/MainController.h"

#include "bridge/AccountStatus.h"
#include "bridge/ServiceLog.h"
#include "ui/AppShell.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"
#include "ui/MessageBox.h"
#include "ui/ShellWindows.h"

#include <QAction>
#include <QCursor>
#include <QDateEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextCursor>

namespace pb::ui {

namespace {
constexpr int kWorkerThreads = 100;
}

MainController::MainController(AppShell& shell, MainWindow* window)
    : QObject(window), shell_(shell), window_(window) {
    connect(window, &MainWindow::closeRequested, this, &MainController::onCloseRequested);
    for (QPushButton* button : window->navButtons) {
        const int index = button->property("navIndex").toInt();
        connect(button, &QPushButton::clicked, this, [this, index] { navigate(index); });
    }
    const QList<QAction*> withdraw = window->withdrawMenu->actions();
    connect(withdraw.at(1), &QAction::triggered, this, [this] { window_->tabs->setCurrentIndex(4); });
    const QList<QAction*> security = window->securityMenu->actions();
    connect(security.at(0), &QAction::triggered, this,
            [this] { (new ChangePasswordDialog(window_))->show(); });
    connect(security.at(1), &QAction::triggered, this,
            [this] { (new ChangeSecurityDialog(window_))->show(); });
    connect(window->docking.createButton, &QPushButton::clicked, this,
            [this] { (new CreateDockingDialog(window_))->show(); });
}

MainController::~MainController() { stopBackgroundWork(); }

void MainController::onMainWindowCreated() {
    Session& session = shell_.session();
    session.serviceStopped = true;

    // The fee rates are handed to the UI thread, which is where the pages read them.
    feeThread_ = std::thread([this, &session] {
        const auto rates = loadFeeRates(session);
        QMetaObject::invokeMethod(this, [&session, rates] { session.feeRates = rates; },
                                  Qt::QueuedConnection);
    });
    refresh_.start(shell_.options().refreshInterval, [this] { refreshAccountOnce(); });
    drain_.start(shell_.options().drainInterval, [this] {
        const std::string block = logBlock(shell_.session().serviceLog.takePending());
        QMetaObject::invokeMethod(this, [this, block] { applyLogBlock(block); },
                                  Qt::QueuedConnection);
    });

    window_->income.startDate->setDisplayFormat("yyyy-MM-dd");
    window_->income.endDate->setDisplayFormat("yyyy-MM-dd");
    window_->service.stopButton->setEnabled(false);
    session.workerPool.start(kWorkerThreads);
    session.serviceLog.appendLog("星梭卡商端初始化成功，等待启动服务");
    session.serviceLog.appendLog(
        "新酷卡请点击[工具>SOCKET服务对接设置>勾选启用SOCKET服务、主动上报端口信息]");
}

void MainController::stopBackgroundWork() {
    drain_.stop();
    refresh_.stop();
    if (feeThread_.joinable()) feeThread_.join();
}

void MainController::refreshAccountOnce() {
    const auto panes = accountPanesFrom(requestUserInfo(shell_.session()));
    QMetaObject::invokeMethod(
        this,
        [this, panes] {
            if (panes) {
                window_->setPaneText(0, QString::fromStdString(panes->account));
                window_->setPaneText(2, QString::fromStdString(panes->thisOnline));
                window_->setPaneText(3, QString::fromStdString(panes->wholeOnline));
                window_->setPaneText(4, QString::fromStdString(panes->balance));
            }
        },
        Qt::QueuedConnection);
}

void MainController::drainLogOnce() {
    applyLogBlock(logBlock(shell_.session().serviceLog.takePending()));
}

void MainController::applyLogBlock(const std::string& block) {
    if (!block.empty()) {
        std::string next = logBoxAfterAppend(logText_, block);
        QPlainTextEdit* box = window_->service.logBox;
        if (next.size() == logText_.size() + block.size()) {
            // Nothing dropped: one append at the end.
            QTextCursor cursor(box->document());
            cursor.movePosition(QTextCursor::End);
            cursor.insertText(displayText(block));
        } else {
            box->setPlainText(displayText(next));
        }
        box->verticalScrollBar()->setValue(box->verticalScrollBar()->maximum());
        logText_ = std::move(next);
    }
}

void MainController::onCloseRequested() {
    if (MessageBox::show(window_, QStringLiteral("是否确认退出卡商端？"), QStringLiteral("提示"),
                         BoxIcon::Question, BoxButtons::YesNo) != BoxAnswer::Yes)
        return;
    if (shell_.session().serviceStopped) {
        shell_.exitProgram();
        return;
    }
    MessageBox::show(window_, QStringLiteral("请先结束服务后关闭"), kDefaultBoxTitle,
                     BoxIcon::Warning);
}

void MainController::navigate(int index) {
    switch (index) {
    case 0:
    case 1:
    case 2:
    case 3:
        window_->tabs->setCurrentIndex(index);
        break;
    case 4:
        window_->withdrawMenu->popup(QCursor::pos());
        break;
    case 5:
        window_->securityMenu->popup(QCursor::pos());
        break;
    case 6:
        shell_.openUrl(shell_.session().baseUrl + "service");
        break;
    case 7:
    case 8:
        window_->tabs->setCurrentIndex(index - 2);
        break;
    default:
        break;
    }
}

} // namespace pb::ui
