#include <windows.h>

#include <array>
#include <span>

#include "cli/TerminalPrompt.h"
#include "util/SecureWipe.h"
#include "util/WindowsIo.h"

namespace lockvale {
namespace {

// What the console control handler needs to turn the echo back on.
HANDLE g_EchoHandle = INVALID_HANDLE_VALUE;
DWORD g_ShownMode = 0;

BOOL WINAPI RestoreEchoAndEnd(DWORD) {
  ::SetConsoleMode(g_EchoHandle, g_ShownMode);
  return FALSE;  // the next handler, in the end the system's, ends the process as usual
}

HANDLE Handle(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

// The prompt goes to the console itself, as the typing comes from it, whatever standard output
// and error are.
void Write(std::string_view text) {
  const HANDLE console = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
  if (console == INVALID_HANDLE_VALUE) return;  // a prompt that cannot be shown does not matter
  const std::wstring wide = windows::Wide(text);
  DWORD written = 0;
  ::WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  ::CloseHandle(console);
}

bool HideInput(HANDLE console) {
  DWORD mode = 0;
  if (!::GetConsoleMode(console, &mode)) return false;
  g_EchoHandle = console;
  g_ShownMode = mode;
  ::SetConsoleCtrlHandler(RestoreEchoAndEnd, TRUE);
  ::SetConsoleMode(console, (mode | ENABLE_LINE_INPUT) & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
  return true;
}

void ShowInput(HANDLE console) {
  ::SetConsoleMode(console, g_ShownMode);
  ::SetConsoleCtrlHandler(RestoreEchoAndEnd, FALSE);
}

// Up to the line break or the end of input; what does not fit is read and dropped. Typed as
// UTF-16, the line is UTF-8 inside the program.
std::size_t ReadLine(HANDLE console, std::span<wchar_t> line) noexcept {
  std::size_t length = 0;
  for (;;) {
    wchar_t c = 0;
    DWORD got = 0;
    if (!::ReadConsoleW(console, &c, 1, &got, nullptr) || got == 0 || c == L'\n') break;
    if (c != L'\r' && length < line.size()) line[length++] = c;
  }
  return length;
}

}  // namespace

TerminalPrompt::TerminalPrompt() {
  const HANDLE console = ::CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
  if (console != INVALID_HANDLE_VALUE) m_Handle = reinterpret_cast<std::intptr_t>(console);
}

TerminalPrompt::~TerminalPrompt() {
  if (IsOpen()) ::CloseHandle(Handle(m_Handle));
}

SecretText TerminalPrompt::AskHidden(std::string_view prompt) {
  const HANDLE console = Handle(m_Handle);
  const bool hidden = HideInput(console);  // first, so nothing typed after the prompt shows
  Write(prompt);
  std::array<wchar_t, kLongestLine> line;
  const std::size_t length = ReadLine(console, line);
  if (hidden) ShowInput(console);
  Write("\n");  // the one typed was not echoed
  std::string utf8 = windows::Utf8(std::wstring_view(line.data(), length));
  SecretText text(utf8);
  SecureWipe(line.data(), sizeof line);
  SecureWipe(utf8.data(), utf8.size());
  return text;
}

}  // namespace lockvale
