#include <sys/mount.h>
#include <unistd.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <filesystem>

#include "WindowFixture.h"
#include "cipher/cEncrypt.h"
#include "jobs/JobProgress.h"

using namespace lockvale;
using namespace lockvale::test;

namespace {

const MessageRequest kConfirmEncrypt =
    Question("Are you sure you wish to encrypt this file?", "Encrypt");
const MessageRequest kConfirmDecrypt =
    Question("Are you sure you wish to decrypt this file?", "Encrypt");
const MessageRequest kEncryptFinished = Notice("Encrypt Finished", "Status");
const MessageRequest kDecryptFinished = Notice("Decrypt Finished", "Status");

MessageRequest OverwriteQuestion(const QString& path) {
  return Question(path + " already exists. Do you wish to overwrite it?", "Lockvale",
                  NoticeIcon::Information);
}

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

// The encrypted-file form of the content, made by the core directly.
QByteArray Expected(const QByteArray& content, std::string_view keyBytes, int keyBits) {
  cEncrypt cipher;
  cipher.SetCipherKeyString(keyBytes, keyBits);
  std::vector<std::uint8_t> in(content.begin(), content.end()), out;
  cipher.ArrayEncrypt(in, out, 1);
  return QByteArray(reinterpret_cast<const char*>(out.data()), static_cast<qsizetype>(out.size()));
}

// A window set up for one file job inside a scratch folder.
struct FileJob {
  QTemporaryDir dir;
  Window w;
  ScriptedMessageBoxes boxes;

  QString Path(const QString& name) const { return dir.filePath(name); }
  void Names(const QString& source, const QString& destination) {
    w.Type("txtFilename", source.isEmpty() ? source : Path(source));
    w.Type("txtDestFilename", destination.isEmpty() ? destination : Path(destination));
  }
  QStringList Entries() const {
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  }
};

}  // namespace

class SingleFileJobTest : public QObject {
  Q_OBJECT

 private slots:
  void refusesIncompleteInputsInOrder() {
    FileJob job;
    Write(job.Path("a.txt"), "abc");
    QDir(job.dir.path()).mkdir("folder");
    struct Case {
      QString source, destination, key;
      MessageRequest refusal;
    };
    const Case cases[] = {
        {"", "b", "k", Notice("Please enter a valid source filename", "Source filename")},
        {"missing", "", "",
         Notice("Source file does not exist. Please enter a valid source filename",
                "Source filename")},
        {"folder", "b", "k",
         Notice("Source file does not exist. Please enter a valid source filename",
                "Source filename")},
        {"a.txt", "", "",
         Notice("Please enter a valid destination filename", "Destination filename")},
        {"a.txt", "b", "", Notice("Please enter a security key", "Security Key")},
    };
    for (const Case& c : cases) {
      job.Names(c.source, c.destination);
      job.w.Type("txtPassword", c.key);
      job.w.Execute();
      LV_EXPECT_ASKED(job.boxes, c.refusal);
    }
    QCOMPARE(job.w.Status(), QString());
    QCOMPARE(job.Entries(), (QStringList{"a.txt", "folder"}));
  }

  void refusesADestinationThatIsTheSourceUnderAnyName() {
    FileJob job;
    Write(job.Path("a.txt"), "abc");
    QVERIFY(QFile::link(job.Path("a.txt"), job.Path("link")));
    QVERIFY(::link(QFile::encodeName(job.Path("a.txt")), QFile::encodeName(job.Path("hard"))) == 0);
    job.w.Type("txtPassword", "key");
    for (const char* other : {"a.txt", "./a.txt", "folder/../a.txt", "link", "hard"}) {
      QDir(job.dir.path()).mkpath("folder");
      job.Names("a.txt", other);
      job.w.Execute();
      LV_EXPECT_ASKED(job.boxes, Notice("The destination file is the same as the source file. "
                                        "Please enter a different destination filename",
                                        "Destination filename"));
      QCOMPARE(Read(job.Path("a.txt")), QByteArray("abc"));
    }
  }

  void declinedQuestionsChangeNothing() {
    FileJob job;
    Write(job.Path("a.txt"), Pattern(99));
    Write(job.Path("a.txt.encr"), "old");
    job.Names("a.txt", "a.txt.encr");
    job.w.Type("txtPassword", "key");
    for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Cancel}) {
      job.boxes.Queue(answer);
      job.w.Execute();
      LV_EXPECT_ASKED(job.boxes, kConfirmEncrypt);
    }
    job.boxes.Queue(MessageAnswer::Yes);
    job.boxes.Queue(MessageAnswer::No);
    job.w.Execute();
    LV_EXPECT_ASKED(job.boxes, kConfirmEncrypt, OverwriteQuestion(job.Path("a.txt.encr")));
    QCOMPARE(Read(job.Path("a.txt.encr")), QByteArray("old"));
    QCOMPARE(job.w.Bar()->maximum(), 100);
    QCOMPARE(job.w.Bar()->value(), 0);
    QCOMPARE(job.w.Status(), QString());
  }

  void roundTripsEverySizeAndKeySize_data() {
    QTest::addColumn<int>("keyIndex");
    QTest::addColumn<int>("size");
    QTest::newRow("128, empty") << 0 << 0;
    QTest::newRow("192, 17 bytes") << 1 << 17;
    QTest::newRow("256, 3 MiB + 5") << 2 << (3 << 20) + 5;
  }

  void roundTripsEverySizeAndKeySize() {
    QFETCH(int, keyIndex);
    QFETCH(int, size);
    FileJob job;
    const QByteArray content = Pattern(size);
    Write(job.Path("plain.bin"), content);
    job.Names("plain.bin", "plain.bin.encr");
    job.w.Type("txtPassword", "correct horse");
    job.w.Get<QComboBox>("cboKeySize")->setCurrentIndex(keyIndex);
    job.w.Click("chkDeleteSourceFile");
    job.boxes.Queue(MessageAnswer::Yes);
    job.w.Get<QAction>("mnuExecute")->trigger();
    LV_EXPECT_ASKED(job.boxes, kConfirmEncrypt, kEncryptFinished);
    QCOMPARE(job.w.Status(), QStringLiteral("Completed"));
    QCOMPARE(job.w.Bar()->maximum(), size + 1);
    QCOMPARE(job.w.Bar()->value(), size + 1);
    QCOMPARE(job.Entries(), QStringList{"plain.bin.encr"});
    QCOMPARE(Read(job.Path("plain.bin.encr")),
             Expected(content, "correct horse", 128 + 64 * keyIndex));

    job.w.Click("optDecrypt");  // offers plain.bin.encr as the source
    job.boxes.Queue(MessageAnswer::Yes);
    job.w.Execute();
    LV_EXPECT_ASKED(job.boxes, kConfirmDecrypt, kDecryptFinished);
    QCOMPARE(Read(job.Path("plain.bin")), content);
    QCOMPARE(job.Entries().size(), 1);
  }

  void replacesProtectedDestinationsOnlyWhenAgreed() {
    FileJob job;
    Write(job.Path("a.txt"), "new content");
    job.w.Type("txtPassword", "key");
    const QByteArray expected = Expected("new content", "key", 128);
    for (const char* name : {"readonly.encr", ".hidden.encr"}) {
      Write(job.Path(name), "old");
      QFile::setPermissions(job.Path(name), QFileDevice::ReadOwner);
      job.Names("a.txt", name);
      job.boxes.Queue(MessageAnswer::Yes);
      job.boxes.Queue(MessageAnswer::Yes);
      job.w.Execute();
      LV_EXPECT_ASKED(job.boxes, kConfirmEncrypt, OverwriteQuestion(job.Path(name)),
                      kEncryptFinished);
      QCOMPARE(Read(job.Path(name)), expected);
    }
    job.w.Click("chkOverwrite");
    job.boxes.Queue(MessageAnswer::Yes);
    job.w.Execute();
    LV_EXPECT_ASKED(job.boxes, kConfirmEncrypt, kEncryptFinished);
  }

  void failedDecryptionKeepsSourceAndExistingDestination() {
    FileJob job;
    Write(job.Path("bad.encr"), Pattern(17));
    Write(job.Path("bad"), "keep me");
    job.w.Click("optDecrypt");
    job.Names("bad.encr", "bad");
    job.w.Type("txtPassword", "key");
    job.w.Click("chkOverwrite");
    job.w.Click("chkDeleteSourceFile");
    job.boxes.Queue(MessageAnswer::Yes);
    job.w.Execute();
    LV_EXPECT_ASKED(
        job.boxes, kConfirmDecrypt,
        Notice("File Size Error - ciphertext file not a multiple of block size", "Size"));
    QCOMPARE(job.w.Status(), QStringLiteral("Error"));
    QCOMPARE(Read(job.Path("bad")), QByteArray("keep me"));
    QCOMPARE(Read(job.Path("bad.encr")), Pattern(17));
    QCOMPARE(job.Entries(), (QStringList{"bad", "bad.encr"}));
  }

  void readOnlySourceIsNotDeleted() {
    FileJob job;
    Write(job.Path("a.txt"), "abc");
    QFile::setPermissions(job.Path("a.txt"), QFileDevice::ReadOwner);
    job.Names("a.txt", "a.txt.encr");
    job.w.Type("txtPassword", "key");
    job.w.Click("chkDeleteSourceFile");
    job.boxes.Queue(MessageAnswer::Yes);
    job.w.Execute();
    LV_EXPECT_ASKED(job.boxes, kConfirmEncrypt, kEncryptFinished);
    QCOMPARE(job.Entries(), (QStringList{"a.txt", "a.txt.encr"}));
  }

  void keyTextIsCutToTheKeySizeThroughTheCodePage() {
    FileJob job;
    Write(job.Path("a.txt"), "abc");
    job.Names("a.txt", "a.encr");
    job.w.Click("chkOverwrite");
    auto encryptWith = [&](const QString& key) {
      job.w.Type("txtPassword", key);
      job.boxes.Queue(MessageAnswer::Yes);
      job.w.Execute();
      return Read(job.Path("a.encr"));
    };
    const QString forty = QStringLiteral("0123456789abcdefghijklmnopqrstuvwxyzABCD");
    QCOMPARE(encryptWith(forty), Expected("abc", "0123456789abcdef", 128));
    QCOMPARE(encryptWith(forty.left(16)), Expected("abc", "0123456789abcdef", 128));
    QCOMPARE(encryptWith(QStringLiteral("\u00e9")), Expected("abc", "\xC3\xA9", 128));
    qputenv("LOCKVALE_CODEPAGE", "windows-1252");
    const QByteArray western = encryptWith(QStringLiteral("\u00e9"));
    qunsetenv("LOCKVALE_CODEPAGE");
    QCOMPARE(western, Expected("abc", "\xE9", 128));
  }

  void readErrorGoesToTheErrorReporterAndLeavesNothing() {
    FileJob job;
    job.w.Type("txtFilename", "/proc/self/mem");  // a regular file that cannot be read
    job.w.Type("txtDestFilename", job.Path("out.encr"));
    job.w.Type("txtPassword", "key");
    job.boxes.Queue(MessageAnswer::Yes);
    job.w.Execute();
    QCOMPARE(job.boxes.asked.size(), size_t{2});
    const MessageRequest report = job.boxes.asked[1];
    QCOMPARE(report.title, QStringLiteral("Error"));
    QCOMPARE(report.buttons, MessageButtons::YesNoCancel);
    QCOMPARE(report.icon, NoticeIcon::Question);
    const QRegularExpression layout(
        "^Error Number: 5\\.\r\nError Description: Cannot read /proc/self/mem: Input/output "
        "error\\.\r\nError Line: [1-9][0-9]*\\.\r\nError Code: RunFileJob\\(cipher, "
        "request\\)\r\nDo you wish to pause on this error again\\?$");
    QVERIFY2(layout.match(report.text).hasMatch(), qPrintable(report.text));
    QCOMPARE(job.w.Status(), QStringLiteral("Encrypting File"));
    QCOMPARE(job.Entries(), QStringList());
  }

  void fullDiskGoesToTheErrorReporterAndKeepsTheOldDestination() {
    FileJob job;
    const QString small = job.Path("small");
    QDir().mkpath(small);
    if (::mount("tmpfs", QFile::encodeName(small), "tmpfs", 0, "size=64k") != 0)
      QSKIP("cannot mount a small file system here (needs root and a mount namespace)");
    auto unmount = qScopeGuard([&] { ::umount(QFile::encodeName(small)); });
    Write(job.Path("big"), Pattern(1 << 20));
    Write(small + "/big.encr", "old");
    job.w.Type("txtFilename", job.Path("big"));
    job.w.Type("txtDestFilename", small + "/big.encr");
    job.w.Type("txtPassword", "key");
    job.w.Click("chkOverwrite");
    job.w.Click("chkDeleteSourceFile");
    job.boxes.Queue(MessageAnswer::Yes);
    job.w.Execute();
    QCOMPARE(job.boxes.asked.size(), size_t{2});
    QVERIFY2(job.boxes.asked[1].text.startsWith("Error Number: 28.\r\n"),
             qPrintable(job.boxes.asked[1].text));
    QCOMPARE(Read(small + "/big.encr"), QByteArray("old"));
    QCOMPARE(QDir(small).entryList(QDir::Files | QDir::Hidden), QStringList{"big.encr"});
    QCOMPARE(Read(job.Path("big")), Pattern(1 << 20));
  }

  void windowPaintsProgressAndStatusDuringALongJob() {
    FileJob job;
    Write(job.Path("big"), Pattern(16 << 20));
    job.Names("big", "big.encr");
    job.w.Type("txtPassword", "key");
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
    spy.status = job.w.Get<QLabel>("StatusPanel");
    QVERIFY(job.w.Get<QStatusBar>("Status")->isAncestorOf(spy.status));
    job.w.Bar()->installEventFilter(&spy);
    spy.status->installEventFilter(&spy);
    job.boxes.Queue(MessageAnswer::Yes);
    job.w.Execute();  // the job runs to its end here, without an event loop
    QVERIFY2(spy.barPaints >= 10, qPrintable(QString::number(spy.barPaints)));
    QVERIFY(spy.statusPainted.contains("Encrypting File"));
  }

  void progressShowsFilesPastTwoGigabytes() {
    QProgressBar bar;
    JobProgress progress(&bar);
    const std::uint64_t five = 5ull << 30;
    progress.Start(five + 1);
    QVERIFY(bar.maximum() > (1 << 30));
    progress.Show(five / 2);
    QVERIFY(qAbs(bar.value() - bar.maximum() / 2) <= 1);
    progress.Show(five * 2);
    QCOMPARE(bar.value(), bar.maximum());
    progress.Start(16);
    progress.Show(400);  // a block beyond the range shows as full, never as an error
    QCOMPARE(bar.value(), 16);
  }
};

QTEST_MAIN(SingleFileJobTest)
#include "SingleFileJobTest.moc"
