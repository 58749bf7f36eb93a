// Start-up as the program runs it, before the window is shown: the desktop registration, the file
// named on the command line, the check for a newer version against a server on this machine, the
// agreement on the first run, the title, the size lists and the About box.
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "QtTestSupport.h"
#include "mainwindow/frmMain.h"
#include "gui/startup/LoopbackServer.h"
#include "support/RegistryHelpers.h"
#include "support/OpenInternet.h"
#include "support/frmAbout.h"

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
    auto* about = start.Get<QAction>("mnuAboutApp");
    QCOMPARE(QStringList({start.form->windowTitle(), about->text(),
                          start.Get<QComboBox>("cboKeySize")->itemText(2)}),
             QStringList({"Lockvale 1.05", "About Lockvale", "256 Bit"}));
    QVERIFY(start.Get<QRadioButton>("optSingleFile")->isChecked());
    about->trigger();  // chosen again, the one box comes to the front
    start.form->show();
    start.form->activateWindow();
    about->trigger();
    QCOMPARE(start.form->findChildren<frmAbout*>().size(), 1);
    QTRY_COMPARE(QApplication::activeWindow(), start.form->findChild<frmAbout*>());
  }

  void commandLinePresets() {
    struct Case {
      std::vector<std::string> arguments;
      QString source, destination;
      bool decrypt;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
      Start start("", c.arguments);
      QCOMPARE(QStringList({start.Text("txtFilename"), start.Text("txtDestFilename")}),
               QStringList({c.source, c.destination}));
      QCOMPARE(start.Get<QRadioButton>("optDecrypt")->isChecked(), c.decrypt);
      QVERIFY(start.Get<QRadioButton>("optSingleFile")->isChecked());
    }
    SaveString(RegistryRoot::CurrentUser, "SOFTWARE\\QV", "LockvaleFormat", "lkv");
    Start sealed("", {"/d/a.txt"});
    QVERIFY(sealed.Get<QAction>("mnuFormatSealed")->isChecked() &&
            sealed.Text("txtDestFilename") == "/d/a.txt.lkv");
  }

  void updateCheck() {
    struct Case {
      QByteArray versionFile;
      int status;
      const char* answers;
      std::string offeredPage;  // empty: nothing offered
      bool opened, goOn;
    };
    const std::string page = "http://example.org/get";
    const QByteArray must = QByteArray(",") + page.c_str() + ",must-download\r\n";
    const Case cases[] = {
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
    for (const Case& c : cases) {
      LoopbackServer server;
      server.Serve(c.versionFile.toStdString(), c.status);
      qputenv("LOCKVALE_UPDATE_HOST", server.HostAndPort().c_str());
      Start start(c.answers);
      QCOMPARE(start.goOn, c.goOn);
      QCOMPARE(server.Requests().size(), 1u);
      QVERIFY(server.Requests()[0].starts_with("GET /AppVersions/LockvaleVersion.txt HTTP/1."));
      if (*c.answers != '\0') LV_EXPECT_ASKED(start.boxes, NewVersionBox(c.offeredPage));
      QCOMPARE(start.boxes.asked.size(), 0u);
      QCOMPARE(start.opener.opened.size(), c.opened ? 1u : 0u);
      if (c.opened) QCOMPARE(start.opener.opened[0], page);
    }
  }

  // A server that never answers, or none at all, does not stop the start (the test's time-out
  // catches a wait without end).
  void updateCheckWithoutAnAnswer() {
    AgreeBefore();
    for (bool listening : {true, false}) {
      auto server = std::make_unique<LoopbackServer>();
      server->NeverAnswer();
      qputenv("LOCKVALE_UPDATE_HOST", server->HostAndPort().c_str());
      if (!listening) server.reset();
      Start start("");
      QVERIFY(start.goOn);
      QVERIFY(start.boxes.asked.empty());
    }
  }

  // The environment comes before the setting, the setting before the build's host (empty here);
  // "none" turns the check off.
  void updateHostChoice() {
    AgreeBefore();
    LoopbackServer server;
    server.Serve("1.0");
    const std::string here = server.HostAndPort();
    // environment, setting; whether the server was asked
    const std::tuple<const char*, std::string, bool> kChoices[] = {{"none", here, false},
                                                                   {nullptr, here, true},
                                                                   {nullptr, "none", false},
                                                                   {nullptr, "", false},
                                                                   {here.c_str(), "none", true}};
    std::size_t asked = 0;
    for (const auto& [environment, setting, reached] : kChoices) {
      environment ? qputenv("LOCKVALE_UPDATE_HOST", environment)
                  : qunsetenv("LOCKVALE_UPDATE_HOST");
      SaveString(RegistryRoot::CurrentUser, "SOFTWARE\\QV", "LockvaleUpdateHost", setting);
      Start("");
      QCOMPARE(server.Requests().size(), asked += reached);
    }
  }
};

QTEST_MAIN(StartUpTest)
#include "StartUpTest.moc"
