// The open and save dialogs over scripted pickers, and the main window's Browse buttons: the
// dialogs for a single file, else the browse window, which takes one file or a folder tree.
#include <QGroupBox>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>

#include "ScriptedPickers.h"
#include "WindowFixture.h"
#include "fileselect/FileDialogs.h"

using namespace lockvale::test;

namespace {

using Flags = std::vector<bool>;

// The main window in the mode Multiple files with its browse window open, over a folder with
// a.txt, C.ENCR, sub/b.txt.encr and sub/x.encr.encr.
struct Browse {
  explicit Browse(bool encrypting) {
    FileDialog = {};
    QDir(dir.path()).mkdir("sub");
    for (const char* name : {"a.txt", "C.ENCR", "sub/b.txt.encr", "sub/x.encr.encr"})
      std::ofstream(Path(name));
    w.Click("optMultipleFiles");
    if (!encrypting) w.Click("optDecrypt");
    w.Click("cmdSourceBrowse");
    window = w.Form().findChild<QWidget*>("frmBrowse");
  }
  std::string Path(const std::string& name) const { return dir.path().toStdString() + "/" + name; }
  QAbstractButton* Get(const char* name) const {
    return window->findChild<QAbstractButton*>(QString::fromLatin1(name));
  }
  void Click(const char* name) const { Get(name)->click(); }
  QString Caption() const { return window->findChild<QGroupBox*>("fraAction")->title(); }
  std::vector<BatchEntry> Rows() const {  // sorted by source
    std::vector<BatchEntry> rows;
    const auto* list = w.Get<QTreeWidget>("lstEncrypt");
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
      const QTreeWidgetItem* item = list->topLevelItem(i);
      rows.push_back({item->text(0).toStdString(), item->text(1).toStdString(),
                      item->text(2).toStdString(), item->text(3).toStdString()});
    }
    std::ranges::sort(rows, {}, &BatchEntry::source);
    return rows;
  }
  // The window's overwrite and delete-source boxes, and whether Clear list and Add are enabled.
  Flags WindowFlags() const {
    return {w.Get<QCheckBox>("chkOverwrite")->isChecked(),
            w.Get<QCheckBox>("chkDeleteSourceFile")->isChecked(), w.Get("cmdClear")->isEnabled(),
            w.Get("cmdAdd")->isEnabled()};
  }

  QTemporaryDir dir;
  ScriptedPickers pickers;
  ScriptedMessageBoxes boxes;
  Window w;
  QWidget* window;
};

}  // namespace

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
    auto open = [&](const char* filter, const char* offered) {
      return PickerRequest{PickerKind::Open, "Show Open", filter, folder, offered, true, false};
    };
    QVERIFY(pickers.asked ==
            std::vector({open("All Files (*)", ""), open("All Files (*)", "/a/report.pdf"),
                         PickerRequest{PickerKind::Save, "Show Save", "Encrypted Files (*.encr)",
                                       folder, "", false, false},
                         open("Encrypted Files (*.encr)", "/out/x.encr")}));
    QVERIFY(pickers.owners[0] == &w.Form());
  }

  // The list holds one row first; only Yes to the clearing question removes it. Decrypting
  // takes only names with ".encr".
  void folderRowsFollowDirectionSubFoldersAndFlags() {
    const std::tuple<bool, bool, MessageAnswer, Names> cases[] = {
        {true, true, MessageAnswer::Yes, {"C.ENCR", "a.txt", "sub/b.txt.encr", "sub/x.encr.encr"}},
        {true, false, MessageAnswer::No, {"C.ENCR", "a.txt"}},
        {false, true, MessageAnswer::Cancel, {"sub/b.txt.encr", "sub/x.encr.encr"}},
        {false, false, MessageAnswer::Yes, {}}};
    for (const auto& [encrypting, subFolders, answer, sources] : cases) {
      Browse b(encrypting);
      QCOMPARE(b.Caption(), encrypting ? "Encrypt" : "Decrypt");
      b.w.Get<QTreeWidget>("lstEncrypt")->addTopLevelItem(new QTreeWidgetItem({"/old", ""}));
      b.boxes.Queue(answer);
      b.pickers.Queue({b.dir.path().toStdString()});
      b.Click("optFolder");
      b.Get("chkSubFolders")->setChecked(subFolders);
      b.Get("chkOverwrite")->setChecked(encrypting);
      b.Get("chkDeleteSourceFiles")->setChecked(!encrypting);
      b.Click("cmdBrowse");

      std::vector<BatchEntry> expected;
      if (answer != MessageAnswer::Yes) expected.push_back({"/old", "", "", ""});
      for (const std::string& name : sources)
        expected.push_back({b.Path(name), DestinationFor(b.Path(name), encrypting),
                            encrypting ? "Yes" : "No", encrypting ? "No" : "Yes"});
      std::ranges::sort(expected, {}, &BatchEntry::source);
      QVERIFY(b.Rows() == expected && !b.window->isVisible());
      QVERIFY(b.WindowFlags() == Flags({false, false, !expected.empty(), false}));
      LV_EXPECT_ASKED(b.boxes, QuestionBox("Do you wish to clear the files list?", "Clear"));
      QVERIFY(b.pickers.asked ==
              std::vector({PickerRequest{PickerKind::Folder, "Please select a source directory", "",
                                         "", "", false, false}}));
      QCOMPARE(b.pickers.owners.at(0), b.window);
    }
  }

  // A cancelled pick keeps the window open; a file picked fills the single-file inputs.
  void filePickFillsTheSingleFileInputs() {
    Browse b(false);
    b.Click("cmdBrowse");
    QVERIFY(b.window->isVisible());
    b.pickers.Queue({"/d/b.encr", "/d/c.encr"});
    b.Click("chkDeleteSourceFiles");
    b.Click("cmdBrowse");
    QCOMPARE(b.w.Text("txtFilename") + " " + b.w.Text("txtDestFilename"),
             QStringLiteral("/d/b.encr /d/b"));
    QVERIFY(b.WindowFlags() == Flags({false, true, false, true}) && !b.window->isVisible());
    const PickerRequest open{PickerKind::Open,
                             "Show Open",
                             "All Files (*)",
                             QCoreApplication::applicationDirPath().toStdString() + "/",
                             "",
                             true,
                             false};
    QVERIFY(b.pickers.asked == std::vector({open, open}) && b.boxes.asked.empty());
  }

  // While the search runs a second OK is ignored, and Cancel stops the search: nothing is added.
  void cancelledFolderPickAndSearch() {
    Browse b(true);
    b.Click("optFolder");
    b.Click("cmdBrowse");
    QVERIFY(b.pickers.asked.size() == 1 && b.window->isVisible());
    b.pickers.Queue({b.dir.path().toStdString()});
    QTimer::singleShot(0, [&] {
      b.Click("cmdBrowse");
      b.Click("cmdCancel");
    });
    b.Click("cmdBrowse");
    QVERIFY(b.pickers.asked.size() == 2 && b.Rows().empty() && !b.window->isVisible());
    QVERIFY(b.Get("cmdBrowse")->isEnabled());
  }

  // Sub folders keeps its check mark while file mode disables it, but not past a close; the
  // destination's Browse button shows the window again without touching its caption.
  void optionsSwitchAndEveryOpeningStartsAfresh() {
    Browse b(false);
    QAbstractButton *subFolders = b.Get("chkSubFolders"), *remove = b.Get("chkDeleteSourceFiles");
    for (const char* option : {"optFolder", "optFile", "optFolder"}) {
      subFolders->setChecked(true);
      b.Click(option);
      const bool folder = option == std::string("optFolder");
      QVERIFY(subFolders->isChecked() && subFolders->isEnabled() == folder);
      QCOMPARE(remove->text(), folder ? "Delete Source files" : "Delete Source file");
    }
    b.Click("cmdCancel");
    b.w.Click("cmdDestBrowse");
    QVERIFY(b.window->isVisible() && b.Caption() == "Encrypt");
    QVERIFY(b.Get("optFile")->isChecked() && !subFolders->isChecked() && !subFolders->isEnabled());
  }
};

QTEST_MAIN(PickersTest)
#include "PickersTest.moc"
