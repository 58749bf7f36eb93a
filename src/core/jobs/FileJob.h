#pragma once

#include <functional>
#include <optional>
#include <string>

#include "format/SealedKeys.h"
#include "format/cEncrypt.h"
#include "jobs/JobRequest.h"
#include "util/Trash.h"

namespace lockvale {

// Moves a file to the trash; the reason when it could not, and then the file stays.
using TrashMover = std::function<std::optional<std::string>(const std::string& path)>;
// Told true before the keyring runs the slow key derivation, false once it is over.
using DerivationNotice = std::function<void(bool deriving)>;

struct FileJobRequest {
  std::string source;
  std::string destination;
  Direction direction = Direction::Encrypt;
  bool replaceExisting = false;  // the caller has settled that an existing destination may go
  bool deleteSource = false;
  TrashMover moveToTrash = MoveToTrash;  // where a decrypted encrypted file goes
  Format format = Format::Encr;          // what encrypting writes
  SealedKeyring* sealedKeys = nullptr;   // the run's; needed to write or read a sealed file
  DerivationNotice derivationNotice = {};
};

struct FileJobResult {
  FormatResult format;  // Done, or why there is no result: refused ciphertext, or cancelled
  std::optional<std::string> sourceKept;  // why a completed job's source to remove is still there
};

// Encrypts one file into the request's format, or decrypts one of either format, told apart by
// its content: an encrypted file with the key installed in `cipher`, a sealed file with the
// keyring's secret for its header. Progress and the cancel flag are the cipher's for both. The
// result appears under the destination name only when it is complete and on disk; until
// then an existing destination is untouched, and a failure or a cancel leaves nothing behind.
// A ciphertext of unusable size, an encrypted file whose final block gives a wrong key away and
// a sealed file whose header is refused are all refused before anything is created. A source
// written to while it was read fails the job with SourceChanged. The result takes the source's
// permission bits (less the umask). The source is removed, when asked, only after the result
// is in place, and never when it is read-only: a plaintext or a sealed file is deleted, an
// encrypted file moved to the trash, as a wrong key is not always detectable in that format.
// Read and write failures throw std::system_error; a sealed file met without a keyring throws
// std::invalid_argument.
FileJobResult RunFileJob(cEncrypt& cipher, const FileJobRequest& request);

}  // namespace lockvale
