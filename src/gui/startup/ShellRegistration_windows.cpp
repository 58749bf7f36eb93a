#include <windows.h>

#include <shlobj.h>

#include <QDir>
#include <QSettings>

#include "startup/ShellRegistration.h"

namespace lockvale {

namespace {

// Per user, so that no administrator is needed; Windows merges it into HKEY_CLASSES_ROOT.
const QString kClasses = QStringLiteral("HKEY_CURRENT_USER\\Software\\Classes");

struct FileType {
  QString extension;
  QString name;
  QString description;
};

const FileType kFileTypes[] = {
    {QStringLiteral(".encr"), QStringLiteral("LockvaleApp"), QStringLiteral("Encrypted File")},
    {QStringLiteral(".lkv"), QStringLiteral("LockvaleApp.Sealed"), QStringLiteral("Sealed File")},
};
const QString kEncryptVerb = QStringLiteral("*/shell/Encrypt");

// The shell puts the file's path for "%1"; "%*" stands for further arguments, normally none.
QString Command(const QString& exe) {
  return u'"' + exe + QStringLiteral("\" \"%1\" %*");
}

void SetDefault(QSettings& classes, const QString& key, const QString& text) {
  classes.setValue(key + QStringLiteral("/Default"), text);
}

// Explorer keeps the file types in a cache until told that they changed.
void TellTheShell() {
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

void RemoveKeys(QSettings& classes) {
  for (const FileType& type : kFileTypes) {
    classes.remove(type.extension);
    classes.remove(type.name);
  }
  classes.remove(kEncryptVerb);
}

}  // namespace

void RemoveShellRegistration() {
  QSettings classes(kClasses, QSettings::NativeFormat);
  RemoveKeys(classes);
  classes.sync();
  TellTheShell();
}

void WriteShellRegistration(const std::string& exePath) {
  const QString exe = QDir::toNativeSeparators(QString::fromStdString(exePath));
  if (exe.isEmpty()) return;
  QSettings classes(kClasses, QSettings::NativeFormat);
  RemoveKeys(classes);
  SetDefault(classes, kEncryptVerb + QStringLiteral("/command"), Command(exe));
  for (const FileType& type : kFileTypes) {
    SetDefault(classes, type.extension, type.name);
    SetDefault(classes, type.name, type.description);
    SetDefault(classes, type.name + QStringLiteral("/DefaultIcon"), exe + QStringLiteral(",0"));
    SetDefault(classes, type.name + QStringLiteral("/shell/open/command"), Command(exe));
  }
  classes.sync();
  TellTheShell();
}

}  // namespace lockvale
