#include "ui/ShellFixture.h"

#include "app/Text.h"
#include "bridge/AccountStatus.h"
#include "bridge/ServiceLog.h"
#include "ui/Dialogs.h"
#include "ui/MainController.h"
#include "ui/MainWindow.h"
#include "ui/ShellWindows.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

using namespace pb;
using namespace pb::test;
using pb::sim::Fault;
using pb::sim::FaultKind;

namespace {

class Main : public ShellFixture {
protected:
    ui::MainWindow* openMain() {
        start();
        logInAsDemo();
        if (shell->noticeWindow()) shell->noticeWindow()->close();
        settle();
        return shell->mainWindow();
    }
};

std::string lines(int from, int count) {
    std::string text;
    for (int i = from; i < from + count; ++i) text += "line " + std::to_string(i) + "\r\n";
    return text;
}

} // namespace

TEST_F(Main, LayoutHasTheSevenPagesThePanesAndTheFrame) {
    ui::MainWindow* main = openMain();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->windowTitle(), "青禾卡商端");
    EXPECT_EQ(main->size(), QSize(810, 520));
    QStringList pages;
    for (int i = 0; i < main->tabs->count(); ++i) pages << main->tabs->tabText(i);
    EXPECT_EQ(pages, QStringList({"服务管理", "项目管理", "对接管理", "收入统计", "提现统计",
                                  "对接请求", "热门项目"}));
    EXPECT_EQ(main->service.numberList->headerItem()->text(4), "工作状态");
    EXPECT_EQ(main->service.numberList->columnWidth(2), 100);
    EXPECT_TRUE(main->projects.projectList->isColumnHidden(5));
    EXPECT_EQ(main->docking.codeList->columnCount(), 10);
    EXPECT_EQ(main->paneText(1), "状态：等待启动服务");
    EXPECT_FALSE(main->service.stopButton->isEnabled());
    EXPECT_TRUE(main->service.startButton->isEnabled());
    EXPECT_EQ(main->findChild<QWidget*>("外形框2")->height(), 65);
    EXPECT_EQ(main->closeMark()->geometry(), QRect(784, 5, 24, 16));
    EXPECT_TRUE(shell->session().serviceStopped);
    EXPECT_TRUE(shell->session().workerPool.started());
}

TEST_F(Main, FirstLogLinesAreStampedAndShownByTheDrain) {
    ui::MainWindow* main = openMain();
    ASSERT_TRUE(waitUntil([&] { return !shell->mainController()->logBoxText().empty(); }));
    const std::string text = shell->mainController()->logBoxText();
    auto parts = splitText(text, "\r\n");
    ASSERT_EQ(parts.size(), 2u) << text;
    EXPECT_EQ(parts[0].substr(0, 1), "[");
    EXPECT_EQ(parts[0].substr(10), " 星梭卡商端初始化成功，等待启动服务");
    EXPECT_EQ(parts[1].substr(11),
              "新酷卡请点击[工具>SOCKET服务对接设置>勾选启用SOCKET服务、主动上报端口信息]");
    EXPECT_TRUE(main->service.logBox->toPlainText().contains("星梭卡商端初始化成功"));
}

TEST_F(Main, LogLinesAreStampedOnTheTwentyFourHourClock) {
    ServiceLog log([] { return DateTime{2019, 3, 8, 21, 5, 7}; });
    log.appendLog("本机所有号码上线成功");
    EXPECT_EQ(log.takePending(), std::vector<std::string>{"[21:05:07] 本机所有号码上线成功"});
    EXPECT_TRUE(log.takePending().empty());
}

TEST_F(Main, LogBoxKeepsAtMostAThousandLines) {
    struct Case {
        int existing;
        int added;
        int firstKept;
    } cases[] = {{995, 10, 5}, {990, 10, 0}, {0, 1200, 200}};
    for (const auto& c : cases) {
        std::string box = lines(0, c.existing);
        std::string after = logBoxAfterAppend(box, lines(c.existing, c.added));
        EXPECT_EQ(countLogLines(after), std::min(1000, c.existing + c.added));
        EXPECT_EQ(after.substr(0, after.find("\r\n")), "line " + std::to_string(c.firstKept));
    }
    EXPECT_EQ(countLogLines(""), 0);
    EXPECT_EQ(countLogLines("a\nb"), 2);
}

TEST_F(Main, DrainShowsLinesFromSeveralThreadsTogetherInOrder) {
    ui::MainWindow* main = openMain();
    ASSERT_TRUE(waitUntil([&] { return !shell->mainController()->logBoxText().empty(); }));
    shell->mainController()->stopBackgroundWork();
    shell->mainController()->drainLogOnce();
    std::thread a([&] { shell->session().serviceLog.appendLog("from a"); });
    a.join();
    std::thread b([&] { shell->session().serviceLog.appendLog("from b"); });
    b.join();
    shell->mainController()->drainLogOnce();
    const std::string text = shell->mainController()->logBoxText();
    EXPECT_LT(text.find("from a"), text.find("from b"));
    EXPECT_EQ(countLogLines(text), 4);
    EXPECT_EQ(main->service.logBox->document()->blockCount(), 5); // 4 lines and the empty last block
}

TEST_F(Main, AccountPanesAreRefreshedOnTheirInterval) {
    sim.state().addAccount("demo", "demo123", 3);
    refreshMs = 150;
    ui::MainWindow* main = openMain();
    ASSERT_TRUE(waitUntil([&] { return sim.requestsFor("getUserInfo").size() >= 3; }));
    ASSERT_TRUE(waitUntil([&] { return main->paneText(4) == "余额：3.00元"; }));
    EXPECT_EQ(main->paneText(0), "账号：demo");
    EXPECT_EQ(main->paneText(2), "本机上卡：0");
    EXPECT_EQ(main->paneText(3), "全部上卡：0");
    auto seen = sim.requestsFor("getUserInfo")[0];
    EXPECT_EQ(seen.body, "token=" + shell->session().token + "&machineToken=" +
                             shell->session().machineToken);
}

TEST_F(Main, RefusedAccountInfoLeavesThePanesAsTheyWere) {
    sim.setFault("getUserInfo", Fault{.kind = FaultKind::Refuse, .status = "1"});
    refreshMs = 100;
    ui::MainWindow* main = openMain();
    ASSERT_TRUE(waitUntil([&] { return sim.requestsFor("getUserInfo").size() >= 2; }));
    settle();
    EXPECT_EQ(main->paneText(0), "账号：886");
    EXPECT_EQ(main->paneText(4), "余额：0");
}

TEST(AccountPanes, BalanceTextAndFeeRates) {
    EXPECT_EQ(balancePaneText("12.5"), "余额：12.50元");
    EXPECT_EQ(balancePaneText(""), "余额：0.00元");
    EXPECT_EQ(balancePaneText("abc"), "余额：0.00元");
    EXPECT_EQ(feeRatesFrom("<html>"), (std::array<float, 6>{}));
    auto rates = feeRatesFrom(R"({"openFee":{"valueO":0.1,"valueT":"0.2"},"dockFee":{"valueT":3}})");
    EXPECT_FLOAT_EQ(rates[0], 0.1f);
    EXPECT_FLOAT_EQ(rates[1], 0.2f);
    EXPECT_FLOAT_EQ(rates[2], 0.0f);
    EXPECT_FLOAT_EQ(rates[5], 3.0f);
}

TEST_F(Main, FeeRatesAreLoadedOnce) {
    openMain();
    ASSERT_TRUE(waitUntil([&] { return shell->session().feeRates[5] != 0.0f; }));
    EXPECT_FLOAT_EQ(shell->session().feeRates[0], 0.1f);
    EXPECT_FLOAT_EQ(shell->session().feeRates[5], 0.15f);
    EXPECT_EQ(sim.requestsFor("fee").size(), 1u);
    EXPECT_EQ(sim.requestsFor("fee")[0].body, "token=" + shell->session().token);
}

TEST_F(Main, CloseMarkAsksAndRefusesWhileTheServiceRuns) {
    ui::MainWindow* main = openMain();
    ui::MessageBox::clearShown();
    ui::MessageBox::setNextAnswer(ui::BoxAnswer::No);
    emit main->closeMark()->pressed();
    EXPECT_EQ(ui::MessageBox::last()->text, "是否确认退出卡商端？");
    EXPECT_EQ(ui::MessageBox::last()->title, "提示");
    EXPECT_EQ(ui::MessageBox::last()->buttons, ui::BoxButtons::YesNo);
    EXPECT_FALSE(shell->exited());

    shell->session().serviceStopped = false;
    ui::MessageBox::setNextAnswer(ui::BoxAnswer::Yes);
    main->close(); // the system's close goes the same way
    settle();
    EXPECT_EQ(ui::MessageBox::last()->text, "请先结束服务后关闭");
    EXPECT_EQ(ui::MessageBox::last()->icon, ui::BoxIcon::Warning);
    EXPECT_FALSE(shell->exited());
    ASSERT_NE(shell->mainWindow(), nullptr);

    shell->session().serviceStopped = true;
    ui::MessageBox::setNextAnswer(ui::BoxAnswer::Yes);
    emit main->closeMark()->pressed();
    EXPECT_TRUE(shell->exited());
    EXPECT_EQ(exitCodes, std::vector<int>{0});
}

TEST_F(Main, DialogsAreCentredOverTheMainWindowTruncatingTowardsZero) {
    ui::MainWindow* main = openMain();
    struct Case {
        QPoint mainAt;
        QPoint expected;
    } cases[] = {{{101, 50}, {356, 225}}, {{-101, 50}, {154, 225}}};
    for (const auto& c : cases) {
        main->move(c.mainAt);
        auto* dialog = new ui::ChangePasswordDialog(main);
        EXPECT_EQ(dialog->size(), QSize(300, 170));
        EXPECT_EQ(dialog->pos(), c.expected);
        delete dialog;
    }
    main->move(0, 0);
    auto* odd = new ui::ChangeSecurityDialog(main); // 300 x 200: 405 - 150, 260 - 100
    EXPECT_EQ(odd->pos(), QPoint(255, 160));
    delete odd;
    auto* docking = new ui::CreateDockingDialog(main); // 470 x 210
    EXPECT_EQ(docking->pos(), QPoint(170, 155));
    delete docking;
}

TEST_F(Main, NavigationShowsPagesAndTheServicePage) {
    ui::MainWindow* main = openMain();
    main->navButtons[4]->click(); // 热门项目
    EXPECT_EQ(main->tabs->currentIndex(), 6);
    main->navButtons[3]->click(); // 对接请求
    EXPECT_EQ(main->tabs->currentIndex(), 5);
    main->navButtons[1]->click();
    EXPECT_EQ(main->tabs->currentIndex(), 1);
    main->navButtons[8]->click();
    EXPECT_EQ(openedUrls.back(), shell->session().baseUrl + "service");
}
