#include "support/IniSettingsStore.h"

#include <QSettings>
#include <QStandardPaths>

namespace lockvale {

namespace {

QString RootName(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::ClassesRoot:
      return QStringLiteral("HKEY_CLASSES_ROOT");
    case RegistryRoot::CurrentUser:
      return QStringLiteral("HKEY_CURRENT_USER");
    case RegistryRoot::LocalMachine:
      return QStringLiteral("HKEY_LOCAL_MACHINE");
  }
  return {};
}

// QSettings separates groups with "/"; a key path's "\" becomes that separator, and empty parts
// (a trailing "\") are dropped.
QString KeyPath(RegistryRoot root, const std::string& path) {
  QStringList parts{RootName(root)};
  for (const QString& part : QString::fromStdString(path).split(u'\\', Qt::SkipEmptyParts))
    parts << part;
  return parts.join(u'/');
}

// The default value of a key is kept under ".", a name no real value uses.
QString ValueKey(RegistryRoot root, const std::string& path, const std::string& name) {
  return KeyPath(root, path) + u'/' +
         (name.empty() ? QStringLiteral(".") : QString::fromStdString(name));
}

QSettings OpenFile() {
  return QSettings(IniSettingsStore::FilePath(), QSettings::IniFormat);
}

}  // namespace

QString IniSettingsStore::FilePath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/lockvale/lockvale.ini");
}

std::optional<StoredValue> IniSettingsStore::Read(RegistryRoot root, const std::string& path,
                                                  const std::string& name) {
  const QVariant value = OpenFile().value(ValueKey(root, path, name));
  if (!value.isValid()) return std::nullopt;
  if (value.typeId() == QMetaType::QByteArray)
    return StoredValue{StoredValue::Type::Binary, value.toByteArray().toStdString()};
  return StoredValue{StoredValue::Type::String, value.toString().toStdString()};
}

void IniSettingsStore::Write(RegistryRoot root, const std::string& path, const std::string& name,
                             const std::string& text) {
  QSettings file = OpenFile();
  file.setValue(ValueKey(root, path, name), QString::fromStdString(text));
  file.sync();
}

void IniSettingsStore::DeleteValue(RegistryRoot root, const std::string& path,
                                   const std::string& name) {
  QSettings file = OpenFile();
  file.remove(ValueKey(root, path, name));
  file.sync();
}

}  // namespace lockvale
