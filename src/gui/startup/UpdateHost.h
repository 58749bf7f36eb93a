#pragma once

#include <string>

namespace lockvale {

// The host (or host:port) that serves the version file, or empty when the update check is off.
// The environment variable LOCKVALE_UPDATE_HOST comes first, then the setting
// "LockvaleUpdateHost" under the program's key, then the host this build was made with; "none"
// at any of them turns the check off.
std::string UpdateHost();

// The address of the version file on `host`.
std::string UpdateURL(const std::string& host);

}  // namespace lockvale
