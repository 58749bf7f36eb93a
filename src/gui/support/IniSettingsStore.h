#pragma once

#include <QString>

#include "util/SettingsStore.h"

namespace lockvale {

// The settings as an INI file in the user's configuration folder ($XDG_CONFIG_HOME, by default
// ~/.config), one section per root. The file is opened afresh for every call, so a value written
// is on disk at once and another instance of the program reads it.
class IniSettingsStore : public SettingsStore {
 public:
  static QString FilePath();

  std::optional<StoredValue> Read(RegistryRoot root, const std::string& path,
                                  const std::string& name) override;
  void Write(RegistryRoot root, const std::string& path, const std::string& name,
             const std::string& text) override;
  void DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) override;
};

}  // namespace lockvale
