#include "cli/StandardStreams.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "cli/Console.h"

namespace lockvale {
namespace {

[[noreturn]] void ThrowStreamError(const char* what) {
  throw std::system_error(errno != 0 ? errno : EIO, std::generic_category(), what);
}

}  // namespace

StandardInput::StandardInput() {
  console::BinaryStandardStreams();
}

std::size_t StandardInput::Read(std::uint8_t* data, std::size_t size) {
  errno = 0;
  const std::size_t got = std::fread(data, 1, size, stdin);
  if (got < size && std::ferror(stdin)) ThrowStreamError("Cannot read standard input");
  return got;
}

StandardOutput::StandardOutput() {
  console::BinaryStandardStreams();
}

void StandardOutput::Write(const std::uint8_t* data, std::size_t size) {
  errno = 0;
  if (std::fwrite(data, 1, size, stdout) != size) ThrowStreamError("Cannot write standard output");
}

void StandardOutput::Flush() {
  errno = 0;
  if (std::fflush(stdout) != 0) ThrowStreamError("Cannot write standard output");
}

}  // namespace lockvale
