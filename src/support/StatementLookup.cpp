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

int StatementNumber(std::string_view file, int line) {
  for (const StatementEntry& statement : Statements()) {
    if (statement.line == line && SameFile(file, statement.file)) return statement.number;
  }
  return 0;
}

}  // namespace lockvale
