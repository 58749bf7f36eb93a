#include "cli/TerminalPrompt.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "util/SecureWipe.h"

namespace lockvale {
namespace {

// What the signal handler needs to turn the echo back on; g_EchoOff is set only while it is off.
int g_EchoHandle = -1;
termios g_ShownModes{};
volatile sig_atomic_t g_EchoOff = 0;

void RestoreEchoAndEnd(int signalNumber) {
  if (g_EchoOff) ::tcsetattr(g_EchoHandle, TCSANOW, &g_ShownModes);
  ::signal(signalNumber, SIG_DFL);
  ::raise(signalNumber);  // delivered, with its usual effect, once the handler returns
}

}  // namespace

TerminalPrompt::TerminalPrompt() : m_Handle(::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC)) {}

TerminalPrompt::~TerminalPrompt() {
  if (m_Handle >= 0) ::close(m_Handle);
}

SecretText TerminalPrompt::AskHidden(std::string_view prompt) {
  const bool hidden = HideInput();  // first, so nothing typed after the prompt shows
  Write(prompt);
  std::array<char, kLongestLine> line;
  const std::size_t length = ReadLine(line);
  if (hidden) ShowInput();
  Write("\n");  // the one typed was not echoed
  SecretText text(std::string_view(line.data(), length));
  SecureWipe(line.data(), line.size());
  return text;
}

void TerminalPrompt::Write(std::string_view text) const {
  while (!text.empty()) {
    const ssize_t written = ::write(m_Handle, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;  // a prompt that cannot be shown does not stop the reading
    text.remove_prefix(static_cast<std::size_t>(written));
  }
}

bool TerminalPrompt::HideInput() {
  termios modes{};
  if (::tcgetattr(m_Handle, &modes) != 0) return false;
  g_ShownModes = modes;
  g_EchoHandle = m_Handle;
  struct sigaction restoring {};
  restoring.sa_handler = RestoreEchoAndEnd;
  sigemptyset(&restoring.sa_mask);
  for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
    ::sigaction(kEndingSignals[i], nullptr, &m_PreviousActions[i]);
    // A signal the caller chose to ignore stays ignored.
    if (m_PreviousActions[i].sa_handler != SIG_IGN)
      ::sigaction(kEndingSignals[i], &restoring, nullptr);
  }
  g_EchoOff = 1;
  modes.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  ::tcsetattr(m_Handle, TCSAFLUSH, &modes);
  return true;
}

void TerminalPrompt::ShowInput() {
  ::tcsetattr(m_Handle, TCSAFLUSH, &g_ShownModes);
  g_EchoOff = 0;
  for (std::size_t i = 0; i < kEndingSignals.size(); ++i)
    ::sigaction(kEndingSignals[i], &m_PreviousActions[i], nullptr);
}

// Up to the line break or the end of input; what does not fit is read and dropped.
std::size_t TerminalPrompt::ReadLine(std::array<char, kLongestLine>& line) const noexcept {
  std::size_t length = 0;
  char c = 0;
  for (;;) {
    const ssize_t got = ::read(m_Handle, &c, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0 || c == '\n') break;
    if (c != '\r' && length < line.size()) line[length++] = c;
  }
  return length;
}

}  // namespace lockvale
