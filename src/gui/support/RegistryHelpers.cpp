#include "support/RegistryHelpers.h"

#include <cstdint>

namespace lockvale {

std::string RegQueryStringValue(const SettingsKey& hKey, const std::string& strValueName) {
  const std::optional<StoredValue> value =
      ProgramSettings().Read(hKey.root, hKey.path, strValueName);
  if (!value) return {};
  const std::string& data = value->data;
  if (value->type == StoredValue::Type::String) return data.substr(0, data.find('\0'));
  if (data.size() < 2) return {};
  const auto number = static_cast<std::int16_t>(static_cast<unsigned char>(data[0]) |
                                                static_cast<unsigned char>(data[1]) << 8);
  return std::to_string(number);
}

std::string GetString(RegistryRoot hKey, const std::string& strPath, const std::string& strValue) {
  return RegQueryStringValue({hKey, strPath}, strValue);
}

void SaveString(RegistryRoot hKey, const std::string& strPath, const std::string& strValue,
                const std::string& strData) {
  ProgramSettings().Write(hKey, strPath, strValue, strData);
}

void DelSetting(RegistryRoot hKey, const std::string& strPath, const std::string& strValue) {
  ProgramSettings().DeleteValue(hKey, strPath, strValue);
}

}  // namespace lockvale
