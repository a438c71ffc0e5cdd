// Every message box of the program goes through here, so that tests can
// answer them and read what was asked without a person at the screen.
#pragma once

#include <QString>

#include <deque>
#include <optional>
#include <vector>

class QWidget;

namespace pb::ui {

enum class BoxIcon { None, Information, Warning, Question };
enum class BoxButtons { Ok, YesNo };
enum class BoxAnswer { Ok, Yes, No };

inline const QString kDefaultBoxTitle = QStringLiteral("信息：");

struct ShownBox {
    QString title;
    QString text;
    BoxIcon icon = BoxIcon::None;
    BoxButtons buttons = BoxButtons::Ok;
    QWidget* owner = nullptr;
};

class MessageBox {
public:
    static BoxAnswer show(QWidget* owner, const QString& text,
                          const QString& title = kDefaultBoxTitle, BoxIcon icon = BoxIcon::None,
                          BoxButtons buttons = BoxButtons::Ok);

    // Scripted mode: boxes are recorded and answered at once, with the queued
    // answers first and then Ok (or No for a question).
    static void setScripted(bool scripted);
    static void setNextAnswer(BoxAnswer answer);
    static const std::vector<ShownBox>& shown();
    static std::optional<ShownBox> last();
    static void clearShown();

private:
    static bool scripted_;
    static std::deque<BoxAnswer> answers_;
    static std::vector<ShownBox> shown_;
};

} // namespace pb::ui
