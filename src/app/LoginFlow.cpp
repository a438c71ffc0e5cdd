#include "app/LoginFlow.h"

#include "app/Gbk.h"
#include "app/Text.h"
#include "net/ApiEnvelope.h"
#include "net/ScriptJson.h"

namespace pb {

bool loginInputMissing(const std::string& userName, const std::string& password) {
    return trimSpaces(userName).empty() || trimSpaces(password).empty();
}

LoginResult requestLogin(Session& session, const std::string& userName,
                         const std::string& password) {
    JMap fields;
    fields.CreateByDatas(
        {{"userName", userName}, {"password", base64OfGbk(password)}, {"from", "merchant"}});
    JMap reply = callFormApi(session, "login", fields);
    session.token = reply.GetString("token");
    return {replySucceeded(reply), reply.GetString("message")};
}

std::string fetchNotice(const Session& session) {
    ScriptJson doc;
    doc.parse(callRawApi(session.baseUrl + "getNotice", "token=" + session.token));
    return textFromBase64Gbk(doc.getText("notice"));
}

} // namespace pb
