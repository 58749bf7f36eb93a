// The batch list in the window: editing, button states, and a batch run from its rows.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "WindowFixture.h"

using namespace lockvale;
using namespace lockvale::test;

namespace {

struct ListWindow {
  ListWindow() {
    w.Click("optMultipleFiles");
    for (const char* name : {"a.txt", ".hidden", "sub/b.txt"}) {
      QDir(dir.path()).mkpath(QFileInfo(Path(name)).path());
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
  QList<bool> Enabled() const {
    QList<bool> states;
    for (const char* name : {"cmdAdd", "cmdEdit", "cmdRemove", "cmdClear"})
      states << w.Get(name)->isEnabled();
    return states;
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
    QCOMPARE(l.Row(0), (QStringList{l.Path("a.txt"), "", "No", "No"}));
    QCOMPARE(l.Row(4), (QStringList{l.Path("a.txt"), "a.encr", "Yes", "No"}));
    QCOMPARE(l.Enabled(), (QList<bool>{false, false, false, true}));
  }

  void editRemoveAndClearFollowTheirButtonStates() {
    ListWindow l;
    for (const char* name : {"1", "2", "3", "4", "5"})
      l.Add(l.Path("a.txt"), name);
    l.List()->topLevelItem(1)->setText(2, "yes");  // only "Yes" ticks a box
    l.List()->topLevelItem(1)->setText(3, "Yes");
    auto clickRow = [&](int row) {
      l.List()->setCurrentItem(l.List()->topLevelItem(row));
      emit l.List()->itemClicked(l.List()->topLevelItem(row), 0);
    };
    clickRow(1);
    QCOMPARE(l.Enabled(), (QList<bool>{false, true, true, true}));
    QCOMPARE(l.w.Text("txtFilename"), QString());
    l.w.Click("cmdEdit");
    QCOMPARE(l.w.Text("txtDestFilename"), QStringLiteral("2"));
    QVERIFY(!l.w.Get<QCheckBox>("chkOverwrite")->isChecked());
    QVERIFY(l.w.Get<QCheckBox>("chkDeleteSourceFile")->isChecked());
    QCOMPARE(l.w.Get<QPushButton>("cmdEdit")->text(), QStringLiteral("Accept Changes"));
    l.w.Type("txtDestFilename", "two");
    clickRow(2);  // drops the edit in progress
    QCOMPARE(l.w.Get<QPushButton>("cmdEdit")->text(), QStringLiteral("Edit"));
    l.w.Click("cmdEdit");
    l.w.Type("txtDestFilename", "three");
    l.List()->setCurrentItem(l.List()->topLevelItem(3));  // the selection moved meanwhile
    l.w.Click("cmdEdit");
    QCOMPARE(l.Row(3), (QStringList{l.Path("a.txt"), "three", "No", "No"}));

    for (int row : {1, 3})
      l.List()->topLevelItem(row)->setCheckState(0, Qt::Checked);
    l.w.Click("cmdRemove");
    QCOMPARE(l.List()->topLevelItemCount(), 3);
    QCOMPARE(l.Row(1)[1] + l.Row(2)[1], QStringLiteral("35"));
    QCOMPARE(l.Enabled(), (QList<bool>{false, false, false, true}));
    l.w.Click("cmdClear");
    QCOMPARE(l.List()->topLevelItemCount(), 0);
    QCOMPARE(l.Enabled(), (QList<bool>{false, false, false, false}));
  }

  void batchRunMarksTheRowsThatFailed() {
    ListWindow l;
    l.w.Type("txtPassword", "key");
    l.w.Click("chkOverwrite");
    l.Add(l.Path("a.txt"), l.Path("a.txt"));  // its own source
    l.Add(l.Path("sub/b.txt"), l.Path("b.encr"));
    l.boxes.Queue(MessageAnswer::Yes);
    l.w.Execute();
    LV_EXPECT_ASKED(l.boxes,
                    QuestionBox("Are you sure you wish to encrypt these files?", "Encrypt"));
    QCOMPARE(l.w.Status(), QStringLiteral("Error"));
    QVERIFY(QFile::exists(l.Path("b.encr")));
    const QTreeWidgetItem* failed = l.List()->topLevelItem(0);
    QCOMPARE(failed->foreground(1).color(), QColor(Qt::red));
    QCOMPARE(failed->toolTip(0),
             QStringLiteral("The destination file is the same as the source file"));
    QCOMPARE(l.List()->topLevelItem(1)->toolTip(0), QString());
  }
};

QTEST_MAIN(BatchListTest)
#include "BatchListTest.moc"
