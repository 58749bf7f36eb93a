#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "cli/Console.h"
#include "util/AtomicOutputFile.h"

namespace lockvale::console {
namespace {

void RemoveTemporaryFilesAndEnd(int signalNumber) {
  AtomicOutputFile::RemoveUncommitted();
  ::signal(signalNumber, SIG_DFL);
  ::raise(signalNumber);  // delivered, with its usual effect, once the handler returns
}

}  // namespace

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

void BinaryStandardStreams() {}

void RemoveTemporaryFilesOnEndingSignals() {
  struct sigaction removing {};
  removing.sa_handler = RemoveTemporaryFilesAndEnd;
  sigemptyset(&removing.sa_mask);
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
    struct sigaction previous {};
    ::sigaction(signalNumber, nullptr, &previous);
    if (previous.sa_handler != SIG_IGN) ::sigaction(signalNumber, &removing, nullptr);
  }
}

}  // namespace lockvale::console
