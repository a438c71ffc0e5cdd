#include "ui/MainWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>

#include <vector>

namespace pb::ui {

namespace {

struct Column {
    const char* caption;
    int width;
};

QCheckBox* placeCheck(QWidget* parent, const char* name, const QString& text, int x, int y, int w) {
    auto* box = placeWidget<QCheckBox>(parent, name, x, y, w, 20);
    box->setText(text);
    return box;
}

// A report-style list view with its columns; a width of 0 hides the column.
QTreeWidget* placeList(QWidget* parent, const char* name, const std::vector<Column>& columns,
                       int x, int y, int w, int h) {
    auto* list = placeWidget<QTreeWidget>(parent, name, x, y, w, h);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAlternatingRowColors(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    QStringList captions;
    for (const Column& c : columns) captions << QString::fromUtf8(c.caption);
    list->setHeaderLabels(captions);
    list->header()->setStretchLastSection(false);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        list->setColumnWidth(i, columns[i].width);
        if (columns[i].width == 0) list->setColumnHidden(i, true);
    }
    return list;
}

QWidget* addPage(QTabWidget* tabs, const QString& caption) {
    auto* page = new QWidget;
    tabs->addTab(page, caption);
    return page;
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : FramedWindow(QStringLiteral("青禾卡商端"), 810, 520, 65, parent) {
    setPicture(10, 5, 55);
    findChild<QLabel*>("窗口标题")->hide(); // the strip carries the navigation instead
    closeMark()->setGeometry(784, 5, 24, 16);
    minimiseMark = new ClickableLabel(QStringLiteral("—"), this);
    minimiseMark->setObjectName("透明标签1");
    minimiseMark->setAlignment(Qt::AlignCenter);
    minimiseMark->setGeometry(760, 5, 20, 20);
    minimiseMark->setCursor(Qt::PointingHandCursor);
    minimiseMark->setProperty("frameMark", true);
    connect(minimiseMark, &ClickableLabel::pressed, this, &QWidget::showMinimized);
    connect(this, &FramedWindow::closeMarkPressed, this, &MainWindow::closeRequested);

    struct Nav {
        const char* name;
        const char* caption;
        int x;
        int index;
    };
    static constexpr Nav kNav[] = {
        {"超级按钮1", "上传号码", 90, 0},  {"超级按钮2", "项目列表", 160, 1},
        {"超级按钮3", "对接管理", 230, 2}, {"超级按钮8", "对接请求", 300, 7},
        {"超级按钮9", "热门项目", 370, 8}, {"超级按钮4", "财务统计", 440, 3},
        {"超级按钮5", "申请提现", 510, 4}, {"超级按钮6", "安全中心", 580, 5},
        {"超级按钮7", "在线客服", 650, 6},
    };
    for (size_t i = 0; i < navButtons.size(); ++i) {
        navButtons[i] = placeButton(this, kNav[i].name, QString::fromUtf8(kNav[i].caption),
                                    kNav[i].x, 25, 60, 30);
        navButtons[i]->setProperty("nav", true);
        navButtons[i]->setProperty("navIndex", kNav[i].index);
    }

    // The tab bar lies under the title strip (the pages are reached through
    // the strip's buttons), so the pages keep their full 450 pixels.
    tabs = placeWidget<QTabWidget>(this, "总选择夹", 0, 50, 810, 450);
    tabs->tabBar()->hide();
    titleStrip()->raise();
    picture()->raise();
    for (QPushButton* b : navButtons) b->raise();
    closeMark()->raise();
    minimiseMark->raise();

    QWidget* page = addPage(tabs, QStringLiteral("服务管理"));
    service.numberList = placeList(page, "号码列表框",
                                   {{"序号", 50}, {"COM", 80}, {"手机号", 100}, {"归属地", 120},
                                    {"工作状态", 100}},
                                   5, 20, 470, 390);
    service.logBox = placeWidget<QPlainTextEdit>(page, "日志框", 480, 20, 325, 390);
    service.logBox->setReadOnly(true);
    service.startButton = placeButton(page, "开始工作按钮", QStringLiteral("启动服务"), 10, 420);
    service.stopButton = placeButton(page, "停止工作按钮", QStringLiteral("结束服务"), 111, 420);
    service.trackChanges = placeCheck(page, "选择框2", QStringLiteral("换卡跟踪变更"), 210, 420, 120);

    page = addPage(tabs, QStringLiteral("项目管理"));
    projects.projectList = placeList(page, "项目列表框",
                                     {{"项目ID", 100}, {"名称", 200}, {"用户价", 100},
                                      {"卡商价", 100}, {"项目类型", 100}, {"标识", 0}},
                                     5, 20, 800, 390);
    projects.keywordEdit = placeWidget<QLineEdit>(page, "关键字框", 10, 420, 100, 20);
    projects.searchButton = placeButton(page, "搜索按钮", QStringLiteral("搜索"), 120, 420);
    projects.refreshButton = placeButton(page, "刷新项目按钮", QStringLiteral("刷新"), 220, 420);
    projects.newProjects = placeCheck(page, "新项目框", QStringLiteral("加入新创建的项目"), 320, 420, 150);
    projects.selectAll = placeCheck(page, "新项目框1", QStringLiteral("选择所有项目"), 570, 420, 120);
    projects.saveButton = placeButton(page, "确定设置按钮", QStringLiteral("确定设置"), 700, 420);

    page = addPage(tabs, QStringLiteral("对接管理"));
    docking.codeList = placeList(page, "专属对接列表框",
                                 {{"序号", 50}, {"对接码", 100}, {"项目名称", 140}, {"用户价", 50},
                                  {"卡商价", 50}, {"在线/可用", 120}, {"接入人数", 80}, {"类型", 50},
                                  {"方式", 50}, {"状态", 50}},
                                 5, 20, 800, 390);
    docking.createButton = placeButton(page, "创建对接按钮", QStringLiteral("创建对接"), 10, 420);
    docking.removeButton = placeButton(page, "删除专属对接", QStringLiteral("删除专属对接"), 110, 420);
    docking.refreshButton = placeButton(page, "刷新专属按钮", QStringLiteral("刷新"), 210, 420);

    page = addPage(tabs, QStringLiteral("收入统计"));
    income.incomeList = placeList(page, "已做项目列表框",
                                  {{"序号", 50}, {"项目ID", 80}, {"项目名称", 200}, {"手机号", 120},
                                   {"收入", 80}, {"时间", 200}},
                                  5, 20, 800, 390);
    placeLabel(page, "透明标签4", QStringLiteral("开始时间："), 10, 420, 60, 20);
    income.startDate = placeWidget<QDateEdit>(page, "日期框1", 72, 420, 110, 20);
    placeLabel(page, "透明标签5", QStringLiteral("结束时间："), 195, 420, 60, 20);
    income.endDate = placeWidget<QDateEdit>(page, "日期框2", 257, 420, 110, 20);
    for (QDateEdit* d : {income.startDate, income.endDate}) {
        d->setCalendarPopup(true);
        d->setDate(QDate::currentDate());
    }
    income.searchButton = placeButton(page, "按钮1", QStringLiteral("搜索"), 380, 420);
    income.totalLabel = placeLabel(page, "透明标签3", QStringLiteral("总收入：0"), 490, 420, 200, 20);

    page = addPage(tabs, QStringLiteral("提现统计"));
    withdrawList = placeList(page, "提现日志列表框1",
                             {{"序号", 50}, {"姓名", 100}, {"支付宝账号", 180}, {"提现金额", 80},
                              {"提现申请时间", 150}, {"处理结果", 80}, {"备注", 150}},
                             5, 20, 800, 420);

    page = addPage(tabs, QStringLiteral("对接请求"));
    requests.list = placeList(page, "对接请求列表框",
                              {{"序号", 50}, {"项目ID", 100}, {"项目名称", 200}, {"请求数", 60},
                               {"建议价格", 100}, {"请求时间", 150}, {"对接创建", 100}},
                              5, 20, 800, 390);
    requests.createButton = placeButton(page, "创建对接按钮1", QStringLiteral("创建对接"), 10, 420);
    requests.refreshButton = placeButton(page, "刷新专属按钮1", QStringLiteral("刷新"), 108, 420);

    page = addPage(tabs, QStringLiteral("热门项目"));
    hotProjects.list = placeList(page, "热门项目列表框",
                                 {{"序号", 50}, {"项目ID", 100}, {"项目名称", 200}, {"热度占比", 100},
                                  {"对接创建", 100}, {"项目选中", 100}},
                                 5, 20, 800, 390);
    hotProjects.createButton = placeButton(page, "创建对接按钮2", QStringLiteral("创建对接"), 10, 420);
    hotProjects.refreshButton = placeButton(page, "刷新专属按钮2", QStringLiteral("刷新"), 108, 420);

    scratchBox = placeWidget<QPlainTextEdit>(this, "编辑框1", 632, 10, 64, 54);
    scratchBox->hide();
    waitBar = placeWidget<QProgressBar>(this, "等待框", 305, 250, 200, 20);
    waitBar->setRange(0, 0);
    waitBar->hide();

    statusBar = placeWidget<QStatusBar>(this, "状态条", 0, 500, 810, 20);
    statusBar->setSizeGripEnabled(false);
    static constexpr const char* kFirstTexts[kPaneCount] = {
        "账号：886", "状态：等待启动服务", "本机上卡：0", "全部上卡：0", "余额：0"};
    static constexpr int kStretch[kPaneCount] = {2, 3, 2, 2, 2};
    for (int i = 0; i < kPaneCount; ++i) {
        panes[i] = new QLabel(QString::fromUtf8(kFirstTexts[i]), statusBar);
        panes[i]->setObjectName(QStringLiteral("状态条%1").arg(i));
        statusBar->addWidget(panes[i], kStretch[i]);
    }

    withdrawMenu = new QMenu(this);
    withdrawMenu->setObjectName("提现管理");
    withdrawMenu->addAction(QStringLiteral("提现"));
    withdrawMenu->addAction(QStringLiteral("提现记录"));
    securityMenu = new QMenu(this);
    securityMenu->setObjectName("安全中心");
    securityMenu->addAction(QStringLiteral("修改密码"));
    securityMenu->addAction(QStringLiteral("修改密保"));
}

QString MainWindow::paneText(int pane) const {
    return pane >= 0 && pane < kPaneCount ? panes[pane]->text() : QString();
}

void MainWindow::setPaneText(int pane, const QString& text) {
    if (pane >= 0 && pane < kPaneCount) panes[pane]->setText(text);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closing_) {
        FramedWindow::closeEvent(event);
        return;
    }
    // Closing is the controller's decision (it asks, and refuses while the service runs).
    event->ignore();
    emit closeRequested();
}

} // namespace pb::ui
