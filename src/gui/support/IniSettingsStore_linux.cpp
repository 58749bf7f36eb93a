#include "support/IniSettingsStore.h"

#include <QSettings>
#include <QStandardPaths>

#include "support/RegistryHelpers.h"

namespace lockvale {

namespace {

// QSettings separates groups with "/"; the default value of a key is kept under ".", a name no
// real value uses.
QString ValueKey(RegistryRoot root, const std::string& path, const std::string& name) {
  return KeyName(root, path, u'/') + u'/' +
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
  return StoredValueOf(OpenFile().value(ValueKey(root, path, name)));
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
