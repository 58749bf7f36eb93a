#include "support/ModError.h"

#include <algorithm>
#include <vector>

#include "support/ActiveMessageBoxes.h"
#include "support/StatementTable.h"
#include "support/WindowThread.h"

namespace lockvale::ModError {

namespace {

struct ReporterState {
  bool initialised = false;
  std::vector<QString> lineTexts;  // indexed by statement number; entry 0 stays empty
  std::vector<int> silencedLines;
};

ReporterState& State() {
  static ReporterState state;
  return state;
}

std::vector<QString> BuildLineTexts() {
  const auto statements = Statements();
  std::vector<QString> texts(statements.size() + 1);
  for (const StatementEntry& statement : statements) {
    if (statement.number > 0 && statement.number < static_cast<int>(texts.size()))
      texts[statement.number] = QString::fromUtf8(statement.text);
  }
  return texts;
}

QString LineText(const ReporterState& state, int line) {
  if (line < 0 || line >= static_cast<int>(state.lineTexts.size())) return {};
  return state.lineTexts[line];
}

void ReportHere(int number, const QString& description, int line) {
  ReporterState& state = State();
  if (!state.initialised) {
    state.silencedLines = {0};
    state.lineTexts = BuildLineTexts();
    state.initialised = true;
  }
  if (std::ranges::find(state.silencedLines, line) != state.silencedLines.end()) return;

  const QString message =
      QStringLiteral(
          "Error Number: %1.\r\n"
          "Error Description: %2.\r\n"
          "Error Line: %3.\r\n"
          "Error Code: %4\r\n"
          "Do you wish to pause on this error again?")
          .arg(QString::number(number), description, QString::number(line), LineText(state, line));
  if (AskYesNoCancel(message, QStringLiteral("Error"), NoticeIcon::Question) == MessageAnswer::No)
    state.silencedLines.push_back(line);
}

}  // namespace

// The reporter's state is the window thread's alone.
void Report(int number, const QString& description, int line) {
  RunOnWindowThread([&] { ReportHere(number, description, line); });
}

}  // namespace lockvale::ModError
