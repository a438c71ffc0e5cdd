#include "SimState.h"

#include "app/Gbk.h"
#include "app/Text.h"

#include <algorithm>
#include <cstdlib>
#include <random>

namespace pb::sim {

namespace {

Json ok(const std::string& message = "") {
    Json reply = Json::object();
    reply["status"] = "0";
    reply["message"] = message;
    return reply;
}

Json refused(const std::string& message, const std::string& status = "1") {
    Json reply = Json::object();
    reply["status"] = status;
    reply["message"] = message;
    return reply;
}

std::string newToken() {
    static std::mt19937_64 rng{std::random_device{}()};
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (int i = 0; i < 32; ++i) out += kHex[rng() & 15];
    return out;
}

Json parseArray(const std::string& text) {
    Json parsed = Json::parse(text, nullptr, false);
    return parsed.is_array() ? parsed : Json::array();
}

} // namespace

std::string percentDecode(const std::string& text, bool plusIsSpace) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+' && plusIsSpace) {
            out += ' ';
        } else if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string fieldValue(const Fields& fields, const std::string& name) {
    for (const auto& [key, value] : fields)
        if (key == name) return value;
    return {};
}

SimState::SimState() {
    addAccount("demo", "demo123", 128.5);
    setNotice("欢迎使用青禾卡商端！\r\n请保持猫池程序运行，平台将自动分配号码。");
    routes_ = {{"主线路", ""}, {"备用线路一", "line2/"}, {"备用线路二", "line3/"}};
    projects_ = {{12, "淘宝", "0.50"},   {305, "京东", "0.45"},   {7, "微信", "1.20"},
                 {18, "抖音", "0.60"},   {21, "美团", "0.40"},    {33, "拼多多", "0.35"},
                 {46, "支付宝", "0.80"}, {58, "哔哩哔哩", "0.30"}};
    selected_ = {12, 7};
    codes_ = {{12, "dj-1001", "淘宝", "0.55", "3", "2", "41", 1, 1, 1, "专属淘宝"},
              {7, "dj-1002", "微信", "1.30", "1", "1", "9", 2, 0, 1, ""}};
    nextCode_ = 1003;
    hotItems_ = Json::parse(R"([
        {"id":"88","name":"小红书","percent":"96%","created":"2019-03-01","selected":"0"},
        {"id":"12","name":"淘宝","percent":"91%","created":"2018-11-20","selected":"1"},
        {"id":"95","name":"快手","percent":"88%","created":"2019-02-14","selected":"0"}])");
    registerCodes_ = Json::parse(R"([
        {"itemId":"88","itemName":"小红书","times":"15","price":"0.70","date":"2019-03-07","created":"2019-03-01"},
        {"itemId":"95","itemName":"快手","times":"4","price":"0.50","date":"2019-03-06","created":"2019-02-14"}])");
    income_ = Json::parse(R"([
        {"itemId":"12","itemName":"淘宝","mobile":"13800138000","price":"0.50","time":"2019-03-08 12:40:00"},
        {"itemId":"7","itemName":"微信","mobile":"13000000001","price":"1.20","time":"2019-03-08 13:02:11"},
        {"itemId":"305","itemName":"京东","mobile":"13300000002","price":"0.45","time":"2019-03-08 15:20:45"}])");
    // Both timestamp forms the platform uses: seconds (10 digits) and milliseconds.
    withdrawals_ = Json::parse(R"([
        {"alipayName":"张三","alipayUserName":"zhangsan@example.com","amount":"100","date":"1552020000","status":"1","remark":""},
        {"alipayName":"张三","alipayUserName":"zhangsan@example.com","amount":"50","date":"1552020000000","status":"0","remark":"处理中"},
        {"alipayName":"张三","alipayUserName":"zhangsan@example.com","amount":"20","date":"1551999999","status":"2","remark":"账号有误"}])");
}

void SimState::addAccount(const std::string& userName, const std::string& password,
                          double balance) {
    std::lock_guard<std::mutex> guard(lock_);
    Account a;
    a.userName = userName;
    a.passwordBase64 = base64OfGbk(password);
    a.questionChoice = 1;
    a.answerBase64 = base64OfGbk("北京");
    a.balance = balance;
    accounts_[userName] = a;
}

void SimState::setRoutes(std::vector<Route> routes) {
    std::lock_guard<std::mutex> guard(lock_);
    routes_ = std::move(routes);
}

void SimState::setNotice(const std::string& text) {
    std::lock_guard<std::mutex> guard(lock_);
    notice_ = text;
}

void SimState::setUpdate(UpdateOffer offer) {
    std::lock_guard<std::mutex> guard(lock_);
    update_ = std::move(offer);
}

UpdateOffer SimState::update() const {
    std::lock_guard<std::mutex> guard(lock_);
    return update_;
}

void SimState::setSmsPrice(const std::string& price) {
    std::lock_guard<std::mutex> guard(lock_);
    smsPrice_ = price;
}

std::vector<OnlineNumber> SimState::onlineNumbers() const {
    std::lock_guard<std::mutex> guard(lock_);
    return online_;
}

std::vector<ReceivedSms> SimState::receivedSms() const {
    std::lock_guard<std::mutex> guard(lock_);
    return sms_;
}

Account SimState::account(const std::string& userName) const {
    std::lock_guard<std::mutex> guard(lock_);
    auto it = accounts_.find(userName);
    return it == accounts_.end() ? Account{} : it->second;
}

std::string SimState::tokenOf(const std::string& userName) const {
    std::lock_guard<std::mutex> guard(lock_);
    for (const auto& [token, user] : tokens_)
        if (user == userName) return token;
    return {};
}

Account* SimState::accountByToken(const std::string& token) {
    auto it = tokens_.find(token);
    if (it == tokens_.end()) return nullptr;
    auto account = accounts_.find(it->second);
    return account == accounts_.end() ? nullptr : &account->second;
}

Json SimState::handle(const std::string& action, const Fields& f, const std::string& baseUrl) {
    std::lock_guard<std::mutex> guard(lock_);
    if (action == "clientRoute") return route(baseUrl);
    if (action == "check") {
        Json reply = ok();
        reply["data"] = {{"version", update_.version},
                         {"downloadUrl", baseUrl + update_.downloadPath},
                         {"title", update_.title}};
        return reply;
    }
    if (action == "login") return login(f);

    Account* a = accountByToken(fieldValue(f, "token"));
    if (!a) return refused("登录已失效，请重新登录", "-1");
    const std::string machineToken = fieldValue(f, "machineToken");

    if (action == "getNotice") {
        Json reply = ok();
        reply["notice"] = base64OfGbk(notice_);
        return reply;
    }
    if (action == "fee") {
        return Json::parse(R"({"status":"0","openFee":{"valueO":0.1,"valueT":0.2},
            "openDockFee":{"valueO":0.05,"valueT":0.1},"dockFee":{"valueO":0.08,"valueT":0.15}})");
    }
    if (action == "getUserInfo") return userInfo(*a, machineToken);
    if (action == "downloadAllMobile") {
        std::erase_if(online_, [&](const OnlineNumber& n) { return n.machineToken == machineToken; });
        return ok("本机所有号码下线成功");
    }
    if (action == "uploadMobile") return uploadMobile(f, machineToken);
    if (action == "downloadMobile") return downloadMobile(f, machineToken);
    if (action == "uploadMessage") return uploadMessage(*a, f);
    if (action == "getAllItem") return allItems();
    if (action == "itemSet") return itemSet(f);
    if (action == "getMerchantCode") return merchantCodes();
    if (action == "setCode") return setCode(f);
    if (action == "removeCode") return removeCode(f);
    if (action == "createCode") return createCode(f);
    if (action == "getHotItem" || action == "getRegisterCode") {
        Json reply = ok();
        reply["data"] = action == "getHotItem" ? hotItems_ : registerCodes_;
        return reply;
    }
    if (action == "getRecord") return records(f);
    if (action == "cashWithdraw") return withdraw(*a, f);
    if (action == "security") return security(*a, f);
    return refused("未知的操作：" + action);
}

Json SimState::route(const std::string& baseUrl) const {
    Json reply = Json::object();
    reply["status"] = 0;
    reply["message"] = "";
    reply["reg"] = registerPath_;
    reply["data"] = Json::array();
    for (const Route& r : routes_)
        reply["data"].push_back(
            {{"name", r.name}, {"url", startsWith(r.url, "http") ? r.url : baseUrl + r.url}});
    return reply;
}

Json SimState::login(const Fields& f) {
    auto it = accounts_.find(fieldValue(f, "userName"));
    if (fieldValue(f, "from") != "merchant") return refused("非法的登录来源");
    if (it == accounts_.end() || it->second.passwordBase64 != fieldValue(f, "password"))
        return refused("账号或密码错误");
    std::string token = newToken();
    tokens_[token] = it->first;
    Json reply = ok("登录成功");
    reply["token"] = token;
    return reply;
}

Json SimState::userInfo(const Account& a, const std::string& machineToken) const {
    Json reply = ok();
    long here = std::count_if(online_.begin(), online_.end(),
                              [&](const OnlineNumber& n) { return n.machineToken == machineToken; });
    reply["userName"] = a.userName;
    reply["thisOnline"] = here;
    reply["wholeOnline"] = online_.size();
    reply["balance"] = a.balance;
    return reply;
}

Json SimState::uploadMobile(const Fields& f, const std::string& machineToken) {
    const std::string type = fieldValue(f, "type");
    if (type == "repeat") return ok();
    if (type != "first") return refused("type 参数错误");
    Json reply = ok("号码上线成功");
    reply["data"] = Json::array();
    for (const Json& entry : parseArray(fieldValue(f, "data"))) {
        if (!entry.is_object()) continue;
        OnlineNumber n;
        n.mobile = entry.value("mobile", "");
        n.remark = entry.contains("remark") && entry["remark"].is_number() ? entry["remark"].get<int>() : 0;
        n.machineToken = machineToken;
        n.operatorCode = entry.value("operator", "");
        n.province = percentDecode(entry.value("province", ""), false);
        n.city = percentDecode(entry.value("city", ""), false);
        bool valid = n.mobile.size() == 11 && std::all_of(n.mobile.begin(), n.mobile.end(), ::isdigit);
        std::erase_if(online_, [&](const OnlineNumber& o) { return o.mobile == n.mobile; });
        if (valid) online_.push_back(n);
        reply["data"].push_back({{"remark", n.remark}, {"mobile", n.mobile},
                                 {"status", valid ? "上线成功" : "号码格式错误"}});
    }
    return reply;
}

Json SimState::downloadMobile(const Fields& f, const std::string& machineToken) {
    for (const Json& entry : parseArray(fieldValue(f, "data"))) {
        if (!entry.is_object()) continue;
        std::string mobile = entry.value("mobile", "");
        std::erase_if(online_, [&](const OnlineNumber& o) {
            return o.mobile == mobile && o.machineToken == machineToken;
        });
    }
    return ok("号码下线成功");
}

Json SimState::uploadMessage(Account& a, const Fields& f) {
    const std::string mobile = fieldValue(f, "mobile");
    bool online = std::any_of(online_.begin(), online_.end(),
                              [&](const OnlineNumber& n) { return n.mobile == mobile; });
    if (!online) return refused("号码不在线");
    sms_.push_back({mobile, fieldValue(f, "message"), smsPrice_});
    a.balance += std::atof(smsPrice_.c_str());
    income_.push_back({{"itemId", "12"}, {"itemName", "淘宝"}, {"mobile", mobile},
                       {"price", smsPrice_}, {"time", "2019-03-08 16:00:00"}});
    Json reply = ok("短信上传成功");
    reply["price"] = smsPrice_;
    reply["balance"] = formatMoney(a.balance);
    return reply;
}

Json SimState::allItems() const {
    Json reply = ok();
    reply["autoSelect"] = autoSelect_;
    reply["selected"] = Json::array();
    for (int id : selected_) reply["selected"].push_back({{"id", std::to_string(id)}});
    reply["data"] = Json::array();
    for (const Project& p : projects_)
        reply["data"].push_back({{"id", p.id}, {"name", p.name}, {"price", p.price}});
    return reply;
}

Json SimState::itemSet(const Fields& f) {
    long long flag = 0;
    autoSelect_ = parseInteger(fieldValue(f, "autoSelect"), flag) && flag == 1 ? 1 : 0;
    selected_.clear();
    for (const Json& id : parseArray(fieldValue(f, "data")))
        if (id.is_number_integer()) selected_.push_back(id.get<int>());
    return ok("项目设置成功");
}

Json SimState::merchantCodes() const {
    Json reply = ok();
    reply["data"] = Json::array();
    for (const DockingCode& c : codes_)
        reply["data"].push_back({{"itemId", c.itemId},   {"code", c.code},     {"itemName", c.itemName},
                                 {"price", c.price},     {"online", c.online}, {"usable", c.usable},
                                 {"amount", c.amount},   {"type", c.type},     {"isOpen", c.isOpen},
                                 {"status", c.status}});
    return reply;
}

Json SimState::setCode(const Fields& f) {
    const std::string code = fieldValue(f, "code");
    for (DockingCode& c : codes_) {
        if (c.code.substr(c.code.rfind('-') + 1) == code || c.code == code) {
            c.isOpen = fieldValue(f, "type") == "1" ? 1 : 0;
            return ok(c.isOpen ? "对接码已开启" : "对接码已关闭");
        }
    }
    return refused("对接码不存在");
}

Json SimState::removeCode(const Fields& f) {
    const std::string code = fieldValue(f, "itemId");
    size_t before = codes_.size();
    std::erase_if(codes_, [&](const DockingCode& c) {
        return c.code == code || c.code.substr(c.code.rfind('-') + 1) == code;
    });
    return codes_.size() < before ? ok("删除成功") : refused("对接码不存在");
}

Json SimState::createCode(const Fields& f) {
    long long itemId = 0;
    if (!parseInteger(fieldValue(f, "itemId"), itemId)) return refused("请选择项目");
    auto project = std::find_if(projects_.begin(), projects_.end(),
                                [&](const Project& p) { return p.id == itemId; });
    if (project == projects_.end()) return refused("项目不存在");
    double price = std::atof(fieldValue(f, "price").c_str());
    if (price <= 0) return refused("价格必须大于0");
    DockingCode c;
    c.itemId = static_cast<int>(itemId);
    c.code = "dj-" + std::to_string(nextCode_++);
    c.itemName = project->name;
    c.price = formatMoney(price);
    c.isOpen = fieldValue(f, "isOpen") == "1" ? 1 : 0;
    c.message = fieldValue(f, "message");
    codes_.push_back(c);
    return ok("创建成功，对接码：" + c.code);
}

Json SimState::records(const Fields& f) const {
    const std::string type = fieldValue(f, "type");
    Json reply = ok();
    if (type == "merchantIncome") {
        reply["data"] = income_;
    } else if (type == "merchantCashWithdraw") {
        reply["data"] = withdrawals_;
    } else {
        return refused("type 参数错误");
    }
    return reply;
}

Json SimState::withdraw(Account& a, const Fields& f) {
    const std::string amountText = fieldValue(f, "amount");
    char* end = nullptr;
    double amount = std::strtod(amountText.c_str(), &end);
    if (amountText.empty() || *end != '\0' || amount <= 0) return refused("提现金额格式错误");
    if (amount > a.balance) return refused("余额不足");
    a.balance -= amount;
    withdrawals_.push_back({{"alipayName", "张三"}, {"alipayUserName", "zhangsan@example.com"},
                            {"amount", amountText}, {"date", "1552032000"}, {"status", "0"},
                            {"remark", ""}});
    return ok("提现申请已提交，请等待处理");
}

Json SimState::security(Account& a, const Fields& f) {
    const std::string type = fieldValue(f, "type");
    if (type == "changePassword") {
        if (fieldValue(f, "oldPassword") != a.passwordBase64) return refused("原密码错误");
        if (fieldValue(f, "newPassword").empty()) return refused("新密码不能为空");
        a.passwordBase64 = fieldValue(f, "newPassword");
        return ok("密码修改成功");
    }
    if (type == "changeIssue") {
        if (fieldValue(f, "old_choice") != std::to_string(a.questionChoice) ||
            fieldValue(f, "oldPassword") != a.answerBase64)
            return refused("原密保问题或答案错误");
        long long choice = 0;
        if (!parseInteger(fieldValue(f, "new_choice"), choice)) return refused("请选择新密保问题");
        a.questionChoice = static_cast<int>(choice);
        a.answerBase64 = fieldValue(f, "newPassword");
        return ok("密保修改成功");
    }
    return refused("type 参数错误");
}

} // namespace pb::sim
