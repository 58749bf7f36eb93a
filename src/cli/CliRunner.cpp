#include "cli/CliRunner.h"

#include <fstream>
#include <system_error>

#include "cipher/KeyBytes.h"
#include "cli/StreamNotifier.h"
#include "jobs/FileJobChecks.h"
#include "util/FileIdentity.h"
#include "util/SecureWipe.h"

namespace lockvale {
namespace {

// The key text is the key file's first line, without its line break.
std::string ReadKeyText(const std::string& keyFile) {
  std::ifstream in(keyFile, std::ios::binary);
  if (!in) throw std::system_error(errno, std::generic_category(), "Cannot open " + keyFile);
  std::string text;
  text.reserve(4096);  // growing would leave copies of the key in freed memory
  char c;
  while (in.get(c) && c != '\n' && c != '\r')
    text += c;
  if (in.bad()) throw std::system_error(errno, std::generic_category(), "Cannot read " + keyFile);
  return text;
}

// The file-job checks the window makes, then the refusal of an existing destination,
// which the window asks about instead; empty when all pass.
std::string CheckInputs(const CliOptions& options, const std::string& keyText) {
  if (auto refusal = CheckFileJob(options.source, options.destination, keyText.empty()))
    return refusal->text;
  if (FileExists(options.destination) && !options.overwrite)
    return options.destination + " already exists (use --overwrite to replace it)";
  return {};
}

int Run(const CliOptions& options, std::ostream& errors) {
  std::string keyText = ReadKeyText(options.keyFile);
  std::string problem = CheckInputs(options, keyText);
  if (!problem.empty()) {
    SecureWipe(keyText.data(), keyText.size());
    errors << "lockvale-cli: " << problem << '\n';
    return 1;
  }
  KeyBytes key(keyText);
  SecureWipe(keyText.data(), keyText.size());

  StreamNotifier notifier(errors);
  cEncrypt cipher;
  cipher.SetNotifier(&notifier);
  cipher.SetCipherKey(key.Bytes(), options.keyBits);
  FileJobRequest request{options.source, options.destination, options.direction, options.overwrite,
                         options.deleteSource};
  return RunFileJob(cipher, request) == FileJobOutcome::Completed ? 0 : 1;
}

}  // namespace

int RunCli(const CliOptions& options, std::ostream& errors) {
  try {
    return Run(options, errors);
  } catch (const std::exception& error) {  // the cipher's own errors and system errors alike
    errors << "lockvale-cli: " << error.what() << '\n';
  }
  return 1;
}

}  // namespace lockvale
