// The account line of the status bar and the fee rates, both read from the
// platform when the main window opens.
#pragma once

#include "app/Session.h"
#include "net/JsonDocument.h"

#include <array>
#include <optional>
#include <string>

namespace pb {

JMap requestUserInfo(const Session& session);

struct AccountPanes {
    std::string account;     // pane 0
    std::string thisOnline;  // pane 2
    std::string wholeOnline; // pane 3
    std::string balance;     // pane 4
};

// The pane texts of a getUserInfo reply; nothing when status is not "0".
std::optional<AccountPanes> accountPanesFrom(const JMap& reply);

// "余额：" + the balance with two decimals + "元"; a non-number reads as 0.
std::string balancePaneText(const std::string& balance);

// openFee, openDockFee and dockFee, valueO then valueT; zeros when the reply
// does not parse.
std::array<float, 6> loadFeeRates(const Session& session);
std::array<float, 6> feeRatesFrom(const std::string& replyText);

} // namespace pb
