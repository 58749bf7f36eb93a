#include "support/RegistryHelpers.h"

#include <cstdint>

namespace lockvale {

QString KeyName(RegistryRoot root, const std::string& path, QChar separator) {
  QString key;
  switch (root) {
    case RegistryRoot::ClassesRoot:
      key = QStringLiteral("HKEY_CLASSES_ROOT");
      break;
    case RegistryRoot::CurrentUser:
      key = QStringLiteral("HKEY_CURRENT_USER");
      break;
    case RegistryRoot::LocalMachine:
      key = QStringLiteral("HKEY_LOCAL_MACHINE");
      break;
  }
  for (const QString& part : QString::fromStdString(path).split(u'\\', Qt::SkipEmptyParts))
    key += separator + part;
  return key;
}

std::optional<StoredValue> StoredValueOf(const QVariant& value) {
  if (!value.isValid()) return std::nullopt;
  if (value.typeId() == QMetaType::QByteArray)
    return StoredValue{StoredValue::Type::Binary, value.toByteArray().toStdString()};
  return StoredValue{StoredValue::Type::String, value.toString().toStdString()};
}

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
