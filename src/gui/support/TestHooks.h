#pragma once

#include <span>

#include "support/StatementTable.h"

// Test hooks: the program itself never calls these.
namespace lockvale::test_hooks {

// Back to the state at start-up: nothing silenced, statement texts to be read again.
void ResetErrorReporter();

// Puts `statements` in place of the program's; an empty span restores them.
void ReplaceStatements(std::span<const StatementEntry> statements);

}  // namespace lockvale::test_hooks
