#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "cipher/CipherPath.h"
#include "cipher/KeySchedule.h"

namespace lockvale {

// AES (Rijndael with 128-bit blocks): one installed key and the block functions of one path.
// Blocks are transformed independently (electronic codebook). The schedule is wiped when
// replaced and when the object goes.
class BlockCipher {
 public:
  static constexpr std::size_t BlockSize = 16;

  BlockCipher();  // uses ActiveCipherPath()
  explicit BlockCipher(CipherPath path);
  ~BlockCipher();
  BlockCipher(const BlockCipher&) = delete;
  BlockCipher& operator=(const BlockCipher&) = delete;

  // The first keyBits / 8 bytes of `key`; false, and the earlier key kept, unless keyBits is
  // 128, 192 or 256 and `key` holds that many bits.
  bool InstallKey(std::span<const std::uint8_t> key, int keyBits);

  // Whole blocks; `in` may equal `out`.
  void EncryptBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;
  void DecryptBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;

  CipherPath Path() const { return m_Path; }
  const KeySchedule& Schedule() const { return m_Key; }

 private:
  void CreateDecryptionKeys();

  KeySchedule m_Key;
  CipherPath m_Path;
  BlockFunctions m_Blocks;
};

}  // namespace lockvale
