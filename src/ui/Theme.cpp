#include "ui/Theme.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

#include <algorithm>

namespace pb::ui {

void applyBuiltInSkin(int hue, int saturation) {
    hue = std::clamp(hue, -180, 180);
    saturation = std::clamp(saturation, -100, 100);
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app) return;

    // A teal accent; the hue turns it round the colour wheel, the saturation
    // mutes or deepens it.
    QColor accent = QColor::fromHsv((187 + hue + 360) % 360,
                                    std::clamp(170 + saturation * 85 / 100, 0, 255), 150);
    QColor strip = accent.darker(115);

    app->setStyle(QStyleFactory::create("Fusion"));
    QFont font({"Noto Sans CJK SC", "Noto Sans CJK", "WenQuanYi Micro Hei", "Microsoft YaHei"}, 9);
    app->setFont(font);
    QPalette palette = app->style()->standardPalette();
    palette.setColor(QPalette::Window, QColor(0xF4, 0xF7, 0xF8));
    palette.setColor(QPalette::Highlight, accent);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    app->setPalette(palette);

    app->setStyleSheet(QStringLiteral(R"(
        QFrame#外形框1 { background: #F4F7F8; border: 1px solid %1; }
        QFrame#外形框2 { background: %2; }
        QLabel#窗口标题 { color: white; font-size: 10pt; font-weight: bold; }
        QLabel[frameMark="true"] { color: white; font-size: 12pt; font-weight: bold; }
        QLabel[frameMark="true"]:hover { color: #FFD6D6; }
        QPushButton { background: white; border: 1px solid #B9C7CC; border-radius: 3px; padding: 1px 6px; }
        QPushButton:hover { border-color: %1; }
        QPushButton:pressed { background: #E3EEF1; }
        QPushButton:disabled { color: #9AA5A9; background: #EEF1F2; }
        QPushButton[nav="true"] { background: transparent; color: white; border: none;
                                  font-family: "黑体", "Noto Sans CJK SC"; font-size: 12px; }
        QPushButton[nav="true"]:hover { background: rgba(255,255,255,40); border-radius: 4px; }
        QTabWidget::pane { border: none; }
        QTreeWidget { background: white; border: 1px solid #C9D4D8; }
        QHeaderView::section { background: #E7EEF0; border: none; border-right: 1px solid #D3DDE0;
                               padding: 2px 4px; }
        QLineEdit, QPlainTextEdit, QComboBox, QDateEdit { background: white; border: 1px solid #B9C7CC;
                                                          border-radius: 2px; }
        QLabel[link="true"] { color: %1; text-decoration: underline; }
        QStatusBar { background: #E7EEF0; }
        QStatusBar QLabel { padding: 0 8px; }
    )")
                           .arg(accent.name(), strip.name()));
}

} // namespace pb::ui
