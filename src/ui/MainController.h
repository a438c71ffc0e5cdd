// MainWindow's behaviour: the background work started when it opens (fee
// load, account refresh, log drain, worker pool), the close question, and
// the title strip's navigation.
#pragma once

#include "app/PeriodicTask.h"

#include <QObject>

#include <string>
#include <thread>

namespace pb::ui {

class AppShell;
class MainWindow;

class MainController : public QObject {
    Q_OBJECT
public:
    // Becomes a child of the window.
    MainController(AppShell& shell, MainWindow* window);
    ~MainController() override;

    void onMainWindowCreated();
    void stopBackgroundWork();

    void onCloseRequested();
    void navigate(int index);

    // The log box's text as the drain keeps it (lines end in CR LF).
    const std::string& logBoxText() const { return logText_; }
    // One drain pass on the calling thread (the drain task runs the same).
    void drainLogOnce();

private:
    void applyLogBlock(const std::string& block);
    void refreshAccountOnce();

    AppShell& shell_;
    MainWindow* window_;
    std::string logText_;
    PeriodicTask drain_;
    PeriodicTask refresh_;
    std::thread feeThread_;
};

} // namespace pb::ui
