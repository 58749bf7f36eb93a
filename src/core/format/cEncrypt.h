#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "cipher/BlockCipher.h"
#include "format/FormatContext.h"
#include "format/FormatResult.h"
#include "util/ByteStream.h"

namespace lockvale {

// The program's cipher object: an AES key installed from the user's key bytes, and the buffer
// and file forms run with it. Each form returns its FormatResult; an illegal key size throws
// RaisedError (number 1), and read and write failures throw std::system_error.
class cEncrypt {
 public:
  static constexpr std::size_t BlockSize = BlockCipher::BlockSize;
  static constexpr std::size_t MaxFileChunkSize = 4'000'000;

  cEncrypt() = default;  // uses ActiveCipherPath()
  explicit cEncrypt(CipherPath path) : m_Cipher(path) {}

  // The first KeyBits / 8 bytes of `pass`. Another KeyBits than 128, 192 or 256, or more bits
  // than `pass` holds, throws and keeps the earlier key.
  void SetCipherKey(std::span<const std::uint8_t> pass, int KeyBits);
  // The phrase's bytes, cut or zero-padded to 32, installed with SetCipherKey.
  void SetCipherKeyString(std::string_view PassPhrase, int KeyBits);

  FormatResult ArrayEncrypt(std::span<const std::uint8_t> plaintext,
                            std::vector<std::uint8_t>& ciphertext, int appendsize);
  FormatResult ArrayDecrypt(std::vector<std::uint8_t>& plaintext,
                            std::span<const std::uint8_t> ciphertext, int appendsize);
  // The output comes first in FileDecrypt, as in FileEncrypt's mirror image.
  FormatResult FileEncrypt(ByteSource& plaintext, ByteSink& ciphertext);
  FormatResult FileDecrypt(ByteSink& plaintext, ByteSource& ciphertext);
  // What FileDecrypt refuses before it writes: a ragged size, or a final block whose length
  // byte gives a wrong key away. Reads only that block.
  FormatResult CheckFileCiphertext(ByteSource& ciphertext);

  // Progress of the file forms goes to `callback`; once `cancel` is set they stop at the next
  // chunk with the result Cancelled. The flag belongs to the caller and must outlive this.
  void SetProgressCallback(ProgressCallback callback, const std::atomic<bool>* cancel = nullptr);
  // For the sealed format, which reports to the same places.
  const ProgressCallback& Progress() const { return m_Progress; }
  const std::atomic<bool>* CancelFlag() const { return m_Cancel; }

 private:
  FormatContext Context() const { return {m_Cipher, m_Progress, m_Cancel}; }

  BlockCipher m_Cipher;
  ProgressCallback m_Progress;
  const std::atomic<bool>* m_Cancel = nullptr;
};

}  // namespace lockvale
