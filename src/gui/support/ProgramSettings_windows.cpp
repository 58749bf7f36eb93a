#include <QSettings>

#include "support/RegistryHelpers.h"

namespace lockvale {

namespace {

QString KeyName(RegistryRoot root, const std::string& path) {
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
    key += u'\\' + part;
  return key;
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
    const QVariant value =
        QSettings(KeyName(root, path), QSettings::NativeFormat).value(ValueName(name));
    if (!value.isValid()) return std::nullopt;
    if (value.typeId() == QMetaType::QByteArray)
      return StoredValue{StoredValue::Type::Binary, value.toByteArray().toStdString()};
    return StoredValue{StoredValue::Type::String, value.toString().toStdString()};
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
