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
    const auto registered = [] {
      QStringList read;
      for (const char* key :
           {".encr", ".lkv", "LockvaleApp", "LockvaleApp.Sealed", "LockvaleApp/DefaultIcon",
            "LockvaleApp.Sealed/DefaultIcon", "LockvaleApp/shell/open/command",
            "LockvaleApp.Sealed/shell/open/command", "*/shell/Encrypt/command"})
        read << Default(key);
      return read;
    };
    QCOMPARE(registered(), expected);

    QSettings classes(kClasses, QSettings::NativeFormat);
    classes.setValue(".encrx/Default", "someone else's");
    RemoveShellRegistration();
    QCOMPARE(registered(), QStringList(expected.size(), ""));
    QCOMPARE(Default(".encrx"), "someone else's");
    classes.remove(".encrx");
  }
};

QTEST_MAIN(ShellRegistrationTest)
#include "ShellRegistrationTest_windows.moc"
