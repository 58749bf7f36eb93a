#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace lockvale {

// The 32 key bytes made from a typed key: its bytes, cut or zero-padded to 32.
// SetCipherKey then uses the first 16, 24 or 32 of them. Held in pages of their own (see
// AllocateSecretPages) and wiped when destroyed.
class KeyBytes {
 public:
  static constexpr std::size_t Size = 32;

  explicit KeyBytes(std::string_view keyText);
  ~KeyBytes();
  KeyBytes(const KeyBytes&) = delete;
  KeyBytes& operator=(const KeyBytes&) = delete;

  const std::array<std::uint8_t, Size>& Bytes() const { return *m_Bytes; }

 private:
  std::array<std::uint8_t, Size>* m_Bytes;
};

}  // namespace lockvale
