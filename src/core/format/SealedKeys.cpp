#include "format/SealedKeys.h"

#include <sodium.h>
#include <utf8proc.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace lockvale {
namespace {

constexpr std::size_t kSecretSize = 32;
constexpr std::size_t kHashSize = crypto_auth_hmacsha256_BYTES;

SecretBytes CopyOf(std::span<const std::uint8_t> bytes) {
  SecretBytes copy(bytes.size());
  std::copy(bytes.begin(), bytes.end(), copy.Data());
  return copy;
}

std::span<const std::uint8_t> BytesOf(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

SecretBytes::SecretBytes(std::size_t size) : m_Size(size) {
  InitSodium();
  // sodium_malloc fills new memory with a pattern; zero it so no caller sees that.
  m_Data = static_cast<std::uint8_t*>(sodium_malloc(std::max<std::size_t>(size, 1)));
  if (m_Data == nullptr) throw std::bad_alloc();
  sodium_memzero(m_Data, m_Size);
}

SecretBytes::~SecretBytes() {
  if (m_Data != nullptr) sodium_free(m_Data);  // wipes first
}

SecretBytes::SecretBytes(SecretBytes&& other) noexcept
    : m_Data(std::exchange(other.m_Data, nullptr)), m_Size(std::exchange(other.m_Size, 0)) {}

bool KdfSettingsAccepted(const KdfSettings& settings) {
  return settings.passes >= 1 && settings.passes <= 64 && settings.memoryKiB >= 8 &&
         settings.memoryKiB <= 4'194'304 && settings.lanes == 1;
}

void InitSodium() {
  static const bool ready = sodium_init() >= 0;
  if (!ready) throw std::runtime_error("libsodium could not be initialised");
}

SecretBytes NormalizedKeyText(std::string_view keyText) {
  const auto* text = reinterpret_cast<const utf8proc_uint8_t*>(keyText.data());
  const auto length = static_cast<utf8proc_ssize_t>(keyText.size());
  const auto nfc = static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE);
  // Decomposed into code points and composed again in a buffer of ours, so that no copy of the
  // key is left in memory that utf8proc would free unwiped.
  const utf8proc_ssize_t points = utf8proc_decompose(text, length, nullptr, 0, nfc);
  if (points < 0) return CopyOf(BytesOf(keyText));
  SecretBytes work((static_cast<std::size_t>(points) + 1) * sizeof(utf8proc_int32_t));
  auto* codePoints = reinterpret_cast<utf8proc_int32_t*>(work.Data());
  utf8proc_decompose(text, length, codePoints, points, nfc);
  const utf8proc_ssize_t bytes = utf8proc_reencode(codePoints, points, nfc);
  if (bytes < 0) return CopyOf(BytesOf(keyText));
  return CopyOf({work.Data(), static_cast<std::size_t>(bytes)});
}

SecretBytes DeriveSecret(std::span<const std::uint8_t> password, const KdfSalt& salt,
                         const KdfSettings& settings) {
  if (!KdfSettingsAccepted(settings)) throw std::invalid_argument("Argon2id settings out of range");
  SecretBytes secret(kSecretSize);
  static_assert(sizeof(KdfSalt) == crypto_pwhash_SALTBYTES);
  if (crypto_pwhash(secret.Data(), kSecretSize, reinterpret_cast<const char*>(password.data()),
                    password.size(), salt.data(), settings.passes,
                    std::size_t{settings.memoryKiB} * 1024, crypto_pwhash_ALG_ARGON2ID13) != 0)
    throw std::system_error(std::make_error_code(std::errc::not_enough_memory),
                            "Cannot derive the key");
  return secret;
}

void HkdfSha256(std::span<const std::uint8_t> inputKey, std::span<const std::uint8_t> salt,
                std::string_view info, std::span<std::uint8_t> out) {
  crypto_auth_hmacsha256_state state;
  std::uint8_t pseudorandomKey[kHashSize], block[kHashSize];
  // No salt is a salt of zeros, which HMAC pads to the same key.
  static constexpr std::uint8_t kNoSalt[kHashSize] = {};
  if (salt.empty()) salt = kNoSalt;
  crypto_auth_hmacsha256_init(&state, salt.data(), salt.size());
  crypto_auth_hmacsha256_update(&state, inputKey.data(), inputKey.size());
  crypto_auth_hmacsha256_final(&state, pseudorandomKey);
  std::uint8_t counter = 1;
  for (std::size_t done = 0; done < out.size(); done += kHashSize, ++counter) {
    crypto_auth_hmacsha256_init(&state, pseudorandomKey, kHashSize);
    if (counter > 1) crypto_auth_hmacsha256_update(&state, block, kHashSize);
    crypto_auth_hmacsha256_update(&state, BytesOf(info).data(), info.size());
    crypto_auth_hmacsha256_update(&state, &counter, 1);
    crypto_auth_hmacsha256_final(&state, block);
    std::copy_n(block, std::min(kHashSize, out.size() - done), out.begin() + done);
  }
  sodium_memzero(&state, sizeof state);
  sodium_memzero(pseudorandomKey, kHashSize);
  sodium_memzero(block, kHashSize);
}

SealedKeyring::SealedKeyring(std::string_view keyText, const KdfSettings& writing)
    : m_KeyText(NormalizedKeyText(keyText)), m_Writing(writing) {
  randombytes_buf(m_WritingSalt.data(), m_WritingSalt.size());
}

bool SealedKeyring::Holds(const KdfSalt& salt, const KdfSettings& settings) const {
  return std::any_of(m_Derived.begin(), m_Derived.end(), [&](const Derived& derived) {
    return derived.salt == salt && derived.settings == settings;
  });
}

const SecretBytes& SealedKeyring::Secret(const KdfSalt& salt, const KdfSettings& settings) {
  for (const Derived& derived : m_Derived)
    if (derived.salt == salt && derived.settings == settings) return derived.secret;
  m_Derived.push_back({salt, settings, DeriveSecret(m_KeyText.View(), salt, settings)});
  return m_Derived.back().secret;
}

}  // namespace lockvale
