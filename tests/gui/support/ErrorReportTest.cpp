// The error reporter over statement tables made by the build's own generator, and the real
// message box that shows reports and every other message.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "support/ModError.h"
#include "support/QtMessageBoxes.h"
#include "support/Statement.h"
#include "support/StatementTable.h"
#include "support/TestHooks.h"
#include "util/RaisedError.h"

using namespace lockvale::test;

// Runs `body` as a marked statement inside an event handler. The statements the reports
// below name are in this file, which is numbered as the program's sources are.
static void RunMarked(const std::function<void()>& body) {
  LV_STMT(body());
}
static void cmdTest_Click(const std::function<void()>& body) {
  LV_GUARD("cmdTest_Click", [&] { RunMarked(body); });
}

// Writes `sources` (path, text) under `root`, runs the table generator over it and returns
// the table, or nothing when it failed (its errors are in the test's output).
static QString Generate(const std::string& root,
                        const std::vector<std::pair<std::string, std::string>>& sources) {
  for (const auto& [path, text] : sources) {
    std::filesystem::create_directories(std::filesystem::path(root + "/" + path).parent_path());
    WriteFile(root + "/" + path, Bytes(text.begin(), text.end()));
  }
  const std::string script =
      (std::filesystem::path(__FILE__).parent_path() / "../../../cmake").generic_string();
  if (std::system(("cmake -DSOURCE_ROOT=" + root + " -DOUTPUT=" + root + ".cpp -P " + script +
                   "/StatementTable.cmake")
                      .c_str()) != 0)
    return {};
  const Bytes out = ReadFile(root + ".cpp");
  return QString::fromUtf8(reinterpret_cast<const char*>(out.data()), out.size());
}

// The generated table's rows, read back; the strings they point to last as long as the test.
static std::vector<StatementEntry> Load(const QString& table) {
  static std::deque<std::string> strings;
  static const QRegularExpression row(
      QStringLiteral("^    \\{\"([^\"]*)\", (\\d+), (\\d+), (\\d+), \"(.*)\"\\},$"),
      QRegularExpression::MultilineOption);
  static const QRegularExpression escape(QStringLiteral("\\\\(.)"));
  std::vector<StatementEntry> entries;
  for (const auto& match : row.globalMatch(table)) {
    const auto& file = strings.emplace_back(match.captured(1).toStdString());
    const auto& text = strings.emplace_back(
        match.captured(5).replace(escape, QStringLiteral("\\1")).toStdString());
    entries.push_back({file.c_str(), match.captured(2).toInt(), match.captured(3).toInt(),
                       match.captured(4).toInt(), text.c_str()});
  }
  return entries;
}

class ErrorReportTest : public QObject {
  Q_OBJECT

  TempDir m_Temp;
  std::vector<StatementEntry> m_Statements;  // this file's, in place of the program's

  // The report of an error in the statement of this file whose text is `code`, else in the
  // statement numbered `line`.
  MessageRequest Reported(int number, const std::string& description, const std::string& code,
                          int line = 0) const {
    for (const StatementEntry& entry : m_Statements)
      if (entry.text == code) line = entry.number;
    return QuestionBox("Error Number: " + std::to_string(number) +
                           ".\r\nError Description: " + description +
                           ".\r\nError Line: " + std::to_string(line) + ".\r\nError Code: " + code +
                           "\r\nDo you wish to pause on this error again?",
                       "Error");
  }

 private slots:
  void initTestCase() {
#ifdef Q_OS_WIN
    QSKIP(
        "the statement tables these tests compare are made by the build machine's CMake, "
        "which a program under Wine cannot start");
#endif
    const Bytes source = ReadFile(__FILE__);
    m_Statements = Load(Generate(
        m_Temp / "own", {{"support/ErrorReportTest.cpp", {source.begin(), source.end()}}}));
    QVERIFY(!m_Statements.empty());
    test_hooks::ReplaceStatements(m_Statements);
  }
  void cleanupTestCase() {
    test_hooks::ReplaceStatements({});
  }

  // The innermost marked statement is named; a failure outside marked statements names the
  // handler, even when ordinary code caught and put aside an earlier marked one. A nested
  // handler reports once, and its caller goes on.
  void reportsTheStatementThatFailedUntilNoSilencesIt() {
    ScriptedMessageBoxes boxes;
    cmdTest_Click([] { LV_STMT(throw RaisedError(1, "Key.Set - bad size")); });
    cmdTest_Click(
        [] { LV_STMT(throw std::system_error(ENOSPC, std::generic_category(), "At x")); });
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
    bool callerFinished = false;
    LV_GUARD("cmdOuter_Click", [&] {
      cmdTest_Click([] { LV_STMT(throw std::logic_error("inner")); });
      callerFinished = true;
    });
    QVERIFY(callerFinished);
    LV_EXPECT_ASKED(
        boxes, Reported(1, "Key.Set - bad size", "throw RaisedError(1, \"Key.Set - bad size\")"),
        Reported(ENOSPC, "At x: No space left on device",
                 "throw std::system_error(ENOSPC, std::generic_category(), \"At x\")"),
        Reported(1, "unmarked", "cmdUnmarked_Click"), Reported(1, "marked", "body()"),
        Reported(1, "inner", "throw std::logic_error(\"inner\")"));

    // Only No silences a line, and then for any error; a line without text shows an empty
    // code, and line 0 nothing at all.
    for (const char* answer : {"Y", "C", "N"}) {
      boxes.Queue(answer);
      cmdTest_Click([] { throw std::runtime_error("again"); });
    }
    cmdTest_Click([] { throw RaisedError(1, "another"); });
    cmdTest_Click([] { LV_STMT(throw std::out_of_range("elsewhere")); });  // a different line
    ModError::Report(5, QString(), 30000);
    ModError::Report(5, QStringLiteral("no statement"), 0);
    const MessageRequest again = Reported(1, "again", "body()");
    LV_EXPECT_ASKED(boxes, again, again, again,
                    Reported(1, "elsewhere", "throw std::out_of_range(\"elsewhere\")"),
                    Reported(5, "", "", 30000));
  }

  void numbersTheMarksOfTheWindowSourcesInPathAndLineOrder() {
    const std::vector<StatementEntry> entries =
        Load(Generate(m_Temp / "tree",
                      {{"support/Statement.h",
                        "// LV_STMT(x) marks a statement\n#define LV_STMT(...) Run(__VA_ARGS__)\n"},
                       {"mainwindow/frmMain.cpp",
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
                        "}\n"},
                       {"browse/Picker.h", "void F() { LV_STMT(Pick()); }\n"},
                       {"cipher/cEncrypt.cpp", "LV_STMT(NotWindowCode());\n"},
                       {"mainwindow/forms/Nested.cpp", "LV_STMT(NotScanned());\n"}}));
    QStringList rows;
    for (const StatementEntry& entry : entries)
      rows << QString::asprintf("%s:%d-%d #%d %s", entry.file, entry.line, entry.lastLine,
                                entry.number, entry.text);
    QCOMPARE(rows, QStringList({"browse/Picker.h:1-1 #1 Pick()",
                                "mainwindow/frmMain.cpp:2-10 #2 cmdGo_Click",
                                "mainwindow/frmMain.cpp:3-3 #3 Open(\"a\\\"b)\", ')', 1'000)",
                                "mainwindow/frmMain.cpp:5-7 #4 Compute(a, b)",
                                "mainwindow/frmMain.cpp:9-9 #5 Path(\"C:\\\\dir\")"}));
    // Whichever line of a mark the compiler reports, the innermost mark around it is named.
    test_hooks::ReplaceStatements(entries);
    QList<int> numbers;
    for (int line : {10, 4, 7, 11})
      numbers << StatementNumber("/src/gui/mainwindow/frmMain.cpp", line);
    QCOMPARE(numbers, QList<int>({2, 2, 4, 0}));
    test_hooks::ReplaceStatements(m_Statements);
  }

  // A real box, looked at once it is up: exact texts, icon, buttons, default and owner.
  void showsTheRequestOverItsOwnerAndReturnsTheButtonClicked() {
    QWidget owner;
    owner.show();
    QtMessageBoxes boxes;
    boxes.SetOwner(&owner);
    const QString text = "a <b>file</b> name\r\nDo you wish to pause on this error again?";
    QStringList seen;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      seen << box->text() << box->windowTitle();
      // Any property that is not as asked is named.
      if (box->icon() != QMessageBox::Question) seen << "icon";
      if (box->standardButtons() != (QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel))
        seen << "buttons";
      if (box->defaultButton() != box->button(QMessageBox::Yes)) seen << "default button";
      if (box->parentWidget() != &owner) seen << "owner";
      if (box->textFormat() != Qt::PlainText) seen << "text format";
      box->button(QMessageBox::No)->click();
    });
    QCOMPARE(boxes.Ask(text.toStdString(), ""), MessageAnswer::No);
    QCOMPARE(seen, (QStringList{text, "Lockvale"}));
  }
};

QTEST_MAIN(ErrorReportTest)
#include "ErrorReportTest.moc"
