#include "support/StatementTable.h"
#include "support/TestHooks.h"

namespace lockvale {

namespace {

std::span<const StatementEntry> g_TestStatements;

bool SameFile(std::string_view compiledPath, std::string_view tablePath) {
  if (!compiledPath.ends_with(tablePath)) return false;
  const std::size_t start = compiledPath.size() - tablePath.size();
  return start == 0 || compiledPath[start - 1] == '/' || compiledPath[start - 1] == '\\';
}

}  // namespace

std::span<const StatementEntry> Statements() {
  return g_TestStatements.empty() ? ProgramStatements() : g_TestStatements;
}

namespace test_hooks {

void ReplaceStatements(std::span<const StatementEntry> statements) {
  g_TestStatements = statements;
}

}  // namespace test_hooks

// A mark reports its first or its last line, as the compiler has it; marks inside another
// start after it, so the one starting last is the innermost.
int StatementNumber(std::string_view file, int line) {
  const StatementEntry* innermost = nullptr;
  for (const StatementEntry& statement : Statements()) {
    if (statement.line <= line && line <= statement.lastLine && SameFile(file, statement.file) &&
        (innermost == nullptr || statement.line > innermost->line))
      innermost = &statement;
  }
  return innermost != nullptr ? innermost->number : 0;
}

}  // namespace lockvale
