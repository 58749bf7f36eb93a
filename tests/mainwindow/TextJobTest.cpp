#include <QAction>
#include <QRegularExpression>

#include "WindowFixture.h"
#include "cipher/cEncrypt.h"

using namespace lockvale;
using namespace lockvale::test;

namespace {

const MessageRequest kConfirmEncrypt =
    Question("Are you sure you wish to encrypt this text?", "Encrypt");
const MessageRequest kConfirmDecrypt =
    Question("Are you sure you wish to decrypt this text?", "Encrypt");
const MessageRequest kEncryptFinished = Notice("Encrypt Finished", "Status");
const MessageRequest kDecryptFinished = Notice("Decrypt Finished", "Status");

struct TextJob {
  Window w;
  ScriptedMessageBoxes boxes;

  TextJob() {
    w.Click("optText");
    w.Type("txtPassword", "secret");
  }
  QPlainTextEdit* Area() const { return w.Get<QPlainTextEdit>("txtEncrypt"); }
  QString Run(bool encrypt, const QString& text) {
    w.Click(encrypt ? "optEncrypt" : "optDecrypt");
    Area()->setPlainText(text);
    boxes.Queue(MessageAnswer::Yes);
    w.Execute();
    return Area()->toPlainText();
  }
};

// The ciphertext digits the core makes of the bytes, without a length byte.
QString CipherDigits(const QByteArray& bytes, std::string_view key) {
  cEncrypt cipher;
  cipher.SetCipherKeyString(key, 128);
  std::vector<std::uint8_t> in(bytes.begin(), bytes.end()), out;
  cipher.ArrayEncrypt(in, out, 0);
  QString digits;
  for (std::size_t i = 0; i < out.size(); ++i)
    digits += QStringLiteral("%1").arg(out[i], 2, 16, QChar('0')).toUpper();
  return digits;
}

}  // namespace

class TextJobTest : public QObject {
  Q_OBJECT

 private slots:
  void roundTripsTextsOfSeveralLengths_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("digits");
    QTest::newRow("3 letters, one block") << 3 << 32;
    QTest::newRow("16 letters, no padding block") << 16 << 32;
    QTest::newRow("17 letters, two groups") << 17 << 66;
    QTest::newRow("40000 letters, result past 64k") << 40000 << 80000 + 2 * 2499;
  }

  void roundTripsTextsOfSeveralLengths() {
    QFETCH(int, length);
    QFETCH(int, digits);
    TextJob job;
    QString text;
    for (int i = 0; i < length; ++i)
      text += QChar('a' + i % 26);
    const QString hex = job.Run(true, text);
    LV_EXPECT_ASKED(job.boxes, kConfirmEncrypt, kEncryptFinished);
    QCOMPARE(hex.size(), digits);
    QVERIFY(QRegularExpression("^[0-9A-F]{32}(  [0-9A-F]{32})*$").match(hex).hasMatch());
    QCOMPARE(QString(hex).remove(' '), CipherDigits(text.toLatin1(), "secret"));
    QCOMPARE(job.w.Status(), QStringLiteral("Completed"));
    QCOMPARE(job.w.Bar()->value(), job.w.Bar()->maximum());

    QCOMPARE(job.Run(false, hex.toLower().replace("  ", "\n")), text);
    LV_EXPECT_ASKED(job.boxes, kConfirmDecrypt, kDecryptFinished);
  }

  void refusesEmptyInputsBeforeAsking() {
    TextJob job;
    job.w.Type("txtPassword", "");
    job.Run(true, "");
    job.Run(true, "x");
    job.Run(false, "");
    job.Run(false, "00");
    LV_EXPECT_ASKED(job.boxes, Notice("Please enter in some text to encrypt.", "Text"),
                    Notice("No Encryption Key", "Key"),
                    Notice("Please enter in some text to decrypt.", "Text"),
                    Notice("No Key", "Key"));
    QCOMPARE(job.w.Status(), QString());
  }

  void refusesTextThatIsNotCiphertext() {
    TextJob job;
    job.w.Form().SetStatusText("before");
    QCOMPARE(job.Run(false, "GHIJ xyz\nQ"), QStringLiteral("GHIJ xyz\nQ"));
    LV_EXPECT_ASKED(job.boxes, kConfirmDecrypt, Notice("Text not Hex data", "Data"));
    QCOMPARE(job.w.Status(), QString());

    const QString missingPair = CipherDigits("abc", "secret").mid(2);
    QCOMPARE(job.Run(false, missingPair), missingPair);
    LV_EXPECT_ASKED(job.boxes, kConfirmDecrypt,
                    Notice("Ciphertext size not a multiple of block size", "Size"));
    QCOMPARE(job.w.Status(), QString());
  }

  void textBytesGoThroughTheCodePage() {
    TextJob job;
    const QString text = QStringLiteral("caf\u00e9");
    QCOMPARE(job.Run(true, text).remove(' '), CipherDigits("caf\xC3\xA9", "secret"));
    qputenv("LOCKVALE_CODEPAGE", "windows-1252");
    const QString western = job.Run(true, text);
    QCOMPARE(QString(western).remove(' '), CipherDigits("caf\xE9", "secret"));
    QCOMPARE(job.Run(false, western), text);
    qunsetenv("LOCKVALE_CODEPAGE");
  }

  void blocksBeyondAFileJobsRangeRaiseNoErrors() {
    TextJob job;
    job.w.Bar()->setRange(0, 1);  // what an empty file job leaves
    job.Run(true, QString(1000, 'x'));
    LV_EXPECT_ASKED(job.boxes, kConfirmEncrypt, kEncryptFinished);
    QCOMPARE(job.w.Bar()->maximum(), 1001);
  }
};

QTEST_MAIN(TextJobTest)
#include "TextJobTest.moc"
