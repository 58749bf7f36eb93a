#pragma once

#include <string>

#include "cipher/cEncrypt.h"
#include "jobs/JobRequest.h"

namespace lockvale {

struct FileJobRequest {
  std::string source;
  std::string destination;
  Direction direction = Direction::Encrypt;
  bool replaceExisting = false;  // the caller has settled that an existing destination may go
  bool deleteSource = false;
};

enum class FileJobOutcome {
  Completed,
  Refused,  // the ciphertext did not decrypt; the cipher has told the user why
};

// Encrypts or decrypts one file with the key installed in `cipher`. The result
// appears under the destination name only when it is complete and on disk; until
// then an existing destination is untouched, and a failure leaves nothing behind.
// A ciphertext of unusable size is refused before anything is created. The result
// takes the source's permission bits (less the umask), and the source is deleted,
// when asked, only after the result is in place.
// Read and write failures throw std::system_error.
FileJobOutcome RunFileJob(cEncrypt& cipher, const FileJobRequest& request);

}  // namespace lockvale
