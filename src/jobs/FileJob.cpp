#include "jobs/FileJob.h"

#include "util/AtomicOutputFile.h"
#include "util/FileIdentity.h"
#include "util/InputFile.h"

namespace lockvale {

namespace {

FileJobOutcome TransformIntoPlace(cEncrypt& cipher, const FileJobRequest& request) {
  InputFile source(request.source);
  const bool encrypting = request.direction == Direction::Encrypt;
  if (!encrypting && !cipher.AcceptCiphertextSize(source.Size())) return FileJobOutcome::Refused;
  AtomicOutputFile destination(request.destination, source.PermissionBits());
  if (encrypting) {
    cipher.FileEncrypt(source, destination);
  } else {
    cipher.FileDecrypt(destination, source);
    if (cipher.ErrorHappened()) return FileJobOutcome::Refused;
  }
  destination.Commit(request.replaceExisting);
  return FileJobOutcome::Completed;
}

}  // namespace

FileJobOutcome RunFileJob(cEncrypt& cipher, const FileJobRequest& request) {
  // The source is closed before it is deleted; some systems refuse otherwise.
  const FileJobOutcome outcome = TransformIntoPlace(cipher, request);
  if (outcome == FileJobOutcome::Completed && request.deleteSource)
    DeleteFileQuietly(request.source);
  return outcome;
}

}  // namespace lockvale
