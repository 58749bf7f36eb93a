#pragma once

#include <cstdint>
#include <string_view>

#include "util/SecretText.h"

namespace lockvale {

// The controlling terminal (the console on Windows), for asking a key without showing what is
// typed.
class TerminalPrompt {
 public:
  TerminalPrompt();  // IsOpen tells whether there is one
  ~TerminalPrompt();
  TerminalPrompt(const TerminalPrompt&) = delete;
  TerminalPrompt& operator=(const TerminalPrompt&) = delete;

  bool IsOpen() const { return m_Handle != -1; }
  // Shows the prompt and reads one line with the echo off. The echo comes back on every way
  // out: an interrupt or termination puts it back before it ends the process.
  SecretText AskHidden(std::string_view prompt);

 private:
  static constexpr std::size_t kLongestLine = 1024;

  std::intptr_t m_Handle = -1;  // a descriptor, or a Windows HANDLE
};

}  // namespace lockvale
