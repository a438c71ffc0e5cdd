#include "ui/ShellFixture.h"

#include "app/Credentials.h"
#include "app/Gbk.h"
#include "app/IniFile.h"
#include "ui/ShellWindows.h"

#include <QCheckBox>
#include <QComboBox>
#include <filesystem>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

using namespace pb;
using namespace pb::test;

namespace {

class Login : public ShellFixture {
protected:
    void submit(const QString& account, const QString& password, bool remember) {
        ui::LoginWindow* login = shell->loginWindow();
        ASSERT_NE(login, nullptr);
        login->accountEdit->setText(account);
        login->passwordEdit->setText(password);
        login->rememberBox->setChecked(remember);
        login->loginButton->click();
        settle();
    }
    std::string ini(const char* key) {
        return IniFile(settingsFilePath()).read("merchantLogin", key);
    }
};

} // namespace

TEST_F(Login, EmptyFieldsAreRefusedBeforeAnythingIsSent) {
    start();
    for (const QString& account : {QString("   "), QString("\xE3\x80\x80 ")}) {
        submit(account, "pw", false);
        ASSERT_TRUE(ui::MessageBox::last());
        EXPECT_EQ(ui::MessageBox::last()->text, "必填项不能为空");
        EXPECT_EQ(ui::MessageBox::last()->title, "Error");
        EXPECT_EQ(ui::MessageBox::last()->icon, ui::BoxIcon::None);
    }
    EXPECT_TRUE(sim.requestsFor("login").empty());
    EXPECT_TRUE(shell->loginWindow()->loginButton->isEnabled());
}

TEST_F(Login, RefusedLoginShowsThePlatformsMessageAndAllowsAnotherTry) {
    start();
    submit("demo", "wrong", false);
    ASSERT_TRUE(ui::MessageBox::last());
    EXPECT_EQ(ui::MessageBox::last()->text, "账号或密码错误");
    EXPECT_EQ(ui::MessageBox::last()->title, "信息：");
    EXPECT_EQ(ui::MessageBox::last()->icon, ui::BoxIcon::Warning);
    EXPECT_TRUE(shell->loginWindow()->loginButton->isEnabled());
    EXPECT_EQ(shell->session().token, "");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(settingsFilePath())));
}

TEST_F(Login, LeadingSpacesAndUncheckedAgreementStillLogIn) {
    sim.state().addAccount(" lead", "pw", 0);
    start();
    EXPECT_FALSE(shell->loginWindow()->agreeBox->isChecked());
    submit(" lead", "pw", false);
    EXPECT_EQ(shell->loginWindow(), nullptr);
    EXPECT_NE(shell->noticeWindow(), nullptr);
    EXPECT_EQ(sim.requestsFor("login")[0].body.substr(0, 18), "userName=%20lead&p");
}

TEST_F(Login, RememberedCredentialsAreFilledOnTheNextStart) {
    sim.state().addAccount("商户一", "密码123", 0);
    start();
    submit("商户一", "密码123", true);
    ASSERT_NE(shell->noticeWindow(), nullptr);
    EXPECT_EQ(ini("userName"), base64OfGbk("商户一"));
    EXPECT_EQ(ini("password"), "w9zC6zEyMw==");
    EXPECT_EQ(ini("autoSelect"), base64OfGbk("true"));
    EXPECT_EQ(sim.requestsFor("login")[0].body,
              "userName=%E5%95%86%E6%88%B7%E4%B8%80&password=w9zC6zEyMw%3D%3D&from=merchant");
    namespace fs = std::filesystem;
    EXPECT_EQ(fs::status(settingsDirectory()).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(fs::status(settingsFilePath()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    start();
    ui::LoginWindow* login = shell->loginWindow();
    EXPECT_EQ(login->accountEdit->text(), "商户一");
    EXPECT_EQ(login->passwordEdit->text(), "密码123");
    EXPECT_TRUE(login->rememberBox->isChecked());

    submit("商户一", "密码123", false);
    EXPECT_EQ(ini("autoSelect"), base64OfGbk("false"));
    EXPECT_EQ(ini("userName"), base64OfGbk("商户一")); // kept, only no longer filled in
    start();
    EXPECT_EQ(shell->loginWindow()->accountEdit->text(), "");
    EXPECT_FALSE(shell->loginWindow()->rememberBox->isChecked());
}

TEST_F(Login, RegisterLinkOpensTheBaseUrlWithTheRegistrationPath) {
    start();
    emit shell->loginWindow()->registerLink->pressed();
    emit shell->loginWindow()->routeBox->activated(2);
    emit shell->loginWindow()->registerLink->pressed();
    EXPECT_EQ(openedUrls, (std::vector<std::string>{sim.baseUrl() + "register.html",
                                                    sim.baseUrl() + "line3/register.html"}));
}

TEST(IniFile, WritesKeepOtherSectionsAndKeys) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("Qirra.ini").toStdString();
    {
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[other]\r\nkey=1\r\n\r\n[merchantLogin]\r\nuserName=abc\r\n");
    }
    IniFile ini(path);
    EXPECT_EQ(ini.read("merchantLogin", "userName"), "abc");
    EXPECT_EQ(ini.read("MERCHANTLOGIN", "USERNAME"), "abc");
    ASSERT_TRUE(ini.write("merchantLogin", "userName", "xyz"));
    ASSERT_TRUE(ini.write("merchantLogin", "autoSelect", "dHJ1ZQ=="));
    ASSERT_TRUE(ini.write("third", "k", "v"));
    EXPECT_EQ(ini.read("other", "key"), "1");
    EXPECT_EQ(ini.read("merchantLogin", "userName"), "xyz");
    EXPECT_EQ(ini.read("merchantLogin", "autoSelect"), "dHJ1ZQ==");
    EXPECT_EQ(ini.read("third", "k"), "v");
    EXPECT_EQ(ini.read("merchantLogin", "missing"), "");
    EXPECT_EQ(IniFile(dir.filePath("none.ini").toStdString()).read("a", "b"), "");
    EXPECT_EQ(ini.read("merchantLogin", "autoSelect", 4), "dHJ");
}
