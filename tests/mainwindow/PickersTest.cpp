// The main window's Browse buttons: what each asks the desktop for and the names it sets.
#include <QCoreApplication>
#include <QGroupBox>

#include "ScriptedPickers.h"
#include "WindowFixture.h"
#include "fileselect/FileDialogs.h"

using namespace lockvale;
using namespace lockvale::test;

class PickersTest : public QObject {
  Q_OBJECT

 private slots:
  void singleFilePickersSetTheNamesByTheDirection() {
    FileDialog = {};
    Window w;
    ScriptedPickers pickers;
    const std::string folder = QCoreApplication::applicationDirPath().toStdString() + "/";
    auto names = [&] { return QStringList{w.Text("txtFilename"), w.Text("txtDestFilename")}; };
    pickers.Queue({"/a/report.pdf", "/a/other.pdf"});
    w.Click("cmdSourceBrowse");
    QCOMPARE(names(), (QStringList{"/a/report.pdf", "/a/report.pdf.encr"}));
    w.Click("cmdSourceBrowse");  // cancelled: nothing changes
    QCOMPARE(names(), (QStringList{"/a/report.pdf", "/a/report.pdf.encr"}));
    pickers.Queue({"/out/x.encr"});
    w.Click("cmdDestBrowse");
    QCOMPARE(names(), (QStringList{"/a/report.pdf", "/out/x.encr"}));
    w.Click("optDecrypt");
    for (const char* picked : {"/a/report.pdf.encr", "/a/REPORT.ENCR"})
      pickers.Queue({picked});
    w.Click("cmdSourceBrowse");
    QCOMPARE(names(), (QStringList{"/a/report.pdf.encr", "/a/report.pdf"}));
    w.Click("cmdSourceBrowse");
    QCOMPARE(names(), (QStringList{"/a/REPORT.ENCR", ""}));

    const PickerRequest open{
        PickerKind::Open, "Show Open", "All Files (*)", folder, "", true, false};
    const PickerRequest save{
        PickerKind::Save, "Show Save", "Encrypted Files (*.encr)", folder, "", false, false};
    PickerRequest reopened = open, decrypting = open;
    reopened.initialFile = "/a/report.pdf";  // the previous choice is offered again
    decrypting.filter = "Encrypted Files (*.encr)";
    decrypting.initialFile = "/out/x.encr";
    QCOMPARE(pickers.asked.size(), size_t{5});
    QVERIFY(pickers.asked[0] == open && pickers.asked[1] == reopened);
    QVERIFY(pickers.asked[2] == save && pickers.asked[3] == decrypting);
    QVERIFY(pickers.owners[0] == &w.Form());
  }

  void batchModeShowsTheBrowseWindowCaptionedBySourceButtonOnly() {
    Window w;
    w.Click("optMultipleFiles");
    w.Click("optDecrypt");
    w.Click("cmdSourceBrowse");
    auto* browse = w.Form().findChild<QWidget*>("frmBrowse");
    QVERIFY(browse && browse->isVisible());
    auto* action = browse->findChild<QGroupBox*>("fraAction");
    QCOMPARE(action->title(), QStringLiteral("Decrypt"));
    w.Click("optEncrypt");
    w.Click("cmdDestBrowse");  // shows it again, caption untouched
    QVERIFY(browse->isVisible());
    QCOMPARE(action->title(), QStringLiteral("Decrypt"));
  }
};

QTEST_MAIN(PickersTest)
#include "PickersTest.moc"
