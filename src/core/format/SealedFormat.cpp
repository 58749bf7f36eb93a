#include "format/SealedFormat.h"

#include <sodium.h>

#include <algorithm>
#include <stdexcept>
#include <string_view>

#include "format/SealedChunks.h"

namespace lockvale {
namespace {

constexpr std::array<std::uint8_t, 8> kMagic{0x89, 'L', 'K', 'V', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::uint8_t kVersion = 1, kSuite = 1;
constexpr std::size_t kSettingsOffset = 12, kSaltOffset = 24, kNonceOffset = 40, kMacOffset = 56;
static_assert(kMacOffset + crypto_auth_hmacsha256_BYTES == kSealedHeaderSize);

void PutLe32(std::uint8_t* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetLe32(const std::uint8_t* at) {
  return at[0] | at[1] << 8 | at[2] << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

// The header key, then the payload key, of one file: its nonce makes them differ from every
// other file's under the same secret. One allocation, as guarded memory costs system calls.
constexpr std::size_t kKeySize = crypto_auth_hmacsha256_KEYBYTES;
SecretBytes FileKeys(const SecretBytes& secret, const SealedNonce& nonce) {
  SecretBytes keys(2 * kKeySize);
  HkdfSha256(secret.View(), nonce, "lockvale header", {keys.Data(), kKeySize});
  HkdfSha256(secret.View(), nonce, "lockvale payload", {keys.Data() + kKeySize, kKeySize});
  return keys;
}

std::array<std::uint8_t, kSealedHeaderSize> HeaderBytes(const SealedHeader& header,
                                                        const std::uint8_t* headerKey) {
  std::array<std::uint8_t, kSealedHeaderSize> bytes{};
  std::copy(kMagic.begin(), kMagic.end(), bytes.begin());
  bytes[8] = kVersion;
  bytes[9] = kSuite;
  PutLe32(&bytes[kSettingsOffset], header.settings.passes);
  PutLe32(&bytes[kSettingsOffset + 4], header.settings.memoryKiB);
  PutLe32(&bytes[kSettingsOffset + 8], header.settings.lanes);
  std::copy(header.salt.begin(), header.salt.end(), &bytes[kSaltOffset]);
  std::copy(header.nonce.begin(), header.nonce.end(), &bytes[kNonceOffset]);
  crypto_auth_hmacsha256(&bytes[kMacOffset], bytes.data(), kMacOffset, headerKey);
  return bytes;
}

}  // namespace

std::uint64_t SealedFileSize(std::uint64_t plainSize) {
  const std::uint64_t chunks =
      std::max<std::uint64_t>(1, (plainSize + kSealedChunkSize - 1) / kSealedChunkSize);
  return kSealedHeaderSize + plainSize + kSealedTagSize * chunks;
}

bool StartsSealed(ByteSource& source) {
  std::array<std::uint8_t, kMagic.size()> start{};
  return source.ReadAt(0, start.data(), start.size()) == start.size() && start == kMagic;
}

FormatResult AsFormatResult(const SealedResult& result) {
  switch (result.status) {
    case SealedStatus::Ok:
      return {};
    case SealedStatus::NewerVersion:
      return {FormatResult::NewerVersion};
    case SealedStatus::UnacceptedSettings:
      return {FormatResult::UnacceptedSettings};
    case SealedStatus::WrongKeyOrHeader:
      return {FormatResult::WrongKeyOrHeader};
    case SealedStatus::Cancelled:
      return {FormatResult::Cancelled};
    case SealedStatus::NotSealed:
    case SealedStatus::Damaged:
      break;
  }
  return {FormatResult::Damaged, result.damagedAt};
}

SealedResult SealFile(SealedKeyring& keys, ByteSource& plaintext, ByteSink& sealed,
                      const SealedControl& control) {
  SealedHeader header;
  header.settings = keys.WritingSettings();
  header.salt = keys.WritingSalt();
  randombytes_buf(header.nonce.data(), header.nonce.size());
  return SealFile(header, keys.Secret(header.salt, header.settings), plaintext, sealed, control);
}

SealedResult SealFile(const SealedHeader& header, const SecretBytes& secret, ByteSource& plaintext,
                      ByteSink& sealed, const SealedControl& control) {
  const SecretBytes keys = FileKeys(secret, header.nonce);
  const auto bytes = HeaderBytes(header, keys.Data());
  return SealChunks(keys.Data() + kKeySize, bytes, plaintext, sealed, control);
}

SealedReader::SealedReader(ByteSource& source) : m_Source(source) {}

SealedReader::~SealedReader() = default;

SealedResult SealedReader::ReadHeader() {
  auto& bytes = m_Header.bytes;
  const std::size_t got = m_Source.Read(bytes.data(), bytes.size());
  if (got < kMagic.size() || !std::equal(kMagic.begin(), kMagic.end(), bytes.begin()))
    return {SealedStatus::NotSealed};
  // A newer version may have a header of another size, so it is told before a cut one.
  if (got < kSettingsOffset) return {SealedStatus::Damaged, got};
  if (bytes[8] != kVersion || bytes[9] != kSuite || bytes[10] != 0 || bytes[11] != 0)
    return {SealedStatus::NewerVersion};
  if (got < kSealedHeaderSize) return {SealedStatus::Damaged, got};
  m_Header.settings = {GetLe32(&bytes[kSettingsOffset]), GetLe32(&bytes[kSettingsOffset + 4]),
                       GetLe32(&bytes[kSettingsOffset + 8])};
  if (!KdfSettingsAccepted(m_Header.settings)) return {SealedStatus::UnacceptedSettings};
  std::copy_n(&bytes[kSaltOffset], m_Header.salt.size(), m_Header.salt.begin());
  std::copy_n(&bytes[kNonceOffset], m_Header.nonce.size(), m_Header.nonce.begin());
  return {};
}

SealedResult SealedReader::Unlock(const SecretBytes& secret) {
  const auto& bytes = m_Header.bytes;
  auto keys = std::make_unique<SecretBytes>(FileKeys(secret, m_Header.nonce));
  if (crypto_auth_hmacsha256_verify(&bytes[kMacOffset], bytes.data(), kMacOffset, keys->Data()) !=
      0)
    return {SealedStatus::WrongKeyOrHeader};
  m_FileKeys = std::move(keys);
  return {};
}

SealedResult SealedReader::Open(ByteSink& plaintext, const SealedControl& control) {
  if (!m_FileKeys) throw std::logic_error("SealedReader::Open before a successful Unlock");
  return OpenChunks(m_FileKeys->Data() + kKeySize, m_Source, plaintext, control);
}

SealedResult OpenSealedFile(SealedKeyring& keys, ByteSource& sealed, ByteSink& plaintext,
                            const SealedControl& control) {
  SealedReader reader(sealed);
  SealedResult result = reader.ReadHeader();
  if (result.status == SealedStatus::Ok)
    result = reader.Unlock(keys.Secret(reader.Header().salt, reader.Header().settings));
  if (result.status == SealedStatus::Ok) result = reader.Open(plaintext, control);
  return result;
}

}  // namespace lockvale
