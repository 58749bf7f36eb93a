#pragma once

#include <signal.h>

#include <array>
#include <cstddef>
#include <string_view>

#include "util/SecretText.h"

namespace lockvale {

// The controlling terminal, for asking a key without showing what is typed.
class TerminalPrompt {
 public:
  TerminalPrompt();  // opens /dev/tty; IsOpen tells whether there is one
  ~TerminalPrompt();
  TerminalPrompt(const TerminalPrompt&) = delete;
  TerminalPrompt& operator=(const TerminalPrompt&) = delete;

  bool IsOpen() const { return m_Handle >= 0; }
  // Shows the prompt and reads one line with the echo off. The echo comes back on every way
  // out: an interrupt or termination signal puts it back before it ends the process.
  SecretText AskHidden(std::string_view prompt);

 private:
  static constexpr std::array<int, 4> kEndingSignals = {SIGINT, SIGTERM, SIGQUIT, SIGHUP};
  static constexpr std::size_t kLongestLine = 1024;

  void Write(std::string_view text) const;
  bool HideInput();
  void ShowInput();
  std::size_t ReadLine(std::array<char, kLongestLine>& line) const noexcept;

  int m_Handle = -1;
  std::array<struct sigaction, kEndingSignals.size()> m_PreviousActions{};
};

}  // namespace lockvale
