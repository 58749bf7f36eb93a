#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>

#include "cli/Console.h"
#include "util/WindowsIo.h"

namespace lockvale::console {

// `argv` holds the names in the ANSI code page, which loses what it cannot hold; the wide
// command line has them all.
std::vector<std::string> Arguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr || count != argc) {
    if (wide != nullptr) ::LocalFree(wide);
    return std::vector<std::string>(argv + 1, argv + argc);
  }
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i)
    arguments.push_back(windows::Utf8(wide[i]));
  ::LocalFree(wide);
  return arguments;
}

bool ErrorsOnTerminal() {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

std::size_t TerminalWidth() {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!::GetConsoleScreenBufferInfo(::GetStdHandle(STD_ERROR_HANDLE), &info)) return 80;
  const int width = info.srWindow.Right - info.srWindow.Left + 1;
  return width > 0 ? static_cast<std::size_t>(width) : 80;
}

void BinaryStandardStreams() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
}

// Ctrl+C ends a console program here without such handlers; the temporary file's handle, open
// without sharing, could not be removed from one anyway.
void RemoveTemporaryFilesOnEndingSignals() {}

}  // namespace lockvale::console
