#include "bridge/AccountStatus.h"

#include "app/Text.h"
#include "net/ApiEnvelope.h"
#include "net/ScriptJson.h"

#include <cstdlib>

namespace pb {

namespace {
float leadingFloat(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    float value = std::strtof(begin, &end);
    return end == begin ? 0.0f : value;
}
} // namespace

JMap requestUserInfo(const Session& session) {
    JMap fields;
    fields.CreateByDatas({{"token", session.token}, {"machineToken", session.machineToken}});
    return callFormApi(session, "getUserInfo", fields);
}

std::string balancePaneText(const std::string& balance) {
    return "余额：" + formatMoney(leadingFloat(balance)) + "元";
}

std::optional<AccountPanes> accountPanesFrom(const JMap& reply) {
    if (!replySucceeded(reply)) return std::nullopt;
    return AccountPanes{"账号：" + reply.GetString("userName"),
                        "本机上卡：" + reply.GetString("thisOnline"),
                        "全部上卡：" + reply.GetString("wholeOnline"),
                        balancePaneText(reply.GetString("balance"))};
}

std::array<float, 6> feeRatesFrom(const std::string& replyText) {
    static constexpr const char* kPaths[] = {"openFee.valueO",     "openFee.valueT",
                                             "openDockFee.valueO", "openDockFee.valueT",
                                             "dockFee.valueO",     "dockFee.valueT"};
    std::array<float, 6> rates{};
    ScriptJson doc;
    if (!doc.parse(replyText)) return rates;
    for (size_t i = 0; i < rates.size(); ++i) rates[i] = leadingFloat(doc.getText(kPaths[i]));
    return rates;
}

std::array<float, 6> loadFeeRates(const Session& session) {
    return feeRatesFrom(callRawApi(session.baseUrl + "fee", "token=" + session.token));
}

} // namespace pb
