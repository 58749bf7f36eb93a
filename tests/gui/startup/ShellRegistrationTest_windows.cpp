// The file types and the "Encrypt" verb written into the user's classes in the registry.
#include <QSettings>
#include <QtTest>

#include "startup/ShellRegistration.h"

using namespace lockvale;

namespace {
const QString kClasses = "HKEY_CURRENT_USER\\Software\\Classes";
const QString kProgram = "C:\\Program Files\\Lock vale 100%\\lockvale.exe";

QString Default(const QString& key) {
  return QSettings(kClasses, QSettings::NativeFormat).value(key + "/Default").toString();
}
}  // namespace

class ShellRegistrationTest : public QObject {
  Q_OBJECT

 private slots:
  void registersTheLatestPathAndRemovesOnlyItsOwnKeys() {
    WriteShellRegistration("D:/first/lockvale.exe");
    WriteShellRegistration(QString(kProgram).replace('\\', '/').toStdString());
    WriteShellRegistration("");  // the earlier registration stays
    const QString command = '"' + kProgram + "\" \"%1\" %*";
    const QStringList expected = {
        "LockvaleApp",   "LockvaleApp.Sealed", "Encrypted File", "Sealed File",
        kProgram + ",0", kProgram + ",0",      command,          command,
        command};
    QStringList read;
    for (const char* key :
         {".encr", ".lkv", "LockvaleApp", "LockvaleApp.Sealed", "LockvaleApp/DefaultIcon",
          "LockvaleApp.Sealed/DefaultIcon", "LockvaleApp/shell/open/command",
          "LockvaleApp.Sealed/shell/open/command", "*/shell/Encrypt/command"})
      read << Default(key);
    QCOMPARE(read, expected);

    QSettings(kClasses, QSettings::NativeFormat).setValue(".encrx/Default", "someone else's");
    RemoveShellRegistration();
    QSettings classes(kClasses, QSettings::NativeFormat);
    const QStringList kept = classes.childGroups();
    for (const char* key : {".encr", ".lkv", "LockvaleApp", "LockvaleApp.Sealed"})
      QVERIFY2(!kept.contains(key), key);
    classes.beginGroup("*/shell");
    QVERIFY(!classes.childGroups().contains("Encrypt"));
    classes.endGroup();
    QCOMPARE(Default(".encrx"), "someone else's");
    classes.remove(".encrx");
  }
};

QTEST_MAIN(ShellRegistrationTest)
#include "ShellRegistrationTest_windows.moc"
