// The window itself: its layouts, the direction switch, and how it hands its inputs
// to the jobs and shows what they report. The jobs' own rules are tested without it.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>

#include "TestSupport.h"
#include "WindowFixture.h"
#include "jobs/HexText.h"
#include "mainwindow/JobProgress.h"
#include "mainwindow/Twips.h"

using namespace lockvale::test;

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
      // Top to bottom: names or text, key, sizes, options; then the list and the Execute row.
      QStringList order = {files ? "txtDestFilename" : "lblTexttoEncrypt", "txtPassword",
                           "cboBlockSize", "cboKeySize"};
      if (files) order << "chkOverwrite";
      for (int i = 1; i < order.size(); ++i)
        QVERIFY(w.Get(qPrintable(order[i - 1]))->y() < w.Get(qPrintable(order[i]))->y());
      const int executeTop = w.Get("cmdEncryptFile")->y();
      QVERIFY(w.Get("fraDetails")->geometry().bottom() <
              (batch ? w.Get("cmdAdd")->y() : executeTop));
      if (batch) QVERIFY(w.Get("lstEncrypt")->geometry().bottom() < executeTop);
      for (const char* name : {"optEncrypt", "optDecrypt", "pbBar"})
        QCOMPARE(w.Get(name)->y(), executeTop);
      QCOMPARE(w.Form().height() - single.Form().height(), Px(outerHeight) - Px(5300));
      for (QWidget* child : w.Form().centralWidget()->findChildren<QWidget*>())
        if (child->isVisible() && child->parentWidget()->isVisible())
          QVERIFY2(child->parentWidget()->rect().contains(child->geometry()),
                   qPrintable(child->objectName()));
    }
  }

  void directionSwitchSwapsEncrNamesAndEmptiesTheBatchList() {
    Window w;
    auto names = [&] { return QStringList{w.Text("txtFilename"), w.Text("txtDestFilename")}; };
    w.Type("txtFilename", "a.txt");
    w.Type("txtDestFilename", "a.txt.encr");
    w.Click("optDecrypt");
    QCOMPARE(names(), (QStringList{"a.txt.encr", "a.txt"}));
    w.Click("optEncrypt");
    QCOMPARE(names(), (QStringList{"a.txt", "a.txt.encr"}));
    w.Type("txtFilename", "A.ENCR");  // the test for ".encr" heeds case
    w.Type("txtDestFilename", "b");
    w.Click("optDecrypt");
    w.Click("optEncrypt");
    w.Type("txtDestFilename", "b.encr");
    w.Click("optText");  // names are kept, and not swapped, in the mode Text
    w.Click("optDecrypt");
    QCOMPARE(names(), (QStringList{"A.ENCR", "b.encr"}));
    w.Click("optMultipleFiles");
    auto* list = w.Get<QTreeWidget>("lstEncrypt");
    list->addTopLevelItem(new QTreeWidgetItem({"a", "a.encr", "No", "No"}));
    w.Click("optSingleFile");
    w.Click("optMultipleFiles");
    QCOMPARE(list->topLevelItemCount(), 1);
    w.Click("optEncrypt");
    QCOMPARE(list->topLevelItemCount(), 0);
  }

  // Names, key, key size, direction and each of the two options reach the job. The job runs
  // to its end without an event loop, yet the bar and the status are painted. An unexpected
  // error reaches the reporter, which names the statement.
  void fileJobTakesTheWindowsInputsAndPaintsItsProgress() {
    TempDir dir;
    Window w;
    ScriptedMessageBoxes boxes;
    const Bytes content(16 << 20, 'x');
    const std::string plain = dir / "plain", encrypted = dir / "plain.encr";
    WriteFile(plain, content);
    WriteFile(encrypted, {'o', 'l', 'd'});
    w.Type("txtFilename", QString::fromStdString(plain));
    w.Type("txtDestFilename", QString::fromStdString(encrypted));
    w.Type("txtPassword", "correct horse");
    w.Get<QComboBox>("cboKeySize")->setCurrentIndex(2);
    w.Click("chkDeleteSourceFile");
    struct PaintSpy : QObject {
      QMap<QObject*, QStringList> painted;  // the text each paint showed
      bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
          painted[watched] << watched->property("text").toString();
        return false;
      }
    } spy;
    auto* status = w.Get<QLabel>("StatusPanel");
    w.Bar()->installEventFilter(&spy);
    status->installEventFilter(&spy);
    boxes.Queue("YY");
    w.Get<QAction>("mnuExecute")->trigger();
    LV_EXPECT_ASKED(boxes, QuestionBox("Are you sure you wish to encrypt this file?", "Encrypt"),
                    QuestionBox(encrypted + " already exists. Do you wish to overwrite it?",
                                "Lockvale", NoticeIcon::Information),
                    NoticeBox("Encrypt Finished", "Status"));
    QVERIFY2(spy.painted[w.Bar()].size() >= 10, qPrintable(spy.painted[w.Bar()].join(',')));
    QVERIFY(spy.painted[status].contains("Encrypting File"));
    QCOMPARE(w.Status(), QStringLiteral("Completed"));
    QVERIFY(w.Bar()->value() == (16 << 20) + 1 && w.Bar()->maximum() == (16 << 20) + 1);
    QVERIFY(dir.Entries() == Names{"plain.encr"});
    QVERIFY(ReadFile(encrypted) ==
            OpenSslEcb(true, Key("correct horse"), 256, PadWithLengthByte(content)));

    WriteFile(plain, {'o', 'l', 'd'});
    w.Click("optDecrypt");  // swaps the names
    w.Click("chkDeleteSourceFile");
    w.Click("chkOverwrite");
    boxes.Queue("Y");
    w.Execute();
    LV_EXPECT_ASKED(boxes, QuestionBox("Are you sure you wish to decrypt this file?", "Encrypt"),
                    NoticeBox("Decrypt Finished", "Status"));
    QVERIFY(ReadFile(plain) == content && dir.Entries() == Names({"plain", "plain.encr"}));

    w.Click("optEncrypt");
    w.Type("txtFilename", "/proc/self/mem");  // a regular file that cannot be read
    w.Type("txtDestFilename", QString::fromStdString(dir / "out"));
    boxes.Queue("Y");
    w.Execute();
    const QRegularExpression report(
        "^Error Number: 5\\.\r\nError Description: Cannot read /proc/self/mem: Input/output "
        "error\\.\r\nError Line: [1-9][0-9]*\\.\r\nError Code: RunFileJob\\(cipher, "
        "request\\)\r\nDo you wish to pause on this error again\\?$");
    QCOMPARE(boxes.asked.size(), size_t{2});
    QVERIFY(report.match(QString::fromStdString(boxes.asked[1].text)).hasMatch());
    QVERIFY(w.Status() == "Encrypting File" && dir.Entries() == Names({"plain", "plain.encr"}));

    JobProgress progress(w.Bar());  // past the bar's int range, in proportion
    progress.Start((5ull << 30) + 1);
    progress.Show(5ull << 29);
    QVERIFY(qAbs(w.Bar()->value() - w.Bar()->maximum() / 2) <= 1);
  }

  // The text goes as typed: line breaks as CR LF, a no-break space as itself; Tab
  // leaves the text box for the key, Ctrl+Tab types a tab. Real boxes belong to the window.
  void textJobTakesTheRawTextAndTheKeyboardFollowsTheForm() {
    Window w;
    auto boxes = std::make_unique<ScriptedMessageBoxes>();
    w.Click("optText");
    w.Type("txtPassword", "secret");
    auto* area = w.Get<QPlainTextEdit>("txtEncrypt");
    area->setPlainText(QStringLiteral("a\nb\u00a0c\u2028d"));  // a paragraph, then a line break
    boxes->Queue("YYY");
    w.Execute();
    Bytes typed{'a', '\r', '\n', 'b', 0xC2, 0xA0, 'c', '\r', '\n', 'd'};  // UTF-8
    typed.resize(16, 0);
    QCOMPARE(area->toPlainText().toStdString(),
             HexDisplay(OpenSslEcb(true, Key("secret"), 128, typed), 16));
    w.Click("optDecrypt");
    w.Execute();
    QCOMPARE(area->document()->toRawText().replace(QChar::ParagraphSeparator, '\n'),
             QStringLiteral("a\nb\u00a0c\nd"));
    area->setPlainText("00");  // one byte: the cipher's own notice must reach the user
    w.Execute();
    QCOMPARE(area->toPlainText(), QStringLiteral("00"));
    const auto encrypt = QuestionBox("Are you sure you wish to encrypt this text?", "Encrypt");
    const auto decrypt = QuestionBox("Are you sure you wish to decrypt this text?", "Encrypt");
    LV_EXPECT_ASKED(*boxes, encrypt, NoticeBox("Encrypt Finished", "Status"), decrypt,
                    NoticeBox("Decrypt Finished", "Status"), decrypt,
                    NoticeBox("Ciphertext size not a multiple of block size", "Size"));

    area->clear();
    w.Form().activateWindow();
    area->setFocus();
    QTest::keyClick(area, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(area->toPlainText(), QStringLiteral("\t"));
    QTest::keyClick(area, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.Get("txtPassword"));

    boxes.reset();  // the real boxes, each centred over the window
    QList<QWidget*> owners;
    std::function<void()> answer = [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        owners << box->parentWidget();
        box->button(box->buttons().size() > 1 ? QMessageBox::Yes : QMessageBox::Ok)->click();
      }
      if (owners.size() < 2) QTimer::singleShot(10, answer);
    };
    QTimer::singleShot(10, answer);
    w.Click("optEncrypt");
    area->setPlainText("x");
    w.Execute();
    QCOMPARE(owners, (QList<QWidget*>{&w.Form(), &w.Form()}));
    QCOMPARE(w.Get<QMenu>("mnufile")->font(), w.Form().font());
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
