#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <string_view>

namespace lockvale {

// Bytes of a secret in libsodium's guarded, locked memory; zeroed when made, wiped when freed.
// Throws std::bad_alloc.
class SecretBytes {
 public:
  explicit SecretBytes(std::size_t size);
  ~SecretBytes();
  SecretBytes(SecretBytes&& other) noexcept;
  SecretBytes& operator=(SecretBytes&& other) = delete;
  SecretBytes(const SecretBytes&) = delete;

  std::uint8_t* Data() { return m_Data; }
  const std::uint8_t* Data() const { return m_Data; }
  std::size_t Size() const { return m_Size; }
  std::span<const std::uint8_t> View() const { return {m_Data, m_Size}; }

 private:
  std::uint8_t* m_Data;
  std::size_t m_Size;
};

// Argon2id's settings as a sealed file carries them: passes t, memory m in KiB, lanes p.
struct KdfSettings {
  std::uint32_t passes = 3;
  std::uint32_t memoryKiB = 262'144;
  std::uint32_t lanes = 1;
  bool operator==(const KdfSettings&) const = default;
};

// t 1 to 64, m 8 KiB to 4 GiB, p 1: what a file may ask for before anything is derived.
bool KdfSettingsAccepted(const KdfSettings& settings);

using KdfSalt = std::array<std::uint8_t, 16>;

// Makes libsodium ready; every user of it calls this first. Throws std::runtime_error.
void InitSodium();

// The key text in Unicode NFC as UTF-8, so that every input method gives the same bytes; text
// that is not UTF-8 is kept as its bytes.
SecretBytes NormalizedKeyText(std::string_view keyText);

// Argon2id v1.3 of `password` into 32 bytes. Throws std::system_error (not enough memory) when
// the derivation's memory is not there.
SecretBytes DeriveSecret(std::span<const std::uint8_t> password, const KdfSalt& salt,
                         const KdfSettings& settings);

// HKDF-SHA-256, extract then expand, into `out` (at most 255 × 32 bytes).
void HkdfSha256(std::span<const std::uint8_t> inputKey, std::span<const std::uint8_t> salt,
                std::string_view info, std::span<std::uint8_t> out);

// The secrets of one run of one key text: each (salt, settings) is derived once. Writing uses one
// salt, drawn when the keyring is made, and the writing settings for every file. For one thread
// at a time, the job's.
class SealedKeyring {
 public:
  explicit SealedKeyring(std::string_view keyText, const KdfSettings& writing = {});

  // Whether Secret() has these already; when not, it will run the slow derivation.
  bool Holds(const KdfSalt& salt, const KdfSettings& settings) const;
  // Stays valid as long as the keyring.
  const SecretBytes& Secret(const KdfSalt& salt, const KdfSettings& settings);

  const KdfSalt& WritingSalt() const { return m_WritingSalt; }
  const KdfSettings& WritingSettings() const { return m_Writing; }

 private:
  struct Derived {
    KdfSalt salt;
    KdfSettings settings;
    SecretBytes secret;
  };

  SecretBytes m_KeyText;
  KdfSettings m_Writing;
  KdfSalt m_WritingSalt{};
  std::deque<Derived> m_Derived;  // a deque keeps the secrets in place as it grows
};

}  // namespace lockvale
