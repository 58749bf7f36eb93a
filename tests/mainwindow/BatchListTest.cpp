// The batch list in the window: adding and editing rows, button states, and a batch run that
// marks the rows that failed.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "WindowFixture.h"

using namespace lockvale::test;

namespace {

// The window in the mode Multiple files, and a folder with a.txt, .hidden and sub/b.txt.
struct ListWindow {
  ListWindow() {
    w.Click("optMultipleFiles");
    QDir(dir.path()).mkdir("sub");
    for (const char* name : {"a.txt", ".hidden", "sub/b.txt"}) {
      QFile file(Path(name));
      (void)file.open(QIODevice::WriteOnly);
      file.write("content");
    }
  }
  QString Path(const QString& name) const { return dir.filePath(name); }
  QTreeWidget* List() const { return w.Get<QTreeWidget>("lstEncrypt"); }
  QStringList Row(int index) const {
    QStringList texts;
    for (int column = 0; column < 4; ++column)
      texts << List()->topLevelItem(index)->text(column);
    return texts;
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
  QList<bool> Enabled() const {
    QList<bool> states;
    for (const char* name : {"cmdAdd", "cmdEdit", "cmdRemove", "cmdClear"})
      states << w.Get(name)->isEnabled();
    return states;
  }
  // The names, the two boxes and the Edit button's caption.
  QStringList Inputs() const {
    QStringList inputs{w.Text("txtFilename"), w.Text("txtDestFilename")};
    for (const char* name : {"chkOverwrite", "chkDeleteSourceFile"})
      inputs << (w.Get<QCheckBox>(name)->isChecked() ? "Yes" : "No");
    return inputs << w.Get<QPushButton>("cmdEdit")->text();
  }

  QTemporaryDir dir;
  Window w;
  ScriptedMessageBoxes boxes;
};

}  // namespace

class BatchListTest : public QObject {
  Q_OBJECT

 private slots:
  void addTakesWhatTheFinderFinds() {
    ListWindow l;
    l.Add("", "x");
    for (const char* missing : {"missing.txt", "sub", "sub/*.doc"})
      l.Add(l.Path(missing), "x");
    const auto notFound = NoticeBox(
        "Source file does not exist. Please enter a valid source filename", "Source filename");
    LV_EXPECT_ASKED(l.boxes, NoticeBox("Please select a source filename", "Filename"), notFound,
                    notFound, notFound);
    QCOMPARE(l.Enabled(), (QList<bool>{false, false, false, false}));
    for (const char* found : {"a.txt", ".hidden", "sub/", "sub/*.TXT"})
      l.Add(l.Path(found), "");
    l.w.Click("chkOverwrite");
    l.Add(l.Path("a.txt"), "a.encr");
    LV_EXPECT_ASKED(l.boxes);
    QCOMPARE(l.List()->topLevelItemCount(), 5);
    QCOMPARE(l.Row(4), (QStringList{l.Path("a.txt"), "a.encr", "Yes", "No"}));
    QCOMPARE(l.Enabled(), (QList<bool>{false, false, false, true}));
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
    QCOMPARE(l.Enabled(), (QList<bool>{false, true, true, true}));
    QCOMPARE(l.Inputs(), (QStringList{"", "", "No", "No", "Edit"}));
    l.w.Click("cmdEdit");
    QCOMPARE(l.Inputs(), (QStringList{l.Path("a.txt"), "2", "No", "Yes", "Accept Changes"}));
    l.ClickRow(2);
    QCOMPARE(l.Inputs(), (QStringList{"", "", "No", "Yes", "Edit"}));
    l.w.Click("cmdEdit");
    l.w.Type("txtDestFilename", "three");
    l.List()->setCurrentItem(l.List()->topLevelItem(3));  // the selection moved meanwhile
    l.w.Click("cmdEdit");
    QCOMPARE(l.Row(3), (QStringList{l.Path("a.txt"), "three", "No", "No"}));
    QCOMPARE(l.w.Get<QPushButton>("cmdEdit")->text(), QStringLiteral("Edit"));

    for (int row : {1, 3})
      l.List()->topLevelItem(row)->setCheckState(0, Qt::Checked);
    l.w.Click("cmdRemove");
    QCOMPARE(l.Row(1)[1] + l.Row(2)[1], QStringLiteral("35"));
    QCOMPARE(l.List()->topLevelItemCount(), 3);
    QCOMPARE(l.Enabled(), (QList<bool>{false, false, false, true}));
    l.w.Click("cmdClear");
    QCOMPARE(l.List()->topLevelItemCount(), 0);
    QCOMPARE(l.Enabled(), (QList<bool>{false, false, false, false}));
  }

  // A failed row shows the reason in red until the next run; a kept source clears its row's
  // delete flag.
  void batchRunMarksFailedRowsAndKeepsSources() {
    ListWindow l;
    l.w.Type("txtPassword", "key");
    l.w.Click("chkOverwrite");
    l.Add(l.Path("sub/b.txt"), l.Path("sub/b.txt"));  // its own source
    l.w.Click("chkDeleteSourceFile");
    l.Add(l.Path("a.txt"), l.Path("a.encr"));
    l.w.Click("chkDeleteSourceFile");
    l.Add(l.Path("a.txt"), l.Path("a2.encr"));
    l.boxes.answers = {MessageAnswer::Yes, MessageAnswer::Yes};  // run, keep a.txt
    l.w.Execute();
    QCOMPARE(l.boxes.TakeAsked().size(), size_t{2});
    QCOMPARE(l.w.Status(), QStringLiteral("Error"));
    QCOMPARE(l.Row(1)[3], QStringLiteral("No"));
    QVERIFY(QFile::exists(l.Path("a.txt")) && QFile::exists(l.Path("a2.encr")));
    QTreeWidgetItem* failed = l.List()->topLevelItem(0);
    QCOMPARE(failed->foreground(1).color(), QColor(Qt::red));
    QCOMPARE(failed->toolTip(3),
             QStringLiteral("The destination file is the same as the source file"));
    QCOMPARE(l.List()->topLevelItem(1)->toolTip(0), QString());
    failed->setText(1, l.Path("b.encr"));
    l.boxes.Queue(MessageAnswer::Yes);
    l.w.Execute();
    QCOMPARE(l.w.Status(), QStringLiteral("Completed"));
    QVERIFY(failed->toolTip(3).isEmpty() && failed->foreground(1) == QBrush());
    QCOMPARE(l.boxes.unscripted, 0);
  }
};

QTEST_MAIN(BatchListTest)
#include "BatchListTest.moc"
