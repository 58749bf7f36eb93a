#pragma once

#include <span>

#include "format/SealedKeys.h"
#include "support/StatementTable.h"

// Test hooks: the program itself never calls these.
namespace lockvale::test_hooks {

// Puts `statements` in place of the program's; an empty span restores them.
void ReplaceStatements(std::span<const StatementEntry> statements);

// The key derivation the window seals with, in place of the default.
void SetSealingSettings(const KdfSettings& settings);

}  // namespace lockvale::test_hooks
