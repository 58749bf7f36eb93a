#include "cli/KeySource.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <system_error>

#include "cli/TerminalPrompt.h"
#include "cli/UsageError.h"
#include "util/InputFile.h"
#include "util/SecureWipe.h"

namespace lockvale {
namespace {

SecretText AskOnTerminal(bool askTwice) {
  TerminalPrompt terminal;
  if (!terminal.IsOpen())
    throw UsageError("no key: give --key-file KEYFILE, set LOCKVALE_KEY, or run on a terminal");
  SecretText key = terminal.AskHidden("Key: ");
  if (askTwice && terminal.AskHidden("Repeat key: ").View() != key.View())
    throw UsageError("the two keys typed differ; nothing done");
  return key;
}

}  // namespace

SecretText ReadKeyFile(const std::string& path) {
  // A fixed buffer, wiped after: a growing string would leave copies of the key behind.
  // Past its size only bytes that no key size uses are dropped.
  std::array<std::uint8_t, 4096> buffer;
  std::size_t length = 0;
  try {
    length = InputFile(path).Read(buffer.data(), buffer.size());
  } catch (const std::system_error& error) {
    SecureWipe(buffer.data(), buffer.size());
    throw UsageError(error.what());
  }
  std::size_t end = 0;
  while (end < length && buffer[end] != '\n' && buffer[end] != '\r')
    ++end;
  SecretText key(std::string_view(reinterpret_cast<const char*>(buffer.data()), end));
  SecureWipe(buffer.data(), buffer.size());
  return key;
}

SecretText ObtainKeyText(const std::string& keyFile, bool askTwice) {
  if (!keyFile.empty()) return ReadKeyFile(keyFile);
  if (const char* fromEnvironment = std::getenv("LOCKVALE_KEY")) return SecretText(fromEnvironment);
  return AskOnTerminal(askTwice);
}

}  // namespace lockvale
