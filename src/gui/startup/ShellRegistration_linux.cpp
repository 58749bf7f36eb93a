#include "startup/ShellRegistration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <optional>

#include "support/ProgramIcon.h"

namespace lockvale {

namespace {

const QString kMimeType = QStringLiteral("application/x-lockvale-encrypted");
const QString kSealedMimeType = QStringLiteral("application/x-lockvale-sealed");

// The quoting of the Desktop Entry rules: one argument in double quotes, "%" doubled so that it
// is no field code, then the escapes of the file's string values over the whole.
QString ExecValue(const QString& exePath) {
  QString quoted = QStringLiteral("\"");
  for (QChar c : exePath) {
    if (QStringView(u"\"`$\\").contains(c)) quoted += u'\\';
    quoted += c == u'%' ? QStringLiteral("%%") : QString(c);
  }
  quoted.replace(u'\\', QStringLiteral("\\\\"));
  quoted.replace(u'\n', QStringLiteral("\\n")).replace(u'\r', QStringLiteral("\\r"));
  quoted.replace(u'\t', QStringLiteral("\\t"));
  return quoted + QStringLiteral("\" %f");
}

// The program's path as a desktop entry can hold it; nothing when it cannot: bytes that are not
// UTF-8, the replacement character that such bytes in a file name are read as, no path at all
// (what Qt gives for the program's path in such a folder), or a control character that the
// string escapes have no form for.
std::optional<QString> EntryText(const std::string& exePath) {
  QStringDecoder fromUtf8(QStringDecoder::Utf8);
  const QString text = fromUtf8(QByteArrayView(exePath));
  if (fromUtf8.hasError() || text.isEmpty() || text.contains(QChar::ReplacementCharacter))
    return std::nullopt;
  for (QChar c : text)
    if (c.category() == QChar::Other_Control && !QStringView(u"\t\n\r").contains(c))
      return std::nullopt;
  return text;
}

QByteArray MimePackage(const QString&) {
  return QStringLiteral(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
             "  <mime-type type=\"%1\">\n"
             "    <comment>Encrypted File</comment>\n"
             "    <icon name=\"lockvale\"/>\n"
             "    <glob pattern=\"*.encr\" case-sensitive=\"true\"/>\n"
             "  </mime-type>\n"
             "  <mime-type type=\"%2\">\n"
             "    <comment>Sealed File</comment>\n"
             "    <icon name=\"lockvale\"/>\n"
             "    <glob pattern=\"*.lkv\" case-sensitive=\"true\"/>\n"
             "    <magic><match type=\"string\" offset=\"0\" "
             "value=\"\\x89LKV\\r\\n\\x1a\\n\"/></magic>\n"
             "  </mime-type>\n"
             "</mime-info>\n")
      .arg(kMimeType, kSealedMimeType)
      .toUtf8();
}

QByteArray ApplicationEntry(const QString& name, const QString& mimeTypes, const QString& exe) {
  return QStringLiteral(
             "[Desktop Entry]\nType=Application\nName=%1\nIcon=lockvale\nExec=%2\nMimeType=%3\n"
             "NoDisplay=true\nTerminal=false\n")
      .arg(name, ExecValue(exe), mimeTypes)
      .toUtf8();
}

QByteArray OpenEntry(const QString& exe) {
  return ApplicationEntry(QStringLiteral("Lockvale"), kMimeType + u';' + kSealedMimeType + u';',
                          exe);
}

// Launchers offer an application for the parents of a type too, and every file's type descends
// from application/octet-stream.
QByteArray EncryptEntry(const QString& exe) {
  return ApplicationEntry(QStringLiteral("Encrypt"), QStringLiteral("application/octet-stream;"),
                          exe);
}

// Dolphin reads the actions and the MIME type of any entry in its folder; the entry's own
// type and Exec make it one that the Desktop Entry rules accept as well.
QByteArray ServiceMenu(const QString& exe) {
  return QStringLiteral(
             "[Desktop Entry]\nType=Application\nName=Encrypt\nIcon=lockvale\nExec=%1\n"
             "MimeType=application/octet-stream;\nActions=encrypt;\nX-KDE-Priority=TopLevel\n\n"
             "[Desktop Action encrypt]\nName=Encrypt\nIcon=lockvale\nExec=%1\n")
      .arg(ExecValue(exe))
      .toUtf8();
}

QByteArray IconFile(const QString&) {
  return ProgramIconSvg();
}

struct RegisteredFile {
  const char* path;
  QByteArray (*content)(const QString& exe);
  bool executable;
};

// The mime package comes first so that the desktop's caches, rebuilt afterwards, know the type.
constexpr RegisteredFile kFiles[] = {
    {"mime/packages/lockvale-encr.xml", MimePackage, false},
    {"applications/LockvaleApp.desktop", OpenEntry, false},
    {"applications/LockvaleApp-encrypt.desktop", EncryptEntry, false},
    {"kio/servicemenus/lockvale-encrypt.desktop", ServiceMenu, true},
    {"icons/hicolor/scalable/apps/lockvale.svg", IconFile, false},
};

QString DataFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

bool WriteAtomically(const QString& path, const QByteArray& content, bool executable) {
  if (content.isEmpty() || !QDir().mkpath(QFileInfo(path).path())) return false;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) return false;
  if (executable)
    file.setPermissions(file.permissions() | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
  return file.commit();
}

void RunDetached(const QString& tool, const QString& folder) {
  const QString program = QStandardPaths::findExecutable(tool);
  if (program.isEmpty()) return;
  QProcess process;
  process.setProgram(program);
  process.setArguments({folder});
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  process.startDetached();
}

// File managers read the caches these tools build, not the files themselves.
void RefreshDesktopCaches(const QString& data) {
  RunDetached(QStringLiteral("update-mime-database"), data + QStringLiteral("/mime"));
  RunDetached(QStringLiteral("update-desktop-database"), data + QStringLiteral("/applications"));
}

}  // namespace

void RemoveShellRegistration() {
  const QString data = DataFolder();
  if (data.isEmpty()) return;
  for (const RegisteredFile& file : kFiles)
    QFile::remove(data + u'/' + QLatin1String(file.path));
}

void WriteShellRegistration(const std::string& exePath) {
  const QString data = DataFolder();
  const std::optional<QString> exe = EntryText(exePath);
  if (data.isEmpty() || !exe) return;
  RemoveShellRegistration();
  for (const RegisteredFile& file : kFiles)
    (void)WriteAtomically(data + u'/' + QLatin1String(file.path), file.content(*exe),
                          file.executable);
  // Also after a failed write: the files an earlier start left may be gone by now.
  RefreshDesktopCaches(data);
}

}  // namespace lockvale
