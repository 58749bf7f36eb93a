#pragma once

namespace lockvale {

// The synopsis, printed after a usage error.
extern const char* const kCliUsage;
// The rest of the help, after the synopsis: options, key sources and exit statuses.
extern const char* const kCliHelpBody;

}  // namespace lockvale
