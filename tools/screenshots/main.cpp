// Takes a picture of each of the seven windows, filled from the simulator's
// demo data, for the documentation. Run it under a real display (Xvfb will
// do): screenshots OUTPUT_DIR
#include "PlatformSim.h"
#include "app/Deployment.h"
#include "ui/AppShell.h"
#include "ui/Dialogs.h"
#include "ui/MainController.h"
#include "ui/MainWindow.h"
#include "ui/MessageBox.h"
#include "ui/ShellWindows.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <cstdio>

namespace {

void settle(int ms = 300) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

bool save(QWidget* window, const QDir& dir, const char* name) {
    window->show();
    window->raise();
    settle();
    const QString path = dir.filePath(QString(name) + ".png");
    const bool ok = window->grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QDir out(argc > 1 ? argv[1] : "docs/screenshots");
    QDir().mkpath(out.path());

    QTemporaryDir config;
    qputenv("POOLBRIDGE_CONFIG_DIR", config.path().toUtf8());
    pb::sim::PlatformSim sim;
    if (!sim.start()) return 1;
    pb::setDefaultServerAddress(sim.baseUrl());
    pb::ui::MessageBox::setScripted(true);

    pb::ui::ShellOptions options;
    options.exitHandler = [](int) {};
    options.urlOpener = [](const std::string&) {};
    pb::ui::AppShell shell(options);
    shell.startUp();
    bool ok = true;

    pb::ui::LoginWindow* login = shell.loginWindow();
    login->accountEdit->setText("demo");
    login->passwordEdit->setText("demo123");
    ok &= save(login, out, "login");

    shell.openAgreement();
    ok &= save(shell.agreementWindow(), out, "agreement");
    shell.agreementWindow()->acceptButton->click();
    settle();

    login = shell.loginWindow();
    login->accountEdit->setText("demo");
    login->passwordEdit->setText("demo123");
    login->loginButton->click();
    settle();
    ok &= save(shell.noticeWindow(), out, "notice");
    shell.noticeWindow()->close();
    settle(1200); // the first drain and the first account refresh

    pb::ui::MainWindow* main = shell.mainWindow();
    // A few rows as the number worker shows them, so the page reads as in use.
    const char* rows[][5] = {{"1", "COM3", "13800138000", "移动-广东-广州", "上线成功"},
                             {"2", "COM4", "13000000001", "联通-北京-北京", "上线成功"},
                             {"3", "COM5", "", "", ""}};
    for (const auto& row : rows) {
        auto* item = new QTreeWidgetItem(main->service.numberList);
        for (int c = 0; c < 5; ++c) item->setText(c, QString::fromUtf8(row[c]));
    }
    main->move(100, 80);
    ok &= save(main, out, "main");
    ok &= save(new pb::ui::CreateDockingDialog(main), out, "create-docking");
    ok &= save(new pb::ui::ChangePasswordDialog(main), out, "change-password");
    ok &= save(new pb::ui::ChangeSecurityDialog(main), out, "change-security");
    return ok ? 0 : 1;
}
