#pragma once

#include <istream>
#include <ostream>

#include "cli/CliOptions.h"
#include "cli/StreamNotifier.h"

namespace lockvale {

// lockvale-cli text encrypt|decrypt: all of `in` as the window's text job takes its text, the
// result on `out`. Returns the exit status.
int RunTextCommand(const CliOptions& options, std::istream& in, std::ostream& out,
                   StreamNotifier& notifier);

}  // namespace lockvale
