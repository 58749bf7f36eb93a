#include "support/IniSettingsStore.h"
#include "support/RegistryHelpers.h"

namespace lockvale {

SettingsStore& ProgramSettings() {
  static IniSettingsStore iniFile;
  return iniFile;
}

}  // namespace lockvale
