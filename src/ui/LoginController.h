// LoginWindow's behaviour: the creation handler (skin, route list,
// remembered credentials, client identity, update check), the login and the
// two links.
#pragma once

#include <QObject>

namespace pb::ui {

class AppShell;
class LoginWindow;

class LoginController : public QObject {
    Q_OBJECT
public:
    // Becomes a child of the window.
    LoginController(AppShell& shell, LoginWindow* window);

    // False when the creation ended the program.
    bool runCreation();
    void login();

private:
    bool loadRoutes();
    bool checkForUpdate();

    AppShell& shell_;
    LoginWindow* window_;
};

} // namespace pb::ui
