#include "app/Update.h"

#include "app/Text.h"
#include "net/ApiEnvelope.h"
#include "net/HttpRequest.h"
#include "net/ScriptJson.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>

#include <cstdlib>

namespace pb {

UpdateOffer fetchUpdateOffer(const Session& session) {
    ScriptJson doc;
    doc.parse(callRawApi(session.baseUrl + "check", "type=2"));
    return {doc.getText("data.version"), doc.getText("data.downloadUrl"), doc.getText("data.title")};
}

bool offersNewerVersion(const UpdateOffer& offer) {
    const char* text = offer.version.c_str();
    char* end = nullptr;
    float version = std::strtof(text, &end);
    if (end == text) version = 0;
    return version > static_cast<float>(kClientVersion);
}

std::string updateFileName(const UpdateOffer& offer) {
    std::string name = offer.title + "v" + offer.version;
#ifdef _WIN32
    name += ".exe";
#endif
    if (offer.title.empty() || name.find("..") != std::string::npos) return {};
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ':') return {};
    return name;
}

UpdateSite currentUpdateSite() {
    UpdateSite site;
    site.runDirectory = QCoreApplication::applicationDirPath().toStdString();
    site.executablePath = QCoreApplication::applicationFilePath().toStdString();
    site.startCleanup = [](const std::string& oldExecutable) {
        // Waits a second so that the program has ended, then removes it.
        return QProcess::startDetached(
            "/bin/sh", {"-c", "sleep 1; rm -f -- \"$0\"", QString::fromStdString(oldExecutable)});
    };
    return site;
}

UpdateOutcome installUpdate(const UpdateOffer& offer, const UpdateSite& site) {
    const std::string name = updateFileName(offer);
    if (name.empty()) return UpdateOutcome::UnsafeName;
    HttpReply download = httpRequest({.url = offer.downloadUrl, .addDefaultHeaders = false});
    if (download.bodyBytesOut.empty() || !startsWith(download.statusOut, "2"))
        return UpdateOutcome::DownloadFailed;
    QSaveFile file(QString::fromStdString(site.runDirectory + "/" + name));
    if (!file.open(QIODevice::WriteOnly)) return UpdateOutcome::WriteFailed;
    file.write(download.bodyBytesOut.data(), static_cast<qint64>(download.bodyBytesOut.size()));
    if (!file.commit()) return UpdateOutcome::WriteFailed;
    QFile::setPermissions(file.fileName(), QFileInfo(QString::fromStdString(site.executablePath))
                                               .permissions());
    // A new build written over the running one must not be cleaned away.
    const bool sameFile = QFileInfo(file.fileName()).absoluteFilePath() ==
                          QFileInfo(QString::fromStdString(site.executablePath)).absoluteFilePath();
    if (site.startCleanup && !sameFile) site.startCleanup(site.executablePath);
    return UpdateOutcome::Installed;
}

} // namespace pb
