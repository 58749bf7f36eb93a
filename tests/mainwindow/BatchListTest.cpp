// Choosing files: the open and save dialogs over scripted pickers, the Browse buttons of a
// single file, and the batch list with rows added by hand or by the browse window, editing,
// button states, and a batch run that marks the rows that failed.
#include <QGroupBox>
#include <QTimer>

#include "ScriptedPickers.h"
#include "TestSupport.h"
#include "WindowFixture.h"
#include "fileselect/FileDialogs.h"

using namespace lockvale::test;

namespace {

// The window in the mode Multiple files over a folder with a.txt, .hidden, C.ENCR,
// sub/b.txt.encr and sub/x.encr.encr; message boxes and pickers are scripted.
struct ListWindow {
  explicit ListWindow(bool encrypting = true) {
    FileDialog = {};
    std::filesystem::create_directory(dir / "sub");
    for (const char* name : {"a.txt", ".hidden", "C.ENCR", "sub/b.txt.encr", "sub/x.encr.encr"})
      WriteFile(dir / name, {'x'});
    w.Click("optMultipleFiles");
    if (!encrypting) w.Click("optDecrypt");
  }
  QString Path(const std::string& name) const { return QString::fromStdString(dir / name); }
  QTreeWidget* List() const { return w.Get<QTreeWidget>("lstEncrypt"); }
  QStringList Rows() const {  // "source|destination|overwrite|delete source" each
    QStringList rows;
    for (int i = 0; i < List()->topLevelItemCount(); ++i) {
      const QTreeWidgetItem* item = List()->topLevelItem(i);
      rows << QStringList{item->text(0), item->text(1), item->text(2), item->text(3)}.join('|');
    }
    return rows;
  }
  void Add(const QString& source, const QString& destination) {
    w.Type("txtFilename", source);
    w.Type("txtDestFilename", destination);
    w.Form().cmdAdd_Click();  // enabled only by a browse, so called directly
  }
  void ClickRow(int row) const {
    List()->setCurrentItem(List()->topLevelItem(row));
    emit List()->itemClicked(List()->topLevelItem(row), 0);
  }
  // The names, the two boxes, the Edit button's caption, and as 0 or 1 whether Add, Edit,
  // Remove and Clear list are enabled.
  QStringList State() const {
    QStringList state{w.Text("txtFilename"), w.Text("txtDestFilename")};
    for (const char* name : {"chkOverwrite", "chkDeleteSourceFile"})
      state << (w.Get<QCheckBox>(name)->isChecked() ? "Yes" : "No");
    state << w.Get<QPushButton>("cmdEdit")->text() << "";
    for (const char* name : {"cmdAdd", "cmdEdit", "cmdRemove", "cmdClear"})
      state.back() += w.Get(name)->isEnabled() ? '1' : '0';
    return state;
  }
  // The browse window, as the source's Browse button opens it, and its parts.
  void OpenBrowse() {
    w.Click("cmdSourceBrowse");
    browse = w.Form().findChild<QWidget*>("frmBrowse");
  }
  QAbstractButton* Get(const char* name) const {
    return browse->findChild<QAbstractButton*>(QString::fromLatin1(name));
  }
  void Click(const char* name) const { Get(name)->click(); }
  QString Caption() const { return browse->findChild<QGroupBox*>("fraAction")->title(); }

  TempDir dir;
  Window w;
  ScriptedMessageBoxes boxes;
  ScriptedPickers pickers;
  QWidget* browse = nullptr;
};

}  // namespace

class BatchListTest : public QObject {
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
    ListWindow l;
    l.w.Click("optSingleFile");
    l.pickers.Queue({"/a/report.pdf", "/a/other.pdf"});
    l.w.Click("cmdSourceBrowse");
    QCOMPARE(l.State().first(2), (QStringList{"/a/report.pdf", "/a/report.pdf.encr"}));
    l.w.Click("cmdSourceBrowse");  // cancelled: nothing changes
    l.pickers.Queue({"/out/x.encr"});
    l.w.Click("cmdDestBrowse");
    QCOMPARE(l.State().first(2), (QStringList{"/a/report.pdf", "/out/x.encr"}));
    l.w.Click("optDecrypt");
    l.pickers.Queue({"/a/report.pdf.encr"});
    l.w.Click("cmdSourceBrowse");
    QCOMPARE(l.State().first(2), (QStringList{"/a/report.pdf.encr", "/a/report.pdf"}));

    const std::string folder = QCoreApplication::applicationDirPath().toStdString() + "/";
    QVERIFY(l.pickers.asked ==
            std::vector({ShowOpenRequest("All Files (*)", ""),
                         ShowOpenRequest("All Files (*)", "/a/report.pdf"),
                         PickerRequest{PickerKind::Save, "Show Save", "Encrypted Files (*.encr)",
                                       folder, "", false, false},
                         ShowOpenRequest("Encrypted Files (*.encr)", "/out/x.encr")}));
    QVERIFY(l.pickers.owners[0] == &l.w.Form());
  }

  void addTakesWhatTheFinderFinds() {
    ListWindow l;
    l.Add("", "x");
    for (const char* missing : {"missing.txt", "sub", "sub/*.doc"})
      l.Add(l.Path(missing), "x");
    const auto notFound = NoticeBox(
        "Source file does not exist. Please enter a valid source filename", "Source filename");
    LV_EXPECT_ASKED(l.boxes, NoticeBox("Please select a source filename", "Filename"), notFound,
                    notFound, notFound);
    QCOMPARE(l.State().last(), QStringLiteral("0000"));
    for (const char* found : {"a.txt", ".hidden", "sub/", "sub/*.ENCR"})
      l.Add(l.Path(found), "");
    l.w.Click("chkOverwrite");
    l.Add(l.Path("a.txt"), "a.encr");
    LV_EXPECT_ASKED(l.boxes);
    QCOMPARE(l.Rows().size(), 5);
    QCOMPARE(l.Rows()[4], l.Path("a.txt") + "|a.encr|Yes|No");
    QCOMPARE(l.State().last(), QStringLiteral("0001"));
  }

  // Edit loads the row clicked, Accept Changes writes the inputs into the row selected then;
  // clicking a row drops an edit in progress.
  void editRemoveAndClearFollowTheirButtonStates() {
    ListWindow l;
    for (const char* name : {"1", "2", "3", "4", "5"})
      l.Add(l.Path("a.txt"), name);
    l.List()->topLevelItem(1)->setText(2, "yes");  // only "Yes" ticks a box
    l.List()->topLevelItem(1)->setText(3, "Yes");
    l.ClickRow(1);
    QCOMPARE(l.State(), (QStringList{"", "", "No", "No", "Edit", "0111"}));
    l.w.Click("cmdEdit");
    QCOMPARE(l.State(), (QStringList{l.Path("a.txt"), "2", "No", "Yes", "Accept Changes", "0111"}));
    l.ClickRow(2);
    QCOMPARE(l.State(), (QStringList{"", "", "No", "Yes", "Edit", "0111"}));
    l.w.Click("cmdEdit");
    l.w.Type("txtDestFilename", "three");
    l.List()->setCurrentItem(l.List()->topLevelItem(3));  // the selection moved meanwhile
    l.w.Click("cmdEdit");
    QCOMPARE(l.Rows()[3], l.Path("a.txt") + "|three|No|No");
    QCOMPARE(l.State()[4], QStringLiteral("Edit"));

    for (int row : {1, 3})
      l.List()->topLevelItem(row)->setCheckState(0, Qt::Checked);
    l.w.Click("cmdRemove");
    QCOMPARE(l.Rows().join(',').remove(l.Path("a.txt")),
             QStringLiteral("|1|No|No,|3|No|No,|5|No|No"));
    QCOMPARE(l.State().last(), QStringLiteral("0001"));
    l.w.Click("cmdClear");
    QCOMPARE(l.Rows().size(), 0);
    QCOMPARE(l.State().last(), QStringLiteral("0000"));
  }

  // The list holds one row first; only Yes to the clearing question removes it. Decrypting
  // takes only names with ".encr".
  void browsedFolderRowsFollowDirectionSubFoldersAndFlags() {
    const std::tuple<bool, bool, std::string_view, Names> cases[] = {
        {true, true, "Y", {".hidden", "C.ENCR", "a.txt", "sub/b.txt.encr", "sub/x.encr.encr"}},
        {true, false, "N", {".hidden", "C.ENCR", "a.txt"}},
        {false, true, "C", {"sub/b.txt.encr", "sub/x.encr.encr"}},
        {false, false, "Y", {}}};
    for (const auto& [encrypting, subFolders, answer, sources] : cases) {
      ListWindow l(encrypting);
      l.List()->addTopLevelItem(new QTreeWidgetItem({"/old", "", "", ""}));
      l.OpenBrowse();
      QCOMPARE(l.Caption(), encrypting ? "Encrypt" : "Decrypt");
      l.boxes.Queue(answer);
      l.pickers.Queue({l.dir.Path().string()});
      l.Click("optFolder");
      l.Get("chkSubFolders")->setChecked(subFolders);
      l.Get("chkOverwrite")->setChecked(encrypting);
      l.Get("chkDeleteSourceFiles")->setChecked(!encrypting);
      l.Click("cmdBrowse");

      QStringList expected;
      if (answer != "Y") expected << "/old|||";
      for (const std::string& name : sources)
        expected << l.Path(name) + "|" +
                        QString::fromStdString(DestinationFor(l.dir / name, encrypting)) +
                        (encrypting ? "|Yes|No" : "|No|Yes");
      QStringList rows = l.Rows();
      rows.sort();
      QCOMPARE(rows, expected);
      QVERIFY(!l.browse->isVisible());
      QCOMPARE(l.State().last(), expected.empty() ? "0000" : "0001");
      LV_EXPECT_ASKED(l.boxes, QuestionBox("Do you wish to clear the files list?", "Clear"));
      QVERIFY(l.pickers.asked ==
              std::vector({PickerRequest{PickerKind::Folder, "Please select a source directory", "",
                                         "", "", false, false}}));
      QCOMPARE(l.pickers.owners.at(0), l.browse);
    }
  }

  // A cancelled pick keeps the browse window open and a file picked fills the single-file
  // inputs. While a search runs a second OK is ignored, and Cancel stops it: nothing is added.
  // Sub folders keeps its mark while file mode disables it, but not past a close; the
  // destination's Browse button shows the window again without touching its caption.
  void browseWindowPicksOneFileStopsASearchAndStartsAfresh() {
    ListWindow l(false);
    l.OpenBrowse();
    l.Click("cmdBrowse");
    QVERIFY(l.browse->isVisible());
    l.pickers.Queue({"/d/b.encr", "/d/c.encr"});
    l.Click("chkDeleteSourceFiles");
    l.Click("cmdBrowse");
    QCOMPARE(l.State(), (QStringList{"/d/b.encr", "/d/b", "No", "Yes", "Edit", "1000"}));
    QVERIFY(!l.browse->isVisible() && l.boxes.asked.empty());
    QVERIFY(l.pickers.asked == std::vector(2, ShowOpenRequest("All Files (*)", "")));

    l.OpenBrowse();
    l.Click("optFolder");
    l.Click("cmdBrowse");
    QVERIFY(l.pickers.asked.size() == 3 && l.browse->isVisible());
    l.pickers.Queue({l.dir.Path().string()});
    QTimer::singleShot(0, [&] {
      l.Click("cmdBrowse");
      l.Click("cmdCancel");
    });
    l.Click("cmdBrowse");
    QVERIFY(l.pickers.asked.size() == 4 && l.Rows().empty() && !l.browse->isVisible());
    QVERIFY(l.Get("cmdBrowse")->isEnabled());

    l.OpenBrowse();
    QAbstractButton *subFolders = l.Get("chkSubFolders"), *remove = l.Get("chkDeleteSourceFiles");
    for (const char* option : {"optFolder", "optFile", "optFolder"}) {
      subFolders->setChecked(true);
      l.Click(option);
      const bool folder = option == std::string("optFolder");
      QVERIFY(subFolders->isChecked() && subFolders->isEnabled() == folder);
      QCOMPARE(remove->text(), folder ? "Delete Source files" : "Delete Source file");
    }
    l.Click("cmdCancel");
    l.w.Click("cmdDestBrowse");
    QVERIFY(l.browse->isVisible() && l.Caption() == "Encrypt");
    QVERIFY(l.Get("optFile")->isChecked() && !subFolders->isChecked() && !subFolders->isEnabled());
  }

  // A failed row shows the reason in red until the next run; a kept source clears its row's
  // delete flag.
  void batchRunMarksFailedRowsAndKeepsSources() {
    ListWindow l;
    l.w.Type("txtPassword", "key");
    l.w.Click("chkOverwrite");
    l.Add(l.Path("C.ENCR"), l.Path("C.ENCR"));  // its own source
    l.w.Click("chkDeleteSourceFile");
    l.Add(l.Path("a.txt"), l.Path("a.encr"));
    l.w.Click("chkDeleteSourceFile");
    l.Add(l.Path("a.txt"), l.Path("a2.encr"));
    l.boxes.Queue("YY");  // run, keep a.txt
    l.w.Execute();
    QCOMPARE(l.boxes.TakeAsked().size(), size_t{2});
    QCOMPARE(l.w.Status(), QStringLiteral("Error"));
    QCOMPARE(l.Rows()[1], l.Path("a.txt") + "|" + l.Path("a.encr") + "|Yes|No");
    QVERIFY(QFile::exists(l.Path("a.txt")) && QFile::exists(l.Path("a2.encr")));
    QTreeWidgetItem* failed = l.List()->topLevelItem(0);
    QCOMPARE(failed->foreground(1).color(), QColor(Qt::red));
    QCOMPARE(failed->toolTip(3),
             QStringLiteral("The destination file is the same as the source file"));
    QCOMPARE(l.List()->topLevelItem(1)->toolTip(0), QString());
    failed->setText(1, l.Path("b.encr"));
    l.boxes.Queue("Y");
    l.w.Execute();
    QCOMPARE(l.w.Status(), QStringLiteral("Completed"));
    QVERIFY(failed->toolTip(3).isEmpty() && failed->foreground(1) == QBrush());
    QCOMPARE(l.boxes.unscripted, 0);
  }
};

QTEST_MAIN(BatchListTest)
#include "BatchListTest.moc"
