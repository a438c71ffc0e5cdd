#include "ui/MessageBox.h"

#include <QMessageBox>
#include <QPushButton>

namespace pb::ui {

bool MessageBox::scripted_ = false;
std::deque<BoxAnswer> MessageBox::answers_;
std::vector<ShownBox> MessageBox::shown_;

BoxAnswer MessageBox::show(QWidget* owner, const QString& text, const QString& title,
                           BoxIcon icon, BoxButtons buttons) {
    if (scripted_) {
        shown_.push_back({title, text, icon, buttons, owner});
        BoxAnswer answer = buttons == BoxButtons::YesNo ? BoxAnswer::No : BoxAnswer::Ok;
        if (!answers_.empty()) {
            answer = answers_.front();
            answers_.pop_front();
        }
        return answer;
    }
    QMessageBox box(owner);
    box.setWindowTitle(title);
    box.setText(text);
    static const QMessageBox::Icon kIcons[] = {QMessageBox::NoIcon, QMessageBox::Information,
                                               QMessageBox::Warning, QMessageBox::Question};
    box.setIcon(kIcons[static_cast<int>(icon)]);
    if (buttons == BoxButtons::YesNo) {
        QPushButton* yes = box.addButton(QStringLiteral("是"), QMessageBox::YesRole);
        box.addButton(QStringLiteral("否"), QMessageBox::NoRole);
        box.exec();
        return box.clickedButton() == yes ? BoxAnswer::Yes : BoxAnswer::No;
    }
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
    return BoxAnswer::Ok;
}

void MessageBox::setScripted(bool scripted) {
    scripted_ = scripted;
    answers_.clear();
}

void MessageBox::setNextAnswer(BoxAnswer answer) { answers_.push_back(answer); }

const std::vector<ShownBox>& MessageBox::shown() { return shown_; }

std::optional<ShownBox> MessageBox::last() {
    if (shown_.empty()) return std::nullopt;
    return shown_.back();
}

void MessageBox::clearShown() { shown_.clear(); }

} // namespace pb::ui
