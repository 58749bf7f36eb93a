#pragma once

#include <cstddef>
#include <string>
#include <vector>

// What lockvale-cli needs of the system it runs on, beyond files.
namespace lockvale::console {

// The arguments after the program's name, in UTF-8 whatever the system's code page.
std::vector<std::string> Arguments(int argc, char** argv);

// True when standard error is a terminal (a console) that a person watches.
bool ErrorsOnTerminal();

// The width of standard error's terminal in columns, or 80 when it does not say.
std::size_t TerminalWidth();

// Standard input and output carry bytes as they are, with no line breaks translated.
void BinaryStandardStreams();

// From here on, a signal that ends the process (SIGINT, SIGTERM, SIGHUP, SIGQUIT) first removes
// the temporary files of results not yet complete; one the caller ignores stays ignored.
void RemoveTemporaryFilesOnEndingSignals();

}  // namespace lockvale::console
