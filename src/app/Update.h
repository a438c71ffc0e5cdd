// The self-update: the platform names a newer build; it is downloaded next
// to the running executable, and a separate process removes the old one once
// the program has ended.
#pragma once

#include "app/Session.h"

#include <functional>
#include <string>

namespace pb {

inline constexpr double kClientVersion = 1.0;

struct UpdateOffer {
    std::string version;
    std::string downloadUrl;
    std::string title;
};

// Sends "check" (body "type=2") to the session's base URL.
UpdateOffer fetchUpdateOffer(const Session& session);

// The leading decimal number of the version text (0 when there is none),
// as a single-precision value, is greater than the client's version.
bool offersNewerVersion(const UpdateOffer& offer);

// title + "v" + version (+ ".exe" on Windows); empty when the name would not
// stay inside the run directory (separators, "..", control characters).
std::string updateFileName(const UpdateOffer& offer);

struct UpdateSite {
    std::string runDirectory;
    std::string executablePath;
    // Starts the process that deletes the old executable after exit.
    std::function<bool(const std::string& executablePath)> startCleanup;
};

UpdateSite currentUpdateSite();

enum class UpdateOutcome { Installed, UnsafeName, DownloadFailed, WriteFailed };

// Downloads and writes the new build, then starts the clean-up. The running
// executable is kept unless the new build was written in full.
UpdateOutcome installUpdate(const UpdateOffer& offer, const UpdateSite& site);

} // namespace pb
