// Start-up as the program runs it, before the window is shown: the desktop registration, the file
// named on the command line, the check for a newer version against a server on this machine, the
// agreement on the first run, the title, the size lists and the About box.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "QtTestSupport.h"
#include "mainwindow/frmMain.h"
#include "startup/LoopbackServer.h"
#include "startup/RegistryHelpers.h"
#include "support/OpenInternet.h"

using namespace lockvale::test;

namespace {

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

  QString DataFile(const char* name) const { return m_Home->path() + "/data/" + name; }

 private slots:
  // Every test starts as on a machine where Lockvale never ran, and no update host is set.
  void init() {
    m_Home = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", (m_Home->path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (m_Home->path() + "/data").toUtf8());
    qputenv("LOCKVALE_UPDATE_HOST", "none");
    // The desktop's cache tools would still be writing in the folder when it is removed.
    qputenv("PATH", m_Home->path().toUtf8());
  }

  void firstRunAsksTheAgreementUntilItIsAccepted() {
    for (const char* refusal : {"N", "C"}) {
      Start refused(refusal);
      QVERIFY(!refused.goOn);
      LV_EXPECT_ASKED(refused.boxes, AgreementBox());
      QCOMPARE(GetString(RegistryRoot::CurrentUser, "SOFTWARE\\QV", kFirstTime), "");
      // The desktop registration comes first and stays.
      QVERIFY(QFile::exists(DataFile("applications/LockvaleApp.desktop")));
    }
    Start accepted("Y");
    QVERIFY(accepted.goOn);
    LV_EXPECT_ASKED(accepted.boxes, AgreementBox());
    QCOMPARE(GetString(RegistryRoot::CurrentUser, "SOFTWARE\\QV", kFirstTime), "No");
    Start later("");
    QVERIFY(later.goOn);
    QVERIFY(later.boxes.asked.empty());
  }

  void startedWindowAndAboutBox() {
    AgreeBefore();
    Start start("");
    QVERIFY(start.goOn);
    QCOMPARE(start.form->windowTitle(), "Lockvale 1.05");
    auto* about = start.Get<QAction>("mnuAboutApp");
    QCOMPARE(about->text(), "About Lockvale");
    auto* keySize = start.Get<QComboBox>("cboKeySize");
    auto* blockSize = start.Get<QComboBox>("cboBlockSize");
    QCOMPARE(keySize->count(), 3);
    QCOMPARE(keySize->currentText(), "128 Bit");
    QCOMPARE(blockSize->currentText(), "128 Bit");
    QVERIFY(!blockSize->isEnabled());
    QVERIFY(start.Get<QRadioButton>("optSingleFile")->isChecked());
    QVERIFY(start.Get<QRadioButton>("optEncrypt")->isChecked());
    QCOMPARE(start.Text("txtFilename"), "");

    about->trigger();
    QWidget* box = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window->objectName() == "frmAbout" && window->isVisible()) box = window;
    QVERIFY(box);
    QCOMPARE(box->windowTitle(), "About Lockvale");
    QVERIFY(!box->isModal());
    box->close();
  }

  void commandLinePresets_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<bool>("decrypt");
    const auto row = [](const char* name, QStringList arguments, const char* source,
                        const char* destination, bool decrypt) {
      QTest::newRow(name) << arguments << source << destination << decrypt;
    };
    row("double-click, quoted", {"\"C:\\d\\a.txt.encr\" "}, "C:\\d\\a.txt.encr", "C:\\d\\a.txt",
        true);
    row("Encrypt action, quoted", {"\"C:\\d\\a.txt\" "}, "C:\\d\\a.txt", "C:\\d\\a.txt.encr",
        false);
    row("desktop's argument", {"/d/a.txt.encr", "extra"}, "/d/a.txt.encr", "/d/a.txt", true);
    row(".encr in a folder", {"/x.encr/a.txt"}, "/x.encr/a.txt", "/x", true);
    row("capitals are not .encr", {"/d/A.ENCR"}, "/d/A.ENCR", "/d/A.ENCR.encr", false);
    row("quoted without the blank loses nothing", {"\"/d/a.txt\""}, "/d/a.txt", "/d/a.txt.encr",
        false);
    row("no command line", {}, "", "", false);
    row("empty argument", {""}, "", "", false);
    row("too short to cut", {"\" "}, "", "", false);
    row("quotes around nothing", {"\"\" "}, "", "", false);
    row("unclosed quote", {"\"/d/a.txt.encr"}, "", "", false);
  }

  void commandLinePresets() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, source);
    QFETCH(QString, destination);
    QFETCH(bool, decrypt);
    AgreeBefore();
    std::vector<std::string> args;
    for (const QString& argument : arguments)
      args.push_back(argument.toStdString());
    Start start("", args);
    QVERIFY(start.goOn);
    QCOMPARE(start.Text("txtFilename"), source);
    QCOMPARE(start.Text("txtDestFilename"), destination);
    QCOMPARE(start.Get<QRadioButton>("optDecrypt")->isChecked(), decrypt);
    QVERIFY(start.Get<QRadioButton>("optSingleFile")->isChecked());
  }

  void registrationFollowsTheProgram() {
    AgreeBefore();
    const auto execLine = [&] {
      QFile entry(DataFile("applications/LockvaleApp.desktop"));
      if (!entry.open(QIODevice::ReadOnly)) return QString();
      for (const QString& line : QString::fromUtf8(entry.readAll()).split('\n'))
        if (line.startsWith("Exec=")) return line;
      return QString();
    };
    Start("", {}, "/opt/first/lockvale");
    QCOMPARE(execLine(), "Exec=\"/opt/first/lockvale\" %f");
    Start("", {}, "/home/u/second place/lockvale");
    QCOMPARE(execLine(), "Exec=\"/home/u/second place/lockvale\" %f");
  }

  void updateCheck_data() {
    QTest::addColumn<QByteArray>("versionFile");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("offeredPage");  // empty: nothing offered
    QTest::addColumn<bool>("opened");
    QTest::addColumn<bool>("goOn");
    const auto row = [](const char* name, const QByteArray& file, int status, const char* answers,
                        const char* offered, bool opened, bool goOn) {
      QTest::newRow(name) << file << status << QString(answers) << QString(offered) << opened
                          << goOn;
    };
    const char* page = "http://example.org/get";
    const QByteArray must = QByteArray(",") + page + ",must-download\r\n";
    row("equal", "1.05" + must, 200, "", "", false, true);
    row("older, longer text", QByteArray("1.050,") + page, 200, "", "", false, true);
    row("newer, go there", QByteArray("1.1,") + page, 200, "Y", page, true, true);
    row("newer, no", QByteArray("1.1,") + page + ",\n", 200, "N", page, false, true);
    row("must, yes", "2" + must, 200, "Y", page, true, false);
    row("must, no", "2" + must, 200, "N", page, false, false);
    row("must, cancel", "2" + must, 200, "C", page, false, false);
    row("fewer fields", "1.2", 200, "Y", "", false, true);
    row("error page", "<html>Not Found</html>", 404, "", "", false, true);
    row("not a web page", "9,file:///etc/passwd", 200, "Y", "file:///etc/passwd", false, true);
    row("not a web address", "9,javascript:alert(1)", 200, "Y", "javascript:alert(1)", false,
        true);
  }

  void updateCheck() {
    QFETCH(QByteArray, versionFile);
    QFETCH(QString, offeredPage);
    QFETCH(bool, opened);
    QFETCH(QString, answers);
    QFETCH(int, status);
    QFETCH(bool, goOn);
    AgreeBefore();
    LoopbackServer server;
    server.Serve(versionFile.toStdString(), status);
    qputenv("LOCKVALE_UPDATE_HOST", server.HostAndPort().c_str());
    Start start(answers.toStdString());
    QCOMPARE(start.goOn, goOn);
    QCOMPARE(server.Requests().size(), 1u);
    QVERIFY(server.Requests()[0].starts_with("GET /AppVersions/LockvaleVersion.txt HTTP/1."));
    const bool offered = !offeredPage.isEmpty() || !answers.isEmpty();
    if (offered)
      LV_EXPECT_ASKED(start.boxes, NewVersionBox(offeredPage.toStdString()));
    else
      QVERIFY(start.boxes.asked.empty());
    QCOMPARE(start.opener.opened, opened ? std::vector<std::string>{offeredPage.toStdString()}
                                         : std::vector<std::string>{});
  }

  // A server that never answers, or none at all, holds the start no longer than the time-out.
  void updateCheckWithoutAnAnswer() {
    AgreeBefore();
    for (bool listening : {true, false}) {
      auto server = std::make_unique<LoopbackServer>();
      server->NeverAnswer();
      qputenv("LOCKVALE_UPDATE_HOST", server->HostAndPort().c_str());
      if (!listening) server.reset();
      QElapsedTimer clock;
      clock.start();
      Start start("");
      QVERIFY(start.goOn);
      QVERIFY(start.boxes.asked.empty());
      QVERIFY2(clock.elapsed() < 8000, qPrintable(QString::number(clock.elapsed())));
    }
  }

  // The environment comes before the setting, the setting before the build's host (empty here);
  // "none" turns the check off.
  void updateHostChoice() {
    AgreeBefore();
    LoopbackServer server;
    server.Serve("1.0");
    const auto setHost = [](const std::string& host) {
      SaveString(RegistryRoot::CurrentUser, "SOFTWARE\\QV", "LockvaleUpdateHost", host);
    };
    setHost(server.HostAndPort());
    Start("");
    QCOMPARE(server.Requests().size(), 0u);
    qunsetenv("LOCKVALE_UPDATE_HOST");
    Start("");
    QCOMPARE(server.Requests().size(), 1u);
    setHost("none");
    Start("");
    DelSetting(RegistryRoot::CurrentUser, "SOFTWARE\\QV", "LockvaleUpdateHost");
    Start("");
    QCOMPARE(server.Requests().size(), 1u);
    qputenv("LOCKVALE_UPDATE_HOST", server.HostAndPort().c_str());
    Start("");
    QCOMPARE(server.Requests().size(), 2u);
  }
};

QTEST_MAIN(StartUpTest)
#include "StartUpTest.moc"
