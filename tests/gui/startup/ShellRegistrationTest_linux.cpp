// The desktop registration written into a temporary data folder.
#include <QtTest>

#include "startup/ShellRegistration.h"
#include "support/ProgramIcon.h"

using namespace lockvale;

namespace {
const QStringList kEntries = {"applications/LockvaleApp.desktop",
                              "applications/LockvaleApp-encrypt.desktop",
                              "kio/servicemenus/lockvale-encrypt.desktop"};
const QStringList kFiles = kEntries + QStringList{"mime/packages/lockvale-encr.xml",
                                                  "icons/hicolor/scalable/apps/lockvale.svg"};
const QString kAwkwardPath =
    "/a b/x\"y`z$HOME/100% %f%% \\n\\t\\ 'q'\n\t\r~;|&<>*?#()\u00e9/lock vale";
const char* const kUnfitPaths[] = {"/opt/\xff/lockvale", "/opt/\xef\xbf\xbd/lockvale",
                                   "/opt/\x01/lockvale", ""};

QString Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The program an Exec line starts, unescaped as a launcher does: string escapes, then quoting.
QString ExecProgram(const QString& entry) {
  const QString value = Read(entry).section(QStringLiteral("\nExec="), 1).section(u'\n', 0, 0);
  const QString escapes = QStringLiteral("n\nt\tr\r");  // a letter, then what it stands for
  QString text, program;
  for (qsizetype i = 0; i < value.size(); ++i) {
    if (value[i] < u' ') return {};  // a string value holds no raw control character
    const qsizetype at = value[i] == u'\\' ? escapes.indexOf(value[++i]) : -1;
    text += at % 2 == 0 ? escapes[at + 1] : value[i];
  }
  qsizetype i = 1;
  for (; text.startsWith(u'"') && i < text.size() && text[i] != u'"'; ++i) {
    if (text[i] == u'`' || text[i] == u'$') return {};               // must be escaped
    program += text[text[i] == u'\\' || text[i] == u'%' ? ++i : i];  // "%%" stands for "%"
  }
  return text.mid(i) == "\" %f" ? program : QString();
}
}  // namespace

class ShellRegistrationTest : public QObject {
  Q_OBJECT
  QTemporaryDir m_Data, m_Config, m_NoTools;
  QString Data(const QString& file = {}) const { return m_Data.filePath(file); }

 private slots:
  void initTestCase() {
    qputenv("XDG_DATA_HOME", Data().toUtf8());
    qputenv("XDG_CONFIG_HOME", m_Config.path().toUtf8());
    qputenv("PATH", m_NoTools.path().toUtf8());  // the desktop's cache tools stay out of it
  }

  void registersTheLatestPathAndRemovesOnlyItsOwnFiles() {
    WriteShellRegistration("/opt/first/lockvale");
    WriteShellRegistration(kAwkwardPath.toStdString());
    for (const QString& entry : kEntries)
      QCOMPARE(ExecProgram(Data(entry)), kAwkwardPath);
    for (const char* unfit : kUnfitPaths) {  // the earlier registration stays
      WriteShellRegistration(unfit);
      for (const QString& entry : kEntries)
        QCOMPARE(ExecProgram(Data(entry)), kAwkwardPath);
    }
    const QString mime = Read(Data(kFiles[3]));
    for (const char* part : {"\"*.encr\"", ">Encrypted File<", "\"*.lkv\"", ">Sealed File<",
                             "offset=\"0\" value=\"\\x89LKV\\r\\n\\x1a\\n\""})
      QVERIFY2(mime.contains(part), part);
    const QString opened =
        "MimeType=application/x-lockvale-encrypted;application/x-lockvale-sealed;";
    QVERIFY(Read(Data(kEntries[0])).contains(opened + '\n'));
    QVERIFY(QFileInfo(Data(kEntries[2])).isExecutable());
    QCOMPARE(Read(Data(kFiles[4])).toUtf8(), ProgramIconSvg());
    for (const QString& file : kFiles)  // a neighbour that belongs to someone else
      QVERIFY(QFile(Data(file + "~")).open(QIODevice::WriteOnly));
    RemoveShellRegistration();
    for (const QString& file : kFiles)
      QVERIFY2(!QFile::exists(Data(file)) && QFile::exists(Data(file + "~")), qPrintable(file));
  }

  void desktopEntriesPassTheChecker() {
    const QString checker = QStandardPaths::findExecutable("desktop-file-validate", {"/usr/bin"});
    if (checker.isEmpty()) QSKIP("desktop-file-validate (package desktop-file-utils) is absent");
    WriteShellRegistration(kAwkwardPath.toStdString());
    QProcess check;
    check.start(checker, {Data(kEntries[0]), Data(kEntries[1]), Data(kEntries[2])});
    const QByteArray said = check.waitForFinished() ? check.readAll() : "no answer";
    QVERIFY2(check.exitCode() == 0 && !said.contains("error"), said.constData());
  }
};

QTEST_MAIN(ShellRegistrationTest)
#include "ShellRegistrationTest_linux.moc"
