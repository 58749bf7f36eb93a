// The About window.
#include "QtTestSupport.h"
#include "TestSupport.h"
#include "support/frmAbout.h"

using namespace lockvale::test;

static const MessageRequest kUnavailable{"System Information Is Unavailable At This Time",
                                         "Lockvale", MessageButtons::Ok, NoticeIcon::None};

class AboutBoxTest : public QObject {
  Q_OBJECT

  TempDir m_Temp;
  QWidget m_Owner;
  ScriptedMessageBoxes m_Boxes;

 private slots:
  void initTestCase() { qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(m_Temp / "cfg")); }

  void showsTheProgramWithoutHoldingTheOwnerAndGoesOnOK() {
    QPointer<frmAbout> about = new frmAbout(&m_Owner);
    about->show();
    QVERIFY(!about->isModal());
    QStringList texts{about->windowTitle()};
    for (auto name : {"lblTitle", "lblVersion", "lblDescription", "lblDisclaimer", "Label1",
                      "cmdOK", "cmdSysInfo"})
      texts << about->findChild<QWidget*>(name)->property("text").toString();
    QCOMPARE(texts.join('|'),
             "About Lockvale|Lockvale|1.05|Will encrypt/decrypt files/text with military strength|"
             "Warning: Use this program at your own risk. |Visit the Lockvale web site for updates "
             "and other applications.|OK|&System Info...");
    QTest::mouseClick(about->findChild<QWidget*>("cmdSysInfo"), Qt::LeftButton);
    LV_EXPECT_ASKED(m_Boxes, kUnavailable);  // nothing is registered yet
    QTest::mouseClick(about->findChild<QWidget*>("cmdOK"), Qt::LeftButton);
    QTRY_VERIFY(about.isNull());
  }
};

QTEST_MAIN(AboutBoxTest)
#include "AboutBoxTest.moc"
