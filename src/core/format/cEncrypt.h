#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cipher/CipherPath.h"
#include "cipher/KeySchedule.h"
#include "util/ByteStream.h"
#include "util/Notifier.h"

namespace lockvale {

struct FormatContext;

// The AES (Rijndael, 128-bit block) cipher object with the program's buffer and
// file formats. Blocks are encrypted independently (electronic codebook). The key
// schedule and block transforms are here; the formats live in format/.
//
// Errors: an illegal key size throws RaisedError (number 1); bad offsets throw
// std::out_of_range; read and write failures throw std::system_error. Problems
// with the data itself are told through the Notifier and the status codes.
class cEncrypt {
 public:
  static constexpr std::size_t BlockSize = 16;
  static constexpr std::size_t MaxFileChunkSize = 4'000'000;

  // Status codes of the file operations.
  static constexpr int FileOk = 0;
  static constexpr int FileSizeError = 1;    // length 0 or not a multiple of 16
  static constexpr int FileLengthError = 2;  // the final length byte is 16 or more

  // Receives the offset of the block just processed: non-decreasing, at most
  // about once per 64 KiB, and always for the last block.
  using ProgressCallback = std::function<void(std::uint64_t offset)>;

  cEncrypt();  // uses ActiveCipherPath()
  explicit cEncrypt(CipherPath path);
  ~cEncrypt();
  cEncrypt(const cEncrypt&) = delete;
  cEncrypt& operator=(const cEncrypt&) = delete;

  int SetCipherKey(std::span<const std::uint8_t> pass, int KeyBits);
  // The phrase's bytes, cut or zero-padded to 32, installed with SetCipherKey.
  int SetCipherKeyString(std::string_view PassPhrase, int KeyBits);

  void BlockEncrypt(std::span<const std::uint8_t> plaintext, std::span<std::uint8_t> ciphertext,
                    std::size_t p, std::size_t q) const;
  void BlockDecrypt(std::span<std::uint8_t> plaintext, std::span<const std::uint8_t> ciphertext,
                    std::size_t p, std::size_t q) const;
  // Whole blocks; `in` may equal `out`.
  void EncryptBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;
  void DecryptBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;

  int ArrayEncrypt(std::span<const std::uint8_t> plaintext, std::vector<std::uint8_t>& ciphertext,
                   int appendsize);
  int ArrayDecrypt(std::vector<std::uint8_t>& plaintext, std::span<const std::uint8_t> ciphertext,
                   int appendsize);

  // The output file comes first in FileDecrypt, as in FileEncrypt's mirror image.
  int FileEncrypt(const std::string& PlaintextFileName, const std::string& CiphertextFileName);
  int FileDecrypt(const std::string& PlaintextFileName, const std::string& CiphertextFileName);
  int FileEncrypt(ByteSource& plaintext, ByteSink& ciphertext);
  int FileDecrypt(ByteSink& plaintext, ByteSource& ciphertext);

  // Set by a failed file decryption, cleared at the start of every file operation.
  bool ErrorHappened() const { return m_ErrorHappened; }
  // False, after telling the user and setting ErrorHappened, when a ciphertext of this
  // size cannot be decrypted; lets a caller refuse before it creates any output.
  bool AcceptCiphertextSize(std::uint64_t size);

  void SetNotifier(Notifier* notifier) { m_Notifier = notifier; }
  void SetProgressCallback(ProgressCallback callback) { m_Progress = std::move(callback); }

  // For the tests that check path selection and key wiping.
  CipherPath Path() const { return m_Path; }
  int Nr() const { return m_Key.Nr; }
  const KeySchedule& Schedule() const { return m_Key; }

 private:
  void CreateDecryptionKeys(int Nb);
  FormatContext Context() const;

  KeySchedule m_Key;
  CipherPath m_Path;
  BlockFunctions m_Blocks;
  Notifier* m_Notifier = nullptr;
  ProgressCallback m_Progress;
  bool m_ErrorHappened = false;
};

}  // namespace lockvale
