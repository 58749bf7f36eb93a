#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "format/FormatResult.h"
#include "format/SealedKeys.h"
#include "util/ByteStream.h"

namespace lockvale {

// The sealed file (".lkv"): an 88-byte header that names the key derivation and carries an
// HMAC-SHA-256 of itself, then the plaintext in chunks of 64 KiB, each sealed with
// ChaCha20-Poly1305 and followed by its 16-byte tag. All integers little-endian.
inline constexpr std::size_t kSealedHeaderSize = 88;
inline constexpr std::size_t kSealedChunkSize = 65'536;
inline constexpr std::size_t kSealedTagSize = 16;

using SealedNonce = std::array<std::uint8_t, 16>;

struct SealedHeader {
  KdfSettings settings;
  KdfSalt salt{};
  SealedNonce nonce{};  // random for every file: each file has keys of its own
  std::array<std::uint8_t, kSealedHeaderSize> bytes{};  // as read or written, the MAC included
};

// Why a sealed file was not read or written to the end. NotSealed: the file lacks the magic,
// and is an encrypted file of the other form.
enum class SealedStatus {
  Ok,
  NotSealed,
  NewerVersion,
  UnacceptedSettings,
  WrongKeyOrHeader,
  Damaged,
  Cancelled
};

struct SealedResult {
  SealedStatus status = SealedStatus::Ok;
  std::uint64_t damagedAt = 0;  // with Damaged: the offset in the file where it goes wrong
  bool operator==(const SealedResult&) const = default;
};

// What a long run reports to, and may be stopped by, between batches of chunks.
struct SealedControl {
  const std::atomic<bool>* cancel = nullptr;
  std::function<void(std::uint64_t bytesDone)> progress = {};  // bytes of the source
};

std::uint64_t SealedFileSize(std::uint64_t plainSize);

// Whether the source starts with the sealed file's magic, read without moving where Read goes
// on. A file without it is an encrypted file of the other form.
bool StartsSealed(ByteSource& source);

// The result as the jobs take it, the same for both formats. NotSealed, which a caller that
// checked StartsSealed meets only when the file changed meanwhile, is damage at its start.
FormatResult AsFormatResult(const SealedResult& result);

// Writes `plaintext` sealed under the keyring's writing salt and settings and a fresh random
// nonce; the first file of a run derives the secret. Ok or Cancelled; the caller discards the
// output unless Ok. Read and write failures throw std::system_error.
SealedResult SealFile(SealedKeyring& keys, ByteSource& plaintext, ByteSink& sealed,
                      const SealedControl& control = {});
// The same under the salt, settings and nonce of `header`, with the secret derived for them.
SealedResult SealFile(const SealedHeader& header, const SecretBytes& secret, ByteSource& plaintext,
                      ByteSink& sealed, const SealedControl& control = {});

// Reads a sealed file in the steps of a file job, each refusal before the next step:
// ReadHeader (NotSealed, NewerVersion, UnacceptedSettings, Damaged when the header is cut),
// then the caller derives the secret for the header's salt and settings, Unlock
// (WrongKeyOrHeader), and only then the caller makes its output and calls Open (Damaged,
// Cancelled). Open writes only chunks whose tag was verified; the caller discards the output
// unless Ok. Read and write failures throw std::system_error.
class SealedReader {
 public:
  explicit SealedReader(ByteSource& source);
  ~SealedReader();

  SealedResult ReadHeader();
  const SealedHeader& Header() const { return m_Header; }
  SealedResult Unlock(const SecretBytes& secret);
  SealedResult Open(ByteSink& plaintext, const SealedControl& control = {});

 private:
  ByteSource& m_Source;
  SealedHeader m_Header;
  std::unique_ptr<SecretBytes> m_FileKeys;  // once unlocked
};

// The three steps with the keyring's secret for the file.
SealedResult OpenSealedFile(SealedKeyring& keys, ByteSource& sealed, ByteSink& plaintext,
                            const SealedControl& control = {});

}  // namespace lockvale
