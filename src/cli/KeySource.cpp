#include "cli/KeySource.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <system_error>

#include "cli/TerminalPrompt.h"
#include "cli/UsageError.h"
#include "jobs/JobSteps.h"
#include "util/CodePage.h"
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

// Editors on Windows start UTF-8 files with one; it is not part of the key.
std::size_t ByteOrderMarkLength(const std::uint8_t* bytes, std::size_t length) {
  return length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF ? 3 : 0;
}

}  // namespace

SecretText ReadKeyFile(const std::string& path) {
  // A fixed buffer, wiped after: a growing string would leave copies of the key behind.
  // Past its size only bytes that no key size uses are dropped.
  std::array<std::uint8_t, 4096> buffer;
  std::size_t length = 0;
  try {
    InputFile file(path);
    if (file.OthersMayRead())
      std::cerr << "lockvale-cli: warning: " << path << " can be read by others\n";
    length = file.Read(buffer.data(), buffer.size());
  } catch (const std::system_error& error) {
    SecureWipe(buffer.data(), buffer.size());
    throw UsageError(error.what());
  }
  const std::size_t start = ByteOrderMarkLength(buffer.data(), length);
  std::size_t end = start;
  while (end < length && buffer[end] != '\n' && buffer[end] != '\r')
    ++end;
  SecretText key(
      std::string_view(reinterpret_cast<const char*>(buffer.data()) + start, end - start));
  SecureWipe(buffer.data(), buffer.size());
  return key;
}

SecretText ObtainKeyText(const std::string& keyFile, bool askTwice) {
  if (!keyFile.empty()) return ReadKeyFile(keyFile);
  if (const char* fromEnvironment = std::getenv("LOCKVALE_KEY")) return SecretText(fromEnvironment);
  return AskOnTerminal(askTwice);
}

void RefuseUnheldCharacters(const std::string& what, std::string_view text) {
  const CodePage codePage = CodePage::ForThisSystem();
  const std::size_t unheld = UnheldCharacters(codePage, text);
  if (unheld == 0) return;
  throw UsageError("the " + what + " holds " + std::to_string(unheld) +
                   (unheld == 1 ? " character" : " characters") + " that the code page " +
                   codePage.Name() +
                   " cannot hold (each would be encrypted as \"?\"); nothing done");
}

}  // namespace lockvale
