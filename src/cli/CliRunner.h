#pragma once

#include <ostream>

#include "cli/CliOptions.h"

namespace lockvale {

// Runs one command-line job; messages go to `errors`, one line each.
// Returns the process exit code: 0 success, 1 the job failed.
int RunCli(const CliOptions& options, std::ostream& errors);

}  // namespace lockvale
