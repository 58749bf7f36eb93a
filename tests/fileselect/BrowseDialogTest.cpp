// The browse window on a real folder tree, with scripted pickers and message boxes and a
// plain stand-in for the main window.
#include <QCheckBox>
#include <QGroupBox>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <fstream>
#include <optional>

#include "QtTestSupport.h"
#include "ScriptedPickers.h"
#include "fileselect/FileDialogs.h"
#include "fileselect/frmBrowse.h"

using namespace lockvale;
using namespace lockvale::test;

namespace {

using Names = std::vector<std::string>;
using Flags = std::optional<std::pair<bool, bool>>;

struct Target : BrowseTarget {
  bool Encrypting() const override { return encrypting; }
  void SetSourceAndDestination(const std::string& s, const std::string& d) override {
    source = s;
    destination = d;
  }
  void SetFileFlags(bool overwrite, bool remove) override { fileFlags = {overwrite, remove}; }
  bool HasSourceName() const override { return !source.empty(); }
  int BatchRowCount() const override { return static_cast<int>(rows.size()); }
  void ClearBatchList() override { rows.clear(); }
  void AppendBatchRows(const std::vector<BatchEntry>& added) override {
    ++appends;
    rows.insert(rows.end(), added.begin(), added.end());
  }
  void EnableListButtons(bool clear, bool add) override { buttons = {clear, add}; }

  bool encrypting = true;
  std::string source, destination;
  Flags fileFlags, buttons;
  std::vector<BatchEntry> rows;
  int appends = 0;
};

// A browse window over the folder a.txt, C.ENCR, sub/b.txt.encr, sub/x.encr.encr.
struct Browse {
  Browse() : window(target, &owner) {
    FileDialog = {};
    QDir(dir.path()).mkdir("sub");
    for (const char* name : {"a.txt", "C.ENCR", "sub/b.txt.encr", "sub/x.encr.encr"})
      std::ofstream(Path(name));
    window.show();
  }
  std::string Path(const std::string& name) const { return dir.path().toStdString() + "/" + name; }
  QAbstractButton* Get(const char* name) {
    return window.findChild<QAbstractButton*>(QString::fromLatin1(name));
  }
  void Click(const char* name) { Get(name)->click(); }

  QTemporaryDir dir;
  ScriptedPickers pickers;
  ScriptedMessageBoxes boxes;
  Target target;
  QWidget owner;
  frmBrowse window;
};

}  // namespace

class BrowseDialogTest : public QObject {
  Q_OBJECT

 private slots:
  // The list holds one row first; only Yes to the clearing question removes it.
  void folderRowsFollowDirectionSubFoldersAndFlags() {
    const std::tuple<bool, bool, MessageAnswer, Names> cases[] = {
        {true, true, MessageAnswer::Yes, {"C.ENCR", "a.txt", "sub/b.txt.encr", "sub/x.encr.encr"}},
        {true, false, MessageAnswer::No, {"C.ENCR", "a.txt"}},
        {false, true, MessageAnswer::Cancel, {"sub/b.txt.encr", "sub/x.encr.encr"}},
        {false, false, MessageAnswer::Yes, {}}};
    for (const auto& [encrypting, subFolders, answer, sources] : cases) {
      Browse b;
      b.target.encrypting = encrypting;
      b.target.rows = {{"/old", ""}};
      b.boxes.Queue(answer);
      b.pickers.Queue({b.dir.path().toStdString()});
      b.Click("optFolder");
      b.Get("chkSubFolders")->setChecked(subFolders);
      b.Get("chkOverwrite")->setChecked(encrypting);
      b.Get("chkDeleteSourceFiles")->setChecked(!encrypting);
      b.Click("cmdBrowse");

      std::vector<BatchEntry> expected;
      if (answer != MessageAnswer::Yes) expected.push_back({"/old", ""});
      for (const std::string& name : sources)
        expected.push_back({b.Path(name), DestinationFor(b.Path(name), encrypting),
                            encrypting ? "Yes" : "No", encrypting ? "No" : "Yes"});
      for (auto* rows : {&expected, &b.target.rows})
        std::ranges::sort(*rows, {}, &BatchEntry::source);
      QVERIFY(b.target.rows == expected && b.target.appends == 1 && !b.window.isVisible());
      QVERIFY(b.target.buttons == Flags({!expected.empty(), false}));
      QVERIFY(b.boxes.asked ==
              std::vector({QuestionBox("Do you wish to clear the files list?", "Clear")}));
      QVERIFY(b.pickers.asked == std::vector({FolderRequest("Please select a source directory")}));
      QCOMPARE(b.pickers.owners.at(0), &b.window);
    }
  }

  void filePickFillsTheSingleFileInputs() {
    const std::tuple<bool, Names, std::string> cases[] = {
        {true, {"/d/report.pdf", "/d/other.pdf"}, "/d/report.pdf.encr"},
        {false, {"/d/REPORT.ENCR"}, ""}};
    const std::string appFolder = QCoreApplication::applicationDirPath().toStdString() + "/";
    for (const auto& [encrypting, picked, destination] : cases) {
      Browse b;
      b.target.encrypting = encrypting;
      b.pickers.Queue(picked);
      b.Get("chkDeleteSourceFiles")->setChecked(true);
      b.Click("cmdBrowse");
      QVERIFY(b.target.source == picked.front() && b.target.destination == destination);
      QVERIFY(b.target.fileFlags == Flags({false, true}) &&
              b.target.buttons == Flags({false, true}));
      QVERIFY(b.target.appends == 0 && !b.window.isVisible());
      const PickerRequest open{
          PickerKind::Open, "Show Open", "All Files (*)", appFolder, "", true, false};
      QVERIFY(b.pickers.asked == std::vector({open}));
    }
  }

  // A cancelled pick keeps the window open. While the search runs a second OK is ignored, and
  // Cancel stops the search: nothing is added.
  void cancelledPicksAndSearch() {
    Browse b;
    b.Click("cmdBrowse");
    b.Click("optFolder");
    b.Click("cmdBrowse");
    QVERIFY(b.pickers.asked.size() == 2 && b.window.isVisible());
    QVERIFY(!b.target.buttons && !b.target.fileFlags && b.target.source.empty());
    b.pickers.Queue({b.dir.path().toStdString()});
    QTimer::singleShot(0, [&] {
      b.Click("cmdBrowse");
      b.Click("cmdCancel");
    });
    b.Click("cmdBrowse");
    QVERIFY(b.pickers.asked.size() == 3 && b.target.appends == 0 && !b.window.isVisible());
    QVERIFY(b.Get("cmdBrowse")->isEnabled());
  }

  // Sub folders keeps its check mark while file mode disables it, but not past a close.
  void optionsSwitchAndEveryOpeningStartsAfresh() {
    Browse b;
    QAbstractButton *subFolders = b.Get("chkSubFolders"), *remove = b.Get("chkDeleteSourceFiles");
    b.window.SetActionCaption(QStringLiteral("Decrypt"));
    for (const char* option : {"optFolder", "optFile", "optFolder"}) {
      subFolders->setChecked(true);
      b.Click(option);
      const bool folder = option == std::string("optFolder");
      QVERIFY(subFolders->isChecked() && subFolders->isEnabled() == folder);
      QCOMPARE(remove->text(), folder ? "Delete Source files" : "Delete Source file");
    }
    b.Click("cmdCancel");
    b.window.show();
    QCOMPARE(b.window.findChild<QGroupBox*>("fraAction")->title(), QStringLiteral("Encrypt"));
    QVERIFY(b.Get("optFile")->isChecked() && !subFolders->isChecked() && !subFolders->isEnabled());
  }
};

QTEST_MAIN(BrowseDialogTest)
#include "BrowseDialogTest.moc"
