#pragma once

#include "cli/ExitStatus.h"

namespace lockvale {

// Counts the files that failed, by kind, and gives the exit status they add up to: any
// input/output failure outweighs decryption failures.
class FailureTally {
 public:
  void NoteFileFailure() { ++m_FileFailures; }
  void NoteDecryptionFailure() { ++m_DecryptionFailures; }

  int ExitStatus() const {
    if (m_FileFailures > 0) return kExitFileFailed;
    return m_DecryptionFailures > 0 ? kExitNotDecrypted : kExitDone;
  }

 private:
  int m_FileFailures = 0;
  int m_DecryptionFailures = 0;
};

}  // namespace lockvale
