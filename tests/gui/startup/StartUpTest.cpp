// Start-up as the program runs it, before the window is shown: the settings file, the desktop
// registration, the file named on the command line, the check for a newer version and its HTTP
// client against servers on this machine, the agreement on the first run, the title, the size
// lists and the About box.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <memory>

#include "QtTestSupport.h"
#include "mainwindow/frmMain.h"
#include "startup/clsHTTP.h"
#ifndef Q_OS_WIN
#include "support/IniSettingsStore.h"
#endif
#include "support/OpenInternet.h"
#include "support/RegistryHelpers.h"
#include "support/frmAbout.h"

using namespace lockvale::test;

namespace {

// HTTP on 127.0.0.1, served by the owning thread while the client under test waits in its own
// event loop; one request per connection. `extraHeaders`: whole lines, each ending in "\r\n".
class LoopbackServer : public QObject {
 public:
  LoopbackServer() {
    connect(&server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection())
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
          const QByteArray head = socket->peek(socket->bytesAvailable());  // buffered till whole
          if (!head.contains("\r\n\r\n")) return;
          requests_.push_back(head.left(head.indexOf("\r\n\r\n")).toStdString());
          socket->disconnect(this);
          socket->write(answer_.data(), std::ssize(answer_));
          if (!answer_.empty()) socket->disconnectFromHost();
        });
    });
    server_.listen(QHostAddress::LocalHost);
  }
  std::string HostAndPort() const { return "127.0.0.1:" + std::to_string(server_.serverPort()); }
  void Serve(std::string body, int status = 200, std::string extraHeaders = {}) {
    answer_ = "HTTP/1.1 " + std::to_string(status) +
              " Answer\r\nConnection: close\r\nContent-Length: " + std::to_string(body.size()) +
              "\r\n" + extraHeaders + "\r\n" + body;
  }
  void NeverAnswer() { answer_.clear(); }
  std::vector<std::string> Requests() const { return requests_; }

 private:
  QTcpServer server_;
  std::string answer_;
  std::vector<std::string> requests_;
};

const std::string kFirstTime = "LockvaleFirstTime";

MessageRequest AgreementBox() {
  return QuestionBox(
      "Use this application at your own risk. Tarrowby is not responsible for any loss of data "
      "or any data corruption. Do you agree to this?",
      "Agreement");
}

MessageRequest NewVersionBox(const std::string& page) {
  return QuestionBox("New version is available at: " + page + ". Do you wish to go there now?",
                     "New Version", NoticeIcon::Information);
}

class RecordedOpener : public UrlOpener {
 public:
  RecordedOpener() { InstallUrlOpener(this); }
  ~RecordedOpener() override { InstallUrlOpener(nullptr); }
  void Open(const std::string& address) override { opened.push_back(address); }
  std::vector<std::string> opened;
};

// One start of the program with scripted answers; the window stays for the checks.
struct Start {
  explicit Start(const std::string& answers, std::vector<std::string> arguments = {},
                 const std::string& programPath = "/opt/lockvale/bin/lockvale") {
    boxes.Queue(answers);
    goOn = form->Form_Initialize(arguments, programPath);
  }
  template <typename W>
  W* Get(const char* name) const {
    return form->findChild<W*>(QString::fromLatin1(name));
  }
  QString Text(const char* name) const { return Get<QLineEdit>(name)->text(); }

  ScriptedMessageBoxes boxes;
  RecordedOpener opener;
  std::unique_ptr<frmMain> form = std::make_unique<frmMain>();
  bool goOn = false;
};

void AgreeBefore() {
  SaveString(RegistryRoot::CurrentUser, "SOFTWARE\\QV", kFirstTime, "No");
}

}  // namespace

class StartUpTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> m_Home;

 private slots:
  // Every test starts as on a machine where Lockvale never ran, and no update host is set.
  void init() {
    m_Home = std::make_unique<QTemporaryDir>();
    StartWithoutSettings(m_Home->path());
    qputenv("LOCKVALE_UPDATE_HOST", "none");
    // The desktop's cache tools would still be writing in the folder when it is removed.
    qputenv("PATH", m_Home->path().toUtf8());
  }

  // Strings end at their first NUL; binary values read as the signed number of their first two
  // bytes, and as nothing when shorter.
  void settingsRootsDefaultValuesAndStoredForms() {
    QCOMPARE(GetString(RegistryRoot::CurrentUser, "SOFTWARE\\QV", "Absent"), "");
#ifndef Q_OS_WIN
    QVERIFY(!QFile::exists(IniSettingsStore::FilePath()));  // reading creates nothing
#endif
    SaveString(RegistryRoot::ClassesRoot, ".encr\\", "", "LockvaleApp");
    SaveString(RegistryRoot::LocalMachine, ".encr", "", "machine");
    SaveString(RegistryRoot::CurrentUser, "K", "Text", std::string("abc\0def", 7));
    {  // where the values are kept: the registry itself on Windows
#ifdef Q_OS_WIN
      QSettings raw("HKEY_CURRENT_USER\\K", QSettings::NativeFormat);
#else
      QCOMPARE(IniSettingsStore::FilePath(), m_Home->path() + "/config/lockvale/lockvale.ini");
      QSettings raw(IniSettingsStore::FilePath(), QSettings::IniFormat);
      raw.beginGroup("HKEY_CURRENT_USER/K");
#endif
      QVERIFY(raw.value("Text").toString().startsWith("abc"));
      raw.setValue("Binary", QByteArray("\xfe\xff\x01", 3));
      raw.setValue("Short", QByteArray("\x05", 1));
    }
    QStringList read;
    for (const auto& [root, key, name] : {std::tuple{RegistryRoot::ClassesRoot, ".encr", ""},
                                          {RegistryRoot::LocalMachine, ".encr", ""},
                                          {RegistryRoot::CurrentUser, "K", "Text"},
                                          {RegistryRoot::CurrentUser, "K", "Binary"},
                                          {RegistryRoot::CurrentUser, "K", "Short"}})
      read << QString::fromStdString(GetString(root, key, name));
    QCOMPARE(read, QStringList({"LockvaleApp", "machine", "abc", "-2", ""}));
  }

  void firstRunAsksTheAgreementUntilItIsAccepted() {
    for (const char* refusal : {"N", "C"}) {
      Start refused(refusal);
      QVERIFY(!refused.goOn);
      LV_EXPECT_ASKED(refused.boxes, AgreementBox());
      QCOMPARE(GetString(RegistryRoot::CurrentUser, "SOFTWARE\\QV", kFirstTime), "");
      // The desktop registration comes first and stays.
#ifdef Q_OS_WIN
      QVERIFY(QSettings("HKEY_CURRENT_USER\\Software\\Classes", QSettings::NativeFormat)
                  .contains(".encr/Default"));
#else
      QVERIFY(QFile::exists(m_Home->path() + "/data/applications/LockvaleApp.desktop"));
#endif
    }
    Start accepted("Y");
    QVERIFY(accepted.goOn);
    LV_EXPECT_ASKED(accepted.boxes, AgreementBox());
    QCOMPARE(GetString(RegistryRoot::CurrentUser, "SOFTWARE\\QV", kFirstTime), "No");
    Start later("");
    QVERIFY(later.goOn);
    QVERIFY(later.boxes.asked.empty());
  }

  // The About box is one, not modal, and comes to the front when chosen again; its System Info
  // says when no tool is registered, and OK closes it.
  void startedWindowAndAboutBox() {
    AgreeBefore();
    Start start("");
    QVERIFY(start.goOn && start.Get<QRadioButton>("optSingleFile")->isChecked());
    QCOMPARE(
        QStringList({start.form->windowTitle(), start.Get<QComboBox>("cboKeySize")->itemText(2)}),
        QStringList({"Lockvale 1.05", "256 Bit"}));
    auto* about = start.Get<QAction>("mnuAboutApp");
    about->trigger();
    start.form->show();
    start.form->activateWindow();
    about->trigger();
    QCOMPARE(start.form->findChildren<frmAbout*>().size(), 1);
    const QPointer<frmAbout> box = start.form->findChild<frmAbout*>();
    QTRY_COMPARE(QApplication::activeWindow(), box.data());
    QVERIFY(!box->isModal());
    QTest::mouseClick(box->findChild<QWidget*>("cmdSysInfo"), Qt::LeftButton);
    LV_EXPECT_ASKED(start.boxes, MessageRequest{"System Information Is Unavailable At This Time",
                                                "Lockvale", MessageButtons::Ok, NoticeIcon::None});
    QTest::mouseClick(box->findChild<QWidget*>("cmdOK"), Qt::LeftButton);
    QTRY_VERIFY(box.isNull());
  }

  void commandLinePresets() {
    // arguments; the names shown and whether Decrypt is chosen
    const std::tuple<std::vector<std::string>, QString, QString, bool> cases[] = {
        {{"\"C:\\d\\a.txt.encr\" "}, "C:\\d\\a.txt.encr", "C:\\d\\a.txt", true},
        {{"/d/a.encr.encr", "extra"}, "/d/a.encr.encr", "/d/a.encr", true},
        {{"/x.encr/a.txt"}, "/x.encr/a.txt", "/x.encr/a.txt.encr", false},  // name only
        {{"/d/A.ENCR"}, "/d/A.ENCR", "/d/A.ENCR.encr", false},
        {{"\"/d/a.txt\""}, "/d/a.txt", "/d/a.txt.encr", false},  // no blank: nothing lost
        {{}, "", "", false},
        {{"\" "}, "", "", false},  // too short to cut
        {{"\"/d/a.txt.encr"}, "", "", false},
    };
    AgreeBefore();
    for (const auto& [arguments, source, destination, decrypt] : cases) {
      Start start("", arguments);
      QCOMPARE(QStringList({start.Text("txtFilename"), start.Text("txtDestFilename")}),
               QStringList({source, destination}));
      QCOMPARE(start.Get<QRadioButton>("optDecrypt")->isChecked(), decrypt);
      QVERIFY(start.Get<QRadioButton>("optSingleFile")->isChecked());
    }
    SaveString(RegistryRoot::CurrentUser, "SOFTWARE\\QV", "LockvaleFormat", "lkv");
    Start sealed("", {"/d/a.txt"});
    QVERIFY(sealed.Get<QAction>("mnuFormatSealed")->isChecked() &&
            sealed.Text("txtDestFilename") == "/d/a.txt.lkv");
    const std::string renamed =
        m_Home->path().toStdString() + "/renamed.pdf";  // sealed, by its magic
    QFile file(QString::fromStdString(renamed));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("\x89LKV\r\n\x1a\n\x01", 9) == 9);
    file.close();
    Start opened("", {renamed});
    QVERIFY(opened.Get<QRadioButton>("optDecrypt")->isChecked() &&
            opened.Text("txtDestFilename").isEmpty());
  }

  void updateCheck() {
    const std::string page = "http://example.org/get";
    const QByteArray must = QByteArray(",") + page.c_str() + ",must-download\r\n";
    // the version file and its status, the answer, the page offered (if any), whether it was
    // opened and whether the start goes on
    const std::tuple<QByteArray, int, const char*, std::string, bool, bool> cases[] = {
        {"1.05" + must, 200, "", "", false, true},  // equal is not newer
        {"1.050," + QByteArray(page.c_str()), 200, "", "", false, true},
        {"1.1," + QByteArray(page.c_str()), 200, "Y", page, true, true},
        {"2" + must, 200, "Y", page, true, false},  // opened, then the end
        {"2" + must, 200, "C", page, false, false},
        {"1.2", 200, "Y", "", false, true},  // fewer fields read as empty
        {"<html>Not Found</html>", 404, "", "", false, true},
        {"9,file:///etc/passwd", 200, "Y", "file:///etc/passwd", false, true},
        {"9,javascript:alert(1)", 200, "Y", "javascript:alert(1)", false, true},
        {"9,file://localhost/etc/passwd", 200, "Y", "file://localhost/etc/passwd", false, true},
        {"9,smb://host/share", 200, "Y", "smb://host/share", false, true},
        {"9,ftp://host/x", 200, "Y", "ftp://host/x", false, true},
        {"9,http://x/" + QByteArray(2040, 'a') + ",must-download", 200, "", "", false, true},
    };
    AgreeBefore();
    for (const auto& [versionFile, status, answers, offeredPage, opened, goOn] : cases) {
      LoopbackServer server;
      server.Serve(versionFile.toStdString(), status);
      qputenv("LOCKVALE_UPDATE_HOST", server.HostAndPort().c_str());
      Start start(answers);
      QCOMPARE(start.goOn, goOn);
      QCOMPARE(server.Requests().size(), 1u);
      QVERIFY(server.Requests()[0].starts_with("GET /AppVersions/LockvaleVersion.txt HTTP/1."));
      if (*answers != '\0') LV_EXPECT_ASKED(start.boxes, NewVersionBox(offeredPage));
      QCOMPARE(start.boxes.asked.size(), 0u);
      QCOMPARE(start.opener.opened, opened ? std::vector{page} : std::vector<std::string>());
    }
  }

  // The environment comes before the setting, the setting before the build's host (empty here);
  // "none" turns the check off. A server that never answers, or none at all, does not stop the
  // start (the test's time-out catches a wait without end).
  void updateHostChoice() {
    AgreeBefore();
    LoopbackServer server, silent;
    server.Serve("1.0");
    silent.NeverAnswer();
    const std::string here = server.HostAndPort(), quiet = silent.HostAndPort(),
                      closed = LoopbackServer().HostAndPort();
    // environment, setting; whether the server was asked
    const std::tuple<const char*, std::string, bool> kChoices[] = {
        {"none", here, false},        {nullptr, here, true},        {nullptr, "none", false},
        {nullptr, "", false},         {here.c_str(), "none", true}, {quiet.c_str(), here, false},
        {closed.c_str(), here, false}};
    std::size_t asked = 0;
    for (const auto& [environment, setting, reached] : kChoices) {
      environment ? qputenv("LOCKVALE_UPDATE_HOST", environment)
                  : qunsetenv("LOCKVALE_UPDATE_HOST");
      SaveString(RegistryRoot::CurrentUser, "SOFTWARE\\QV", "LockvaleUpdateHost", setting);
      Start start("");
      QVERIFY(start.goOn && start.boxes.asked.empty());
      QCOMPARE(server.Requests().size(), asked += reached);
    }
    QCOMPARE(silent.Requests().size(), 1u);
  }

  // The client follows a redirect and sends its own headers once; of a long answer only the first
  // 4 KiB are read, and a file is not written with them. A failure leaves the data alone.
  void httpClientRequestsAnswersAndFailures() {
    LoopbackServer server, moved;  // the answer comes from `moved`, after a redirect
    const std::string host = server.HostAndPort();
    clsHTTP http;
    std::string data = "stale";
    moved.Serve("1.05", 200, "Last-Modified: Tue, 01 Jul 2025\r\nForwarded: for=x\r\n");
    server.Serve("", 301, "Location: http://" + moved.HostAndPort() + "/\r\nForwarded: hop\r\n");
    QVERIFY(http.GetFile("http://" + host + "/v.txt", "", data, true, "X-Probe: 1"));
    QVERIFY(http.Connect(host, "pragma: cached"));
    QVERIFY(data == "1.05" && http.LastUrl() == host && http.ContentLength() == 4);
    QVERIFY(http.LastModified() == "Tue, 01 Jul 2025" && http.Forwarded() == "for=x");
    const QString withPath = QString::fromStdString(server.Requests().at(0));
    const QString bare = QString::fromStdString(server.Requests().at(1));
    QVERIFY(withPath.startsWith("GET /v.txt HTTP/1.1\r\n") && withPath.contains("\nX-Probe: 1\r"));
    QVERIFY(bare.startsWith("GET / HTTP/1.1\r\n"));  // the path of a bare host
    for (const char* line : {"\nUser-Agent: http protocol\r", "\nCache-Control: no-cache\r",
                             "\nPragma: no-cache\r", "\nPragma:"})
      QCOMPARE(bare.count(line, Qt::CaseInsensitive), 1);
    const QByteArray line = "<p>Not a multiple of the chunk size.</p>", page = line.repeated(60);
    server.Serve(line.repeated(100'000).toStdString(), 404);
    QVERIFY(http.GetFile(host, "", data, true, "") &&
            data == line.repeated(103).left(4096).toStdString());
    QFile file(m_Home->filePath("LockvaleVersion.txt"));
    std::ofstream(file.fileName().toStdString()) << std::string(300 * 1024, 'x');
    server.Serve(line.repeated(100'000).toStdString());
    QVERIFY(!http.GetFile(host, file.fileName().toStdString(), data, false, ""));
    QCOMPARE(file.size(), 300 * 1024);
    server.Serve(page.toStdString(), 404);
    QVERIFY(http.GetFile(host, file.fileName().toStdString(), data, false, ""));
    QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll() == page);

    QVERIFY(!http.GetFile("HTTP://" + host + "/v.txt", "", data = "kept", true, ""));
    QVERIFY(http.LastError() == "InternetConnect failed" && http.LastUrl().empty());
    QVERIFY(!http.GetFile("127.0.0.1:1", "", data, true, ""));  // nothing listens on port 1
    QVERIFY(http.LastError() == "HttpSendRequest failed");
    server.NeverAnswer();
    http.SetTimeLimit(std::chrono::milliseconds(300));
    QVERIFY(!http.GetFile(host, "", data, true, ""));  // the test's time-out catches a hang
    QVERIFY(http.LastError() == "HttpSendRequest failed" && data == "kept");
  }
};

QTEST_MAIN(StartUpTest)
#include "StartUpTest.moc"
