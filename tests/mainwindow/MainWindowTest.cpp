// The window itself: its layouts, the direction switch, and how it hands its inputs
// to the jobs and shows what they report. The jobs' own rules are tested without it.
#include <QAction>
#include <QFile>
#include <QGroupBox>
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

using namespace lockvale;
using namespace lockvale::test;

namespace {

QByteArray Pattern(qsizetype size) {
  QByteArray bytes(size, '\0');
  for (qsizetype i = 0; i < size; ++i)
    bytes[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
  return bytes;
}

void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// What the core makes of the bytes with the key, with or without the length byte.
QByteArray Encrypted(const QByteArray& content, std::string_view key, int keyBits,
                     bool lengthByte) {
  cEncrypt cipher;
  cipher.SetCipherKeyString(key, keyBits);
  std::vector<std::uint8_t> in(content.begin(), content.end()), out;
  cipher.ArrayEncrypt(in, out, lengthByte ? 1 : 0);
  return QByteArray(reinterpret_cast<const char*>(out.data()), static_cast<qsizetype>(out.size()));
}

QString Caption(const Window& w, const char* name) {
  return w.Get<QAbstractButton>(name)->text();
}

int Top(const Window& w, const char* name) {
  return w.Get(name)->y();
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void eachModeShowsItsControlsInOrder_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("outerHeight");
    QTest::addColumn<QString>("encryptCaption");
    QTest::addColumn<QString>("decryptCaption");
    QTest::newRow("single") << "optSingleFile" << 5300 << "Encrypt File"
                            << "Decrypt File";
    QTest::newRow("multiple") << "optMultipleFiles" << 8580 << "Encrypt Files"
                              << "Decrypt Files";
    QTest::newRow("text") << "optText" << 5985 << "Encrypt text"
                          << "Decrypt text";
  }

  void eachModeShowsItsControlsInOrder() {
    QFETCH(QString, mode);
    QFETCH(int, outerHeight);
    QFETCH(QString, encryptCaption);
    QFETCH(QString, decryptCaption);
    Window w;
    w.Click(qPrintable(mode));
    const bool files = mode != "optText", batch = mode == "optMultipleFiles";

    for (const char* name :
         {"lblSourceFilename", "txtFilename", "lblDestinationFilename", "txtDestFilename",
          "cmdSourceBrowse", "cmdDestBrowse", "chkOverwrite", "chkDeleteSourceFile"})
      QCOMPARE(w.Get(name)->isVisible(), files);
    for (const char* name : {"lblTexttoEncrypt", "txtEncrypt"})
      QCOMPARE(w.Get(name)->isVisible(), !files);
    for (const char* name : {"cmdAdd", "cmdEdit", "cmdRemove", "cmdClear", "lstEncrypt"})
      QCOMPARE(w.Get(name)->isVisible(), batch);
    QCOMPARE(Caption(w, "optEncrypt"), encryptCaption);
    QCOMPARE(Caption(w, "optDecrypt"), decryptCaption);

    // Inside the frame: key, block size and key size follow the file names or the text.
    const int above = files ? Top(w, "txtDestFilename") : Top(w, "lblTexttoEncrypt");
    QVERIFY(above < Top(w, "txtPassword"));
    QVERIFY(Top(w, "txtPassword") < Top(w, "cboBlockSize"));
    QVERIFY(Top(w, "cboBlockSize") < Top(w, "cboKeySize"));
    if (files) QVERIFY(Top(w, "cboKeySize") < Top(w, "chkOverwrite"));

    // On the window: the frame, then the batch list, then the Execute row.
    QWidget* frame = w.Get("fraDetails");
    const int executeTop = Top(w, "cmdEncryptFile");
    for (const char* name : {"optEncrypt", "optDecrypt", "pbBar"})
      QCOMPARE(Top(w, name), executeTop);
    if (batch) {
      QVERIFY(frame->geometry().bottom() < Top(w, "cmdAdd"));
      QVERIFY(w.Get("cmdAdd")->geometry().bottom() < Top(w, "lstEncrypt"));
      QVERIFY(w.Get("lstEncrypt")->geometry().bottom() < executeTop);
    } else {
      QVERIFY(frame->geometry().bottom() < executeTop);
    }

    // Window heights differ as the layout table's do, and nothing shown is cut off.
    Window single;
    QCOMPARE(w.Form().height() - single.Form().height(), Px(outerHeight) - Px(5300));
    for (QWidget* child : w.Form().centralWidget()->findChildren<QWidget*>()) {
      if (!child->isVisible() || !child->parentWidget()->isVisible()) continue;
      const QRect inside = child->parentWidget()->rect();
      QVERIFY2(inside.contains(child->geometry()), qPrintable(child->objectName()));
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
    w.Type("txtFilename", "A.ENCR");
    w.Type("txtDestFilename", "b");
    w.Click("optDecrypt");
    w.Click("optEncrypt");
    QCOMPARE(names(), (QStringList{"A.ENCR", "b"}));
    w.Type("txtDestFilename", "b.encr");
    w.Click("optText");
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

  void fileJobTakesTheWindowsInputsAndShowsItsProgress() {
    QTemporaryDir dir;
    Window w;
    ScriptedMessageBoxes boxes;
    const QByteArray content = Pattern(70'001);
    Write(dir.filePath("plain.bin"), content);
    Write(dir.filePath("plain.bin.encr"), "old");
    w.Type("txtFilename", dir.filePath("plain.bin"));
    w.Type("txtDestFilename", dir.filePath("plain.bin.encr"));
    w.Type("txtPassword", "correct horse");
    w.Get<QComboBox>("cboKeySize")->setCurrentIndex(2);
    w.Click("chkOverwrite");
    w.Click("chkDeleteSourceFile");
    boxes.Queue(MessageAnswer::Yes);
    w.Get<QAction>("mnuExecute")->trigger();
    LV_EXPECT_ASKED(boxes, QuestionBox("Are you sure you wish to encrypt this file?", "Encrypt"),
                    NoticeBox("Encrypt Finished", "Status"));
    QCOMPARE(w.Status(), QStringLiteral("Completed"));
    QCOMPARE(w.Bar()->maximum(), 70'002);
    QCOMPARE(w.Bar()->value(), 70'002);
    QVERIFY(!QFile::exists(dir.filePath("plain.bin")));
    QCOMPARE(Read(dir.filePath("plain.bin.encr")), Encrypted(content, "correct horse", 256, true));

    w.Click("optDecrypt");  // offers plain.bin.encr as the source
    boxes.Queue(MessageAnswer::Yes);
    w.Execute();
    LV_EXPECT_ASKED(boxes, QuestionBox("Are you sure you wish to decrypt this file?", "Encrypt"),
                    NoticeBox("Decrypt Finished", "Status"));
    QCOMPARE(Read(dir.filePath("plain.bin")), content);
  }

  // The text is taken as typed: line breaks as CR LF, a no-break space as itself.
  void textJobTakesTheRawTextAndShowsTheResult() {
    Window w;
    ScriptedMessageBoxes boxes;
    w.Click("optText");
    w.Type("txtPassword", "secret");
    auto* area = w.Get<QPlainTextEdit>("txtEncrypt");
    const QString typed = QStringLiteral("a\nb\u00a0c");
    area->setPlainText(typed);
    boxes.Queue(MessageAnswer::Yes);
    w.Execute();
    const QByteArray expected = Encrypted(
                                    "a\r\nb\xC2\xA0"
                                    "c",
                                    "secret", 128, false)
                                    .toHex()
                                    .toUpper();
    QCOMPARE(area->toPlainText().toLatin1(), expected);
    QCOMPARE(w.Status(), QStringLiteral("Completed"));

    w.Click("optDecrypt");
    boxes.Queue(MessageAnswer::Yes);
    w.Execute();
    QCOMPARE(area->document()->toRawText().replace(QChar::ParagraphSeparator, '\n'), typed);
    LV_EXPECT_ASKED(boxes, QuestionBox("Are you sure you wish to encrypt this text?", "Encrypt"),
                    NoticeBox("Encrypt Finished", "Status"),
                    QuestionBox("Are you sure you wish to decrypt this text?", "Encrypt"),
                    NoticeBox("Decrypt Finished", "Status"));
  }

  void textModeKeyboardFollowsTheForm() {
    Window w;
    w.Click("optText");
    auto* area = w.Get<QPlainTextEdit>("txtEncrypt");
    w.Form().activateWindow();
    area->setFocus();
    QTest::keyClick(area, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(area->toPlainText(), QStringLiteral("\t"));
    QTest::keyClick(area, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.Get("txtPassword"));
    QTest::keyClick(w.Get("txtPassword"), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), area);
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
    const MessageRequest report = boxes.asked[1];
    QCOMPARE(report.title, std::string("Error"));
    QCOMPARE(report.icon, NoticeIcon::Question);
    const QRegularExpression layout(
        "^Error Number: 5\\.\r\nError Description: Cannot read /proc/self/mem: Input/output "
        "error\\.\r\nError Line: [1-9][0-9]*\\.\r\nError Code: RunFileJob\\(cipher, "
        "request\\)\r\nDo you wish to pause on this error again\\?$");
    QVERIFY2(layout.match(QString::fromStdString(report.text)).hasMatch(), report.text.c_str());
    QCOMPARE(w.Status(), QStringLiteral("Encrypting File"));
    QVERIFY(QDir(dir.path()).isEmpty());
  }

  // Real boxes: each one belongs to the window and is centred over it.
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

  void windowPaintsProgressAndStatusDuringALongJob() {
    QTemporaryDir dir;
    Window w;
    ScriptedMessageBoxes boxes;
    Write(dir.filePath("big"), Pattern(16 << 20));
    w.Type("txtFilename", dir.filePath("big"));
    w.Type("txtDestFilename", dir.filePath("big.encr"));
    w.Type("txtPassword", "key");
    struct PaintSpy : QObject {
      QLabel* status = nullptr;
      int barPaints = 0;
      QStringList statusPainted;
      bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
          if (watched == status)
            statusPainted << status->text();
          else
            ++barPaints;
        }
        return false;
      }
    } spy;
    spy.status = w.Get<QLabel>("StatusPanel");
    w.Bar()->installEventFilter(&spy);
    spy.status->installEventFilter(&spy);
    boxes.Queue(MessageAnswer::Yes);
    w.Execute();  // the job runs to its end here, without an event loop
    QVERIFY2(spy.barPaints >= 10, qPrintable(QString::number(spy.barPaints)));
    QVERIFY(spy.statusPainted.contains("Encrypting File"));
  }

  void progressShowsFilesPastTwoGigabytes() {
    QProgressBar bar;
    JobProgress progress(&bar);
    const std::uint64_t five = 5ull << 30;
    progress.Start(five + 1);
    progress.Show(five / 2);
    QVERIFY(qAbs(bar.value() - bar.maximum() / 2) <= 1);
    progress.Show(five * 2);
    QCOMPARE(bar.value(), bar.maximum());
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
