// MainWindow: the merchant's workplace. The title strip carries the nine
// navigation buttons; the tab control 总选择夹 holds the seven pages, whose
// tab bar stays hidden under the strip; the status bar has five panes.
#pragma once

#include "ui/FramedWindow.h"

#include <array>

class QCheckBox;
class QDateEdit;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTreeWidget;

namespace pb::ui {

struct ServicePage {
    QTreeWidget* numberList; // 号码列表框
    QPlainTextEdit* logBox;  // 日志框
    QPushButton* startButton; // 开始工作按钮
    QPushButton* stopButton;  // 停止工作按钮
    QCheckBox* trackChanges;  // 选择框2
};

struct ProjectPage {
    QTreeWidget* projectList;   // 项目列表框
    QLineEdit* keywordEdit;     // 关键字框
    QPushButton* searchButton;  // 搜索按钮
    QPushButton* refreshButton; // 刷新项目按钮
    QCheckBox* newProjects;     // 新项目框
    QCheckBox* selectAll;       // 新项目框1
    QPushButton* saveButton;    // 确定设置按钮
};

struct DockingPage {
    QTreeWidget* codeList;      // 专属对接列表框
    QPushButton* createButton;  // 创建对接按钮
    QPushButton* removeButton;  // 删除专属对接
    QPushButton* refreshButton; // 刷新专属按钮
};

struct IncomePage {
    QDateEdit* startDate;      // 日期框1
    QDateEdit* endDate;        // 日期框2
    QPushButton* searchButton; // 按钮1
    QTreeWidget* incomeList;   // 已做项目列表框
    QLabel* totalLabel;        // 透明标签3
};

struct ListPage {
    QTreeWidget* list;
    QPushButton* createButton;
    QPushButton* refreshButton;
};

class MainWindow : public FramedWindow {
    Q_OBJECT
public:
    static constexpr int kPaneCount = 5;

    explicit MainWindow(QWidget* parent = nullptr);

    QTabWidget* tabs; // 总选择夹
    std::array<QPushButton*, 9> navButtons{}; // 超级按钮1..9, in strip order
    ClickableLabel* minimiseMark;              // 透明标签1
    QStatusBar* statusBar;                     // 状态条
    std::array<QLabel*, kPaneCount> panes{};
    QPlainTextEdit* scratchBox; // 编辑框1, hidden
    QProgressBar* waitBar;      // 等待框
    QMenu* withdrawMenu;        // 提现管理
    QMenu* securityMenu;        // 安全中心

    ServicePage service;
    ProjectPage projects;
    DockingPage docking;
    IncomePage income;
    QTreeWidget* withdrawList; // 提现日志列表框1
    ListPage requests;         // 对接请求列表框, 创建对接按钮1, 刷新专属按钮1
    ListPage hotProjects;      // 热门项目列表框, 创建对接按钮2, 刷新专属按钮2

    QString paneText(int pane) const;
    void setPaneText(int pane, const QString& text);

signals:
    // The window's own close requests ("×" or the system's) go to the controller.
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    friend class MainController;
    bool closing_ = false; // set by the controller when closing is allowed
};

} // namespace pb::ui
