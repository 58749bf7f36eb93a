#include "format/cEncrypt.h"

#include "cipher/KeyBytes.h"
#include "format/BufferFormat.h"
#include "format/FileFormat.h"
#include "util/RaisedError.h"

namespace lockvale {

void cEncrypt::SetCipherKey(std::span<const std::uint8_t> pass, int KeyBits) {
  if (!m_Cipher.InstallKey(pass, KeyBits))
    throw RaisedError(1, "cEncrypt.SetCipherKey - Illegal KeyBits Value");
}

void cEncrypt::SetCipherKeyString(std::string_view PassPhrase, int KeyBits) {
  KeyBytes key(PassPhrase);
  SetCipherKey(key.Bytes(), KeyBits);
}

FormatResult cEncrypt::ArrayEncrypt(std::span<const std::uint8_t> plaintext,
                                    std::vector<std::uint8_t>& ciphertext, int appendsize) {
  return EncryptBuffer(Context(), plaintext, ciphertext, appendsize != 0);
}

FormatResult cEncrypt::ArrayDecrypt(std::vector<std::uint8_t>& plaintext,
                                    std::span<const std::uint8_t> ciphertext, int appendsize) {
  return DecryptBuffer(Context(), plaintext, ciphertext, appendsize != 0);
}

FormatResult cEncrypt::FileEncrypt(ByteSource& plaintext, ByteSink& ciphertext) {
  return EncryptFile(Context(), plaintext, ciphertext);
}

FormatResult cEncrypt::FileDecrypt(ByteSink& plaintext, ByteSource& ciphertext) {
  return DecryptFile(Context(), plaintext, ciphertext);
}

FormatResult cEncrypt::CheckFileCiphertext(ByteSource& ciphertext) {
  return CheckCiphertext(Context(), ciphertext);
}

void cEncrypt::SetProgressCallback(ProgressCallback callback, const std::atomic<bool>* cancel) {
  m_Progress = std::move(callback);
  m_Cancel = cancel;
}

}  // namespace lockvale
