#include "cli/TerminalPrompt.h"

#include <fcntl.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <span>

#include "util/SecureWipe.h"

namespace lockvale {
namespace {

constexpr std::array<int, 4> kEndingSignals = {SIGINT, SIGTERM, SIGQUIT, SIGHUP};
std::array<struct sigaction, kEndingSignals.size()> g_PreviousActions{};

// What the signal handler needs to turn the echo back on; g_EchoOff is set only while it is off.
int g_EchoHandle = -1;
termios g_ShownModes{};
volatile sig_atomic_t g_EchoOff = 0;

void RestoreEchoAndEnd(int signalNumber) {
  if (g_EchoOff) ::tcsetattr(g_EchoHandle, TCSANOW, &g_ShownModes);
  ::signal(signalNumber, SIG_DFL);
  ::raise(signalNumber);  // delivered, with its usual effect, once the handler returns
}

void Write(int handle, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(handle, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;  // a prompt that cannot be shown does not stop the reading
    text.remove_prefix(static_cast<std::size_t>(written));
  }
}

bool HideInput(int handle) {
  termios modes{};
  if (::tcgetattr(handle, &modes) != 0) return false;
  g_ShownModes = modes;
  g_EchoHandle = handle;
  struct sigaction restoring {};
  restoring.sa_handler = RestoreEchoAndEnd;
  sigemptyset(&restoring.sa_mask);
  for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
    ::sigaction(kEndingSignals[i], nullptr, &g_PreviousActions[i]);
    // A signal the caller chose to ignore stays ignored.
    if (g_PreviousActions[i].sa_handler != SIG_IGN)
      ::sigaction(kEndingSignals[i], &restoring, nullptr);
  }
  g_EchoOff = 1;
  modes.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  ::tcsetattr(handle, TCSAFLUSH, &modes);
  return true;
}

void ShowInput(int handle) {
  ::tcsetattr(handle, TCSAFLUSH, &g_ShownModes);
  g_EchoOff = 0;
  for (std::size_t i = 0; i < kEndingSignals.size(); ++i)
    ::sigaction(kEndingSignals[i], &g_PreviousActions[i], nullptr);
}

// Up to the line break or the end of input; what does not fit is read and dropped.
std::size_t ReadLine(int handle, std::span<char> line) noexcept {
  std::size_t length = 0;
  char c = 0;
  for (;;) {
    const ssize_t got = ::read(handle, &c, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0 || c == '\n') break;
    if (c != '\r' && length < line.size()) line[length++] = c;
  }
  return length;
}

}  // namespace

TerminalPrompt::TerminalPrompt() : m_Handle(::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC)) {}

TerminalPrompt::~TerminalPrompt() {
  if (m_Handle >= 0) ::close(static_cast<int>(m_Handle));
}

SecretText TerminalPrompt::AskHidden(std::string_view prompt) {
  const int handle = static_cast<int>(m_Handle);
  const bool hidden = HideInput(handle);  // first, so nothing typed after the prompt shows
  Write(handle, prompt);
  std::array<char, kLongestLine> line;
  const std::size_t length = ReadLine(handle, line);
  if (hidden) ShowInput(handle);
  Write(handle, "\n");  // the one typed was not echoed
  SecretText text(std::string_view(line.data(), length));
  SecureWipe(line.data(), line.size());
  return text;
}

}  // namespace lockvale
