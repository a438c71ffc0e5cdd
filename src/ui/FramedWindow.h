// The common frame every window carries: no system title bar, a shape box
// over the whole window (外形框1), a title strip (外形框2) that drags the
// window, a small picture (图片框1) and the close mark "×" (透明标签18).
#pragma once

#include <QLabel>
#include <QWidget>

class QFrame;
class QPushButton;

namespace pb::ui {

// A label that reports a left-button press, as the frame's marks and the
// login window's links do.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void pressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

class FramedWindow : public QWidget {
    Q_OBJECT
public:
    FramedWindow(const QString& title, int width, int height, int stripHeight,
                 QWidget* parent = nullptr);

    QFrame* titleStrip() const { return strip_; }
    ClickableLabel* closeMark() const { return closeMark_; }

signals:
    // "×" was pressed; the owner decides what closing means for this window.
    void closeMarkPressed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Places the small picture; MainWindow uses a larger one.
    void setPicture(int x, int y, int size);
    QLabel* picture() const { return picture_; }

private:
    QFrame* shape_;
    QFrame* strip_;
    QLabel* picture_;
    QLabel* title_;
    ClickableLabel* closeMark_;
};

// Starts a system move of the window, as a press on a title bar would.
void beginWindowDrag(QWidget* window);

// Centres `window` over `mainWindow`; each coordinate is computed in floating
// point and truncated towards zero. A dialog may lie partly off screen.
void centerOnMainWindow(QWidget* window, const QWidget* mainWindow);

// Form helpers: a control with its name, place and size as the layouts give them.
template <typename T> T* placeWidget(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* widget = new T(parent);
    widget->setObjectName(name);
    widget->setGeometry(x, y, w, h);
    return widget;
}
QLabel* placeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w,
                   int h);
QPushButton* placeButton(QWidget* parent, const char* name, const QString& text, int x, int y,
                         int w = 90, int h = 20);

} // namespace pb::ui
