// The window: its layouts, the direction switch and how it hands its inputs to the jobs and
// shows what they report (the jobs' own rules are tested without it); choosing files through the
// open and save dialogs, the Browse buttons and the browse window; and the batch list, with rows
// added by hand or browsed, editing, button states, and a run that marks the rows that failed.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <functional>
#include <memory>

#ifndef Q_OS_WIN
#include <linux/capability.h>
#include <sys/syscall.h>
#endif

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "browse/FileDialogs.h"
#include "browse/frmBrowse.h"
#include "jobs/HexText.h"
#include "mainwindow/BatchListView.h"
#include "mainwindow/JobController.h"
#include "mainwindow/Twips.h"
#include "mainwindow/frmMain.h"
#include "support/ActiveFilePickers.h"
#include "support/RegistryHelpers.h"
#include "support/TestHooks.h"
#include "util/CodePage.h"

using namespace lockvale::test;

namespace {

// Stands in for the real pickers while it lives: records every request with the owner in
// force and answers from a queue. A request with no answer queued is cancelled.
struct ScriptedPickers : FilePickers {
  ScriptedPickers() { InstallFilePickers(this); }
  ~ScriptedPickers() override { InstallFilePickers(nullptr); }

  void Queue(std::vector<std::string> paths) { answers.push_back(std::move(paths)); }

  std::vector<std::string> Pick(const PickerRequest& request) override {
    asked.push_back(request);
    owners.push_back(FilePickerOwner());
    return answered < answers.size() ? answers[answered++] : std::vector<std::string>();
  }

  std::vector<PickerRequest> asked;
  std::vector<QWidget*> owners;
  std::vector<std::vector<std::string>> answers;
  std::size_t answered = 0;
};

// What the program's own dialogs ask: "Show Open" or "Show Save" in the program's folder, the
// open dialog for several files.
PickerRequest Asked(PickerKind kind, const std::string& filter, const std::string& offered = "") {
  const std::string folder = QCoreApplication::applicationDirPath().toStdString() + "/";
  const bool open = kind == PickerKind::Open;
  return {kind, open ? "Show Open" : "Show Save", filter, folder, offered, open, false};
}
const std::string kEncryptedAndSealedFilter = "Encrypted Files (*.encr);;Sealed Files (*.lkv)";

// The window as the program starts it, found and driven by object names.
struct Window {
  Window() {
    form->FillSizeLists();
    Type("txtPassword", "key");
    form->show();
    // Keys and focus need an exposed window, as it is for a user.
    if (!QTest::qWaitForWindowExposed(form.get())) qFatal("the window was never exposed");
  }

  template <typename W = QWidget>
  W* Get(const char* name) const {
    W* widget = form->findChild<W*>(QString::fromLatin1(name));
    if (!widget) qFatal("no widget named %s", name);
    return widget;
  }

  // Push buttons get a real mouse click; options and check boxes are clicked
  // through the button itself, as their hit area is only the indicator and text.
  void Click(const char* name) const {
    auto* button = Get<QAbstractButton>(name);
    if (qobject_cast<QPushButton*>(button))
      QTest::mouseClick(button, Qt::LeftButton);
    else
      button->click();
  }
  void Type(const char* name, const QString& text) const { Get<QLineEdit>(name)->setText(text); }
  // A file or batch job runs on, and is waited for.
  void Execute(const char* name = "cmdEncryptFile") const {
    if (auto* item = form->findChild<QAction*>(name))
      item->trigger();
    else
      Click(name);
    QTRY_VERIFY_WITH_TIMEOUT(!form->findChild<JobController*>()->Running(), 60000);
  }
  QString Status() const { return form->StatusText(); }
  QString Text(const char* name) const { return Get<QLineEdit>(name)->text(); }
  QProgressBar* Bar() const { return Get<QProgressBar>("pbBar"); }

  std::unique_ptr<frmMain> form = std::make_unique<frmMain>();
};

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
  QStringList Rows(bool sorted = false) const {  // "source|destination|overwrite|delete source"
    QStringList rows;
    for (int i = 0; i < List()->topLevelItemCount(); ++i) {
      const QTreeWidgetItem* item = List()->topLevelItem(i);
      rows << QStringList{item->text(0), item->text(1), item->text(2), item->text(3)}.join('|');
    }
    if (sorted) rows.sort();
    return rows;
  }
  // The rows as the job reads them: byte for byte, where the text shows U+FFFD.
  std::vector<BatchEntry> Entries() const {
    const BatchListView view(List());
    std::vector<BatchEntry> rows;
    for (std::size_t i = 0; i < view.Count(); ++i)
      rows.push_back(view.Row(i));
    return rows;
  }
  void Add(const QString& source, const QString& destination) {
    w.Type("txtFilename", source);
    w.Type("txtDestFilename", destination);
    w.form->cmdAdd_Click();  // enabled only by a browse, so called directly
  }
  void ClickRow(int row) const {
    List()->setCurrentItem(List()->topLevelItem(row));
    emit List()->itemClicked(List()->currentItem(), 0);
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
  // The browse window, as the source's Browse button opens it, and its controls.
  void OpenBrowse() {
    w.Click("cmdSourceBrowse");
    browse = w.form->findChild<QWidget*>("frmBrowse");
  }
  QAbstractButton* Get(const char* name) const {
    return browse->findChild<QAbstractButton*>(QString::fromLatin1(name));
  }
  void BrowseAndWait() const {  // OK rests while a folder search runs
    Get("cmdBrowse")->click();
    QTRY_VERIFY(Get("cmdBrowse")->isEnabled());
  }

  TempDir dir;
  Window w;
  ScriptedMessageBoxes boxes;
  ScriptedPickers pickers;
  QWidget* browse = nullptr;
};

// Sends a drag over `target` and, when it is taken, the drop; true when the drop was taken.
bool Drop(QWidget* target, QMimeData* data) {
  const QPoint at = target->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(at), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  return drop.isAccepted();
}

QMimeData* Files(const QStringList& paths, const std::string& bytes = "") {
  auto* data = new QMimeData;
  for (const QString& path : paths)
    data->setUrls(data->urls() << QUrl::fromLocalFile(path));
  if (!bytes.empty())  // a name that is not UTF-8, as a file manager sends it
    data->setUrls(data->urls() << QUrl::fromEncoded(
                      "file://" + QByteArray::fromStdString(bytes).toPercentEncoding("/")));
  return data;
}

// A name as it may come: "*", "?", a line break, a tab, a leading "-" and a byte not UTF-8;
// on Windows, which holds none of these but the "-", a blank, "%", "~", brackets and ";".
#ifdef Q_OS_WIN
const std::string kOddName = "sub/-% ~[x];.encr";
#else
const std::string kOddName = "sub/-?*\n\t\xff.encr";
#endif

// Runs `body` with folders read as their permissions say, by root too: this thread and the
// threads it starts leave the capabilities that pass over them.
void HeedingPermissions(const std::function<void()>& body) {
#ifdef Q_OS_WIN
  body();
#else
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved[2]{}, heeding[2]{};
  syscall(SYS_capget, &header, saved);
  std::copy(saved, saved + 2, heeding);
  heeding[0].effective &= ~(1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH);
  syscall(SYS_capset, &header, heeding);
  body();
  syscall(SYS_capset, &header, saved);
#endif
}

// Calls `step` from the window's own event handling, as often as it can, until it says done.
void WhileRunning(const std::function<bool()>& step) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, step] {
    if (!step()) return;
    timer->stop();
    timer->deleteLater();
  });
  timer->start(0);
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void eachModeShowsItsControlsInOrder() {
    // option, outer height, captions, whether the file names and the batch list show
    const std::tuple<const char*, int, const char*, const char*, bool, bool> kLayouts[] = {
        {"optSingleFile", 5300, "Encrypt File", "Decrypt File", true, false},
        {"optMultipleFiles", 8580, "Encrypt Files", "Decrypt Files", true, true},
        {"optText", 5985, "Encrypt text", "Decrypt text", false, false}};
    Window w, single;
    for (const auto& [option, outerHeight, encryptCaption, decryptCaption, files, batch] :
         kLayouts) {
      w.Click(option);
      for (const char* name : {"txtFilename", "txtDestFilename", "cmdSourceBrowse", "cmdDestBrowse",
                               "chkOverwrite", "chkDeleteSourceFile"})
        QCOMPARE(w.Get(name)->isVisible(), files);
      QCOMPARE(w.Get("txtEncrypt")->isVisible(), !files);
      for (const char* name : {"cmdAdd", "cmdEdit", "cmdRemove", "cmdClear", "lstEncrypt"})
        QCOMPARE(w.Get(name)->isVisible(), batch);
      QCOMPARE(w.Get<QRadioButton>("optEncrypt")->text(), encryptCaption);
      QCOMPARE(w.Get<QRadioButton>("optDecrypt")->text(), decryptCaption);
      // The details, then the list, then the Execute row.
      const int executeTop = w.Get("cmdEncryptFile")->y();
      QVERIFY(w.Get("fraDetails")->geometry().bottom() <
              (batch ? w.Get("cmdAdd")->y() : executeTop));
      if (batch) QVERIFY(w.Get("lstEncrypt")->geometry().bottom() < executeTop);
      for (const char* name : {"optEncrypt", "optDecrypt", "pbBar"})
        QCOMPARE(w.Get(name)->y(), executeTop);
      QCOMPARE(w.form->height() - single.form->height(), Px(outerHeight) - Px(5300));
      for (QWidget* child : w.form->centralWidget()->findChildren<QWidget*>())
        if (child->isVisible() && child->parentWidget()->isVisible())
          QVERIFY2(child->parentWidget()->rect().contains(child->geometry()),
                   qPrintable(child->objectName()));
    }
  }

  // The file job gets the names, key, key size, direction and each of the two options, from the
  // button or the menu, and the window shows its status and a full bar; a decrypted source goes
  // to the desktop's trash. An unexpected error reaches the reporter, which names the statement,
  // and the inputs come back. The text job gets the text as typed, line breaks as CR LF and a
  // no-break space as itself. In the text box Tab moves on to the key, Ctrl+Tab types a tab.
  void jobsTakeTheWindowsInputsAndShowWhatComesBack() {
    TempDir dir;
    Window w;
    ScriptedMessageBoxes boxes;
    const Bytes content = RandomBytes(1000, 7);
    const std::string plain = dir / "plain", encrypted = dir / "plain.encr";
    w.Type("txtFilename", "/proc/self/mem");  // a regular file that cannot be read
    w.Type("txtDestFilename", QString::fromStdString(encrypted));
    w.Get<QComboBox>("cboKeySize")->setCurrentIndex(2);
    boxes.Queue("Y");
    w.Execute();
    QVERIFY(boxes.TakeAsked().at(1).text.ends_with(
        "Error Code: RunFileJob(cipher, request)\r\nDo you wish to pause on this error again?"));
    QVERIFY(w.Get("txtFilename")->isEnabled() && dir.Entries().empty());

    WriteFile(plain, content);
    WriteFile(encrypted, {'o', 'l', 'd'});
    w.Type("txtFilename", QString::fromStdString(plain));
    w.Click("chkDeleteSourceFile");
    boxes.Queue("YY");  // go on, and replace the old file: the overwrite option is off
    w.Execute("mnuExecute");
    QVERIFY(boxes.TakeAsked().size() == 3 && dir.Entries() == Names{"plain.encr"});
    QVERIFY(w.Status() == "Completed" && w.Bar()->value() == 1001 && w.Bar()->maximum() == 1001);
    QVERIFY(ReadFile(encrypted) == OpenSslEcb(true, Key("key"), 256, PadWithLengthByte(content)));
    WriteFile(plain, {'o', 'l', 'd'});
    w.Click("optDecrypt");  // swaps the names
    w.Click("chkOverwrite");
    // A decrypted source goes to the trash, that of the home when it is on the same disk.
    TempDir dataHome;
    const QByteArray home = qgetenv("HOME");
    for (const char* name : {"HOME", "XDG_DATA_HOME"})
      qputenv(name, QByteArray::fromStdString(dataHome.Path().generic_string()));
    boxes.Queue("Y");
    w.Execute();
    qputenv("HOME", home);
    const auto asked = boxes.TakeAsked();  // nothing asked about replacing "plain"
    QVERIFY(ReadFile(plain) == content);
    // Where no recycle bin can take it, the source stays and the user is told.
    const bool kept = RecycleBinMissing();
    QVERIFY2(asked.size() == (kept ? 3u : 2u) &&
                 dir.Entries() == (kept ? Names({"plain", "plain.encr"}) : Names({"plain"})),
             qPrintable(Describe(asked)));
    if (kept) QVERIFY(asked[2].title == "Delete Source File" && std::filesystem::remove(encrypted));
#ifndef Q_OS_WIN
    QVERIFY(std::filesystem::exists(dataHome / "Trash/files/plain.encr"));
#endif

    w.Click("optText");
    w.Click("optEncrypt");
    auto* area = w.Get<QPlainTextEdit>("txtEncrypt");
    area->setPlainText(QStringLiteral("a\nb\u00a0c\u2028d"));  // a paragraph, then a line break
    boxes.Queue("Y");
    w.Execute();
    // In UTF-8, zero-padded to a block.
    const Bytes typed{'a', '\r', '\n', 'b', 0xC2, 0xA0, 'c', '\r', '\n', 'd', 0, 0, 0, 0, 0, 0};
    QCOMPARE(area->toPlainText().toStdString(),
             HexDisplay(OpenSslEcb(true, Key("key"), 256, typed), 16));
    w.Get<QComboBox>("cboKeySize")->setItemData(2, 100);  // a size the cipher refuses
    boxes.Queue("Y");
    w.Execute();
    QVERIFY(
        boxes.asked.back().text.ends_with("Error Code: cipher.SetCipherKey(pass->Bytes(), "
                                          "KeyBits)\r\nDo you wish to pause on this error again?"));

    area->clear();
    w.form->activateWindow();
    area->setFocus();
    QTest::keyClick(area, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(area->toPlainText(), QStringLiteral("\t"));
    QTest::keyClick(area, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.Get("txtPassword"));
  }

  // In the mode Single file the pickers set the names by the direction, and a switch of
  // direction swaps them when the name it probes holds ".encr" (case heeded); in the mode Text
  // nothing is swapped. The batch list outlives mode switches, not one of direction. The
  // window's pickers get no overwrite prompt; a caller that leaves the flags at 0 gets one,
  // and that setting stays. Drops fill the inputs as the source's Browse button and the browse
  // window would: one file in the mode Single file, files and folders (with their subfolders) in
  // the mode Multiple files with the window's two boxes, text only in the mode Text.
  void namesFollowThePickersDropsAndTheDirection() {
    ListWindow l;
    l.List()->addTopLevelItem(new QTreeWidgetItem({"a", "a.encr", "No", "No"}));
    l.w.Click("optSingleFile");
    l.pickers.Queue({"/a/report.pdf", "/a/other.pdf"});
    l.w.Click("cmdSourceBrowse");
    QCOMPARE(l.State().first(2), (QStringList{"/a/report.pdf", "/a/report.pdf.encr"}));
    l.w.Click("cmdSourceBrowse");  // cancelled: nothing changes
    l.pickers.Queue({"/out/x.encr"});
    l.w.Click("cmdDestBrowse");
    l.w.Click("optDecrypt");
    QCOMPARE(l.State().first(2), (QStringList{"/out/x.encr", "/a/report.pdf"}));
    l.pickers.Queue({"/a/report.pdf.encr"});
    l.w.Click("cmdSourceBrowse");
    QCOMPARE(l.State().first(2), (QStringList{"/a/report.pdf.encr", "/a/report.pdf"}));
    l.w.Click("optEncrypt");
    QCOMPARE(l.State().first(2), (QStringList{"/a/report.pdf", "/a/report.pdf.encr"}));
    l.w.Type("txtFilename", "A.ENCR");
    l.w.Type("txtDestFilename", "b");
    l.w.Click("optDecrypt");
    l.w.Click("optEncrypt");
    l.w.Type("txtDestFilename", "b.encr");
    l.w.Click("optText");
    l.w.Click("optDecrypt");
    QCOMPARE(l.State().first(2), (QStringList{"A.ENCR", "b.encr"}));
    l.w.Click("optMultipleFiles");
    QCOMPARE(l.Rows().size(), 1);
    l.w.Click("optEncrypt");
    QVERIFY(l.Rows().isEmpty());

    const auto open = PickerKind::Open;
    QVERIFY(
        l.pickers.asked ==
        std::vector({Asked(open, "All Files (*)"), Asked(open, "All Files (*)", "/a/report.pdf"),
                     Asked(PickerKind::Save, "Encrypted Files (*.encr)"),
                     Asked(open, kEncryptedAndSealedFilter, "/out/x.encr")}));
    FileDialog.flags = 0;  // as another caller may leave them
    ShowSave(nullptr, true);
    ShowSave(nullptr, true);
    QVERIFY(l.pickers.asked.at(4).confirmOverwrite && l.pickers.asked.at(5).confirmOverwrite);
    QVERIFY(l.pickers.owners[0] == l.w.form.get());

#ifdef Q_OS_WIN
    QSKIP(
        "the drops below carry names that Windows cannot hold: \"*\", \"?\", control "
        "characters and bytes that are not UTF-8");
#endif
    l.w.Click("optDecrypt");
    // The odd name and its twin, named as the odd one shows with U+FFFD.
    const std::string odd = l.dir / kOddName, twin = l.dir / "sub/-?*\n\t\uFFFD.encr";
    for (const std::string& name : {odd, twin})
      WriteFile(name, {'x'});
    l.w.Click("optSingleFile");
    QVERIFY(!Drop(l.w.form.get(), Files({l.Path("a.txt"), l.Path("C.ENCR")})));
    QVERIFY(!Drop(l.w.Get("txtFilename"), Files({}, odd)));  // the box cannot hold its name
    QVERIFY(Drop(l.w.Get("txtFilename"), Files({l.Path("sub/b.txt.encr")})));
    QCOMPARE(l.State().first(2), (QStringList{l.Path("sub/b.txt.encr"), l.Path("sub/b.txt")}));

    l.w.Click("optMultipleFiles");
    l.w.Click("chkDeleteSourceFile");
    QVERIFY(Drop(l.w.form.get(), Files({l.Path("a.txt.encr"), l.Path("sub")}, odd)));
    const QString shown =
        QString::fromStdString(twin + "|" + DestinationFor(twin, false) + "|No|Yes");
    QCOMPARE(l.Rows(true),
             (QStringList{l.Path("a.txt.encr") + "|" + l.Path("a.txt") + "|No|Yes", shown, shown,
                          shown, l.Path("sub") + "/b.txt.encr|" + l.Path("sub") + "/b.txt|No|Yes",
                          l.Path("sub") + "/x.encr.encr|" + l.Path("sub") + "/x.encr|No|Yes"}));
    const BatchEntry oddRow{odd, DestinationFor(odd, false), false, true};
    QCOMPARE(std::ranges::count(l.Entries(), oddRow), 2);  // one found in "sub", one dropped

    l.w.Click("optText");
    auto* text = new QMimeData;
    text->setText("dropped");
    QVERIFY(Drop(l.w.form.get(), text));
    QVERIFY(!Drop(l.w.form.get(), Files({l.Path("a.txt")})));
    QVERIFY(!Drop(l.w.Get<QPlainTextEdit>("txtEncrypt")->viewport(), Files({l.Path("a.txt")})));
    QCOMPARE(l.w.Get<QPlainTextEdit>("txtEncrypt")->toPlainText(), "dropped");
  }

  // Add takes what the finder finds. Edit loads the row clicked, Accept Changes writes the
  // inputs into the row selected then; clicking a row drops an edit in progress. A batch run
  // shows a failed row's reason in red until the next run, clears the delete flag of a source
  // kept for a later row, and removes a later row that would use a deleted source.
  void batchListEditingButtonStatesAndFailedRows() {
    ListWindow l;
    l.Add("", "x");
    l.Add(l.Path("sub"), "x");  // the finder takes a folder only with "/"
    LV_EXPECT_ASKED(l.boxes, NoticeBox("Please select a source filename", "Filename"),
                    NoticeBox("Source file does not exist. Please enter a valid source filename",
                              "Source filename"));
    QCOMPARE(l.State().last(), QStringLiteral("0000"));
    for (const char* found : {"a.txt", ".hidden", "sub/", "sub/*.ENCR"})
      l.Add(l.Path(found), found);
    l.w.Click("chkOverwrite");
    l.Add(l.Path("a.txt"), "a.encr");
    LV_EXPECT_ASKED(l.boxes);

    l.List()->topLevelItem(1)->setText(3, "Yes");  // a row that deletes its source
    l.ClickRow(1);
    QCOMPARE(l.State(), (QStringList{"", "", "Yes", "No", "Edit", "0111"}));
    l.w.Click("cmdEdit");
    QCOMPARE(l.State(),
             (QStringList{l.Path(".hidden"), ".hidden", "No", "Yes", "Accept Changes", "0111"}));
    l.ClickRow(2);
    QCOMPARE(l.State(), (QStringList{"", "", "No", "Yes", "Edit", "0111"}));
    l.w.Click("cmdEdit");
    l.w.Type("txtDestFilename", "three");
    l.List()->setCurrentItem(l.List()->topLevelItem(3));  // the selection moved meanwhile
    l.w.Click("cmdEdit");
    QVERIFY(l.Rows()[3] == l.Path("sub/") + "|three|No|No" && l.State()[4] == "Edit");

    for (int row : {1, 3})
      l.List()->topLevelItem(row)->setCheckState(0, Qt::Checked);
    l.w.Click("cmdRemove");
    QCOMPARE(l.Rows(),
             (QStringList{l.Path("a.txt") + "|a.txt|No|No", l.Path("sub/") + "|sub/|No|No",
                          l.Path("a.txt") + "|a.encr|Yes|No"}));
    QCOMPARE(l.State().last(), QStringLiteral("0001"));
    l.w.Click("cmdClear");
    QVERIFY(l.Rows().isEmpty() && l.State().last() == "0000");

    l.w.Get<QCheckBox>("chkOverwrite")->setChecked(true);
    l.Add(l.Path("C.ENCR"), l.Path("C.ENCR"));  // its own source
    l.w.Click("chkDeleteSourceFile");
    l.Add(l.Path("a.txt"), l.Path("a.encr"));
    l.w.Click("chkDeleteSourceFile");
    for (const char* name : {"a2.encr", "a3.encr"})
      l.Add(l.Path("a.txt"), l.Path(name));
    l.boxes.Queue("YNY");  // run, remove the a2 row, then keep a.txt for the a3 row
    l.w.Execute();
    QCOMPARE(l.boxes.TakeAsked().back().text,
             "1 of 3 files failed. The failed rows are shown in red; point at one to see why.");
    QCOMPARE(l.w.Status(), QStringLiteral("Error"));
    QCOMPARE(l.Rows().mid(1), (QStringList{l.Path("a.txt") + "|" + l.Path("a.encr") + "|Yes|No",
                                           l.Path("a.txt") + "|" + l.Path("a3.encr") + "|Yes|No"}));
    QTreeWidgetItem* failed = l.List()->topLevelItem(0);
    QCOMPARE(failed->foreground(1).color(), QColor(Qt::red));
    QCOMPARE(failed->toolTip(3),
             QStringLiteral("The destination file is the same as the source file"));
    QCOMPARE(l.List()->topLevelItem(1)->toolTip(0), QString());
    failed->setText(1, l.Path("b.encr"));
    l.boxes.Queue("Y");
    l.w.Execute();
    QVERIFY(failed->toolTip(3).isEmpty() && failed->foreground(1) == QBrush());
  }

  // Browsed folders: the list holds one row first, and only Yes to the clearing question
  // removes it; decrypting takes only names with ".encr", and odd names keep their bytes. Then
  // a cancelled pick keeps the browse window open, and a file picked fills the single-file
  // inputs; while a search runs a second OK is ignored, and Cancel stops it: nothing is added.
  // Folders that could not be searched are named in one notice, the first three of them.
  void browseWindowFillsTheListAndTheInputs() {
    const std::tuple<bool, bool, std::string_view, Names> cases[] = {
        {true,
         true,
         "Y",
         {".hidden", "C.ENCR", "a.txt", kOddName, "sub/b.txt.encr", "sub/x.encr.encr"}},
        {true, false, "N", {".hidden", "C.ENCR", "a.txt"}},
        {false, true, "C", {kOddName, "sub/b.txt.encr", "sub/x.encr.encr"}},
        {false, false, "Y", {}}};
    for (const auto& [encrypting, subFolders, answer, sources] : cases) {
      ListWindow l(encrypting);
      WriteFile(l.dir / kOddName, {'x'});
      if (!encrypting) WriteFile(l.dir / "y.enc", {'x'});  // no ".encr": no row
      l.List()->addTopLevelItem(new QTreeWidgetItem({"/old", "", "", ""}));
      l.OpenBrowse();
      l.boxes.Queue(answer);
      l.pickers.Queue({l.dir.Path().string()});
      l.Get("optFolder")->click();
      l.Get("chkSubFolders")->setChecked(subFolders);
      l.Get("chkOverwrite")->setChecked(encrypting);
      l.Get("chkDeleteSourceFiles")->setChecked(!encrypting);
      l.BrowseAndWait();

      QStringList expected;
      if (answer != "Y") expected << "/old|||";
      for (const std::string& name : sources)
        expected << l.Path(name) + "|" +
                        QString::fromStdString(DestinationFor(l.dir / name, encrypting)) +
                        (encrypting ? "|Yes|No" : "|No|Yes");
      QCOMPARE(l.Rows(true), expected);
      const BatchEntry odd{l.dir / kOddName, DestinationFor(l.dir / kOddName, encrypting),
                           encrypting, !encrypting};
      QCOMPARE(std::ranges::count(l.Entries(), odd), subFolders ? 1 : 0);
      QVERIFY(!l.browse->isVisible() && l.State().last() == (expected.empty() ? "0000" : "0001"));
      LV_EXPECT_ASKED(l.boxes, QuestionBox("Do you wish to clear the files list?", "Clear"));
      QVERIFY(l.pickers.asked.at(0).kind == PickerKind::Folder && l.pickers.owners[0] == l.browse);
    }

    ListWindow l(false);
    l.OpenBrowse();
    l.Get("cmdBrowse")->click();
    QVERIFY(l.browse->isVisible());
    l.pickers.Queue({"/d/b.encr", "/d/c.encr"});
    l.Get("chkDeleteSourceFiles")->click();
    l.Get("cmdBrowse")->click();
    QCOMPARE(l.State(), (QStringList{"/d/b.encr", "/d/b", "No", "Yes", "Edit", "1000"}));
    QVERIFY(!l.browse->isVisible() && l.boxes.asked.empty());
    QVERIFY(l.pickers.asked == std::vector(2, Asked(PickerKind::Open, "All Files (*)")));

    l.OpenBrowse();
    l.Get("optFolder")->click();
    l.Get("cmdBrowse")->click();
    QVERIFY(l.pickers.asked.size() == 3 && l.browse->isVisible());
    l.pickers.Queue({l.dir.Path().string()});
    l.Get("chkSubFolders")->click();  // files to decrypt are there
    l.Get("cmdBrowse")->click();
    l.Get("cmdBrowse")->click();
    l.browse->findChild<QThread*>()->wait();  // the search is over, its end not yet taken
    l.Get("cmdCancel")->click();
    QTRY_VERIFY(l.Get("cmdBrowse")->isEnabled());
    QVERIFY(l.pickers.asked.size() == 4 && l.Rows().empty() && !l.browse->isVisible());

#ifdef Q_OS_WIN
    QSKIP("a folder that its owner cannot search is made with Linux permissions");
#endif
    std::filesystem::permissions(l.dir / "sub", std::filesystem::perms::none);
    l.OpenBrowse();
    l.Get("optFolder")->click();
    l.Get("chkSubFolders")->click();
    l.pickers.Queue({l.dir.Path().string()});
    HeedingPermissions([&] { l.BrowseAndWait(); });
    std::filesystem::permissions(l.dir / "sub", std::filesystem::perms::owner_all);
    NoticeUnsearched({{"a", ""}, {"b", ""}, {"c", ""}, {"d", ""}});
    const auto notice = [](const std::string& text) {
      return MessageRequest{text, "Browse", MessageButtons::Ok, NoticeIcon::Exclamation};
    };
    LV_EXPECT_ASKED(l.boxes, notice("1 folder could not be searched: " + l.dir / "sub"),
                    notice("4 folders could not be searched: a, b, c"));
  }

  // Execute reads Cancel while a file job runs, with the other inputs at rest, drops refused and
  // the figures and the bar showing; the button or Esc stops the job: no output, the source
  // whole, no "Finished". In a batch, the rows done stay done and the later ones are not touched.
  void cancelStopsTheJobAndKeepsWhatWasDone() {
    ListWindow l;
    const std::string big = l.dir / "big";
    std::ofstream(big).seekp((3ull << 30) - 1) << '\0';  // sparse
    l.w.Click("optSingleFile");
    l.w.Type("txtFilename", QString::fromStdString(big));
    l.w.Type("txtDestFilename", QString::fromStdString(big + ".encr"));
    QStringList seen;
    WhileRunning([&] {
      if (l.w.Get<QLabel>("FiguresPanel")->text().isEmpty()) return false;
      seen = {l.w.Get<QPushButton>("cmdEncryptFile")->text(),
              l.w.Get<QLabel>("FiguresPanel")->text().section(' ', 2, 4),
              l.w.Get("txtFilename")->isEnabled() ? "enabled" : "at rest",
              QString::number(l.w.Bar()->maximum()),
              Drop(l.w.form.get(), Files({l.Path("a.txt")})) ? "dropped" : "refused"};
      l.w.Click("cmdEncryptFile");
      return true;
    });
    l.boxes.Queue("Y");
    l.w.Execute();
    // The bar counts in twos past its int range: 3 GiB and one, halved.
    QCOMPARE(seen, (QStringList{"Cancel", "of 3.2 GB", "at rest", "1610612736", "refused"}));
    LV_EXPECT_ASKED(l.boxes, QuestionBox("Are you sure you wish to encrypt this file?", "Encrypt"));
    QVERIFY(l.w.Status() == "Cancelled" && l.w.Get("txtFilename")->isEnabled());
    QVERIFY(l.w.Get<QLabel>("FiguresPanel")->text().isEmpty());  // a file's figures go with it
    QCOMPARE(l.w.Get<QPushButton>("cmdEncryptFile")->text(), QStringLiteral("Execute"));

    l.w.Click("optMultipleFiles");
    for (const char* name : {"a.txt", "big", ".hidden"})
      l.Add(l.Path(name), l.Path(name) + ".encr");
    WhileRunning([&] {
      if (!l.w.Get<QLabel>("FiguresPanel")->text().contains("GB")) return false;
      QTest::keyClick(l.w.form.get(), Qt::Key_Escape);
      return true;
    });
    l.w.form->activateWindow();
    l.boxes.Queue("Y");
    l.w.Execute();
    QCOMPARE(l.boxes.TakeAsked().size(), size_t{1});  // no "Finished"
    QCOMPARE(l.w.Get<QLabel>("FiguresPanel")->text(), "1 done, 0 skipped, 0 failed");
    QVERIFY(l.w.Status() == "Cancelled" && l.w.Get("cmdClear")->isEnabled());
    QCOMPARE(l.dir.Entries(), (Names{".hidden", "C.ENCR", "a.txt", "a.txt.encr", "big", "sub"}));
    QCOMPARE(std::filesystem::file_size(big), 3ull << 30);

    // A close while the job asks cancels it once answered; the window closes when it is over.
    l.w.Click("optSingleFile");
    l.boxes.whileShown = [&] { l.w.form->close(); };
    l.boxes.Queue("Y");
    l.w.Execute();
    QVERIFY(l.w.Status() == "Cancelled" && !l.w.form->isVisible());
    QCOMPARE(l.dir.Entries(), (Names{".hidden", "C.ENCR", "a.txt", "a.txt.encr", "big", "sub"}));
  }

  // The choice is stored and named in the status bar; LOCKVALE_CODEPAGE overrides it.
  void codePageIsChosenInTheMenuAndStored() {
    TempDir config;
    StartWithoutSettings(QString::fromStdString(config.Path().generic_string()));
    Window w;
    auto* named = w.Get<QLabel>("CodePagePanel");
    // One that is not the system's (Wine's is windows-1252); both hold "ü" as 0xFC.
    const QString chosen =
        CodePage::SystemName() == "windows-1252" ? "windows-1250" : "windows-1252";
    w.form->findChild<QAction*>("mnuCodePage_" + chosen)->trigger();
    QCOMPARE(named->text(), "Code page: " + chosen);
    QCOMPARE(GetString(RegistryRoot::CurrentUser, "SOFTWARE\\QV", "LockvaleCodePage"),
             chosen.toStdString());
    QVERIFY(CodePage::ForThisSystem().Encode("\u00FC") == Bytes{0xFC});
    qputenv("LOCKVALE_CODEPAGE", "windows-1251");
    w.form->mnuCodePage_Click("");
    QVERIFY(named->text() == "Code page: windows-1251" && !w.Get("mnuCodePage")->isEnabled());
    qunsetenv("LOCKVALE_CODEPAGE");
    w.form->mnuCodePage_Click("");
    QVERIFY(named->text().isEmpty() && w.Get("mnuCodePage")->isEnabled());
  }

  // Options ▸ Format, stored: Sealed names the results ".lkv" and offers them to save, fixes the
  // key size and shows in the status bar; the key is derived on the worker under its status.
  // Sealed files and texts open by content, whatever the choice; decrypting offers both formats.
  void sealedFormatIsChosenInTheMenu() {
    TempDir dir;
    StartWithoutSettings(QString::fromStdString(dir.Path().generic_string()));
    Window w;
    ScriptedMessageBoxes boxes;
    ScriptedPickers pickers;
    const auto run = [&](const char* direction) {
      w.Click(direction);
      boxes.Queue("Y");
      w.Execute();
    };
    const std::string plain = dir / "plain";
    WriteFile(plain, {'p'});
    w.Type("txtFilename", "x");
    w.Type("txtDestFilename", "x.encr");  // named by the rule, so it follows the format
    w.form->findChild<QAction*>("mnuFormatSealed")->trigger();
    QCOMPARE(GetString(RegistryRoot::CurrentUser, "SOFTWARE\\QV", "LockvaleFormat"), "lkv");
    QCOMPARE(w.Get<QLineEdit>("txtDestFilename")->text(), "x.lkv");
    QVERIFY(w.Get<QLabel>("FormatPanel")->text() == "Sealed (.lkv)" &&
            !w.Get("cboKeySize")->isEnabled());
    pickers.Queue({plain});
    w.Click("cmdSourceBrowse");
    w.Click("cmdDestBrowse");  // cancelled
    bool deriving = false;
    WhileRunning([&] { return deriving = w.Status() == "Deriving the key…"; });
    run("optEncrypt");  // the default derivation: long enough to be seen
    QVERIFY(deriving && ReadFile(plain + ".lkv").size() == 88 + 1 + 16);
    std::filesystem::remove(plain);
    run("optDecrypt");           // the names swapped
    w.Click("cmdSourceBrowse");  // cancelled
    QVERIFY(ReadFile(plain) == Bytes{'p'} && w.Get("cboKeySize")->isEnabled());
    QVERIFY(pickers.asked.at(1).filter == "Sealed Files (*.lkv)" &&
            pickers.asked.at(2).filter == kEncryptedAndSealedFilter);

    test_hooks::SetSealingSettings({1, 8, 1});
    w.Click("optText");
    auto* area = w.Get<QPlainTextEdit>("txtEncrypt");
    area->setPlainText("sealed");
    run("optEncrypt");
    test_hooks::SetSealingSettings({});
    QVERIFY(area->toPlainText().startsWith("894C4B560D0A1A0A0101000001000000  08000000"));
    w.form->findChild<QAction*>("mnuFormatCompatible")->trigger();
    run("optDecrypt");
    QVERIFY(area->toPlainText() == "sealed" && w.Get<QLabel>("FormatPanel")->text().isEmpty());
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
