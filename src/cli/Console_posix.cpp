#include <sys/ioctl.h>
#include <unistd.h>

#include "cli/Console.h"

namespace lockvale::console {

std::vector<std::string> Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

bool ErrorsOnTerminal() {
  return ::isatty(STDERR_FILENO);
}

std::size_t TerminalWidth() {
  winsize size{};
  return ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
}

}  // namespace lockvale::console
