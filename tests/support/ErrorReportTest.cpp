#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <deque>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>

#include "QtTestSupport.h"
#include "support/ModError.h"
#include "support/Statement.h"
#include "support/StatementTable.h"
#include "support/TestHooks.h"
#include "util/RaisedError.h"

using namespace lockvale;
using test::ScriptedMessageBoxes;

namespace {

// The statements the reports below name; this file is numbered as the program's sources are.
void RejectKeyBits() {
  LV_STMT(throw RaisedError(1, "cEncrypt.SetCipherKey - Illegal KeyBits Value"));
}
void FillDisk() {
  LV_STMT(throw std::system_error(ENOSPC, std::generic_category(),
                                  "Cannot write /tmp/out.encr (the disk is full)"));
}
void RunOutOfMemory() {
  LV_STMT(throw std::bad_alloc());
}
void ThrowAnInt() {
  LV_STMT(throw 42);
}

void RunMarked(const std::function<void()>& body) {
  LV_STMT(body());
}
void cmdTest_Click(const std::function<void()>& body) {
  LV_GUARD("cmdTest_Click", [&] { RunMarked(body); });
}

// Runs the table generator over `root`; returns its exit code and the table or its errors.
std::pair<int, QString> Generate(const QString& root, const QString& output) {
  QProcess cmake;
  cmake.start(
      QStringLiteral("cmake"),
      {"-DSOURCE_ROOT=" + root, "-DOUTPUT=" + output, QStringLiteral("-P"),
       QFileInfo(QStringLiteral(__FILE__)).dir().filePath("../../cmake/StatementTable.cmake")});
  cmake.waitForFinished(-1);
  QFile table(output);
  if (cmake.exitCode() != 0 || !table.open(QIODevice::ReadOnly))
    return {cmake.exitCode(), QString::fromUtf8(cmake.readAllStandardError())};
  return {0, QString::fromUtf8(table.readAll())};
}

void WriteSource(const QString& root, const QString& path, const QByteArray& text) {
  QDir(root).mkpath(QFileInfo(path).path());
  QFile file(root + "/" + path);
  QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
}

// The generated table's rows, read back; the strings they point to live as long as it does.
struct LoadedTable {
  std::deque<std::string> strings;
  std::vector<StatementEntry> entries;

  explicit LoadedTable(const QString& table) {
    static const QRegularExpression row(
        QStringLiteral("^    \\{\"([^\"]*)\", (\\d+), (\\d+), \"(.*)\"\\},$"),
        QRegularExpression::MultilineOption);
    static const QRegularExpression escape(QStringLiteral("\\\\(.)"));
    for (const auto& match : row.globalMatch(table)) {
      const auto& file = strings.emplace_back(match.captured(1).toStdString());
      const auto& text = strings.emplace_back(
          match.captured(4).replace(escape, QStringLiteral("\\1")).toStdString());
      entries.push_back(
          {file.c_str(), match.captured(2).toInt(), match.captured(3).toInt(), text.c_str()});
    }
  }

  int NumberOf(const char* text) const {
    for (const StatementEntry& entry : entries)
      if (std::string_view(entry.text) == text) return entry.number;
    return -1;
  }
};

MessageRequest ErrorQuestion(int number, const QString& description, int line, const char* code) {
  return test::QuestionBox(
      QStringLiteral("Error Number: %1.\r\nError Description: %2.\r\n"
                     "Error Line: %3.\r\nError Code: %4\r\n"
                     "Do you wish to pause on this error again?")
          .arg(QString::number(number), description, QString::number(line), QString::fromUtf8(code))
          .toStdString(),
      "Error");
}

}  // namespace

class ErrorReportTest : public QObject {
  Q_OBJECT

  QTemporaryDir m_Temp;
  std::unique_ptr<LoadedTable> m_Table;  // this file's statements, in place of the program's

  MessageRequest Reported(int number, const QString& description, const char* code) const {
    return ErrorQuestion(number, description, m_Table->NumberOf(code), code);
  }

 private slots:
  void initTestCase() {
    QFile source(QStringLiteral(__FILE__));
    QVERIFY(source.open(QIODevice::ReadOnly));
    WriteSource(m_Temp.path(), QStringLiteral("own/support/ErrorReportTest.cpp"), source.readAll());
    const auto [exitCode, table] = Generate(m_Temp.filePath(QStringLiteral("own")),
                                            m_Temp.filePath(QStringLiteral("own.cpp")));
    QVERIFY2(exitCode == 0, qPrintable(table));
    m_Table = std::make_unique<LoadedTable>(table);
    test_hooks::ReplaceStatements(m_Table->entries);
  }
  void cleanupTestCase() { test_hooks::ReplaceStatements({}); }
  void init() { test_hooks::ResetErrorReporter(); }

  void reportsTheErrorAndTheInnermostStatementThatFailed() {
    ScriptedMessageBoxes boxes;
    for (auto fail : {RejectKeyBits, FillDisk, RunOutOfMemory, ThrowAnInt})
      cmdTest_Click(fail);
    LV_EXPECT_ASKED(
        boxes,
        Reported(1, QStringLiteral("cEncrypt.SetCipherKey - Illegal KeyBits Value"),
                 "throw RaisedError(1, \"cEncrypt.SetCipherKey - Illegal KeyBits Value\")"),
        Reported(ENOSPC,
                 QStringLiteral(
                     "Cannot write /tmp/out.encr (the disk is full): No space left on device"),
                 "throw std::system_error(ENOSPC, std::generic_category(), \"Cannot write "
                 "/tmp/out.encr (the disk is full)\")"),
        Reported(ENOMEM, QStringLiteral("Cannot allocate memory"), "throw std::bad_alloc()"),
        Reported(1, QStringLiteral("Unknown error"), "throw 42"));
  }

  void onlyNoSilencesALineAndThenForAnyError() {
    ScriptedMessageBoxes boxes;
    for (MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::Cancel, MessageAnswer::No}) {
      boxes.Queue(answer);
      cmdTest_Click([] { throw std::runtime_error("again"); });
    }
    cmdTest_Click([] { throw std::runtime_error("other"); });
    cmdTest_Click([] { throw RaisedError(1, "another"); });
    const MessageRequest again = Reported(1, QStringLiteral("again"), "body()");
    LV_EXPECT_ASKED(boxes, again, again, again);
    cmdTest_Click(RejectKeyBits);  // a different line
    QCOMPARE(boxes.TakeAsked().size(), 1u);
  }

  void aNestedHandlerReportsOnceAndItsCallerGoesOn() {
    ScriptedMessageBoxes boxes;
    bool callerFinished = false;
    LV_GUARD("cmdOuter_Click", [&] {
      cmdTest_Click(ThrowAnInt);
      callerFinished = true;
    });
    QVERIFY(callerFinished);
    LV_EXPECT_ASKED(boxes, Reported(1, QStringLiteral("Unknown error"), "throw 42"));
  }

  // A failure that ordinary code caught and put aside must not be named for a later one.
  void aFailureOutsideMarkedStatementsNamesTheHandler() {
    ScriptedMessageBoxes boxes;
    const auto recover = [] {
      try {
        RunMarked([] { throw std::runtime_error("put aside"); });
      } catch (const std::runtime_error&) {
      }
    };
    LV_GUARD("cmdUnmarked_Click", [&] {
      recover();
      throw std::runtime_error("unmarked");
    });
    LV_GUARD("cmdMarked_Click", [&] {
      recover();
      RunMarked([] { throw std::runtime_error("marked"); });
    });
    LV_EXPECT_ASKED(boxes, Reported(1, QStringLiteral("unmarked"), "cmdUnmarked_Click"),
                    Reported(1, QStringLiteral("marked"), "body()"));
  }

  void aLineWithoutTextShowsAnEmptyCodeAndLineZeroNothing() {
    ScriptedMessageBoxes boxes;
    ModError::Report(5, QString(), 30000);
    ModError::Report(5, QStringLiteral("no statement"), 0);
    LV_EXPECT_ASKED(boxes, ErrorQuestion(5, QString(), 30000, ""));
  }

  void numbersTheMarksOfTheWindowSourcesInPathAndLineOrder() {
    const QString root = m_Temp.filePath(QStringLiteral("tree"));
    WriteSource(root, QStringLiteral("support/Statement.h"),
                "// LV_STMT(x) marks a statement\n#define LV_STMT(...) Run(__VA_ARGS__)\n");
    WriteSource(root, QStringLiteral("mainwindow/frmMain.cpp"),
                "void frmMain::cmdGo_Click() {\n"
                "  LV_GUARD(\"cmdGo_Click\", [&] {\n"
                "    LV_STMT(Open(\"a\\\"b)\", ')', 1'000));  // LV_STMT(not this)\n"
                "    const char* url = \"http://host/LV_STMT(\";\n"
                "    int n = LV_STMT(\n"
                "        Compute(a,  // (\n"
                "                b));\n"
                "    /* LV_STMT(c) */ MY_LV_STMT(d);\n"
                "    LV_STMT(Path(\"C:\\\\dir\"));\n"
                "  });\n"
                "}\n");
    WriteSource(root, QStringLiteral("fileselect/Picker.h"), "void F() { LV_STMT(Pick()); }\n");
    WriteSource(root, QStringLiteral("cipher/cEncrypt.cpp"), "LV_STMT(NotWindowCode());\n");
    WriteSource(root, QStringLiteral("mainwindow/forms/Nested.cpp"), "LV_STMT(NotScanned());\n");
    const QString output = m_Temp.filePath(QStringLiteral("tree.cpp"));
    const auto [exitCode, table] = Generate(root, output);
    QVERIFY2(exitCode == 0, qPrintable(table));
    QStringList rows;
    for (const StatementEntry& entry : LoadedTable(table).entries)
      rows << QStringLiteral("%1:%2 #%3 %4")
                  .arg(entry.file)
                  .arg(entry.line)
                  .arg(entry.number)
                  .arg(entry.text);
    QCOMPARE(rows, QStringList({"fileselect/Picker.h:1 #1 Pick()",
                                "mainwindow/frmMain.cpp:2 #2 cmdGo_Click",
                                "mainwindow/frmMain.cpp:3 #3 Open(\"a\\\"b)\", ')', 1'000)",
                                "mainwindow/frmMain.cpp:5 #4 Compute(a, b)",
                                "mainwindow/frmMain.cpp:9 #5 Path(\"C:\\\\dir\")"}));
    QVERIFY(table.contains("\"Path(\\\"C:\\\\\\\\dir\\\")\""));

    WriteSource(root, QStringLiteral("jobs/Job.cpp"),
                "void G() {\n  LV_STMT(A()); LV_STMT(B());\n}\n");
    const auto [clashCode, errors] = Generate(root, output);
    QVERIFY(clashCode != 0);
    QVERIFY2(errors.contains(QStringLiteral("jobs/Job.cpp:2")), qPrintable(errors));
  }
};

QTEST_MAIN(ErrorReportTest)
#include "ErrorReportTest.moc"
