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

#include "WindowFixture.h"
#include "cipher/cEncrypt.h"
#include "mainwindow/JobProgress.h"
#include "mainwindow/Twips.h"

using namespace lockvale::test;

static QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

static void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

// What the core makes of the bytes with the key, with or without the length byte.
static QByteArray Encrypted(const QByteArray& content, std::string_view key, int bits,
                            int lengthByte) {
  cEncrypt cipher;
  cipher.SetCipherKeyString(key, bits);
  std::vector<std::uint8_t> in(content.begin(), content.end()), out;
  cipher.ArrayEncrypt(in, out, lengthByte);
  return QByteArray(reinterpret_cast<const char*>(out.data()), static_cast<qsizetype>(out.size()));
}

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
  // to its end without an event loop, yet the bar and the status are painted.
  void fileJobTakesTheWindowsInputsAndPaintsItsProgress() {
    QTemporaryDir dir;
    Window w;
    ScriptedMessageBoxes boxes;
    const QByteArray content(16 << 20, 'x');
    const QString plain = dir.filePath("plain"), encrypted = dir.filePath("plain.encr");
    Write(plain, content);
    Write(encrypted, "old");
    w.Type("txtFilename", plain);
    w.Type("txtDestFilename", encrypted);
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
    boxes.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
    w.Get<QAction>("mnuExecute")->trigger();
    LV_EXPECT_ASKED(
        boxes, QuestionBox("Are you sure you wish to encrypt this file?", "Encrypt"),
        QuestionBox(encrypted.toStdString() + " already exists. Do you wish to overwrite it?",
                    "Lockvale", NoticeIcon::Information),
        NoticeBox("Encrypt Finished", "Status"));
    QVERIFY2(spy.painted[w.Bar()].size() >= 10, qPrintable(spy.painted[w.Bar()].join(',')));
    QVERIFY(spy.painted[status].contains("Encrypting File"));
    QCOMPARE(w.Status(), QStringLiteral("Completed"));
    QCOMPARE(w.Bar()->maximum(), (16 << 20) + 1);
    QCOMPARE(w.Bar()->value(), (16 << 20) + 1);
    QVERIFY(!QFile::exists(plain));
    QVERIFY(Read(encrypted) == Encrypted(content, "correct horse", 256, 1));

    Write(plain, "old");
    w.Click("optDecrypt");  // swaps the names
    w.Click("chkDeleteSourceFile");
    w.Click("chkOverwrite");
    boxes.Queue(MessageAnswer::Yes);
    w.Execute();
    LV_EXPECT_ASKED(boxes, QuestionBox("Are you sure you wish to decrypt this file?", "Encrypt"),
                    NoticeBox("Decrypt Finished", "Status"));
    QVERIFY(Read(plain) == content);
    QVERIFY(QFile::exists(encrypted));

    JobProgress progress(w.Bar());  // past the bar's int range, in proportion
    progress.Start((5ull << 30) + 1);
    progress.Show(5ull << 29);
    QVERIFY(qAbs(w.Bar()->value() - w.Bar()->maximum() / 2) <= 1);
  }

  // The text goes as typed: line breaks as CR LF, a no-break space as itself; Tab
  // leaves the text box for the key, Ctrl+Tab types a tab.
  void textJobTakesTheRawTextAndTheKeyboardFollowsTheForm() {
    Window w;
    ScriptedMessageBoxes boxes;
    w.Click("optText");
    w.Type("txtPassword", "secret");
    auto* area = w.Get<QPlainTextEdit>("txtEncrypt");
    area->setPlainText(QStringLiteral("a\nb\u00a0c\u2028d"));  // a paragraph, then a line break
    boxes.answers = {MessageAnswer::Yes, MessageAnswer::Yes, MessageAnswer::Yes};
    w.Execute();
    const QByteArray typed("a\r\nb\302\240c\r\nd");  // the no-break space in UTF-8, in octal
    QCOMPARE(area->toPlainText().toLatin1(), Encrypted(typed, "secret", 128, 0).toHex().toUpper());
    w.Click("optDecrypt");
    w.Execute();
    QCOMPARE(area->document()->toRawText().replace(QChar::ParagraphSeparator, '\n'),
             QStringLiteral("a\nb\u00a0c\nd"));
    area->setPlainText("00");  // one byte: the cipher's own notice must reach the user
    w.Execute();
    const auto confirm = [](const char* verb) {
      return QuestionBox(std::string("Are you sure you wish to ") + verb + " this text?",
                         "Encrypt");
    };
    LV_EXPECT_ASKED(boxes, confirm("encrypt"), NoticeBox("Encrypt Finished", "Status"),
                    confirm("decrypt"), NoticeBox("Decrypt Finished", "Status"), confirm("decrypt"),
                    NoticeBox("Ciphertext size not a multiple of block size", "Size"));

    area->clear();
    w.Form().activateWindow();
    area->setFocus();
    QTest::keyClick(area, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(area->toPlainText(), QStringLiteral("\t"));
    QTest::keyClick(area, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.Get("txtPassword"));
  }

  void unexpectedErrorsReachTheReporterNamingTheStatement() {
    QTemporaryDir dir;
    Window w;
    ScriptedMessageBoxes boxes;
    w.Type("txtFilename", "/proc/self/mem");  // a regular file that cannot be read
    w.Type("txtDestFilename", dir.filePath("out.encr"));
    w.Type("txtPassword", "key");
    boxes.Queue(MessageAnswer::Yes);
    w.Execute();
    QCOMPARE(boxes.asked.size(), size_t{2});
    const QRegularExpression report(
        "^Error Number: 5\\.\r\nError Description: Cannot read /proc/self/mem: Input/output "
        "error\\.\r\nError Line: [1-9][0-9]*\\.\r\nError Code: RunFileJob\\(cipher, "
        "request\\)\r\nDo you wish to pause on this error again\\?$");
    QVERIFY(report.match(QString::fromStdString(boxes.asked[1].text)).hasMatch());
    QCOMPARE(boxes.asked[1].title, std::string("Error"));
    QCOMPARE(w.Status(), QStringLiteral("Encrypting File"));
    QVERIFY(QDir(dir.path()).isEmpty());
  }

  // Real boxes: each belongs to the window and is centred over it.
  void messagesAndMenusBelongToTheWindow() {
    Window w;
    w.Click("optText");
    w.Type("txtPassword", "secret");
    w.Get<QPlainTextEdit>("txtEncrypt")->setPlainText("x");
    QList<QWidget*> owners;
    std::function<void()> answer = [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        owners << box->parentWidget();
        box->button(box->buttons().size() > 1 ? QMessageBox::Yes : QMessageBox::Ok)->click();
      }
      if (owners.size() < 2) QTimer::singleShot(10, answer);
    };
    QTimer::singleShot(10, answer);
    w.Execute();
    QCOMPARE(owners, (QList<QWidget*>{&w.Form(), &w.Form()}));
    QCOMPARE(w.Get<QMenu>("mnufile")->font(), w.Form().font());
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
