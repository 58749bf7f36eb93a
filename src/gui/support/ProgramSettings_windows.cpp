#include <QSettings>

#include "support/RegistryHelpers.h"

namespace lockvale {

namespace {

QString KeyName(RegistryRoot root, const std::string& path) {
  return KeyName(root, path, u'\\');
}

// Qt names a key's default value "Default".
QString ValueName(const std::string& name) {
  return name.empty() ? QStringLiteral("Default") : QString::fromStdString(name);
}

// The registry itself, through Qt's native settings: the values are the ones regedit shows.
class RegistrySettingsStore : public SettingsStore {
 public:
  std::optional<StoredValue> Read(RegistryRoot root, const std::string& path,
                                  const std::string& name) override {
    return StoredValueOf(
        QSettings(KeyName(root, path), QSettings::NativeFormat).value(ValueName(name)));
  }
  void Write(RegistryRoot root, const std::string& path, const std::string& name,
             const std::string& text) override {
    QSettings key(KeyName(root, path), QSettings::NativeFormat);
    key.setValue(ValueName(name), QString::fromStdString(text));
  }
  void DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) override {
    QSettings key(KeyName(root, path), QSettings::NativeFormat);
    key.remove(ValueName(name));
  }
};

}  // namespace

SettingsStore& ProgramSettings() {
  static RegistrySettingsStore registry;
  return registry;
}

}  // namespace lockvale
