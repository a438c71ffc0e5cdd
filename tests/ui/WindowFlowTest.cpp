#include "ui/ShellFixture.h"

#include "app/Gbk.h"
#include "ui/MainWindow.h"
#include "ui/ShellWindows.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QLineEdit>

using namespace pb;
using namespace pb::test;
using pb::sim::Fault;
using pb::sim::FaultKind;

using WindowFlow = ShellFixture;

TEST_F(WindowFlow, StartShowsLoginWithTheRoutesAndNothingElse) {
    start();
    ui::LoginWindow* login = shell->loginWindow();
    ASSERT_NE(login, nullptr);
    EXPECT_TRUE(login->isVisible());
    EXPECT_EQ(login->windowTitle(), "星梭卡商端");
    EXPECT_EQ(login->size(), QSize(310, 240));
    ASSERT_EQ(login->routeBox->count(), 3);
    EXPECT_EQ(login->routeBox->itemText(1), "备用线路一");
    EXPECT_EQ(shell->mainWindow(), nullptr);
    // Without a choice the default server is the base URL, whatever row 0 said.
    EXPECT_EQ(shell->session().baseUrl, sim.baseUrl());
    EXPECT_EQ(shell->session().machineToken.size(), 32u);
    EXPECT_EQ(sim.requestsFor("check").size(), 1u);
}

TEST_F(WindowFlow, ChoosingARouteSendsTheLoginThere) {
    start();
    ui::LoginWindow* login = shell->loginWindow();
    login->routeBox->setCurrentIndex(1);
    emit login->routeBox->activated(1);
    logInAsDemo();
    ASSERT_EQ(sim.requestsFor("login").size(), 1u);
    EXPECT_EQ(sim.requestsFor("login")[0].path, "/line2/login");
}

TEST_F(WindowFlow, AgreementRoundTripRunsTheLoginCreationAgain) {
    start();
    const std::string firstToken = shell->session().machineToken;
    sim.state().setRoutes({{"新线路", ""}, {"新线路二", "other/"}});
    emit shell->loginWindow()->agreementLink->pressed();
    settle();
    ASSERT_NE(shell->agreementWindow(), nullptr);
    EXPECT_EQ(shell->loginWindow(), nullptr);
    EXPECT_EQ(shell->agreementWindow()->agreementText->toPlainText().count('\n'), 5);
    EXPECT_EQ(shell->agreementWindow()->acceptButton->text(), "我已阅读并同意此协议");

    shell->agreementWindow()->acceptButton->click();
    settle();
    EXPECT_EQ(shell->agreementWindow(), nullptr);
    ASSERT_NE(shell->loginWindow(), nullptr);
    EXPECT_EQ(sim.requestsFor("clientRoute").size(), 2u);
    EXPECT_NE(shell->session().machineToken, firstToken);
    ASSERT_EQ(shell->loginWindow()->routeBox->count(), 2);
    emit shell->loginWindow()->routeBox->activated(1);
    EXPECT_EQ(shell->session().baseUrl, sim.baseUrl() + "other/");
}

TEST_F(WindowFlow, ClosingLoginOrAgreementOpensNothingElse) {
    start();
    emit shell->loginWindow()->closeMark()->pressed();
    settle();
    EXPECT_EQ(shell->loginWindow(), nullptr);
    EXPECT_EQ(shell->noticeWindow(), nullptr);
    EXPECT_EQ(shell->mainWindow(), nullptr);
}

TEST_F(WindowFlow, NoRouteListEndsTheProgramWithTheFallbackMessage) {
    sim.setFault("clientRoute", Fault{FaultKind::NotJson});
    start();
    ASSERT_TRUE(ui::MessageBox::last());
    EXPECT_EQ(ui::MessageBox::last()->text, "抱歉，暂时连接不上服务器");
    EXPECT_EQ(ui::MessageBox::last()->title, "Error");
    EXPECT_EQ(ui::MessageBox::last()->icon, ui::BoxIcon::Warning);
    EXPECT_TRUE(shell->exited());
    EXPECT_EQ(exitCodes, std::vector<int>{0});
    EXPECT_EQ(shell->loginWindow(), nullptr);
}

TEST_F(WindowFlow, NoticeShowsItsLineBreaksAndClosingItOpensMainOnce) {
    sim.state().setNotice("第一行\r\n第二行");
    start();
    logInAsDemo();
    EXPECT_EQ(shell->loginWindow(), nullptr);
    ui::NoticeWindow* notice = shell->noticeWindow();
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->noticeText->toPlainText(), "第一行\n第二行");
    EXPECT_EQ(shell->session().noticeText, "第一行\r\n第二行");
    EXPECT_EQ(shell->mainWindow(), nullptr);
    emit notice->closeMark()->pressed();
    settle();
    EXPECT_EQ(shell->noticeWindow(), nullptr);
    ASSERT_NE(shell->mainWindow(), nullptr);
    EXPECT_EQ(shell->mainWindowsOpened(), 1);
}

TEST_F(WindowFlow, NoticeDeletedWithoutClosingStillOpensMainOnce) {
    start();
    logInAsDemo();
    delete shell->noticeWindow();
    settle();
    ASSERT_NE(shell->mainWindow(), nullptr);
    EXPECT_EQ(shell->mainWindowsOpened(), 1);
}

TEST_F(WindowFlow, NewerVersionIsDownloadedBesideTheProgramAndTheProgramEnds) {
    sim.state().setUpdate({"2.0", "client", "download/update.bin", "NEW-BUILD"});
    start();
    EXPECT_EQ(ui::MessageBox::shown().at(0).text, "检测到新版本，点击确定更新");
    EXPECT_EQ(ui::MessageBox::shown().at(0).title, "信息：");
    QFile file(runDir.filePath("clientv2.0"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "NEW-BUILD");
    EXPECT_EQ(cleanedUp, std::vector<std::string>{options().updateSite.executablePath});
    EXPECT_TRUE(shell->exited());
}

TEST_F(WindowFlow, FailedDownloadKeepsTheRunningProgram) {
    sim.state().setUpdate({"1.5", "client", "download/update.bin", "x"});
    sim.setFault("update.bin", Fault{FaultKind::Http500});
    start();
    EXPECT_TRUE(QDir(runDir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(cleanedUp.empty());
    EXPECT_TRUE(shell->exited());
}

TEST_F(WindowFlow, UpdateNamesThatLeaveTheRunDirectoryAreRefused) {
    sim.state().setUpdate({"2", "../../evil", "download/update.bin", "x"});
    start();
    EXPECT_FALSE(shell->exited());
    EXPECT_TRUE(ui::MessageBox::shown().empty());
    EXPECT_TRUE(sim.requestsFor("update.bin").empty());
    ASSERT_NE(shell->loginWindow(), nullptr);
    EXPECT_TRUE(shell->loginWindow()->isVisible());
}
