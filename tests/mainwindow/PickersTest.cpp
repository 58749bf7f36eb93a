// The open and save dialogs over scripted pickers, and the main window's Browse buttons for a
// single file. The browse window of the batch list is tested with the list.

#include "ScriptedPickers.h"
#include "WindowFixture.h"
#include "fileselect/FileDialogs.h"

using namespace lockvale::test;

class PickersTest : public QObject {
  Q_OBJECT

 private slots:
  // The open dialog takes the Qt form of the filter, always allows several files and offers
  // the last file chosen; it returns the names chosen under their one folder.
  void openGivesQtFiltersAndReturnsTheNamesUnderOneFolder() {
    const std::pair<std::string, std::string> filters[] = {
        {FilterEntry("All Files (*.*)", "*.*"), "All Files (*)"},
        {FilterEntry("Texts", "*.txt; *.doc") + FilterEntry("All", "*.*") + '\0',
         "Texts (*.txt *.doc);;All (*)"},
        {"", ""}};
    const std::tuple<Names, Names, std::string> picks[] = {
        {{"/d/a.txt"}, {"", "a.txt"}, "/d/"},
        {{"/d/e/b.txt", "/d/e/a.txt"}, {"", "b.txt", "a.txt"}, "/d/e/"},
        {{"/top.txt"}, {"", "top.txt"}, "/"},
        {{}, {}, ""}};
    FileDialog = {"", "Pick", "/start/", kOverwritePrompt, "/offered"};
    ScriptedPickers pickers;
    for (const auto& [sFilter, qtFilter] : filters) {
      FileDialog.sFilter = sFilter;
      ShowOpen(nullptr, true);
      QVERIFY(pickers.asked.back() == PickerRequest({PickerKind::Open, "Pick", qtFilter, "/start/",
                                                     "/offered", true, false}));
    }
    for (const auto& [picked, files, folder] : picks) {
      pickers.Queue(picked);
      const DialogSelection s = ShowOpen(nullptr, true);
      QVERIFY(s.nFilesSelected == static_cast<int>(picked.size()) && s.sFiles == files);
      QVERIFY(s.sLastDirectory == folder && s.bCanceled == picked.empty());
    }
  }

  // Only a caller that leaves `flags` at 0 gets the overwrite prompt, and that setting stays.
  void saveAsksBeforeOverwritingOnlyWithDefaultFlags() {
    for (const std::uint32_t flags : {0u, kExplorer | kLongNames | kHideReadOnly}) {
      FileDialog = {"", "Pick", "/start/", flags, "/old/offered.txt"};
      ScriptedPickers pickers;
      pickers.Queue({"/out/x.encr"});
      const DialogSelection s = ShowSave(nullptr, true);
      ShowSave(nullptr, true);
      const PickerRequest save{PickerKind::Save, "Pick", "", "/start/", "", false, flags == 0};
      QVERIFY(pickers.asked == std::vector({save, save}));
      QVERIFY(s.sFiles == Names({"", "x.encr"}) && s.sLastDirectory == "/out/");
    }
  }

  void singleFilePickersSetTheNamesByTheDirection() {
    FileDialog = {};
    Window w;
    ScriptedPickers pickers;
    auto names = [&] { return QStringList{w.Text("txtFilename"), w.Text("txtDestFilename")}; };
    pickers.Queue({"/a/report.pdf", "/a/other.pdf"});
    w.Click("cmdSourceBrowse");
    QCOMPARE(names(), (QStringList{"/a/report.pdf", "/a/report.pdf.encr"}));
    w.Click("cmdSourceBrowse");  // cancelled: nothing changes
    pickers.Queue({"/out/x.encr"});
    w.Click("cmdDestBrowse");
    QCOMPARE(names(), (QStringList{"/a/report.pdf", "/out/x.encr"}));
    w.Click("optDecrypt");
    pickers.Queue({"/a/report.pdf.encr"});
    w.Click("cmdSourceBrowse");
    QCOMPARE(names(), (QStringList{"/a/report.pdf.encr", "/a/report.pdf"}));

    const std::string folder = QCoreApplication::applicationDirPath().toStdString() + "/";
    QVERIFY(pickers.asked ==
            std::vector({ShowOpenRequest("All Files (*)", ""),
                         ShowOpenRequest("All Files (*)", "/a/report.pdf"),
                         PickerRequest{PickerKind::Save, "Show Save", "Encrypted Files (*.encr)",
                                       folder, "", false, false},
                         ShowOpenRequest("Encrypted Files (*.encr)", "/out/x.encr")}));
    QVERIFY(pickers.owners[0] == &w.Form());
  }
};

QTEST_MAIN(PickersTest)
#include "PickersTest.moc"
