#include "jobs/FileJob.h"

#include <algorithm>
#include <stdexcept>

#include "format/SealedFormat.h"
#include "util/AtomicOutputFile.h"
#include "util/FileIdentity.h"
#include "util/InputFile.h"

namespace lockvale {

namespace {

struct Transformed {
  FormatResult result;
  bool sealedSource = false;
};

SealedKeyring& KeyringOf(const FileJobRequest& request) {
  if (request.sealedKeys == nullptr) throw std::invalid_argument("no keyring for a sealed file");
  return *request.sealedKeys;
}

// Derived before any output is made, the derivation told when it runs.
const SecretBytes& SecretFor(const FileJobRequest& request, const KdfSalt& salt,
                             const KdfSettings& settings) {
  SealedKeyring& keys = KeyringOf(request);
  const bool told = request.derivationNotice && !keys.Holds(salt, settings);
  if (told) request.derivationNotice(true);
  const SecretBytes& secret = keys.Secret(salt, settings);
  if (told) request.derivationNotice(false);
  return secret;
}

// The sealed format counts the source's bytes done; the cipher's callback takes the offset of
// the last block done.
SealedControl ControlOf(const cEncrypt& cipher) {
  SealedControl control{cipher.CancelFlag()};
  if (const ProgressCallback& progress = cipher.Progress())
    control.progress = [&progress](std::uint64_t done) {
      progress(std::max<std::uint64_t>(done, cEncrypt::BlockSize) - cEncrypt::BlockSize);
    };
  return control;
}

// Runs `transform` into a temporary output that takes the destination's name only once it is
// done and the source was not changed meanwhile.
template <typename Transform>
FormatResult IntoPlace(InputFile& source, const FileJobRequest& request, Transform&& transform) {
  AtomicOutputFile destination(request.destination, source.PermissionBits());
  const FormatResult result = transform(destination);
  if (result.kind != FormatResult::Done) return result;
  source.ExpectUnchanged();
  destination.Commit(request.replaceExisting);
  return result;
}

FormatResult Encrypt(cEncrypt& cipher, InputFile& source, const FileJobRequest& request) {
  if (request.format == Format::Encr)
    return IntoPlace(source, request,
                     [&](ByteSink& out) { return cipher.FileEncrypt(source, out); });
  SealedKeyring& keys = KeyringOf(request);
  SecretFor(request, keys.WritingSalt(), keys.WritingSettings());
  return IntoPlace(source, request, [&](ByteSink& out) {
    return AsFormatResult(SealFile(keys, source, out, ControlOf(cipher)));
  });
}

// The header is checked, and the key with it, before the output is made.
FormatResult OpenSealed(cEncrypt& cipher, InputFile& source, const FileJobRequest& request) {
  SealedReader reader(source);
  SealedResult result = reader.ReadHeader();
  if (result.status == SealedStatus::Ok)
    result = reader.Unlock(SecretFor(request, reader.Header().salt, reader.Header().settings));
  if (result.status != SealedStatus::Ok) return AsFormatResult(result);
  return IntoPlace(source, request, [&](ByteSink& out) {
    return AsFormatResult(reader.Open(out, ControlOf(cipher)));
  });
}

Transformed TransformIntoPlace(cEncrypt& cipher, const FileJobRequest& request) {
  InputFile source(request.source);
  if (request.direction == Direction::Encrypt) return {Encrypt(cipher, source, request)};
  if (StartsSealed(source)) return {OpenSealed(cipher, source, request), true};
  const FormatResult checked = cipher.CheckFileCiphertext(source);
  if (checked.kind != FormatResult::Done) return {checked};
  return {
      IntoPlace(source, request, [&](ByteSink& out) { return cipher.FileDecrypt(out, source); })};
}

std::optional<std::string> RemoveSource(const FileJobRequest& request, bool sealedSource) {
  if (!FileExists(request.source)) return std::nullopt;  // someone removed it while it was read
  if (IsReadOnly(request.source)) return "the file is read-only";
  // A wrong key always fails a sealed file, so only an encrypted file's result can be garbage.
  if (request.direction == Direction::Decrypt && !sealedSource)
    return request.moveToTrash(request.source);
  return RemoveFile(request.source);
}

}  // namespace

FileJobResult RunFileJob(cEncrypt& cipher, const FileJobRequest& request) {
  // The source is closed before it is removed; some systems refuse otherwise.
  const Transformed done = TransformIntoPlace(cipher, request);
  if (done.result.kind != FormatResult::Done || !request.deleteSource) return {done.result, {}};
  return {done.result, RemoveSource(request, done.sealedSource)};
}

}  // namespace lockvale
