// The platform's side of every action the client sends: accounts, numbers
// online per client run, SMS and earnings, projects, docking codes, hot
// projects, requests, income and withdrawals. Pure state, no sockets.
#pragma once

#include <nlohmann/json.hpp>

#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace pb::sim {

using Json = nlohmann::ordered_json;
using Fields = std::vector<std::pair<std::string, std::string>>;

struct Account {
    std::string userName;
    std::string passwordBase64; // Base64 of the GBK bytes, as the client sends it
    int questionChoice = 0;
    std::string answerBase64;
    double balance = 0;
};

struct OnlineNumber {
    std::string mobile;
    int remark = 0; // the port
    std::string machineToken;
    std::string operatorCode;
    std::string province; // decoded from the client's percent-encoding
    std::string city;
};

struct Project {
    int id = 0;
    std::string name;
    std::string price;
};

struct DockingCode {
    int itemId = 0;
    std::string code;
    std::string itemName;
    std::string price;
    std::string online = "0";
    std::string usable = "0";
    std::string amount = "0";
    int type = 1;
    int isOpen = 1;
    int status = 1;
    std::string message;
};

struct Route {
    std::string name;
    std::string url;
};

struct ReceivedSms {
    std::string mobile;
    std::string message;
    std::string price;
};

struct UpdateOffer {
    std::string version = "1.0";
    std::string title = "青禾卡商端";
    std::string downloadPath = "download/update.bin";
    std::string payload = "new build";
};

class SimState {
public:
    SimState();

    // Answers one action; `baseUrl` is where the simulator is reached.
    Json handle(const std::string& action, const Fields& fields, const std::string& baseUrl);

    // Seeding and inspection, for tests and the demo.
    void addAccount(const std::string& userName, const std::string& password, double balance);
    // A route url not starting with "http" is relative to the simulator's base URL.
    void setRoutes(std::vector<Route> routes);
    void setNotice(const std::string& text);
    void setUpdate(UpdateOffer offer);
    UpdateOffer update() const;
    void setSmsPrice(const std::string& price);
    std::vector<OnlineNumber> onlineNumbers() const;
    std::vector<ReceivedSms> receivedSms() const;
    Account account(const std::string& userName) const;
    std::string tokenOf(const std::string& userName) const;

private:
    Json route(const std::string& baseUrl) const;
    Json login(const Fields& f);
    Json userInfo(const Account& a, const std::string& machineToken) const;
    Json uploadMobile(const Fields& f, const std::string& machineToken);
    Json downloadMobile(const Fields& f, const std::string& machineToken);
    Json uploadMessage(Account& a, const Fields& f);
    Json allItems() const;
    Json itemSet(const Fields& f);
    Json merchantCodes() const;
    Json setCode(const Fields& f);
    Json removeCode(const Fields& f);
    Json createCode(const Fields& f);
    Json records(const Fields& f) const;
    Json withdraw(Account& a, const Fields& f);
    Json security(Account& a, const Fields& f);
    Account* accountByToken(const std::string& token);

    mutable std::mutex lock_;
    std::map<std::string, Account> accounts_;
    std::map<std::string, std::string> tokens_; // token -> user name
    std::vector<Route> routes_;
    std::string registerPath_ = "register.html";
    std::string notice_;
    UpdateOffer update_;
    std::string smsPrice_ = "0.35";
    std::vector<OnlineNumber> online_;
    std::vector<ReceivedSms> sms_;
    std::vector<Project> projects_;
    std::vector<int> selected_;
    int autoSelect_ = 1;
    std::vector<DockingCode> codes_;
    int nextCode_ = 1001;
    Json hotItems_ = Json::array();
    Json registerCodes_ = Json::array();
    Json income_ = Json::array();
    Json withdrawals_ = Json::array();
};

std::string fieldValue(const Fields& fields, const std::string& name);
// %XX sequences to bytes; in form bodies '+' also stands for a space.
std::string percentDecode(const std::string& text, bool plusIsSpace);

} // namespace pb::sim
