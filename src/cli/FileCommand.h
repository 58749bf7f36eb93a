#pragma once

#include <optional>
#include <string>

#include "cli/CliOptions.h"
#include "cli/FailureTally.h"
#include "cli/ProgressLine.h"
#include "cli/StreamNotifier.h"
#include "format/FormatResult.h"
#include "format/SealedKeys.h"
#include "format/cEncrypt.h"
#include "util/SecretText.h"

namespace lockvale {

// lockvale-cli encrypt|decrypt|verify: every file given, and with -r every file in the folders
// given, through the file job in turn, or checked. A file that fails is reported and the next one
// goes on. All the files of a run share one keyring: sealing derives its key once.
class FileCommand {
 public:
  FileCommand(const CliOptions& options, StreamNotifier& notifier, ProgressLine* progress)
      : m_Options(options), m_Notifier(notifier), m_Progress(progress) {}

  // Returns the exit status. An empty key is refused for each file, as the window refuses it.
  int Run(const SecretText& keyText);

 private:
  void RunPath(const std::string& path);
  void RunFile(const std::string& source);
  std::optional<std::string> Refusal(const std::string& source,
                                     const std::string& destination) const;
  void Transform(const std::string& source, const std::string& destination);
  void Stream(const std::string& source, const std::string& destination);
  void Verify(const std::string& source);
  // True, after telling the refusal, when the file did not decrypt or verify.
  bool Refused(const FormatResult& result);
  void Fail(const std::string& reason);

  const CliOptions& m_Options;
  StreamNotifier& m_Notifier;
  ProgressLine* m_Progress;
  cEncrypt m_Cipher;
  std::optional<SealedKeyring> m_SealedKeys;
  bool m_KeyEmpty = false;
  FailureTally m_Tally;
};

}  // namespace lockvale
