#include "ui/FramedWindow.h"

#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QWindow>

#include <cmath>

namespace pb::ui {

namespace {

QPixmap framePicture(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(255, 255, 255, 230));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 2, size - 4, size - 4), size / 5.0, size / 5.0);
    p.setPen(QPen(QColor(0x1C, 0x7C, 0x8C), std::max(2, size / 12)));
    // A SIM card with a signal arc: the merchant's trade in one glyph.
    QRectF card(size * 0.28, size * 0.22, size * 0.44, size * 0.56);
    p.drawRoundedRect(card, size / 14.0, size / 14.0);
    p.drawArc(QRectF(size * 0.38, size * 0.36, size * 0.24, size * 0.24), 30 * 16, 120 * 16);
    return pixmap;
}

} // namespace

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit pressed();
    QLabel::mousePressEvent(event);
}

FramedWindow::FramedWindow(const QString& title, int width, int height, int stripHeight,
                           QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setWindowTitle(title);
    setFixedSize(width, height);
    setAttribute(Qt::WA_DeleteOnClose);

    shape_ = new QFrame(this);
    shape_->setObjectName("外形框1");
    shape_->setGeometry(0, 0, width, height);
    shape_->lower();

    strip_ = new QFrame(this);
    strip_->setObjectName("外形框2");
    strip_->setGeometry(0, 0, width + 5, stripHeight);
    strip_->installEventFilter(this);

    picture_ = new QLabel(this);
    picture_->setObjectName("图片框1");
    setPicture(5, 4, 30);
    picture_->installEventFilter(this);

    title_ = new QLabel(title, this);
    title_->setObjectName("窗口标题");
    title_->setGeometry(42, 4, std::max(60, width - 80), 28);
    title_->setAttribute(Qt::WA_TransparentForMouseEvents);

    closeMark_ = new ClickableLabel(QStringLiteral("×"), this);
    closeMark_->setObjectName("透明标签18");
    closeMark_->setAlignment(Qt::AlignCenter);
    closeMark_->setGeometry(width - 25, 5, 24, 16);
    closeMark_->setCursor(Qt::PointingHandCursor);
    closeMark_->setProperty("frameMark", true);
    connect(closeMark_, &ClickableLabel::pressed, this, &FramedWindow::closeMarkPressed);
}

void FramedWindow::setPicture(int x, int y, int size) {
    picture_->setGeometry(x, y, size, size);
    picture_->setPixmap(framePicture(size));
}

bool FramedWindow::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == strip_ || watched == picture_) && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        beginWindowDrag(this);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void beginWindowDrag(QWidget* window) {
    if (QWindow* handle = window->window()->windowHandle()) handle->startSystemMove();
}

void centerOnMainWindow(QWidget* window, const QWidget* mainWindow) {
    if (!mainWindow) return;
    const QRect main = mainWindow->geometry();
    double left = main.x() + main.width() / 2.0 - window->width() / 2.0;
    double top = main.y() + main.height() / 2.0 - window->height() / 2.0;
    window->move(static_cast<int>(std::trunc(left)), static_cast<int>(std::trunc(top)));
}

QLabel* placeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w,
                   int h) {
    auto* label = placeWidget<QLabel>(parent, name, x, y, w, h);
    label->setText(text);
    return label;
}

QPushButton* placeButton(QWidget* parent, const char* name, const QString& text, int x, int y,
                         int w, int h) {
    auto* button = placeWidget<QPushButton>(parent, name, x, y, w, h);
    button->setText(text);
    return button;
}

} // namespace pb::ui
