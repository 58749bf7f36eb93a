#pragma once

#include <QString>
#include <QVariant>
#include <optional>
#include <string>

#include "util/SettingsStore.h"

namespace lockvale {

// An open key: the root and the path under it.
struct SettingsKey {
  RegistryRoot root;
  std::string path;
};

// The root's name as the registry spells it, then the key path's parts ("\" separated, empty
// ones dropped), joined by `separator`: the name both stores give a key.
QString KeyName(RegistryRoot root, const std::string& path, QChar separator);
// A value as QSettings reads it: bytes are a binary value, anything else text.
std::optional<StoredValue> StoredValueOf(const QVariant& value);

// The store the program's settings live in: an INI file on Linux, the registry on Windows.
SettingsStore& ProgramSettings();

// The value as text: a string up to its first NUL, a binary value as the decimal number its
// first two bytes hold (little-endian, signed); empty when absent or of no readable form.
std::string RegQueryStringValue(const SettingsKey& hKey, const std::string& strValueName);

// The text of a value, empty when the key or the value is absent; creates nothing.
std::string GetString(RegistryRoot hKey, const std::string& strPath, const std::string& strValue);
void SaveString(RegistryRoot hKey, const std::string& strPath, const std::string& strValue,
                const std::string& strData);
void DelSetting(RegistryRoot hKey, const std::string& strPath, const std::string& strValue);

}  // namespace lockvale
