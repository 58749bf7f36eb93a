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
  source.ExpectUnchanged();
  destination.Commit(request.replaceExisting);
  return FileJobOutcome::Completed;
}

std::optional<std::string> RemoveSource(const FileJobRequest& request) {
  if (!FileExists(request.source)) return std::nullopt;  // someone removed it while it was read
  if (IsReadOnly(request.source)) return "the file is read-only";
  if (request.direction == Direction::Decrypt) return request.moveToTrash(request.source);
  return RemoveFile(request.source);
}

}  // namespace

FileJobResult RunFileJob(cEncrypt& cipher, const FileJobRequest& request) {
  // The source is closed before it is removed; some systems refuse otherwise.
  const FileJobOutcome outcome = TransformIntoPlace(cipher, request);
  if (outcome != FileJobOutcome::Completed || !request.deleteSource) return {outcome, {}};
  return {outcome, RemoveSource(request)};
}

}  // namespace lockvale
