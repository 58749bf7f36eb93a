#include "jobs/FileJob.h"

#include "format/FileFormat.h"
#include "util/AtomicOutputFile.h"
#include "util/FileIdentity.h"
#include "util/InputFile.h"

namespace lockvale {

namespace {

FormatResult TransformIntoPlace(cEncrypt& cipher, const FileJobRequest& request) {
  InputFile source(request.source);
  const bool encrypting = request.direction == Direction::Encrypt;
  if (!encrypting) {
    const FormatResult sized = CheckCiphertextSize(source.Size());
    if (sized.kind != FormatResult::Done) return sized;
  }
  AtomicOutputFile destination(request.destination, source.PermissionBits());
  const FormatResult result = encrypting ? cipher.FileEncrypt(source, destination)
                                         : cipher.FileDecrypt(destination, source);
  if (result.kind != FormatResult::Done) return result;
  source.ExpectUnchanged();
  destination.Commit(request.replaceExisting);
  return result;
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
  const FormatResult result = TransformIntoPlace(cipher, request);
  if (result.kind != FormatResult::Done || !request.deleteSource) return {result, {}};
  return {result, RemoveSource(request)};
}

}  // namespace lockvale
