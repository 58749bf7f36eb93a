#include "startup/UpdateHost.h"

#include <cstdlib>

#include "support/RegistryHelpers.h"
#include "util/ProgramNames.h"

#ifndef LOCKVALE_DEFAULT_UPDATE_HOST
#define LOCKVALE_DEFAULT_UPDATE_HOST ""
#endif

namespace lockvale {

namespace {

std::string ConfiguredHost() {
  const char* fromEnvironment = std::getenv("LOCKVALE_UPDATE_HOST");
  if (fromEnvironment != nullptr && *fromEnvironment != '\0') return fromEnvironment;
  std::string fromSettings =
      GetString(RegistryRoot::CurrentUser, MainKey, std::string(AppName) + "UpdateHost");
  if (!fromSettings.empty()) return fromSettings;
  return LOCKVALE_DEFAULT_UPDATE_HOST;
}

}  // namespace

std::string UpdateHost() {
  std::string host = ConfiguredHost();
  return host == "none" ? std::string() : host;
}

std::string UpdateURL(const std::string& host) {
  return "http://" + host + "/AppVersions/" + AppName + "Version.txt";
}

}  // namespace lockvale
